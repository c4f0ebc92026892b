// Word lists: folding tables, the prefix index and exact lookup.
#include "engine/word_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/context.h"
#include "engine/tests/api_test_support.h"

namespace lexbase {
namespace {

// Appends edited words to the end of a list in the order given.
void Append(WordList* list, const std::vector<std::string>& words) {
    for (const std::string& w : words) {
        WordNode* node = NewWordNode(w);
        node->prev = list->tail;
        if (list->tail != nullptr)
            list->tail->next = node;
        else
            list->head = node;
        list->tail = node;
        ++list->word_count;
        list->text_bytes += static_cast<std::uint32_t>(w.size() + 1);
    }
    list->texts_moved = list->nodes_moved = 1;
}

class WordListTest : public NewDictionaryTest {
protected:
    WordList* primary() { return &db_->lists[0]; }
    WordList* secondary() { return &db_->lists[1]; }
};

TEST_F(WordListTest, FoldingTablesOfEnglishAndCroatian) {
    const WordList* en = primary();
    EXPECT_EQ(en->upper_table[0xE4], 0xC4);
    EXPECT_EQ(en->lower_table[0xC4], 0xE4);
    EXPECT_EQ(en->accent_free_table[0xE4], 'a');
    EXPECT_EQ(en->accent_free_upper_table[0xE4], 'A');
    EXPECT_EQ(en->upper_table['z'], 'Z');
    EXPECT_EQ(en->upper_table[0], 0);
    const WordList* hr = secondary();
    EXPECT_EQ(hr->upper_table[0xE8], 0xC8);
    EXPECT_EQ(hr->accent_free_table[0xE8], 'c');
    EXPECT_EQ(hr->accent_free_upper_table[0xE8], 'C');
    EXPECT_EQ(hr->lower_table[0xC8], 0xE8);
}

TEST_F(WordListTest, IndexCoversEveryPrefixAndItsGroup) {
    // Collation order of English: a, ab, Ab, b, ba.
    Append(primary(), {"a", "ab", "Ab", "b", "ba"});
    EXPECT_EQ(RebuildIndex(primary()), 5u);
    const Bucket& group_a = primary()->bucket_index['a' * 256];
    EXPECT_STREQ(group_a.first->text, "a");
    EXPECT_STREQ(group_a.last->text, "ab");
    EXPECT_EQ(group_a.first_ordinal, 0);
    EXPECT_EQ(group_a.last_ordinal, 1);
    const Bucket& ab = primary()->bucket_index['a' * 256 + 'b'];
    EXPECT_STREQ(ab.first->text, "ab");
    EXPECT_EQ(ab.first, ab.last);
    const Bucket& upper_ab = primary()->bucket_index['A' * 256 + 'b'];
    EXPECT_EQ(upper_ab.first_ordinal, 2);
    EXPECT_EQ(primary()->bucket_index['b' * 256 + 'a'].last_ordinal, 4);
    EXPECT_EQ(primary()->bucket_index['c' * 256].first, nullptr);
}

TEST_F(WordListTest, OneByteWordIsFoundThroughItsGroup) {
    Append(primary(), {"a", "ab", "b"});
    RebuildIndex(primary());
    WordNode* found = FindWord(primary(), "a");
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->text, "a");
    EXPECT_STREQ(primary()->scan_first->text, "a");
    EXPECT_STREQ(primary()->scan_end->text, "b");
}

TEST_F(WordListTest, EmptyBucketAnswersNotFoundWithAnEmptyRange) {
    Append(primary(), {"ab", "cd"});
    RebuildIndex(primary());
    ASSERT_NE(FindWord(primary(), "ab"), nullptr);
    EXPECT_EQ(FindWord(primary(), "xy"), nullptr);
    EXPECT_EQ(primary()->scan_first, nullptr);
    EXPECT_EQ(primary()->scan_end, nullptr);
    // Same bucket, other word: not found, but the range is the bucket's.
    EXPECT_EQ(FindWord(primary(), "abc"), nullptr);
    EXPECT_STREQ(primary()->scan_first->text, "ab");
    EXPECT_STREQ(primary()->scan_end->text, "cd");
    EXPECT_EQ(FindWordQuiet(primary(), "cd")->text, primary()->tail->text);
}

TEST_F(WordListTest, WordsDifferingOnlyInCaseAreBothFound) {
    Append(primary(), {"apple", "Apple", "apply"});
    RebuildIndex(primary());
    EXPECT_STREQ(FindWord(primary(), "apple")->text, "apple");
    EXPECT_STREQ(FindWord(primary(), "Apple")->text, "Apple");
    EXPECT_EQ(FindWord(primary(), "APPLE"), nullptr);
    EXPECT_EQ(FindWord(primary(), "appl"), nullptr);
}

TEST_F(WordListTest, MemorySizeCountsWordsLinksAndTexts) {
    Append(primary(), {"a", "ab", "abc"});
    Append(secondary(), {"wxyz", "xyzw"});
    RebuildIndex(primary());
    RebuildIndex(secondary());
    WordNode* p = primary()->head;
    WordNode* s = secondary()->head;
    p->links = NewTransLink(s);
    s->links = NewTransLink(p);
    primary()->translation_count = secondary()->translation_count = 1;
    primary()->links_changed = secondary()->links_changed = 1;
    DICTIONARY_INFO info{};
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &info)->status, 1);
    EXPECT_EQ(info.memory_size, 143u);
    EXPECT_EQ(info.primary_index_size, 12u);
    EXPECT_EQ(info.secondary_index_size, 8u);
    EXPECT_EQ(info.primary_translation_count, 1u);
}

TEST_F(WordListTest, SettingALocaleKeepsOrderAndTables) {
    Append(primary(), {"a", "b"});
    RebuildIndex(primary());
    const std::uint8_t upper_e4 = primary()->upper_table[0xE4];
    DICTIONARY_INFO info{};
    info.primary_locale = 1049;  // Russian
    info.secondary_locale = 1050;
    ASSERT_EQ(DB_SetDictionaryInfo(db_, &info)->status, 1);
    EXPECT_EQ(primary()->locale, 1049u);
    EXPECT_EQ(primary()->upper_table[0xE4], upper_e4);
    EXPECT_STREQ(primary()->head->text, "a");
    EXPECT_NE(FindWord(primary(), "b"), nullptr);
}

TEST_F(WordListTest, EmptyingAListKeepsItsTables) {
    Append(primary(), {"a", "b"});
    RebuildIndex(primary());
    EmptyList(primary());
    EXPECT_EQ(primary()->head, nullptr);
    EXPECT_EQ(primary()->word_count, 0u);
    EXPECT_EQ(primary()->bucket_index['a' * 256].first, nullptr);
    EXPECT_EQ(primary()->texts_moved, 0);
    EXPECT_EQ(primary()->upper_table['a'], 'A');
    EXPECT_NE(primary()->regex_tables, nullptr);
    EXPECT_EQ(primary()->locale, 1033u);
}

}  // namespace
}  // namespace lexbase
