// The TXT dictionary file: the reading rules of the import, the description
// taken from the file name, file failures, and the export.
#include "engine/formats/txt_format.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/lexbase.h"
#include "engine/tests/api_test_support.h"
#include "engine/tests/dictionary_checker.h"
#include "testing/test_support.h"

namespace lexbase {
namespace {

using Pairs = PairList;

using test_support::ReadFile;

class TxtFormatTest : public ScratchHandleTest {
protected:
    bool Import(const std::string& bytes, const char* name = "words.txt") {
        return ImportTxtBytes(db_, bytes, name, 1033, 1050);
    }
};

TEST_F(TxtFormatTest, ReadingRules) {
    const struct {
        const char* what;
        std::string bytes;
        Pairs pairs;  // empty: the import fails for want of a pair
    } cases[] = {
        {"no line end", "a\tb", {{"a", "b"}}},
        {"CR LF", "a\tb\r\n", {{"a", "b"}}},
        {"CR alone at the end", "a\tb\r", {{"a", "b"}}},
        {"LF alone", "a\tb\n", {{"a", "b"}}},
        {"LF-only lines", "a\tb\nc\td\n", {{"a", "b"}, {"c", "d"}}},
        {"LF and CR LF lines mixed", "a\tb\nc\td\r\ne\tf", {{"a", "b"}, {"c", "d"}, {"e", "f"}}},
        {"three columns ending in LF", "a\tb\tc\nx\ty\n", {{"x", "y"}}},
        {"three columns", "a\tb\tc\r\nx\ty\r\n", {{"x", "y"}}},
        {"TAB CR LF", "a\t\r\nx\ty\r\n", {{"x", "y"}}},
        {"TAB LF", "a\t\nx\ty\r\n", {{"x", "y"}}},
        {"leading TAB", "\ta\tb\r\nx\ty\r\n", {{"x", "y"}}},
        {"two TABs in a row", "a\t\tb\r\nx\ty\r\n", {{"x", "y"}}},
        {"leading CR and empty lines", "\r\n\n\r\nx\ty\r\n\r\n", {{"x", "y"}}},
        {"no TAB at all", "abc\r\ndef\r\n", {}},
        {"CR does not begin a line", "a\tb\rc\td\r\n", {{"a", "b"}}},
        {"rest of a line after the CR", "a\tb\r\tjunk\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
        {"duplicate lines", "a\tb\r\na\tb\r\n", {{"a", "b"}, {"a", "b"}}},
        {"spaces belong to the words", " a \t b \r\n", {{" a ", " b "}}},
        {"word ends at a NUL", std::string("a\0z\tc\r\n", 7), {{"a", "c"}}},
        {"word empty before a NUL", std::string("\0\tc\r\nx\ty", 9), {{"x", "y"}}},
        {"bytes of the code page", "\xE4pple\t\xE8izma\r\n", {{"\xE4pple", "\xE8izma"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DB_Close(db_);
        EXPECT_EQ(Import(c.bytes), !c.pairs.empty());
        EXPECT_EQ(PrimaryPairs(db_), c.pairs);
    }
}

TEST_F(TxtFormatTest, FailuresLeaveTheHandleEmptyAndReusable) {
    const struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"empty", "", "File is too small:\nwords.txt"},
        {"two bytes", "a\t", "File is too small:\nwords.txt"},
        {"no pair", "a\tb\tc\n", "Invalid database format:\nwords.txt"},
        {"no separator", "abc", "Invalid database format:\nwords.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(Import(c.bytes));
        EXPECT_STREQ(db_->message, c.message);
        EXPECT_EQ(db_->lists[0].head, nullptr);
        EXPECT_EQ(db_->lists[0].locale, 0u);
        EXPECT_EQ(db_->name[0], '\0');
    }
    EXPECT_TRUE(Import("a\tb"));
}

TEST_F(TxtFormatTest, LineEndsAndEncodingsGiveTheSameDictionary) {
    // kuća - house, čizma - boot: windows-1250 with CR LF, and UTF-8 with LF,
    // CR LF and a byte-order mark.
    const Pairs expected = {{"boot", "\xE8izma"},
                            {"house",
                             "ku\xE6"
                             "a"}};
    const std::string files[] = {
        "house\tku\xE6"
        "a\r\nboot\t\xE8izma\r\n",
        "house\tku\xC4\x87"
        "a\nboot\t\xC4\x8Dizma\n",
        "house\tku\xC4\x87"
        "a\r\nboot\t\xC4\x8Dizma\r\n",
        "\xEF\xBB\xBFhouse\tku\xC4\x87"
        "a\r\nboot\t\xC4\x8Dizma",
        "\xEF\xBB\xBFhouse\tkuca\nboot\tcizma\n",  // a mark makes even ASCII UTF-8
    };
    for (std::size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(i);
        DB_Close(db_);
        ASSERT_TRUE(Import(files[i]));
        if (i < 4) {
            EXPECT_EQ(PrimaryPairs(db_), expected);
        }
        EXPECT_EQ(db_->lists[0].charset, 1u);
        EXPECT_EQ(db_->lists[1].charset, 1u);
    }
    EXPECT_EQ(PrimaryPairs(db_),
              (Pairs{{"boot", "cizma"}, {"house", "kuca"}}));  // no mark in the word
}

TEST_F(TxtFormatTest, Utf8TextsThatDontFitMakeTheirListUtf8) {
    // ĉ and ŝ are in no Windows code page: the Croatian list turns UTF-8 and
    // keeps them; the English list stays 8-bit, é converted into windows-1252.
    ASSERT_TRUE(
        Import("caf\xC3\xA9\t\xC4\x89"
               "e\r\nhorse\t\xC4\x89"
               "evalo\r\nship\t\xC5\x9Dipo\r\n"));
    EXPECT_EQ(db_->lists[0].charset, 1u);
    EXPECT_EQ(db_->lists[1].charset, 65001u);
    EXPECT_EQ(PrimaryPairs(db_), (Pairs{{"caf\xE9",
                                         "\xC4\x89"
                                         "e"},
                                        {"horse",
                                         "\xC4\x89"
                                         "evalo"},
                                        {"ship", "\xC5\x9Dipo"}}));

    // Asked for, or by its language, a list is UTF-8 whatever the file holds;
    // 8-bit texts are then read in the locale's code page.
    DB_Close(db_);
    ASSERT_TRUE(ImportTxtBytes(db_,
                               "caf\xE9\tku\xE6"
                               "a\r\n",
                               "x.txt", 1033 | DB_LOCALE_UTF8, 1050));
    EXPECT_EQ(db_->lists[0].locale, 1033u);
    EXPECT_EQ(db_->lists[0].charset, 65001u);
    EXPECT_EQ(db_->lists[1].charset, 1u);
    EXPECT_EQ(PrimaryPairs(db_), (Pairs{{"caf\xC3\xA9",
                                         "ku\xE6"
                                         "a"}}));
    DB_Close(db_);
    ASSERT_TRUE(ImportTxtBytes(db_, "house\t\xE0\xA4\x98\xE0\xA4\xB0\n", "x.txt", 1033, 0x0439));
    EXPECT_EQ(db_->lists[1].charset, 65001u);
    EXPECT_EQ(PrimaryPairs(db_), (Pairs{{"house", "\xE0\xA4\x98\xE0\xA4\xB0"}}));
}

TEST_F(TxtFormatTest, ColumnsDecideTheirEncodingAlone) {
    // café in windows-1252 beside घर in UTF-8: the export of such a
    // dictionary imports into the same pairs.
    const std::string bytes = "caf\xE9\t\xE0\xA4\x98\xE0\xA4\xB0\r\n";
    ASSERT_TRUE(ImportTxtBytes(db_, bytes, "x.txt", 1033, 0x0439));
    const Pairs pairs = PrimaryPairs(db_);
    EXPECT_EQ(pairs, (Pairs{{"caf\xE9", "\xE0\xA4\x98\xE0\xA4\xB0"}}));
    const std::string out = Path("mixed.txt");
    ASSERT_TRUE(SaveTxt(db_, out.c_str()));
    EXPECT_EQ(ReadFile(out), bytes);
    DB_Close(db_);
    ASSERT_TRUE(LoadTxt(db_, out.c_str(), 1033, 0x0439));
    EXPECT_EQ(PrimaryPairs(db_), pairs);
    EXPECT_EQ(db_->lists[0].charset, 1u);
    EXPECT_EQ(db_->lists[1].charset, 65001u);
}

TEST_F(TxtFormatTest, OverlongWordIsSkipped) {
    const std::string longest(65535, 'w');
    const std::string too_long(65536, 'v');
    ASSERT_TRUE(Import(too_long + "\tx\r\n" + longest + "\ty\r\na\t" + too_long + "\r\n"));
    EXPECT_EQ(PrimaryPairs(db_), (Pairs{{longest, "y"}}));
    EXPECT_EQ(db_->lists[1].word_count, 1u);
}

TEST_F(TxtFormatTest, DescriptionComesFromTheFileName) {
    const std::string long_a(120, 'a');
    const std::string long_b(50, 'b');
    const std::string long_name = "/tmp/" + long_a + "_" + long_b + ".txt";
    const struct {
        const char* file;
        const char* name;
        const char* description;
        const char* primary;
        const char* secondary;
    } cases[] = {
        {"x_y.txt", "x - y", "x - y", "x", "y"},
        {"/data/dicts/english_croatian.txt", "english - croatian", "english - croatian", "english",
         "croatian"},
        {"de_en_at.v1.txt", "de - en_at", "de - en_at", "de", "en_at"},
        {"words.txt", "Unknown - Unknown", "Unknown dictionary", "Unknown", "Unknown"},
        {"x_y", "Unknown - Unknown", "Unknown dictionary", "Unknown", "Unknown"},
        {"words.x_y", "Unknown - Unknown", "Unknown dictionary", "Unknown", "Unknown"},
        {"/in_folder/words.txt", "Unknown - Unknown", "Unknown dictionary", "Unknown", "Unknown"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        DB_Close(db_);
        ASSERT_TRUE(Import("a\tb", c.file));
        EXPECT_STREQ(db_->name, c.name);
        EXPECT_STREQ(db_->author, "TXT dictionary");
        EXPECT_STREQ(db_->description, c.description);
        EXPECT_STREQ(db_->primary_list_name, c.primary);
        EXPECT_STREQ(db_->secondary_list_name, c.secondary);
    }
    DB_Close(db_);
    ASSERT_TRUE(Import("a\tb", long_name.c_str()));
    EXPECT_EQ(std::string(db_->name), long_a.substr(0, 99));
    EXPECT_EQ(std::string(db_->primary_list_name), long_a.substr(0, 39));
    EXPECT_EQ(std::string(db_->secondary_list_name), long_b.substr(0, 39));
}

TEST_F(TxtFormatTest, ExportWritesChainOrderWithCrLf) {
    ASSERT_TRUE(
        Import("run\tkorak\r\nrun\tbje\xBE"
               "ati\r\nrun\ttr\xE8"
               "ati\r\nap\tx\r\n"));
    const std::string file = Path("out.txt");
    ASSERT_TRUE(SaveTxt(db_, file.c_str()));
    EXPECT_EQ(ReadFile(file),
              "ap\tx\r\nrun\tkorak\r\nrun\tbje\xBE"
              "ati\r\nrun\ttr\xE8"
              "ati\r\n");
    EXPECT_EQ(DB_GetExecutionProgress(db_), 50);  // the last word starts at 1 of 2
}

// Words and links made by edits live outside the blocks; a swap changes the
// chain order, which the export and the next import keep.
TEST_F(TxtFormatTest, ExportOfAnEditedDictionaryImportsAgain) {
    ASSERT_EQ(DB_CreateNewDictionary(db_, 1033, 1050)->status, 1);
    ASSERT_EQ(DB_AddTranslation(db_, DB_TRANS_PRIMARY_TO_SECONDARY, "dog", "pas")->status, 2);
    ASSERT_EQ(DB_AddTranslation(db_, DB_TRANS_PRIMARY_TO_SECONDARY, "cat", "ma\xE8ka")->status, 2);
    ASSERT_EQ(DB_AddTranslation(db_, DB_TRANS_PRIMARY_TO_SECONDARY, "dog", "ker")->status, 2);
    ASSERT_EQ(DB_SwapTranslations(db_, DB_PRIMARY_LIST, "dog", "pas", "ker")->status, 2);
    ASSERT_EQ(DB_AddWord(db_, DB_PRIMARY_LIST, "alone")->status, 1);  // exports nothing
    const Pairs edited = {{"cat", "ma\xE8ka"}, {"dog", "ker"}, {"dog", "pas"}};
    ASSERT_EQ(PrimaryPairs(db_), edited);
    const std::string file = Path("edited.txt");
    ASSERT_TRUE(SaveTxt(db_, file.c_str()));
    EXPECT_EQ(ReadFile(file), "cat\tma\xE8ka\r\ndog\tker\r\ndog\tpas\r\n");
    DB_Close(db_);
    ASSERT_TRUE(LoadTxt(db_, file.c_str(), 1033, 1050));
    EXPECT_EQ(PrimaryPairs(db_), edited);
}

}  // namespace
}  // namespace lexbase
