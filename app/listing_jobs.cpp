// The search jobs of the worker: listing the words of a list as the user
// types (2, 3, 15, 16), translating the selected word (9, 10, 19, 20) with the
// link into the dual dictionary, palindromes (11) and identical words (12).
#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_set>

#include "app/search_controller.h"
#include "platform/collation.h"

namespace wordbay {

void SearchController::ListJob(SlotId id, ListSide side) {
    const SearchOptions o = options();
    DictionarySlot& s = slot(id);
    if (!s.loaded()) return;
    const ListSide other = Other(side);
    const bool pending = hot_key_pending_.load();

    if (pending) view_->HotKeyClear();
    if (!o.auto_translate || side == s.source_side()) ClearList(id, side);
    view_->SelectListEntry(id, side, -1);
    view_->SelectListEntry(id, other, -1);

    const std::string text = view_->EditText(id, side);
    if (text.empty()) {
        if (o.auto_translate || pending) {
            ClearEdit(id, other);
            ClearList(id, other);
        }
        hot_key_pending_.store(false);
        return;
    }
    if (pending) view_->HotKeyShowText(text);

    int case_sensitive = o.case_sensitive ? 1 : 0;
    int ignore_accents = o.ignore_accents ? 1 : 0;
    std::uint32_t mode = o.ListMode();
    if (o.edit_mode) {
        case_sensitive = 1;
        ignore_accents = 0;
        mode = DB_LIST_PREFIX;
    } else if (pending) {
        mode = DB_LIST_PREFIX;
    }
    ResultBuffers& buffers = s.results(side);
    const DB_RESULT* r = DB_List(s.handle(), EngineList(side), text.c_str(), case_sensitive,
                                 ignore_accents, mode, buffers.back(), buffers.capacity());
    const int count = r->status != 0 ? r->count : 0;
    search_incomplete_.store(r->status != 0 && std::strcmp(r->message, kSearchIncompleteMessage) == 0);
    Show(id, side, count);

    if (o.edit_mode || (!o.auto_translate && !pending)) return;
    // The main dictionary translates only from its source side.
    if (id == SlotId::kMain && side != s.source_side()) return;
    ClearList(id, other);
    ClearEdit(id, other);
    std::uint32_t flags = 0;
    if (!o.case_sensitive) flags |= platform::kNormIgnoreCase;
    if (o.ignore_accents) flags |= platform::kNormIgnoreNonSpace;
    const char* const* shown = buffers.front();
    if (count > 0 &&
        platform::CompareTextIn(s.CodePage(side), s.Locale(side), flags, shown[0], text) == 0) {
        view_->SelectListEntry(id, side, 0);
        // Translated here rather than as a new job, so that a search the user
        // started meanwhile is not replaced by this translation; that newer
        // search makes this one moot.
        if (!worker_.job_pending()) TranslateJob(id, side);
    } else {
        hot_key_pending_.store(false);
    }
}

void SearchController::TranslateJob(SlotId id, ListSide side) {
    const SearchOptions o = options();
    DictionarySlot& s = slot(id);
    if (!s.loaded()) return;
    const ListSide target = Other(side);
    const std::optional<std::string> word = view_->SelectedWord(id, side);
    if (!word || word->empty()) return;

    ClearEdit(id, target);
    ClearList(id, target);
    const int case_sensitive = o.edit_mode ? 1 : (o.case_sensitive ? 1 : 0);
    const int ignore_accents = o.edit_mode ? 0 : (o.ignore_accents ? 1 : 0);
    ResultBuffers& buffers = s.results(target);
    const DB_RESULT* r = DB_Translate(s.handle(), EngineDirection(side), word->c_str(),
                                      case_sensitive, ignore_accents, buffers.back(),
                                      buffers.capacity());
    const int count = r->status != 0 ? r->count : 0;
    Show(id, target, count);
    if (shown_count(id, target) > 0) view_->SetEditText(id, target, buffers.front()[0]);

    if (id == SlotId::kMain && o.dual_mode && o.link && dual_.loaded()) LinkIntoDual(o, side);
    ShowHotKeyResult(o, id, target);
}

void SearchController::LinkIntoDual(const SearchOptions& o, ListSide main_from) {
    const ListSide link = dual_.source_side();
    const ListSide link_target = Other(link);
    ClearList(SlotId::kDual, ListSide::kPrimary);
    ClearList(SlotId::kDual, ListSide::kSecondary);
    ClearEdit(SlotId::kDual, ListSide::kPrimary);
    ClearEdit(SlotId::kDual, ListSide::kSecondary);
    if (main_from != main_.source_side()) return;

    const int case_sensitive = o.case_sensitive ? 1 : 0;
    const int ignore_accents = o.ignore_accents ? 1 : 0;
    const ListSide main_target = Other(main_from);
    const char* const* translations = main_.results(main_target).front();
    const int translation_count = shown_count(SlotId::kMain, main_target);

    // Each main translation contributes the first dual word it matches.
    ResultBuffers& links = dual_.results(link);
    const char** out = links.back();
    const int room = links.capacity();
    int gathered = 0;
    for (int i = 0; i < translation_count && gathered < room; ++i) {
        const DB_RESULT* r = DB_List(dual_.handle(), EngineList(link), translations[i],
                                     case_sensitive, ignore_accents, DB_LIST_WILDCARDS,
                                     out + gathered, room - gathered);
        if (r->status != 0 && r->count > 0) ++gathered;
    }
    Show(SlotId::kDual, link, gathered);
    const int linked = shown_count(SlotId::kDual, link);
    if (linked == 0) return;
    const char* const* linked_words = links.front();

    ResultBuffers& targets = dual_.results(link_target);
    const char** target_out = targets.back();
    const int target_room = targets.capacity();
    if (o.link_all) {
        // Every linked word is translated; a translation already gathered
        // (byte for byte) is not repeated.
        std::unordered_set<std::string_view> seen;
        int total = 0;
        for (int i = 0; i < linked && total < target_room; ++i) {
            const DB_RESULT* r =
                DB_Translate(dual_.handle(), EngineDirection(link), linked_words[i],
                             case_sensitive, ignore_accents, target_out + total,
                             target_room - total);
            if (r->status == 0) continue;
            const int batch = std::min(r->count, target_room - total);
            int kept = total;
            for (int k = total; k < total + batch; ++k) {
                if (seen.insert(target_out[k]).second) target_out[kept++] = target_out[k];
            }
            total = kept;
        }
        Show(SlotId::kDual, link_target, total);
    } else {
        view_->SelectListEntry(SlotId::kDual, link, 0);
        view_->SetEditText(SlotId::kDual, link, linked_words[0]);
        const DB_RESULT* r = DB_Translate(dual_.handle(), EngineDirection(link), linked_words[0],
                                          case_sensitive, ignore_accents, target_out, target_room);
        Show(SlotId::kDual, link_target, r->status != 0 ? r->count : 0);
    }
}

void SearchController::ShowHotKeyResult(const SearchOptions& o, SlotId id, ListSide target) {
    if (!hot_key_pending_.load()) return;
    if (o.hot_key_target != HotKeyTarget::kMainWindow) {
        // The hot-key window gets its own copy of the pointers: the list it
        // copies from is refilled by later searches.
        SlotId from = id;
        ListSide side = target;
        if (id == SlotId::kMain && o.dual_mode && o.link && dual_.loaded()) {
            from = SlotId::kDual;
            side = dual_.target_side();
        }
        const int count = shown_count(from, side);
        const char* const* items = slot(from).results(side).front();
        hot_key_items_.Reserve(static_cast<std::size_t>(count));
        std::copy(items, items + count, hot_key_items_.back());
        view_->HotKeyShowList(hot_key_items_.Flip(), count);
    }
    hot_key_pending_.store(false);
}

void SearchController::PalindromeJob() {
    const SearchOptions o = options();
    if (!main_.loaded()) return;
    view_->SetStatus(UiText(TextId::MSG_SEARCHING_PALINDROME));
    for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
        ClearEdit(SlotId::kMain, side);
        ClearList(SlotId::kMain, side);
    }
    view_->HotKeyClear();
    const bool with_dual = o.dual_mode && dual_.loaded();
    for (const SlotId id : {SlotId::kMain, SlotId::kDual}) {
        if (id == SlotId::kDual && !with_dual) break;
        DictionarySlot& s = slot(id);
        for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
            if (id == SlotId::kDual) {
                ClearEdit(id, side);
                ClearList(id, side);
            }
            ResultBuffers& buffers = s.results(side);
            view_->BeginProgress(s.handle());
            const DB_RESULT* r =
                DB_List(s.handle(), EngineList(side), "", o.case_sensitive ? 1 : 0,
                        o.ignore_accents ? 1 : 0, DB_LIST_PALINDROME, buffers.back(),
                        buffers.capacity());
            const int count = r->status != 0 ? r->count : 0;
            view_->EndProgress();
            Show(id, side, count);
        }
    }
}

void SearchController::IdenticalWordsJob() {
    const SearchOptions o = options();
    if (!main_.loaded()) return;
    view_->SetStatus(UiText(TextId::MSG_SEARCHING_IDENTICAL_WORDS));
    for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
        ClearEdit(SlotId::kMain, side);
        ClearList(SlotId::kMain, side);
    }
    const bool with_dual = o.dual_mode && dual_.loaded();
    for (const SlotId id : {SlotId::kMain, SlotId::kDual}) {
        if (id == SlotId::kDual && !with_dual) break;
        DictionarySlot& s = slot(id);
        if (id == SlotId::kDual) {
            for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
                ClearEdit(id, side);
                ClearList(id, side);
            }
        }
        const ListSide source = s.source_side();
        ResultBuffers& buffers = s.results(source);
        // The engine writes up to one entry per primary word, whichever list
        // shows them.
        buffers.Reserve(s.WordCount(ListSide::kPrimary) + 1);
        view_->BeginProgress(s.handle());
        const DB_RESULT* r = DB_ListIdenticalWords(s.handle(), o.ignore_accents ? 1 : 0,
                                                   o.case_sensitive ? 1 : 0, buffers.back());
        const int count = r->status != 0 ? r->count : 0;
        view_->EndProgress();
        Show(id, source, count);
    }
}

}  // namespace wordbay
