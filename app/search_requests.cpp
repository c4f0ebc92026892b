#include "app/search_requests.h"

#include <utility>

#include "app/startup_trace.h"

namespace wordbay {
namespace {

constexpr SlotId kMain = SlotId::kMain;

bool IsSpace(char c) { return c == ' '; }

}  // namespace

std::string ClipboardSearchText(std::string_view clipboard) {
    const std::size_t end = clipboard.find_first_of("\r\n");
    std::string_view text = clipboard.substr(0, end);
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return std::string(text);
}

HotKeyCall SearchRequests::HotKey() const {
    const std::uint64_t call = settings_->hot_key_call();
    return {call != 0, program_->hot_key_target, call};
}

void SearchRequests::Typed(SlotId id, ListSide side, const std::string& text) {
    DictionarySlot& s = d_->slot(id);
    const SearchOptions o = settings_->options();
    ListWords request{id, side, text, o, HotKey(), epoch()};
    if (!s.loaded()) {
        // Until the main dictionary is loaded its image answers, in the
        // stored direction (or from the primary side with the settings unread).
        KeepUntilLoaded(std::move(request));
        if (id != kMain) return;
        StartupMark("typed while loading");
        image_->Answer(panes_, side, text, s.source_side(), o);
        StartupMark("answered from the image");
        return;
    }
    StartupMark("typed");
    s.EndLoop();
    if (id == kMain && o.edit_mode) {
        // Editing: only the source side searches, and it starts afresh.
        if (side != s.source_side()) return;
        lists_->ClearEdit(id, Other(side));
        lists_->ClearList(id, Other(side));
    }
    queue_->Post(std::move(request));
}

void SearchRequests::Entered(SlotId id, ListSide side, const std::string& text) {
    DictionarySlot& s = d_->slot(id);
    const SearchOptions o = settings_->options();
    if (id != kMain || !s.loaded() || side != s.source_side() || o.edit_mode || text.empty())
        return;
    s.EndLoop();
    ListWords request{id, side, text, o, HotKey(), epoch()};
    request.entered = true;
    queue_->Post(std::move(request));
}

void SearchRequests::KeepUntilLoaded(ListWords request) {
    std::lock_guard<std::mutex> lock(kept_mutex_);
    kept_[static_cast<int>(request.slot)] = std::move(request);
}

bool SearchRequests::waiting_for_load(SlotId id) {
    std::lock_guard<std::mutex> lock(kept_mutex_);
    return kept_[static_cast<int>(id)].has_value();
}

void SearchRequests::SearchTypedWhileLoading(SlotId id) {
    std::optional<ListWords> kept;
    {
        std::lock_guard<std::mutex> lock(kept_mutex_);
        kept.swap(kept_[static_cast<int>(id)]);
    }
    if (!kept) return;
    // Searched as the options, the lists and the hot key are now.
    kept->options = settings_->options();
    kept->epoch = epoch();
    kept->hot_key = HotKey();
    queue_->Post(std::move(*kept));
}

void SearchRequests::Selected(SlotId id, ListSide side, const std::string& word) {
    DictionarySlot& s = d_->slot(id);
    if (!s.loaded()) return;
    panes_->SetEditText(id, side, word);
    const SearchOptions o = settings_->options();
    if (id == kMain && o.edit_mode && side != s.source_side()) return;
    s.EndLoop();
    queue_->Post(TranslateWord{id, side, word, o, HotKey(), epoch()});
}

void SearchRequests::Activated(const std::string& clipboard_text) {
    const DictionarySlot& main = d_->main();
    // At start the main dictionary's look-up image answers from the source
    // side (the primary one when the dictionary's settings are unread); the
    // text is searched on the dictionary again once it is loaded.
    const bool loading = !main.loaded();
    if (loading && !image_->answering()) return;
    const ListSide source = main.source_side();
    const bool pending = settings_->hot_key_pending();
    if (!pending) panes_->FocusEdit(kMain, source);
    const SearchOptions o = settings_->options();
    if (!o.use_clipboard && !pending) return;
    const std::string text = ClipboardSearchText(clipboard_text);
    panes_->SetEditText(kMain, source, text);
    if (!loading) {
        Typed(kMain, source, text);
        return;
    }
    KeepUntilLoaded({kMain, source, text, o, HotKey(), epoch()});
    if (!pending) {
        image_->Answer(panes_, source, text, source, o);
    } else if (image_->AnswerHotKey(panes_, hot_key_, source, text, o, program_->hot_key_target)) {
        // Answered: the search on the loaded dictionary leaves the popup be.
        settings_->SetHotKeyPending(false);
    }
}

void SearchRequests::ToggleDirection(SlotId id) {
    DictionarySlot& s = d_->slot(id);
    s.set_primary_to_secondary(!s.primary_to_secondary());
    panes_->SelectListEntry(id, ListSide::kPrimary, -1, epoch());
    panes_->SelectListEntry(id, ListSide::kSecondary, -1, epoch());
    report_->Retitle();
    report_->RefreshStatus();
}

void SearchRequests::ClearSide(SlotId id, ListSide side) {
    lists_->ClearEdit(id, side);
    lists_->ClearList(id, side);
}

void SearchRequests::ListPalindromes() {
    d_->EndLoops();
    queue_->Post(wordbay::ListPalindromes{settings_->options(), epoch()});
}

void SearchRequests::ListIdenticalWords() {
    d_->EndLoops();
    queue_->Post(wordbay::ListIdenticalWords{settings_->options(), epoch()});
}

}  // namespace wordbay
