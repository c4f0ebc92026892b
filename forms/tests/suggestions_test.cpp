#include "forms/suggestions.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "forms/tests/fake_lexicon.h"

namespace forms {
namespace {

int Distance(const char* a, const char* b, int limit = 2) {
    return BoundedEditDistance(FoldedChars(a), FoldedChars(b), limit);
}

TEST(SuggestionsTest, EditDistanceCountsASwapOfNeighboursAsOne) {
    EXPECT_EQ(Distance("house", "house"), 0);
    EXPECT_EQ(Distance("hause", "house"), 1);
    EXPECT_EQ(Distance("hosue", "house"), 1);
    EXPECT_EQ(Distance("hous", "house"), 1);
    EXPECT_EQ(Distance("houses", "house"), 1);
    EXPECT_EQ(Distance("hsoue", "house"), 2);
    EXPECT_EQ(Distance("hxxse", "house"), 2);
    EXPECT_EQ(Distance("", "ab"), 2);
    EXPECT_EQ(Distance("k\u00FCsse", "kusse"), 1);
    EXPECT_EQ(Distance("K\u00DC\u00DFE", "k\u00FCsse"), 2);
}

TEST(SuggestionsTest, EditDistanceStopsPastItsLimit) {
    EXPECT_EQ(Distance("abcdef", "uvwxyz"), 3);
    EXPECT_EQ(Distance("a", "abcdefgh"), 3);
    EXPECT_EQ(Distance("kitten", "sitting", 3), 3);
    EXPECT_EQ(Distance("kitten", "sitting", 2), 3);
    EXPECT_EQ(Distance("abcdefghij", "abcdefghij", 0), 0);
    EXPECT_EQ(Distance("abcdefghij", "abcdefghix", 0), 1);
}

TEST(SuggestionsTest, ClosestFirstThenShorterAndCaseVariantsOnce) {
    FakeLexicon lexicon{{"House", {}}, {"house", {}},    {"horse", {}}, {"houses", {}},
                        {"mouse", {}}, {"hausse", {}},   {"hose", {}},  {"cabbage", {}},
                        {"hut", {}},   {"household", {}}};
    SuggestionIndex index;
    index.Build(lexicon);
    const auto near = index.Find("hause", 2, 10);
    ASSERT_FALSE(near.empty());
    std::vector<std::string> words;
    for (const auto& n : near) words.push_back(n.word);
    // Distance 1: House (once for both cases), hausse, hose; then distance 2.
    EXPECT_EQ(words.front(), "House");
    EXPECT_EQ(near.front().distance, 1);
    EXPECT_EQ(std::count(words.begin(), words.end(), "house"), 0);
    EXPECT_NE(std::find(words.begin(), words.end(), "horse"), words.end());
    EXPECT_EQ(std::find(words.begin(), words.end(), "cabbage"), words.end());
    EXPECT_EQ(std::find(words.begin(), words.end(), "household"), words.end());
    for (std::size_t i = 1; i < near.size(); ++i) EXPECT_LE(near[i - 1].distance, near[i].distance);
    EXPECT_EQ(index.Find("hause", 2, 2).size(), 2u);
    EXPECT_TRUE(index.Find(std::string(100, 'a'), 2, 10).empty());
}

}  // namespace
}  // namespace forms
