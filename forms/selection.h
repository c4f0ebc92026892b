// What a word taken from running text drags along, and how it is shed:
// surrounding blanks, punctuation and quotes, soft hyphens, a hyphen that
// breaks the word across a line ("hou-\nses"), control characters, and a
// possessive ending ('s, ’s, s'). Text that is not valid UTF-8 has its broken
// bytes replaced, so that it finds nothing instead of something wrong.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace forms {

// A selection longer than this many characters, once trimmed, is no word:
// it is looked up as it stands and not analysed.
inline constexpr std::size_t kMaxWordChars = 64;

struct ShedWord {
    std::string trimmed;  // blanks, controls, soft and line-break hyphens gone
    std::string bare;     // and the punctuation and quotes around it
    std::string base;     // and a possessive ending; == bare when it had none
};

// Sheds what `selection` (UTF-8, possibly broken) drags along. Every field
// is empty when nothing of a word is left.
ShedWord Shed(std::string_view selection);

// `text` (UTF-8) in lower case, character by character.
std::string LowerCase(std::string_view text);
// `text` with its first character in upper case.
std::string Capitalized(std::string_view text);
// True when the first character of `text` is an upper-case letter.
bool StartsUpper(std::string_view text);

// The number of characters (code points) of valid UTF-8 `text`.
std::size_t CharCount(std::string_view text);

}  // namespace forms
