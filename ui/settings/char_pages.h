// The characters the character map offers for a UTF-8 list: the letters of
// the list's language (its exemplar characters, both cases) and every Unicode
// block, each cut into pages of a fixed number of characters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace charmap {

struct UnicodeBlock {
    std::string name;  // "Latin Extended-A"
    char32_t first;
    char32_t last;
};

// The blocks in code point order, without the surrogates and private use
// areas (nothing there can be typed into a search).
const std::vector<UnicodeBlock>& unicodeBlocks();

// The characters of `block` that can be shown and typed: assigned, neither
// controls nor format characters.
std::vector<char32_t> blockChars(const UnicodeBlock& block);

// The letters of the language of `lcid`, lower and upper case, in code point
// order; empty when ICU knows none for it.
std::vector<char32_t> languageLetters(std::uint32_t lcid);

}  // namespace charmap
