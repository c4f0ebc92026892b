// PaneModes: the commands that act on the dictionary panes as a whole: the
// notifications of their boxes and lists (typing, moving down into a list,
// selecting, dragging), the direction, dual mode and edit mode, and leaving
// for the search box.
#pragma once

#include <QtGlobal>
#include <functional>

#include "app/main_view.h"

class DictionaryDialogs;
class DictionaryPane;
class MainWindowView;
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
        MainWindowView* view = nullptr;
        WordEditing* editing = nullptr;
        SecondaryWindows* windows = nullptr;
        DictionaryDialogs* dialogs = nullptr;
    };

    // `editMode` is the window's edit mode, which this part switches.
    PaneModes(const Parts& parts, wordbay::SearchController* controller,
              const wordbay::ProgramSettings* settings, bool* editMode, Hooks hooks);

    // A notification `code` of the box or list `id` of a pane.
    void notification(int code, int id, qintptr param);
    void toggleDualMode();
    void toggleEditMode();
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

    Parts m_parts;
    wordbay::SearchController* m_controller;
    const wordbay::ProgramSettings* m_settings;
    bool* m_editMode;
    Hooks m_hooks;
};
