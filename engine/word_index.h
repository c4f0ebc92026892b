// A hash index from words to their nodes, for translation look-ups that would
// otherwise walk the stretch of a two-byte prefix, which in a large list holds
// thousands of words. One index per list serves every fold: it hashes the text
// through the list's accent-free upper table, the coarsest fold, and a look-up
// under a finer fold then keeps the candidates equal under that fold. A list
// compared by character hashes its characters folded without case and
// accents instead.
//
// The index is built once a list has had kLookupsBeforeIndex look-ups without
// one (building it costs about as much as a thousand walks, which a process
// that looks up a few words never earns back) and is kept up to date by
// InsertWord and RemoveWord. Built, its chains hold the words in list
// order, which a folded look-up needs (variants come back in list order); an
// insertion ends that, and folded look-ups then leave the index alone until
// the next rebuild. Anything that rebuilds the prefix index, changes the
// folding tables or empties the list drops it.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/word_list.h"

namespace lexbase {

inline constexpr std::uint32_t kLookupsBeforeIndex = 512;

// The nodes of `list` that may equal `word` under `table`, one of the list's
// comparison tables (or the identity table for exact look-ups), in list
// order. Candidates still need comparing.
class WordCandidates {
public:
    WordNode* Next();  // null at the end

private:
    friend bool FindCandidates(WordList*, const std::uint8_t*, bool, std::string_view,
                               WordCandidates*);
    const struct WordIndex* index_ = nullptr;
    std::uint32_t entry_ = 0;  // next entry + 1; 0 ends
};

// Starts a look-up of `word` (not empty) in the index of `list`, building the
// index when there is none and enough look-ups went without. `exact` says that `table` is the
// identity table, for which any order will do. False when the index can't serve: memory ran out, or
// the list's tables make `table` equate two bytes that the accent-free upper table keeps apart, or
// the chains lost their order and the look-up is folded, or the index is not built yet. The caller
// then searches as if there were no index.
bool FindCandidates(WordList* list, const std::uint8_t* table, bool exact, std::string_view word,
                    WordCandidates* candidates);

// Keeps the index of `list`, if any, in step with an inserted or a removed
// node (before the node is freed).
void IndexInsertedWord(WordList* list, WordNode* node);
void IndexRemovedWord(WordList* list, const WordNode* node);

// Frees the index of `list`; the next look-up builds it again.
void DropWordIndex(WordList* list);

}  // namespace lexbase
