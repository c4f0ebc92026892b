// The key look-up: which stretch of a list a search key narrows the scan to,
// with exact ordinals after a rebuild and estimated ones after edits.
#include "engine/search_range.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/context.h"
#include "engine/word_insert.h"

namespace lexbase {
namespace {

class SearchRangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = DB_CreateHandle()->handle;
        ASSERT_EQ(DB_CreateNewDictionary(db_, 1033, 1033)->status, 1);
    }
    void TearDown() override { DB_DestroyHandle(db_); }
    WordList* list() { return &db_->lists[0]; }

    void Insert(const std::vector<std::string>& words) {
        for (const std::string& w : words) ASSERT_NE(InsertWord(list(), w), nullptr);
    }

    // The texts of the range, in order.
    std::vector<std::string> Texts(ScanRange range) {
        std::vector<std::string> texts;
        for (WordNode* n = range.first; n != nullptr && n != range.end; n = n->next) {
            texts.emplace_back(n->text, n->length);
        }
        return texts;
    }

    ScanRange Find(std::string_view key, Fold fold) {
        return KeyLookup(list(), fold, ComparisonTable(*list(), fold)).Find(key);
    }

    DB_CONTEXT* db_ = nullptr;
};

TEST_F(SearchRangeTest, RangeRunsFromTheEarliestToTheLatestCandidate) {
    // English order: a, ab, Ab, AB, abc, b, ba.
    Insert({"ba", "abc", "AB", "a", "b", "Ab", "ab"});
    RebuildIndex(list());
    list()->nodes_moved = 0;  // as after a load: ordinals are positions
    EXPECT_EQ(Texts(Find("ab", Fold::kExact)), (std::vector<std::string>{"ab", "Ab", "AB", "abc"}));
    EXPECT_EQ(Texts(Find("AB", Fold::kExact)), (std::vector<std::string>{"AB"}));
    EXPECT_EQ(Texts(Find("aB", Fold::kCase)), (std::vector<std::string>{"ab", "Ab", "AB", "abc"}));
    // One byte: the groups of the letter's variants, one-byte words included.
    EXPECT_EQ(Texts(Find("A", Fold::kCase)),
              (std::vector<std::string>{"a", "ab", "Ab", "AB", "abc"}));
    EXPECT_EQ(list()->scan_first->text, std::string("a"));
    EXPECT_EQ(list()->scan_end->text, std::string("b"));
    const ScanRange tail = Find("ba", Fold::kExact);
    EXPECT_EQ(tail.end, nullptr);
    EXPECT_EQ(Texts(tail), (std::vector<std::string>{"ba"}));
}

TEST_F(SearchRangeTest, NoCandidateGivesAnEmptyRange) {
    Insert({"ab", "cd"});
    list()->scan_first = list()->head;
    const ScanRange range = Find("xy", Fold::kCaseAccent);
    EXPECT_EQ(range.first, nullptr);
    EXPECT_EQ(range.end, nullptr);
    EXPECT_EQ(list()->scan_first, nullptr);
    EXPECT_EQ(Texts(Find("c", Fold::kExact)), (std::vector<std::string>{"cd"}));
}

TEST_F(SearchRangeTest, AccentFoldReachesAccentedWordsOutsideTheKeysOwnStretch) {
    // a-umlaut words sort among the a words by their letters, after "apa".
    Insert({"apa", "\xE4pfel", "ar", "b"});
    RebuildIndex(list());
    EXPECT_EQ(Texts(Find("ap", Fold::kExact)), (std::vector<std::string>{"apa"}));
    EXPECT_EQ(Texts(Find("ap", Fold::kAccent)), (std::vector<std::string>{"apa", "\xE4pfel"}));
    EXPECT_EQ(Texts(Find("\xC4P", Fold::kCaseAccent)),
              (std::vector<std::string>{"apa", "\xE4pfel"}));
}

TEST_F(SearchRangeTest, MisleadingEstimatesAfterEditsLoseNoVariant) {
    // "Ab" goes in after "ab" with both entries new, so its first ordinal
    // is estimated no higher than that of "ab", which lies before it.
    Insert({"ab", "Ab"});
    ASSERT_LE(list()->bucket_index['A' * 256 + 'b'].first_ordinal,
              list()->bucket_index['a' * 256 + 'b'].first_ordinal);
    EXPECT_EQ(Texts(Find("ab", Fold::kCase)), (std::vector<std::string>{"ab", "Ab"}));
    EXPECT_EQ(Texts(Find("AB", Fold::kCaseAccent)), (std::vector<std::string>{"ab", "Ab"}));
}

}  // namespace
}  // namespace lexbase
