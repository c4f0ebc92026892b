#include "platform/locale.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/code_page.h"

namespace platform {
namespace {

TEST(LocaleTest, CodePagesFollowTheLanguage) {
    EXPECT_EQ(CodePageOf(1033), 1252u);  // English
    EXPECT_EQ(CodePageOf(1050), 1250u);  // Croatian
    EXPECT_EQ(CodePageOf(1049), 1251u);  // Russian
    EXPECT_EQ(CodePageOf(3098), 1251u);  // Serbian, Cyrillic
    EXPECT_EQ(CodePageOf(1032), 1253u);  // Greek
    EXPECT_EQ(CodePageOf(1055), 1254u);  // Turkish
    EXPECT_EQ(CodePageOf(1037), 1255u);  // Hebrew
    EXPECT_EQ(CodePageOf(1025), 1256u);  // Arabic
    EXPECT_EQ(CodePageOf(1063), 1257u);  // Lithuanian
    EXPECT_EQ(CodePageOf(1066), 1258u);  // Vietnamese
    EXPECT_EQ(CodePageOf(1054), 874u);   // Thai
    EXPECT_EQ(CodePageOf(1041), 932u);   // Japanese
    EXPECT_EQ(CodePageOf(2052), 936u);   // Chinese, PRC
    EXPECT_EQ(CodePageOf(1042), 949u);   // Korean
    EXPECT_EQ(CodePageOf(1028), 950u);   // Chinese, Taiwan
}

TEST(LocaleTest, UnknownLcidBehavesAsEnglish) {
    EXPECT_EQ(ResolveLcid(0x7777), kLcidEnglishUs);
    EXPECT_EQ(IcuLocaleName(0x7777), "en_US");
    EXPECT_EQ(CodePageOf(0x7777), 1252u);
    EXPECT_EQ(IcuLocaleName(1050), "hr_HR");
}

TEST(LocaleTest, DefaultLcidsResolveToARealLocale) {
    for (const std::uint32_t lcid : {0u, 1024u, 2048u}) {
        const std::uint32_t resolved = ResolveLcid(lcid);
        EXPECT_NE(resolved, 0u);
        EXPECT_NE(resolved, 1024u);
        EXPECT_EQ(ResolveLcid(resolved), resolved);
    }
}

TEST(LocaleTest, InstalledLocalesAreNamedSortedAndUnique) {
    const auto& locales = InstalledLocales();
    ASSERT_GT(locales.size(), 50u);
    bool croatian = false;
    for (std::size_t i = 0; i < locales.size(); ++i) {
        EXPECT_FALSE(locales[i].name.empty());
        if (i > 0) {
            EXPECT_LE(locales[i - 1].name, locales[i].name);
        }
        if (locales[i].lcid == 1050) {
            croatian = true;
            EXPECT_EQ(locales[i].name, "Croatian (Croatia)");
            EXPECT_EQ(locales[i].code_page, 1250u);
        }
    }
    EXPECT_TRUE(croatian);
}

// LCIDs that several ICU locales share are named by their own locale: 1033
// is English (United States), not the first English locale in ICU's list.
TEST(LocaleTest, SharedLcidsAreNamedByTheirOwnLocale) {
    std::map<std::uint32_t, std::string> names;
    for (const LocaleEntry& locale : InstalledLocales()) names[locale.lcid] = locale.name;
    EXPECT_EQ(names[1033], "English (United States)");
    EXPECT_EQ(names[2057], "English (United Kingdom)");
    EXPECT_EQ(names[1031], "German (Germany)");
    EXPECT_EQ(names[1050], "Croatian (Croatia)");
}

TEST(CodePageTest, RoundTripsThroughUnicode) {
    const std::string croatian =
        "\xE8"
        "a\x9A"
        "a";  // čaša in windows-1250
    EXPECT_EQ(DecodeToUtf8(1250, croatian),
              "\xC4\x8D"
              "a\xC5\xA1"
              "a");
    EXPECT_EQ(EncodeFromUtf8(1250, DecodeToUtf8(1250, croatian)), croatian);
    EXPECT_EQ(DecodeToUtf8(1251, "\xE4\xEE\xEC"), "дом");
}

TEST(CodePageTest, MissingCharactersBecomeQuestionMarks) {
    bool lossy = false;
    EXPECT_EQ(EncodeFromUtf8(1252,
                             "a\xD0\xB4"
                             "b",
                             &lossy),
              "a?b");  // Cyrillic д
    EXPECT_TRUE(lossy);
    EXPECT_EQ(EncodeFromUtf8(1252, "ab", &lossy), "ab");
    EXPECT_FALSE(lossy);
}

TEST(CodePageTest, UndefinedBytesDecodeAsReplacement) {
    EXPECT_EQ(DecodeByte(932, 0x82), U'\xFFFD');  // a lead byte alone
    EXPECT_EQ(DecodeByte(1252, 0x80), U'\x20AC');
    EXPECT_EQ(EncodeChar(1252, U'\x20AC'), 0x80);
    EXPECT_EQ(EncodeChar(1252, U'\x0434'), -1);
}

TEST(CodePageTest, DoubleBytePagesConvertWholeCharacters) {
    const std::string utf8 = "\xE6\x97\xA5\xE6\x9C\xAC";  // 日本
    const std::string sjis = EncodeFromUtf8(932, utf8);
    EXPECT_EQ(sjis.size(), 4u);
    EXPECT_EQ(DecodeToUtf8(932, sjis), utf8);
}

TEST(CodePageTest, Utf8Validation) {
    EXPECT_TRUE(IsValidUtf8("plain \xC4\x8D"));
    EXPECT_FALSE(
        IsValidUtf8("\xE8"
                    "a"));
    EXPECT_FALSE(IsValidUtf8("\xC4"));
}

}  // namespace
}  // namespace platform
