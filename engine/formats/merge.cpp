#include "engine/formats/merge.h"

#include "engine/lexbase.h"

namespace lexbase {

MergeOutcome MergeDictionary(DB_CONTEXT* target, const DB_CONTEXT* source, std::int32_t direction) {
    MergeOutcome outcome;
    StartLoop(target);
    StartProgress(target, source->lists[0].word_count);
    for (const WordNode* word = source->lists[0].head; word != nullptr; word = word->next) {
        for (const TransLink* link = word->links; link != nullptr; link = link->next) {
            const DB_RESULT* added =
                DB_AddTranslation(target, direction, word->text, link->target->text);
            if (added->status == 0) {
                outcome.failed = true;
                return outcome;
            }
            if (added->status == 2) ++outcome.added;
        }
        AdvanceProgress(target);
        if (!LoopGoesOn(target)) break;
    }
    return outcome;
}

}  // namespace lexbase
