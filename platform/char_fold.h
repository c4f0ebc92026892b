// Case and accent folding of whole characters (code points), for text whose
// characters can't be folded one byte at a time: UTF-8 and the double-byte
// code pages. The folds are those of the byte tables, one character to one:
// case folding, the base letter of a character whose canonical decomposition
// is that letter followed by combining (non-spacing) marks, or both.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// kNormIgnoreCase and kNormIgnoreNonSpace of collation.h select the folds; 0
// leaves the character as it is.
char32_t FoldChar(char32_t ch, std::uint32_t flags);

// Folds every character of `text` in place.
void FoldChars(std::u32string* text, std::uint32_t flags);

// Every character that FoldChar(., flags) maps where it maps `ch`, `ch`
// itself included, in ascending order.
std::vector<char32_t> FoldVariants(char32_t ch, std::uint32_t flags);

}  // namespace platform
