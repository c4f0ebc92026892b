// SearchRequests: what the user does in the panes that asks for a search:
// typing into an edit box, selecting a word, activating the main window with
// the clipboard's text, the direction buttons, the palindrome and identical
// word lists. Each becomes a search request of the worker that carries the
// text, the options and where the results go.
//
// The user-interface thread calls it; it never waits for the engine. Until
// a slot's dictionary is loaded the text typed into it is kept and searched
// once it is, and at start the main dictionary's look-up image answers it
// meanwhile.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "app/dictionaries.h"
#include "app/list_display.h"
#include "app/program_settings.h"
#include "app/request_queue.h"
#include "app/startup_image.h"
#include "app/window_report.h"

namespace wordbay {

class SearchRequests {
public:
    // `program` holds the window the hot keys call; `epoch` is the
    // controller's (see SearchController::epoch()).
    SearchRequests(Dictionaries* dictionaries, SharedSettings* settings, ListDisplay* lists,
                   WindowReport* report, PaneUpdates* panes, HotKeyUpdates* hot_key,
                   StartupImage* image, RequestQueue* queue, const ProgramSettings* program,
                   const std::atomic<unsigned>* epoch)
        : d_(dictionaries)
        , settings_(settings)
        , lists_(lists)
        , report_(report)
        , panes_(panes)
        , hot_key_(hot_key)
        , image_(image)
        , queue_(queue)
        , program_(program)
        , epoch_(epoch) {}

    // The user changed the text of an edit box to `text` (a change the
    // program made must not come here): stops the slot's search and lists
    // the text, by the typing rule of edit mode in the main slot.
    void Typed(SlotId slot, ListSide side, const std::string& text);
    // Enter (the down arrow) in an edit box whose list is empty, `text` in
    // it: the main dictionary's source side looks for the text's base word,
    // or suggests words, even without automatic translation.
    void Entered(SlotId slot, ListSide side, const std::string& text);
    // The user selected `word` in a list: it goes into the list's edit box and
    // its translations are looked up.
    void Selected(SlotId slot, ListSide side, const std::string& word);
    // The main window was activated; `clipboard_text` is the clipboard's
    // text (read only when the options say so or a hot-key search waits).
    void Activated(const std::string& clipboard_text);
    // Reverses a slot's direction; the titles and status line follow.
    void ToggleDirection(SlotId slot);
    // Empties the edit box and the list of one side.
    void ClearSide(SlotId slot, ListSide side);
    void ListPalindromes();
    void ListIdenticalWords();
    // Stops the searches running on both dictionaries.
    void StopSearches() { d_->EndLoops(); }

    // Whether the main dictionary's look-up image answers while the
    // dictionary loads at start, and whether the window shows the loading
    // dictionary meanwhile.
    bool answering_from_image() const { return image_->answering(); }
    bool previewing_from_image() const { return image_->previewing(); }

    // Whether a text typed before the slot's dictionary was loaded waits to
    // be searched.
    bool waiting_for_load(SlotId slot);
    // A load into `slot` succeeded: what was typed into it before is searched
    // now (any thread).
    void SearchTypedWhileLoading(SlotId slot);

private:
    // Keeps `request` to be searched once its slot's dictionary is loaded.
    void KeepUntilLoaded(ListWords request);
    HotKeyCall HotKey() const;
    unsigned epoch() const { return epoch_->load(); }

    Dictionaries* const d_;
    SharedSettings* const settings_;
    ListDisplay* const lists_;
    WindowReport* const report_;
    PaneUpdates* const panes_;
    HotKeyUpdates* const hot_key_;
    StartupImage* const image_;
    RequestQueue* const queue_;
    const ProgramSettings* const program_;
    const std::atomic<unsigned>* const epoch_;
    std::mutex kept_mutex_;
    std::optional<ListWords> kept_[2];  // [slot]
};

// Cuts clipboard text at its first CR or LF and trims the spaces around it.
std::string ClipboardSearchText(std::string_view clipboard);

}  // namespace wordbay
