#include "tools/cli_commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <istream>
#include <memory>
#include <ostream>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "engine/lexbase.h"
#include "platform/code_page.h"
#include "platform/file_writer.h"
#include "platform/locale.h"
#include "tools/freedict_reader.h"
#include "tools/lookup_image.h"
#include "tools/pair_encoding.h"
#include "tools/progress_bar.h"

namespace cli {
namespace {

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
        result = OnFiles(&error, [&] { return DB_Load(db, DB_FORMAT_V03_LOAD, path.c_str(), 0, 0); });
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
    const DB_RESULT* result = OnFiles(&error, [&] {
        return DB_GetDictionaryInfoA(db.get(), args.positional[0].c_str(), &info);
    });
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

// Answers exact look-ups from the dictionary's look-up image while it holds
// up, and from the loaded dictionary otherwise; loads it only when needed.
class Translator {
public:
    Translator(const Context& c, const Arguments& args)
        : c_(c), path_(args.positional[0]), reverse_(args.Has("reverse")),
          case_sensitive_(args.Has("case")), ignore_accents_(args.Has("accents")) {}

    // Opens the image or loads the dictionary; false after a failed load.
    bool Start() {
        if (case_sensitive_ && !ignore_accents_) {
            char* real = ::realpath(path_.c_str(), nullptr);
            if (real != nullptr) {
                source_ = real;
                std::free(real);
            }
            if (!source_.empty() && ReadSourceKey(source_, &key_)) {
                image_path_ = ImagePathOf(source_);
                if (!image_path_.empty() && image_.Open(image_path_, source_, key_)) {
                    SetCodePages(image_.code_page(0), image_.code_page(1));
                    return true;
                }
            }
        }
        return Load();
    }

    // Looks up one UTF-8 word; false with the engine's result (or none) when
    // nothing is found, or when the dictionary could not be loaded (`failed`).
    bool Answer(const std::string& word, std::vector<std::string>* translations,
                const DB_RESULT** result, bool* failed) {
        *failed = false;
        if (!loaded_) {
            translations->clear();
            *result = nullptr;
            bool lossy = false;
            const std::string encoded = platform::EncodeFromUtf8(from_cp_, word, &lossy);
            if (lossy || encoded.empty()) return false;
            const LookupImage::Answer answer =
                image_.Translate(reverse_ ? 1 : 0, encoded, &found_);
            if (answer == LookupImage::Answer::kNotFound) return false;
            if (answer == LookupImage::Answer::kFound) {
                for (const auto& t : found_) {
                    translations->push_back(platform::DecodeToUtf8(to_cp_, t));
                }
                return true;
            }
            // A damaged image: the dictionary answers from here on.
            if (!Load()) {
                *failed = true;
                return false;
            }
        }
        return Translate(db_->get(), Direction(), from_cp_, to_cp_, word, case_sensitive_,
                         ignore_accents_, translations, result);
    }

    // Writes the look-up image when the dictionary had to be loaded for
    // want of a good one, and the file is still the one loaded.
    void Finish() {
        SourceKey now;
        if (!loaded_ || image_path_.empty() || !ReadSourceKey(source_, &now) ||
            now.size != key_.size || now.modified_seconds != key_.modified_seconds ||
            now.modified_nanoseconds != key_.modified_nanoseconds || now.crc != key_.crc) {
            return;
        }
        WriteLookupImage(db_->get(), image_path_, source_, key_);
    }

private:
    int32_t Direction() const {
        return reverse_ ? DB_TRANS_SECONDARY_TO_PRIMARY : DB_TRANS_PRIMARY_TO_SECONDARY;
    }
    void SetCodePages(std::uint32_t cp1, std::uint32_t cp2) {
        from_cp_ = reverse_ ? cp2 : cp1;
        to_cp_ = reverse_ ? cp1 : cp2;
    }
    bool Load() {
        // A handle takes megabytes of index; the image needs none.
        db_ = std::make_unique<Handle>();
        DICTIONARY_INFO info{};
        if (!LoadDictionary(c_, db_->get(), path_, &info)) return false;
        SetCodePages(PrimaryCodePage(info), SecondaryCodePage(info));
        loaded_ = true;
        return true;
    }

    const Context& c_;
    const std::string path_;
    const bool reverse_;
    const bool case_sensitive_;
    const bool ignore_accents_;
    std::unique_ptr<Handle> db_;
    bool loaded_ = false;
    std::uint32_t from_cp_ = 0;
    std::uint32_t to_cp_ = 0;
    std::string source_;
    SourceKey key_;
    std::string image_path_;
    LookupImage image_;
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

int RunList(const Context& c, const Arguments& args) {
    uint32_t mode = DB_LIST_PREFIX;
    if (!ModeOfName(args.Value("mode", "prefix"), &mode)) {
        return UsageError(c, "Unknown mode \"" + args.Value("mode") +
                                 "\" (prefix, wildcards, regex, palindrome, anagram1, "
                                 "anagram2, anagram3).");
    }
    if (args.positional.size() < 2 && mode != DB_LIST_PALINDROME) {
        return UsageError(c, "list needs a PATTERN except with --mode palindrome.");
    }
    unsigned long limit = 0;
    const bool has_limit = args.values.count("limit") != 0;
    if (has_limit && !ParseNumber(args.Value("limit"), 0x7FFFFFFF, &limit)) {
        return UsageError(c, "--limit needs a number.");
    }
    Handle db;
    DICTIONARY_INFO info{};
    if (!LoadDictionary(c, db.get(), args.positional[0], &info)) return kExitFailed;
    const bool secondary = args.Has("secondary");
    const auto cp = secondary ? SecondaryCodePage(info) : PrimaryCodePage(info);
    const uint32_t words = secondary ? info.secondary_word_count : info.primary_word_count;
    if (!has_limit) limit = words;
    limit = std::min<unsigned long>(limit, words);

    std::vector<const char*> output(std::max<unsigned long>(limit, 1));
    const int32_t list = secondary ? DB_SECONDARY_LIST : DB_PRIMARY_LIST;
    if (args.positional.size() > 1 && args.positional[1] == "-") {
        // One pattern a line from standard input, one line of matches each.
        std::string line;
        bool incomplete = false;
        while (std::getline(c.in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            bool lossy = false;
            const std::string pattern = platform::EncodeFromUtf8(cp, line, &lossy);
            if (!lossy && !pattern.empty()) {
                const DB_RESULT* result =
                    DB_List(db.get(), list, pattern.c_str(), args.Has("case"), args.Has("accents"),
                            mode, output.data(), static_cast<int32_t>(limit));
                for (int32_t i = 0; i < result->count; ++i) {
                    c.out << (i == 0 ? "" : "\t") << platform::DecodeToUtf8(cp, output[i]);
                }
                if (IsIncomplete(result)) {
                    c.err << "wordbay-cli: " << line << ": " << kRegexIncomplete << '\n';
                    incomplete = true;
                }
            }
            c.out << '\n';
        }
        c.out << std::flush;
        return incomplete ? kExitIncomplete : kExitOk;
    }
    std::string pattern;
    if (args.positional.size() > 1) {
        bool lossy = false;
        pattern = platform::EncodeFromUtf8(cp, args.positional[1], &lossy);
        if (lossy) {
            return UsageError(c, "The pattern has characters that this list's language lacks.");
        }
    }
    const DB_RESULT* result = nullptr;
    {
        ProgressBar bar(db.get(), c.err, c.progress, "Searching");
        result = DB_List(db.get(), list, pattern.c_str(),
                         args.Has("case"), args.Has("accents"), mode, output.data(),
                         static_cast<int32_t>(limit));
    }
    if (result->status == 0) {
        const std::string problem = std::strcmp(result->message, kPcreError) == 0
                                        ? RegexProblem(pattern, args.Has("case"))
                                        : std::string();
        if (problem.empty()) return Fail(c, result);
        c.err << "wordbay-cli: bad regular expression: " << problem << '\n';
        return kExitFailed;
    }
    for (int32_t i = 0; i < result->count; ++i) {
        c.out << platform::DecodeToUtf8(cp, output[i]) << '\n';
    }
    if (IsIncomplete(result)) {
        c.err << "wordbay-cli: " << kRegexIncomplete << '\n';
        return kExitIncomplete;
    }
    return result->count > 0 ? kExitOk : kExitFailed;
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

int RunImport(const Context& c, const Arguments& args) {
    const std::string& source = args.positional[0];
    const int32_t format = LoadFormat(args.Value("format"), source, false);
    if (format == 0) return UsageError(c, "import needs --format txt, freelang or v02.");
    unsigned long primary_locale = 0;
    unsigned long secondary_locale = 0;
    if (args.values.count("locales") != 0) {
        // A locale number, or a language code ICU knows the locale of.
        const auto locale = [](const std::string& text, unsigned long* lcid) {
            if (ParseNumber(text, 0x7FFFFFFFul, lcid)) return true;
            if (text.empty() || text.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                                       "ABCDEFGHIJKLMNOPQRSTUVWXYZ-_") !=
                                    std::string::npos) {
                return false;
            }
            *lcid = LanguageOfCode(text).lcid;
            return true;
        };
        std::string p, s;
        if (!SplitPair(args.Value("locales"), &p, &s) || !locale(p, &primary_locale) ||
            !locale(s, &secondary_locale)) {
            return UsageError(c, "--locales needs two locale numbers or language codes, e.g. "
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
bool ExportAsUtf8(const std::string& from, const std::string& to, std::uint32_t cp1,
                  std::uint32_t cp2) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        out << platform::DecodeToUtf8(cp1, std::string_view(line).substr(0, tab)) << '\t'
            << platform::DecodeToUtf8(cp2, std::string_view(line).substr(tab + 1)) << '\n';
    }
    out.close();
    if (!out) return false;
    errno = in.bad() ? EIO : 0;
    return !in.bad();
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
    const bool converted =
        saved && ExportAsUtf8(raw, args.positional[1], PrimaryCodePage(info), SecondaryCodePage(info));
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
    if (DB_IsChanged(db->get()) != 0 &&
        !SaveDictionary(c, db->get(), DB_FORMAT_V03_SAVE, path)) {
        return kExitFailed;
    }
    c.out << added << " translations added.\n";
    return kExitOk;
}

// Writes "text" to a new temporary file and removes its name at once, so that
// nothing is left behind however the tool ends; *path names the open file
// through /proc for as long as *fd stays open. False on failure.
bool WriteTemporary(const std::string& text, int* fd, std::string* path) {
    const char* dir = std::getenv("TMPDIR");
    std::string name =
        std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/wordbay-freedict-XXXXXX.txt";
    const int file = mkostemps(name.data(), 4, O_CLOEXEC);
    if (file < 0) return false;
    unlink(name.c_str());
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(file, text.data() + written, text.size() - written);
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    if (written != text.size()) {
        const int error = errno;
        close(file);
        errno = error;
        return false;
    }
    *fd = file;
    *path = "/proc/self/fd/" + std::to_string(file);
    return true;
}

int RunFreedict(const Context& c, const Arguments& args, const std::string& dictd_directory) {
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
    if (!ReadDictd(base, &pairs, &error)) {
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
    const EncodedPairs encoded = EncodePairs(pairs, cp1, cp2, swap);
    pairs.clear();
    pairs.shrink_to_fit();
    const auto report = [&] {
        c.out << "Pairs kept: " << encoded.kept << ", dropped: " << encoded.dropped << ".\n";
        if (encoded.dropped > 0) c.out << "Dropped: " << encoded.Reasons() << ".\n";
    };
    if (encoded.kept == 0) {
        c.err << "wordbay-cli: No translation pair could be kept (" << encoded.dropped
              << " dropped: " << encoded.Reasons() << ").\n";
        return kExitFailed;
    }
    if (txt) {
        // The old file is replaced only by a complete new one.
        errno = 0;
        platform::FileWriter file;
        const platform::OpenResult opened = file.CreateBeside(args.positional[1].c_str());
        if (opened == platform::OpenResult::kBusy) return LockBusy(c, args.positional[1]);
        if (opened != platform::OpenResult::kOpened ||
            !file.Write(encoded.txt.data(), encoded.txt.size()) || !file.Commit()) {
            const int error = errno;
            c.err << "wordbay-cli: Can't write to file " << args.positional[1]
                  << (error != 0 ? std::string(": ") + std::strerror(error) : std::string())
                  << '\n';
            return kExitFailed;
        }
        report();
        return kExitOk;
    }
    std::string txt_path;
    int txt_fd = -1;
    if (!WriteTemporary(encoded.txt, &txt_fd, &txt_path)) {
        c.err << "wordbay-cli: Can't write a temporary file: " << std::strerror(errno) << '\n';
        return kExitFailed;
    }
    Handle db;
    const DB_RESULT* result = nullptr;
    {
        ProgressBar bar(db.get(), c.err, c.progress, "Importing");
        result =
            DB_Load(db.get(), DB_FORMAT_TXT_LOAD, txt_path.c_str(), primary.lcid, secondary.lcid);
    }
    close(txt_fd);
    if (result->status == 0) return Fail(c, result);

    DICTIONARY_INFO info{};
    result = DB_GetDictionaryInfo(db.get(), &info);
    if (result->status == 0) return Fail(c, result);
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
    cp1 = PrimaryCodePage(info);
    cp2 = SecondaryCodePage(info);
    const std::string names = std::string(primary.name) + " - " + secondary.name;
    SetField(info.name, sizeof info.name, cp1, names);
    SetField(info.author, sizeof info.author, cp1, "FreeDict");
    SetField(info.description, sizeof info.description, cp1,
             names + " (FreeDict " + from + "-" + to + ")");
    SetField(info.primary_list_name, sizeof info.primary_list_name, cp1, primary.name);
    SetField(info.secondary_list_name, sizeof info.secondary_list_name, cp2, secondary.name);
    result = DB_SetDictionaryInfo(db.get(), &info);
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
