// The dictd writer: the index dictd searches, the entries' text, and what
// the reader makes of them again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/book_writers.h"
#include "exchange/dictd_format.h"
#include "exchange/dictd_reader.h"
#include "exchange/dictzip.h"
#include "platform/file_writer.h"
#include "testing/test_support.h"

namespace exchange {
namespace {

using DictdWriterTest = test_support::ScratchDirTest;

Book GermanBook() {
    Book book;
    book.name = "German - English";
    book.description = "Words";
    book.author = "Me";
    book.entries = {
        {"Ärger", {"anger", "trouble"}},
        {"3:2 Pulldown", {"3:2 pulldown"}},
        {"Haus", {"house", "home (of a family)"}},
        {"haus", {"lower-case house"}},
        {"?!", {"interrobang"}},  // no letter: dictd can't look it up
        {"a - b", {"a to b"}},
    };
    return book;
}

TEST(DictdKeyTest, KeysAreFoldedAsDictdFoldsAQuery) {
    const std::pair<const char*, const char*> cases[] = {
        {"House", "house"},
        {"3:2 pulldown", "32 pulldown"},
        {"10 base - 2 coaxial cable", "10 base 2 coaxial cable"},
        {"Ärger", "ärger"},
        {"  spaced\tout  ", "spaced out"},
        {"?!", ""},
        {"00-database-short", "00databaseshort"},
    };
    for (const auto& [headword, key] : cases) EXPECT_EQ(DictdKey(headword), key) << headword;
}

TEST_F(DictdWriterTest, TheIndexIsSortedByKeyAndKeepsEachWord) {
    WriteReport report;
    std::string error;
    ASSERT_TRUE(WriteDictd(GermanBook(), Path("g.index"), &report, &error)) << error;
    EXPECT_EQ(report.words, 5u);
    EXPECT_EQ(report.left_out, 1u);
    std::vector<std::string> keys, words;
    const std::string index = test_support::ReadFile(Path("g.index"));
    for (const IndexEntry& entry : ParseIndex(index)) {
        keys.push_back(entry.headword);
        words.push_back(entry.original);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"32 pulldown", "a b", "haus", "haus", "ärger"}));
    EXPECT_EQ(words, (std::vector<std::string>{"3:2 Pulldown", "a - b", "Haus", "haus", "Ärger"}));
    // The database's own entries: UTF-8, its name and description.
    EXPECT_EQ(index.substr(0, index.find("32 pulldown")),
              "00databaseinfo\tS\tk\n00databaseshort\tB\tR\n00databaseutf8\tA\tB\n");
    std::string text;
    ASSERT_TRUE(
        ReadDictText(test_support::ReadFile(Path("g.dict.dz")), "g", 1 << 20, &text, &error));
    EXPECT_EQ(text.rfind("\nGerman - English\nGerman - English\n\nWords\n\nAuthor: Me\n"
                         "Ärger\nanger, trouble\n",
                         0),
              0u);
}

TEST_F(DictdWriterTest, EveryPairReadsBack) {
    WriteReport report;
    std::string error;
    ASSERT_TRUE(WriteDictd(GermanBook(), Path("g.index"), &report, &error)) << error;
    SourceDictionary read;
    ASSERT_TRUE(ReadDictd(Path("g"), &read, &error)) << error;
    std::vector<std::string> pairs;
    for (const TranslationPair& pair : read.pairs)
        pairs.push_back(pair.word + "=" + pair.translation);
    EXPECT_EQ(pairs, (std::vector<std::string>{
                         "Ärger=anger", "Ärger=trouble", "3:2 Pulldown=3:2 pulldown", "Haus=house",
                         "Haus=home (of a family)", "haus=lower-case house", "a - b=a to b"}));
    EXPECT_EQ(read.name, "German - English");
    EXPECT_EQ(read.description, "German - English\n\nWords\n\nAuthor: Me");
}

TEST_F(DictdWriterTest, AFailedWriteKeepsTheOldDatabaseWhole) {
    std::string error;
    WriteReport report;
    ASSERT_TRUE(WriteDictd(GermanBook(), Path("g.index"), &report, &error)) << error;
    const std::string index = test_support::ReadFile(Path("g.index"));
    const std::string dict = test_support::ReadFile(Path("g.dict.dz"));
    Book other = GermanBook();
    other.entries.resize(1);
    for (int n = 1; n <= 2; ++n) {
        SCOPED_TRACE(n);
        platform::FailFileOpForTesting(platform::FileOp::kWrite, n);
        EXPECT_FALSE(WriteDictd(other, Path("g.index"), &report, &error));
        platform::ClearFileOpFailuresForTesting();
        EXPECT_EQ(test_support::ReadFile(Path("g.index")), index);
        EXPECT_EQ(test_support::ReadFile(Path("g.dict.dz")), dict);
        EXPECT_EQ(test_support::FilesIn(dir_).size(), 2u);
    }
    EXPECT_FALSE(WriteDictd(other, Path("missing/g.index"), &report, &error));
    EXPECT_EQ(error.rfind("Can't write to file " + Path("missing/g.dict.dz"), 0), 0u) << error;
    EXPECT_FALSE(WriteDictd(Book{}, Path("g.index"), &report, &error));
    EXPECT_EQ(error, "There is no word with translations to export");
    // The two formats' texts have the same name: neither takes the other's.
    EXPECT_FALSE(WriteStarDict(GermanBook(), Path("g.ifo"), &report, &error));
    EXPECT_EQ(error, "The dictionary " + Path("g.index") + " keeps its text in " +
                         Path("g.dict.dz") + ": choose another name");
    EXPECT_EQ(test_support::ReadFile(Path("g.dict.dz")), dict);
}

}  // namespace
}  // namespace exchange
