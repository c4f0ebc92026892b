// Inserting and removing words: the place in the collation order, the index
// entries of the word's prefix, and the emptying of a list.
#include "engine/word_insert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "engine/context.h"
#include "engine/formats/pair_build.h"
#include "engine/tests/api_test_support.h"
#include "engine/tests/dictionary_checker.h"

namespace lexbase {
namespace {

using Words = std::vector<std::string>;

class WordInsertTest : public NewDictionaryTest {
protected:
    WordList* list() { return &db_->lists[0]; }
    void Insert(const Words& words) {
        for (const std::string& w : words) ASSERT_NE(InsertWord(list(), w), nullptr) << w;
    }
    const Bucket& Entry(const char* prefix) { return list()->bucket_index[BucketOf(prefix)]; }
    const Bucket& Group(char first) {
        return list()->bucket_index[static_cast<std::uint8_t>(first) * 256];
    }
    static std::string Text(const WordNode* node) {
        return node == nullptr ? "(none)" : std::string(node->text, node->length);
    }
};

TEST_F(WordInsertTest, FirstWordBecomesHeadTailAndBothEntries) {
    bool inserted = false;
    WordNode* node = InsertWord(list(), "dog", &inserted);
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(inserted);
    EXPECT_EQ(list()->head, node);
    EXPECT_EQ(list()->tail, node);
    EXPECT_EQ(node->flags, kTextAlone | kNodeAlone);
    EXPECT_EQ(Entry("do").first, node);
    EXPECT_EQ(Entry("do").last, node);
    EXPECT_EQ(Group('d').first, node);
    EXPECT_EQ(Group('d').last, node);
    EXPECT_EQ(list()->word_count, 1u);
    EXPECT_EQ(list()->text_bytes, 4u);
    EXPECT_EQ(list()->texts_moved, 1);
    EXPECT_EQ(list()->nodes_moved, 1);
    EXPECT_EQ(list()->links_changed, 0);

    EXPECT_EQ(InsertWord(list(), "dog", &inserted), node);
    EXPECT_FALSE(inserted);
    EXPECT_EQ(list()->word_count, 1u);
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(WordInsertTest, WordsTakeTheirPlaceInCollationOrder) {
    Insert({"pear", "apple", "Apple", "zoo", "apply", "\xE4pple", "b", "a", "ab"});
    EXPECT_TRUE(CheckDictionary(db_));
    const Words order = WordsInOrder(*list());
    EXPECT_EQ(order.front(), "a");
    EXPECT_EQ(order.back(), "zoo");
    // Case and accent variants sit together, before the next letters.
    const auto at = [&](const char* w) { return std::find(order.begin(), order.end(), w); };
    EXPECT_LT(at("apple"), at("Apple"));
    EXPECT_LT(at("Apple"), at("\xE4pple"));
    EXPECT_LT(at("\xE4pple"), at("apply"));
}

TEST_F(WordInsertTest, WordBeforeItsBucketsFirstBecomesItsFirst) {
    Insert({"abc"});
    WordNode* old_first = Entry("ab").first;
    Insert({"ab"});  // lands at the head, in front of the group's first word too
    EXPECT_EQ(Text(Entry("ab").first), "ab");
    EXPECT_EQ(Text(Group('a').first), "ab");
    EXPECT_EQ(Entry("ab").last, old_first);
    EXPECT_EQ(FindWordQuiet(list(), "abc"), old_first);
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(WordInsertTest, CollationCanPutAWordBeforeItsPrefixStretch) {
    // English order: abc, abd, Abd. "Abc" belongs between abc and abd, in
    // front of the first word of its own bucket (Ab) and of its group (A).
    Insert({"abc", "abd", "Abd", "x"});
    Insert({"Abc"});
    EXPECT_EQ(WordsInOrder(*list()), (Words{"abc", "Abc", "abd", "Abd", "x"}));
    EXPECT_EQ(Text(Entry("Ab").first), "Abc");
    EXPECT_EQ(Text(Entry("Ab").last), "Abd");
    EXPECT_EQ(Text(Group('A').first), "Abc");
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(WordInsertTest, NewBucketInAnExistingGroupMovesGroupEndsOnlyWhenOutside) {
    Insert({"ab", "ad", "b"});
    Insert({"ac"});
    EXPECT_EQ(Text(Entry("ac").first), "ac");
    EXPECT_EQ(Text(Entry("ac").last), "ac");
    EXPECT_EQ(Text(Group('a').first), "ab");
    EXPECT_EQ(Text(Group('a').last), "ad");
    Insert({"ae"});
    EXPECT_EQ(Text(Group('a').last), "ae");
    Insert({"aa"});
    EXPECT_EQ(Text(Group('a').first), "aa");
    EXPECT_EQ(Text(Group('a').last), "ae");
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(WordInsertTest, OrdinalEstimatesSaturateInsteadOfOverflowing) {
    Insert({"abc"});
    Bucket& ab = list()->bucket_index[BucketOf("ab")];
    Bucket& a = list()->bucket_index['a' * 256];
    ab.first_ordinal = a.first_ordinal = INT32_MIN;
    ab.last_ordinal = a.last_ordinal = INT32_MAX;
    Insert({"ab", "abd"});
    EXPECT_EQ(ab.first_ordinal, INT32_MIN);
    EXPECT_EQ(a.first_ordinal, INT32_MIN);
    EXPECT_EQ(ab.last_ordinal, INT32_MAX);
    ab.first_ordinal = INT32_MAX;
    ab.last_ordinal = INT32_MIN;
    EXPECT_EQ(RemoveWord(list(), "ab"), RemoveResult::kRemoved);
    EXPECT_EQ(RemoveWord(list(), "abd"), RemoveResult::kRemoved);
    EXPECT_EQ(ab.first_ordinal, INT32_MAX);
    EXPECT_EQ(ab.last_ordinal, INT32_MIN);
}

TEST_F(WordInsertTest, WordAfterTheTailExtendsItsEntries) {
    Insert({"ab"});
    Insert({"abc"});
    EXPECT_EQ(Text(Entry("ab").last), "abc");
    EXPECT_EQ(Text(Group('a').last), "abc");
    // Found again rather than stored twice.
    bool inserted = true;
    EXPECT_EQ(Text(InsertWord(list(), "abc", &inserted)), "abc");
    EXPECT_FALSE(inserted);
    Insert({"a"});
    Insert({"a\xE4"});
    EXPECT_EQ(list()->word_count, 4u);
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(WordInsertTest, OneByteWordsShareTheirGroupEntry) {
    Insert({"ba", "b", "B", "bz"});
    EXPECT_EQ(Text(Group('b').first), "b");
    EXPECT_EQ(Text(Group('b').last), "bz");
    EXPECT_EQ(Text(Group('B').first), "B");
    EXPECT_EQ(Text(Group('B').last), "B");
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(WordInsertTest, WordsCollatingEqualKeepInsertionOrderAfterThem) {
    // A soft hyphen (0xAD) is ignored by the collation: these compare equal.
    Insert({"ab", "ab\xAD",
            "a\xAD"
            "b"});
    EXPECT_TRUE(CheckDictionary(db_));
    const Words order = WordsInOrder(*list());
    EXPECT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], "ab");
    EXPECT_EQ(order[1], "ab\xAD");
}

TEST_F(WordInsertTest, RemovingMendsTheEntriesOfThePrefix) {
    Insert({"ab", "abc", "abd", "b"});
    EXPECT_EQ(RemoveWord(list(), "ab"), RemoveResult::kRemoved);
    EXPECT_EQ(Text(Entry("ab").first), "abc");
    EXPECT_EQ(Text(Group('a').first), "abc");
    EXPECT_EQ(RemoveWord(list(), "abd"), RemoveResult::kRemoved);
    EXPECT_EQ(Text(Entry("ab").last), "abc");
    EXPECT_EQ(Text(Group('a').last), "abc");
    EXPECT_TRUE(CheckDictionary(db_));
    EXPECT_EQ(RemoveWord(list(), "abc"), RemoveResult::kRemoved);
    const Bucket& ab = Entry("ab");
    EXPECT_EQ(ab.first, nullptr);
    EXPECT_EQ(ab.last, nullptr);
    EXPECT_EQ(ab.first_ordinal, 0);
    EXPECT_EQ(ab.last_ordinal, 0);
    EXPECT_EQ(Group('a').first, nullptr);
    EXPECT_EQ(Text(list()->head), "b");
    EXPECT_EQ(list()->word_count, 1u);
    EXPECT_EQ(list()->text_bytes, 2u);
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(WordInsertTest, RemovingAOneByteWordKeepsItsGroupsOtherWords) {
    Insert({"c", "ca", "cb"});
    EXPECT_EQ(RemoveWord(list(), "c"), RemoveResult::kRemoved);
    EXPECT_EQ(Text(Group('c').first), "ca");
    EXPECT_EQ(Text(Group('c').last), "cb");
    EXPECT_EQ(RemoveWord(list(), "cb"), RemoveResult::kRemoved);
    EXPECT_EQ(Text(Group('c').last), "ca");
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(WordInsertTest, RemovalAnswersMissesAndRefusesWordsWithTranslations) {
    EXPECT_EQ(RemoveWord(list(), "a"), RemoveResult::kListEmpty);
    Insert({"tree", "trek"});
    EXPECT_EQ(RemoveWord(list(), "tr"), RemoveResult::kNotFound);
    EXPECT_EQ(RemoveWord(list(), "xy"), RemoveResult::kNotFound);
    WordNode* tree = FindWordQuiet(list(), "tree");
    WordNode* partner = InsertWord(&db_->lists[1], "stablo");
    tree->links = NewTransLink(partner);
    partner->links = NewTransLink(tree);
    db_->lists[0].translation_count = db_->lists[1].translation_count = 1;
    db_->lists[0].links_changed = db_->lists[1].links_changed = 1;
    EXPECT_EQ(RemoveWord(list(), "tree"), RemoveResult::kHasTranslations);
    EXPECT_EQ(list()->word_count, 2u);
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(WordInsertTest, RemovingTheLastWordEmptiesTheList) {
    Insert({"only"});
    FindWord(list(), "only");  // the scan range points at the word
    // The word's own text as the key: the list frees it.
    EXPECT_EQ(RemoveWord(list(), list()->head->text), RemoveResult::kRemoved);
    EXPECT_EQ(list()->head, nullptr);
    EXPECT_EQ(list()->tail, nullptr);
    EXPECT_EQ(list()->word_count, 0u);
    EXPECT_EQ(list()->text_bytes, 0u);
    EXPECT_EQ(list()->texts_moved, 0);
    EXPECT_EQ(list()->nodes_moved, 0);
    EXPECT_EQ(list()->links_changed, 0);
    EXPECT_EQ(list()->scan_first, nullptr);
    EXPECT_EQ(Entry("on").first, nullptr);
    EXPECT_EQ(list()->upper_table['a'], 'A');  // tables stay for the next word
    Insert({"again"});
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(WordInsertTest, WordsOfBlocksAndEditsMixAndTheBlocksGoWithTheLastWord) {
    // A list built from pairs keeps its words in blocks.
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"cat", "macka"}, {"car", "auto"}, {"dog", "pas"}};
    PairArray pairs;
    ASSERT_TRUE(pairs.Reserve(texts.size()));
    for (const auto& [p, s] : texts) ASSERT_TRUE(pairs.Add(p, s));
    DB_Close(db_);
    db_->lists[0].locale = 1033;
    db_->lists[1].locale = 1050;
    ASSERT_TRUE(BuildFromPairs(db_, pairs.data(), pairs.size()));
    ASSERT_NE(list()->node_block, nullptr);
    Insert({"cab", "cow"});
    EXPECT_TRUE(CheckDictionary(db_));

    // Take every translation away, then every word.
    for (WordList& l : db_->lists) {
        for (WordNode* node = l.head; node != nullptr; node = node->next) node->links = nullptr;
        l.translation_count = 0;
        l.links_changed = 1;
    }
    for (const char* w : {"car", "cab", "dog", "cat"}) {
        EXPECT_EQ(RemoveWord(list(), w), RemoveResult::kRemoved) << w;
        EXPECT_TRUE(CheckDictionary(db_)) << w;
    }
    EXPECT_NE(list()->node_block, nullptr);
    EXPECT_EQ(RemoveWord(list(), "cow"), RemoveResult::kRemoved);
    EXPECT_EQ(list()->node_block, nullptr);
    EXPECT_EQ(list()->text_block, nullptr);
    EXPECT_EQ(list()->link_block, nullptr);
    EXPECT_TRUE(CheckDictionary(db_));
}

}  // namespace
}  // namespace lexbase
