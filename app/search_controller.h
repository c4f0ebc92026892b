// SearchController: turns what the user does in the main window into jobs of
// the worker thread, and runs those jobs: listing and translating words,
// loading, saving, importing, updating, exporting and the start-up job.
//
// The user-interface thread calls the On... entry points and the Start...
// commands; they never wait for the engine. Each job runs on the worker
// thread and reaches the windows only through MainView.
//
// The controller is the front the window calls. The work is done by its
// parts over one shared JobContext: ListingJobs, DictionaryJobs, ImportJobs,
// StartupJob and EditingCommands, each in a file of its own.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "app/dictionary_jobs.h"
#include "app/editing_commands.h"
#include "app/import_jobs.h"
#include "app/job_context.h"
#include "app/listing_jobs.h"
#include "app/startup_job.h"

namespace wordbay {

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

    // Starts the worker with the start-up job.
    void StartWorker(const DictionaryState& state, const SearchOptions& options);
    // Stops the running engine loops and asks the worker to end after its
    // current job, without waiting. Then keep the event loop running until
    // WorkerFinished() and call Stop() (a job may wait for a MainView call).
    void RequestStop();
    bool WorkerFinished() const { return context_.worker().finished(); }
    // RequestStop, then waits until the worker has ended: a running job (a
    // save, say) ends normally first.
    void Stop();
    // Writes the settings files of the loaded dictionaries (their direction,
    // views and speech). Call when the worker has ended, at shut-down.
    void WriteSlotSettings();
    // Whether a job runs now or is about to.
    bool busy() const { return context_.worker().job_pending() || context_.worker().busy(); }

    // Other threads that use the slots' handles (the text translation) hold
    // this lock around each engine call; every job holds it while it runs.
    // The user-interface thread only ever try_locks it: a job may be waiting
    // for that thread while it holds the lock.
    std::mutex& engine_lock() { return context_.engine_lock(); }
    // Writes the look-up images of the dictionaries loaded and saved.
    ImageWriter& image_writer() { return context_.image_writer(); }
    // Counts the jobs that may have changed, replaced or closed a dictionary;
    // a reader that took handles or words before must not use them once it
    // changed. Read it with the engine lock held.
    const std::atomic<unsigned>& dictionary_generation() const { return context_.generation(); }

    // ---- Options and state ------------------------------------------------

    SearchOptions options() const;
    void SetOptions(const SearchOptions& options);
    DictionaryState dictionary_state() const;
    // The user's choice in the settings whether the start-up message shows.
    void SetShowSplash(bool on);
    // Set while a search started by the hot keys or from the popup is under
    // way; the results then also go to the popup or tooltip.
    void SetHotKeyPending(bool on) { context_.hot_key_pending().store(on); }
    bool hot_key_pending() const { return context_.hot_key_pending().load(); }
    // True once StartSaveAndClose saved the dictionary; a load clears it.
    bool saved_while_closing() const { return context_.saved_while_closing().load(); }

    DictionarySlot& slot(SlotId id) { return context_.slot(id); }
    const DictionarySlot& slot(SlotId id) const { return context_.slot(id); }
    Catalogue& catalogue() { return context_.catalogue(); }
    const ProgramPaths& paths() const { return context_.paths(); }

    // ---- Typing, selection, activation (user-interface thread) ------------

    // An edit box changed by the user: stops the slot's engine loop and lists
    // its text (the typing rule, edit mode included). Changes that the program
    // made itself must not be passed here.
    void OnEditChanged(SlotId slot, ListSide side);
    // An edit box changed by the user while its dictionary loads (the window
    // keeps the text and searches it once the dictionary is ready): at start,
    // the main dictionary's look-up image answers it meanwhile.
    void OnEditChangedWhileLoading(SlotId slot, ListSide side);
    // Whether the main dictionary's look-up image answers while the
    // dictionary loads at start; the main slot's direction says its source
    // side.
    bool answering_from_image() { return context_.startup_image().answering(); }
    // Whether the window shows the loading main dictionary meanwhile: the
    // main slot holds its description and settings.
    bool previewing_from_image() { return context_.startup_image().previewing(); }
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
        context_.ClearEdit(slot, side);
        context_.ClearList(slot, side);
    }
    // The number of words a list shows now.
    int shown_count(SlotId slot, ListSide side) const { return context_.shown_count(slot, side); }

    // ---- Commands that start jobs (user-interface thread) -----------------

    // Stops the running engine loops and starts job `job`.
    void StartJob(int job);
    void StartLoad(const std::string& path);
    void StartLoadDual(const std::string& path);
    void StartSave() { StartJob(kJobSave); }
    void StartSaveAs() { StartJob(kJobSaveAs); }
    void StartSaveAndClose() { StartJob(kJobSaveAndClose); }
    // Re-sorting: `changed_lists` bit 0 primary, bit 1 secondary; the new locales are
    // those the information dialog set in the dictionary.
    void StartResort(int changed_lists);
    void StartExport(int format, const std::string& path);
    void StartImport(ImportRequest request);
    void StartUpdate(int format, const std::string& path);
    void StartCloseDual() { StartJob(kJobCloseDual); }  // dual mode off

    // ---- Editing the main dictionary (user-interface thread, edit mode) ---

    // Answers the engine lock once no job runs on the dictionaries, or an
    // empty lock when one still runs after a while. Called after the user
    // answered any question, right before the engine is changed.
    using EngineHold = EditingCommands::EngineHold;
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
    std::string StatusText() const { return context_.StatusText(); }
    // The window titles for the current slots and options.
    WindowTitles Titles() const { return context_.Titles(); }

private:
    // OnActivated before the main dictionary is loaded.
    void ActivatedWhileLoading(std::string clipboard_text);
    // Shows the main dictionary `path`, whose look-up image answers, as it
    // will be once loaded. Before the worker starts.
    void PreviewMain(const std::string& path);
    // Runs job `job` on the worker thread, with the engine lock held.
    void RunJob(int job);
    // Run `job` when it is one of theirs: a job that lists or translates the
    // words of a list, or any other job. False for a number they don't know.
    bool RunSearchJob(int job);
    bool RunOtherJob(int job);

    JobContext context_;
    ListingJobs listing_{context_};
    DictionaryJobs dictionaries_{context_};
    ImportJobs imports_{context_};
    StartupJob startup_{context_, dictionaries_};
    EditingCommands editing_{context_};

    // What the Start... commands hand to their jobs.
    struct FileRequest {
        int format = 0;
        std::string path;
    };
    JobRequest<std::string> load_path_;
    JobRequest<std::string> dual_path_;
    JobRequest<int> resort_lists_;
    JobRequest<FileRequest> export_;
    JobRequest<FileRequest> update_;
    JobRequest<ImportRequest> import_;
};

// Cuts clipboard text at its first CR or LF and trims the spaces around it.
std::string ClipboardSearchText(std::string_view clipboard);

}  // namespace wordbay
