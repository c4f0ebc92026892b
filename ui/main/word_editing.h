// WordEditing: the commands of edit mode on the main pane: adding and
// deleting translations, changing a word in place in its own box, and
// reordering translations by dragging. The controller does the work on this
// thread; the part waits for the engine between jobs, painting meanwhile.
#pragma once

#include <mutex>
#include <string>

#include "app/dictionary_settings.h"

class DictionaryPane;
class QString;
class WordChangeEdit;

namespace wordbay {
class SearchController;
}  // namespace wordbay

class WordEditing {
public:
    // Works on `mainPane` through `controller`; `editMode` tells whether the
    // window is still in edit mode when a changed word is handed over.
    WordEditing(DictionaryPane* mainPane, wordbay::SearchController* controller,
                const bool* editMode);

    void addTranslation();
    void deleteSelected();
    // Opens the box that changes the selected word of the focused main list.
    void openWordChange();
    // The target list reported a drag from row `previous` to its current row.
    void translationDragged(int previous);
    // In edit mode the target list of the main pane drags its entries.
    void updateDragModes();

private:
    // Waits, painting, until no job runs on the dictionaries and answers the
    // engine lock; an empty lock when a job still runs after a while.
    std::unique_lock<std::mutex> holdEngine();
    void changeWord(const QString& text);

    DictionaryPane* m_pane;
    wordbay::SearchController* m_controller;
    const bool* m_editMode;
    // The word being changed in place: its list, row and text.
    WordChangeEdit* m_wordChange[2] = {};
    wordbay::ListSide m_changeSide = wordbay::ListSide::kPrimary;
    int m_changeRow = -1;
    std::string m_changeWord;
};
