// MainView: what the search controller and its jobs need from the windows.
//
// The worker thread calls these operations while it runs a job; the user
// interface implements each one by running it on the user-interface thread and
// returning when it is done (a blocking handover), so that answers such as the
// button of a message box, a chosen file name or an edit box's text are there
// at return. A call made on the user-interface thread itself runs directly.
// While a job waits in one of these calls, the user-interface thread may read
// the controller's slots (the worker touches nothing meanwhile).
//
// Texts: words (list entries, edit box texts) are 8-bit, in the code page of
// the list's language, exactly as the engine stores them. Messages, captions,
// titles and status texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dictionary_settings.h"  // ListSide
#include "engine/lexbase.h"

namespace wordbay {

class DictionarySlot;

// The two places where a dictionary can be open.
enum class SlotId { kMain = 0, kDual = 1 };

// The titles of the windows, all UTF-8 and complete.
struct WindowTitles {
    std::string main_window;  // "KX Dictionary : English - Croatian"
    std::string text_window;  // "Text translation : English - Croatian"
    std::string popup;        // "English - Croatian" (popup and tooltip)
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

class MainView {
public:
    virtual ~MainView() = default;

    // ---- The panes: the two edit boxes and lists of each slot ----------

    // Shows `count` words of `items` in a list. The list paints straight from
    // `items` until the next ShowList for the same list: the caller keeps the
    // array (and the words, which live in the engine) untouched until then.
    // ShowList(..., nullptr, 0) empties the list. Any selection is removed.
    virtual void ShowList(SlotId slot, ListSide side, const char* const* items, int count) = 0;
    // Selects entry `index` of a list (-1: no selection) without starting a
    // translation and scrolls it into view.
    virtual void SelectListEntry(SlotId slot, ListSide side, int index) = 0;
    // The selected word of a list, or nothing.
    virtual std::optional<std::string> SelectedWord(SlotId slot, ListSide side) = 0;
    // The row of the selected word, or -1.
    virtual int SelectedIndex(SlotId slot, ListSide side) = 0;
    // Paints a list again from its array (whose entries the caller changed in
    // place), keeping its selection and any drag under way.
    virtual void RedrawList(SlotId slot, ListSide side) = 0;
    // The text of an edit box.
    virtual std::string EditText(SlotId slot, ListSide side) = 0;
    // Writes an edit box. The change counts as made by the program: its change
    // notification must not reach SearchController::OnEditChanged as typing
    // (the view may also just swallow it).
    virtual void SetEditText(SlotId slot, ListSide side, std::string_view text) = 0;
    // Moves the keyboard focus to an edit box (its text selected) or a list.
    virtual void FocusEdit(SlotId slot, ListSide side) = 0;
    virtual void FocusList(SlotId slot, ListSide side) = 0;
    // Enables or disables a slot's edit boxes, lists and labels (and, for the
    // main slot, the popup window's edit box and list).
    virtual void EnableSlotControls(SlotId slot, bool enabled) = 0;
    // Enables or disables the four menus of the main window (and the buttons
    // that start jobs).
    virtual void EnableMenus(bool enabled) = 0;
    // Applies what a load changed: the slot's fonts, colours and speech
    // settings, its direction and its two list labels (the list names
    // converted with DictionarySlot::ListNameUtf8, or "-" when the slot holds
    // no dictionary). `slot` may be read during the call only.
    virtual void RefreshView(SlotId id, const DictionarySlot& slot) = 0;
    // The code pages of a slot's two edit boxes and lists before its
    // dictionary is loaded (the look-up image at start answers in them).
    virtual void SetSlotCodePages(SlotId, std::uint32_t /*primary*/, std::uint32_t /*secondary*/) {}
    // Shows a dictionary that is still loading as RefreshView will show it
    // loaded (fonts, colours, direction, list labels, its name), but starts
    // nothing (speech): at start, while its look-up image answers, so that
    // the window does not change when the load ends. `slot` holds the
    // description and settings, and may be read during the call only.
    virtual void PreviewView(SlotId, const DictionarySlot&) {}
    // The translations of the word selected in list `from` of a slot are on
    // screen (in the other list): the history counts the look-up when they
    // stay there. Called once the list is filled.
    virtual void TranslationShown(SlotId, ListSide /*from*/) {}
    // The text the program set into an edit box while the slot's dictionary
    // loads is searched on the dictionary once it is ready, as typed text is.
    virtual void SearchWhenReady(SlotId, ListSide) {}

    // ---- Window titles, status strip, progress, messages -------------------

    virtual void SetTitles(const WindowTitles& titles) = 0;
    // The status text of the status strip.
    virtual void SetStatus(std::string text) = 0;
    // Hides the status text and shows the progress bar at 0; until EndProgress
    // a 200 ms timer sets the bar to DB_GetExecutionProgress(handle).
    virtual void BeginProgress(DB_HANDLE handle) = 0;
    // Stops the timer, resets and hides the bar and shows the status text.
    virtual void EndProgress() = 0;
    virtual void Beep() = 0;
    // The program's message box; `style` and the answer use the values of
    // app/message_box_style.h (kMbYesNoCancel | kMbIconQuestion -> kIdYes...).
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
    // The save-file dialog: title, one filter "<filter_name> (*.<extension>)",
    // starting at `start_path` (a folder, or a file in it). Answers the chosen
    // path with the extension added when the user gave none; "" = cancelled.
    virtual std::string ChooseSaveFile(const std::string& title, const std::string& filter_name,
                                       const std::string& extension,
                                       const std::string& start_path) = 0;

    // ---- Dialogs and window states -----------------------------------------

    // Opens the dictionary chooser for the main dictionary (modal; its OK
    // starts the load job through the controller). Returns when it closed.
    virtual void OpenDictionaryChooser() = 0;
    // Opens the import command (format choice, file, the import job); returns when
    // its dialogs closed.
    virtual void OpenImportDialog() = 0;
    // Switches the main window's edit mode off (menu check, buttons, labels);
    // the controller clears SearchOptions::edit_mode itself.
    virtual void SetEditModeOff() = 0;
    // Dual mode after a dual load: on enables the link switches and the dual
    // commands (link-all only while link is on), checks the dual-mode command
    // and shows the dual pane; off disables, unchecks and hides them.
    virtual void SetDualModeState(bool on) = 0;
    // Brings the main window to the front.
    virtual void ActivateMainWindow() = 0;
    // Whether the main window, its word lists, the popup and the text window
    // exist and the main word list is visible (the start-up job waits for it).
    virtual bool WindowsReady() = 0;
    // Closes the main window after the closing save (kJobSaveAndClose). The controller
    // has already marked the dictionary as saved while closing, so the close
    // asks no question. The close stops the worker, which is still inside
    // this call: queue the close and return at once.
    virtual void CloseMainWindow() = 0;

    // ---- The window that the hot keys call (popup or tooltip) ---------------

    // Shows the searched text in that window's edit box (or tooltip text).
    virtual void HotKeyShowText(std::string_view text) = 0;
    // Shows a list of translations there (same lifetime rule as ShowList).
    virtual void HotKeyShowList(const char* const* items, int count) = 0;
    // Empties that window's text and list.
    virtual void HotKeyClear() = 0;

    // ---- Word forms ----------------------------------------------------------

    // Says what the word-form look-up found (the hot-key window when
    // note.hot_key, else the main window), or clears it (an empty note).
    virtual void ShowWordForms(const WordFormsNote& /*note*/) {}
};

}  // namespace wordbay
