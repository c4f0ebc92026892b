// The per-list PCRE2 character tables.
#include <gtest/gtest.h>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

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
    EXPECT_EQ(t[0xC4], 0xE4);      // Ä -> ä
    EXPECT_EQ(t[256 + 'a'], 'A');  // flip case
    EXPECT_EQ(t[256 + 0xC4], 0xE4);
    EXPECT_EQ(t[256 + '5'], '5');
    EXPECT_TRUE(Bit(t, 96, 'A'));  // upper
    EXPECT_FALSE(Bit(t, 96, 'a'));
    EXPECT_TRUE(Bit(t, 128, 'a'));                     // lower
    EXPECT_TRUE(Bit(t, 96, '5') && Bit(t, 128, '5'));  // no case: both
    EXPECT_TRUE(Bit(t, 160, 0xE4));                    // word
    EXPECT_TRUE(Bit(t, 160, '_'));
    EXPECT_FALSE(Bit(t, 160, '-'));
    EXPECT_TRUE(Bit(t, 0, ' '));     // space
    EXPECT_TRUE(Bit(t, 256, '!'));   // punct
    EXPECT_TRUE(Bit(t, 288, '\n'));  // cntrl
}

TEST_F(RegexTablesTest, CharacterTypes) {
    // space 0x01, letter 0x02, ASCII lower-case letter 0x04, digit 0x08, word 0x10
    const std::uint8_t* t = db_->lists[0].regex_tables + 832;
    EXPECT_EQ(t[' '], 0x01);
    EXPECT_EQ(t[0x0B], 0x00);  // vertical tab is not a space here
    EXPECT_EQ(t['7'], 0x08 | 0x10);
    EXPECT_EQ(t['b'], 0x02 | 0x04 | 0x10);
    EXPECT_EQ(t['B'], 0x02 | 0x10);
    EXPECT_EQ(t['_'], 0x10);
    EXPECT_EQ(t[0], 0x00);
    for (const char c : std::string("*+?{^.$|()["))
        EXPECT_EQ(t[static_cast<std::uint8_t>(c)], 0x00);
    EXPECT_EQ(t[0xE4], 0x02 | 0x10);  // a letter of the list, but not ASCII
}

// In the plain ASCII range the list's tables agree with the ones PCRE2 builds
// for the "C" locale, apart from the vertical tab kept out of the spaces and
// the characters without case, which count as both upper and lower case here.
TEST_F(RegexTablesTest, AsciiAgreesWithTheLibrarysOwnTables) {
    const std::uint8_t* ours = db_->lists[0].regex_tables;
    const std::uint8_t* theirs = pcre2_maketables(nullptr);
    ASSERT_NE(theirs, nullptr);
    for (int c = 0; c < 128; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(ours[c], theirs[c]);
        EXPECT_EQ(ours[256 + c], theirs[256 + c]);
        if (c != 0x0B) {
            EXPECT_EQ(ours[832 + c], theirs[832 + c]);
        }
        for (int bitmap = 0; bitmap < 320; bitmap += 32) {
            if (bitmap == 0 && c == 0x0B) continue;
            const bool cased = (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
            if ((bitmap == 96 || bitmap == 128) && !cased) continue;
            EXPECT_EQ(Bit(ours, bitmap, c), Bit(theirs, bitmap, c)) << "bitmap " << bitmap;
        }
    }
    pcre2_maketables_free(nullptr, theirs);
}

TEST_F(RegexTablesTest, PcreMatchesCaselessInTheListsCodePage) {
    // Secondary list is Russian (windows-1251): Д (0xC4) and д (0xE4).
    pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
    pcre2_set_character_tables(context, db_->lists[1].regex_tables);
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* re = pcre2_compile(reinterpret_cast<PCRE2_SPTR>("^\xE4\\w+$"),
                                   PCRE2_ZERO_TERMINATED, PCRE2_CASELESS, &error, &offset, context);
    ASSERT_NE(re, nullptr) << error;
    const char subject[] = "\xC4\xEE\xEC";  // Дом
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(re, nullptr);
    EXPECT_GE(pcre2_match(re, reinterpret_cast<PCRE2_SPTR>(subject), 3, 0, 0, data, nullptr), 0);
    pcre2_match_data_free(data);
    pcre2_code_free(re);
    pcre2_compile_context_free(context);
}

}  // namespace
}  // namespace lexbase
