// SearchSwitches: the search options the menus and buttons switch: the kind
// of pattern (wildcards, regular expression, anagrams), ignoring accents,
// case, translating at once, the clipboard and the linking of the dual
// dictionary. A switch that changes what matches searches again; the status
// strip shows the options in force.
#pragma once

#include <functional>

#include "app/search_options.h"

class DictionaryPane;
class StatusStrip;

namespace wordbay {
class SearchController;
}  // namespace wordbay

class SearchSwitches {
public:
    // What a change asks of the window.
    struct Hooks {
        // The options changed: the check marks and the status strip follow.
        std::function<void()> optionsChanged;
        // The text window takes the matching switches.
        std::function<void(bool caseSensitive, bool ignoreAccents)> textWindowSwitches;
        // The window titles name the linked dictionary's list.
        std::function<void()> titlesChanged;
    };

    SearchSwitches(wordbay::SearchController* controller, DictionaryPane* mainPane,
                   StatusStrip* status, Hooks hooks);

    void togglePattern(wordbay::PatternKind kind);
    // Ignore accents, case sensitive, autotranslate, use the clipboard, link
    // or link all.
    void toggle(bool wordbay::SearchOptions::*option);
    // The status strip shows the options in force.
    void showOptions();

private:
    void set(const wordbay::SearchOptions& options);
    // Searches the main pane again, on the side whose edit box or list has the
    // focus (the primary side when neither has).
    void searchAgain();

    wordbay::SearchController* m_controller;
    DictionaryPane* m_pane;
    StatusStrip* m_status;
    Hooks m_hooks;
};
