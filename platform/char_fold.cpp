#include "platform/char_fold.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <unordered_map>

#include "platform/collation.h"

namespace platform {
namespace {

constexpr std::uint32_t kFoldFlags = kNormIgnoreCase | kNormIgnoreNonSpace;

char32_t WithoutAccent(char32_t ch) {
    if (ch < 0xC0) return ch;  // nothing below decomposes
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    UChar parts[32];
    const int32_t n = U_SUCCESS(status) ? unorm2_getDecomposition(nfd, static_cast<UChar32>(ch),
                                                                  parts, 32, &status)
                                        : -1;
    if (U_FAILURE(status) || n <= 0) return ch;
    int32_t i = 0;
    UChar32 base;
    U16_NEXT(parts, i, n, base);
    while (i < n) {
        UChar32 mark;
        U16_NEXT(parts, i, n, mark);
        if (u_charType(mark) != U_NON_SPACING_MARK) return ch;
    }
    return static_cast<char32_t>(base);
}

// Characters grouped by what they fold to, for each of the three folds: the
// characters that fold to something else than themselves, keyed by that.
class FoldClasses {
public:
    FoldClasses() {
        // Case and decomposition data end well below U+20000.
        for (char32_t ch = 0; ch < 0x20000; ++ch) {
            if (ch >= 0xD800 && ch <= 0xDFFF) continue;
            for (std::uint32_t flags = 1; flags <= kFoldFlags; ++flags) {
                const char32_t folded = FoldChar(ch, flags);
                if (folded != ch) classes_[flags - 1][folded].push_back(ch);
            }
        }
    }

    std::vector<char32_t> Of(char32_t folded, std::uint32_t flags) const {
        std::vector<char32_t> all{folded};
        const auto& map = classes_[flags - 1];
        if (const auto it = map.find(folded); it != map.end()) {
            all.insert(all.end(), it->second.begin(), it->second.end());
        }
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }

private:
    std::unordered_map<char32_t, std::vector<char32_t>> classes_[kFoldFlags];
};

}  // namespace

char32_t FoldChar(char32_t ch, std::uint32_t flags) {
    if (ch < 0x80) {  // most text: no accents, and ASCII case folds to lower case
        return (flags & kNormIgnoreCase) && ch >= U'A' && ch <= U'Z' ? ch + 0x20 : ch;
    }
    if (flags & kNormIgnoreNonSpace) ch = WithoutAccent(ch);
    if (flags & kNormIgnoreCase) {
        ch = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(ch), U_FOLD_CASE_DEFAULT));
    }
    return ch;
}

void FoldChars(std::u32string* text, std::uint32_t flags) {
    flags &= kFoldFlags;
    if (flags == 0) return;
    for (char32_t& ch : *text) ch = FoldChar(ch, flags);
}

std::vector<char32_t> FoldVariants(char32_t ch, std::uint32_t flags) {
    flags &= kFoldFlags;
    if (flags == 0) return {ch};
    static const FoldClasses classes;  // built once, on first use
    return classes.Of(FoldChar(ch, flags), flags);
}

}  // namespace platform
