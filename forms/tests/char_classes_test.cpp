// The character table compiled into the analysis is ICU's own, for every
// code point: a table made from another ICU than the one the program runs
// with, or a generator that drifts from the analysis, fails here.
#include "forms/char_classes.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>

namespace forms {
namespace {

TEST(CharClassesTest, AgreeWithIcuForEveryCodePoint) {
    int mismatches = 0;
    for (UChar32 c = 0; c <= 0x10FFFF && mismatches < 10; ++c) {
        const auto ch = static_cast<char32_t>(c);
        const unsigned classes = CharClasses(ch);
        const auto type = static_cast<UCharCategory>(u_charType(c));
        const bool wrapping = !(u_isalnum(c) || u_getCombiningClass(c) != 0 ||
                                type == U_NON_SPACING_MARK || type == U_COMBINING_SPACING_MARK);
        const bool ok = ((classes & kBlankChar) != 0) == (u_isUWhiteSpace(c) || u_iscntrl(c)) &&
                        ((classes & kWrappingChar) != 0) == wrapping &&
                        ((classes & kLetterChar) != 0) == static_cast<bool>(u_isalpha(c)) &&
                        ((classes & kUpperChar) != 0) == static_cast<bool>(u_isupper(c)) &&
                        LowerChar(ch) == static_cast<char32_t>(u_tolower(c)) &&
                        UpperChar(ch) == static_cast<char32_t>(u_toupper(c));
        if (!ok) {
            ++mismatches;
            ADD_FAILURE() << std::hex << "U+" << c << ": classes " << classes;
        }
    }
    EXPECT_EQ(CharClasses(0x110000), 0u);
    EXPECT_EQ(LowerChar(0x110000), char32_t{0x110000});
}

}  // namespace
}  // namespace forms
