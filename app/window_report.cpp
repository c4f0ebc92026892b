#include "app/window_report.h"

#include "app/message_box_style.h"
#include "engine/lexbase_messages.h"

namespace wordbay {
namespace {

// The program caption in the main window title; it does not follow the
// interface language.
constexpr char kProgramCaption[] = "KX Dictionary";
constexpr char kTextWindowCaption[] = "Text translation";

// `text` with its spaces made non-breaking (UTF-8): a status line that wraps
// in a narrow window keeps the note in one piece.
std::string Unbroken(const std::string& text) {
    std::string result;
    for (const char c : text) result += c == ' ' ? std::string("\xC2\xA0") : std::string(1, c);
    return result;
}

}  // namespace

std::string WindowReport::StatusText() const {
    const DictionarySlot& main = dictionaries_->main();
    const DictionarySlot& dual = dictionaries_->dual();
    if (!main.loaded()) return UiText(TextId::MSG_DICTIONARY_NOT_LOADED);
    const SearchOptions o = settings_->options();
    const DICTIONARY_INFO info = main.info_snapshot();
    const ListSide source = main.source_side();
    const ListSide target = Other(source);
    std::string text = DictionarySlot::ListNameUtf8(info, source) + ": " +
                       std::to_string(lists_->shown_count(SlotId::kMain, source)) + "   ";
    if (o.dual_mode && o.link && dual.loaded()) {
        const ListSide dual_target = dual.target_side();
        text += DictionarySlot::ListNameUtf8(dual.info_snapshot(), dual_target) + ": " +
                std::to_string(lists_->shown_count(SlotId::kDual, dual_target));
    } else {
        text += DictionarySlot::ListNameUtf8(info, target) + ": " +
                std::to_string(lists_->shown_count(SlotId::kMain, target));
    }
    // What DB_List answered when a regular expression needed too much work on
    // some words and they were left out.
    if (settings_->search_incomplete()) {
        text += "   ";
        text += lexbase::MessageText(lexbase::Message::kRegexIncomplete);
    }
    if (main.file().changed_on_disk())
        text += "   " + Unbroken(UiText(TextId::MSG_FILE_CHANGED_ON_DISK));
    std::lock_guard<std::mutex> lock(word_forms_mutex_);
    if (!word_forms_status_.empty()) text += "   " + word_forms_status_;
    return text;
}

void WindowReport::SetWordFormsStatus(std::string text) {
    std::lock_guard<std::mutex> lock(word_forms_mutex_);
    word_forms_status_ = std::move(text);
}

WindowTitles WindowReport::Titles() const {
    const DictionarySlot& main = dictionaries_->main();
    const DictionarySlot& dual = dictionaries_->dual();
    WindowTitles titles;
    // While the main dictionary loads at start, its image answers in its name.
    if (!main.loaded() && !image_->previewing()) {
        const std::string not_loaded = UiText(TextId::MSG_DICTIONARY_NOT_LOADED);
        titles.main_window = std::string(kProgramCaption) + " : " + not_loaded;
        titles.text_window = not_loaded;
        titles.popup = not_loaded;
        return titles;
    }
    const SearchOptions o = settings_->options();
    const DICTIONARY_INFO info = main.info_snapshot();
    const std::string source = DictionarySlot::ListNameUtf8(info, main.source_side());
    const std::string target = DictionarySlot::ListNameUtf8(info, main.target_side());
    std::string names;
    if (o.dual_mode && o.link && dual.loaded()) {
        names = source + " - <" + target + "> - " +
                DictionarySlot::ListNameUtf8(dual.info_snapshot(), dual.target_side());
    } else {
        names = source + " - " + target;
    }
    titles.main_window = std::string(kProgramCaption) + " : " + names;
    titles.text_window = std::string(kTextWindowCaption) + " : " + names;
    titles.popup = names;
    return titles;
}

void WindowReport::Retitle() const { status_->SetTitles(Titles()); }

void WindowReport::RefreshStatus() const { status_->SetStatus(StatusText()); }

void WindowReport::SetStatus(const std::string& text) const { status_->SetStatus(text); }

void WindowReport::ShowMessage(const std::string& text, const std::string& caption,
                               unsigned style) const {
    status_->ShowMessage({text, caption, style});
}

void WindowReport::Beep() const { status_->Beep(); }

void WindowReport::EngineError(TextId message, const std::string& detail,
                               const char* engine_message) const {
    std::string text = UiText(message);
    if (!detail.empty()) text += "\n\n" + detail;
    if (engine_message != nullptr && *engine_message != '\0') {
        text += "\n\n";
        text += engine_message;
    }
    ShowMessage(text, UiText(TextId::MSG_FATAL_ERROR), kMbOk | kMbIconStop);
}

void WindowReport::MemoryError() const {
    Beep();
    ShowMessage(UiText(TextId::MSG_MEMORY_ALLOC_ERROR), UiText(TextId::MSG_FATAL_ERROR),
                kMbOk | kMbIconStop);
}

void WindowReport::BeginProgress(DB_HANDLE handle) {
    {
        std::lock_guard<std::mutex> lock(progress_mutex_);
        progress_handle_ = handle;
    }
    status_->BeginProgress();
}

void WindowReport::EndProgress() {
    {
        std::lock_guard<std::mutex> lock(progress_mutex_);
        progress_handle_ = nullptr;
    }
    status_->EndProgress();
}

int WindowReport::progress() const {
    std::lock_guard<std::mutex> lock(progress_mutex_);
    return progress_handle_ != nullptr ? DB_GetExecutionProgress(progress_handle_) : -1;
}

}  // namespace wordbay
