// The description of the open dictionary, through lexbase.h only.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/lexbase.h"
#include "engine/tests/api_test_support.h"

namespace {

using DictionaryInfoTest = NewDictionaryTest;

TEST_F(DictionaryInfoTest, MissingRecordIsRefusedBeforeTheState) {
    DB_HANDLE closed = DB_CreateHandle()->handle;
    const DB_RESULT* r = DB_GetDictionaryInfo(closed, nullptr);
    EXPECT_EQ(r->status, 0);
    EXPECT_STREQ(r->message, "Invalid parameter 2!\nNeed pointer to DICTIONARY_INFO.");
    r = DB_SetDictionaryInfo(closed, nullptr);
    EXPECT_EQ(r->status, 0);
    EXPECT_STREQ(r->message, "Invalid parameter 2!\nNeed DICTIONARY_INFO!");
    DICTIONARY_INFO info{};
    r = DB_SetDictionaryInfo(closed, &info);
    EXPECT_EQ(r->status, 0);
    EXPECT_STREQ(r->message, "Dictionary is closed!\nLoad dictionary first or create new one!");
    EXPECT_EQ(DB_IsChanged(closed), 0);
    DB_DestroyHandle(closed);
}

TEST_F(DictionaryInfoTest, NewDictionaryIsEmptyWithItsLocales) {
    DICTIONARY_INFO info;
    std::memset(&info, 0x55, sizeof info);
    const DB_RESULT* r = DB_GetDictionaryInfo(db_, &info);
    ASSERT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "Dictionary info successfully extracted.");
    EXPECT_EQ(info.primary_word_count, 0u);
    EXPECT_EQ(info.memory_size, 0u);
    EXPECT_STREQ(info.name, "");
    EXPECT_STREQ(info.secondary_list_name, "");
    EXPECT_EQ(info.primary_locale, 1033u);
    EXPECT_EQ(info.secondary_locale, 1050u);
    EXPECT_EQ(DB_IsChanged(db_), 0);
}

TEST_F(DictionaryInfoTest, LongStringsAreCutToTheirFields) {
    DICTIONARY_INFO info;
    std::memset(&info, 'x', sizeof info);  // no terminator anywhere
    info.primary_locale = 1031;
    info.secondary_locale = 1049;
    info.primary_charset = 0;
    info.secondary_charset = 204;
    const DB_RESULT* r = DB_SetDictionaryInfo(db_, &info);
    ASSERT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "Dictionary info successfully saved.");
    EXPECT_EQ(DB_IsChanged(db_), 1);

    DICTIONARY_INFO back{};
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &back)->status, 1);
    EXPECT_EQ(std::string(back.name), std::string(99, 'x'));
    EXPECT_EQ(std::string(back.author), std::string(99, 'x'));
    EXPECT_EQ(std::string(back.description), std::string(99, 'x'));
    EXPECT_EQ(std::string(back.primary_list_name), std::string(39, 'x'));
    EXPECT_EQ(std::string(back.secondary_list_name), std::string(39, 'x'));
    EXPECT_EQ(back.primary_locale, 1031u);
    EXPECT_EQ(back.secondary_locale, 1049u);
    EXPECT_EQ(back.secondary_charset, 204u);
    // Counts of the record are outputs only.
    EXPECT_EQ(back.primary_word_count, 0u);
}

TEST_F(DictionaryInfoTest, ShortStringsRoundTrip) {
    DICTIONARY_INFO info{};
    std::strcpy(info.name, "English-Croatian");
    std::strcpy(info.author, "Someone");
    std::strcpy(info.primary_list_name, "English");
    std::strcpy(info.secondary_list_name, "Croatian");
    info.primary_locale = 1033;
    info.secondary_locale = 1050;
    ASSERT_EQ(DB_SetDictionaryInfo(db_, &info)->status, 1);
    DICTIONARY_INFO back{};
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &back)->status, 1);
    EXPECT_STREQ(back.name, "English-Croatian");
    EXPECT_STREQ(back.author, "Someone");
    EXPECT_STREQ(back.description, "");
    EXPECT_STREQ(back.secondary_list_name, "Croatian");
}

}  // namespace
