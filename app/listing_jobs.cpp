#include "app/listing_jobs.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_set>

#include "platform/collation.h"

namespace wordbay {

void ListingJobs::List(SlotId id, ListSide side) {
    const SearchOptions o = c_.options();
    DictionarySlot& s = c_.slot(id);
    if (!s.loaded()) return;
    const ListSide other = Other(side);
    const bool pending = c_.hot_key_pending().load();

    if (pending) c_.view().HotKeyClear();
    word_forms_.Clear(pending);
    if (!o.auto_translate || side == s.source_side()) c_.ClearList(id, side);
    c_.view().SelectListEntry(id, side, -1);
    c_.view().SelectListEntry(id, other, -1);

    const std::string text = c_.view().EditText(id, side);
    if (text.empty()) {
        if (o.auto_translate || pending) {
            c_.ClearEdit(id, other);
            c_.ClearList(id, other);
        }
        c_.hot_key_pending().store(false);
        return;
    }
    if (pending) c_.view().HotKeyShowText(text);

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
    c_.search_incomplete().store(r->status != 0 &&
                                 std::strcmp(r->message, kSearchIncompleteMessage) == 0);
    c_.Show(id, side, count);

    const bool entered = word_forms_.TakeSuggestNext();
    if (o.edit_mode || (!o.auto_translate && !pending && !entered)) return;
    // The main dictionary translates only from its source side.
    if (id == SlotId::kMain && side != s.source_side()) return;
    c_.ClearList(id, other);
    c_.ClearEdit(id, other);
    std::uint32_t flags = 0;
    if (!o.case_sensitive) flags |= platform::kNormIgnoreCase;
    if (o.ignore_accents) flags |= platform::kNormIgnoreNonSpace;
    const char* const* shown = buffers.front();
    if (count > 0 &&
        platform::CompareTextIn(s.CodePage(side), s.Locale(side), flags, shown[0], text) == 0) {
        c_.view().SelectListEntry(id, side, 0);
        // Translated here rather than as a new job, so that a search the user
        // started meanwhile is not replaced by this translation; that newer
        // search makes this one moot.
        if (!c_.worker().job_pending()) {
            // Asked for before the translation, which ends the hot key's wait.
            if (pending) word_forms_.OfferFormsBeside(id, side, text);
            Translate(id, side);
        }
    } else if (c_.worker().job_pending() ||
               !word_forms_.GoToBaseWord(id, side, text, pending || entered)) {
        c_.hot_key_pending().store(false);
    }
}

void ListingJobs::Translate(SlotId id, ListSide side) {
    const SearchOptions o = c_.options();
    DictionarySlot& s = c_.slot(id);
    if (!s.loaded()) return;
    const ListSide target = Other(side);
    const std::optional<std::string> word = c_.view().SelectedWord(id, side);
    if (!word || word->empty()) return;

    c_.ClearEdit(id, target);
    c_.ClearList(id, target);
    const int case_sensitive = o.edit_mode ? 1 : (o.case_sensitive ? 1 : 0);
    const int ignore_accents = o.edit_mode ? 0 : (o.ignore_accents ? 1 : 0);
    ResultBuffers& buffers = s.results(target);
    const DB_RESULT* r =
        DB_Translate(s.handle(), EngineDirection(side), word->c_str(), case_sensitive,
                     ignore_accents, buffers.back(), buffers.capacity());
    const int count = r->status != 0 ? r->count : 0;
    c_.Show(id, target, count);
    if (c_.shown_count(id, target) > 0) {
        c_.view().SetEditText(id, target, buffers.front()[0]);
        c_.view().TranslationShown(id, side);
    }

    if (id == SlotId::kMain && o.dual_mode && o.link && c_.dual_slot().loaded())
        LinkIntoDual(o, side);
    ShowHotKeyResult(o, id, target);
}

void ListingJobs::LinkIntoDual(const SearchOptions& o, ListSide main_from) {
    const ListSide link = c_.dual_slot().source_side();
    const ListSide link_target = Other(link);
    c_.ClearList(SlotId::kDual, ListSide::kPrimary);
    c_.ClearList(SlotId::kDual, ListSide::kSecondary);
    c_.ClearEdit(SlotId::kDual, ListSide::kPrimary);
    c_.ClearEdit(SlotId::kDual, ListSide::kSecondary);
    if (main_from != c_.main_slot().source_side()) return;

    const int case_sensitive = o.case_sensitive ? 1 : 0;
    const int ignore_accents = o.ignore_accents ? 1 : 0;
    const ListSide main_target = Other(main_from);
    const char* const* translations = c_.main_slot().results(main_target).front();
    const int translation_count = c_.shown_count(SlotId::kMain, main_target);

    // Each main translation contributes the first dual word it matches.
    ResultBuffers& links = c_.dual_slot().results(link);
    const char** out = links.back();
    const int room = links.capacity();
    int gathered = 0;
    for (int i = 0; i < translation_count && gathered < room; ++i) {
        const DB_RESULT* r =
            DB_List(c_.dual_slot().handle(), EngineList(link), translations[i], case_sensitive,
                    ignore_accents, DB_LIST_WILDCARDS, out + gathered, room - gathered);
        if (r->status != 0 && r->count > 0) ++gathered;
    }
    c_.Show(SlotId::kDual, link, gathered);
    const int linked = c_.shown_count(SlotId::kDual, link);
    if (linked == 0) return;
    const char* const* linked_words = links.front();

    ResultBuffers& targets = c_.dual_slot().results(link_target);
    const char** target_out = targets.back();
    const int target_room = targets.capacity();
    if (o.link_all) {
        // Every linked word is translated; a translation already gathered
        // (byte for byte) is not repeated.
        std::unordered_set<std::string_view> seen;
        int total = 0;
        for (int i = 0; i < linked && total < target_room; ++i) {
            const DB_RESULT* r = DB_Translate(c_.dual_slot().handle(), EngineDirection(link),
                                              linked_words[i], case_sensitive, ignore_accents,
                                              target_out + total, target_room - total);
            if (r->status == 0) continue;
            const int batch = std::min(r->count, target_room - total);
            int kept = total;
            for (int k = total; k < total + batch; ++k) {
                if (seen.insert(target_out[k]).second) target_out[kept++] = target_out[k];
            }
            total = kept;
        }
        c_.Show(SlotId::kDual, link_target, total);
    } else {
        c_.view().SelectListEntry(SlotId::kDual, link, 0);
        c_.view().SetEditText(SlotId::kDual, link, linked_words[0]);
        const DB_RESULT* r =
            DB_Translate(c_.dual_slot().handle(), EngineDirection(link), linked_words[0],
                         case_sensitive, ignore_accents, target_out, target_room);
        c_.Show(SlotId::kDual, link_target, r->status != 0 ? r->count : 0);
    }
}

void ListingJobs::ShowHotKeyResult(const SearchOptions& o, SlotId id, ListSide target) {
    if (!c_.hot_key_pending().load()) return;
    if (o.hot_key_target != HotKeyTarget::kMainWindow) {
        // The hot-key window gets its own copy of the pointers: the list it
        // copies from is refilled by later searches.
        SlotId from = id;
        ListSide side = target;
        if (id == SlotId::kMain && o.dual_mode && o.link && c_.dual_slot().loaded()) {
            from = SlotId::kDual;
            side = c_.dual_slot().target_side();
        }
        const int count = c_.shown_count(from, side);
        const char* const* items = c_.slot(from).results(side).front();
        c_.hot_key_items().Reserve(static_cast<std::size_t>(count));
        std::copy(items, items + count, c_.hot_key_items().back());
        c_.view().HotKeyShowList(c_.hot_key_items().Flip(), count);
    }
    c_.hot_key_pending().store(false);
}

void ListingJobs::Palindromes() {
    const SearchOptions o = c_.options();
    if (!c_.main_slot().loaded()) return;
    c_.view().SetStatus(UiText(TextId::MSG_SEARCHING_PALINDROME));
    for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
        c_.ClearEdit(SlotId::kMain, side);
        c_.ClearList(SlotId::kMain, side);
    }
    c_.view().HotKeyClear();
    const bool with_dual = o.dual_mode && c_.dual_slot().loaded();
    for (const SlotId id : {SlotId::kMain, SlotId::kDual}) {
        if (id == SlotId::kDual && !with_dual) break;
        DictionarySlot& s = c_.slot(id);
        for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
            if (id == SlotId::kDual) {
                c_.ClearEdit(id, side);
                c_.ClearList(id, side);
            }
            ResultBuffers& buffers = s.results(side);
            c_.view().BeginProgress(s.handle());
            const DB_RESULT* r = DB_List(s.handle(), EngineList(side), "", o.case_sensitive ? 1 : 0,
                                         o.ignore_accents ? 1 : 0, DB_LIST_PALINDROME,
                                         buffers.back(), buffers.capacity());
            const int count = r->status != 0 ? r->count : 0;
            c_.view().EndProgress();
            c_.Show(id, side, count);
        }
    }
}

void ListingJobs::IdenticalWords() {
    const SearchOptions o = c_.options();
    if (!c_.main_slot().loaded()) return;
    c_.view().SetStatus(UiText(TextId::MSG_SEARCHING_IDENTICAL_WORDS));
    for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
        c_.ClearEdit(SlotId::kMain, side);
        c_.ClearList(SlotId::kMain, side);
    }
    const bool with_dual = o.dual_mode && c_.dual_slot().loaded();
    for (const SlotId id : {SlotId::kMain, SlotId::kDual}) {
        if (id == SlotId::kDual && !with_dual) break;
        DictionarySlot& s = c_.slot(id);
        if (id == SlotId::kDual) {
            for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
                c_.ClearEdit(id, side);
                c_.ClearList(id, side);
            }
        }
        const ListSide source = s.source_side();
        ResultBuffers& buffers = s.results(source);
        // The engine writes up to one entry per primary word, whichever list
        // shows them.
        buffers.Reserve(s.WordCount(ListSide::kPrimary) + 1);
        c_.view().BeginProgress(s.handle());
        const DB_RESULT* r = DB_ListIdenticalWords(s.handle(), o.ignore_accents ? 1 : 0,
                                                   o.case_sensitive ? 1 : 0, buffers.back());
        const int count = r->status != 0 ? r->count : 0;
        c_.view().EndProgress();
        c_.Show(id, source, count);
    }
}

}  // namespace wordbay
