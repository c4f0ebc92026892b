// SaveMerge: the edits of an EditJournal replayed on the dictionary as
// another program saved it meanwhile, so that a save keeps both that
// program's changes and the user's. A word that both changed (its state in
// the file is not what the journal first saw) makes the merge unsound,
// unless both sides only added translations to it; then nothing is replayed
// and the caller asks the user what to do.
#pragma once

#include <string>
#include <vector>

#include "app/edit_journal.h"
#include "engine/lexbase.h"

namespace wordbay {

struct MergeReport {
    enum class Outcome {
        kMerged,    // every edit is in `disk` now
        kConflict,  // the same words were changed both ways; see `conflicts`
        kFailed,    // the engine failed (out of memory): `message`
    };
    Outcome outcome = Outcome::kMerged;
    // The words changed both ways; empty for a conflict of the descriptions
    // or of an edit that can't be replayed.
    std::vector<WordRef> conflicts;
    std::string message;
};

// Replays the edits of `journal` on `disk`, a dictionary loaded from the file
// as it is now (the engine lock held, `disk` used by nobody else). On a
// conflict or a failure `disk` may hold some of the edits; throw it away.
MergeReport MergeEdits(DB_HANDLE disk, const EditJournal& journal);

}  // namespace wordbay
