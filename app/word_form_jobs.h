// WordFormJobs: the word-form look-up of the worker. A word typed (with
// automatic translation or Enter) or sent by the hot key that is not in the
// list goes to its base word: the list is positioned there and its
// translations shown, and the windows say which base word was used. A word
// found neither way gets suggestions. An exact hit that is also a form of
// another word ("spoke") is shown with that word beside it in the hot-key
// window.
//
// Every call runs on the worker thread with the engine lock held; the
// listing request carries the text, the options and the hot key's wait.
#pragma once

#include <functional>
#include <string>

#include "app/dictionaries.h"
#include "app/list_display.h"
#include "app/requests.h"
#include "app/slot_lexicon.h"
#include "app/window_report.h"
#include "app/window_updates.h"

namespace wordbay {

class WordFormJobs {
public:
    // `translate` translates a word of a list (ListingJobs).
    WordFormJobs(Dictionaries* dictionaries, ListDisplay* lists, WindowReport* report,
                 PaneUpdates* panes, WordFormUpdates* window,
                 std::function<void(const TranslateWord&)> translate)
        : d_(dictionaries)
        , lists_(lists)
        , report_(report)
        , panes_(panes)
        , window_(window)
        , translate_(std::move(translate)) {}

    // The text of the listing `r` is not in its list: looks for its base
    // word and shows it; true when one was shown. With `suggest` (the hot
    // key, Enter) a word found neither way gets suggestions.
    bool GoToBaseWord(const ListWords& r, bool suggest);
    // The text was found as it stands: offers the words it is also a form of
    // in the hot-key window.
    void OfferFormsBeside(const ListWords& r);

    // Takes back what the last look-up said, before a new search
    // (`hot_key`: the search is the hot key's).
    void Clear(bool hot_key);

    // Starts loading the speller of the language the main dictionary is
    // looked up from.
    static void PreloadSpellers(const DictionarySlot& slot);

private:
    bool Enabled(const ListWords& r) const;
    void Show(WordFormsNote note);

    Dictionaries* const d_;
    ListDisplay* const lists_;
    WindowReport* const report_;
    PaneUpdates* const panes_;
    WordFormUpdates* const window_;
    const std::function<void(const TranslateWord&)> translate_;
    SuggestionIndexes indexes_;
    bool shown_ = false;  // a note is shown
};

}  // namespace wordbay
