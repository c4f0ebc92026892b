#include "forms/speller.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <hunspell.hxx>
#include <map>
#include <thread>

#include "forms/selection.h"

namespace forms {
namespace {

// Debian's largest dictionaries are a few megabytes; a file far beyond these
// bounds is not one.
constexpr off_t kMaxAffBytes = 32 << 20;
constexpr off_t kMaxDicBytes = 256 << 20;
// How long a caller waits for a dictionary to load before going on without
// it (the load goes on, and a later call gets it).
constexpr auto kLoadWait = std::chrono::seconds(8);
// Words longer than this get no suggestions from the library, whose search
// grows with the length.
constexpr std::size_t kMaxSuggestChars = 24;

bool IsRegularFile(const std::string& path, off_t max_size) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
           st.st_size <= max_size;
}

bool EndsWith(const std::string& text, std::string_view ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

std::string Language(std::string_view locale) {
    const std::size_t cut = locale.find_first_of("_-@.");
    return std::string(locale.substr(0, cut));
}

// Converts between the dictionary's encoding and UTF-8; false when a
// character has no place in the other.
bool Convert(const char* to, const char* from, std::string_view text, std::string* out) {
    UErrorCode status = U_ZERO_ERROR;
    out->assign(text.size() * 4 + 8, '\0');
    const std::int32_t n =
        ucnv_convert(to, from, out->data(), static_cast<std::int32_t>(out->size()), text.data(),
                     static_cast<std::int32_t>(text.size()), &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING) return false;
    out->resize(static_cast<std::size_t>(n));
    return true;
}

// ICU's name for an encoding of a SET line ("ISO8859-2" -> "ISO-8859-2").
std::string IcuEncoding(std::string name) {
    if (name.rfind("ISO8859-", 0) == 0) name.insert(3, "-");
    if (name.rfind("microsoft-", 0) == 0) name = name.substr(10);
    return name;
}

// A dictionary's load, shared by every caller that waits for it.
struct Loading {
    std::mutex mutex;
    std::condition_variable done_cv;
    bool done = false;                 // guarded by mutex
    std::shared_ptr<Speller> speller;  // guarded by mutex
};

// The library keeps tables shared by all its objects and counts their users
// without a lock: objects are made and destroyed one at a time.
std::mutex& LibraryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::mutex registry_mutex;
std::map<std::string, std::shared_ptr<Loading>>& Registry() {
    static std::map<std::string, std::shared_ptr<Loading>> registry;
    return registry;
}

// The load of `files`, started on a thread of its own the first time.
std::shared_ptr<Loading> StartLoad(const SpellerFiles& files) {
    std::lock_guard lock(registry_mutex);
    auto& slot = Registry()[files.dic];
    if (slot) return slot;
    slot = std::make_shared<Loading>();
    std::shared_ptr<Loading> loading = slot;
    try {
        std::thread([loading, files] {
            std::shared_ptr<Speller> speller;
            try {
                speller = Speller::Load(files);
            } catch (...) {
                speller.reset();
            }
            std::lock_guard done_lock(loading->mutex);
            loading->speller = std::move(speller);
            loading->done = true;
            loading->done_cv.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        std::lock_guard done_lock(loading->mutex);
        loading->done = true;
    }
    return loading;
}

// The load for `locale`, found once per locale and folder list: the folders
// are not read again for every word.
std::shared_ptr<Loading> LoadingOf(std::string_view locale) {
    const char* dirs = std::getenv("WORDBAY_HUNSPELL_DIRS");
    const std::string key = std::string(locale) + '\n' + (dirs != nullptr ? dirs : "");
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<Loading>> by_locale;
    {
        std::lock_guard lock(mutex);
        const auto it = by_locale.find(key);
        if (it != by_locale.end()) return it->second;
    }
    const std::optional<SpellerFiles> files = FindSpeller(locale);
    std::shared_ptr<Loading> loading = files ? StartLoad(*files) : nullptr;
    std::lock_guard lock(mutex);
    by_locale.emplace(key, loading);
    return loading;
}

}  // namespace

std::vector<std::string> SpellerDirectories() {
    std::vector<std::string> dirs;
    const char* env = std::getenv("WORDBAY_HUNSPELL_DIRS");
    const std::string list = env != nullptr ? env : "/usr/share/hunspell";
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t colon = std::min(list.find(':', start), list.size());
        if (colon > start) dirs.push_back(list.substr(start, colon - start));
        start = colon + 1;
    }
    return dirs;
}

std::vector<SpellerFiles> InstalledSpellers() {
    std::vector<SpellerFiles> found;
    for (const std::string& dir : SpellerDirectories()) {
        DIR* d = ::opendir(dir.c_str());
        if (d == nullptr) continue;
        while (const dirent* entry = ::readdir(d)) {
            const std::string name = entry->d_name;
            if (!EndsWith(name, ".dic") || name.size() < 5 || name[0] == '.') continue;
            const std::string stem = name.substr(0, name.size() - 4);
            const std::string aff = dir + "/" + stem + ".aff";
            if (::access(aff.c_str(), R_OK) != 0) continue;
            const bool seen = std::any_of(found.begin(), found.end(),
                                          [&](const SpellerFiles& f) { return f.name == stem; });
            if (!seen) found.push_back({stem, aff, dir + "/" + name});
        }
        ::closedir(d);
    }
    std::sort(found.begin(), found.end(),
              [](const SpellerFiles& a, const SpellerFiles& b) { return a.name < b.name; });
    return found;
}

std::optional<SpellerFiles> FindSpeller(std::string_view locale) {
    const std::string language = Language(locale);
    if (language.empty()) return std::nullopt;
    std::string main_country = language;
    for (char& c : main_country) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // English's main dictionary is the American one.
    if (language == "en") main_country = "US";
    const std::vector<SpellerFiles> all = InstalledSpellers();
    const SpellerFiles* best = nullptr;
    int best_rank = 0;
    for (const SpellerFiles& f : all) {
        int rank = 0;
        if (f.name == locale)
            rank = 4;
        else if (f.name == language + "_" + main_country)
            rank = 3;
        else if (f.name == language)
            rank = 2;
        else if (f.name.rfind(language + "_", 0) == 0)
            rank = 1;
        if (rank > best_rank) {
            best_rank = rank;
            best = &f;
        }
    }
    if (best == nullptr) return std::nullopt;
    return *best;
}

Speller::Speller(SpellerFiles files, std::unique_ptr<Hunspell> hunspell, std::string encoding)
    : files_(std::move(files)), hunspell_(std::move(hunspell)), encoding_(std::move(encoding)) {}

Speller::~Speller() {
    std::lock_guard lock(LibraryMutex());
    hunspell_.reset();
}

std::unique_ptr<Speller> Speller::Load(const SpellerFiles& files) {
    if (!IsRegularFile(files.aff, kMaxAffBytes) || !IsRegularFile(files.dic, kMaxDicBytes)) {
        return nullptr;
    }
    // Taken before the load: a file replaced during it then shows a stamp
    // that no longer matches.
    const platform::FileStamp aff_stamp = platform::StampOf(files.aff.c_str());
    const platform::FileStamp dic_stamp = platform::StampOf(files.dic.c_str());
    // Held until the end, so that a Hunspell given up below is destroyed under it too.
    std::lock_guard lock(LibraryMutex());
    auto hunspell = std::make_unique<Hunspell>(files.aff.c_str(), files.dic.c_str());
    const char* set = hunspell->get_dic_encoding();
    std::string encoding = set != nullptr ? IcuEncoding(set) : "";
    if (encoding == "UTF-8" || encoding == "utf-8") encoding.clear();
    if (!encoding.empty()) {
        // An encoding ICU does not know can't be converted to: no speller.
        UErrorCode status = U_ZERO_ERROR;
        UConverter* converter = ucnv_open(encoding.c_str(), &status);
        if (U_FAILURE(status)) return nullptr;
        ucnv_close(converter);
    }
    std::unique_ptr<Speller> speller(new Speller(files, std::move(hunspell), std::move(encoding)));
    speller->aff_stamp_ = aff_stamp;
    speller->dic_stamp_ = dic_stamp;
    return speller;
}

std::shared_ptr<Speller> Speller::Of(std::string_view locale) {
    const std::shared_ptr<Loading> loading = LoadingOf(locale);
    if (!loading) return nullptr;
    std::unique_lock lock(loading->mutex);
    loading->done_cv.wait_for(lock, kLoadWait, [&] { return loading->done; });
    return loading->speller;
}

void Speller::Preload(std::string_view locale) { LoadingOf(locale); }

std::string Speller::ToDictionary(std::string_view utf8, bool* ok) const {
    *ok = true;
    if (encoding_.empty()) return std::string(utf8);
    std::string out;
    *ok = Convert(encoding_.c_str(), "UTF-8", utf8, &out);
    return out;
}

std::vector<std::string> Speller::FromDictionary(const std::vector<std::string>& words) const {
    if (encoding_.empty()) return words;
    std::vector<std::string> out;
    for (const std::string& w : words) {
        std::string text;
        if (Convert("UTF-8", encoding_.c_str(), w, &text)) out.push_back(std::move(text));
    }
    return out;
}

std::vector<std::string> Speller::Stems(std::string_view word) {
    bool ok = false;
    const std::string encoded = ToDictionary(word, &ok);
    if (!ok || encoded.empty() || CharCount(word) > kMaxWordChars) return {};
    std::lock_guard lock(mutex_);
    return FromDictionary(hunspell_->stem(encoded));
}

std::vector<std::string> Speller::Suggest(std::string_view word) {
    bool ok = false;
    const std::string encoded = ToDictionary(word, &ok);
    if (!ok || encoded.empty() || CharCount(word) > kMaxSuggestChars) return {};
    std::lock_guard lock(mutex_);
    return FromDictionary(hunspell_->suggest(encoded));
}

bool Speller::Knows(std::string_view word) {
    bool ok = false;
    const std::string encoded = ToDictionary(word, &ok);
    if (!ok || encoded.empty() || CharCount(word) > kMaxWordChars) return false;
    std::lock_guard lock(mutex_);
    return hunspell_->spell(encoded);
}

}  // namespace forms
