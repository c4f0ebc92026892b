// ListingJobs: the search jobs of the worker: listing the words of a list as
// the user types, translating the selected word (with the link into the dual
// dictionary and the hot-key window), palindromes and identical words.
//
// Every call runs on the worker thread with the engine lock held.
#pragma once

#include "app/job_context.h"
#include "app/word_form_jobs.h"

namespace wordbay {

class ListingJobs {
public:
    explicit ListingJobs(JobContext& context)
        : c_(context)
        , word_forms_(context, [this](SlotId id, ListSide side) { Translate(id, side); }) {}

    // The look-up of words that are not in the list (base words, suggestions).
    WordFormJobs& word_forms() { return word_forms_; }

    // Lists the words of `side` that match its edit box; with automatic
    // translation, translates an exact match of the source side too.
    void List(SlotId id, ListSide side);
    // Translates the word selected in `side` into the other list.
    void Translate(SlotId id, ListSide side);
    // The palindromes of every list of the main (and, in dual mode, the dual)
    // dictionary.
    void Palindromes();
    // The words spelled the same in both lists of each dictionary.
    void IdenticalWords();

private:
    // Fills the dual dictionary's lists from the main translations just shown.
    void LinkIntoDual(const SearchOptions& o, ListSide main_from);
    // Hands the translations to the hot-key window when a hot-key search waits.
    void ShowHotKeyResult(const SearchOptions& o, SlotId id, ListSide target);

    JobContext& c_;
    WordFormJobs word_forms_;
};

}  // namespace wordbay
