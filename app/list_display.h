// ListDisplay: the four lists and edit boxes of the two panes as the
// controller fills them: it sends their words to the window and counts them,
// for the status line and the commands that depend on what a list shows.
// The worker calls it while it runs a request, the window's thread for the
// few changes made there (emptying a side, the editing commands).
#pragma once

#include <atomic>
#include <mutex>

#include "app/window_updates.h"

namespace wordbay {

class ListDisplay {
public:
    ListDisplay(PaneUpdates* panes, HotKeyUpdates* hot_key) : panes_(panes), hot_key_(hot_key) {}

    // Shows `words` in a list.
    void Show(SlotId slot, ListSide side, WordList words);
    void ClearList(SlotId slot, ListSide side);
    void ClearEdit(SlotId slot, ListSide side);
    // Empties both lists of a slot and the hot-key window (which may show
    // words of either dictionary).
    void ClearSlot(SlotId slot);
    // The words a list shows.
    WordList shown(SlotId slot, ListSide side) const;
    // The number of words a list shows.
    int shown_count(SlotId slot, ListSide side) const {
        return shown_[Index(slot)][Index(side)].load();
    }

private:
    static int Index(SlotId slot) { return static_cast<int>(slot); }
    static int Index(ListSide side) { return static_cast<int>(side); }

    PaneUpdates* const panes_;
    HotKeyUpdates* const hot_key_;
    std::atomic<int> shown_[2][2] = {};  // [slot][side]
    mutable std::mutex mutex_;           // words_
    WordList words_[2][2];               // [slot][side]
};

}  // namespace wordbay
