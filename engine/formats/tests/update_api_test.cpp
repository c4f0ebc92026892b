// The format list, the Freelang and legacy formats through DB_Load and
// DB_Save, and merging another dictionary file with DB_Update.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/lexbase.h"
#include "engine/tests/api_test_support.h"
#include "testing/test_support.h"

namespace {

using test_support::WriteFile;

std::string FreelangRecord(const std::string& word, const std::string& translations) {
    std::string record(84, '\0');
    record.replace(0, word.size(), word);
    record.replace(31, translations.size(), translations);
    return record;
}

class UpdateApiTest : public ScratchHandleTest {
protected:
    // Opens a TXT dictionary holding `lines`.
    void OpenTxt(const std::string& lines) {
        WriteFile(Path("open_dictionary.txt"), lines);
        ASSERT_EQ(
            DB_Load(db_, DB_FORMAT_TXT_LOAD, Path("open_dictionary.txt").c_str(), 0, 0)->status, 1);
    }
};

TEST_F(UpdateApiTest, PluginListHandsOutTheTabledRecords) {
    EXPECT_EQ(DB_GetPluginList(nullptr, 1)->status, 0);
    const DB_RESULT* r = DB_GetPluginList(db_, 1);  // no dictionary needed
    EXPECT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "Plugins found!");
    ASSERT_EQ(r->count, 5);
    const auto* load = static_cast<const DB_FORMAT_RECORD*>(r->items);
    const int load_formats[] = {1, 2, 3, 4, 5};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(load[i].direction, 1);
        EXPECT_EQ(load[i].format, load_formats[i]);
        EXPECT_EQ(load[i].version_major, 1);
        EXPECT_EQ(load[i].version_minor, 0);
        EXPECT_STREQ(load[i].author, load[0].author);
        EXPECT_GT(std::strlen(load[i].author), 0u);
    }
    EXPECT_STREQ(load[1].extension, "v02");
    EXPECT_EQ(load[1].folder, 1);
    EXPECT_STREQ(load[3].extension, "");
    EXPECT_STREQ(load[3].name, "Freelang database directory");
    EXPECT_STREQ(load[3].description, "Input plugin for Freelang database directory");
    EXPECT_EQ(load[4].asks_for_description, 1);
    EXPECT_EQ(load[0].asks_for_description, 0);

    r = DB_GetPluginList(db_, 0);
    ASSERT_EQ(r->count, 3);
    const auto* save = static_cast<const DB_FORMAT_RECORD*>(r->items);
    EXPECT_EQ(save[0].format, 6);
    EXPECT_EQ(save[1].format, 8);
    EXPECT_EQ(save[2].format, 7);
    EXPECT_EQ(save[2].direction, 2);
    EXPECT_STREQ(save[2].extension, "wb");
    EXPECT_STREQ(save[2].description, "Output plugin for Freelang database");
    EXPECT_EQ(DB_GetPluginList(db_, 7)->count, 3);
}

TEST_F(UpdateApiTest, FreelangThroughLoadAndSave) {
    const std::string file = Path("english_croatian.wb");
    WriteFile(file, FreelangRecord("house", "kuca, dom"));
    for (int format : {DB_FORMAT_FREELANG_LOAD, DB_FORMAT_FREELANG_DIR_LOAD}) {
        DB_Close(db_);
        const DB_RESULT* r = DB_Load(db_, format, file.c_str(), 0, 0);
        EXPECT_EQ(r->status, 1);
        DICTIONARY_INFO info;
        ASSERT_EQ(DB_GetDictionaryInfo(db_, &info)->status, 1);
        EXPECT_EQ(info.primary_translation_count, 2u);
        EXPECT_STREQ(info.author, "Freelang");
    }
    EXPECT_EQ(DB_Save(db_, DB_FORMAT_FREELANG_SAVE, Path("copy.wb").c_str())->status, 1);
    std::ifstream in(Path("copy.wb"), std::ios::binary);
    std::ostringstream copy;
    copy << in.rdbuf();
    EXPECT_EQ(copy.str(), FreelangRecord("house", "kuca, dom"));

    DB_Close(db_);
    WriteFile(Path("short.wb"), std::string(83, 'a'));
    EXPECT_EQ(DB_Load(db_, DB_FORMAT_FREELANG_LOAD, Path("short.wb").c_str(), 0, 0)->status, 0);
    EXPECT_EQ(DB_IsReady(db_), 0);
    EXPECT_EQ(DB_Load(db_, DB_FORMAT_V02_LOAD, Path("no_such_set").c_str(), 0, 0)->status, 0);
    EXPECT_EQ(DB_IsReady(db_), 0);
}

TEST_F(UpdateApiTest, UpdateChecksInOrder) {
    EXPECT_EQ(DB_Update(nullptr, 1, 5, "x")->status, 0);
    const DB_RESULT* r = DB_Update(db_, 1, 5, "x");
    EXPECT_EQ(r->status, 0);
    EXPECT_STREQ(r->message, "Dictionary is closed!\nLoad dictionary first or create new one!");
    OpenTxt("a\tb\r\n");
    EXPECT_STREQ(DB_Update(db_, 1, 5, "")->message, "Invalid function parameter 4 !");
    EXPECT_STREQ(DB_Update(db_, 1, 5, nullptr)->message, "Invalid function parameter 4 !");
    r = DB_Update(db_, 3, 5, "x");
    EXPECT_EQ(r->status, 0);
    EXPECT_STREQ(r->message,
                 "Invalid parameter 2!\nUse DB_TRANS_PRIMARY_TO_SECONDARY or "
                 "DB_TRANS_SECONDARY_TO_PRIMARY");
}

TEST_F(UpdateApiTest, UpdateWithItselfAddsNothing) {
    OpenTxt("a\tb\r\nc\td\r\n");
    const DB_RESULT* r = DB_Update(db_, 1, DB_FORMAT_TXT_LOAD, Path("open_dictionary.txt").c_str());
    EXPECT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "Dictionary successfully updated.\nNo translations added.");
    EXPECT_EQ(r->added, 0);
}

TEST_F(UpdateApiTest, UpdateCountsNewPairsOnly) {
    OpenTxt("a\tb\r\nc\td\r\n");
    WriteFile(Path("other.txt"), "a\tb\r\nnew\tnovo\r\n");
    const DB_RESULT* r = DB_Update(db_, 1, DB_FORMAT_TXT_LOAD, Path("other.txt").c_str());
    EXPECT_EQ(r->status, 2);
    EXPECT_STREQ(r->message, "Dictionary successfully updated.\nNew translations added.");
    EXPECT_EQ(r->added, 1);
    EXPECT_EQ(DB_IsChanged(db_), 1);
    DICTIONARY_INFO info;
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &info)->status, 1);
    EXPECT_EQ(DB_GetDictionaryInfo(db_, &info)->added, 1);  // added outlives other calls
    EXPECT_EQ(info.primary_word_count, 3u);
    EXPECT_EQ(info.primary_translation_count, 3u);
    EXPECT_STREQ(info.name, "open - dictionary");  // the description stays
    EXPECT_EQ(DB_GetExecutionProgress(db_), 100);
}

TEST_F(UpdateApiTest, SecondaryToPrimaryFillsTheOtherLists) {
    OpenTxt("a\tb\r\n");
    WriteFile(Path("other.txt"), "x\ty\r\n");
    const DB_RESULT* r = DB_Update(db_, DB_TRANS_SECONDARY_TO_PRIMARY, DB_FORMAT_TXT_LOAD,
                                   Path("other.txt").c_str());
    EXPECT_EQ(r->status, 2);
    const char* words[4] = {};
    r = DB_Translate(db_, DB_TRANS_SECONDARY_TO_PRIMARY, "x", 1, 0, words, 4);
    ASSERT_EQ(r->count, 1);
    EXPECT_STREQ(words[0], "y");
}

TEST_F(UpdateApiTest, FailedLoadLeavesTheDictionaryAlone) {
    OpenTxt("a\tb\r\n");
    const DB_RESULT* r = DB_Update(db_, 1, DB_FORMAT_V03_SAVE, Path("open_dictionary.txt").c_str());
    EXPECT_EQ(r->status, 0);
    r = DB_Update(db_, 1, DB_FORMAT_TXT_LOAD, Path("missing.txt").c_str());
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(std::string(r->message), "Can't open file:\n" + Path("missing.txt"));
    DICTIONARY_INFO info;
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &info)->status, 1);
    EXPECT_EQ(info.primary_translation_count, 1u);
    EXPECT_EQ(DB_IsChanged(db_), 0);
}

}  // namespace
