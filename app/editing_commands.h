// EditingCommands: the commands that change the main dictionary in edit
// mode (adding and deleting translations, deleting and changing words,
// reordering the translations of a word) and its description, and the one
// question that reads the dictionary at once (whether it changed).
//
// They run on the user-interface thread, between requests of the worker: the
// questions to the user come first, then the engine lock is taken (the
// worker's request under way ends first; the window keeps painting while it
// waits), the engine is changed and the lists are brought up to date while
// the lock is held. Messages are shown only after the lock is given back.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "app/dictionaries.h"
#include "app/list_display.h"
#include "app/message_table.h"
#include "app/search_requests.h"
#include "app/window_report.h"

namespace wordbay {

// What a command on the window's thread does while it waits for the engine.
class EngineWait {
public:
    // Lets the window paint for a moment (no input of the user's is taken
    // meanwhile).
    virtual void KeepPainting() = 0;

protected:
    ~EngineWait() = default;
};

// What the editing commands read and change in the main pane, on the
// window's own thread.
class EditingView : public EngineWait {
public:
    virtual std::string EditText(ListSide side) = 0;
    // The row selected in a list, or -1.
    virtual int SelectedIndex(ListSide side) = 0;
    // The words a list shows.
    virtual WordList Shown(ListSide side) = 0;
    // Shows `words` in place of what a list shows, keeping its selection and
    // a drag under way.
    virtual void Repaint(ListSide side, WordList words) = 0;
    // The program's message box (modal); answers the button pressed.
    virtual int Ask(const Message& question) = 0;

protected:
    ~EditingView() = default;
};

// What a change of the description ended with.
struct DescriptionChange {
    bool changed = false;
    DICTIONARY_INFO before{};  // the description when the change began
    DICTIONARY_INFO stored{};  // what the dictionary holds now
    TextId failure = TextId::MSG_CANT_SET_DICTIONARY_INFO;
    std::string engine_message;
};

// Gives the dictionary of `handle` the description `change` makes of the one
// it holds, and reads back what it holds then. The caller has the handle to
// itself.
DescriptionChange ChangeDescriptionOf(
    DB_HANDLE handle, const std::function<DICTIONARY_INFO(const DICTIONARY_INFO&)>& change);

class EditingCommands {
public:
    EditingCommands(Dictionaries* dictionaries, ListDisplay* lists, WindowReport* report,
                    PaneUpdates* panes, SearchRequests* searches,
                    const std::atomic<unsigned>* epoch)
        : d_(dictionaries)
        , lists_(lists)
        , report_(report)
        , panes_(panes)
        , searches_(searches)
        , epoch_(epoch) {}

    // Adds the translation typed into the two edit boxes (after asking).
    void AddTranslation(EditingView& view);
    // Deletes the selected translation of the selected source word or, when
    // the word has no translation left, the word itself (after asking).
    void DeleteSelected(EditingView& view);
    // Changes the word at `row` of a list of the main slot, `old_word`, into
    // `new_word` (code page of the list). An empty new word changes nothing.
    void ChangeWord(EditingView& view, ListSide side, int row, const std::string& old_word,
                    const std::string& new_word);
    // The translation at `previous` of the target list was dragged to `row`:
    // moves it there, one place at a time, in the list and in the dictionary.
    // The list's selection follows it.
    void MoveTranslation(EditingView& view, int previous, int row);
    // Gives the main dictionary the description `change` makes of the one it
    // has; nothing when no dictionary is open or a request keeps the engine.
    DescriptionChange ChangeDescription(
        EngineWait& wait, const std::function<DICTIONARY_INFO(const DICTIONARY_INFO&)>& change);
    // Whether the main dictionary has changes not saved; nothing while a
    // request keeps the engine.
    std::optional<bool> MainChanged();

private:
    // Waits, the window painting, until no request uses the engine; answers
    // its lock, or an empty one when a request still runs after a while.
    std::unique_lock<std::mutex> HoldEngine(EngineWait& wait);
    // Asks `question` about the pair of a source and a target word; true
    // when the user said yes.
    bool ConfirmPair(EditingView& view, TextId question, ListSide source,
                     std::string_view source_word, std::string_view target_word);
    // Brings the lists up to date after the translation of `source_word` was
    // added; false when they could not grow to the dictionary's new size.
    bool ShowAdded(EditingView& view, ListSide source, const std::string& source_word,
                   const char* stored_source, const char* stored_target);
    // Deletes the translation between a source and a target word.
    const DB_RESULT* DeletePair(ListSide source, const std::string& source_word,
                                const std::string& target_word);
    // A word of a list of the main slot, for a message (UTF-8).
    std::string WordForMessage(ListSide side, std::string_view word) const;
    // A failure after the lock was given back.
    void Fail(TextId message) const;

    Dictionaries* const d_;
    ListDisplay* const lists_;
    WindowReport* const report_;
    PaneUpdates* const panes_;
    SearchRequests* const searches_;
    const std::atomic<unsigned>* const epoch_;
};

}  // namespace wordbay
