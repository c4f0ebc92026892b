// The regular-expression test of the word listing: one expression compiled
// with PCRE2 under the searched list's character tables, tried anywhere in
// each word. With "Ignore accents" the expression and every word pass
// through the list's accent-free table first; case is PCRE2's own caseless
// matching under the same tables.
#pragma once

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/word_list.h"

namespace lexbase {

// Work limits for one word, so that one pathological expression cannot hold a
// word for long: about 5 ms of matching, and a backtracking depth of a few
// thousand frames. A word that reaches either does not match, and the search
// reports itself incomplete.
inline constexpr std::uint32_t kRegexMatchLimit = 1'000'000;
inline constexpr std::uint32_t kRegexDepthLimit = 4'000;

enum class RegexStatus { kOk, kOutOfMemory, kBadExpression };
enum class RegexMatch { kYes, kNo, kLimit, kOutOfMemory };

// Owns the compiled expression, its match data and the scratch buffer for
// mapped words. Uses the list's tables, which must outlive it.
class RegexMatcher {
public:
    RegexMatcher() = default;
    RegexMatcher(const RegexMatcher&) = delete;
    RegexMatcher& operator=(const RegexMatcher&) = delete;

    // Compiles the NUL-terminated `expression` for the words of `list`:
    // kOutOfMemory when the accent-mapped copy can't be had, kBadExpression
    // when PCRE2 refuses it (error() and error_offset() then tell why).
    [[nodiscard]] RegexStatus Compile(const WordList& list, const char* expression,
                                      bool case_sensitive, bool ignore_accents);

    // Compiles a UTF-8 `expression` in UTF mode with Unicode properties, for
    // the words of a list compared by character, which the caller folds and
    // hands to Test in UTF-8 itself: `.` is one character, `\w` a letter of
    // any script, and case folds as Unicode folds it. Every word given to
    // Test must be well-formed UTF-8: PCRE2 no longer checks each one.
    [[nodiscard]] RegexStatus CompileUtf8(const std::string& expression, bool case_sensitive);

    // Whether the compiled expression occurs in `word`. kLimit when the
    // work limits ran out before an answer; kOutOfMemory when the scratch
    // buffer for the accent-mapped word can't be enlarged.
    RegexMatch Test(std::string_view word);

    // PCRE2's reason for refusing the last expression, and the offset in it
    // where it stopped.
    const std::string& error() const { return error_; }
    std::size_t error_offset() const { return error_offset_; }

private:
    // Compiles `expression` with `options` and `tables` (null: PCRE2's own).
    RegexStatus CompileWith(const char* expression, std::uint32_t options,
                            const std::uint8_t* tables);

    struct Free {
        void operator()(pcre2_code* code) const { pcre2_code_free(code); }
        void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
        void operator()(pcre2_compile_context* context) const {
            pcre2_compile_context_free(context);
        }
        void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
        void operator()(char* bytes) const;
    };

    std::unique_ptr<pcre2_code, Free> code_;
    std::unique_ptr<pcre2_match_data, Free> match_data_;
    std::unique_ptr<pcre2_match_context, Free> limits_;
    const std::uint8_t* accent_free_ = nullptr;  // set with "Ignore accents"
    std::uint32_t match_options_ = 0;            // PCRE2_NO_UTF_CHECK in UTF mode
    std::unique_ptr<char, Free> scratch_;
    std::size_t scratch_size_ = 0;
    std::string error_;
    std::size_t error_offset_ = 0;
};

// PCRE2's text for error `code`.
std::string RegexErrorText(int code);

}  // namespace lexbase
