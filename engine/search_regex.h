// The regular-expression test of the word listing: one expression compiled
// with PCRE under the searched list's character tables, tried anywhere in
// each word. With "Ignore accents" the expression and every word pass
// through the list's accent-free table first; case is PCRE's own caseless
// matching under the same tables.
#pragma once

#include <pcre.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "engine/word_list.h"

namespace lexbase {

// Work limits for one word, so that one pathological expression cannot hold a
// word for long: about 5 ms of matching, and a recursion depth that fits in
// 2 MB of stack. A word that reaches either counts as not matching.
inline constexpr unsigned long kRegexMatchLimit = 1'000'000;
inline constexpr unsigned long kRegexRecursionLimit = 4'000;

enum class RegexStatus { kOk, kOutOfMemory, kBadExpression };
enum class RegexMatch { kYes, kNo, kOutOfMemory };

// Owns the compiled expression and the scratch buffer for mapped words.
// Uses the list's tables, which must outlive it.
class RegexMatcher {
public:
    RegexMatcher() = default;
    RegexMatcher(const RegexMatcher&) = delete;
    RegexMatcher& operator=(const RegexMatcher&) = delete;

    // Compiles the NUL-terminated `expression` for the words of `list`:
    // kOutOfMemory when the accent-mapped copy can't be had, kBadExpression
    // when PCRE refuses it.
    [[nodiscard]] RegexStatus Compile(const WordList& list, const char* expression,
                                      bool case_sensitive, bool ignore_accents);

    // Whether the compiled expression occurs in `word`. kOutOfMemory when the
    // scratch buffer for the accent-mapped word can't be enlarged.
    RegexMatch Test(std::string_view word);

private:
    struct PcreFree {
        void operator()(pcre* code) const { pcre_free(code); }
    };
    struct Free {
        void operator()(char* bytes) const;
    };

    std::unique_ptr<pcre, PcreFree> code_;
    pcre_extra limits_{};
    const std::uint8_t* accent_free_ = nullptr;  // set with "Ignore accents"
    std::unique_ptr<char, Free> scratch_;
    std::size_t scratch_size_ = 0;
};

}  // namespace lexbase
