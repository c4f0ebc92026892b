#include "platform/utf8.h"

#include <unicode/utf8.h>

#include <cstdint>

namespace platform {

bool IsValidUtf8(std::string_view text) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
    const int32_t length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        if (s[i] < 0x80) {  // ASCII runs need no decoding
            ++i;
            continue;
        }
        UChar32 ch;
        U8_NEXT(s, i, length, ch);
        if (ch < 0) return false;
    }
    return true;
}

void DecodeUtf8(std::string_view text, std::u32string* out) {
    out->clear();
    const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
    const int32_t length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        UChar32 ch;
        U8_NEXT(s, i, length, ch);
        out->push_back(ch < 0 ? char32_t{0xFFFD} : static_cast<char32_t>(ch));
    }
}

}  // namespace platform
