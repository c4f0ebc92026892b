// Conversion between 8-bit Windows code page text and Unicode.
//
// Single-byte code pages convert through a table of 256 code points built once
// per code page; the East Asian double-byte pages (932, 936, 949, 950) through
// an ICU converter kept per thread; code page 65001 is UTF-8. A byte the code
// page does not define (in UTF-8 a malformed sequence) decodes as U+FFFD; a
// character it cannot hold encodes as '?'.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::uint32_t kUtf8CodePage = 65001;

// True for the double-byte East Asian code pages.
bool IsDoubleByteCodePage(std::uint32_t code_page);

// True where one character may take more than one byte: the double-byte
// pages and UTF-8. Text in these can't be folded or compared byte by byte.
inline bool IsMultiByteCodePage(std::uint32_t code_page) {
    return code_page == kUtf8CodePage || IsDoubleByteCodePage(code_page);
}

// Code point of byte `c` in a single-byte code page; U+FFFD when undefined
// (and for every lead byte of a double-byte page and every byte of UTF-8
// above 127).
char32_t DecodeByte(std::uint32_t code_page, std::uint8_t c);

// The byte that holds `ch` in a single-byte code page, or -1.
int EncodeChar(std::uint32_t code_page, char32_t ch);

std::u16string DecodeToUtf16(std::uint32_t code_page, std::string_view text);
std::string DecodeToUtf8(std::uint32_t code_page, std::string_view text);

// The code points of `text`, written over *out.
void DecodeToCodePoints(std::uint32_t code_page, std::string_view text, std::u32string* out);

// The code point of the character that begins at byte `i` of `text` (which
// must lie inside it), and in *bytes its length in bytes (at least 1): one
// byte in a single-byte page, a lead byte and its trail byte in a double-byte
// page, a whole sequence in UTF-8. A byte sequence the code page does not
// define decodes as U+FFFD.
char32_t DecodeCharAt(std::uint32_t code_page, std::string_view text, std::size_t i,
                      std::size_t* bytes);

// Code points as UTF-8, written over *out; one that is no character (a
// surrogate, or beyond U+10FFFF) becomes U+FFFD.
void EncodeToUtf8(std::u32string_view text, std::string* out);

// Encodes UTF-8 text. Characters the code page lacks become '?' and set
// *lossy when it is given.
std::string EncodeFromUtf8(std::uint32_t code_page, std::string_view utf8, bool* lossy = nullptr);
std::string EncodeFromUtf16(std::uint32_t code_page, std::u16string_view text,
                            bool* lossy = nullptr);

// True when every byte of `text` is below 128.
bool IsAscii(std::string_view text);

// True when `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// True when `text` is well-formed UTF-8 with at least one byte above 127:
// text that is UTF-8 rather than ASCII or some 8-bit code page.
bool LooksLikeUtf8(std::string_view text);

}  // namespace platform
