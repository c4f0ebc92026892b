// The Freelang database file: the reading rules of the record import, the
// description from the file name and dict.ini, and the export's cuts.
#include "engine/formats/freelang_format.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
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

// One record: the fields' bytes as given (cut to their sizes), zero-padded.
std::string Record(const std::string& word, const std::string& translations) {
    std::string record(kFreelangRecordSize, '\0');
    record.replace(0, std::min<std::size_t>(word.size(), 31), word.substr(0, 31));
    record.replace(31, std::min<std::size_t>(translations.size(), 53), translations.substr(0, 53));
    return record;
}

using test_support::ReadFile;
using test_support::WriteFile;

class FreelangFormatTest : public ScratchHandleTest {
protected:
    void SetUp() override {
        ScratchHandleTest::SetUp();
        ASSERT_TRUE(std::filesystem::create_directories(Path("language")));
    }
    bool Import(const std::string& bytes, const std::string& name = "words.wb") {
        return ImportFreelangBytes(db_, bytes, name.c_str(), 1033, 1050);
    }
};

TEST_F(FreelangFormatTest, ReadingRules) {
    const struct {
        const char* what;
        std::string bytes;
        Pairs pairs;  // empty: the import fails for want of a pair
    } cases[] = {
        {"comma and space cut",
         Record("house", "kuca, dom"),
         {{"house", "kuca"}, {"house", "dom"}}},
        {"comma without space", Record("a", "a,b"), {{"a", "a,b"}}},
        {"comma and space at the end", Record("a", "x, "), {{"a", "x, "}}},
        {"comma at position 0", Record("a", ", x"), {{"a", ", x"}}},
        {"comma space comma space", Record("a", "x, , y"), {{"a", "x"}, {"a", ", y"}}},
        {"empty word skipped", Record("", "x") + Record("b", "y"), {{"b", "y"}}},
        {"empty field skipped", Record("a", "") + Record("b", "y"), {{"b", "y"}}},
        {"84 zero bytes", std::string(84, '\0'), {}},
        {"word of 31 bytes ends at 30",
         Record(std::string(31, 'w'), "x"),
         {{std::string(30, 'w'), "x"}}},
        {"field of 53 bytes ends at 52",
         Record("a", std::string(53, 't')),
         {{"a", std::string(52, 't')}}},
        {"padding behind the NUL is not read",
         Record("a", std::string("x\0, yz", 6)),
         {{"a", "x"}}},
        {"records in order",
         Record("b", "1, 2") + Record("a", "3"),
         {{"a", "3"}, {"b", "1"}, {"b", "2"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DB_Close(db_);
        EXPECT_EQ(Import(c.bytes), !c.pairs.empty());
        EXPECT_EQ(PrimaryPairs(db_), c.pairs);
    }
}

TEST_F(FreelangFormatTest, SizeMustBeWholeRecords) {
    EXPECT_FALSE(Import(std::string(83, 'a')));
    EXPECT_FALSE(Import(Record("a", "b") + Record("c", "d") + "x"));   // 169 bytes
    EXPECT_FALSE(Import(Record("a", "b") + Record("c", "d") + "xy"));  // 170 bytes
    EXPECT_FALSE(Import(""));
    EXPECT_EQ(DB_IsReady(db_), 0);
    EXPECT_EQ(db_->lists[0].word_count, 0u);
    EXPECT_TRUE(Import(Record("a", "b") + Record("c", "d")));
}

TEST_F(FreelangFormatTest, LoadReadsTheFile) {
    WriteFile(Path("english_croatian.wb"), Record("house", "kuca, dom"));
    ASSERT_TRUE(LoadFreelang(db_, Path("english_croatian.wb").c_str(), 0, 0));
    EXPECT_EQ(PrimaryPairs(db_), (Pairs{{"house", "kuca"}, {"house", "dom"}}));
    EXPECT_STREQ(db_->name, "english - croatian");
    EXPECT_STREQ(db_->author, "Freelang");
    EXPECT_STREQ(db_->description, "english - croatian");
    EXPECT_STREQ(db_->primary_list_name, "english");
    EXPECT_STREQ(db_->secondary_list_name, "croatian");
    EXPECT_EQ(db_->lists[0].charset, 1u);
    EXPECT_EQ(db_->lists[1].charset, 1u);
    EXPECT_EQ(db_->lists[0].locale, 1024u);
    EXPECT_EQ(db_->lists[1].locale, 1024u);
    DB_Close(db_);
    EXPECT_FALSE(LoadFreelang(db_, Path("missing.wb").c_str(), 0, 0));
    EXPECT_FALSE(LoadFreelang(db_, dir_.c_str(), 0, 0));  // a folder
}

TEST_F(FreelangFormatTest, FileNameWithoutTwoNamesIsUnknown) {
    ASSERT_TRUE(Import(Record("a", "b"), "words.wb"));
    EXPECT_STREQ(db_->name, "Unknown - Unknown");
    EXPECT_STREQ(db_->description, "Unknown dictionary");
    EXPECT_STREQ(db_->primary_list_name, "Unknown");
    EXPECT_STREQ(db_->secondary_list_name, "Unknown");
    EXPECT_EQ(db_->lists[0].locale, 1033u);  // the locales given win
    EXPECT_EQ(db_->lists[1].locale, 1050u);
}

TEST_F(FreelangFormatTest, DictIniAboveTheLanguageFolderNamesTheLanguages) {
    WriteFile(Path("dict.ini"),
              "[general]\r\nlongname,german,0,french\r\n"
              "[language]\r\n LongName , french , 238 , french \r\nlongname,x,1\n"
              "[other]\nlongname,german,5,english\n");
    const std::string bytes = Record("chat", "cat");
    WriteFile(Path("language/french_English.wb"), bytes);
    ASSERT_TRUE(LoadFreelang(db_, Path("language/french_English.wb").c_str(), 0, 0));
    EXPECT_STREQ(db_->name, "french - English");
    EXPECT_STREQ(db_->description, "french");
    EXPECT_STREQ(db_->primary_list_name, "french");
    EXPECT_STREQ(db_->secondary_list_name, "English");
    EXPECT_EQ(db_->lists[0].charset, 238u);
    EXPECT_EQ(db_->lists[1].charset, 0u);
    EXPECT_EQ(db_->lists[0].locale, 1036u);
    EXPECT_EQ(db_->lists[1].locale, 1033u);

    DB_Close(db_);
    WriteFile(Path("language/English_french.wb"), bytes);
    ASSERT_TRUE(LoadFreelang(db_, Path("language/English_french.wb").c_str(), 0, 0));
    EXPECT_STREQ(db_->name, "English - french");
    EXPECT_STREQ(db_->primary_list_name, "English");
    EXPECT_STREQ(db_->secondary_list_name, "french");
    EXPECT_EQ(db_->lists[0].charset, 0u);
    EXPECT_EQ(db_->lists[1].charset, 238u);
    EXPECT_EQ(db_->lists[0].locale, 1033u);
    EXPECT_EQ(db_->lists[1].locale, 1036u);

    // Locales given to the load replace the tabled ones; the charsets stay.
    DB_Close(db_);
    ASSERT_TRUE(LoadFreelang(db_, Path("language/English_french.wb").c_str(), 0, 1031));
    EXPECT_EQ(db_->lists[0].locale, 0u);
    EXPECT_EQ(db_->lists[1].locale, 1031u);
    EXPECT_EQ(db_->lists[1].charset, 238u);

    // Outside a folder named "language" dict.ini is not read.
    DB_Close(db_);
    WriteFile(Path("french_English.wb"), bytes);
    ASSERT_TRUE(LoadFreelang(db_, Path("french_English.wb").c_str(), 0, 0));
    EXPECT_STREQ(db_->primary_list_name, "french");
    EXPECT_EQ(db_->lists[0].charset, 1u);
    EXPECT_EQ(db_->lists[0].locale, 1024u);
}

TEST_F(FreelangFormatTest, LanguageNames) {
    EXPECT_EQ(FreelangLanguageLocale("croatian"), 1050u);
    EXPECT_EQ(FreelangLanguageLocale("norwegian-nynorsk"), 2068u);
    EXPECT_EQ(FreelangLanguageLocale("urdu"), 1056u);
    EXPECT_EQ(FreelangLanguageLocale("French"), 1033u);  // case counts
    EXPECT_EQ(FreelangLanguageLocale("klingon"), 1033u);
}

TEST_F(FreelangFormatTest, ExportCutsWordsAndTranslations) {
    ASSERT_EQ(DB_CreateNewDictionary(db_, 1033, 1050)->status, 1);
    const std::string long_word(40, 'w');
    DB_AddTranslation(db_, 1, long_word.c_str(), std::string(20, 'a').c_str());
    DB_AddTranslation(db_, 1, long_word.c_str(), std::string(20, 'b').c_str());
    DB_AddTranslation(db_, 1, long_word.c_str(), std::string(20, 'c').c_str());
    // 48 bytes used after "x" * 48: room 4, so one more starts and is cut.
    DB_AddTranslation(db_, 1, "m", std::string(48, 'x').c_str());
    DB_AddTranslation(db_, 1, "m", "yyyy");
    // Room 3 after 49 bytes: no further translation starts.
    DB_AddTranslation(db_, 1, "n", std::string(49, 'x').c_str());
    DB_AddTranslation(db_, 1, "n", "z");
    DB_AddWord(db_, 1, "lonely");
    ASSERT_TRUE(SaveFreelang(db_, Path("out.wb").c_str()));
    const std::string bytes = ReadFile(Path("out.wb"));
    ASSERT_EQ(bytes.size(), 4 * kFreelangRecordSize);
    EXPECT_EQ(bytes.substr(0, 84), Record("lonely", ""));
    EXPECT_EQ(bytes.substr(84, 84), Record("m", std::string(48, 'x') + ", yy"));
    EXPECT_EQ(bytes.substr(168, 84), Record("n", std::string(49, 'x')));
    EXPECT_EQ(bytes.substr(252, 84),
              Record(std::string(30, 'w'),
                     std::string(20, 'a') + ", " + std::string(20, 'b') + ", cccccccc"));
    EXPECT_EQ(db_->progress_current.load(), 75u);

    // The word without translations comes back as nothing.
    DB_HANDLE again = DB_CreateHandle()->handle;
    ASSERT_TRUE(LoadFreelang(again, Path("out.wb").c_str(), 0, 0));
    EXPECT_EQ(again->lists[0].word_count, 3u);
    DB_DestroyHandle(again);
}

}  // namespace
}  // namespace lexbase
