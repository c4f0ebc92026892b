// The two steps that change which words a list holds: inserting a word at its
// place in the collation order and removing one. Both keep the prefix index
// usable without a rebuild: they touch only the two-byte bucket and the
// one-byte group of the word, and only the stretch of the list between them,
// so their cost follows the number of words sharing the prefix, not the size
// of the list. Ordinals of the entries they touch become estimates.
#pragma once

#include <cstddef>
#include <string_view>

#include "engine/word_list.h"

namespace lexbase {

enum class RemoveResult { kRemoved, kNotFound, kHasTranslations, kListEmpty };

// Finds `word` (1 to kMaxWordBytes bytes, no NUL) in `list`, or inserts a
// separately allocated copy in front of the first word that collates after
// it. Returns the node, or null when memory runs out or the text is empty or
// too long (the list is then unchanged). *inserted, when given, tells whether the word is new.
// Inserting raises the word count and text bytes and sets `texts moved` and `nodes moved`.
WordNode* InsertWord(WordList* list, std::string_view word, bool* inserted = nullptr);

// Removes `word` from `list` unless it still has translations. Removing the
// last word empties the list: blocks freed, index zeroed, change flags
// cleared; the locale and tables stay. The node and its text are freed when
// they were allocated alone; `word` may point into the node's own text.
RemoveResult RemoveWord(WordList* list, std::string_view word);

}  // namespace lexbase
