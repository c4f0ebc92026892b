// PaneModes: what acts on the dictionary panes as a whole: their boxes and
// lists (typing, moving down into a list, selecting, dragging), the direction, dual mode and edit
// mode, and leaving for the search box.
#pragma once

#include <functional>

#include "app/dictionary_slot.h"

class DictionaryDialogs;
class DictionaryPane;
class QString;
class SecondaryWindows;
class WordEditing;

namespace wordbay {
struct ProgramSettings;
struct SearchOptions;
class SearchController;
}  // namespace wordbay

class PaneModes {
public:
    struct Hooks {
        // The check marks of the menus are out of date.
        std::function<void()> statesChanged;
        std::function<void()> bringToFront;
        std::function<void()> restoreFromTray;
    };
    struct Parts {
        DictionaryPane* mainPane = nullptr;
        DictionaryPane* dualPane = nullptr;
        WordEditing* editing = nullptr;
        SecondaryWindows* windows = nullptr;
        DictionaryDialogs* dialogs = nullptr;
    };

    // Edit mode is the controller's (its options), which this part switches.
    PaneModes(const Parts& parts, wordbay::SearchController* controller,
              const wordbay::ProgramSettings* settings, Hooks hooks);

    // The text of search box `side` of pane `slot` changed: typed text is
    // searched; a text the program set only clears its mark.
    void typed(wordbay::SlotId slot, wordbay::ListSide side);
    // Down (or Enter) in an edit box: into its list, whose first word is
    // looked up, when it has words.
    void intoList(wordbay::SlotId slot, wordbay::ListSide side);
    // The user chose a word in a list: its translations are looked up.
    void selected(wordbay::SlotId slot, wordbay::ListSide side);
    // In edit mode a translation of the main pane was dragged on from
    // `previousRow`.
    void translationDragged(int previousRow);
    void toggleDualMode();
    void toggleEditMode();
    // A load ended edit mode: the window shows it ended.
    void editModeEnded();
    void reverseDirection(wordbay::SlotId slot);
    // To the main pane's search box, or to its other side's box; from the
    // text, popup or tooltip window back to the main window.
    void leave(bool toOtherSide);
    // Looks `word` up again in the main pane, from the primary list or the
    // secondary, as if typed there and Enter pressed once it is listed.
    void lookUpAgain(const QString& word, bool fromPrimary);
    // The dual pane shows in dual mode only.
    void layout();
    // Stops the searches of both dictionaries.
    void endLoops();

private:
    DictionaryPane* pane(wordbay::SlotId slot) const;
    void setOptions(const wordbay::SearchOptions& options);
    void setEditMode(bool on);
    Parts m_parts;
    wordbay::SearchController* m_controller;
    const wordbay::ProgramSettings* m_settings;
    Hooks m_hooks;
};
