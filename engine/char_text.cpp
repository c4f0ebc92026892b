#include "engine/char_text.h"

#include <unicode/utf8.h>

#include <algorithm>

#include "platform/char_fold.h"
#include "platform/code_page.h"
#include "platform/collation.h"
#include "platform/locale.h"

namespace lexbase {

std::uint32_t CodePageOfList(const WordList& list) {
    return platform::ListCodePage(list.locale, list.charset);
}

bool ComparesByChar(const WordList& list) {
    return list.charset == platform::kUtf8Charset ||
           platform::IsDoubleByteCodePage(platform::CodePageOf(list.locale));
}

int CollateWords(const WordList& list, std::string_view a, std::string_view b) {
    if (list.charset == platform::kUtf8Charset) {
        return platform::CompareTextIn(platform::kUtf8CodePage, list.locale, 0, a, b);
    }
    return platform::CompareText(list.locale, 0, a, b);  // remembers the locale's code page
}

std::string CharFold::Encode(char32_t ch) const {
    std::u16string wide;
    if (ch > 0xFFFF) {
        wide = {static_cast<char16_t>(0xD7C0 + (ch >> 10)),
                static_cast<char16_t>(0xDC00 | (ch & 0x3FF))};
    } else {
        wide = {static_cast<char16_t>(ch)};
    }
    bool lossy = false;
    std::string bytes = platform::EncodeFromUtf16(code_page_, wide, &lossy);
    return lossy ? std::string() : bytes;
}

std::uint32_t ChosenCharset(std::uint32_t current, bool has_words, std::uint32_t locale,
                            std::uint32_t wanted) {
    if (!has_words) return platform::CharsetForNewList(locale, wanted);
    if (current == platform::kUtf8Charset) return current;
    return wanted == platform::kUtf8Charset ? current : wanted;
}

CharFold::CharFold(const WordList& list, Fold fold)
    : code_page_(CodePageOfList(list))
    , flags_((IsCaseSensitive(fold) ? 0 : platform::kNormIgnoreCase) |
             (IgnoresAccents(fold) ? platform::kNormIgnoreNonSpace : 0))
    , utf8_(code_page_ == platform::kUtf8CodePage)
    , fold_case_((flags_ & platform::kNormIgnoreCase) != 0) {}

void CharFold::Apply(std::string_view text, std::u32string* out) const {
    platform::DecodeToCodePoints(code_page_, text, out);
    platform::FoldChars(out, flags_);
}

std::ptrdiff_t CharFold::MatchedBytes(std::string_view text, std::u32string_view prefix,
                                      std::size_t start) const {
    if (!utf8_) {
        std::u32string chars;
        Apply(text, &chars);
        if (!std::u32string_view(chars).starts_with(prefix)) return -1;
        // Only whether the whole text matched counts here: the double-byte
        // pages have no byte count per character at hand.
        return chars.size() == prefix.size() ? static_cast<std::ptrdiff_t>(text.size()) : 0;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    auto i = static_cast<std::int32_t>(start);
    for (const char32_t wanted : prefix.substr(start)) {
        if (i >= length) return -1;
        if (bytes[i] < 0x80) {
            // FoldChar of an ASCII character, without the call: only case.
            char32_t got = bytes[i++];
            if (fold_case_ && got >= U'A' && got <= U'Z') got += 0x20;
            if (got != wanted) return -1;
            continue;
        }
        UChar32 ch;
        U8_NEXT(bytes, i, length, ch);
        const char32_t got = ch < 0 ? char32_t{0xFFFD} : static_cast<char32_t>(ch);
        if (platform::FoldChar(got, flags_) != wanted) return -1;
    }
    return i;
}

std::size_t CharFold::FoldedPrefix(std::string_view text, std::size_t count, char32_t* out) const {
    if (code_page_ != platform::kUtf8CodePage) {
        std::u32string chars;
        Apply(text, &chars);
        const std::size_t n = std::min(count, chars.size());
        std::copy_n(chars.begin(), n, out);
        return n;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t i = 0;
    std::size_t n = 0;
    for (; n < count && i < length; ++n) {
        UChar32 ch;
        U8_NEXT(bytes, i, length, ch);
        out[n] = platform::FoldChar(ch < 0 ? char32_t{0xFFFD} : static_cast<char32_t>(ch), flags_);
    }
    return n;
}

std::size_t CharFold::FirstCharBytes(std::string_view text) const {
    std::u32string chars;
    platform::DecodeToCodePoints(code_page_, text, &chars);
    if (chars.empty()) return 1;
    const std::string first = Encode(chars[0]);
    return !first.empty() && text.starts_with(first) ? first.size() : 1;
}

std::vector<std::string> CharFold::EncodedVariants(char32_t ch) const {
    std::vector<std::string> encoded;
    for (const char32_t variant : platform::FoldVariants(ch, flags_)) {
        std::string bytes = Encode(variant);
        if (!bytes.empty()) encoded.push_back(std::move(bytes));
    }
    return encoded;
}

}  // namespace lexbase
