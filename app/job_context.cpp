#include "app/job_context.h"

#include <algorithm>
#include <utility>

#include "app/message_box_style.h"

namespace wordbay {
namespace {

// The program caption in the main window title; it does not follow the
// interface language.
constexpr char kProgramCaption[] = "KX Dictionary";
constexpr char kTextWindowCaption[] = "Text translation";

}  // namespace

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

JobContext::JobContext(MainView* view, Catalogue* catalogue, ProgramPaths paths,
                       const FontCatalog* fonts, std::function<void(int)> run_job)
    : view_(view)
    , catalogue_(catalogue)
    , paths_(std::move(paths))
    , fonts_(fonts)
    , worker_(std::move(run_job)) {}

// ---- Options and dictionary state --------------------------------------------

SearchOptions JobContext::options() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return options_;
}

void JobContext::SetOptions(const SearchOptions& options) {
    std::lock_guard<std::mutex> lock(mutex_);
    options_ = options;
}

DictionaryState JobContext::dictionary_state() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

void JobContext::SetDictionaryState(const DictionaryState& state) {
    std::lock_guard<std::mutex> lock(mutex_);
    state_ = state;
}

void JobContext::ChangeSettings(
    const std::function<void(SearchOptions&, DictionaryState&)>& change) {
    std::lock_guard<std::mutex> lock(mutex_);
    change(options_, state_);
}

// ---- Typing --------------------------------------------------------------------

void JobContext::ListTypedText(SlotId id, ListSide side) {
    DictionarySlot& s = slot(id);
    s.EndLoop();
    if (id == SlotId::kMain && options().edit_mode) {
        // Editing: only the source side searches, and it starts afresh.
        if (side != s.source_side()) return;
        view_->SetEditText(id, Other(side), "");
        ClearList(id, Other(side));
    }
    worker_.SetJob(ListJobOf(id, side));
}

// ---- What the lists show -------------------------------------------------------

int JobContext::shown_count(SlotId id, ListSide side) const {
    return shown_[static_cast<int>(id)][static_cast<int>(side)].load();
}

void JobContext::Show(SlotId id, ListSide side, int count) {
    ResultBuffers& buffers = slot(id).results(side);
    count = std::clamp(count, 0, buffers.capacity());
    buffers.Show(view_, id, side, count);
    shown_[static_cast<int>(id)][static_cast<int>(side)].store(count);
}

void JobContext::ShowFront(SlotId id, ListSide side, int count) {
    ResultBuffers& buffers = slot(id).results(side);
    count = std::clamp(count, 0, buffers.front_capacity());
    view_->ShowList(id, side, count > 0 ? buffers.front() : nullptr, count);
    shown_[static_cast<int>(id)][static_cast<int>(side)].store(count);
}

void JobContext::ClearList(SlotId id, ListSide side) {
    view_->ShowList(id, side, nullptr, 0);
    shown_[static_cast<int>(id)][static_cast<int>(side)].store(0);
}

void JobContext::ClearEdit(SlotId id, ListSide side) { view_->SetEditText(id, side, ""); }

void JobContext::ClearSlotViews(SlotId id) {
    ClearList(id, ListSide::kPrimary);
    ClearList(id, ListSide::kSecondary);
    // The hot-key window may show words of either dictionary.
    view_->HotKeyClear();
    hot_key_items_.Resize(0);
}

// ---- Titles, status and messages -----------------------------------------------

std::string JobContext::StatusText() const {
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
    std::lock_guard<std::mutex> lock(mutex_);
    if (!word_forms_status_.empty()) text += "   " + word_forms_status_;
    return text;
}

void JobContext::SetWordFormsStatus(std::string text) {
    std::lock_guard<std::mutex> lock(mutex_);
    word_forms_status_ = std::move(text);
}

WindowTitles JobContext::Titles() const {
    WindowTitles titles;
    // While the main dictionary loads at start, its image answers in its name.
    if (!main_.loaded() && !startup_image_.previewing()) {
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

void JobContext::Retitle() { view_->SetTitles(Titles()); }

void JobContext::RefreshStatus() { view_->SetStatus(StatusText()); }

void JobContext::ReportEngineError(TextId message, const std::string& detail,
                                   const char* engine_message) {
    std::string text = UiText(message);
    if (!detail.empty()) text += "\n\n" + detail;
    if (engine_message != nullptr && *engine_message != '\0') {
        text += "\n\n";
        text += engine_message;
    }
    view_->MessageBox(text, UiText(TextId::MSG_FATAL_ERROR), kMbOk | kMbIconStop);
}

void JobContext::ReportMemoryError() {
    view_->Beep();
    view_->MessageBox(UiText(TextId::MSG_MEMORY_ALLOC_ERROR), UiText(TextId::MSG_FATAL_ERROR),
                      kMbOk | kMbIconStop);
}

}  // namespace wordbay
