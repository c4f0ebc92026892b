#include "app/search_controller.h"

#include <algorithm>
#include <new>
#include <optional>
#include <utility>
#include <variant>

#include "app/merging_save.h"
#include "app/startup_trace.h"
#include "platform/locale.h"

namespace wordbay {
namespace {

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

std::int32_t LargerCount(const DictionarySlot& slot) {
    return static_cast<std::int32_t>(
        std::max(slot.WordCount(ListSide::kPrimary), slot.WordCount(ListSide::kSecondary)));
}

}  // namespace

bool ChangesDictionaries(const CommandRequest& request) {
    return !std::holds_alternative<SaveMain>(request) &&
           !std::holds_alternative<SaveMainAs>(request) &&
           !std::holds_alternative<SaveAndClose>(request) &&
           !std::holds_alternative<Export>(request);
}

SearchController::SearchController(const WindowUpdates& window, Catalogue* catalogue,
                                   ProgramPaths paths, const FontCatalog* fonts,
                                   const ProgramSettings* program)
    : window_(window)
    , catalogue_(catalogue)
    , paths_(std::move(paths))
    , fonts_(fonts)
    , searches_(&dictionaries_, &settings_, &lists_, &report_, window_.panes, window_.hot_key,
                &image_, this, program, &epoch_)
    , listing_(&dictionaries_, &settings_, &lists_, &report_, window_.panes, window_.hot_key,
               window_.word_forms, [this] { return worker_.search_waiting(); })
    , dictionary_jobs_({&dictionaries_, &settings_, &lists_, &report_, window_.panes,
                        window_.window, &questions_, &image_writer_, &image_, fonts_, &paths_,
                        [this](SlotId slot) { searches_.SearchTypedWhileLoading(slot); },
                        [this] { RelistMain(); }, &file_watch_})
    , imports_(&dictionaries_, catalogue_, &paths_, &report_, window_.status, window_.window,
               &questions_)
    , startup_(&dictionaries_, &settings_, catalogue_, &paths_, &report_, window_.status,
               window_.window, &questions_, &image_, &dictionary_jobs_)
    , worker_({[this](SearchRequest& r) { Run(r); }, [this](CommandRequest& r) { Run(r); }}) {}

SearchController::~SearchController() { Stop(); }

// ---- Life cycle -----------------------------------------------------------

void SearchController::Start() {
    const DictionaryState state = settings_.dictionary_state();
    // The main dictionary's image answers typing while the start-up request
    // loads the dictionary; the lists take its code pages now.
    const std::string path = paths_.database_dir + "/" + state.current;
    if (!state.current.empty() && image_.Open(path)) {
        window_.panes->SetCodePages(SlotId::kMain, image_.code_page(0), image_.code_page(1));
        StartupMark("look-up image opened");
        PreviewMain(path);
    }
    worker_.Start();
}

void SearchController::PreviewMain(const std::string& path) {
    // The description the catalogue read from the file, and the dictionary's
    // settings: the window shows the dictionary as it will once loaded, and
    // the image answers in the stored direction. The load reads both again
    // (and warns of a missing font then).
    for (const CatalogueEntry& entry : catalogue_->entries()) {
        if (entry.path != path) continue;
        DictionarySlot& main = dictionaries_.main();
        main.SetInfo(entry.info);
        main.SetPath(path);
        bool font_warning = false;
        main.ReadSettings(*fonts_, &font_warning);
        image_.SetPreviewed();
        window_.panes->ShowDictionary(SlotId::kMain, false);
        report_.Retitle();
        return;
    }
}

void SearchController::RequestStop() {
    dictionaries_.EndLoops();
    worker_.RequestStop();
}

void SearchController::Stop() {
    RequestStop();
    worker_.Join();
    image_writer_.Stop();
}

void SearchController::WriteSlotSettings() {
    dictionaries_.main().WriteSettings();
    dictionaries_.dual().WriteSettings();
}

bool SearchController::busy() const {
    return worker_.busy() || questions_.waiting() || delivered_.load() < done_.load();
}

void SearchController::Delivered(std::uint64_t count) {
    std::uint64_t seen = delivered_.load();
    while (seen < count && !delivered_.compare_exchange_weak(seen, count)) {
    }
}

// ---- The worker ---------------------------------------------------------------

void SearchController::Remember(const SearchRequest& request) {
    if (const auto* list = std::get_if<ListWords>(&request)) {
        if (list->slot != SlotId::kMain) return;
        main_listing_ = *list;
        main_translation_.reset();
    } else if (const auto* word = std::get_if<TranslateWord>(&request)) {
        if (word->slot == SlotId::kMain && main_listing_ && word->side == main_listing_->side)
            main_translation_ = *word;
    }
}

void SearchController::RelistMain() {
    if (!main_listing_) return;
    // As the options and the lists are now; nothing for the hot-key window.
    const SearchOptions options = settings_.options();
    ListWords listing = *main_listing_;
    listing.options = options;
    listing.epoch = epoch_.load();
    listing.hot_key = HotKeyCall{};
    listing_.List(listing);
    if (!main_translation_) return;
    const WordList shown = lists_.shown(SlotId::kMain, listing.side);
    for (int row = 0; row < shown.count(); ++row) {
        if (main_translation_->word != shown[row]) continue;
        window_.panes->SelectListEntry(SlotId::kMain, listing.side, row, listing.epoch);
        TranslateWord translation = *main_translation_;
        translation.options = options;
        translation.epoch = listing.epoch;
        translation.hot_key = HotKeyCall{};
        listing_.Translate(translation);
        return;
    }
}

void SearchController::WatchMainFile() {
    const DictionarySlot& main = dictionaries_.main();
    if (busy() || !main.loaded()) return;
    const std::string path = main.path();
    if (path.empty()) return;
    const platform::FileStamp now = platform::StampOf(path.c_str());
    if (file_watch_.Look(main.file().disk_state().stamp, now) != FileWatch::Finding::kChanged)
        return;
    // Whether the dictionary is edited reads the engine: only while no
    // request has it.
    std::unique_lock<std::mutex> engine(dictionaries_.engine_lock(), std::try_to_lock);
    if (!engine.owns_lock() || busy()) return;
    const bool editing = MainBeingEdited(dictionaries_, settings_);
    engine.unlock();
    if (!editing) {
        dictionary_requests_.ReloadMain();
    } else if (!main.file().changed_on_disk()) {
        dictionaries_.main().file().set_changed_on_disk(true);
        report_.RefreshStatus();
    }
}

void SearchController::Run(SearchRequest& request) {
    {
        std::lock_guard<std::mutex> engine(dictionaries_.engine_lock());
        Remember(request);
        try {
            std::visit(Overloaded{
                           [this](const ListWords& r) { listing_.List(r); },
                           [this](const TranslateWord& r) { listing_.Translate(r); },
                           [this](const ListPalindromes& r) { listing_.Palindromes(r); },
                           [this](const ListIdenticalWords& r) { listing_.IdenticalWords(r); },
                       },
                       request);
        } catch (const std::bad_alloc&) {
            report_.MemoryError();
        }
        report_.RefreshStatus();
    }
    Finish();
}

void SearchController::Run(CommandRequest& request) {
    {
        std::lock_guard<std::mutex> engine(dictionaries_.engine_lock());
        std::optional<Dictionaries::Change> change;
        if (ChangesDictionaries(request)) change.emplace(dictionaries_);
        try {
            RunCommand(request);
        } catch (const std::bad_alloc&) {
            report_.MemoryError();
        }
        // While a question waits the status line keeps saying what is asked.
        if (!questions_.waiting()) report_.RefreshStatus();
    }
    Finish();
}

void SearchController::RunCommand(CommandRequest& request) {
    DictionaryJobs& jobs = dictionary_jobs_;
    std::visit(Overloaded{
                   [this](const StartUp&) { startup_.Run(); },
                   [&jobs](const LoadMain& r) { jobs.LoadMain(r.path); },
                   [&jobs](const LoadDual& r) { jobs.LoadDual(r.path); },
                   [&jobs](const CloseDual&) { jobs.CloseDual(); },
                   [this, &jobs](const SaveMain&) { jobs.Save(dictionaries_.main(), ""); },
                   [&jobs](const SaveMainAs&) { jobs.SaveAs(); },
                   [&jobs](const SaveAndClose&) { jobs.SaveAndClose(); },
                   [&jobs](const ReloadMain&) { jobs.ReloadMain(); },
                   [&jobs](const Resort& r) { jobs.Resort(r.lists); },
                   [&jobs](const Export& r) { jobs.Export(r.format, r.path); },
                   [&jobs](const Update& r) { jobs.Update(r.format, r.path); },
                   [this](const ImportRequest& r) { imports_.Import(r); },
                   [this](const Answer& r) { questions_.Answered(r); },
               },
               request);
}

void SearchController::Finish() { window_.window->RequestsDone(++done_); }

// ---- What the window asks -------------------------------------------------------

TextDictionaries SearchController::TextRun() const {
    TextDictionaries d;
    // The handles are taken between two changes; a change under way makes
    // the start a no-op the user can repeat.
    const unsigned changes = dictionaries_.changes().load();
    if (changes % 2 != 0) {
        d.busy = true;
        return d;
    }
    const DictionarySlot& main = dictionaries_.main();
    if (!main.loaded()) return d;
    const SearchOptions o = settings_.options();
    d.lookup.main = main.handle();
    d.lookup.main_direction =
        main.primary_to_secondary() ? DB_TRANS_PRIMARY_TO_SECONDARY : DB_TRANS_SECONDARY_TO_PRIMARY;
    d.lookup.main_limit = LargerCount(main);
    d.source_code_page = main.CodePage(main.source_side());
    d.target_code_page = main.CodePage(main.target_side());
    if (o.dual_mode && o.link) {
        const DictionarySlot& dual = dictionaries_.dual();
        if (!dual.loaded()) return d;
        d.lookup.link = true;
        d.lookup.dual = dual.handle();
        d.lookup.dual_list = dual.primary_to_secondary() ? DB_PRIMARY_LIST : DB_SECONDARY_LIST;
        d.lookup.dual_limit = LargerCount(dual);
        d.target_code_page = dual.CodePage(dual.target_side());
    }
    d.lookup.case_sensitive = o.case_sensitive;
    d.lookup.ignore_accents = o.ignore_accents;
    if (main.settings().word_forms) {
        d.lookup.forms_locale = platform::IcuLocaleName(main.Locale(main.source_side()));
        d.lookup.source_code_page = main.CodePage(main.source_side());
    }
    d.lookup.engine_lock = &dictionaries_.engine_lock();
    d.lookup.generation = &dictionaries_.changes();
    d.lookup.generation_taken = changes;
    if (dictionaries_.changes().load() != changes) {
        d.busy = true;
        return d;
    }
    d.ready = true;
    return d;
}

}  // namespace wordbay
