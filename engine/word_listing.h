// The word listing behind DB_List and DB_ListIdenticalWords: one walk over a
// list, or over the stretch that the key look-up gives, that hands back
// pointers to the texts of the matching words in list order. The walk stores
// at most `max_results` pointers, reports progress in the modes that must see
// every word, and stops after the current word once the handle's loop flag is
// cleared (DB_EndLoop from another thread, or a match beyond the limit).
#pragma once

#include <cstdint>

#include "engine/context.h"
#include "engine/search_range.h"

namespace lexbase {

// Lists the words of list `list` (1 or 2) that match `pattern` under `mode`
// (DB_LIST_PREFIX .. DB_LIST_ANAGRAM_EXACT) and `fold`, writing their text
// pointers to output[0 .. count-1]. `pattern` is NUL-terminated and non-empty,
// except in DB_LIST_PALINDROME, which ignores it (null allowed). A negative
// `max_results` counts as 0. The caller has checked the handle, the open
// dictionary and the arguments.
//   status 1  "Words found." (also with no match, after a stop, and when the
//             scratch buffer of an accent-insensitive regular expression
//             can't grow: the words found so far); with a regular expression
//             that used up its work limits on some word, the words found and
//             msg::kRegexIncomplete instead
//   status 0  "Memory allocation error!" or "PCRE error!" (regular expression)
// The progress reads 0 again when the call returns.
[[nodiscard]] SearchOutcome ListWords(DB_CONTEXT* db, std::int32_t list, const char* pattern,
                                      Fold fold, std::uint32_t mode, const char** output,
                                      std::int32_t max_results);

// Lists the primary words for which the secondary list holds a word of the
// same length whose every byte matches under `fold`, compared through the
// primary list's comparison table. Each primary word appears at most once, so
// `output` needs room for the primary word count. Always status 1 "Words
// found.".
[[nodiscard]] SearchOutcome ListIdenticalWords(DB_CONTEXT* db, Fold fold, const char** output);

}  // namespace lexbase
