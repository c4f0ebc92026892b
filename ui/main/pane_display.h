// PaneDisplay: the two dictionary panes as the controller fills them: the
// words of their lists (the lists hold them while they show them), the
// selections, the texts the program writes into the edit boxes, the enabling
// while a dictionary loads, and the looks, names and direction of the
// dictionary a pane shows.
#pragma once

#include <cstdint>
#include <string>

#include "app/dictionary_slot.h"
#include "app/word_list.h"

class DictionaryPane;
class PaneSignals;

namespace wordbay {
class SearchController;
}  // namespace wordbay

class PaneDisplay {
public:
    PaneDisplay(DictionaryPane* mainPane, DictionaryPane* dualPane,
                const wordbay::SearchController* controller)
        : m_panes{mainPane, dualPane}, m_controller(controller) {}

    // Applies the pane updates of `updates` from now on, but the showing of
    // a dictionary and of a translation, which concern other parts too.
    void listenTo(PaneSignals* updates);

    // Shows `words` in a list; words of an epoch before the controller's are
    // stale and dropped.
    void showList(wordbay::SlotId slot, wordbay::ListSide side, wordbay::WordList words);
    void selectEntry(wordbay::SlotId slot, wordbay::ListSide side, int index, unsigned epoch);
    void setEditText(wordbay::SlotId slot, wordbay::ListSide side, const std::string& text);
    void enableControls(wordbay::SlotId slot, bool enabled);
    // The dictionary of `slot` as the slot holds it now; false (nothing
    // changes but the names) when `loaded` was asked of an empty slot.
    bool showDictionary(wordbay::SlotId slot, bool loaded);
    void setCodePages(wordbay::SlotId slot, std::uint32_t primary, std::uint32_t secondary);
    void focusEdit(wordbay::SlotId slot, wordbay::ListSide side);

private:
    DictionaryPane* pane(wordbay::SlotId slot) const {
        return m_panes[slot == wordbay::SlotId::kMain ? 0 : 1];
    }

    DictionaryPane* m_panes[2];
    const wordbay::SearchController* m_controller;
};
