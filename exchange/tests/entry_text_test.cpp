#include "exchange/entry_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace exchange {
namespace {

std::vector<std::string> Translations(const std::vector<TranslationPair>& pairs) {
    std::vector<std::string> out;
    for (const auto& p : pairs) out.push_back(p.translation);
    return out;
}

TEST(EntryTextTest, HeadwordLosesPronunciationAndTags) {
    EXPECT_EQ(ParseHeadword("house /hˈaʊs/"), "house");
    EXPECT_EQ(ParseHeadword("eel ladder /ˈiːl lˈadə/ <n>"), "eel ladder");
    EXPECT_EQ(ParseHeadword("Haus <n, neut>"), "Haus");
    EXPECT_EQ(ParseHeadword("and/or /ænd ɔː/"), "and/or");
    EXPECT_EQ(ParseHeadword("3:2 pulldown"), "3:2 pulldown");
    EXPECT_EQ(ParseHeadword("half /way"), "half /way");  // no closing slash: no pronunciation
}

TEST(EntryTextTest, SensesSplitOnCommasOutsideParentheses) {
    EXPECT_EQ(SplitTranslations("dom, doma, domaći posao"),
              (std::vector<std::string>{"dom", "doma", "domaći posao"}));
    EXPECT_EQ(SplitTranslations("3:2 smanjenje (broja slika/s, ili ne), pretvorba"),
              (std::vector<std::string>{"3:2 smanjenje (broja slika/s, ili ne)", "pretvorba"}));
    EXPECT_EQ(SplitTranslations(" [coll.] Aalmolche <pl>, Fischmolche <pl> [zool.]"),
              (std::vector<std::string>{"Aalmolche", "Fischmolche"}));
    EXPECT_EQ(SplitTranslations("2. Heim; Zuhause"), (std::vector<std::string>{"Heim", "Zuhause"}));
    EXPECT_EQ(SplitTranslations("a (unclosed, b"), (std::vector<std::string>{"a (unclosed, b"}));
    EXPECT_EQ(SplitTranslations("0,42, 1,5"), (std::vector<std::string>{"0,42", "1,5"}));
    EXPECT_EQ(SplitTranslations(" , ,"), std::vector<std::string>{});
    EXPECT_EQ(SplitTranslations("<tag only>"), std::vector<std::string>{});
}

TEST(EntryTextTest, EntryKeepsTranslationsAndSkipsNotesExamplesAndReferences) {
    const auto pairs = ParseEntry(
        "eel-smoking business /ˈiːl smˈəʊkɪŋ bˈɪznəs/\n"
        "Aalräucherei <fem>\n"
        "      \"eel-smoking businesses\"  - Aalräuchereien\n"
        "         Note: water engineering\n"
        "   Synonym: {eel smokery}\n"
        "   Synonyms: {a}, {b}\n"
        "\n"
        " see: {eel smokeries}\n");
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].word, "eel-smoking business");
    EXPECT_EQ(pairs[0].translation, "Aalräucherei");
}

TEST(EntryTextTest, NumberedSensesGiveOnePairPerTranslationOnce) {
    const auto pairs = ParseEntry(
        "house /haʊs/ <n>\n"
        "1. Haus, Gebäude\n"
        "2. Haus <n>; Heim\n"
        "10. Dynastie\n");
    EXPECT_EQ(Translations(pairs),
              (std::vector<std::string>{"Haus", "Gebäude", "Heim", "Dynastie"}));
    for (const auto& p : pairs) EXPECT_EQ(p.word, "house");
}

// A long entry finds its repeats as a short one does, and an entry appended
// after another keeps that one's pairs.
TEST(EntryTextTest, RepeatsOfALongEntryAreKeptOnce) {
    std::string entry = "word\n";
    std::vector<std::string> expected;
    for (int i = 0; i < 100; ++i) {
        // Line i repeats the translation of line i / 2.
        entry += "t" + std::to_string(i) + ", t" + std::to_string(i / 2) + "\n";
        expected.push_back("t" + std::to_string(i));
    }
    std::vector<TranslationPair> pairs = {{"other", "t1"}};
    AppendEntryPairs(entry, &pairs);
    ASSERT_FALSE(pairs.empty());
    EXPECT_EQ(pairs[0].word, "other");
    pairs.erase(pairs.begin());
    EXPECT_EQ(Translations(pairs), expected);
}

TEST(EntryTextTest, GrammaticalLabelLinesAreNoTranslations) {
    // The part of speech of a Japanese entry stands on a line of its own.
    const auto pairs = ParseEntry(
        "ヽ /(en)dʒˈapəniːz/, くりかえし /kˌɯᵝɽikäˈe̞ɕi/\n"
        "(noun (common) (futsuumeishi))\n"
        "1. (Ichidan verb)\n"
        "repetition mark in katakana\n"
        "(to) repeat, (mark) sign\n");
    EXPECT_EQ(Translations(pairs), (std::vector<std::string>{"repetition mark in katakana",
                                                             "(to) repeat", "(mark) sign"}));
}

TEST(EntryTextTest, DegenerateEntriesGiveNoPairs) {
    EXPECT_TRUE(ParseEntry("").empty());
    EXPECT_TRUE(ParseEntry("\n\n").empty());
    EXPECT_TRUE(ParseEntry("word /wɜːd/\n").empty());
    EXPECT_TRUE(ParseEntry("<tag> /x/\ntranslation\n").empty());  // no headword left
}

// The text written for a word's translations reads back as they are: on one
// line where that works, one a line where a translation would swallow the
// next, and said when no layout reads back.
TEST(EntryTextTest, SenseTextReadsBackAsItsTranslations) {
    const struct {
        std::vector<std::string> translations;
        std::string text;
        bool exact;
    } cases[] = {
        {{"dom", "kuća"}, "dom, kuća", true},
        {{"(to) repeat", "3:2 smanjenje (broja slika/s, ili ne)"},
         "(to) repeat, 3:2 smanjenje (broja slika/s, ili ne)",
         true},
        {{"0,42", "1,5"}, "0,42, 1,5", true},
        {{"a (unclosed", "b"}, "a (unclosed\nb", true},
        {{"digital signal, level 2"}, "digital signal, level 2", false},
        {{"two\nlines"}, "two lines", false},
        {{"Note: a note"}, "Note: a note", false},
        {{"same", "same"}, "same, same", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        bool exact = !c.exact;
        EXPECT_EQ(SenseText(c.translations, &exact), c.text);
        EXPECT_EQ(exact, c.exact);
        if (!c.exact) continue;
        std::vector<TranslationPair> pairs;
        AppendSensePairs("w", c.text, &pairs);
        EXPECT_EQ(Translations(pairs), c.translations);
    }
}

}  // namespace
}  // namespace exchange
