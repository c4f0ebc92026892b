// JobContext: what the parts of the search controller share: the two
// dictionary slots, the options and dictionary state, the worker, the view
// and the catalogue, and the helpers that show results through the view.
//
// The search controller owns one and hands it to each of its parts
// (ListingJobs, DictionaryJobs, ImportJobs, StartupJob, EditingCommands).
// Jobs use it on the worker thread with the engine lock held; the editing
// commands use it on the user-interface thread while they hold that lock.
// The options and the dictionary state are guarded by a mutex of their own;
// the flags and counts are atomic; everything else belongs to whoever holds
// the engine lock.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "app/catalogue.h"
#include "app/dictionary_slot.h"
#include "app/image_writer.h"
#include "app/main_thread.h"
#include "app/main_view.h"
#include "app/message_table.h"
#include "app/program_dir.h"
#include "app/search_options.h"
#include "app/startup_image.h"

namespace wordbay {

// What DB_List answers (see lexbase.h) when a regular expression needed too much
// work on some words and they were left out; the status line repeats it.
inline constexpr char kSearchIncompleteMessage[] =
    "Search incomplete: the regular expression needed too much work on some words.";

// Job numbers of the worker.
enum Job : int {
    kJobNone = 0,  // wakes the worker to end
    kJobStartup = 1,
    kJobListMainPrimary = 2,
    kJobListMainSecondary = 3,
    kJobSaveAs = 4,
    kJobLoad = 5,
    kJobSave = 6,
    kJobResort = 7,
    kJobSaveAndClose = 8,
    kJobTranslateMainPrimary = 9,
    kJobTranslateMainSecondary = 10,
    kJobPalindromes = 11,
    kJobIdenticalWords = 12,
    kJobExport = 13,
    kJobLoadDual = 14,
    kJobListDualPrimary = 15,
    kJobListDualSecondary = 16,
    kJobTranslateDualPrimary = 19,
    kJobTranslateDualSecondary = 20,
    kJobImport = 21,
    kJobUpdate = 22,
    kJobCloseDual = 23,  // dual mode switched off: empty the dual pane, close it
};

// The job that lists the words of a list, and the one that translates its
// selected word.
int ListJobOf(SlotId id, ListSide side);
int TranslateJobOf(SlotId id, ListSide side);

// The program settings the jobs read and change ([options] "showsplash",
// [dictionary] "current", "dual", "dualname", "convertv2"). The main window
// passes them in at start and reads them back before it writes the file.
struct DictionaryState {
    bool show_splash = true;
    bool convert_v2 = false;
    std::string current;    // file name of the main dictionary
    bool dual = false;      // dual mode wanted at start
    std::string dual_name;  // file name of the dual dictionary
};

// A value the user-interface thread hands to the job it starts next; the
// job reads it on the worker thread.
template <typename T>
class JobRequest {
public:
    void Set(T value) {
        std::lock_guard<std::mutex> lock(mutex_);
        value_ = std::move(value);
    }
    T Get() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return value_;
    }

private:
    mutable std::mutex mutex_;
    T value_{};
};

class JobContext {
public:
    // `view`, `catalogue` and `fonts` outlive the context; `fonts` is asked
    // from the worker thread. `run_job` runs one job by number on the worker.
    JobContext(MainView* view, Catalogue* catalogue, ProgramPaths paths, const FontCatalog* fonts,
               std::function<void(int)> run_job);
    JobContext(const JobContext&) = delete;
    JobContext& operator=(const JobContext&) = delete;

    MainView& view() { return *view_; }
    Catalogue& catalogue() { return *catalogue_; }
    const ProgramPaths& paths() const { return paths_; }
    const FontCatalog& fonts() const { return *fonts_; }
    MainThread& worker() { return worker_; }
    const MainThread& worker() const { return worker_; }

    DictionarySlot& main_slot() { return main_; }
    const DictionarySlot& main_slot() const { return main_; }
    DictionarySlot& dual_slot() { return dual_; }
    const DictionarySlot& dual_slot() const { return dual_; }
    DictionarySlot& slot(SlotId id) { return id == SlotId::kMain ? main_ : dual_; }
    const DictionarySlot& slot(SlotId id) const { return id == SlotId::kMain ? main_ : dual_; }

    // See SearchController::engine_lock and dictionary_generation.
    std::mutex& engine_lock() { return engine_lock_; }
    std::atomic<unsigned>& generation() { return generation_; }
    const std::atomic<unsigned>& generation() const { return generation_; }

    // ---- Options and dictionary state (any thread) -------------------------

    SearchOptions options() const;
    void SetOptions(const SearchOptions& options);
    DictionaryState dictionary_state() const;
    void SetDictionaryState(const DictionaryState& state);
    // Runs `change` on the options and the state with their mutex held.
    void ChangeSettings(const std::function<void(SearchOptions&, DictionaryState&)>& change);

    // The main dictionary's look-up image, answering typing until it is loaded.
    StartupImage& startup_image() { return startup_image_; }
    // Writes the look-up images of dictionaries loaded or saved, for the
    // next start.
    ImageWriter& image_writer() { return image_writer_; }
    // Set while a search started by the hot keys or from the popup is under
    // way; the results then also go to the popup or tooltip.
    std::atomic<bool>& hot_key_pending() { return hot_key_pending_; }
    const std::atomic<bool>& hot_key_pending() const { return hot_key_pending_; }
    // The last word listing was a regular expression that left words out for
    // needing too much work; the status line says so.
    std::atomic<bool>& search_incomplete() { return search_incomplete_; }
    // True once the dictionary was saved for closing; a load clears it.
    std::atomic<bool>& saved_while_closing() { return saved_while_closing_; }
    const std::atomic<bool>& saved_while_closing() const { return saved_while_closing_; }
    // What the hot-key window shows (worker thread).
    ResultBuffers& hot_key_items() { return hot_key_items_; }
    // What the last word-form look-up says on the status line ("houses:
    // form of house"), "" for nothing; any thread.
    void SetWordFormsStatus(std::string text);

    // ---- Typing ------------------------------------------------------------

    // An edit box changed: stops the slot's engine loop and sets the job that
    // lists its text (the typing rule, edit mode included).
    void ListTypedText(SlotId id, ListSide side);

    // ---- What the lists show -----------------------------------------------

    // The number of words a list shows now.
    int shown_count(SlotId id, ListSide side) const;
    // Shows the `count` entries the engine just wrote into a list's back array.
    void Show(SlotId id, ListSide side, int count);
    // Hands a list the array it shows again, with `count` entries (editing).
    void ShowFront(SlotId id, ListSide side, int count);
    void ClearList(SlotId id, ListSide side);
    void ClearEdit(SlotId id, ListSide side);
    // Empties both lists of a slot and the hot-key window.
    void ClearSlotViews(SlotId id);

    // ---- Titles, status and messages ---------------------------------------

    // The status line after a job (word counts, or "Dictionary not loaded").
    std::string StatusText() const;
    // The window titles for the current slots and options.
    WindowTitles Titles() const;
    void Retitle();
    void RefreshStatus();
    // `message`, then `detail` and the engine's message, each after a blank line.
    void ReportEngineError(TextId message, const std::string& detail, const char* engine_message);
    void ReportMemoryError();

private:
    MainView* const view_;
    Catalogue* const catalogue_;
    const ProgramPaths paths_;
    const FontCatalog* const fonts_;

    DictionarySlot main_{SlotId::kMain};
    DictionarySlot dual_{SlotId::kDual};

    std::mutex engine_lock_;
    std::atomic<unsigned> generation_{0};
    mutable std::mutex mutex_;  // guards options_, state_ and word_forms_status_
    SearchOptions options_;
    DictionaryState state_;
    std::string word_forms_status_;

    StartupImage startup_image_;
    ImageWriter image_writer_;
    std::atomic<bool> hot_key_pending_{false};
    std::atomic<bool> search_incomplete_{false};
    std::atomic<bool> saved_while_closing_{false};
    std::atomic<int> shown_[2][2] = {};  // [slot][side]
    ResultBuffers hot_key_items_;

    // Last: its thread runs jobs on the members above.
    MainThread worker_;
};

}  // namespace wordbay
