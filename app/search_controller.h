// SearchController: the main window's controller. It owns the two dictionary
// slots, the worker that runs the window's requests on them, and the parts
// the window talks to, each with its own narrow interface:
//   - searches(): typing, selecting, activation, the direction (search
//     requests, latest wins);
//   - dictionaries(): the start-up, loads, saves, re-sorting, exports,
//     updates, imports and the answers to their questions (commands, each
//     run in turn);
//   - editing(): the commands of edit mode, on the window's thread.
// What the worker finds goes back to the window through WindowUpdates, whose
// calls never wait; the worker never reads from the window.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/catalogue.h"
#include "app/dictionaries.h"
#include "app/dictionary_jobs.h"
#include "app/dictionary_requests.h"
#include "app/editing_commands.h"
#include "app/file_watch.h"
#include "app/image_writer.h"
#include "app/import_jobs.h"
#include "app/list_display.h"
#include "app/listing_jobs.h"
#include "app/questions.h"
#include "app/request_queue.h"
#include "app/search_requests.h"
#include "app/shared_settings.h"
#include "app/startup_image.h"
#include "app/startup_job.h"
#include "app/text_translator.h"
#include "app/window_report.h"
#include "app/worker.h"

namespace wordbay {

class SearchController : private RequestQueue {
public:
    // The receivers of `window`, `catalogue`, `fonts` and `program` outlive
    // the controller; `fonts` is asked from the worker thread, `program` (the
    // window the hot keys call) from the window's.
    SearchController(const WindowUpdates& window, Catalogue* catalogue, ProgramPaths paths,
                     const FontCatalog* fonts, const ProgramSettings* program);
    ~SearchController();  // stops the worker (see Stop)
    SearchController(const SearchController&) = delete;
    SearchController& operator=(const SearchController&) = delete;

    // ---- Life cycle (user-interface thread) ------------------------------

    // Starts the worker with the options and dictionary state of settings();
    // until the main dictionary is loaded its look-up image answers typing.
    // The window asks for the start-up request once it shows.
    void Start();
    // Stops the running searches and asks the worker to end after its
    // requests, without waiting.
    void RequestStop();
    bool WorkerFinished() const { return worker_.finished(); }
    // RequestStop, then waits until the worker has ended.
    void Stop();
    // Writes the settings files of the loaded dictionaries (their direction,
    // views and speech). Call when the worker has ended, at shut-down.
    void WriteSlotSettings();
    // Whether a request runs, waits to run, waits for the user's answer, or
    // has updates the window did not yet apply.
    bool busy() const;
    // The window applied the updates of the first `count` requests
    // (WindowStates::RequestsDone).
    void Delivered(std::uint64_t count);

    // ---- The parts --------------------------------------------------------

    SearchRequests& searches() { return searches_; }
    DictionaryRequests& dictionaries() { return dictionary_requests_; }
    EditingCommands& editing() { return editing_; }
    SharedSettings& settings() { return settings_; }
    const SharedSettings& settings() const { return settings_; }
    // The slots, to read (any thread; see DictionarySlot).
    const DictionarySlot& slot(SlotId id) const { return dictionaries_.slot(id); }
    // Changes the settings of a slot's dictionary (its views and voices),
    // which are written with it.
    void ChangeSlotSettings(SlotId id, const std::function<void(DictionarySettings&)>& change) {
        dictionaries_.slot(id).ChangeSettings(change);
    }
    Catalogue& catalogue() { return *catalogue_; }
    const ProgramPaths& paths() const { return paths_; }
    // Writes the look-up images of the dictionaries loaded and saved.
    ImageWriter& image_writer() { return image_writer_; }

    // ---- What the window asks (any thread) ----------------------------------

    // The lists' epoch: words of an earlier one are no longer shown (see
    // PaneUpdates::ShowList). A change of a dictionary in place (an update, a
    // re-sort) begins a new one.
    unsigned epoch() const { return epoch_.load(); }
    // 0..100 while an engine call runs under progress; -1 otherwise.
    int progress() const { return report_.progress(); }
    WindowTitles Titles() const { return report_.Titles(); }
    std::string StatusText() const { return report_.StatusText(); }
    // ---- The main dictionary's file (user-interface thread) ---------------

    // Looks whether another program saved the main dictionary's file; call it
    // every half second or so. While no request runs and nothing is edited,
    // a changed file is loaded again in the background (the lists keep the
    // typed text and the selection); while the dictionary is edited the
    // status line says that the file changed, and the next save keeps both.
    void WatchMainFile();

    // The dictionaries as the text translation needs them: not ready while a
    // request changes them (busy) or when no main dictionary is open.
    TextDictionaries TextRun() const;

private:
    using RequestWorker = Worker<SearchRequest, CommandRequest>;

    void Post(SearchRequest request) override { worker_.Post(std::move(request)); }
    void Post(CommandRequest request) override { worker_.Post(std::move(request)); }
    // Run a request on the worker thread, with the engine lock held.
    void Run(SearchRequest& request);
    void Run(CommandRequest& request);
    void RunCommand(CommandRequest& request);
    // After each request: the status line, and the count the window gets.
    void Finish();
    // Remembers the listing and the translation the main pane shows
    // (worker thread), and shows them again in a replaced dictionary.
    void Remember(const SearchRequest& request);
    void RelistMain();
    // Shows the main dictionary `path`, whose look-up image answers, as it
    // will be once loaded. Before the worker starts.
    void PreviewMain(const std::string& path);

    const WindowUpdates window_;
    Catalogue* const catalogue_;
    const ProgramPaths paths_;
    const FontCatalog* const fonts_;

    Dictionaries dictionaries_;
    SharedSettings settings_;
    StartupImage image_;
    ImageWriter image_writer_;
    std::atomic<unsigned> epoch_{0};
    std::atomic<std::uint64_t> done_{0};
    std::atomic<std::uint64_t> delivered_{0};
    FileWatch file_watch_;
    // What the main pane's source list shows (worker thread).
    std::optional<ListWords> main_listing_;
    std::optional<TranslateWord> main_translation_;

    ListDisplay lists_{window_.panes, window_.hot_key};
    WindowReport report_{window_.status, &dictionaries_, &settings_, &lists_, &image_};
    Questions questions_{window_.status};
    SearchRequests searches_;
    DictionaryRequests dictionary_requests_{&dictionaries_, &lists_, this, &epoch_};
    EditingCommands editing_{&dictionaries_, &lists_, &report_, window_.panes, &searches_, &epoch_};
    ListingJobs listing_;
    DictionaryJobs dictionary_jobs_;
    ImportJobs imports_;
    StartupJob startup_;

    // Last: its thread runs requests on the members above.
    RequestWorker worker_;
};

}  // namespace wordbay
