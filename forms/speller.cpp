#include "forms/speller.h"

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
    if (name.rfind("ISO8859-", 0) == 0) name = "ISO-" + name.substr(3);
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
