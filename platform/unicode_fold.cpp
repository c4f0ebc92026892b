#include "platform/unicode_fold.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include "platform/collation.h"

namespace platform {
namespace {

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

}  // namespace

char32_t UnicodeFoldChar(char32_t ch, std::uint32_t flags) {
    if (ch < 0x80) {  // ASCII has no accents, and its case folds to lower case
        return (flags & kNormIgnoreCase) && ch >= U'A' && ch <= U'Z' ? ch + 0x20 : ch;
    }
    if (flags & kNormIgnoreNonSpace) ch = WithoutAccent(ch);
    if (flags & kNormIgnoreCase) {
        ch = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(ch), U_FOLD_CASE_DEFAULT));
    }
    return ch;
}

}  // namespace platform
