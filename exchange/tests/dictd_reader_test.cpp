#include "exchange/dictd_reader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "exchange/dictd_format.h"
#include "testing/test_support.h"

namespace exchange {
namespace {

TEST(DictdReaderTest, DecodesDictdNumbers) {
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
    EXPECT_EQ(EncodeDictdNumber(123), "B7");
    EXPECT_EQ(EncodeDictdNumber(0), "A");
    EXPECT_EQ(EncodeDictdNumber(62 * 64 + 63), "+/");
}

TEST(DictdReaderTest, IndexSkipsDatabaseEntriesAndBrokenLines) {
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

TEST(DictdReaderTest, LanguageCodesComeFromTheName) {
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
    const auto n = [](std::size_t v) { return EncodeDictdNumber(v); };
    const std::string e = n(entry.size());
    test_support::WriteFile(Path("freedict-epo-eng.dict"), dict);
    test_support::WriteFile(Path("freedict-epo-eng.index"),
                            "hundo\t" + n(entry.size()) + "\t" + n(other.size()) + "\n" +
                                "ĉevalo\tA\t" + e + "\n" + "ĉevalo\t" +
                                n(entry.size() + other.size()) + "\t" + e + "\n" + "ĉevalo\t" +
                                n(2 * entry.size() + other.size()) + "\t" + e + "\n");
    SourceDictionary read;
    std::string error;
    ASSERT_TRUE(ReadDictd(Path("freedict-epo-eng"), &read, &error)) << error;
    const std::vector<TranslationPair>& pairs = read.pairs;
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[0].word + "=" + pairs[0].translation, "ĉevalo=horse");
    EXPECT_EQ(pairs[1].word + "=" + pairs[1].translation, "ĉevalo=steeds");
    EXPECT_EQ(pairs[2].word + "=" + pairs[2].translation, "hundo=dog");
    EXPECT_EQ(read.repeated, 4u);
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
        SourceDictionary read;
        std::string error;
        ASSERT_TRUE(ReadDictd(Path("freedict-epo-eng"), &read, &error)) << error;
        const std::vector<TranslationPair>& pairs = read.pairs;
        ASSERT_EQ(pairs.size(), 3u);
        EXPECT_EQ(pairs[0].word + "=" + pairs[0].translation, "hundo=dog");
        EXPECT_EQ(pairs[2].word + "=" + pairs[2].translation, "kato=puss");
    }
    test_support::WriteFile(Path("freedict-epo-eng.dict.dz"), damaged);
    SourceDictionary read;
    std::string error;
    EXPECT_FALSE(ReadDictd(Path("freedict-epo-eng"), &read, &error));
    EXPECT_EQ(error, "The compressed text is damaged: " + Path("freedict-epo-eng.dict.dz"));
}

}  // namespace exchange
