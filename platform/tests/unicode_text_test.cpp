// UTF-8 as a code page, whole-character folding, and the choice of a list's
// encoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/char_fold.h"
#include "platform/code_page.h"
#include "platform/collation.h"
#include "platform/locale.h"

namespace platform {
namespace {

constexpr std::uint32_t kHindi = 0x0439;
constexpr std::uint32_t kJapanese = 0x0411;
constexpr std::uint32_t kCroatian = 0x041A;
constexpr std::uint32_t kSerbianCyrillic = 0x0C1A;

const std::string kKuca =
    "ku\xC4\x87"
    "a";                                               // kuća
const std::string kGhar = "\xE0\xA4\x98\xE0\xA4\xB0";  // घर

TEST(Utf8CodePageTest, ConvertsBothWaysUnchanged) {
    EXPECT_EQ(DecodeToUtf8(kUtf8CodePage, kKuca), kKuca);
    EXPECT_EQ(DecodeToUtf16(kUtf8CodePage, kGhar), u"\u0918\u0930");
    bool lossy = true;
    EXPECT_EQ(EncodeFromUtf8(kUtf8CodePage, kGhar, &lossy), kGhar);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(EncodeFromUtf16(kUtf8CodePage, u"\U0001F600x", &lossy), "\xF0\x9F\x98\x80x");
    EXPECT_FALSE(lossy);
    std::u32string points;
    DecodeToCodePoints(kUtf8CodePage, kKuca, &points);
    EXPECT_EQ(points, U"ku\u0107a");
    std::string back;
    EncodeToUtf8(points + U"\U0001F600", &back);
    EXPECT_EQ(back, kKuca + "\xF0\x9F\x98\x80");
    EncodeToUtf8(std::u32string{U'a', char32_t{0xD800}, char32_t{0x110000}}, &back);
    EXPECT_EQ(back, "a\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Utf8CodePageTest, MalformedInputIsReplacedAndReported) {
    bool lossy = false;
    EXPECT_EQ(EncodeFromUtf8(kUtf8CodePage, "a\xC4", &lossy), "a\xEF\xBF\xBD");
    EXPECT_TRUE(lossy);
    EXPECT_EQ(EncodeFromUtf16(kUtf8CodePage, std::u16string(1, u'\xD800'), &lossy), "?");
    EXPECT_TRUE(lossy);
    std::u32string points;
    DecodeToCodePoints(kUtf8CodePage,
                       "\xFF"
                       "b",
                       &points);
    EXPECT_EQ(points, U"\uFFFDb");
    // Alone, a byte above 127 is no character, and no character above 127 is a byte.
    EXPECT_EQ(DecodeByte(kUtf8CodePage, 'q'), U'q');
    EXPECT_EQ(DecodeByte(kUtf8CodePage, 0xC4), U'\uFFFD');
    EXPECT_EQ(EncodeChar(kUtf8CodePage, U'\u0107'), -1);
}

TEST(Utf8CodePageTest, TellsUtf8FromAsciiAndCodePages) {
    EXPECT_TRUE(LooksLikeUtf8(kKuca));
    EXPECT_FALSE(LooksLikeUtf8("house"));  // ASCII fits every page
    EXPECT_FALSE(
        LooksLikeUtf8("ku\xE6"
                      "a"));                  // kuća in windows-1250
    EXPECT_FALSE(LooksLikeUtf8("\xE0\xA4"));  // cut short
    EXPECT_TRUE(IsMultiByteCodePage(kUtf8CodePage));
    EXPECT_TRUE(IsMultiByteCodePage(932));
    EXPECT_FALSE(IsMultiByteCodePage(1250));
}

TEST(CharFoldTest, FoldsCaseAndAccentsOfWholeCharacters) {
    EXPECT_EQ(FoldChar(U'\u0109', kNormIgnoreNonSpace), U'c');  // ĉ
    EXPECT_EQ(FoldChar(U'\u0108', kNormIgnoreNonSpace), U'C');  // Ĉ keeps its case
    EXPECT_EQ(FoldChar(U'\u0108', kNormIgnoreCase), U'\u0109');
    EXPECT_EQ(FoldChar(U'\u0108', kNormIgnoreCase | kNormIgnoreNonSpace), U'c');
    EXPECT_EQ(FoldChar(U'\u0416', kNormIgnoreCase), U'\u0436');  // Ж ж
    EXPECT_EQ(FoldChar(U'\u0918', kNormIgnoreCase | kNormIgnoreNonSpace), U'\u0918');
    EXPECT_EQ(FoldChar(U'\u0107', 0), U'\u0107');
    // ǅ decomposes into two letters, not a letter and a mark: it stays.
    EXPECT_EQ(FoldChar(U'\u01C5', kNormIgnoreNonSpace), U'\u01C5');
    std::u32string text = U"\u0108EVALO";
    FoldChars(&text, kNormIgnoreCase | kNormIgnoreNonSpace);
    EXPECT_EQ(text, U"cevalo");
}

TEST(CharFoldTest, VariantsAreEveryCharacterOfTheSameFold) {
    const auto has = [](const std::vector<char32_t>& v, char32_t c) {
        return std::find(v.begin(), v.end(), c) != v.end();
    };
    const auto by_case = FoldVariants(U'k', kNormIgnoreCase);
    EXPECT_TRUE(has(by_case, U'k') && has(by_case, U'K') && has(by_case, U'\u212A'));  // Kelvin
    EXPECT_FALSE(has(by_case, U'\u0137'));
    const auto by_accent = FoldVariants(U'c', kNormIgnoreNonSpace);
    EXPECT_TRUE(has(by_accent, U'c') && has(by_accent, U'\u0109') && has(by_accent, U'\u00E7'));
    EXPECT_FALSE(has(by_accent, U'C'));
    const auto both = FoldVariants(U'\u0109', kNormIgnoreCase | kNormIgnoreNonSpace);
    EXPECT_TRUE(has(both, U'c') && has(both, U'C') && has(both, U'\u0108') && has(both, U'\u010C'));
    EXPECT_TRUE(std::is_sorted(both.begin(), both.end()));
    EXPECT_EQ(FoldVariants(U'\u0918', kNormIgnoreCase), std::vector<char32_t>{U'\u0918'});
    // Beyond the first plane: Deseret and Adlam have case, a Kaithi letter
    // decomposes into another and a nukta.
    EXPECT_EQ(FoldVariants(U'\U00010428', kNormIgnoreCase),
              (std::vector<char32_t>{U'\U00010400', U'\U00010428'}));
    EXPECT_EQ(FoldVariants(U'\U0001E900', kNormIgnoreCase),
              (std::vector<char32_t>{U'\U0001E900', U'\U0001E922'}));
    EXPECT_TRUE(has(FoldVariants(U'\U00011099', kNormIgnoreNonSpace), U'\U0001109A'));
}

TEST(ListEncodingTest, LanguagesWithoutAnEightBitPageGetUtf8) {
    EXPECT_FALSE(HasAnsiCodePage(kHindi));
    EXPECT_FALSE(HasAnsiCodePage(kLcidCustomUnspecified));
    EXPECT_TRUE(HasAnsiCodePage(kCroatian));
    EXPECT_EQ(CharsetForNewList(kHindi, 1), kUtf8Charset);
    EXPECT_EQ(CharsetForNewList(kJapanese, 128), kUtf8Charset);
    EXPECT_EQ(CharsetForNewList(kCroatian, 238), 238u);
    EXPECT_EQ(CharsetForNewList(kCroatian, kUtf8Charset), kUtf8Charset);
    EXPECT_EQ(ListCodePage(kCroatian, 238), 1250u);
    EXPECT_EQ(ListCodePage(kCroatian, kUtf8Charset), kUtf8CodePage);
    EXPECT_EQ(ListCodePage(kSerbianCyrillic, 204), 1251u);
    // A list of such a language written before keeps its 8-bit page.
    EXPECT_EQ(ListCodePage(kHindi, 1), 1252u);
}

TEST(ListEncodingTest, Utf8TextCollatesAsItsLocale) {
    // č between c and d in Croatian, whatever the encoding.
    const std::string cz = "cz",
                      ca = "\xC4\x8D"
                           "a",
                      da = "da";
    EXPECT_LT(CompareTextIn(kUtf8CodePage, kCroatian, 0, cz, ca), 0);
    EXPECT_LT(CompareTextIn(kUtf8CodePage, kCroatian, 0, ca, da), 0);
    EXPECT_EQ(CompareTextIn(kUtf8CodePage, kCroatian, 0, ca,
                            "\xE8"
                            "a"),
              CompareTextIn(kUtf8CodePage, kCroatian, 0, ca,
                            "\xEF\xBF\xBD"
                            "a"));
    std::string k1, k2;
    AppendSortKeyIn(kUtf8CodePage, kCroatian, ca, &k1);
    AppendSortKeyIn(1250, kCroatian,
                    "\xE8"
                    "a",
                    &k2);
    EXPECT_EQ(k1, k2);
}

}  // namespace
}  // namespace platform
