// WordEditing: the commands of edit mode on the main pane: adding and
// deleting translations, changing a word in place in its own box, and
// reordering translations by dragging. The controller's editing commands do
// the work on this thread, reading the pane through this part; while one
// waits for the engine the window keeps painting.
#pragma once

#include <string>

#include "app/editing_commands.h"
#include "ui/main/painting_wait.h"
#include "ui/widgets/w_message_box.h"

class DictionaryPane;
class QString;
class WordChangeEdit;

namespace wordbay {
class SearchController;
}  // namespace wordbay

class WordEditing : private wordbay::EditingView {
public:
    // Works on `mainPane` through `controller`, whose options say whether
    // the window is in edit mode; its questions have the buttons of
    // `buttonTexts`.
    WordEditing(DictionaryPane* mainPane, wordbay::SearchController* controller,
                const MessageBoxButtonTable* buttonTexts);

    void addTranslation();
    void deleteSelected();
    // Opens the box that changes the selected word of the focused main list.
    void openWordChange();
    // The target list reported a drag from row `previous` to its current row.
    void translationDragged(int previous);
    // In edit mode the target list of the main pane drags its entries.
    void updateDragModes();

private:
    // The pane as the editing commands read and change it.
    std::string EditText(wordbay::ListSide side) override;
    int SelectedIndex(wordbay::ListSide side) override;
    wordbay::WordList Shown(wordbay::ListSide side) override;
    void Repaint(wordbay::ListSide side, wordbay::WordList words) override;
    int Ask(const wordbay::Message& question) override;
    void KeepPainting() override;

    bool editMode() const;
    void changeWord(const QString& text);

    DictionaryPane* m_pane;
    wordbay::SearchController* m_controller;
    const MessageBoxButtonTable* m_buttonTexts;
    PaintingWait m_wait;
    // The word being changed in place: its list, row and text.
    WordChangeEdit* m_wordChange[2] = {};
    wordbay::ListSide m_changeSide = wordbay::ListSide::kPrimary;
    int m_changeRow = -1;
    std::string m_changeWord;
};
