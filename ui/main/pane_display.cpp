#include "ui/main/pane_display.h"

#include <QString>

#include "app/search_controller.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/search_edit.h"
#include "ui/main/worker_updates.h"
#include "ui/widgets/w_list_box.h"

using wordbay::ListSide;
using wordbay::SlotId;

void PaneDisplay::listenTo(PaneSignals* updates) {
    // The updates object lives on the window's thread: sent from the worker,
    // they arrive queued there.
    QObject::connect(updates, &PaneSignals::listShown, updates,
                     [this](SlotId slot, ListSide side, wordbay::WordList words) {
                         showList(slot, side, std::move(words));
                     });
    QObject::connect(updates, &PaneSignals::listEntrySelected, updates,
                     [this](SlotId slot, ListSide side, int index, unsigned epoch) {
                         selectEntry(slot, side, index, epoch);
                     });
    QObject::connect(updates, &PaneSignals::editTextSet, updates,
                     [this](SlotId slot, ListSide side, const std::string& text) {
                         setEditText(slot, side, text);
                     });
    QObject::connect(updates, &PaneSignals::slotControlsEnabled, updates,
                     [this](SlotId slot, bool enabled) { enableControls(slot, enabled); });
    QObject::connect(updates, &PaneSignals::codePagesSet, updates,
                     [this](SlotId slot, std::uint32_t primary, std::uint32_t secondary) {
                         setCodePages(slot, primary, secondary);
                     });
    QObject::connect(updates, &PaneSignals::editFocused, updates,
                     [this](SlotId slot, ListSide side) { focusEdit(slot, side); });
}

void PaneDisplay::showList(SlotId slot, ListSide side, wordbay::WordList words) {
    // Emptying never hurts; words found before a change in place may be gone.
    if (!words.empty() && words.epoch() < m_controller->epoch()) return;
    pane(slot)->list(side)->setWords(std::move(words));
}

void PaneDisplay::selectEntry(SlotId slot, ListSide side, int index, unsigned epoch) {
    if (epoch < m_controller->epoch()) return;
    pane(slot)->list(side)->setCurSel(index);
}

void PaneDisplay::setEditText(SlotId slot, ListSide side, const std::string& text) {
    pane(slot)->edit(side)->setProgramEncodedText(text);
}

void PaneDisplay::enableControls(SlotId slot, bool enabled) {
    pane(slot)->setControlsEnabled(enabled);
}

bool PaneDisplay::showDictionary(SlotId id, bool loaded) {
    DictionaryPane* p = pane(id);
    const wordbay::DictionarySlot& slot = m_controller->slot(id);
    if (loaded && !slot.loaded()) {
        p->setListNames(QStringLiteral("-"), QStringLiteral("-"));
        return false;
    }
    const DICTIONARY_INFO info = slot.info_snapshot();
    p->setCodePages(wordbay::DictionarySlot::CodePage(info, ListSide::kPrimary),
                    wordbay::DictionarySlot::CodePage(info, ListSide::kSecondary));
    p->setListNames(
        QString::fromStdString(wordbay::DictionarySlot::ListNameUtf8(info, ListSide::kPrimary)),
        QString::fromStdString(wordbay::DictionarySlot::ListNameUtf8(info, ListSide::kSecondary)));
    p->setDirection(slot.primary_to_secondary());
    p->applyView(slot.settings().view);
    return true;
}

void PaneDisplay::setCodePages(SlotId slot, std::uint32_t primary, std::uint32_t secondary) {
    pane(slot)->setCodePages(primary, secondary);
}

void PaneDisplay::focusEdit(SlotId slot, ListSide side) {
    SearchEdit* edit = pane(slot)->edit(side);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}
