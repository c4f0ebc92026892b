// The words a list shows and the arrays the worker fills for it.
#include "app/word_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace wordbay::testing {
namespace {

using Words = std::vector<std::string>;

Words WordsOf(const WordList& list) {
    Words words;
    for (int i = 0; i < list.count(); ++i) words.emplace_back(list[i]);
    return words;
}

TEST(ResultArraysTest, AnArrayIsFilledAgainOnlyOnceNoListHoldsIt) {
    ResultArrays arrays;
    std::shared_ptr<PointerArray> first = arrays.Free(3);
    ASSERT_EQ(first->size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(first->data()[i], nullptr);
    const char* words[] = {"house", "household"};
    first->data()[0] = words[0];
    first->data()[1] = words[1];
    WordList shown(first, 2, nullptr, 0);
    first.reset();

    // The list shows the first array: the next fill takes another.
    std::shared_ptr<PointerArray> second = arrays.Free(3);
    EXPECT_NE(second->data(), shown.items());
    EXPECT_EQ(WordsOf(shown), (Words{"house", "household"}));
    second.reset();
    // Once the list lets go, its array serves again, grown when too small.
    const char* const* old_items = shown.items();
    shown = WordList();
    std::shared_ptr<PointerArray> again = arrays.Free(2);
    EXPECT_EQ(again->data(), old_items);
    again.reset();
    EXPECT_GE(arrays.Free(1'000'000)->size(), 1'000'000u);
}

TEST(WordListTest, ChangesMakeNewListsAndKeepTheWordsAlive) {
    auto words = std::make_shared<Words>(Words{"kuca", "dom", "zgrada"});
    auto array = std::make_shared<PointerArray>(3);
    for (std::size_t i = 0; i < 3; ++i) array->data()[i] = (*words)[i].c_str();
    std::weak_ptr<Words> alive = words;
    const WordList list(array, 3, words, 7);
    words.reset();
    array.reset();
    EXPECT_FALSE(alive.expired());  // the list holds them

    EXPECT_EQ(WordsOf(list.Without(1)), (Words{"kuca", "zgrada"}));
    EXPECT_EQ(WordsOf(list.Swapped(0, 2)), (Words{"zgrada", "dom", "kuca"}));
    EXPECT_EQ(WordsOf(list.WithRow(1, list[0])), (Words{"kuca", "kuca", "zgrada"}));
    const WordList longer = list.Appended(list[1]);
    EXPECT_EQ(WordsOf(longer), (Words{"kuca", "dom", "zgrada", "dom"}));
    EXPECT_EQ(longer.epoch(), 7u);
    EXPECT_EQ(list.WithEpoch(9).epoch(), 9u);
    // The list itself never changes.
    EXPECT_EQ(WordsOf(list), (Words{"kuca", "dom", "zgrada"}));
    // Out of range, nothing changes.
    EXPECT_EQ(WordsOf(list.Without(5)), (Words{"kuca", "dom", "zgrada"}));

    const WordList copy = WordList::Copy({"a", "b"}, 0);
    EXPECT_EQ(WordsOf(copy), (Words{"a", "b"}));
    EXPECT_TRUE(WordList().empty());
    EXPECT_EQ(WordList().items(), nullptr);
}

}  // namespace
}  // namespace wordbay::testing
