#include "app/list_display.h"

#include <utility>

namespace wordbay {

WordList ListDisplay::shown(SlotId slot, ListSide side) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return words_[Index(slot)][Index(side)];
}

void ListDisplay::Show(SlotId slot, ListSide side, WordList words) {
    shown_[Index(slot)][Index(side)].store(words.count());
    {
        std::lock_guard<std::mutex> lock(mutex_);
        words_[Index(slot)][Index(side)] = words;
    }
    panes_->ShowList(slot, side, std::move(words));
}

void ListDisplay::ClearList(SlotId slot, ListSide side) {
    shown_[Index(slot)][Index(side)].store(0);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        words_[Index(slot)][Index(side)] = WordList();
    }
    panes_->ShowList(slot, side, WordList());
}

void ListDisplay::ClearEdit(SlotId slot, ListSide side) { panes_->SetEditText(slot, side, ""); }

void ListDisplay::ClearSlot(SlotId slot) {
    ClearList(slot, ListSide::kPrimary);
    ClearList(slot, ListSide::kSecondary);
    hot_key_->HotKeyClear();
}

}  // namespace wordbay
