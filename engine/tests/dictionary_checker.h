// Test helpers that look inside an open dictionary: a checker of every
// structural rule of the two word lists, and a plain copy of what the
// dictionary holds for comparison with a reference model.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/context.h"

namespace lexbase {

// Walks both lists of `db` and checks that prev and next agree, head and tail
// are the ends, the word count and text bytes match the walk, texts are
// non-empty, unique and of their stated length, neighbours are in collation
// order, an empty list holds no block, every link targets a word of the other
// list which links back as often (a repeated pair of an import has two links
// each way), the translation counts match the links, and every index entry is
// empty exactly when no word has its prefix and otherwise has the earliest and
// the latest such word as its ends. Ordinals are not checked: edits leave
// estimates. The failure message names the first broken rule.
::testing::AssertionResult CheckDictionary(const DB_CONTEXT* db);

// Every word of a list with its translations in chain order.
using ListContents = std::map<std::string, std::vector<std::string>>;

struct DictionaryContents {
    ListContents primary;
    ListContents secondary;
    bool operator==(const DictionaryContents&) const = default;
};

DictionaryContents ContentsOf(const DB_CONTEXT* db);

// A handle left empty by a failed load: not ready, no words, no blocks, no
// description.
::testing::AssertionResult IsEmptyHandle(const DB_CONTEXT* db);

// Every translation of the primary list as (word, translation): word order,
// then chain order.
using PairList = std::vector<std::pair<std::string, std::string>>;
PairList PrimaryPairs(const DB_CONTEXT* db);

// The texts of a list in list order.
std::vector<std::string> WordsInOrder(const WordList& list);

}  // namespace lexbase
