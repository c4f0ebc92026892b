// The fold table compiled in against ICU's data it was made from, over every
// code point: a table made from other data would fold some character
// otherwise, and a look-up image's order would no longer match its searches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/char_fold.h"
#include "platform/collation.h"
#include "platform/unicode_fold.h"
#include "platform/utf8.h"

namespace {

using platform::kNormIgnoreCase;
using platform::kNormIgnoreNonSpace;

TEST(FoldTableTest, FoldsEveryCodePointAsIcuDoes) {
    for (std::uint32_t flags = 0; flags <= 3; ++flags) {
        int differences = 0;
        for (char32_t ch = 0; ch <= 0x10FFFF && differences < 5; ++ch) {
            const char32_t expected = platform::UnicodeFoldChar(ch, flags);
            const char32_t got = platform::FoldChar(ch, flags);
            if (got != expected) {
                ++differences;
                ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(ch) << " flags "
                              << flags << ": " << static_cast<std::uint32_t>(got) << " instead of "
                              << static_cast<std::uint32_t>(expected);
            }
        }
    }
    // Other bits of the flags change nothing; values past Unicode stay.
    EXPECT_EQ(platform::FoldChar(U'\u00C9', kNormIgnoreCase | 0x100), U'\u00E9');
    EXPECT_EQ(platform::FoldChar(char32_t{0x110000}, kNormIgnoreCase | kNormIgnoreNonSpace),
              char32_t{0x110000});
}

TEST(FoldTableTest, CompatibilityIdeographsFoldWithTheirVariants) {
    // Past U+20000 too: U+2F800 decomposes to U+4E3D alone.
    EXPECT_EQ(platform::FoldChar(U'\U0002F800', kNormIgnoreNonSpace), U'\u4E3D');
    const auto variants = platform::FoldVariants(U'\u4E3D', kNormIgnoreNonSpace);
    EXPECT_NE(std::find(variants.begin(), variants.end(), U'\U0002F800'), variants.end());
}

TEST(Utf8Test, DecodesAndReplacesMalformedSequences) {
    std::u32string chars;
    platform::DecodeUtf8("a\xC3\xA9\xF0\x9F\x98\x80", &chars);
    EXPECT_EQ(chars, U"a\u00E9\U0001F600");
    // A cut sequence, a lone continuation byte, an overlong form, a surrogate.
    platform::DecodeUtf8(
        "\xC3"
        "b\x80\xC0\xAF\xED\xA0\x80",
        &chars);
    EXPECT_EQ(chars.substr(0, 3), U"\uFFFDb\uFFFD");
    for (char32_t ch : chars.substr(1)) EXPECT_TRUE(ch == U'b' || ch == 0xFFFD);
    EXPECT_TRUE(platform::IsValidUtf8("gr\xC3\xBC\xC3\x9F"));
    EXPECT_FALSE(platform::IsValidUtf8("gr\xC3"));
    EXPECT_FALSE(platform::IsValidUtf8("\xED\xA0\x80"));
}

}  // namespace
