#include "ui/main/pane_modes.h"

#include <QApplication>
#include <QClipboard>
#include <QTimer>
#include <memory>
#include <mutex>

#include "app/program_settings.h"
#include "app/search_controller.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_dialogs.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_window_view.h"
#include "ui/main/search_edit.h"
#include "ui/main/secondary_windows.h"
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
        case cmd::kMainPrimaryEdit:
            return {SlotId::kMain, ListSide::kPrimary, true};
        case cmd::kMainSecondaryEdit:
            return {SlotId::kMain, ListSide::kSecondary, true};
        case cmd::kMainPrimaryList:
            return {SlotId::kMain, ListSide::kPrimary, false};
        case cmd::kMainSecondaryList:
            return {SlotId::kMain, ListSide::kSecondary, false};
        case cmd::kDualPrimaryEdit:
            return {SlotId::kDual, ListSide::kPrimary, true};
        case cmd::kDualSecondaryEdit:
            return {SlotId::kDual, ListSide::kSecondary, true};
        case cmd::kDualPrimaryList:
            return {SlotId::kDual, ListSide::kPrimary, false};
        default:
            return {SlotId::kDual, ListSide::kSecondary, false};
    }
}

// How often and how long a word looked up again waits to be listed.
constexpr int kListedPollMs = 20;
constexpr int kListedWaitMs = 5000;

ListSide other(ListSide side) {
    return side == ListSide::kPrimary ? ListSide::kSecondary : ListSide::kPrimary;
}

}  // namespace

PaneModes::PaneModes(const Parts& parts, wordbay::SearchController* controller,
                     const wordbay::ProgramSettings* settings, bool* editMode, Hooks hooks)
    : m_parts(parts)
    , m_controller(controller)
    , m_settings(settings)
    , m_editMode(editMode)
    , m_hooks(std::move(hooks)) {}

DictionaryPane* PaneModes::pane(SlotId slot) const {
    return slot == SlotId::kMain ? m_parts.mainPane : m_parts.dualPane;
}

void PaneModes::setOptions(const wordbay::SearchOptions& options) {
    m_controller->SetOptions(options);
    m_hooks.statesChanged();
}

void PaneModes::endLoops() {
    m_controller->slot(SlotId::kMain).EndLoop();
    m_controller->slot(SlotId::kDual).EndLoop();
}

void PaneModes::notification(int code, int id, qintptr param) {
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
            if (m_parts.view->keepTypedWhileBusy(c.slot, c.side)) {
                m_controller->OnEditChangedWhileLoading(c.slot, c.side);
                return;
            }
            m_controller->OnEditChanged(c.slot, c.side);
        } else if (code == kEditEnter) {
            m_controller->OnDownArrow(c.slot, c.side);
        }
        return;
    }
    if (code == kListDragMove && *m_editMode && c.slot == SlotId::kMain) {
        m_parts.editing->translationDragged(static_cast<int>(param));
        return;
    }
    if (code == kListSelChange && m_controller->slot(c.slot).loaded())
        m_controller->OnListSelected(c.slot, c.side);
}

void PaneModes::reverseDirection(SlotId slot) {
    m_controller->ToggleDirection(slot);
    pane(slot)->setDirection(m_controller->slot(slot).primary_to_secondary());
    m_parts.editing->updateDragModes();
    if (m_parts.windows->textWindow()) m_parts.windows->textWindow()->resetWordList();
    // The popup and tooltip take the looks of the new direction, unless a job
    // holds the dictionary now (its end refreshes the views anyway).
    std::unique_lock<std::mutex> engine(m_controller->engine_lock(), std::try_to_lock);
    if (engine.owns_lock()) m_parts.windows->applyLooks();
}

void PaneModes::lookUpAgain(const QString& word, bool fromPrimary) {
    if (*m_editMode || !m_controller->slot(SlotId::kMain).loaded()) return;
    if (m_parts.mainPane->primaryToSecondary() != fromPrimary) reverseDirection(SlotId::kMain);
    m_hooks.bringToFront();
    const ListSide source = m_parts.mainPane->sourceSide();
    SearchEdit* edit = m_parts.mainPane->edit(source);
    edit->setFocus(Qt::OtherFocusReason);
    edit->setText(word);  // searches, as typing does
    // Enter, once the search has listed the word.
    auto* wait = new QTimer(edit);
    auto waited = std::make_shared<int>(0);
    QObject::connect(wait, &QTimer::timeout, edit, [this, wait, waited, word, source] {
        const WListBox* list = m_parts.mainPane->list(source);
        const bool listed = !m_controller->busy() && list->count() > 0;
        if (!listed && ++*waited * kListedPollMs < kListedWaitMs) return;
        wait->stop();
        wait->deleteLater();
        if (listed && list->itemText(0).compare(word, Qt::CaseInsensitive) == 0 &&
            m_parts.mainPane->edit(source)->text() == word)
            m_controller->OnDownArrow(SlotId::kMain, source);
    });
    wait->start(kListedPollMs);
}

void PaneModes::layout() { m_parts.dualPane->setVisible(m_controller->options().dual_mode); }

void PaneModes::toggleDualMode() {
    wordbay::SearchOptions o = m_controller->options();
    if (o.dual_mode) {
        o.dual_mode = false;
        setOptions(o);
        layout();
        m_controller->StartCloseDual();
        return;
    }
    // Dual mode comes on only when the chosen dictionary has loaded.
    m_hooks.statesChanged();
    const QString path = m_parts.dialogs->chooseDictionary();
    if (!path.isEmpty()) m_controller->StartLoadDual(path.toStdString());
}

void PaneModes::toggleEditMode() {
    if (!*m_editMode && !m_controller->slot(SlotId::kMain).loaded()) {
        m_hooks.statesChanged();
        return;
    }
    if (m_parts.windows->popup()) m_parts.windows->popup()->hide();
    if (m_parts.windows->tooltip()) m_parts.windows->tooltip()->hide();
    m_hooks.bringToFront();
    *m_editMode = !*m_editMode;
    wordbay::SearchOptions o = m_controller->options();
    o.edit_mode = *m_editMode;
    if (*m_editMode && o.dual_mode) {
        o.dual_mode = false;
        m_controller->SetOptions(o);
        layout();
        m_controller->StartCloseDual();
    }
    setOptions(o);
    const ListSide target = other(m_controller->slot(SlotId::kMain).source_side());
    if (*m_editMode) {
        m_controller->ClearSide(SlotId::kMain, target);
        m_parts.mainPane->list(other(target))->setCurSel(-1);
        // The popup's list may show words that editing could delete.
        if (m_parts.windows->popup()) {
            m_parts.windows->popup()->list()->setCount(0);
            m_parts.windows->popup()->list()->setItems(nullptr);
        }
    }
    m_parts.editing->updateDragModes();
    m_parts.mainPane->setEditModeLook(*m_editMode);
    layout();
}

void PaneModes::leave(bool toOtherSide) {
    endLoops();
    if (!toOtherSide) {
        const QWidget* active = QApplication::activeWindow();
        if (m_parts.windows->textWindow() && active == m_parts.windows->textWindow()) {
            // Leaving the text window stops its translation.
            m_parts.windows->textWindow()->hide();
            m_parts.windows->textWindow()->command(kMenuCommand, text_command::kStop, nullptr, 0);
            m_hooks.bringToFront();
            return;
        }
        if ((m_parts.windows->popup() && active == m_parts.windows->popup()) ||
            (m_parts.windows->tooltip() && active == m_parts.windows->tooltip())) {
            m_controller->SetHotKeyPending(false);
            if (!m_settings->tooltip_on_top) m_parts.windows->tooltip()->hide();
            if (!m_settings->popup_on_top) m_parts.windows->popup()->hide();
            m_hooks.restoreFromTray();
        }
    }
    const ListSide source = m_parts.mainPane->sourceSide();
    SearchEdit* edit = m_parts.mainPane->edit(toOtherSide ? other(source) : source);
    edit->setFocus(Qt::ShortcutFocusReason);
    edit->selectAll();
}
