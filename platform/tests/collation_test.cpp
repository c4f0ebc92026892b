#include "platform/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace platform {
namespace {

std::uint8_t Mapped(std::uint32_t lcid, std::uint32_t flags, std::uint8_t c) {
    std::uint8_t out = c;
    MapByte(lcid, flags, c, &out);
    return out;
}

TEST(CollationTest, LettersWeighMoreThanCaseAndAccents) {
    EXPECT_LT(CompareText(1033, 0, "apple", "Apple"), 0);
    EXPECT_LT(CompareText(1033, 0, "Apple", "\xE4pple"), 0);  // äpple after Apple
    EXPECT_LT(CompareText(1033, 0, "\xE4pple", "apply"), 0);  // ...but before apply
    EXPECT_EQ(CompareText(1033, 0, "same", "same"), 0);
}

TEST(CollationTest, FlagsIgnoreCaseOrAccents) {
    EXPECT_EQ(CompareText(1033, kNormIgnoreCase, "Apple", "apple"), 0);
    EXPECT_NE(CompareText(1033, kNormIgnoreCase, "apple", "\xE4pple"), 0);
    EXPECT_EQ(CompareText(1033, kNormIgnoreNonSpace, "apple", "\xE4pple"), 0);
    EXPECT_NE(CompareText(1033, kNormIgnoreNonSpace, "apple", "Apple"), 0);
    EXPECT_EQ(CompareText(1033, kNormIgnoreCase | kNormIgnoreNonSpace, "APPLE", "\xE4pple"), 0);
}

TEST(CollationTest, CroatianOrdersItsOwnLetters) {
    // č (0xE8 in windows-1250) follows c and precedes d in Croatian.
    EXPECT_LT(CompareText(1050, 0, "cz",
                          "\xE8"
                          "a"),
              0);
    EXPECT_LT(CompareText(1050, 0,
                          "\xE8"
                          "z",
                          "da"),
              0);
}

TEST(CollationTest, SortKeysOrderAsTheComparison) {
    std::vector<std::string> words = {"pear", "Apple", "apple", "\xE4pple", "apply", "b", "ab"};
    std::vector<std::string> by_compare = words;
    std::sort(by_compare.begin(), by_compare.end(),
              [](const auto& a, const auto& b) { return CompareText(1033, 0, a, b) < 0; });
    std::vector<std::pair<std::string, std::string>> keyed;
    for (const auto& w : words) {
        std::string key;
        AppendSortKey(1033, w, &key);
        EXPECT_EQ(key.find('\0'), std::string::npos);
        keyed.emplace_back(key, w);
    }
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 0; i < words.size(); ++i) EXPECT_EQ(keyed[i].second, by_compare[i]);
}

TEST(CollationTest, ByteMappingsOfWesternAndCentralEurope) {
    EXPECT_EQ(Mapped(1033, kLcmapUppercase, 0xE4), 0xC4);
    EXPECT_EQ(Mapped(1033, kLcmapLowercase, 0xC4), 0xE4);
    EXPECT_EQ(Mapped(1033, kNormIgnoreNonSpace, 0xE4), 'a');
    EXPECT_EQ(Mapped(1050, kLcmapUppercase, 0xE8), 0xC8);
    EXPECT_EQ(Mapped(1050, kNormIgnoreNonSpace, 0xE8), 'c');
    EXPECT_EQ(Mapped(1049, kLcmapUppercase, 0xE4), 0xC4);  // д -> Д in windows-1251
}

TEST(CollationTest, UnmappableBytesAreRefused) {
    std::uint8_t out = 7;
    EXPECT_FALSE(MapByte(1041, kLcmapUppercase, 0x82, &out));  // a lead byte alone
    EXPECT_FALSE(MapByte(1033, kLcmapUppercase, 0xDF, &out));  // ß -> "SS", two characters
    EXPECT_EQ(out, 7);
    EXPECT_TRUE(MapByte(1033, kLcmapUppercase, '1', &out));
    EXPECT_EQ(out, '1');
}

TEST(CollationTest, LettersAndDigitsByCodePage) {
    EXPECT_TRUE(IsCharAlpha(1250, 0xE8));
    EXPECT_FALSE(IsCharAlpha(1250, '7'));
    EXPECT_TRUE(IsCharAlphaNumeric(1250, '7'));
    EXPECT_FALSE(IsCharAlphaNumeric(1252, '-'));
    EXPECT_TRUE(IsCharAlpha(1251, 0xE4));
    EXPECT_FALSE(IsCharAlpha(1252, 0x81));
}

}  // namespace
}  // namespace platform
