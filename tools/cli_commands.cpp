#include "tools/cli_commands.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <istream>
#include <memory>
#include <ostream>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "engine/lexbase.h"
#include "lookup/lookup_image.h"
#include "platform/code_page.h"
#include "platform/file_writer.h"
#include "platform/locale.h"
#include "tools/freedict_reader.h"
#include "tools/pair_encoding.h"
#include "tools/progress_bar.h"

namespace cli {
namespace {

using lookup::ImagePathOf;
using lookup::LookupImage;
using lookup::ReadSourceKey;
using lookup::SourceKey;
using lookup::WriteLookupImage;

// Owns one engine handle.
class Handle {
public:
    Handle() : db_(DB_CreateHandle()->handle) {}
    ~Handle() {
        if (db_ != nullptr) DB_DestroyHandle(db_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    DB_HANDLE get() const { return db_; }

private:
    DB_HANDLE db_;
};

struct Context {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool progress;
};

// The code page of each list's words: UTF-8 or its locale's ANSI page.
std::uint32_t PrimaryCodePage(const DICTIONARY_INFO& info) {
    return platform::ListCodePage(info.primary_locale, info.primary_charset);
}
std::uint32_t SecondaryCodePage(const DICTIONARY_INFO& info) {
    return platform::ListCodePage(info.secondary_locale, info.secondary_charset);
}

std::string FieldText(const char* field, std::size_t size) {
    return std::string(field, strnlen(field, size));
}

// Reports a failed engine call. `error` is the errno that a call working on
// files left: the engine's file messages ("Can't open file:\nNAME") then get
// the system's reason, on one line.
int Fail(const Context& c, const DB_RESULT* result, int error = 0) {
    std::string message = result->message;
    if (error != 0 && message.rfind("Can't ", 0) == 0 && message.find('\n') != std::string::npos) {
        std::replace(message.begin(), message.end(), '\n', ' ');
        if (message.back() == '!') message.pop_back();
        message += std::string(": ") + std::strerror(error);
    }
    c.err << "wordbay-cli: " << message << '\n';
    return kExitFailed;
}

// Runs an engine call that works on files and keeps the errno it ends with,
// cleared first so that an older error can't pass for its cause.
template <typename Call>
const DB_RESULT* OnFiles(int* error, Call call) {
    errno = 0;
    const DB_RESULT* result = call();
    *error = errno;
    return result;
}

int UsageError(const Context& c, const std::string& message) {
    c.err << "wordbay-cli: " << message << '\n';
    return kExitUsage;
}

// Loads a V03 dictionary and its description.
bool LoadDictionary(const Context& c, DB_HANDLE db, const std::string& path,
                    DICTIONARY_INFO* info) {
    const DB_RESULT* result = nullptr;
    int error = 0;
    {
        ProgressBar bar(db, c.err, c.progress, "Loading");
        result =
            OnFiles(&error, [&] { return DB_Load(db, DB_FORMAT_V03_LOAD, path.c_str(), 0, 0); });
    }
    if (result->status == 0) {
        Fail(c, result, error);
        return false;
    }
    result = DB_GetDictionaryInfo(db, info);
    if (result->status == 0) {
        Fail(c, result);
        return false;
    }
    return true;
}

bool SaveDictionary(const Context& c, DB_HANDLE db, int32_t format, const std::string& path) {
    const DB_RESULT* result = nullptr;
    int error = 0;
    {
        ProgressBar bar(db, c.err, c.progress, "Saving");
        result = OnFiles(&error, [&] { return DB_Save(db, format, path.c_str()); });
    }
    if (result->status == 0) {
        Fail(c, result, error);
        return false;
    }
    return true;
}

int RunInfo(const Context& c, const Arguments& args) {
    Handle db;
    DICTIONARY_INFO info{};
    int error = 0;
    const DB_RESULT* result = OnFiles(
        &error, [&] { return DB_GetDictionaryInfoA(db.get(), args.positional[0].c_str(), &info); });
    if (result->status == 0) return Fail(c, result, error);
    const auto cp1 = PrimaryCodePage(info);
    const auto cp2 = SecondaryCodePage(info);
    const auto text = [](std::uint32_t cp, const char* field, std::size_t size) {
        return platform::DecodeToUtf8(cp, FieldText(field, size));
    };
    c.out << "Name:         " << text(cp1, info.name, sizeof info.name) << '\n'
          << "Author:       " << text(cp1, info.author, sizeof info.author) << '\n'
          << "Description:  " << text(cp1, info.description, sizeof info.description) << '\n'
          << "Primary:      " << text(cp1, info.primary_list_name, sizeof info.primary_list_name)
          << " (locale " << info.primary_locale << ", "
          << platform::IcuLocaleName(info.primary_locale) << ", charset " << info.primary_charset
          << ")\n"
          << "  words " << info.primary_word_count << ", translations "
          << info.primary_translation_count << '\n'
          << "Secondary:    "
          << text(cp2, info.secondary_list_name, sizeof info.secondary_list_name) << " (locale "
          << info.secondary_locale << ", " << platform::IcuLocaleName(info.secondary_locale)
          << ", charset " << info.secondary_charset << ")\n"
          << "  words " << info.secondary_word_count << ", translations "
          << info.secondary_translation_count << '\n'
          << "Memory:       " << info.memory_size << " bytes\n";
    return kExitOk;
}

// Looks up one UTF-8 word; false with the engine's result when nothing is found.
bool Translate(DB_HANDLE db, int32_t direction, std::uint32_t from_cp, std::uint32_t to_cp,
               const std::string& word, bool case_sensitive, bool ignore_accents,
               std::vector<std::string>* translations, const DB_RESULT** result) {
    translations->clear();
    *result = nullptr;
    bool lossy = false;
    const std::string encoded = platform::EncodeFromUtf8(from_cp, word, &lossy);
    // A word the code page cannot hold is in no list of that language.
    if (lossy || encoded.empty()) return false;
    std::vector<const char*> output(256);
    for (;;) {
        *result = DB_Translate(db, direction, encoded.c_str(), case_sensitive, ignore_accents,
                               output.data(), static_cast<int32_t>(output.size()));
        if ((*result)->status == 0) return false;
        if (static_cast<std::size_t>((*result)->count) < output.size() ||
            output.size() >= (std::size_t{1} << 24)) {
            break;
        }
        output.resize(output.size() * 4);
    }
    for (int32_t i = 0; i < (*result)->count; ++i) {
        translations->push_back(platform::DecodeToUtf8(to_cp, output[i]));
    }
    return true;
}

// One dictionary file, answered from its look-up image while that holds up
// and from the loaded dictionary otherwise; loaded only when needed.
class ImageOrDictionary {
public:
    ImageOrDictionary(const Context& c, std::string path) : c_(c), path_(std::move(path)) {}

    // Maps the file's image when it is current; false when there is none.
    bool OpenImage() {
        char* real = ::realpath(path_.c_str(), nullptr);
        if (real == nullptr) return false;
        source_ = real;
        std::free(real);
        if (!ReadSourceKey(source_, &key_)) return false;
        image_path_ = ImagePathOf(source_);
        return !image_path_.empty() && image_.Open(image_path_, source_, key_);
    }

    // Loads the dictionary; false after a failed load (reported).
    bool Load() {
        // A handle takes megabytes of index; the image needs none.
        db_ = std::make_unique<Handle>();
        if (!LoadDictionary(c_, db_->get(), path_, &info_)) return false;
        loaded_ = true;
        return true;
    }

    bool loaded() const { return loaded_; }
    DB_HANDLE db() const { return db_->get(); }
    LookupImage& image() { return image_; }

    // The code page of the primary (0) or the secondary list (1).
    std::uint32_t code_page(int list) const {
        if (!loaded_) return image_.code_page(list);
        return list == 0 ? PrimaryCodePage(info_) : SecondaryCodePage(info_);
    }
    std::uint32_t word_count(int list) const {
        return list == 0 ? info_.primary_word_count : info_.secondary_word_count;
    }

    // Writes the look-up image when the dictionary had to be loaded for
    // want of a good one, and the file is still the one loaded.
    void WriteImage() {
        SourceKey now;
        if (!loaded_ || image_path_.empty() || !ReadSourceKey(source_, &now) || !(now == key_)) {
            return;
        }
        WriteLookupImage(db_->get(), image_path_, source_, key_);
    }

private:
    const Context& c_;
    const std::string path_;
    std::unique_ptr<Handle> db_;
    DICTIONARY_INFO info_{};
    bool loaded_ = false;
    std::string source_;
    SourceKey key_;
    std::string image_path_;
    LookupImage image_;
};

// Answers exact look-ups from the dictionary's look-up image while it holds
// up, and from the loaded dictionary otherwise.
class Translator {
public:
    Translator(const Context& c, const Arguments& args)
        : source_(c, args.positional[0])
        , reverse_(args.Has("reverse"))
        , case_sensitive_(args.Has("case"))
        , ignore_accents_(args.Has("accents")) {}

    // Opens the image or loads the dictionary; false after a failed load.
    bool Start() {
        if (case_sensitive_ && !ignore_accents_ && source_.OpenImage()) return true;
        return source_.Load();
    }

    // Looks up one UTF-8 word; false with the engine's result (or none) when
    // nothing is found, or when the dictionary could not be loaded (`failed`).
    bool Answer(const std::string& word, std::vector<std::string>* translations,
                const DB_RESULT** result, bool* failed) {
        *failed = false;
        const std::uint32_t from_cp = source_.code_page(reverse_ ? 1 : 0);
        const std::uint32_t to_cp = source_.code_page(reverse_ ? 0 : 1);
        if (!source_.loaded()) {
            translations->clear();
            *result = nullptr;
            bool lossy = false;
            const std::string encoded = platform::EncodeFromUtf8(from_cp, word, &lossy);
            if (lossy || encoded.empty()) return false;
            const LookupImage::Answer answer =
                source_.image().Translate(reverse_ ? 1 : 0, encoded, &found_);
            if (answer == LookupImage::Answer::kNotFound) return false;
            if (answer == LookupImage::Answer::kFound) {
                for (const auto& t : found_) {
                    translations->push_back(platform::DecodeToUtf8(to_cp, t));
                }
                return true;
            }
            // A damaged image: the dictionary answers from here on.
            if (!source_.Load()) {
                *failed = true;
                return false;
            }
            return Answer(word, translations, result, failed);
        }
        const int32_t direction =
            reverse_ ? DB_TRANS_SECONDARY_TO_PRIMARY : DB_TRANS_PRIMARY_TO_SECONDARY;
        return Translate(source_.db(), direction, from_cp, to_cp, word, case_sensitive_,
                         ignore_accents_, translations, result);
    }

    void Finish() { source_.WriteImage(); }

private:
    ImageOrDictionary source_;
    const bool reverse_;
    const bool case_sensitive_;
    const bool ignore_accents_;
    std::vector<std::string> found_;
};

int RunTranslate(const Context& c, const Arguments& args) {
    Translator translator(c, args);
    if (!translator.Start()) return kExitFailed;
    std::vector<std::string> translations;
    const DB_RESULT* result = nullptr;
    bool failed = false;

    if (args.positional[1] != "-") {
        if (!translator.Answer(args.positional[1], &translations, &result, &failed)) {
            if (failed) return kExitFailed;
            c.err << "wordbay-cli: "
                  << (result != nullptr ? result->message : "Translations not found.") << '\n';
            translator.Finish();
            return kExitFailed;
        }
        for (const auto& t : translations) c.out << t << '\n';
        c.out << std::flush;
        translator.Finish();
        return kExitOk;
    }
    std::string line;
    while (std::getline(c.in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && translator.Answer(line, &translations, &result, &failed)) {
            for (std::size_t i = 0; i < translations.size(); ++i) {
                c.out << (i == 0 ? "" : "\t") << translations[i];
            }
        }
        if (failed) return kExitFailed;
        c.out << '\n';
    }
    c.out << std::flush;
    translator.Finish();
    return kExitOk;
}

bool ModeOfName(const std::string& name, uint32_t* mode) {
    static const std::pair<const char*, uint32_t> kModes[] = {
        {"prefix", DB_LIST_PREFIX},
        {"wildcards", DB_LIST_WILDCARDS},
        {"regex", DB_LIST_REGEX},
        {"palindrome", DB_LIST_PALINDROME},
        {"anagram1", DB_LIST_ANAGRAM_REUSE},
        {"anagram2", DB_LIST_ANAGRAM_ONCE},
        {"anagram3", DB_LIST_ANAGRAM_EXACT},
    };
    for (const auto& [text, value] : kModes) {
        if (name == text) {
            *mode = value;
            return true;
        }
    }
    return false;
}

// The engine's messages that a regular-expression listing ends with.
constexpr char kPcreError[] = "PCRE error!";
constexpr char kRegexIncomplete[] =
    "Search incomplete: the regular expression needed too much work on some words.";

bool IsIncomplete(const DB_RESULT* result) {
    return result->status != 0 && std::strcmp(result->message, kRegexIncomplete) == 0;
}

// Why the regular expression `pattern` does not compile, with the offset in
// it where the compiler stopped; "" when it compiles.
std::string RegexProblem(const std::string& pattern, bool case_sensitive) {
    int code = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* compiled =
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.c_str()), pattern.size(),
                      case_sensitive ? 0 : PCRE2_CASELESS, &code, &offset, nullptr);
    if (compiled != nullptr) {
        pcre2_code_free(compiled);
        return {};
    }
    PCRE2_UCHAR reason[256];
    if (pcre2_get_error_message(code, reason, sizeof reason) < 0) return {};
    return std::string(reinterpret_cast<const char*>(reason)) + " (at offset " +
           std::to_string(offset) + ")";
}

// What `list` was asked for.
struct ListRequest {
    uint32_t mode = DB_LIST_PREFIX;
    int list = 0;  // 0 primary, 1 secondary
    bool case_sensitive = false;
    bool ignore_accents = false;
    bool has_limit = false;
    unsigned long limit = 0;
};

// Lists patterns of one list: prefixes from the look-up image while it holds
// up, everything else from the loaded dictionary.
class Lister {
public:
    Lister(const Context& c, const Arguments& args, const ListRequest& request)
        : c_(c), source_(c, args.positional[0]), request_(request) {}

    // Opens the image or loads the dictionary; false after a failed load.
    bool Start() {
        if (request_.mode == DB_LIST_PREFIX && source_.OpenImage() &&
            source_.image().HasPrefixes(request_.list)) {
            return true;
        }
        return Load();
    }

    std::uint32_t code_page() const { return source_.code_page(request_.list); }

    // Lists one pattern in the list's code page into *words; `result` is the
    // engine's, or null when the image answered. False when the dictionary
    // could not be loaded.
    bool List(const std::string& pattern, bool show_progress, std::vector<std::string>* words,
              const DB_RESULT** result) {
        words->clear();
        *result = nullptr;
        if (!source_.loaded()) {
            const unsigned long limit = request_.has_limit ? request_.limit : 0xFFFFFFFFul;
            const LookupImage::Answer answer = source_.image().ListPrefix(
                request_.list, pattern, request_.case_sensitive, request_.ignore_accents,
                static_cast<std::uint32_t>(limit), words);
            if (answer != LookupImage::Answer::kDamaged) return true;
            // A damaged image, or an empty pattern: the dictionary answers.
            if (!Load()) return false;
        }
        {
            ProgressBar bar(source_.db(), c_.err, c_.progress && show_progress, "Searching");
            *result =
                DB_List(source_.db(), request_.list == 0 ? DB_PRIMARY_LIST : DB_SECONDARY_LIST,
                        pattern.c_str(), request_.case_sensitive, request_.ignore_accents,
                        request_.mode, output_.data(), static_cast<int32_t>(limit_));
        }
        for (int32_t i = 0; i < (*result)->count; ++i) words->emplace_back(output_[i]);
        return true;
    }

    void Finish() {
        if (request_.mode == DB_LIST_PREFIX) source_.WriteImage();
    }

private:
    bool Load() {
        if (!source_.Load()) return false;
        const uint32_t words = source_.word_count(request_.list);
        limit_ = std::min<unsigned long>(request_.has_limit ? request_.limit : words, words);
        output_.resize(std::max<unsigned long>(limit_, 1));
        return true;
    }

    const Context& c_;
    ImageOrDictionary source_;
    const ListRequest request_;
    unsigned long limit_ = 0;
    std::vector<const char*> output_;
};

// One pattern a line from standard input, one line of matches each.
int ListEachLine(const Context& c, Lister* lister) {
    std::string line;
    std::vector<std::string> words;
    const DB_RESULT* result = nullptr;
    bool incomplete = false;
    while (std::getline(c.in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        bool lossy = false;
        const std::string pattern = platform::EncodeFromUtf8(lister->code_page(), line, &lossy);
        if (!lossy && !pattern.empty()) {
            if (!lister->List(pattern, false, &words, &result)) return kExitFailed;
            for (std::size_t i = 0; i < words.size(); ++i) {
                c.out << (i == 0 ? "" : "\t")
                      << platform::DecodeToUtf8(lister->code_page(), words[i]);
            }
            if (result != nullptr && IsIncomplete(result)) {
                c.err << "wordbay-cli: " << line << ": " << kRegexIncomplete << '\n';
                incomplete = true;
            }
        }
        c.out << '\n';
    }
    c.out << std::flush;
    lister->Finish();
    return incomplete ? kExitIncomplete : kExitOk;
}

// Reads the mode and the limit of `list`; false after a usage error.
bool ReadListRequest(const Context& c, const Arguments& args, ListRequest* request, int* status) {
    if (!ModeOfName(args.Value("mode", "prefix"), &request->mode)) {
        *status = UsageError(c, "Unknown mode \"" + args.Value("mode") +
                                    "\" (prefix, wildcards, regex, palindrome, anagram1, "
                                    "anagram2, anagram3).");
        return false;
    }
    if (args.positional.size() < 2 && request->mode != DB_LIST_PALINDROME) {
        *status = UsageError(c, "list needs a PATTERN except with --mode palindrome.");
        return false;
    }
    request->has_limit = args.values.count("limit") != 0;
    if (request->has_limit && !ParseNumber(args.Value("limit"), 0x7FFFFFFF, &request->limit)) {
        *status = UsageError(c, "--limit needs a number.");
        return false;
    }
    request->list = args.Has("secondary") ? 1 : 0;
    request->case_sensitive = args.Has("case");
    request->ignore_accents = args.Has("accents");
    return true;
}

int RunList(const Context& c, const Arguments& args) {
    ListRequest request;
    int status = kExitOk;
    if (!ReadListRequest(c, args, &request, &status)) return status;
    Lister lister(c, args, request);
    if (!lister.Start()) return kExitFailed;
    if (args.positional.size() > 1 && args.positional[1] == "-") return ListEachLine(c, &lister);
    const std::uint32_t cp = lister.code_page();
    std::string pattern;
    if (args.positional.size() > 1) {
        bool lossy = false;
        pattern = platform::EncodeFromUtf8(cp, args.positional[1], &lossy);
        if (lossy) {
            return UsageError(c, "The pattern has characters that this list's language lacks.");
        }
    }
    std::vector<std::string> words;
    const DB_RESULT* result = nullptr;
    if (!lister.List(pattern, true, &words, &result)) return kExitFailed;
    if (result != nullptr && result->status == 0) {
        const std::string problem = std::strcmp(result->message, kPcreError) == 0
                                        ? RegexProblem(pattern, request.case_sensitive)
                                        : std::string();
        if (problem.empty()) return Fail(c, result);
        c.err << "wordbay-cli: bad regular expression: " << problem << '\n';
        return kExitFailed;
    }
    for (const std::string& word : words) c.out << platform::DecodeToUtf8(cp, word) << '\n';
    lister.Finish();
    if (result != nullptr && IsIncomplete(result)) {
        c.err << "wordbay-cli: " << kRegexIncomplete << '\n';
        return kExitIncomplete;
    }
    return words.empty() ? kExitFailed : kExitOk;
}

int RunIdentical(const Context& c, const Arguments& args) {
    Handle db;
    DICTIONARY_INFO info{};
    if (!LoadDictionary(c, db.get(), args.positional[0], &info)) return kExitFailed;
    std::vector<const char*> output(std::max<uint32_t>(info.primary_word_count, 1));
    const DB_RESULT* result = nullptr;
    {
        ProgressBar bar(db.get(), c.err, c.progress, "Searching");
        result =
            DB_ListIdenticalWords(db.get(), args.Has("accents"), args.Has("case"), output.data());
    }
    if (result->status == 0) return Fail(c, result);
    const auto cp = PrimaryCodePage(info);
    for (int32_t i = 0; i < result->count; ++i) {
        c.out << platform::DecodeToUtf8(cp, output[i]) << '\n';
    }
    return kExitOk;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The DB_Load format for a --format name; 0 when there is none.
int32_t LoadFormat(const std::string& name, const std::string& source, bool allow_v03) {
    if (name == "txt") return DB_FORMAT_TXT_LOAD;
    if (name == "freelang") {
        return IsDirectory(source) ? DB_FORMAT_FREELANG_DIR_LOAD : DB_FORMAT_FREELANG_LOAD;
    }
    if (name == "v02") return DB_FORMAT_V02_LOAD;
    if (name == "v03" && allow_v03) return DB_FORMAT_V03_LOAD;
    return 0;
}

// Copies UTF-8 "text" into a fixed field in code page "cp", cut to fit.
void SetField(char* field, std::size_t size, std::uint32_t cp, const std::string& text) {
    const std::string encoded = platform::EncodeFromUtf8(cp, text);
    std::size_t n = std::min(encoded.size(), size - 1);
    // A cut UTF-8 text ends before the character that does not fit whole.
    if (cp == platform::kUtf8CodePage && n < encoded.size()) {
        while (n > 0 && (static_cast<unsigned char>(encoded[n]) & 0xC0) == 0x80) --n;
    }
    std::memcpy(field, encoded.data(), n);
    std::memset(field + n, 0, size - n);
}

// An import or a conversion allocates and frees blocks of tens of megabytes one after
// another. Kept by the allocator instead of being given back to the system at
// once, each freed block serves the next one without the system clearing its
// pages again; the process gives everything back when it ends.
void KeepFreedMemoryForReuse() {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest that glibc takes
    mallopt(M_TRIM_THRESHOLD, INT32_MAX);
    mallopt(M_TOP_PAD, 64 << 20);
}

int RunImport(const Context& c, const Arguments& args) {
    const std::string& source = args.positional[0];
    const int32_t format = LoadFormat(args.Value("format"), source, false);
    if (format == 0) return UsageError(c, "import needs --format txt, freelang or v02.");
    KeepFreedMemoryForReuse();
    unsigned long primary_locale = 0;
    unsigned long secondary_locale = 0;
    if (args.values.count("locales") != 0) {
        // A locale number, or a language code ICU knows the locale of.
        const auto locale = [](const std::string& text, unsigned long* lcid) {
            if (ParseNumber(text, 0x7FFFFFFFul, lcid)) return true;
            if (text.empty() ||
                text.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                       "ABCDEFGHIJKLMNOPQRSTUVWXYZ-_") != std::string::npos) {
                return false;
            }
            *lcid = LanguageOfCode(text).lcid;
            return true;
        };
        std::string p, s;
        if (!SplitPair(args.Value("locales"), &p, &s) || !locale(p, &primary_locale) ||
            !locale(s, &secondary_locale)) {
            return UsageError(c,
                              "--locales needs two locale numbers or language codes, e.g. "
                              "1033,1050 or eng,hrv.");
        }
    }
    const std::string encoding = args.Value("encoding", "auto");
    if (encoding != "auto" && encoding != "utf-8") {
        return UsageError(c, "--encoding is auto or utf-8.");
    }
    if (encoding == "utf-8") {
        if (format != DB_FORMAT_TXT_LOAD) {
            return UsageError(c, "--encoding utf-8 needs --format txt.");
        }
        primary_locale |= DB_LOCALE_UTF8;
        secondary_locale |= DB_LOCALE_UTF8;
    }
    std::string name1, name2;
    const bool has_names = args.values.count("names") != 0;
    if (has_names && !SplitPair(args.Value("names"), &name1, &name2)) {
        return UsageError(c, "--names needs two names, e.g. English,Croatian.");
    }
    Handle db;
    const DB_RESULT* result = nullptr;
    int error = 0;
    {
        ProgressBar bar(db.get(), c.err, c.progress, "Importing");
        result = OnFiles(&error, [&] {
            return DB_Load(db.get(), format, source.c_str(), static_cast<uint32_t>(primary_locale),
                           static_cast<uint32_t>(secondary_locale));
        });
    }
    if (result->status == 0) return Fail(c, result, error);
    if (has_names) {
        DICTIONARY_INFO info{};
        result = DB_GetDictionaryInfo(db.get(), &info);
        if (result->status == 0) return Fail(c, result);
        const auto cp1 = PrimaryCodePage(info);
        const auto cp2 = SecondaryCodePage(info);
        SetField(info.primary_list_name, sizeof info.primary_list_name, cp1, name1);
        SetField(info.secondary_list_name, sizeof info.secondary_list_name, cp2, name2);
        SetField(info.name, sizeof info.name, cp1, name1 + " - " + name2);
        SetField(info.description, sizeof info.description, cp1, name1 + " - " + name2);
        result = DB_SetDictionaryInfo(db.get(), &info);
        if (result->status == 0) return Fail(c, result);
    }
    if (!SaveDictionary(c, db.get(), DB_FORMAT_V03_SAVE, args.positional[1])) return kExitFailed;
    DICTIONARY_INFO info{};
    if (DB_GetDictionaryInfo(db.get(), &info)->status != 0) {
        c.out << "Imported " << info.primary_word_count << " primary and "
              << info.secondary_word_count << " secondary words, " << info.primary_translation_count
              << " translations.\n";
    }
    return kExitOk;
}

// Rewrites a TXT export in the lists' code pages as UTF-8 with LF line ends.
// `to` is replaced only by a complete file, as a save replaces one.
bool ExportAsUtf8(const std::string& from, const std::string& to, std::uint32_t cp1,
                  std::uint32_t cp2) {
    std::ifstream in(from, std::ios::binary);
    platform::FileWriter out;
    errno = 0;
    if (!in || out.CreateBeside(to.c_str()) != platform::OpenResult::kOpened) return false;
    constexpr std::size_t kBatch = std::size_t{1} << 16;
    std::string text;
    std::string line;
    bool written = true;
    while (written && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        text += platform::DecodeToUtf8(cp1, std::string_view(line).substr(0, tab));
        text += '\t';
        text += platform::DecodeToUtf8(cp2, std::string_view(line).substr(tab + 1));
        text += '\n';
        if (text.size() >= kBatch) {
            written = out.Write(text.data(), text.size());
            text.clear();
        }
    }
    if (in.bad()) {
        errno = EIO;
        return false;
    }
    return written && out.Write(text.data(), text.size()) && out.Commit();
}

int RunExport(const Context& c, const Arguments& args) {
    const std::string name = args.Value("format");
    const int32_t format = name == "txt"        ? DB_FORMAT_TXT_SAVE
                           : name == "freelang" ? DB_FORMAT_FREELANG_SAVE
                                                : 0;
    if (format == 0) return UsageError(c, "export needs --format txt or freelang.");
    const std::string encoding = args.Value("encoding", "code-page");
    if (encoding != "code-page" && encoding != "utf-8") {
        return UsageError(c, "--encoding is code-page or utf-8.");
    }
    if (encoding == "utf-8" && format != DB_FORMAT_TXT_SAVE) {
        return UsageError(c, "--encoding utf-8 needs --format txt.");
    }
    Handle db;
    DICTIONARY_INFO info{};
    if (!LoadDictionary(c, db.get(), args.positional[0], &info)) return kExitFailed;
    if (encoding == "code-page") {
        return SaveDictionary(c, db.get(), format, args.positional[1]) ? kExitOk : kExitFailed;
    }
    // The engine writes the lists' own bytes; they are converted afterwards.
    const std::string raw = args.positional[1] + ".code-page.tmp";
    const bool saved = SaveDictionary(c, db.get(), format, raw);
    const bool converted = saved && ExportAsUtf8(raw, args.positional[1], PrimaryCodePage(info),
                                                 SecondaryCodePage(info));
    unlink(raw.c_str());
    if (saved && !converted) {
        const int error = errno;
        c.err << "wordbay-cli: Can't write to file " << args.positional[1]
              << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
    }
    return converted ? kExitOk : kExitFailed;
}

int LockBusy(const Context& c, const std::string& path) {
    c.err << "wordbay-cli: Can't lock file for writing:\n"
          << path << "\nAnother program is saving it; try again later.\n";
    return kExitFailed;
}

int RunUpdate(const Context& c, const Arguments& args) {
    const std::string& source = args.positional[1];
    const std::string& path = args.positional[0];
    const int32_t format = LoadFormat(args.Value("format"), source, true);
    if (format == 0) return UsageError(c, "update needs --format v03, txt, freelang or v02.");
    // The dictionary stays locked against other writers from its load to the
    // save, so that what they saved meanwhile is not overwritten. The load
    // itself closes the file, which drops the lock of this process: it is
    // taken again after the load, and a file replaced in between is loaded
    // again.
    platform::FileLock lock;
    std::unique_ptr<Handle> db;
    for (;;) {
        if (lock.Acquire(path.c_str()) == platform::OpenResult::kBusy) return LockBusy(c, path);
        db = std::make_unique<Handle>();
        DICTIONARY_INFO info{};
        if (!LoadDictionary(c, db->get(), path, &info)) return kExitFailed;
        bool unchanged = false;
        if (lock.Reacquire(&unchanged) == platform::OpenResult::kBusy) return LockBusy(c, path);
        if (unchanged) break;
    }
    const DB_RESULT* result = nullptr;
    int error = 0;
    {
        ProgressBar bar(db->get(), c.err, c.progress, "Merging");
        result = OnFiles(&error, [&] {
            return DB_Update(
                db->get(),
                args.Has("reverse") ? DB_TRANS_SECONDARY_TO_PRIMARY : DB_TRANS_PRIMARY_TO_SECONDARY,
                format, source.c_str());
        });
    }
    if (result->status == 0) return Fail(c, result, error);
    const int32_t added = result->added;
    if (DB_IsChanged(db->get()) != 0 && !SaveDictionary(c, db->get(), DB_FORMAT_V03_SAVE, path)) {
        return kExitFailed;
    }
    c.out << added << " translations added.\n";
    return kExitOk;
}

// A file in memory holding `text`, open as the result (-1 with errno on
// failure); *path names it through /proc for as long as it stays open.
int TextInMemory(const std::string& text, std::string* path) {
    const int file = memfd_create("wordbay-freedict.txt", MFD_CLOEXEC);
    if (file < 0) return -1;
    errno = 0;
    if (!platform::WriteAll(file, text.data(), text.size())) {
        const int error = errno != 0 ? errno : ENOSPC;
        close(file);
        errno = error;
        return -1;
    }
    *path = "/proc/self/fd/" + std::to_string(file);
    return file;
}

// Imports `txt`, a UTF-8 TXT dictionary, into `db` through a file that lives
// in memory only: nothing touches the disk, and nothing is left behind
// however the tool ends. The engine's result, or null (said on c.err) when
// the file can't be made.
const DB_RESULT* ImportTxtInMemory(const Context& c, DB_HANDLE db, const std::string& txt,
                                   std::uint32_t primary_locale, std::uint32_t secondary_locale) {
    std::string path;
    const int fd = TextInMemory(txt, &path);
    if (fd < 0) {
        c.err << "wordbay-cli: Can't hold the pairs in memory: " << std::strerror(errno) << '\n';
        return nullptr;
    }
    const DB_RESULT* result = nullptr;
    {
        ProgressBar bar(db, c.err, c.progress, "Importing");
        result = DB_Load(db, DB_FORMAT_TXT_LOAD, path.c_str(), primary_locale, secondary_locale);
    }
    close(fd);
    return result;
}

// Replaces `path` with `text`, the old file only by a complete new one.
bool WriteWholeFile(const Context& c, const std::string& path, const std::string& text) {
    errno = 0;
    platform::FileWriter file;
    const platform::OpenResult opened = file.CreateBeside(path.c_str());
    if (opened == platform::OpenResult::kBusy) {
        LockBusy(c, path);
        return false;
    }
    if (opened != platform::OpenResult::kOpened || !file.Write(text.data(), text.size()) ||
        !file.Commit()) {
        const int error = errno;
        c.err << "wordbay-cli: Can't write to file " << path
              << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
        return false;
    }
    return true;
}

// Names an imported FreeDict dictionary and its lists, and gives each list
// its language; *cp1 and *cp2 become the lists' code pages.
const DB_RESULT* DescribeFreedict(DB_HANDLE db, const Language& primary, const Language& secondary,
                                  const std::string& languages, std::uint32_t* cp1,
                                  std::uint32_t* cp2) {
    DICTIONARY_INFO info{};
    const DB_RESULT* result = DB_GetDictionaryInfo(db, &info);
    if (result->status == 0) return result;
    info.primary_locale = primary.lcid;
    info.secondary_locale = secondary.lcid;
    // An 8-bit list takes the character set of its code page; a UTF-8 list
    // keeps its mark.
    const auto charset = [](std::uint32_t locale, std::uint32_t current) {
        return current == platform::kUtf8Charset ? current
                                                 : CharsetOfCodePage(platform::CodePageOf(locale));
    };
    info.primary_charset = charset(primary.lcid, info.primary_charset);
    info.secondary_charset = charset(secondary.lcid, info.secondary_charset);
    *cp1 = PrimaryCodePage(info);
    *cp2 = SecondaryCodePage(info);
    const std::string names = std::string(primary.name) + " - " + secondary.name;
    SetField(info.name, sizeof info.name, *cp1, names);
    SetField(info.author, sizeof info.author, *cp1, "FreeDict");
    SetField(info.description, sizeof info.description, *cp1,
             names + " (FreeDict " + languages + ")");
    SetField(info.primary_list_name, sizeof info.primary_list_name, *cp1, primary.name);
    SetField(info.secondary_list_name, sizeof info.secondary_list_name, *cp2, secondary.name);
    return DB_SetDictionaryInfo(db, &info);
}

int RunFreedict(const Context& c, const Arguments& args, const std::string& dictd_directory) {
    KeepFreedMemoryForReuse();
    std::string base, error, from, to;
    if (!LocateDictd(args.positional[0], dictd_directory, &base, &error)) {
        c.err << "wordbay-cli: " << error << '\n';
        return kExitFailed;
    }
    if (!LanguageCodes(base, &from, &to)) {
        c.err << "wordbay-cli: Cannot tell the languages from the name " << base << '\n';
        return kExitFailed;
    }
    const bool swap = args.Has("swap");
    if (swap) std::swap(from, to);
    std::vector<TranslationPair> pairs;
    std::size_t repeated = 0;
    if (!ReadDictd(base, &pairs, &error, &repeated)) {
        c.err << "wordbay-cli: " << error << '\n';
        return kExitFailed;
    }
    const Language primary = LanguageOfCode(from);
    const Language secondary = LanguageOfCode(to);
    // Both sides go to the import in UTF-8, which puts each list into its
    // language's code page when every text fits and keeps it UTF-8 when not.
    std::uint32_t cp1 = platform::kUtf8CodePage;
    std::uint32_t cp2 = platform::kUtf8CodePage;
    const bool txt = args.values.count("txt-code-page") != 0;
    if (txt) {
        const std::string page = args.Value("txt-code-page");
        char* end = nullptr;
        const unsigned long n = std::strtoul(page.c_str(), &end, 10);
        if (page.empty() || *end != '\0' || n == 0 || n > 65535) {
            return UsageError(c, "--txt-code-page needs a Windows code page number, e.g. 1250.");
        }
        cp1 = cp2 = static_cast<std::uint32_t>(n);
    }
    // The kept texts may be those of `pairs`, which stay until the import is done.
    const EncodedPairs encoded = EncodePairs(pairs, cp1, cp2, swap);
    const auto report = [&] {
        c.out << "Pairs kept: " << encoded.kept << ", dropped: " << encoded.dropped << ".\n";
        if (encoded.dropped > 0) c.out << "Dropped: " << encoded.Reasons() << ".\n";
        if (repeated > 0) c.out << "Repeated pairs kept once: " << repeated << ".\n";
    };
    if (encoded.kept == 0) {
        c.err << "wordbay-cli: No translation pair could be kept (" << encoded.dropped
              << " dropped: " << encoded.Reasons() << ").\n";
        return kExitFailed;
    }
    if (txt) {
        if (!WriteWholeFile(c, args.positional[1], encoded.Txt())) return kExitFailed;
        report();
        return kExitOk;
    }
    Handle db;
    const DB_RESULT* result =
        ImportTxtInMemory(c, db.get(), encoded.Txt(), primary.lcid, secondary.lcid);
    if (result == nullptr) return kExitFailed;
    if (result->status == 0) return Fail(c, result);

    result = DescribeFreedict(db.get(), primary, secondary, from + "-" + to, &cp1, &cp2);
    if (result->status == 0) return Fail(c, result);
    if (!SaveDictionary(c, db.get(), DB_FORMAT_V03_SAVE, args.positional[1])) return kExitFailed;
    report();
    const auto encoding = [](std::uint32_t code_page) {
        return code_page == platform::kUtf8CodePage ? std::string("UTF-8")
                                                    : "code page " + std::to_string(code_page);
    };
    c.out << "Lists: " << primary.name << " in " << encoding(cp1) << ", " << secondary.name
          << " in " << encoding(cp2) << ".\n";
    return kExitOk;
}

}  // namespace

int RunCommand(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err,
               bool progress, const std::string& dictd_directory) {
    const Context c{in, out, err, progress};
    if (args.command == "info") return RunInfo(c, args);
    if (args.command == "translate") return RunTranslate(c, args);
    if (args.command == "list") return RunList(c, args);
    if (args.command == "identical") return RunIdentical(c, args);
    if (args.command == "import") return RunImport(c, args);
    if (args.command == "export") return RunExport(c, args);
    if (args.command == "update") return RunUpdate(c, args);
    if (args.command == "freedict") return RunFreedict(c, args, dictd_directory);
    return UsageError(c, "Unknown command \"" + args.command + "\".");
}

}  // namespace cli
