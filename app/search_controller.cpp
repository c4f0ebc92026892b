#include "app/search_controller.h"

#include <new>
#include <utility>

#include "app/startup_trace.h"

namespace wordbay {
namespace {

bool IsSpace(char c) { return c == ' '; }

// Jobs that only read the dictionaries.
bool OnlyReads(int job) {
    switch (job) {
        case kJobListMainPrimary:
        case kJobListMainSecondary:
        case kJobListDualPrimary:
        case kJobListDualSecondary:
        case kJobTranslateMainPrimary:
        case kJobTranslateMainSecondary:
        case kJobTranslateDualPrimary:
        case kJobTranslateDualSecondary:
        case kJobPalindromes:
        case kJobIdenticalWords:
        case kJobExport:
        case kJobSave:
        case kJobSaveAs:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string ClipboardSearchText(std::string_view clipboard) {
    const std::size_t end = clipboard.find_first_of("\r\n");
    std::string_view text = clipboard.substr(0, end);
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return std::string(text);
}

SearchController::SearchController(MainView* view, Catalogue* catalogue, ProgramPaths paths,
                                   const FontCatalog* fonts)
    : context_(view, catalogue, std::move(paths), fonts, [this](int job) { RunJob(job); }) {}

SearchController::~SearchController() { Stop(); }

// ---- Life cycle -----------------------------------------------------------

void SearchController::StartWorker(const DictionaryState& state, const SearchOptions& options) {
    context_.SetDictionaryState(state);
    context_.SetOptions(options);
    // The main dictionary's image answers typing while the start-up job loads
    // the dictionary; the lists take its code pages now.
    StartupImage& image = context_.startup_image();
    const std::string path = context_.paths().database_dir + "/" + state.current;
    if (!state.current.empty() && image.Open(path)) {
        context_.view().SetSlotCodePages(SlotId::kMain, image.code_page(0), image.code_page(1));
        StartupMark("look-up image opened");
        PreviewMain(path);
    }
    context_.worker().Start(kJobStartup);
}

void SearchController::PreviewMain(const std::string& path) {
    // The description the catalogue read from the file, and the dictionary's
    // settings: the window shows the dictionary as it will once loaded, and
    // the image answers in the stored direction. The load reads both again
    // (and warns of a missing font then).
    for (const CatalogueEntry& entry : context_.catalogue().entries()) {
        if (entry.path != path) continue;
        DictionarySlot& main = context_.main_slot();
        main.SetInfo(entry.info);
        main.SetPath(path);
        bool font_warning = false;
        main.ReadSettings(context_.fonts(), &font_warning);
        context_.startup_image().SetPreviewed();
        context_.view().PreviewView(SlotId::kMain, main);
        context_.Retitle();
        return;
    }
}

void SearchController::RequestStop() {
    context_.main_slot().EndLoop();
    context_.dual_slot().EndLoop();
    context_.worker().RequestStop();
}

void SearchController::Stop() {
    RequestStop();
    context_.worker().Join();
    context_.image_writer().Stop();
}

void SearchController::WriteSlotSettings() {
    context_.main_slot().WriteSettings();
    context_.dual_slot().WriteSettings();
}

// ---- Options and state ----------------------------------------------------

SearchOptions SearchController::options() const { return context_.options(); }

void SearchController::SetOptions(const SearchOptions& options) { context_.SetOptions(options); }

DictionaryState SearchController::dictionary_state() const { return context_.dictionary_state(); }

void SearchController::SetShowSplash(bool on) {
    context_.ChangeSettings(
        [on](SearchOptions&, DictionaryState& state) { state.show_splash = on; });
}

// ---- Typing, selection, activation ------------------------------------------

void SearchController::OnEditChanged(SlotId id, ListSide side) {
    StartupMark("typed");
    context_.ListTypedText(id, side);
}

void SearchController::OnEditChangedWhileLoading(SlotId id, ListSide side) {
    // Until the main dictionary is loaded the direction is its stored one,
    // or with its settings unread the primary side translates.
    if (id != SlotId::kMain) return;
    StartupMark("typed while loading");
    context_.startup_image().Answer(&context_.view(), side, context_.main_slot().source_side(),
                                    options());
    StartupMark("answered from the image");
}

bool SearchController::OnDownArrow(SlotId id, ListSide side) {
    if (shown_count(id, side) <= 0) {
        // Enter on a word the list lacks: its base word, or suggestions.
        if (id == SlotId::kMain && side == slot(id).source_side() && !options().edit_mode &&
            slot(id).loaded() && !context_.view().EditText(id, side).empty()) {
            listing_.word_forms().SuggestNext();
            slot(id).EndLoop();
            context_.worker().SetJob(ListJobOf(id, side));
        }
        return false;
    }
    slot(id).EndLoop();
    context_.view().FocusList(id, side);
    context_.view().SelectListEntry(id, side, 0);
    OnListSelected(id, side);
    return true;
}

void SearchController::OnListSelected(SlotId id, ListSide side) {
    MainView& view = context_.view();
    const std::optional<std::string> word = view.SelectedWord(id, side);
    if (!word) return;
    view.SetEditText(id, side, *word);
    DictionarySlot& s = slot(id);
    if (id == SlotId::kMain && options().edit_mode && side != s.source_side()) return;
    s.EndLoop();
    context_.worker().SetJob(TranslateJobOf(id, side));
}

void SearchController::OnActivated(std::string clipboard_text) {
    const DictionarySlot& main = context_.main_slot();
    if (!main.loaded()) {
        ActivatedWhileLoading(std::move(clipboard_text));
        return;
    }
    const ListSide source = main.source_side();
    const bool pending = hot_key_pending();
    if (!pending) context_.view().FocusEdit(SlotId::kMain, source);
    if (!options().use_clipboard && !pending) return;
    context_.view().SetEditText(SlotId::kMain, source, ClipboardSearchText(clipboard_text));
    OnEditChanged(SlotId::kMain, source);
}

void SearchController::ActivatedWhileLoading(std::string clipboard_text) {
    // At start the main dictionary's look-up image answers from the source
    // side (the primary one when the dictionary's settings are unread); the
    // text is searched on the dictionary again once it is loaded.
    StartupImage& image = context_.startup_image();
    if (!image.answering()) return;
    const ListSide source = context_.main_slot().source_side();
    const bool pending = hot_key_pending();
    if (!pending) context_.view().FocusEdit(SlotId::kMain, source);
    if (!options().use_clipboard && !pending) return;
    context_.view().SetEditText(SlotId::kMain, source, ClipboardSearchText(clipboard_text));
    context_.view().SearchWhenReady(SlotId::kMain, source);
    if (!pending) {
        image.Answer(&context_.view(), source, source, options());
    } else if (image.AnswerHotKey(&context_.view(), source, options())) {
        // Answered: the search on the loaded dictionary leaves the popup be.
        context_.hot_key_pending().store(false);
    }
}

void SearchController::ToggleDirection(SlotId id) {
    DictionarySlot& s = slot(id);
    s.set_primary_to_secondary(!s.primary_to_secondary());
    context_.view().SelectListEntry(id, ListSide::kPrimary, -1);
    context_.view().SelectListEntry(id, ListSide::kSecondary, -1);
    context_.view().SetTitles(Titles());
    context_.view().SetStatus(StatusText());
}

// ---- Commands ---------------------------------------------------------------

void SearchController::StartJob(int job) {
    context_.main_slot().EndLoop();
    context_.dual_slot().EndLoop();
    context_.worker().SetJob(job);
}

void SearchController::StartLoad(const std::string& path) {
    load_path_.Set(path);
    StartJob(kJobLoad);
}

void SearchController::StartLoadDual(const std::string& path) {
    dual_path_.Set(path);
    StartJob(kJobLoadDual);
}

void SearchController::StartResort(int changed_lists) {
    resort_lists_.Set(changed_lists);
    StartJob(kJobResort);
}

void SearchController::StartExport(int format, const std::string& path) {
    export_.Set({format, path});
    StartJob(kJobExport);
}

void SearchController::StartImport(ImportRequest request) {
    import_.Set(std::move(request));
    StartJob(kJobImport);
}

void SearchController::StartUpdate(int format, const std::string& path) {
    update_.Set({format, path});
    StartJob(kJobUpdate);
}

// ---- Editing ----------------------------------------------------------------

void SearchController::AddTranslation(const EngineHold& hold_engine) {
    editing_.AddTranslation(hold_engine);
}

void SearchController::DeleteSelected(const EngineHold& hold_engine) {
    editing_.DeleteSelected(hold_engine);
}

void SearchController::ChangeWord(ListSide side, int row, const std::string& old_word,
                                  const std::string& new_word, const EngineHold& hold_engine) {
    editing_.ChangeWord(side, row, old_word, new_word, hold_engine);
}

void SearchController::MoveTranslation(int previous, int row, const EngineHold& hold_engine) {
    editing_.MoveTranslation(previous, row, hold_engine);
}

// ---- The worker -------------------------------------------------------------

namespace {

// The jobs that list or translate the words of one list.
struct SearchJob {
    Job job;
    SlotId slot;
    ListSide side;
    bool translate;
};

constexpr SearchJob kSearchJobs[] = {
    {kJobListMainPrimary, SlotId::kMain, ListSide::kPrimary, false},
    {kJobListMainSecondary, SlotId::kMain, ListSide::kSecondary, false},
    {kJobListDualPrimary, SlotId::kDual, ListSide::kPrimary, false},
    {kJobListDualSecondary, SlotId::kDual, ListSide::kSecondary, false},
    {kJobTranslateMainPrimary, SlotId::kMain, ListSide::kPrimary, true},
    {kJobTranslateMainSecondary, SlotId::kMain, ListSide::kSecondary, true},
    {kJobTranslateDualPrimary, SlotId::kDual, ListSide::kPrimary, true},
    {kJobTranslateDualSecondary, SlotId::kDual, ListSide::kSecondary, true},
};

}  // namespace

void SearchController::RunJob(int job) {
    std::lock_guard<std::mutex> engine(context_.engine_lock());
    if (!OnlyReads(job)) ++context_.generation();
    try {
        if (!RunSearchJob(job) && !RunOtherJob(job)) return;  // unknown numbers do nothing
    } catch (const std::bad_alloc&) {
        context_.ReportMemoryError();
    }
    context_.RefreshStatus();
}

bool SearchController::RunSearchJob(int job) {
    for (const SearchJob& j : kSearchJobs) {
        if (j.job != job) continue;
        if (j.translate) {
            listing_.Translate(j.slot, j.side);
        } else {
            listing_.List(j.slot, j.side);
        }
        return true;
    }
    return false;
}

bool SearchController::RunOtherJob(int job) {
    switch (job) {
        case kJobStartup:
            startup_.Run();
            break;
        case kJobPalindromes:
            listing_.Palindromes();
            break;
        case kJobIdenticalWords:
            listing_.IdenticalWords();
            break;
        case kJobLoad:
            dictionaries_.LoadMain(load_path_.Get());
            break;
        case kJobLoadDual:
            dictionaries_.LoadDual(dual_path_.Get());
            break;
        case kJobCloseDual:
            dictionaries_.CloseDual();
            break;
        case kJobSave:
            dictionaries_.Save(context_.main_slot(), "");
            break;
        case kJobSaveAs:
            dictionaries_.SaveAs();
            break;
        case kJobSaveAndClose:
            dictionaries_.SaveAndClose();
            break;
        case kJobResort:
            dictionaries_.Resort(resort_lists_.Get());
            break;
        case kJobExport: {
            const FileRequest request = export_.Get();
            dictionaries_.Export(request.format, request.path);
            break;
        }
        case kJobUpdate: {
            const FileRequest request = update_.Get();
            dictionaries_.Update(request.format, request.path);
            break;
        }
        case kJobImport:
            imports_.Import(import_.Get());
            break;
        default:
            return false;
    }
    return true;
}

}  // namespace wordbay
