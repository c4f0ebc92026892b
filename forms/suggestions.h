// Suggestions from a word list: the words within two edits of a misspelt
// one (an insertion, a deletion, a substitution, or two neighbours swapped
// each count as one), closest first.
//
// The index keeps every word of the list once, folded to lower case, with
// its length and a 64-bit mask of the characters it holds: a word whose
// length or characters differ by more than two edits is passed over without
// comparing it, and the comparison itself stops as soon as it passes two.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "forms/lexicon.h"

namespace forms {

// `utf8` as lower-case characters, the form the distance compares.
std::u32string FoldedChars(std::string_view utf8);

// The edit distance of `a` and `b` with swaps of neighbours (optimal string
// alignment), or `limit` + 1 once it is known to exceed `limit`.
int BoundedEditDistance(std::u32string_view a, std::u32string_view b, int limit);

class SuggestionIndex {
public:
    // Reads every word of `lexicon`.
    void Build(Lexicon& lexicon);
    bool built() const { return built_; }
    std::size_t size() const { return entries_.size(); }

    struct Near {
        std::string word;  // as the list holds it (UTF-8)
        int distance;
    };
    // The words within `max_distance` edits of `word` (case ignored, the word
    // itself left out), closest first, then the shorter, then in list order;
    // at most `limit`.
    std::vector<Near> Find(std::string_view word, int max_distance, std::size_t limit) const;

private:
    struct Entry {
        std::uint32_t folded;  // offset of the folded characters in folded_
        std::uint32_t text;    // offset of the list's text in texts_
        std::uint64_t mask;    // the characters held, one bit per hash
        std::uint16_t length;  // folded characters
        std::uint16_t text_length;
    };
    std::vector<Entry> entries_;
    std::u32string folded_;
    std::string texts_;
    bool built_ = false;
};

}  // namespace forms
