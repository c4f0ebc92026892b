#include "tools/freedict_reader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "testing/test_support.h"
#include "tools/tests/dictd_number.h"

namespace cli {
namespace {

std::vector<std::string> Translations(const std::vector<TranslationPair>& pairs) {
    std::vector<std::string> out;
    for (const auto& p : pairs) out.push_back(p.translation);
    return out;
}

TEST(FreedictReaderTest, DecodesDictdNumbers) {
    std::uint64_t v = 0;
    EXPECT_TRUE(DecodeDictdNumber("B7", &v));
    EXPECT_EQ(v, 1u * 64 + 59);
    EXPECT_TRUE(DecodeDictdNumber("A", &v));
    EXPECT_EQ(v, 0u);
    EXPECT_TRUE(DecodeDictdNumber("+/", &v));
    EXPECT_EQ(v, 62u * 64 + 63);
    EXPECT_FALSE(DecodeDictdNumber("", &v));
    EXPECT_FALSE(DecodeDictdNumber("B-", &v));
    EXPECT_FALSE(DecodeDictdNumber("////////////", &v));  // beyond 2^48
}

TEST(FreedictReaderTest, IndexSkipsDatabaseEntriesAndBrokenLines) {
    const auto entries = ParseIndex(
        "00databaseinfo\tc\tiM\n"
        "00-database-url\tB\tC\n"
        "house\tHUfW\tB7\n"
        "no tabs here\n"
        "bad\t!!\tB\n"
        "dog\tB\tC\toriginal\r\n"
        "last\tC\tD");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].headword, "house");
    EXPECT_EQ(entries[0].length, 123u);
    EXPECT_EQ(entries[1].headword, "dog");
    EXPECT_EQ(entries[1].offset, 1u);
    EXPECT_EQ(entries[1].length, 2u);
    EXPECT_EQ(entries[2].headword, "last");
}

TEST(FreedictReaderTest, HeadwordLosesPronunciationAndTags) {
    EXPECT_EQ(ParseHeadword("house /hˈaʊs/"), "house");
    EXPECT_EQ(ParseHeadword("eel ladder /ˈiːl lˈadə/ <n>"), "eel ladder");
    EXPECT_EQ(ParseHeadword("Haus <n, neut>"), "Haus");
    EXPECT_EQ(ParseHeadword("and/or /ænd ɔː/"), "and/or");
    EXPECT_EQ(ParseHeadword("3:2 pulldown"), "3:2 pulldown");
    EXPECT_EQ(ParseHeadword("half /way"), "half /way");  // no closing slash: no pronunciation
}

TEST(FreedictReaderTest, SensesSplitOnCommasOutsideParentheses) {
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

TEST(FreedictReaderTest, EntryKeepsTranslationsAndSkipsNotesExamplesAndReferences) {
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

TEST(FreedictReaderTest, NumberedSensesGiveOnePairPerTranslationOnce) {
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
TEST(FreedictReaderTest, RepeatsOfALongEntryAreKeptOnce) {
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

TEST(FreedictReaderTest, GrammaticalLabelLinesAreNoTranslations) {
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

TEST(FreedictReaderTest, DegenerateEntriesGiveNoPairs) {
    EXPECT_TRUE(ParseEntry("").empty());
    EXPECT_TRUE(ParseEntry("\n\n").empty());
    EXPECT_TRUE(ParseEntry("word /wɜːd/\n").empty());
    EXPECT_TRUE(ParseEntry("<tag> /x/\ntranslation\n").empty());  // no headword left
}

TEST(FreedictReaderTest, LanguageCodesComeFromTheName) {
    std::string from, to;
    EXPECT_TRUE(LanguageCodes("/usr/share/dictd/freedict-eng-hrv", &from, &to));
    EXPECT_EQ(from, "eng");
    EXPECT_EQ(to, "hrv");
    EXPECT_TRUE(LanguageCodes("deu-eng", &from, &to));
    EXPECT_EQ(from, "deu");
    EXPECT_FALSE(LanguageCodes("/x/freedict-eng", &from, &to));
    EXPECT_FALSE(LanguageCodes("a-b-c", &from, &to));
}

}  // namespace
using DictdReadTest = test_support::ScratchDirTest;

// epo-eng holds "ĉevalo" three times, word for word, at three offsets; its
// pairs have an even and an odd length.
TEST_F(DictdReadTest, AnEntryRepeatedElsewhereGivesItsPairsOnce) {
    const std::string entry = "ĉevalo /tʃevˈalo/\nhorse, steeds\n";
    const std::string other = "hundo\ndog\n";
    const std::string dict = entry + other + entry + entry;
    const auto n = DictdNumber;
    const std::string e = n(entry.size());
    test_support::WriteFile(Path("freedict-epo-eng.dict"), dict);
    test_support::WriteFile(Path("freedict-epo-eng.index"),
                            "hundo\t" + n(entry.size()) + "\t" + n(other.size()) + "\n" +
                                "ĉevalo\tA\t" + e + "\n" + "ĉevalo\t" +
                                n(entry.size() + other.size()) + "\t" + e + "\n" + "ĉevalo\t" +
                                n(2 * entry.size() + other.size()) + "\t" + e + "\n");
    std::vector<TranslationPair> pairs;
    std::string error;
    std::size_t repeated = 0;
    ASSERT_TRUE(ReadDictd(Path("freedict-epo-eng"), &pairs, &error, &repeated)) << error;
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[0].word + "=" + pairs[0].translation, "ĉevalo=horse");
    EXPECT_EQ(pairs[1].word + "=" + pairs[1].translation, "ĉevalo=steeds");
    EXPECT_EQ(pairs[2].word + "=" + pairs[2].translation, "hundo=dog");
    EXPECT_EQ(repeated, 4u);
}

// The text comes the same from a plain .dict, a .dict.dz of one gzip member
// (as dictzip writes it) and one of two members; a damaged one says why.
TEST_F(DictdReadTest, EveryFormOfTheTextGivesTheSamePairs) {
    const std::string dict = "hundo\ndog\nkato\ncat, puss\n";
    test_support::WriteFile(Path("freedict-epo-eng.index"), "hundo\tA\tK\nkato\tK\tP\n");
    const auto gzip = [](const std::string& text) {
        z_stream z{};
        EXPECT_EQ(deflateInit2(&z, 6, Z_DEFLATED, 16 + 15, 8, Z_DEFAULT_STRATEGY), Z_OK);
        std::string out(text.size() + 64, '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
        z.avail_in = static_cast<uInt>(text.size());
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
        out.resize(z.total_out);
        deflateEnd(&z);
        return out;
    };
    const std::string one = gzip(dict);
    std::string damaged = one;
    damaged[damaged.size() / 2] ^= 0x55;
    const struct {
        const char* name;
        std::string bytes;
    } forms[] = {{"freedict-epo-eng.dict", dict},
                 {"freedict-epo-eng.dict.dz", one},
                 {"freedict-epo-eng.dict.dz", gzip(dict.substr(0, 10)) + gzip(dict.substr(10))}};
    for (const auto& form : forms) {
        SCOPED_TRACE(form.bytes.size());
        std::filesystem::remove(Path("freedict-epo-eng.dict"));
        test_support::WriteFile(Path(form.name), form.bytes);
        std::vector<TranslationPair> pairs;
        std::string error;
        ASSERT_TRUE(ReadDictd(Path("freedict-epo-eng"), &pairs, &error)) << error;
        ASSERT_EQ(pairs.size(), 3u);
        EXPECT_EQ(pairs[0].word + "=" + pairs[0].translation, "hundo=dog");
        EXPECT_EQ(pairs[2].word + "=" + pairs[2].translation, "kato=puss");
    }
    test_support::WriteFile(Path("freedict-epo-eng.dict.dz"), damaged);
    std::vector<TranslationPair> pairs;
    std::string error;
    EXPECT_FALSE(ReadDictd(Path("freedict-epo-eng"), &pairs, &error));
    EXPECT_EQ(error.rfind("Cannot read " + Path("freedict-epo-eng.dict.dz") + ": ", 0), 0u)
        << error;
}

}  // namespace cli
