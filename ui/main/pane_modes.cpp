#include "ui/main/pane_modes.h"

#include <QApplication>
#include <QClipboard>
#include <QTimer>
#include <memory>

#include "app/program_settings.h"
#include "app/search_controller.h"
#include "ui/main/button_bar.h"
#include "ui/main/dictionary_dialogs.h"
#include "ui/main/dictionary_pane.h"
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

// How often and how long a word looked up again waits to be listed.
constexpr int kListedPollMs = 20;
constexpr int kListedWaitMs = 5000;

ListSide other(ListSide side) {
    return side == ListSide::kPrimary ? ListSide::kSecondary : ListSide::kPrimary;
}

}  // namespace

PaneModes::PaneModes(const Parts& parts, wordbay::SearchController* controller,
                     const wordbay::ProgramSettings* settings, Hooks hooks)
    : m_parts(parts), m_controller(controller), m_settings(settings), m_hooks(std::move(hooks)) {}

DictionaryPane* PaneModes::pane(SlotId slot) const {
    return slot == SlotId::kMain ? m_parts.mainPane : m_parts.dualPane;
}

void PaneModes::setOptions(const wordbay::SearchOptions& options) {
    m_controller->settings().SetOptions(options);
    m_hooks.statesChanged();
}

void PaneModes::endLoops() { m_controller->searches().StopSearches(); }

void PaneModes::typed(SlotId slot, ListSide side) {
    SearchEdit* edit = pane(slot)->edit(side);
    if (edit->isSetByProgram()) {
        edit->clearSetByProgram();
        return;
    }
    // Before its dictionary is loaded the text is kept and searched once it
    // is; meanwhile the look-up image may answer.
    m_controller->searches().Typed(slot, side, edit->encodedText());
}

void PaneModes::translationDragged(int previousRow) {
    if (m_controller->settings().options().edit_mode)
        m_parts.editing->translationDragged(previousRow);
}

void PaneModes::intoList(SlotId slot, ListSide side) {
    WListBox* list = pane(slot)->list(side);
    if (list->count() <= 0) {
        // A word the list lacks: its base word, or suggestions.
        m_controller->searches().Entered(slot, side, pane(slot)->edit(side)->encodedText());
        return;
    }
    endLoops();
    list->setFocus(Qt::OtherFocusReason);
    list->setCurSel(0);
    selected(slot, side);
}

void PaneModes::selected(SlotId slot, ListSide side) {
    const WListBox* list = pane(slot)->list(side);
    const int row = list->curSel();
    if (!m_controller->slot(slot).loaded() || row < 0 || list->items() == nullptr ||
        list->items()[row] == nullptr)
        return;
    m_controller->searches().Selected(slot, side, list->items()[row]);
}

void PaneModes::reverseDirection(SlotId slot) {
    m_controller->searches().ToggleDirection(slot);
    pane(slot)->setDirection(m_controller->slot(slot).primary_to_secondary());
    m_parts.editing->updateDragModes();
    if (m_parts.windows->textWindow()) m_parts.windows->textWindow()->resetWordList();
    // The popup and tooltip take the looks of the new direction.
    m_parts.windows->applyLooks();
}

void PaneModes::lookUpAgain(const QString& word, bool fromPrimary) {
    if (m_controller->settings().options().edit_mode || !m_controller->slot(SlotId::kMain).loaded())
        return;
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
            intoList(SlotId::kMain, source);
    });
    wait->start(kListedPollMs);
}

void PaneModes::layout() {
    m_parts.dualPane->setVisible(m_controller->settings().options().dual_mode);
}

void PaneModes::toggleDualMode() {
    wordbay::SearchOptions o = m_controller->settings().options();
    if (o.dual_mode) {
        o.dual_mode = false;
        setOptions(o);
        layout();
        m_controller->dictionaries().CloseDual();
        return;
    }
    // Dual mode comes on only when the chosen dictionary has loaded.
    m_hooks.statesChanged();
    const QString path = m_parts.dialogs->chooseDictionary();
    if (!path.isEmpty()) m_controller->dictionaries().LoadDual(path.toStdString());
}

void PaneModes::toggleEditMode() {
    const bool on = m_controller->settings().options().edit_mode;
    if (!on && !m_controller->slot(SlotId::kMain).loaded()) {
        m_hooks.statesChanged();
        return;
    }
    setEditMode(!on);
}

void PaneModes::editModeEnded() {
    if (m_parts.mainPane->editModeLook()) setEditMode(false);
}

void PaneModes::setEditMode(bool on) {
    if (m_parts.windows->popup()) m_parts.windows->popup()->hide();
    if (m_parts.windows->tooltip()) m_parts.windows->tooltip()->hide();
    m_hooks.bringToFront();
    wordbay::SearchOptions o = m_controller->settings().options();
    o.edit_mode = on;
    if (on && o.dual_mode) {
        o.dual_mode = false;
        m_controller->settings().SetOptions(o);
        layout();
        m_controller->dictionaries().CloseDual();
    }
    setOptions(o);
    const ListSide target = other(m_controller->slot(SlotId::kMain).source_side());
    if (on) {
        m_controller->searches().ClearSide(SlotId::kMain, target);
        m_parts.mainPane->list(other(target))->setCurSel(-1);
        // The popup's list may show words that editing could delete.
        if (m_parts.windows->popup()) m_parts.windows->popup()->list()->setWords({});
    }
    m_parts.editing->updateDragModes();
    m_parts.mainPane->setEditModeLook(on);
    layout();
}

void PaneModes::leave(bool toOtherSide) {
    endLoops();
    if (!toOtherSide) {
        const QWidget* active = QApplication::activeWindow();
        if (m_parts.windows->textWindow() && active == m_parts.windows->textWindow()) {
            // Leaving the text window stops its translation.
            m_parts.windows->textWindow()->hide();
            m_parts.windows->textWindow()->stopTranslation();
            m_hooks.bringToFront();
            return;
        }
        if ((m_parts.windows->popup() && active == m_parts.windows->popup()) ||
            (m_parts.windows->tooltip() && active == m_parts.windows->tooltip())) {
            m_controller->settings().SetHotKeyPending(false);
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
