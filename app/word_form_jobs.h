// WordFormJobs: the word-form look-up of the worker. A word typed (with
// automatic translation or Enter) or sent by the hot key that is not in the
// list goes to its base word: the list is positioned there and its
// translations shown, and the windows say which base word was used. A word
// found neither way gets suggestions. An exact hit that is also a form of
// another word ("spoke") is shown with that word beside it in the hot-key
// window.
//
// Every call runs on the worker thread with the engine lock held.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "app/job_context.h"
#include "app/slot_lexicon.h"

namespace wordbay {

class WordFormJobs {
public:
    // `translate` translates the word selected in a list (ListingJobs).
    WordFormJobs(JobContext& context, std::function<void(SlotId, ListSide)> translate)
        : c_(context), translate_(std::move(translate)) {}

    // The text of `side`'s edit box (8-bit) is not in the list: looks for
    // its base word and shows it; true when one was shown. With `suggest`
    // (the hot key, Enter) a word found neither way gets suggestions.
    bool GoToBaseWord(SlotId id, ListSide side, const std::string& text, bool suggest);
    // The text was found as it stands: offers the words it is also a form of
    // in the hot-key window.
    void OfferFormsBeside(SlotId id, ListSide side, const std::string& text);

    // Takes back what the last look-up said, before a new search
    // (`hot_key`: the search is the hot key's).
    void Clear(bool hot_key);

    // Marks the next listing as asked for by Enter in an edit box: it looks
    // for base words and suggestions even without automatic translation.
    void SuggestNext() { suggest_next_.store(true); }
    // Whether the listing was so asked for; clears the mark.
    bool TakeSuggestNext() { return suggest_next_.exchange(false); }
    // Starts loading the spellers of the main dictionary's languages.
    static void PreloadSpellers(const DictionarySlot& slot);

private:
    bool Enabled(SlotId id) const;
    void Show(const WordFormsNote& note);

    JobContext& c_;
    std::function<void(SlotId, ListSide)> translate_;
    SuggestionIndexes indexes_;
    std::atomic<bool> suggest_next_{false};
    bool shown_ = false;  // a note is shown (worker thread)
};

}  // namespace wordbay
