#include "app/search_controller.h"

#include <new>
#include <utility>

#include "app/message_box_style.h"
#include "app/message_table.h"

namespace wordbay {
namespace {

// The program caption in the main window title; it does not follow the
// interface language.
constexpr char kProgramCaption[] = "KX Dictionary";
constexpr char kTextWindowCaption[] = "Text translation";

int ListJobOf(SlotId id, ListSide side) {
    if (id == SlotId::kMain) {
        return side == ListSide::kPrimary ? kJobListMainPrimary : kJobListMainSecondary;
    }
    return side == ListSide::kPrimary ? kJobListDualPrimary : kJobListDualSecondary;
}

int TranslateJobOf(SlotId id, ListSide side) {
    if (id == SlotId::kMain) {
        return side == ListSide::kPrimary ? kJobTranslateMainPrimary : kJobTranslateMainSecondary;
    }
    return side == ListSide::kPrimary ? kJobTranslateDualPrimary : kJobTranslateDualSecondary;
}

bool IsSpace(char c) { return c == ' '; }

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
    : view_(view),
      catalogue_(catalogue),
      paths_(std::move(paths)),
      fonts_(fonts),
      worker_([this](int job) { RunJob(job); }) {}

SearchController::~SearchController() { Stop(); }

// ---- Life cycle -----------------------------------------------------------

void SearchController::StartWorker(const DictionaryState& state, const SearchOptions& options) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        state_ = state;
        options_ = options;
    }
    worker_.Start(kJobStartup);
}

void SearchController::RequestStop() {
    main_.EndLoop();
    dual_.EndLoop();
    worker_.RequestStop();
}

void SearchController::Stop() {
    RequestStop();
    worker_.Join();
}

void SearchController::WriteSlotSettings() {
    main_.WriteSettings();
    dual_.WriteSettings();
}

// ---- Options and state ----------------------------------------------------

SearchOptions SearchController::options() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return options_;
}

void SearchController::SetOptions(const SearchOptions& options) {
    std::lock_guard<std::mutex> lock(mutex_);
    options_ = options;
}

DictionaryState SearchController::dictionary_state() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

void SearchController::SetShowSplash(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    state_.show_splash = on;
}

int SearchController::shown_count(SlotId slot, ListSide side) const {
    return shown_[static_cast<int>(slot)][static_cast<int>(side)].load();
}

// ---- Typing, selection, activation ------------------------------------------

void SearchController::OnEditChanged(SlotId id, ListSide side) {
    DictionarySlot& s = slot(id);
    s.EndLoop();
    if (id == SlotId::kMain && options().edit_mode) {
        // Editing: only the source side searches, and it starts afresh.
        if (side != s.source_side()) return;
        view_->SetEditText(id, Other(side), "");
        view_->ShowList(id, Other(side), nullptr, 0);
        shown_[static_cast<int>(id)][static_cast<int>(Other(side))].store(0);
    }
    worker_.SetJob(ListJobOf(id, side));
}

bool SearchController::OnDownArrow(SlotId id, ListSide side) {
    if (shown_count(id, side) <= 0) return false;
    slot(id).EndLoop();
    view_->FocusList(id, side);
    view_->SelectListEntry(id, side, 0);
    OnListSelected(id, side);
    return true;
}

void SearchController::OnListSelected(SlotId id, ListSide side) {
    const std::optional<std::string> word = view_->SelectedWord(id, side);
    if (!word) return;
    view_->SetEditText(id, side, *word);
    DictionarySlot& s = slot(id);
    if (id == SlotId::kMain && options().edit_mode && side != s.source_side()) return;
    s.EndLoop();
    worker_.SetJob(TranslateJobOf(id, side));
}

void SearchController::OnActivated(std::string clipboard_text) {
    if (!main_.loaded()) return;
    const ListSide source = main_.source_side();
    const bool pending = hot_key_pending_.load();
    if (!pending) view_->FocusEdit(SlotId::kMain, source);
    if (!options().use_clipboard && !pending) return;
    view_->SetEditText(SlotId::kMain, source, ClipboardSearchText(clipboard_text));
    OnEditChanged(SlotId::kMain, source);
}

void SearchController::ToggleDirection(SlotId id) {
    DictionarySlot& s = slot(id);
    s.set_primary_to_secondary(!s.primary_to_secondary());
    view_->SelectListEntry(id, ListSide::kPrimary, -1);
    view_->SelectListEntry(id, ListSide::kSecondary, -1);
    view_->SetTitles(Titles());
    view_->SetStatus(StatusText());
}

// ---- Commands ---------------------------------------------------------------

void SearchController::StartJob(int job) {
    main_.EndLoop();
    dual_.EndLoop();
    worker_.SetJob(job);
}

void SearchController::StartLoad(const std::string& path) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        load_path_ = path;
    }
    StartJob(kJobLoad);
}

void SearchController::StartLoadDual(const std::string& path) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        dual_path_ = path;
    }
    StartJob(kJobLoadDual);
}

void SearchController::StartResort(int changed_lists) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        resort_lists_ = changed_lists;
    }
    StartJob(kJobResort);
}

void SearchController::StartExport(int format, const std::string& path) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        export_format_ = format;
        export_path_ = path;
    }
    StartJob(kJobExport);
}

void SearchController::StartImport(ImportRequest request) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        import_ = std::move(request);
    }
    StartJob(kJobImport);
}

void SearchController::StartUpdate(int format, const std::string& path) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        update_format_ = format;
        update_path_ = path;
    }
    StartJob(kJobUpdate);
}

// ---- The worker -------------------------------------------------------------

namespace {

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
        default: return false;
    }
}

}  // namespace

void SearchController::RunJob(int job) {
    std::lock_guard<std::mutex> engine(engine_lock_);
    if (!OnlyReads(job)) ++generation_;
    try {
        switch (job) {
            case kJobStartup: StartupJob(); break;
            case kJobListMainPrimary: ListJob(SlotId::kMain, ListSide::kPrimary); break;
            case kJobListMainSecondary: ListJob(SlotId::kMain, ListSide::kSecondary); break;
            case kJobSaveAs: SaveAsJob(); break;
            case kJobLoad: {
                std::string path;
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    path = load_path_;
                }
                if (LoadIntoSlot(main_, path)) {
                    std::lock_guard<std::mutex> lock(mutex_);
                    state_.current = main_.file_name();
                }
                break;
            }
            case kJobSave: Save(main_, ""); break;
            case kJobResort: ResortJob(); break;
            case kJobSaveAndClose: SaveAndCloseJob(); break;
            case kJobTranslateMainPrimary: TranslateJob(SlotId::kMain, ListSide::kPrimary); break;
            case kJobTranslateMainSecondary:
                TranslateJob(SlotId::kMain, ListSide::kSecondary);
                break;
            case kJobPalindromes: PalindromeJob(); break;
            case kJobIdenticalWords: IdenticalWordsJob(); break;
            case kJobExport: ExportJob(); break;
            case kJobLoadDual: {
                std::string path;
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    path = dual_path_;
                }
                LoadDualJob(path);
                break;
            }
            case kJobListDualPrimary: ListJob(SlotId::kDual, ListSide::kPrimary); break;
            case kJobListDualSecondary: ListJob(SlotId::kDual, ListSide::kSecondary); break;
            case kJobTranslateDualPrimary: TranslateJob(SlotId::kDual, ListSide::kPrimary); break;
            case kJobTranslateDualSecondary:
                TranslateJob(SlotId::kDual, ListSide::kSecondary);
                break;
            case kJobImport: ImportJob(); break;
            case kJobUpdate: UpdateJob(); break;
            case kJobCloseDual: CloseDualJob(); break;
            default: return;  // unknown numbers do nothing
        }
    } catch (const std::bad_alloc&) {
        ReportMemoryError();
    }
    RefreshStatus();
}

// ---- Helpers of the jobs -------------------------------------------------------

void SearchController::Show(SlotId id, ListSide side, int count) {
    ResultBuffers& buffers = slot(id).results(side);
    if (count > buffers.capacity()) count = buffers.capacity();
    if (count < 0) count = 0;
    buffers.Show(view_, id, side, count);
    shown_[static_cast<int>(id)][static_cast<int>(side)].store(count);
}

void SearchController::ClearList(SlotId id, ListSide side) {
    view_->ShowList(id, side, nullptr, 0);
    shown_[static_cast<int>(id)][static_cast<int>(side)].store(0);
}

void SearchController::ClearEdit(SlotId id, ListSide side) { view_->SetEditText(id, side, ""); }

void SearchController::ClearSlotViews(SlotId id) {
    ClearList(id, ListSide::kPrimary);
    ClearList(id, ListSide::kSecondary);
    // The hot-key window may show words of either dictionary.
    view_->HotKeyClear();
    hot_key_items_.Resize(0);
}

std::string SearchController::StatusText() const {
    if (!main_.loaded()) return UiText(TextId::MSG_DICTIONARY_NOT_LOADED);
    const SearchOptions o = options();
    const DICTIONARY_INFO info = main_.info_snapshot();
    const ListSide source = main_.source_side();
    const ListSide target = Other(source);
    std::string text = DictionarySlot::ListNameUtf8(info, source) + ": " +
                       std::to_string(shown_count(SlotId::kMain, source)) + "   ";
    if (o.dual_mode && o.link && dual_.loaded()) {
        const ListSide dual_target = dual_.target_side();
        text += DictionarySlot::ListNameUtf8(dual_.info_snapshot(), dual_target) + ": " +
                std::to_string(shown_count(SlotId::kDual, dual_target));
    } else {
        text += DictionarySlot::ListNameUtf8(info, target) + ": " +
                std::to_string(shown_count(SlotId::kMain, target));
    }
    if (search_incomplete_.load()) text += std::string("   ") + kSearchIncompleteMessage;
    return text;
}

WindowTitles SearchController::Titles() const {
    WindowTitles titles;
    if (!main_.loaded()) {
        const std::string not_loaded = UiText(TextId::MSG_DICTIONARY_NOT_LOADED);
        titles.main_window = std::string(kProgramCaption) + " : " + not_loaded;
        titles.text_window = not_loaded;
        titles.popup = not_loaded;
        return titles;
    }
    const SearchOptions o = options();
    const DICTIONARY_INFO info = main_.info_snapshot();
    const std::string source = DictionarySlot::ListNameUtf8(info, main_.source_side());
    const std::string target = DictionarySlot::ListNameUtf8(info, main_.target_side());
    std::string names;
    if (o.dual_mode && o.link && dual_.loaded()) {
        names = source + " - <" + target + "> - " +
                DictionarySlot::ListNameUtf8(dual_.info_snapshot(), dual_.target_side());
    } else {
        names = source + " - " + target;
    }
    titles.main_window = std::string(kProgramCaption) + " : " + names;
    titles.text_window = std::string(kTextWindowCaption) + " : " + names;
    titles.popup = names;
    return titles;
}

void SearchController::Retitle() { view_->SetTitles(Titles()); }

void SearchController::RefreshStatus() { view_->SetStatus(StatusText()); }

void SearchController::ReportEngineError(TextId message, const std::string& detail,
                                         const char* engine_message) {
    std::string text = UiText(message);
    if (!detail.empty()) text += "\n\n" + detail;
    if (engine_message != nullptr && *engine_message != '\0') {
        text += "\n\n";
        text += engine_message;
    }
    view_->MessageBox(text, UiText(TextId::MSG_FATAL_ERROR), kMbOk | kMbIconStop);
}

void SearchController::ReportMemoryError() {
    view_->Beep();
    view_->MessageBox(UiText(TextId::MSG_MEMORY_ALLOC_ERROR), UiText(TextId::MSG_FATAL_ERROR),
                      kMbOk | kMbIconStop);
}

}  // namespace wordbay
