// SearchController: turns what the user does in the main window into jobs of
// the worker thread, and runs those jobs: listing and translating words,
// loading, saving, importing, updating, exporting and the start-up job.
//
// The user-interface thread calls the On... entry points and the Start...
// commands; they never wait for the engine. Each job runs on the worker
// thread and reaches the windows only through MainView.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/dictionary_slot.h"
#include "app/freelang_directory.h"
#include "app/main_thread.h"
#include "app/main_view.h"
#include "app/message_table.h"
#include "app/program_dir.h"
#include "app/search_options.h"

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

// What the import dialog hands to job 21.
struct ImportRequest {
    int format = DB_FORMAT_TXT_LOAD;  // DB_FORMAT_..._LOAD
    std::string path;                 // the file, or the Freelang folder (format 4)
    std::uint32_t primary_locale = 0;
    std::uint32_t secondary_locale = 0;
    std::optional<DICTIONARY_INFO> info;  // description given by the dialog
    std::vector<FreelangEntry> freelang;  // format 4: the entries, chosen ones ticked
};

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

class SearchController {
public:
    // `view`, `catalogue` and `fonts` outlive the controller; `fonts` is asked
    // from the worker thread.
    SearchController(MainView* view, Catalogue* catalogue, ProgramPaths paths,
                     const FontCatalog* fonts);
    ~SearchController();  // stops the worker (see Stop)
    SearchController(const SearchController&) = delete;
    SearchController& operator=(const SearchController&) = delete;

    // ---- Life cycle (user-interface thread) ------------------------------

    // Starts the worker with the start-up job (1).
    void StartWorker(const DictionaryState& state, const SearchOptions& options);
    // Stops the running engine loops and asks the worker to end after its
    // current job, without waiting. Then keep the event loop running until
    // WorkerFinished() and call Stop() (a job may wait for a MainView call).
    void RequestStop();
    bool WorkerFinished() const { return worker_.finished(); }
    // RequestStop, then waits until the worker has ended: a running job (a
    // save, say) ends normally first.
    void Stop();
    // Writes the settings files of the loaded dictionaries (their direction,
    // views and speech). Call when the worker has ended, at shut-down.
    void WriteSlotSettings();
    // Whether a job runs now or is about to.
    bool busy() const { return worker_.job_pending() || worker_.busy(); }

    // Other threads that use the slots' handles (the text translation) hold
    // this lock around each engine call; every job holds it while it runs.
    // The user-interface thread only ever try_locks it: a job may be waiting
    // for that thread while it holds the lock.
    std::mutex& engine_lock() { return engine_lock_; }
    // Counts the jobs that may have changed, replaced or closed a dictionary;
    // a reader that took handles or words before must not use them once it
    // changed. Read it with the engine lock held.
    const std::atomic<unsigned>& dictionary_generation() const { return generation_; }

    // ---- Options and state ------------------------------------------------

    SearchOptions options() const;
    void SetOptions(const SearchOptions& options);
    DictionaryState dictionary_state() const;
    // The user's choice in the settings whether the start-up message shows.
    void SetShowSplash(bool on);
    // Set while a search started by the hot keys or from the popup is under
    // way; the results then also go to the popup or tooltip.
    void SetHotKeyPending(bool on) { hot_key_pending_.store(on); }
    bool hot_key_pending() const { return hot_key_pending_.load(); }
    // True once job 8 saved the dictionary for closing; a load clears it.
    bool saved_while_closing() const { return saved_while_closing_.load(); }

    DictionarySlot& slot(SlotId id) { return id == SlotId::kMain ? main_ : dual_; }
    const DictionarySlot& slot(SlotId id) const { return id == SlotId::kMain ? main_ : dual_; }
    Catalogue& catalogue() { return *catalogue_; }
    const ProgramPaths& paths() const { return paths_; }

    // ---- Typing, selection, activation (user-interface thread) ------------

    // An edit box changed by the user: stops the slot's engine loop and lists
    // its text (the typing rule, edit mode included). Changes that the program
    // made itself must not be passed here.
    void OnEditChanged(SlotId slot, ListSide side);
    // Down arrow in an edit box: when its list has entries, focuses the list,
    // selects the first entry and handles that as a selection. Returns whether
    // it did so.
    bool OnDownArrow(SlotId slot, ListSide side);
    // The user selected a word in a list: it goes into the list's edit box and
    // its translations are looked up.
    void OnListSelected(SlotId slot, ListSide side);
    // The main window was activated; `clipboard_text` is the clipboard's text
    // (read only when options().use_clipboard or hot_key_pending()).
    void OnActivated(std::string clipboard_text);
    // Repeats the search of an edit box (after a search switch changed).
    void SearchAgain(SlotId slot, ListSide side) { OnEditChanged(slot, side); }
    // Reverses a slot's direction (the direction buttons); retitles and
    // refreshes the status line through a job when none runs.
    void ToggleDirection(SlotId slot);
    // Empties the edit box and the list of one side.
    void ClearSide(SlotId slot, ListSide side) {
        ClearEdit(slot, side);
        ClearList(slot, side);
    }
    // The number of words a list shows now.
    int shown_count(SlotId slot, ListSide side) const;

    // ---- Commands that start jobs (user-interface thread) -----------------

    // Stops the running engine loops and starts job `job`.
    void StartJob(int job);
    void StartLoad(const std::string& path);      // 5
    void StartLoadDual(const std::string& path);  // 14
    void StartSave() { StartJob(kJobSave); }      // 6
    void StartSaveAs() { StartJob(kJobSaveAs); }  // 4
    void StartSaveAndClose() { StartJob(kJobSaveAndClose); }  // 8
    // 7: `changed_lists` bit 0 primary, bit 1 secondary; the new locales are
    // those the information dialog set in the dictionary.
    void StartResort(int changed_lists);
    void StartExport(int format, const std::string& path);  // 13
    void StartImport(ImportRequest request);                 // 21
    void StartUpdate(int format, const std::string& path);  // 22
    void StartCloseDual() { StartJob(kJobCloseDual); }      // dual mode off

    // ---- Editing the main dictionary (user-interface thread, edit mode) ---

    // Answers the engine lock once no job runs on the dictionaries, or an
    // empty lock when one still runs after a while. Called after the user
    // answered any question, right before the engine is changed.
    using EngineHold = std::function<std::unique_lock<std::mutex>()>;
    // Adds the translation typed into the two edit boxes (after asking).
    void AddTranslation(const EngineHold& hold_engine);
    // Deletes the selected translation of the selected source word or, when
    // the word has no translation left, the word itself (after asking).
    void DeleteSelected(const EngineHold& hold_engine);
    // Changes the word at `row` of a list of the main slot, `old_word`, into
    // `new_word` (code page of the list). An empty new word changes nothing.
    void ChangeWord(ListSide side, int row, const std::string& old_word,
                    const std::string& new_word, const EngineHold& hold_engine);
    // The translation at `previous` of the target list was dragged to `row`:
    // moves it there, one place at a time, in the list and in the dictionary.
    // The list's selection follows it.
    void MoveTranslation(int previous, int row, const EngineHold& hold_engine);

    // The status line after a job (word counts, or "Dictionary not loaded").
    std::string StatusText() const;
    // The window titles for the current slots and options.
    WindowTitles Titles() const;

private:
    void RunJob(int job);

    // Jobs (worker thread), by subject: listing_jobs.cpp, dictionary_jobs.cpp,
    // import_jobs.cpp, startup_job.cpp.
    void ListJob(SlotId id, ListSide side);
    void TranslateJob(SlotId id, ListSide side);
    void LinkIntoDual(const SearchOptions& o, ListSide main_target);
    void ShowHotKeyResult(const SearchOptions& o, SlotId id, ListSide target);
    void PalindromeJob();
    void IdenticalWordsJob();
    bool LoadIntoSlot(DictionarySlot& slot, const std::string& path);
    void LoadDualJob(const std::string& path);
    bool Save(DictionarySlot& slot, const std::string& path);
    void SaveAsJob();
    void SaveAndCloseJob();
    void ResortJob();
    void ExportJob();
    void UpdateJob();
    void CloseDualJob();
    void ImportJob();
    void ImportFile(const ImportRequest& request);
    void ImportFreelang(const ImportRequest& request);
    // Resolves the overwrite question for an import target: answers the path
    // to save to, or "" when the user cancelled.
    std::string ConfirmImportTarget(const std::string& target);
    void StartupJob();
    void ConvertPreviousVersion();

    // Helpers of the jobs (worker thread).
    void Show(SlotId id, ListSide side, int count);
    void ClearList(SlotId id, ListSide side);
    void ClearSlotViews(SlotId id);
    void ClearEdit(SlotId id, ListSide side);
    void Retitle();
    void RefreshStatus();
    void ReportEngineError(TextId message, const std::string& detail, const char* engine_message);
    void ReportMemoryError();
    // Hands a list the array it shows again, with `count` entries (editing).
    void ShowFront(SlotId id, ListSide side, int count);
    // A word of a list of the main slot, for a message (UTF-8).
    std::string WordForMessage(ListSide side, std::string_view word) const;
    bool WaitForWindows();

    MainView* const view_;
    Catalogue* const catalogue_;
    const ProgramPaths paths_;
    const FontCatalog* const fonts_;

    DictionarySlot main_{SlotId::kMain};
    DictionarySlot dual_{SlotId::kDual};

    std::mutex engine_lock_;
    std::atomic<unsigned> generation_{0};
    mutable std::mutex mutex_;  // guards the members below it
    SearchOptions options_;
    DictionaryState state_;
    std::string load_path_;       // job 5
    std::string dual_path_;       // job 14
    int resort_lists_ = 0;        // job 7
    int export_format_ = 0;       // job 13
    std::string export_path_;     // job 13
    ImportRequest import_;        // job 21
    int update_format_ = 0;       // job 22
    std::string update_path_;     // job 22

    std::atomic<bool> hot_key_pending_{false};
    // The last word listing was a regular expression that left words out
    // for needing too much work; the status line says so.
    std::atomic<bool> search_incomplete_{false};
    std::atomic<bool> saved_while_closing_{false};
    std::atomic<int> shown_[2][2] = {};  // [slot][side]
    ResultBuffers hot_key_items_;        // what the hot-key window shows (worker)

    MainThread worker_;
};

// Cuts clipboard text at its first CR or LF and trims the spaces around it.
std::string ClipboardSearchText(std::string_view clipboard);

}  // namespace wordbay
