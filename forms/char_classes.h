// The character classes and simple case mappings that shedding a selection
// and changing a word's case use. They are made from ICU's Unicode data when
// the program is built (forms/generate/make_char_table.cpp), so that they are
// ICU's own and yet need none of its libraries at run time.
#pragma once

namespace forms {

// Bits of CharClasses().
enum : unsigned {
    kBlankChar = 1,     // white space or a control character
    kWrappingChar = 2,  // neither a letter, a digit nor a combining mark
    kLetterChar = 4,    // alphabetic
    kUpperChar = 8,     // an upper-case letter
};

// The classes of code point `c` (any value; beyond U+10FFFF none).
unsigned CharClasses(char32_t c);

// The simple (one character to one) lower- and upper-case mappings.
char32_t LowerChar(char32_t c);
char32_t UpperChar(char32_t c);

}  // namespace forms
