// wordbay-cli list: the words of a list that match a pattern in one of the
// search modes, prefixes and wildcard patterns with a fixed head answered
// from the look-up image where it can.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "engine/lexbase_messages.h"
#include "platform/code_page.h"
#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"
#include "tools/commands/image_or_dictionary.h"
#include "tools/progress_bar.h"

namespace cli {
namespace {

using lookup::LookupImage;

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

bool IsIncomplete(const DB_RESULT* result) {
    return result->status != 0 &&
           lexbase::IsMessage(result->message, lexbase::Message::kRegexIncomplete);
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

// Lists patterns of one list: prefixes and wildcard patterns that begin with
// a character from the look-up image while it holds up, everything else from
// the loaded dictionary.
class Lister {
public:
    Lister(const Context& c, const Arguments& args, const ListRequest& request)
        : c_(c), source_(c, args.positional[0]), request_(request) {}

    // Opens the image or loads the dictionary; false after a failed load.
    bool Start() {
        if (FromImage() && source_.OpenImage() && source_.image().HasPrefixes(request_.list)) {
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
            const auto limit =
                static_cast<std::uint32_t>(request_.has_limit ? request_.limit : 0xFFFFFFFFul);
            LookupImage& image = source_.image();
            const LookupImage::Answer answer =
                request_.mode == DB_LIST_PREFIX
                    ? image.ListPrefix(request_.list, pattern, request_.case_sensitive,
                                       request_.ignore_accents, limit, words)
                    : image.ListWildcards(request_.list, pattern, request_.case_sensitive,
                                          request_.ignore_accents, limit, words);
            if (answer != LookupImage::Answer::kDamaged) return true;
            // A damaged image, an empty pattern or one that begins with a
            // wildcard: the dictionary answers.
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
        if (FromImage()) source_.WriteImage();
    }

private:
    bool FromImage() const {
        return request_.mode == DB_LIST_PREFIX || request_.mode == DB_LIST_WILDCARDS;
    }

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
                c.err << "wordbay-cli: " << line << ": " << result->message << '\n';
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

}  // namespace

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
        const std::string problem =
            lexbase::IsMessage(result->message, lexbase::Message::kPcreError)
                ? RegexProblem(pattern, request.case_sensitive)
                : std::string();
        if (problem.empty()) return Fail(c, result);
        c.err << "wordbay-cli: bad regular expression: " << problem << '\n';
        return kExitFailed;
    }
    for (const std::string& word : words) c.out << platform::DecodeToUtf8(cp, word) << '\n';
    lister.Finish();
    if (result != nullptr && IsIncomplete(result)) {
        c.err << "wordbay-cli: " << result->message << '\n';
        return kExitIncomplete;
    }
    return words.empty() ? kExitFailed : kExitOk;
}

}  // namespace cli
