#include "forms/char_classes.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace forms {
namespace {

struct CharRun {
    std::uint32_t first;  // the run's first character; it ends where the next begins
    std::uint8_t classes;
};
struct CharPair {
    std::uint32_t from;
    std::uint32_t to;
};

#include "char_table.inc"

char32_t Mapped(const CharPair* begin, const CharPair* end, char32_t c) {
    const CharPair* it = std::lower_bound(
        begin, end, c, [](const CharPair& p, char32_t key) { return p.from < key; });
    return it != end && it->from == c ? static_cast<char32_t>(it->to) : c;
}

}  // namespace

unsigned CharClasses(char32_t c) {
    if (c > 0x10FFFF) return 0;
    const CharRun* it =
        std::upper_bound(std::begin(kRuns), std::end(kRuns), c,
                         [](char32_t key, const CharRun& run) { return key < run.first; });
    return it == std::begin(kRuns) ? 0 : std::prev(it)->classes;
}

char32_t LowerChar(char32_t c) { return Mapped(std::begin(kLower), std::end(kLower), c); }
char32_t UpperChar(char32_t c) { return Mapped(std::begin(kUpper), std::end(kUpper), c); }

}  // namespace forms
