// The translation lookup behind DB_Translate: the word is found in one list,
// exactly or, under a fold, together with every variant that equals it under
// that fold, and the texts of the translations of what was found are handed
// back from the other list.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/context.h"
#include "engine/search_range.h"

namespace lexbase {

// Writes to output[0 .. count-1] the text pointers of the translations of
// `word` (non-empty) in the list that `direction` (1 or 2) names: exactly the
// word's own translations with Fold::kExact, else those of every word of the
// same length whose bytes match under `fold`, variant after variant in list
// order, each in its chain order. Repeats are kept. At most `max_results`
// pointers (a negative limit counts as 0); a further one clears the loop flag
// and ends the lookup, as does DB_EndLoop after the current variant.
//   status 1  "Translations found." when at least one pointer was written
//   status 0  "Translations not found." otherwise
// The caller has checked the handle, the open dictionary and the arguments.
[[nodiscard]] SearchOutcome Translate(DB_CONTEXT* db, std::int32_t direction, std::string_view word,
                                      Fold fold, const char** output, std::int32_t max_results);

}  // namespace lexbase
