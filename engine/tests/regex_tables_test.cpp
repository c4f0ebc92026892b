// The per-list PCRE character tables.
#include <gtest/gtest.h>
#include <pcre.h>

#include <cstring>

#include "engine/context.h"
#include "engine/word_list.h"

namespace lexbase {
namespace {

bool Bit(const std::uint8_t* tables, std::size_t bitmap, int c) {
    return tables[512 + bitmap + c / 8] & (1u << (c % 8));
}

class RegexTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = DB_CreateHandle()->handle;
        ASSERT_EQ(DB_CreateNewDictionary(db_, 1033, 1049)->status, 1);
    }
    void TearDown() override { DB_DestroyHandle(db_); }
    DB_CONTEXT* db_ = nullptr;
};

TEST_F(RegexTablesTest, CaseMapsFollowTheList) {
    const std::uint8_t* t = db_->lists[0].regex_tables;
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t['A'], 'a');
    EXPECT_EQ(t[0xC4], 0xE4);          // Ä -> ä
    EXPECT_EQ(t[256 + 'a'], 'A');      // flip case
    EXPECT_EQ(t[256 + 0xC4], 0xE4);
    EXPECT_EQ(t[256 + '5'], '5');
    EXPECT_TRUE(Bit(t, 96, 'A'));      // upper
    EXPECT_FALSE(Bit(t, 96, 'a'));
    EXPECT_TRUE(Bit(t, 128, 'a'));     // lower
    EXPECT_TRUE(Bit(t, 96, '5') && Bit(t, 128, '5'));  // no case: both
    EXPECT_TRUE(Bit(t, 160, 0xE4));    // word
    EXPECT_TRUE(Bit(t, 160, '_'));
    EXPECT_FALSE(Bit(t, 160, '-'));
    EXPECT_TRUE(Bit(t, 0, ' '));       // space
    EXPECT_TRUE(Bit(t, 256, '!'));     // punct
    EXPECT_TRUE(Bit(t, 288, '\n'));    // cntrl
}

TEST_F(RegexTablesTest, CharacterTypes) {
    const std::uint8_t* t = db_->lists[0].regex_tables + 832;
    EXPECT_EQ(t[' '], 0x01);
    EXPECT_EQ(t[0x0B], 0x00);  // vertical tab is not a space here
    EXPECT_EQ(t['7'], 0x04 | 0x08 | 0x10);
    EXPECT_EQ(t['b'], 0x02 | 0x08 | 0x10);
    EXPECT_EQ(t['g'], 0x02 | 0x10);
    EXPECT_EQ(t['_'], 0x10);
    EXPECT_EQ(t[0], 0x80);
    for (const char c : std::string("*+?{^.$|()[")) EXPECT_EQ(t[static_cast<std::uint8_t>(c)], 0x80);
    EXPECT_EQ(t[0xE4], 0x02 | 0x10);
}

TEST_F(RegexTablesTest, PcreMatchesCaselessInTheListsCodePage) {
    // Secondary list is Russian (windows-1251): Д (0xC4) and д (0xE4).
    const char* error = nullptr;
    int offset = 0;
    pcre* re = pcre_compile("^\xE4\\w+$", PCRE_CASELESS, &error, &offset,
                            db_->lists[1].regex_tables);
    ASSERT_NE(re, nullptr) << error;
    const char subject[] = "\xC4\xEE\xEC";  // Дом
    int vector[30];
    EXPECT_GE(pcre_exec(re, nullptr, subject, 3, 0, 0, vector, 30), 0);
    pcre_free(re);
}

}  // namespace
}  // namespace lexbase
