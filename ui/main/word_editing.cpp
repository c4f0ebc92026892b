#include "ui/main/word_editing.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include "app/search_controller.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/word_change_edit.h"
#include "ui/widgets/code_page_text.h"
#include "ui/widgets/w_list_box.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

// How long an editing command waits for a running job to end. Searches stop
// at once; a save or an import can take longer, and then the command gives up
// with a beep rather than freeze the window.
constexpr qint64 kEngineWaitMs = 3000;

int indexOf(ListSide side) { return side == ListSide::kPrimary ? 0 : 1; }

}  // namespace

WordEditing::WordEditing(DictionaryPane* mainPane, wordbay::SearchController* controller,
                         const bool* editMode)
    : m_pane(mainPane), m_controller(controller), m_editMode(editMode) {}

std::unique_lock<std::mutex> WordEditing::holdEngine() {
    std::unique_lock<std::mutex> engine(m_controller->engine_lock(), std::defer_lock);
    m_controller->slot(SlotId::kMain).EndLoop();
    m_controller->slot(SlotId::kDual).EndLoop();
    QElapsedTimer waited;
    waited.start();
    // A job may be waiting for this thread: keep its calls coming, but no
    // input of the user's.
    while (!engine.try_lock() && waited.elapsed() < kEngineWaitMs) {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        QThread::msleep(2);
    }
    return engine;
}

void WordEditing::addTranslation() {
    m_controller->AddTranslation([this] { return holdEngine(); });
}

void WordEditing::deleteSelected() {
    m_controller->DeleteSelected([this] { return holdEngine(); });
}

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
    if (!*m_editMode) return;
    const std::string word = encodeText(m_pane->list(m_changeSide)->codePage(), text);
    m_controller->ChangeWord(m_changeSide, m_changeRow, m_changeWord, word,
                             [this] { return holdEngine(); });
}

void WordEditing::translationDragged(int previous) {
    const ListSide target = wordbay::Other(m_controller->slot(SlotId::kMain).source_side());
    WListBox* list = m_pane->list(target);
    m_controller->MoveTranslation(previous, list->curSel(), [this] { return holdEngine(); });
}

void WordEditing::updateDragModes() {
    const ListSide source = m_controller->slot(SlotId::kMain).source_side();
    m_pane->list(source)->setDragMode(false);
    m_pane->list(wordbay::Other(source))->setDragMode(*m_editMode);
}
