// The editing operations behind the exported DB_ functions: words and
// translations added, deleted, changed and swapped, and a list re-sorted under
// a locale. The caller has checked the handle, the open dictionary and the
// arguments (list and direction numbers valid, texts non-empty and, where a
// text is stored, at most kMaxWordBytes long). Each operation sets the
// record's `word` and `word2` where it names a stored text, the lists' change
// flags and the changed flag, and answers a status with its message; it
// allocates per word and per link, and running out of memory is an ordinary
// failure.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/context.h"

namespace lexbase {

struct EditOutcome {
    std::int32_t status;  // 0 failure, 1 success, 2 success that changed data
    const char* message;  // a text of the message table
};

[[nodiscard]] EditOutcome AddWord(DB_CONTEXT* db, std::int32_t list, std::string_view word);

// The word goes to the list of `direction`, the translation to the other.
[[nodiscard]] EditOutcome AddTranslation(DB_CONTEXT* db, std::int32_t direction,
                                         std::string_view word, std::string_view translation);

[[nodiscard]] EditOutcome DeleteWord(DB_CONTEXT* db, std::int32_t list, std::string_view word);

[[nodiscard]] EditOutcome DeleteTranslation(DB_CONTEXT* db, std::int32_t direction,
                                            std::string_view word, std::string_view translation);

// Gives the old word's translations to the new text. When the new text is
// already a word of the list the two chains merge: the new word keeps its own
// translations and gains those of the old one that it lacks, in their order;
// every partner then links to the new word once.
[[nodiscard]] EditOutcome ChangeWord(DB_CONTEXT* db, std::int32_t list, std::string_view old_word,
                                     std::string_view new_word);

// Exchanges the places of two translations in the chain of `word`.
[[nodiscard]] EditOutcome SwapTranslations(DB_CONTEXT* db, std::int32_t list, std::string_view word,
                                           std::string_view translation1,
                                           std::string_view translation2);

// Sorts the list by the collation of `locale` and makes it the list's locale:
// folding tables, index and regex tables are rebuilt. Reports progress.
[[nodiscard]] EditOutcome ResortList(DB_CONTEXT* db, std::int32_t list, std::uint32_t locale);

}  // namespace lexbase
