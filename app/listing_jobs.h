// ListingJobs: the searches of the worker: listing the words of a list as the
// user types, translating the selected word (with the link into the dual
// dictionary and the hot-key window), palindromes and identical words.
//
// Every call runs on the worker thread with the engine lock held; the request
// carries the text, the options and where the results go.
#pragma once

#include <functional>

#include "app/dictionaries.h"
#include "app/list_display.h"
#include "app/requests.h"
#include "app/window_report.h"
#include "app/word_form_jobs.h"

namespace wordbay {

class ListingJobs {
public:
    // `search_waiting` tells whether a newer search waits, which makes the
    // one running moot.
    ListingJobs(Dictionaries* dictionaries, SharedSettings* settings, ListDisplay* lists,
                WindowReport* report, PaneUpdates* panes, HotKeyUpdates* hot_key,
                WordFormUpdates* word_forms, std::function<bool()> search_waiting)
        : d_(dictionaries)
        , settings_(settings)
        , lists_(lists)
        , report_(report)
        , panes_(panes)
        , hot_key_(hot_key)
        , search_waiting_(std::move(search_waiting))
        , word_forms_(dictionaries, lists, report, panes, word_forms,
                      [this](const TranslateWord& r) { Translate(r); }) {}

    // Lists the words of a side that match the text; with automatic
    // translation (or for the hot key), translates an exact match of the
    // source side too.
    void List(const ListWords& request);
    void Translate(const TranslateWord& request);
    void Palindromes(const ListPalindromes& request);
    void IdenticalWords(const ListIdenticalWords& request);

private:
    // Fills the dual dictionary's lists from the main translations just
    // shown; answers what its target list shows.
    WordList LinkIntoDual(const SearchOptions& o, ListSide main_from, const WordList& translations,
                          unsigned epoch);

    Dictionaries* const d_;
    SharedSettings* const settings_;
    ListDisplay* const lists_;
    WindowReport* const report_;
    PaneUpdates* const panes_;
    HotKeyUpdates* const hot_key_;
    const std::function<bool()> search_waiting_;
    WordFormJobs word_forms_;
};

}  // namespace wordbay
