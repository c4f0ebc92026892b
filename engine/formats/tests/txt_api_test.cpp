// TXT import and export through DB_Load (format 5) and DB_Save (format 8).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "engine/lexbase.h"
#include "engine/tests/api_test_support.h"
#include "testing/test_support.h"

namespace {

using test_support::ReadFile;
using test_support::WriteFile;

using TxtApiTest = ScratchHandleTest;

TEST_F(TxtApiTest, LoadImportsPairsAndDescription) {
    const std::string file = Path("english_croatian.txt");
    WriteFile(file, "house\tku\xE6\x61\r\nhome\tdom\r\nhouse\tdom\r\n");
    const DB_RESULT* r = DB_Load(db_, DB_FORMAT_TXT_LOAD, file.c_str(), 1033, 1050);
    EXPECT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "Dictionary successfully loaded.");
    EXPECT_EQ(DB_IsReady(db_), 1);
    EXPECT_EQ(DB_IsChanged(db_), 0);
    EXPECT_EQ(DB_GetExecutionProgress(db_), 100);

    DICTIONARY_INFO info;
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &info)->status, 1);
    EXPECT_EQ(info.primary_word_count, 2u);
    EXPECT_EQ(info.secondary_word_count, 2u);
    EXPECT_EQ(info.primary_translation_count, 3u);
    EXPECT_EQ(info.secondary_translation_count, 3u);
    EXPECT_EQ(info.memory_size, 6u * 12 + 4 * 20 + (5 + 6) + (4 + 5));
    EXPECT_STREQ(info.name, "english - croatian");
    EXPECT_STREQ(info.author, "TXT dictionary");
    EXPECT_STREQ(info.description, "english - croatian");
    EXPECT_STREQ(info.primary_list_name, "english");
    EXPECT_STREQ(info.secondary_list_name, "croatian");
    EXPECT_EQ(info.primary_locale, 1033u);
    EXPECT_EQ(info.secondary_locale, 1050u);
    EXPECT_EQ(info.primary_charset, 1u);
    EXPECT_EQ(info.secondary_charset, 1u);
}

// An export of a loaded dictionary loads again into the same translations, in
// the same order, found through the search functions.
TEST_F(TxtApiTest, SavedFileLoadsIntoTheSameTranslations) {
    const std::string in = Path("english_croatian.txt");
    WriteFile(in,
              "run\tkorak\r\nApple\tJabuka\r\nrun\ttr\xE8"
              "ati\r\napple\tjabuka\r\nrun\tkorak\r\n");
    ASSERT_EQ(DB_Load(db_, DB_FORMAT_TXT_LOAD, in.c_str(), 1033, 1050)->status, 1);
    const std::string out = Path("english_croatian_2.txt");
    ASSERT_EQ(DB_Save(db_, DB_FORMAT_TXT_SAVE, out.c_str())->status, 1);
    DB_Close(db_);
    ASSERT_EQ(DB_Load(db_, DB_FORMAT_TXT_LOAD, out.c_str(), 1033, 1050)->status, 1);

    const char* found[8] = {};
    const DB_RESULT* r = DB_Translate(db_, DB_TRANS_PRIMARY_TO_SECONDARY, "run", 1, 0, found, 8);
    ASSERT_EQ(r->status, 1);
    ASSERT_EQ(r->count, 3);
    EXPECT_STREQ(found[0], "korak");
    EXPECT_STREQ(found[1],
                 "tr\xE8"
                 "ati");
    EXPECT_STREQ(found[2], "korak");
    r = DB_Translate(db_, DB_TRANS_SECONDARY_TO_PRIMARY, "korak", 1, 0, found, 8);
    ASSERT_EQ(r->count, 2);
    EXPECT_STREQ(found[0], "run");
    EXPECT_STREQ(found[1], "run");
    // apple and Apple are two words side by side.
    r = DB_List(db_, DB_PRIMARY_LIST, "ap", 0, 0, DB_LIST_PREFIX, found, 8);
    ASSERT_EQ(r->count, 2);
    EXPECT_STREQ(found[0], "apple");
    EXPECT_STREQ(found[1], "Apple");
}

TEST_F(TxtApiTest, FailedLoadLeavesTheHandleReusable) {
    const std::string bad = Path("bad.txt");
    WriteFile(bad, "a\t\nc\r\n");
    const DB_RESULT* r = DB_Load(db_, DB_FORMAT_TXT_LOAD, bad.c_str(), 0, 0);
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(std::string(r->message), "Invalid database format:\n" + bad);
    EXPECT_EQ(DB_IsReady(db_), 0);
    const std::string missing = Path("missing.txt");
    r = DB_Load(db_, DB_FORMAT_TXT_LOAD, missing.c_str(), 0, 0);
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(std::string(r->message), "Can't open file:\n" + missing);
    r = DB_Load(db_, DB_FORMAT_TXT_LOAD, dir_.c_str(), 0, 0);  // opens, but can't be read
    EXPECT_EQ(std::string(r->message), "Can't open file:\n" + dir_);

    const std::string good = Path("words.txt");
    WriteFile(good, "a\tb");
    r = DB_Load(db_, DB_FORMAT_TXT_LOAD, good.c_str(), 0, 0);
    EXPECT_EQ(r->status, 1);
    DICTIONARY_INFO info;
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &info)->status, 1);
    EXPECT_STREQ(info.name, "Unknown - Unknown");
    EXPECT_STREQ(info.description, "Unknown dictionary");
    EXPECT_EQ(info.primary_locale, 1024u);
    EXPECT_EQ(info.secondary_locale, 1024u);
}

// A failed save keeps the changed flag; a successful one clears it.
TEST_F(TxtApiTest, SaveReportsFailuresAndClearsTheChangedFlag) {
    const std::string in = Path("x_y.txt");
    WriteFile(in, "a\tb\r\n");
    ASSERT_EQ(DB_Load(db_, DB_FORMAT_TXT_LOAD, in.c_str(), 0, 0)->status, 1);
    DICTIONARY_INFO info;
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &info)->status, 1);
    ASSERT_EQ(DB_SetDictionaryInfo(db_, &info)->status, 1);

    const std::string out = Path("out.txt");
    const DB_RESULT* r = DB_Save(db_, DB_FORMAT_TXT_SAVE, out.c_str());
    EXPECT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "Dictionary successfully saved.");
    EXPECT_EQ(DB_IsChanged(db_), 0);
    EXPECT_EQ(ReadFile(out), "a\tb\r\n");
}

// An export through a link replaces the file the link names.
TEST_F(TxtApiTest, AnExportThroughALinkKeepsTheLink) {
    const std::string in = Path("x_y.txt");
    std::string pairs;
    for (int i = 0; i < 3000; ++i) pairs += "word" + std::to_string(i) + "\tw\r\n";
    WriteFile(in, pairs);
    ASSERT_EQ(DB_Load(db_, DB_FORMAT_TXT_LOAD, in.c_str(), 0, 0)->status, 1);
    const std::string out = Path("out.txt");
    WriteFile(out, "old\tfile\r\n");
    const std::string link = Path("link.txt");
    ASSERT_EQ(::symlink(out.c_str(), link.c_str()), 0);
    ASSERT_EQ(DB_Save(db_, DB_FORMAT_TXT_SAVE, link.c_str())->status, 1);
    struct stat status_of_link {};
    ASSERT_EQ(::lstat(link.c_str(), &status_of_link), 0);
    EXPECT_TRUE(S_ISLNK(status_of_link.st_mode));
    EXPECT_EQ(ReadFile(out).size(), pairs.size());
}

}  // namespace
