// Prefix tables: for prefix lists of two and more characters, the words of a
// list sorted by their first two, three or four folded characters, then by
// their place in the list. A prefix list then takes only the words that begin
// as it does, instead of testing the whole stretch of its first two bytes
// (under a fold, that of every case and accent variant of them).
//
// A table is built for one fold and length once kPrefixListsBeforeTable such
// lists went without it (a process that lists one prefix never earns the
// build back), and serves while the list's words are its node block in list
// order, as a load or an import leaves them: an edit that inserts, removes or
// renames a word makes the lists walk the stretch again, and anything that
// rebuilds the prefix index, changes the folding tables or empties the list
// drops the tables.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/fold.h"
#include "engine/word_list.h"

namespace lexbase {

inline constexpr std::uint32_t kPrefixListsBeforeTable = 16;

// The words of a list that may begin with a key, in list order. Each still
// needs testing unless all_match() says that every one begins with the key.
class PrefixCandidates {
public:
    WordNode* Next() { return next_ != end_ ? &nodes_[*next_++] : nullptr; }
    bool all_match() const { return all_match_; }

private:
    friend bool FindPrefixCandidates(WordList*, Fold, std::string_view, PrefixCandidates*);
    WordNode* nodes_ = nullptr;
    const std::uint32_t* next_ = nullptr;
    const std::uint32_t* end_ = nullptr;
    bool all_match_ = false;
};

// Starts a prefix list of `key` in `list` under `fold` from its table,
// building the table when enough lists went without. False when no table can
// serve: the key is shorter than two characters (bytes, for a list compared
// by byte), the list was edited since it was built, memory ran out, or not
// enough lists asked yet. The caller then walks the key's stretch.
bool FindPrefixCandidates(WordList* list, Fold fold, std::string_view key,
                          PrefixCandidates* candidates);

// Frees the prefix tables of `list`.
void DropPrefixTables(WordList* list);

}  // namespace lexbase
