// Writes the table of character folds that platform/char_fold.cpp compiles
// in: for each of the three folds (case, accents, both), every character
// that folds to another one, in ascending order, with what it folds to.
#include <cstdint>
#include <cstdio>

#include "platform/collation.h"
#include "platform/unicode_fold.h"

int main() {
    std::printf("// Made by make_fold_table from ICU's Unicode data; do not edit.\n");
    for (std::uint32_t flags = 1; flags <= 3; ++flags) {
        std::printf("constexpr FoldPair kFolds%u[] = {\n", flags);
        for (char32_t ch = 0x80; ch <= 0x10FFFF; ++ch) {
            const char32_t folded = platform::UnicodeFoldChar(ch, flags);
            if (folded != ch) {
                std::printf("    {0x%X, 0x%X},\n", static_cast<unsigned>(ch),
                            static_cast<unsigned>(folded));
            }
        }
        std::printf("};\n");
    }
    return std::ferror(stdout) != 0 ? 1 : 0;
}
