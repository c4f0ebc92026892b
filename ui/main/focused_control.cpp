#include "ui/main/focused_control.h"

#include <QApplication>
#include <QClipboard>

#include "app/search_controller.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/search_edit.h"
#include "ui/popup/popup_form.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_list_box.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

// The selected word of `list` as the engine stores it; empty without one.
std::string selectedWord(const WListBox* list) {
    const int row = list->curSel();
    if (row < 0) return {};
    const char* text = reinterpret_cast<const char*>(list->itemData(row));
    return text != nullptr ? text : "";
}

}  // namespace

FocusedControl::FocusedControl(DictionaryPane* mainPane, DictionaryPane* dualPane,
                               std::function<PopupForm*()> popup,
                               const wordbay::SearchController* controller)
    : m_panes{mainPane, dualPane}, m_popup(std::move(popup)), m_controller(controller) {}

QWidget* FocusedControl::control() const {
    QWidget* focus = QApplication::focusWidget();
    for (DictionaryPane* p : m_panes) {
        const int side = p->sideOf(focus);
        if (side < 0) continue;
        const ListSide s = side == 0 ? ListSide::kPrimary : ListSide::kSecondary;
        if (focus == p->edit(s)) return p->edit(s);
        return p->list(s);
    }
    PopupForm* popup = m_popup();
    if (popup != nullptr && focus != nullptr) {
        if (focus == static_cast<QWidget*>(popup->edit())) return popup->edit();
        if (focus == static_cast<QWidget*>(popup->list())) return popup->list();
    }
    return nullptr;
}

void FocusedControl::copy() {
    QWidget* control = this->control();
    if (auto* edit = qobject_cast<WEdit*>(control)) {
        edit->copy();
        return;
    }
    auto* list = qobject_cast<WListBox*>(control);
    if (list == nullptr) return;
    if (!list->isSelectAll() && list->curSel() < 0) return;
    QApplication::clipboard()->setText(list->text());
}

void FocusedControl::paste() {
    if (auto* edit = qobject_cast<WEdit*>(control())) edit->paste();
}

void FocusedControl::edit(Edit what) {
    QWidget* control = this->control();
    if (auto* list = qobject_cast<WListBox*>(control)) {
        if (what == Edit::kSelectAll) list->selectAll();
        return;
    }
    auto* edit = qobject_cast<WEdit*>(control);
    if (edit == nullptr) return;
    switch (what) {
        case Edit::kUndo:
            edit->undo();
            break;
        case Edit::kCut:
            edit->cut();
            break;
        case Edit::kSelectAll:
            edit->selectAll();
            break;
        case Edit::kDelete:
            edit->clear();
            break;
    }
}

bool FocusedControl::word(SlotId* slot, ListSide* side, std::string* word) const {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || !m_controller->slot(SlotId::kMain).loaded()) return false;
    PopupForm* popup = m_popup();
    for (SlotId id : {SlotId::kMain, SlotId::kDual}) {
        const int s = m_panes[id == SlotId::kMain ? 0 : 1]->sideOf(focus);
        if (s < 0) continue;
        *slot = id;
        *side = s == 0 ? ListSide::kPrimary : ListSide::kSecondary;
        if (auto* edit = qobject_cast<WEdit*>(focus)) {
            *word = edit->encodedText();
        } else if (auto* list = qobject_cast<WListBox*>(focus)) {
            *word = selectedWord(list);
        }
        return !word->empty();
    }
    if (popup && focus == static_cast<QWidget*>(popup->edit())) {
        const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
        *slot = SlotId::kMain;
        *side = main.source_side();
        *word = popup->edit()->encodedText();
        return !word->empty();
    }
    if (popup && focus == static_cast<QWidget*>(popup->list())) {
        // The popup lists the translations of the pane it shows.
        const wordbay::SearchOptions o = m_controller->settings().options();
        *slot = o.dual_mode && o.link ? SlotId::kDual : SlotId::kMain;
        *side = m_controller->slot(*slot).target_side();
        *word = selectedWord(popup->list());
        return !word->empty();
    }
    return false;
}
