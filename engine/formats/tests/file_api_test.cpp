// Loading, saving and the description in a dictionary file, through
// lexbase.h only: the checks and their order, the state flags, and the two
// functions that read and rewrite a file's description without loading it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/lexbase.h"
#include "engine/tests/api_test_support.h"
#include "testing/test_support.h"

namespace {

using test_support::ReadFile;

class FileApiTest : public test_support::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        db_ = DB_CreateHandle()->handle;
        path_ = dir_ + "words.v03";
    }
    void TearDown() override {
        DB_DestroyHandle(db_);
        ScratchDirTest::TearDown();
    }

    // Three primary words of 1, 2 and 3 bytes, two secondary words of 4, one
    // translation, saved to path_.
    void SaveSmallDictionary(DB_HANDLE db) {
        ASSERT_EQ(DB_CreateNewDictionary(db, 1033, 1050)->status, 1);
        DICTIONARY_INFO info{};
        std::strcpy(info.name, "Small");
        std::strcpy(info.author, "Tests");
        std::strcpy(info.primary_list_name, "English");
        std::strcpy(info.secondary_list_name, "Croatian");
        info.primary_locale = 1033;
        info.secondary_locale = 1050;
        info.secondary_charset = 238;
        ASSERT_EQ(DB_SetDictionaryInfo(db, &info)->status, 1);
        ASSERT_EQ(DB_AddTranslation(db, 1, "a", "dddd")->status, 2);
        ASSERT_EQ(DB_AddWord(db, 1, "bb")->status, 1);
        ASSERT_EQ(DB_AddWord(db, 1, "ccc")->status, 1);
        ASSERT_EQ(DB_AddWord(db, 2, "eeee")->status, 1);
        ASSERT_EQ(DB_Save(db, 6, path_.c_str())->status, 1);
    }

    std::string path_;
    DB_HANDLE db_ = nullptr;
};

TEST_F(FileApiTest, LoadChecksInOrder) {
    EXPECT_EQ(DB_Load(nullptr, 1, path_.c_str(), 0, 0)->message,
              std::string("Invalid database handle!"));
    EXPECT_RESULT(DB_Load(db_, 0, nullptr, 0, 0), 0, "Invalid parameter 2 !\nFormat can't be 0 !");
    EXPECT_RESULT(DB_Load(db_, 1, nullptr, 0, 0), 0,
                  "Invalid parameter 3 !\nNeed database filename !");
    EXPECT_RESULT(DB_Load(db_, 1, "", 0, 0), 0, "Invalid parameter 3 !\nNeed database filename !");
    for (const int format : {6, 9, -1}) {
        EXPECT_RESULT(DB_Load(db_, format, path_.c_str(), 0, 0), 0, "Invalid parameter 2 !");
        EXPECT_EQ(DB_GetExecutionProgress(db_), 100);
    }
    EXPECT_RESULT(DB_Load(db_, 1, path_.c_str(), 0, 0), 0, "Can't open file:\n" + path_);
    EXPECT_EQ(DB_IsReady(db_), 0);

    DB_HANDLE other = DB_CreateHandle()->handle;
    SaveSmallDictionary(other);
    DB_DestroyHandle(other);
    EXPECT_RESULT(DB_Load(db_, 1, path_.c_str(), 0, 0), 1, "Dictionary successfully loaded.");
    EXPECT_EQ(DB_IsReady(db_), 1);
    EXPECT_EQ(DB_IsChanged(db_), 0);
    EXPECT_EQ(DB_GetExecutionProgress(db_), 100);
    // An open dictionary is refused before anything else is looked at.
    EXPECT_RESULT(
        DB_Load(db_, 0, nullptr, 0, 0), 0,
        "This handle points to already loaded dictionary !\nClose this dictionary first !");
    EXPECT_EQ(DB_IsReady(db_), 1);
}

TEST_F(FileApiTest, SaveChecksInOrder) {
    EXPECT_EQ(DB_Save(nullptr, 6, path_.c_str())->message, std::string("Invalid database handle!"));
    // The arguments come before the state.
    EXPECT_RESULT(DB_Save(db_, 0, nullptr), 0, "Invalid parameter 3!\nNeed database filename!");
    EXPECT_RESULT(DB_Save(db_, 0, ""), 0, "Invalid parameter 3!\nNeed database filename!");
    EXPECT_RESULT(DB_Save(db_, 0, path_.c_str()), 0, "Invalid parameter 2!\nNeed database format!");
    EXPECT_RESULT(DB_Save(db_, 6, path_.c_str()), 0,
                  "Dictionary is closed!\nLoad dictionary first or create new one!");
    SaveSmallDictionary(db_);
    EXPECT_RESULT(DB_Save(db_, 1, path_.c_str()), 0, "Invalid database format !");
    EXPECT_EQ(DB_GetExecutionProgress(db_), 100);
}

TEST_F(FileApiTest, OnlyASuccessfulSaveClearsTheChangedFlag) {
    SaveSmallDictionary(db_);
    EXPECT_EQ(DB_IsChanged(db_), 0);
    ASSERT_EQ(DB_AddWord(db_, 1, "new")->status, 1);
    const std::string bad = dir_ + "no/such.v03";
    EXPECT_RESULT(DB_Save(db_, 6, bad.c_str()), 0, "Can't open file for writing:\n" + bad);
    EXPECT_EQ(DB_IsChanged(db_), 1);
    EXPECT_RESULT(DB_Save(db_, 6, path_.c_str()), 1, "Dictionary successfully saved.");
    EXPECT_EQ(DB_IsChanged(db_), 0);
}

TEST_F(FileApiTest, InfoFromAFileLeavesTheOpenDictionaryAlone) {
    SaveSmallDictionary(db_);
    ASSERT_EQ(DB_AddWord(db_, 2, "ffff")->status, 1);
    DICTIONARY_INFO before{}, from_file{}, after{};
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &before)->status, 1);
    std::memset(&from_file, 0x55, sizeof from_file);
    EXPECT_RESULT(DB_GetDictionaryInfoA(db_, path_.c_str(), &from_file), 1,
                  "Dictionary info successfully extracted.");
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &after)->status, 1);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    EXPECT_EQ(DB_IsChanged(db_), 1);

    EXPECT_EQ(from_file.primary_word_count, 3u);
    EXPECT_EQ(from_file.secondary_word_count, 2u);
    EXPECT_EQ(from_file.primary_index_size, 12u);
    EXPECT_EQ(from_file.secondary_index_size, 8u);
    EXPECT_EQ(from_file.primary_translation_count, 1u);
    EXPECT_EQ(from_file.secondary_translation_count, 1u);
    EXPECT_EQ(from_file.memory_size, 2u * 12 + 5 * 20 + 9 + 10);
    EXPECT_STREQ(from_file.name, "Small");
    EXPECT_STREQ(from_file.author, "Tests");
    EXPECT_STREQ(from_file.description, "");
    EXPECT_STREQ(from_file.secondary_list_name, "Croatian");
    EXPECT_EQ(from_file.secondary_locale, 1050u);
    EXPECT_EQ(from_file.secondary_charset, 238u);
    EXPECT_EQ(from_file.primary_charset, 0u);
}

TEST_F(FileApiTest, InfoFromAFileChecksInOrder) {
    DICTIONARY_INFO info{};
    EXPECT_EQ(DB_GetDictionaryInfoA(nullptr, path_.c_str(), &info)->status, 0);
    EXPECT_RESULT(DB_GetDictionaryInfoA(db_, "", nullptr), 0,
                  "Invalid parameter 2 !\nNeed database filename!");
    EXPECT_RESULT(DB_GetDictionaryInfoA(db_, path_.c_str(), nullptr), 0,
                  "Invalid parameter 3 !\nNeed dictionary info!");
    EXPECT_RESULT(DB_GetDictionaryInfoA(db_, path_.c_str(), &info), 0,
                  "Can't open file:\n" + path_);
    std::ofstream(path_, std::ios::binary) << std::string(571, 'x');
    EXPECT_RESULT(DB_GetDictionaryInfoA(db_, path_.c_str(), &info), 0,
                  "File is too small:\n" + path_);
    std::ofstream(path_, std::ios::binary) << std::string(572, 'x');
    EXPECT_RESULT(DB_GetDictionaryInfoA(db_, path_.c_str(), &info), 0,
                  "Database CRC error:\n" + path_);
}

TEST_F(FileApiTest, RewritingTheDescriptionChangesOnlyItsBytesAndTheCrc) {
    DB_HANDLE writer = DB_CreateHandle()->handle;
    SaveSmallDictionary(writer);
    DB_DestroyHandle(writer);
    const std::string old = ReadFile(path_);

    DICTIONARY_INFO info{};
    std::memset(info.name, 'N', sizeof info.name);  // 100 bytes, no NUL
    std::strcpy(info.author, "Someone else");
    std::strcpy(info.description, "Rewritten");
    std::memset(info.primary_list_name, 'P', sizeof info.primary_list_name);
    std::strcpy(info.secondary_list_name, "Hrvatski");
    info.primary_locale = 2057;
    info.secondary_locale = 1051;
    info.primary_charset = 1;
    info.secondary_charset = 2;
    info.primary_word_count = 99;  // counts are not written
    EXPECT_RESULT(DB_SetDictionaryInfoA(db_, path_.c_str(), &info), 1,
                  "Dictionary info successfully saved.");
    const std::string now = ReadFile(path_);
    ASSERT_EQ(now.size(), old.size());
    EXPECT_EQ(now.substr(0, 20), old.substr(0, 20));
    EXPECT_EQ(now.substr(416, now.size() - 4 - 416), old.substr(416, old.size() - 4 - 416));
    EXPECT_NE(now.substr(now.size() - 4), old.substr(old.size() - 4));
    EXPECT_EQ(now.substr(20, 100), std::string(100, 'N'));
    // A list name takes 39 bytes; its 40th stays as it was.
    EXPECT_EQ(now.substr(320, 40), std::string(39, 'P') + old[359]);

    DICTIONARY_INFO read{};
    ASSERT_EQ(DB_GetDictionaryInfoA(db_, path_.c_str(), &read)->status, 1);
    EXPECT_EQ(read.name, std::string(99, 'N'));
    EXPECT_STREQ(read.author, "Someone else");
    EXPECT_STREQ(read.description, "Rewritten");
    EXPECT_EQ(read.primary_list_name, std::string(39, 'P'));
    EXPECT_STREQ(read.secondary_list_name, "Hrvatski");
    EXPECT_EQ(read.primary_locale, 2057u);
    EXPECT_EQ(read.secondary_charset, 2u);
    EXPECT_EQ(read.primary_word_count, 3u);
    EXPECT_EQ(read.memory_size, 143u);
    // The rewritten file loads.
    EXPECT_RESULT(DB_Load(db_, 1, path_.c_str(), 0, 0), 1, "Dictionary successfully loaded.");
}

TEST_F(FileApiTest, RewritingTheDescriptionChecksInOrder) {
    DICTIONARY_INFO info{};
    EXPECT_EQ(DB_SetDictionaryInfoA(nullptr, path_.c_str(), &info)->status, 0);
    EXPECT_RESULT(DB_SetDictionaryInfoA(db_, nullptr, nullptr), 0,
                  "Invalid parameter 2 !\nNeed database filename !");
    EXPECT_RESULT(DB_SetDictionaryInfoA(db_, path_.c_str(), nullptr), 0,
                  "Invalid parameter 3 !\nNeed dictionary info !");
    EXPECT_RESULT(DB_SetDictionaryInfoA(db_, path_.c_str(), &info), 0,
                  "Can't open file:\n" + path_ + "!");
    EXPECT_RESULT(DB_SetDictionaryInfoA(db_, dir_.c_str(), &info), 0,
                  "Can't open file:\n" + dir_ + "!");
    // Files from 568 bytes on are large enough to be checked further.
    std::ofstream(path_, std::ios::binary) << std::string(567, 'x');
    EXPECT_RESULT(DB_SetDictionaryInfoA(db_, path_.c_str(), &info), 0,
                  "File is too small:\n" + path_);
    std::ofstream(path_, std::ios::binary) << std::string(568, 'x');
    EXPECT_RESULT(DB_SetDictionaryInfoA(db_, path_.c_str(), &info), 0,
                  "Database CRC error:\n" + path_);
    EXPECT_EQ(ReadFile(path_), std::string(568, 'x'));
}

}  // namespace
