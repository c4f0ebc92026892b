// FocusedControl: the search edit box or result list that has the focus, in
// the two dictionary panes or in the popup, and what the clipboard, editing
// and speech commands do with it.
#pragma once

#include <functional>
#include <string>

#include "app/dictionary_slot.h"

class DictionaryPane;
class PopupForm;
class QWidget;

namespace wordbay {
class SearchController;
}  // namespace wordbay

class FocusedControl {
public:
    // `popup` answers the popup window, or null before it is made; the
    // words are read through `controller`'s dictionaries.
    FocusedControl(DictionaryPane* mainPane, DictionaryPane* dualPane,
                   std::function<PopupForm*()> popup, const wordbay::SearchController* controller);

    // The focused search edit box or result list, or null.
    QWidget* control() const;
    // Copies the selected text of an edit box, or the selected words of a
    // list, to the clipboard.
    void copy();
    void paste();
    enum class Edit { kUndo, kCut, kSelectAll, kDelete };
    // Undoes, cuts, selects all or deletes in the focused edit box; a list
    // only selects all.
    void edit(Edit what);
    // The word of the focused control with its dictionary and list; false
    // when none has a word.
    bool word(wordbay::SlotId* slot, wordbay::ListSide* side, std::string* word) const;

private:
    DictionaryPane* m_panes[2];
    std::function<PopupForm*()> m_popup;
    const wordbay::SearchController* m_controller;
};
