// Comparison, sort keys and byte mappings of 8-bit text by the rules of a
// locale, the services the engine asks of the system: CompareStringA,
// LCMapStringA and IsCharAlphaA / IsCharAlphaNumericA.
//
// Collators are built once per (locale, flags) and shared; they are only used
// through ICU's const calls, so any thread may compare at any time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Comparison and mapping flags, with the values of the Windows interface.
inline constexpr std::uint32_t kNormIgnoreCase = 0x1;
inline constexpr std::uint32_t kNormIgnoreNonSpace = 0x2;
inline constexpr std::uint32_t kLcmapLowercase = 0x100;
inline constexpr std::uint32_t kLcmapUppercase = 0x200;
inline constexpr std::uint32_t kLcmapSortKey = 0x400;

// Compares two texts in the code page of `lcid` by its collation: tertiary
// strength, case ignored with kNormIgnoreCase, accents with
// kNormIgnoreNonSpace. Returns <0, 0 or >0.
int CompareText(std::uint32_t lcid, std::uint32_t flags, std::string_view a, std::string_view b);

// Appends the sort key of `text` (in the code page of `lcid`) to *key, without
// its terminating zero. Keys compare byte by byte in collation order.
void AppendSortKey(std::uint32_t lcid, std::string_view text, std::string* key);

// The same two for text in `code_page` (UTF-8 lists keep their locale's
// collation but not its code page).
int CompareTextIn(std::uint32_t code_page, std::uint32_t lcid, std::uint32_t flags,
                  std::string_view a, std::string_view b);
void AppendSortKeyIn(std::uint32_t code_page, std::uint32_t lcid, std::string_view text,
                     std::string* key);

// Maps one byte with kLcmapUppercase, kLcmapLowercase or kNormIgnoreNonSpace
// (accents dropped). Writes the mapped byte and returns true; returns false,
// leaving *out alone, when the byte is undefined or the result is not one byte.
bool MapByte(std::uint32_t lcid, std::uint32_t flags, std::uint8_t c, std::uint8_t* out);

// Whether byte `c` is a letter, or a letter or digit, in `code_page`.
bool IsCharAlpha(std::uint32_t code_page, std::uint8_t c);
bool IsCharAlphaNumeric(std::uint32_t code_page, std::uint8_t c);

}  // namespace platform
