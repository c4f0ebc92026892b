#include "exchange/pair_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace exchange {
namespace {

TEST(PairEncodingTest, DropsPairsACodePageOrTheFormatCannotHold) {
    const std::vector<TranslationPair> pairs = {
        {"cat", "mačka"}, {"theta", "θ"}, {"tab", "a\tb"}, {"", "x"}, {"čaj", "tea"}};
    EncodedPairs e = EncodePairs(pairs, 1252, 1250, false);
    EXPECT_EQ(e.kept, 1u);
    EXPECT_EQ(e.dropped, 4u);  // "čaj" is not in code page 1252 either
    EXPECT_EQ(e.Txt(), "cat\tma\xe8ka\r\n");
    EXPECT_EQ(e.Reasons(),
              "1 with an empty word, 1 with a TAB, line break or NUL in a word, "
              "2 with a character the code page lacks");
    // In UTF-8 only the format's own limits drop a pair; bad bytes are mended.
    e = EncodePairs(pairs, 65001, 65001, false);
    EXPECT_EQ(e.kept, 3u);
    EXPECT_EQ(e.Reasons(), "1 with an empty word, 1 with a TAB, line break or NUL in a word");
    std::vector<TranslationPair> crowded(65537, {"word", ""});
    for (std::size_t i = 0; i < crowded.size(); ++i) crowded[i].translation = std::to_string(i);
    crowded.push_back({"other", "1"});
    e = EncodePairs(crowded, 65001, 65001, false);
    EXPECT_EQ(e.kept, 65536u);
    EXPECT_EQ(e.Reasons(), "2 beyond the 65535 translations a word can have");
    // The same on the secondary side, where the first of the crowded pairs
    // still names a new primary text.
    for (auto& pair : crowded) std::swap(pair.word, pair.translation);
    e = EncodePairs(crowded, 65001, 65001, false);
    EXPECT_EQ(e.kept, 65536u);
    EXPECT_EQ(e.crowded, 2u);
    EXPECT_STREQ(e.texts[2 * 65535], "1");  // the pair ("1", "other") is kept
    const std::vector<TranslationPair> long_and_bad = {{std::string(65536, 'a'), "x"},
                                                       {"a\xC4", "b"}};
    e = EncodePairs(long_and_bad, 65001, 65001, false);
    EXPECT_EQ(e.too_long, 1u);
    EXPECT_EQ(e.Txt(), "a\xEF\xBF\xBD\tb\r\n");
    const std::vector<TranslationPair> one = {{"cat", "mačka"}};
    e = EncodePairs(one, 1250, 1252, true);  // swapped: mačka goes first
    EXPECT_EQ(e.kept, 1u);
    EXPECT_EQ(e.Txt(), "ma\xe8ka\tcat\r\n");
}

// The pairs are encoded in two halves at once: the result keeps their order,
// and the short copies that either half made stay where its texts point.
TEST(PairEncodingTest, BothHalvesKeepTheirOrderAndTheirCopies) {
    const std::vector<TranslationPair> pairs = {{"a", "mačka"}, {"b", "θ"}, {"c", "čaj"},
                                                {"d", "žaba"},  {"", "x"},  {"e", "šal"}};
    const EncodedPairs e = EncodePairs(pairs, 1250, 1250, false);
    EXPECT_EQ(e.kept, 4u);
    EXPECT_EQ(e.Reasons(), "1 with an empty word, 1 with a character the code page lacks");
    EXPECT_EQ(e.Txt(),
              "a\tma\xe8ka\r\nc\t\xe8"
              "aj\r\nd\t\x9e"
              "aba\r\ne\t\x9a"
              "al\r\n");
}

TEST(PairEncodingTest, LanguagesAndCharsets) {
    EXPECT_EQ(LanguageOfCode("hrv").lcid, 1050u);
    EXPECT_STREQ(LanguageOfCode("deu").name, "German");
    // ISO 639-1, the bibliographic 639-2 and 639-3 codes alike.
    EXPECT_EQ(LanguageOfCode("de").lcid, 1031u);
    EXPECT_EQ(LanguageOfCode("ger").lcid, 1031u);
    EXPECT_EQ(LanguageOfCode("mkd").lcid, 1071u);
    EXPECT_STREQ(LanguageOfCode("mkd").name, "Macedonian");
    EXPECT_EQ(LanguageOfCode("hin").lcid, 1081u);
    EXPECT_EQ(LanguageOfCode("bre").lcid, 1150u);
    EXPECT_EQ(LanguageOfCode("zho").lcid, 2052u);
    // FreeDict's Serbian is Cyrillic.
    EXPECT_EQ(LanguageOfCode("srp").lcid, 3098u);
    // No LCID: a list of its own in UTF-8, never English.
    EXPECT_EQ(LanguageOfCode("epo").lcid, 0x1000u);
    EXPECT_STREQ(LanguageOfCode("epo").name, "Esperanto");
    EXPECT_EQ(LanguageOfCode("kha").lcid, 0x1000u);
    EXPECT_EQ(LanguageOfCode("xyz").lcid, 0x1000u);
    EXPECT_STREQ(LanguageOfCode("xyz").name, "xyz");
    EXPECT_EQ(CharsetOfCodePage(1250), 238u);
    EXPECT_EQ(CharsetOfCodePage(1252), 0u);
    EXPECT_EQ(CharsetOfCodePage(1251), 204u);
}

}  // namespace
}  // namespace exchange
