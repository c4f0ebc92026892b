// Merging one dictionary into another: every translation pair of the source
// that the target lacks is added to the target.
#pragma once

#include <cstdint>

#include "engine/context.h"

namespace lexbase {

struct MergeOutcome {
    std::int32_t added = 0;  // pairs that were new to the target
    bool failed = false;     // an addition failed; the target's result says why
};

// Walks the primary words of `source` in list order and each word's
// translations in chain order, adding each pair to `target` through
// DB_AddTranslation with `direction` (1: source primary words join the
// target's primary list; 2: its secondary list). Progress on `target` counts
// the source words done; clearing the target's loop flag stops the merge
// after the current word, keeping what was added. An addition that fails
// (memory ran out) ends the merge.
MergeOutcome MergeDictionary(DB_CONTEXT* target, const DB_CONTEXT* source, std::int32_t direction);

}  // namespace lexbase
