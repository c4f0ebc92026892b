// What the controller and its worker send to the window.
//
// Every call returns at once and answers nothing: the window applies it on its
// own thread, in the order the calls were made (at once when made on that
// thread). The worker thus never waits for the window and never reads from
// it; what a request needs to know it carries, and a question for the user is
// answered with a request of its own (Answer).
//
// Texts: words (list entries, edit box texts) are 8-bit, in the code page of
// their list's language, exactly as the engine stores them. Messages,
// captions, titles and status texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/dictionary_slot.h"
#include "app/word_list.h"

namespace wordbay {

// The titles of the windows, all UTF-8 and complete.
struct WindowTitles {
    std::string main_window;  // "KX Dictionary : English - Croatian"
    std::string text_window;  // "Text translation : English - Croatian"
    std::string popup;        // "English - Croatian" (popup and tooltip)
};

// A message box: `style` and the answers use app/message_box_style.h.
struct Message {
    std::string text;
    std::string caption;
    unsigned style = 0;
};

// The save-file dialog: title, one filter "<filter_name> (*.<extension>)",
// starting at `start_path` (a folder, or a file in it). The chosen path comes
// back with the extension added when the user gave none.
struct SaveFileChoice {
    std::string title;
    std::string filter_name;
    std::string extension;
    std::string start_path;
};

// What the word-form look-up of a word not in the list found, for the
// windows to say (texts UTF-8): the base word whose translations are shown,
// base words offered beside an exact hit with their translations, or
// suggestions. An empty note clears what the windows said.
struct WordFormsNote {
    struct Form {
        std::string word;
        std::vector<std::string> translations;
    };
    std::string query;  // the word as looked up
    std::string base;   // the base word used instead of it, or ""
    std::vector<Form> forms;
    std::vector<std::string> suggestions;
    bool hot_key = false;  // for the hot-key window, not the main window

    bool empty() const { return base.empty() && forms.empty() && suggestions.empty(); }
};

// The two edit boxes and lists of each dictionary pane.
class PaneUpdates {
public:
    // Shows `words` in a list, which holds them (and what they point into)
    // until it is given other words; any selection is removed. Words of an
    // earlier epoch than the window's (SearchController::epoch()) are stale:
    // the window drops them.
    virtual void ShowList(SlotId slot, ListSide side, WordList words) = 0;
    // Selects entry `index` of a list (-1: none) without starting a
    // translation, when the list still shows words of `epoch`.
    virtual void SelectListEntry(SlotId slot, ListSide side, int index, unsigned epoch) = 0;
    // Writes an edit box as a program change: it starts no search.
    virtual void SetEditText(SlotId slot, ListSide side, std::string text) = 0;
    // The translations of the word selected in list `from` of a slot are on
    // screen (in the other list): the history counts the look-up when they
    // stay there. Sent once the list is filled.
    virtual void TranslationShown(SlotId slot, ListSide from) = 0;
    // Enables or disables a slot's lists and labels (and for the main slot the
    // popup's edit box and list); the edit boxes stay open for typing.
    virtual void EnableSlotControls(SlotId slot, bool enabled) = 0;
    // A slot's dictionary is shown anew: its fonts, colours, speech,
    // direction, list labels (the window reads them from the slot). `loaded`
    // false: it still loads and its look-up image answers (nothing starts).
    virtual void ShowDictionary(SlotId slot, bool loaded) = 0;
    // The code pages of a slot's edit boxes and lists before its dictionary
    // is loaded (the look-up image at start answers in them).
    virtual void SetCodePages(SlotId slot, std::uint32_t primary, std::uint32_t secondary) = 0;
    // Moves the keyboard focus to an edit box, its text selected (called on
    // the window's thread only).
    virtual void FocusEdit(SlotId slot, ListSide side) = 0;

protected:
    ~PaneUpdates() = default;
};

// The status strip, the titles, the progress and the message boxes.
class StatusUpdates {
public:
    virtual void SetTitles(WindowTitles titles) = 0;
    virtual void SetStatus(std::string text) = 0;
    // Shows the progress bar at 0 instead of the status text; until
    // EndProgress the window shows SearchController::progress() every 200 ms.
    virtual void BeginProgress() = 0;
    virtual void EndProgress() = 0;
    virtual void Beep() = 0;
    virtual void ShowMessage(Message message) = 0;
    // Asks the user; the answer goes back as Answer{ticket, button}.
    virtual void Ask(int ticket, Message question) = 0;
    // Asks for a file to save to; the answer goes back as Answer{ticket, 0,
    // path}, the path empty when the user cancelled.
    virtual void ChooseSaveFile(int ticket, SaveFileChoice choice) = 0;

protected:
    ~StatusUpdates() = default;
};

// The window that the hot keys call (popup or tooltip).
class HotKeyUpdates {
public:
    // The searched text, in that window's edit box (or the tooltip's word).
    virtual void HotKeyShowText(std::string text) = 0;
    virtual void HotKeyShowList(WordList words) = 0;
    virtual void HotKeyClear() = 0;

protected:
    ~HotKeyUpdates() = default;
};

// What the word-form look-up says.
class WordFormUpdates {
public:
    // Says what the look-up found (the hot-key window when note.hot_key,
    // else the main window), or clears it (an empty note).
    virtual void ShowWordForms(WordFormsNote note) = 0;

protected:
    ~WordFormUpdates() = default;
};

// The main window as a whole.
class WindowStates {
public:
    // The menus and the buttons that start requests take commands, or not.
    virtual void EnableMenus(bool enabled) = 0;
    virtual void OpenDictionaryChooser() = 0;
    virtual void OpenImportDialog() = 0;
    // A load ended edit mode (the controller's options say so already).
    virtual void EditModeOff() = 0;
    // Dual mode after a dual load: `on` shows the dual pane and enables the
    // link switches and dual commands; off hides and disables them.
    virtual void DualModeChanged(bool on) = 0;
    virtual void ActivateMainWindow() = 0;
    // Closes the main window after the closing save; the dictionary is marked
    // as saved for closing, so the close asks nothing.
    virtual void CloseMainWindow() = 0;
    // The worker has run `count` requests in all; every update of them was
    // sent before this. The window hands it to SearchController::Delivered.
    virtual void RequestsDone(std::uint64_t count) = 0;

protected:
    ~WindowStates() = default;
};

// Where the controller and its worker send each kind of update: one receiver
// per part of the window. Every pointer is set and outlives the controller.
struct WindowUpdates {
    PaneUpdates* panes = nullptr;
    StatusUpdates* status = nullptr;
    HotKeyUpdates* hot_key = nullptr;
    WordFormUpdates* word_forms = nullptr;
    WindowStates* window = nullptr;
};

}  // namespace wordbay
