#include "engine/search_regex.h"

#include <cassert>
#include <cstdlib>
#include <cstring>

#include "platform/code_page.h"

namespace lexbase {

void RegexMatcher::Free::operator()(char* bytes) const { std::free(bytes); }

std::string RegexErrorText(int code) {
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(code, buffer, sizeof buffer);
    if (length < 0) return "unknown error " + std::to_string(code);
    return std::string(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

RegexStatus RegexMatcher::Compile(const WordList& list, const char* expression, bool case_sensitive,
                                  bool ignore_accents) {
    error_.clear();
    error_offset_ = 0;
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
    match_options_ = 0;
    return CompileWith(expression, case_sensitive ? 0 : PCRE2_CASELESS, list.regex_tables);
}

RegexStatus RegexMatcher::CompileUtf8(const std::string& expression, bool case_sensitive) {
    error_.clear();
    error_offset_ = 0;
    accent_free_ = nullptr;
    const std::uint32_t options = PCRE2_UTF | PCRE2_UCP | (case_sensitive ? 0 : PCRE2_CASELESS);
    match_options_ = PCRE2_NO_UTF_CHECK;
    return CompileWith(expression.c_str(), options, nullptr);
}

RegexStatus RegexMatcher::CompileWith(const char* expression, std::uint32_t options,
                                      const std::uint8_t* tables) {
    std::unique_ptr<pcre2_compile_context, Free> context(pcre2_compile_context_create(nullptr));
    limits_.reset(pcre2_match_context_create(nullptr));
    if (context == nullptr || limits_ == nullptr) return RegexStatus::kOutOfMemory;
    if (tables != nullptr) pcre2_set_character_tables(context.get(), tables);
    pcre2_set_match_limit(limits_.get(), kRegexMatchLimit);
    pcre2_set_depth_limit(limits_.get(), kRegexDepthLimit);

    int error = 0;
    PCRE2_SIZE offset = 0;
    code_.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression), PCRE2_ZERO_TERMINATED,
                              options, &error, &offset, context.get()));
    if (code_ == nullptr) {
        if (error == PCRE2_ERROR_HEAPLIMIT || error == PCRE2_ERROR_NOMEMORY) {
            return RegexStatus::kOutOfMemory;
        }
        error_ = RegexErrorText(error);
        error_offset_ = offset;
        return RegexStatus::kBadExpression;
    }
    match_data_.reset(pcre2_match_data_create_from_pattern(code_.get(), nullptr));
    if (match_data_ == nullptr) return RegexStatus::kOutOfMemory;
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
    assert(match_options_ == 0 || platform::IsValidUtf8(word));
    const int found = pcre2_match(code_.get(), reinterpret_cast<PCRE2_SPTR>(subject), word.size(),
                                  0, match_options_, match_data_.get(), limits_.get());
    if (found >= 0) return RegexMatch::kYes;
    switch (found) {
        case PCRE2_ERROR_NOMATCH:
            return RegexMatch::kNo;
        case PCRE2_ERROR_MATCHLIMIT:
        case PCRE2_ERROR_DEPTHLIMIT:
        case PCRE2_ERROR_HEAPLIMIT:
            return RegexMatch::kLimit;
        case PCRE2_ERROR_NOMEMORY:
            return RegexMatch::kOutOfMemory;
        default:
            return RegexMatch::kNo;
    }
}

}  // namespace lexbase
