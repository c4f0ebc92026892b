// The commands that act on the dictionary panes: typing, moving down into a
// list, selecting, the direction, dual mode and edit mode, and leaving for
// the search box.
#include <QApplication>
#include <QClipboard>
#include <mutex>

#include "app/search_controller.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_dialogs.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_form.h"
#include "ui/main/main_speech.h"
#include "ui/main/search_edit.h"
#include "ui/main/word_editing.h"
#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/text/text_window.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_list_box.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

struct PaneControl {
    SlotId slot;
    ListSide side;
    bool edit;
};

PaneControl paneControlOf(int id) {
    switch (id) {
        case cmd::kMainPrimaryEdit: return {SlotId::kMain, ListSide::kPrimary, true};
        case cmd::kMainSecondaryEdit: return {SlotId::kMain, ListSide::kSecondary, true};
        case cmd::kMainPrimaryList: return {SlotId::kMain, ListSide::kPrimary, false};
        case cmd::kMainSecondaryList: return {SlotId::kMain, ListSide::kSecondary, false};
        case cmd::kDualPrimaryEdit: return {SlotId::kDual, ListSide::kPrimary, true};
        case cmd::kDualSecondaryEdit: return {SlotId::kDual, ListSide::kSecondary, true};
        case cmd::kDualPrimaryList: return {SlotId::kDual, ListSide::kPrimary, false};
        default: return {SlotId::kDual, ListSide::kSecondary, false};
    }
}

ListSide other(ListSide side) {
    return side == ListSide::kPrimary ? ListSide::kSecondary : ListSide::kPrimary;
}

}  // namespace

void MainForm::paneNotification(int code, int id, qintptr param) {
    const PaneControl c = paneControlOf(id);
    DictionaryPane* p = pane(c.slot);
    if (c.edit) {
        SearchEdit* edit = p->edit(c.side);
        if (code == kEditChange) {
            if (edit->isSetByProgram()) {
                edit->clearSetByProgram();
                return;
            }
            // Kept, and searched as soon as the dictionary is ready;
            // meanwhile its look-up image may answer.
            if (m_view->keepTypedWhileBusy(c.slot, c.side)) {
                m_controller->OnEditChangedWhileLoading(c.slot, c.side);
                return;
            }
            m_controller->OnEditChanged(c.slot, c.side);
        } else if (code == kEditEnter) {
            m_controller->OnDownArrow(c.slot, c.side);
        }
        return;
    }
    if (code == kListDragMove && m_editMode && c.slot == SlotId::kMain) {
        m_editing->translationDragged(static_cast<int>(param));
        return;
    }
    if (code == kListSelChange && m_controller->slot(c.slot).loaded())
        m_controller->OnListSelected(c.slot, c.side);
}

void MainForm::reverseDirection(SlotId slot) {
    m_controller->ToggleDirection(slot);
    pane(slot)->setDirection(m_controller->slot(slot).primary_to_secondary());
    m_editing->updateDragModes();
    if (m_windows->textWindow()) m_windows->textWindow()->resetWordList();
    // The popup and tooltip take the looks of the new direction, unless a job
    // holds the dictionary now (its end refreshes the views anyway).
    std::unique_lock<std::mutex> engine(m_controller->engine_lock(), std::try_to_lock);
    if (engine.owns_lock()) m_windows->applyLooks();
}

void MainForm::layoutPanes() { m_panes[1]->setVisible(options().dual_mode); }

void MainForm::toggleDualMode() {
    wordbay::SearchOptions o = options();
    if (o.dual_mode) {
        o.dual_mode = false;
        setOptions(o);
        layoutPanes();
        m_controller->StartCloseDual();
        return;
    }
    // Dual mode comes on only when the chosen dictionary has loaded.
    updateMenuStates();
    const QString path = m_dialogs->chooseDictionary();
    if (!path.isEmpty()) m_controller->StartLoadDual(path.toStdString());
}

void MainForm::toggleEditMode() {
    if (!m_editMode && !mainLoaded()) {
        updateMenuStates();
        return;
    }
    if (m_windows->popup()) m_windows->popup()->hide();
    if (m_windows->tooltip()) m_windows->tooltip()->hide();
    bringToFront();
    m_editMode = !m_editMode;
    wordbay::SearchOptions o = options();
    o.edit_mode = m_editMode;
    if (m_editMode && o.dual_mode) {
        o.dual_mode = false;
        m_controller->SetOptions(o);
        layoutPanes();
        m_controller->StartCloseDual();
    }
    setOptions(o);
    const ListSide target = other(m_controller->slot(SlotId::kMain).source_side());
    if (m_editMode) {
        m_controller->ClearSide(SlotId::kMain, target);
        m_panes[0]->list(other(target))->setCurSel(-1);
        // The popup's list may show words that editing could delete.
        if (m_windows->popup()) {
            m_windows->popup()->list()->setCount(0);
            m_windows->popup()->list()->setItems(nullptr);
        }
    }
    m_editing->updateDragModes();
    m_panes[0]->setEditModeLook(m_editMode);
    layoutPanes();
}

void MainForm::leave(bool toOtherSide) {
    endLoop();
    if (!toOtherSide) {
        const QWidget* active = QApplication::activeWindow();
        if (m_windows->textWindow() && active == m_windows->textWindow()) {
            // Leaving the text window stops its translation.
            m_windows->textWindow()->hide();
            m_windows->textWindow()->command(kMenuCommand, text_command::kStop, nullptr, 0);
            bringToFront();
            return;
        }
        if ((m_windows->popup() && active == m_windows->popup()) ||
            (m_windows->tooltip() && active == m_windows->tooltip())) {
            m_controller->SetHotKeyPending(false);
            if (!m_settings.tooltip_on_top) m_windows->tooltip()->hide();
            if (!m_settings.popup_on_top) m_windows->popup()->hide();
            restoreFromTray();
        }
    }
    const ListSide source = m_panes[0]->sourceSide();
    SearchEdit* edit = m_panes[0]->edit(toOtherSide ? other(source) : source);
    edit->setFocus(Qt::ShortcutFocusReason);
    edit->selectAll();
}
