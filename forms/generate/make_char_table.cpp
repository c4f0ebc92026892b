// Writes the character table that forms/char_classes.cpp compiles in: the
// classes a selection is shed by, in runs of characters that share them, and
// the simple lower- and upper-case mappings, each from ICU's Unicode data.
#include <unicode/uchar.h>

#include <cstdint>
#include <cstdio>

#include "forms/char_classes.h"

namespace {

unsigned ClassesOf(UChar32 c) {
    unsigned classes = 0;
    if (u_isUWhiteSpace(c) || u_iscntrl(c)) classes |= forms::kBlankChar;
    // Neither a letter, a digit nor a combining mark.
    const auto type = static_cast<UCharCategory>(u_charType(c));
    if (!(u_isalnum(c) || u_getCombiningClass(c) != 0 || type == U_NON_SPACING_MARK ||
          type == U_COMBINING_SPACING_MARK)) {
        classes |= forms::kWrappingChar;
    }
    if (u_isalpha(c)) classes |= forms::kLetterChar;
    if (u_isupper(c)) classes |= forms::kUpperChar;
    return classes;
}

void PrintMapping(const char* name, UChar32 (*map)(UChar32)) {
    std::printf("constexpr CharPair %s[] = {\n", name);
    for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
        const UChar32 mapped = map(c);
        if (mapped != c) {
            std::printf("    {0x%X, 0x%X},\n", static_cast<unsigned>(c),
                        static_cast<unsigned>(mapped));
        }
    }
    std::printf("};\n");
}

}  // namespace

int main() {
    std::printf("// Made by make_char_table from ICU's Unicode data; do not edit.\n");
    std::printf("constexpr CharRun kRuns[] = {\n");
    unsigned previous = ~0u;
    for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
        const unsigned classes = ClassesOf(c);
        if (classes != previous) {
            std::printf("    {0x%X, %u},\n", static_cast<unsigned>(c), classes);
            previous = classes;
        }
    }
    std::printf("};\n");
    PrintMapping("kLower", u_tolower);
    PrintMapping("kUpper", u_toupper);
    return std::ferror(stdout) != 0 ? 1 : 0;
}
