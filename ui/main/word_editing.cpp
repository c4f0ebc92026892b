#include "ui/main/word_editing.h"

#include <QApplication>

#include "app/search_controller.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/search_edit.h"
#include "ui/main/word_change_edit.h"
#include "ui/widgets/code_page_text.h"
#include "ui/widgets/w_list_box.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

int indexOf(ListSide side) { return side == ListSide::kPrimary ? 0 : 1; }

}  // namespace

WordEditing::WordEditing(DictionaryPane* mainPane, wordbay::SearchController* controller,
                         const MessageBoxButtonTable* buttonTexts)
    : m_pane(mainPane), m_controller(controller), m_buttonTexts(buttonTexts) {}

bool WordEditing::editMode() const { return m_controller->settings().options().edit_mode; }

void WordEditing::addTranslation() { m_controller->editing().AddTranslation(*this); }

void WordEditing::deleteSelected() { m_controller->editing().DeleteSelected(*this); }

void WordEditing::openWordChange() {
    DictionaryPane* main = m_pane;
    const int side = main->sideOf(QApplication::focusWidget());
    if (side < 0) return;
    const ListSide listSide = side == 0 ? ListSide::kPrimary : ListSide::kSecondary;
    WListBox* list = main->list(listSide);
    const int row = list->curSel();
    if (row < 0 || list->items() == nullptr || list->items()[row] == nullptr) return;
    m_changeSide = listSide;
    m_changeRow = row;
    m_changeWord = list->items()[row];
    WordChangeEdit*& box = m_wordChange[indexOf(listSide)];
    if (box == nullptr) {
        box = new WordChangeEdit(list);
        QObject::connect(box, &WordChangeEdit::accepted, m_pane,
                         [this](const QString& text) { changeWord(text); });
    }
    box->open(list->itemText(row));
}

void WordEditing::changeWord(const QString& text) {
    if (!editMode()) return;
    const std::string word = encodeText(m_pane->list(m_changeSide)->codePage(), text);
    m_controller->editing().ChangeWord(*this, m_changeSide, m_changeRow, m_changeWord, word);
}

void WordEditing::translationDragged(int previous) {
    const ListSide target = wordbay::Other(m_controller->slot(SlotId::kMain).source_side());
    WListBox* list = m_pane->list(target);
    m_controller->editing().MoveTranslation(*this, previous, list->curSel());
}

void WordEditing::updateDragModes() {
    const ListSide source = m_controller->slot(SlotId::kMain).source_side();
    m_pane->list(source)->setDragMode(false);
    m_pane->list(wordbay::Other(source))->setDragMode(editMode());
}

// ---- The pane as the editing commands see it ----------------------------------

std::string WordEditing::EditText(ListSide side) { return m_pane->edit(side)->encodedText(); }

int WordEditing::SelectedIndex(ListSide side) {
    const WListBox* list = m_pane->list(side);
    return list->items() != nullptr ? list->curSel() : -1;
}

wordbay::WordList WordEditing::Shown(ListSide side) { return m_pane->list(side)->words(); }

void WordEditing::Repaint(ListSide side, wordbay::WordList words) {
    m_pane->list(side)->replaceWords(std::move(words));
}

int WordEditing::Ask(const wordbay::Message& question) {
    return messageBox(m_pane->window(), QString::fromStdString(question.text),
                      QString::fromStdString(question.caption), question.style, m_buttonTexts);
}

void WordEditing::KeepPainting() { m_wait.KeepPainting(); }
