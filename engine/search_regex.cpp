#include "engine/search_regex.h"

#include <cstdlib>
#include <cstring>

namespace lexbase {

void RegexMatcher::Free::operator()(char* bytes) const { std::free(bytes); }

RegexStatus RegexMatcher::Compile(const WordList& list, const char* expression, bool case_sensitive,
                                  bool ignore_accents) {
    std::unique_ptr<char, Free> mapped;
    if (ignore_accents) {
        accent_free_ = list.accent_free_table;
        const std::size_t length = std::strlen(expression);
        mapped.reset(static_cast<char*>(std::malloc(length + 1)));
        if (mapped == nullptr) return RegexStatus::kOutOfMemory;
        for (std::size_t i = 0; i < length; ++i) {
            mapped.get()[i] =
                static_cast<char>(accent_free_[static_cast<std::uint8_t>(expression[i])]);
        }
        mapped.get()[length] = '\0';
        expression = mapped.get();
    }
    const char* error = nullptr;
    int error_offset = 0;
    code_.reset(pcre_compile(expression, case_sensitive ? 0 : PCRE_CASELESS, &error, &error_offset,
                             list.regex_tables));
    if (code_ == nullptr) return RegexStatus::kBadExpression;
    limits_.flags = PCRE_EXTRA_MATCH_LIMIT | PCRE_EXTRA_MATCH_LIMIT_RECURSION;
    limits_.match_limit = kRegexMatchLimit;
    limits_.match_limit_recursion = kRegexRecursionLimit;
    return RegexStatus::kOk;
}

RegexMatch RegexMatcher::Test(std::string_view word) {
    const char* subject = word.data();
    if (accent_free_ != nullptr) {
        if (scratch_size_ < word.size() + 1) {
            scratch_.reset(static_cast<char*>(std::malloc(word.size() + 1)));
            scratch_size_ = scratch_ != nullptr ? word.size() + 1 : 0;
            if (scratch_ == nullptr) return RegexMatch::kOutOfMemory;
        }
        char* mapped = scratch_.get();
        for (std::size_t i = 0; i < word.size(); ++i) {
            mapped[i] = static_cast<char>(accent_free_[static_cast<std::uint8_t>(word[i])]);
        }
        mapped[word.size()] = '\0';
        subject = mapped;
    }
    int offsets[30];
    const int found =
        pcre_exec(code_.get(), &limits_, subject, static_cast<int>(word.size()), 0, 0, offsets, 30);
    return found >= 0 ? RegexMatch::kYes : RegexMatch::kNo;
}

}  // namespace lexbase
