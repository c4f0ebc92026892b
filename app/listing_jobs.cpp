#include "app/listing_jobs.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "engine/lexbase_messages.h"
#include "platform/collation.h"

namespace wordbay {
namespace {

constexpr SlotId kMain = SlotId::kMain;
constexpr SlotId kDual = SlotId::kDual;
constexpr ListSide kBothSides[] = {ListSide::kPrimary, ListSide::kSecondary};

}  // namespace

void ListingJobs::List(const ListWords& r) {
    const SearchOptions& o = r.options;
    DictionarySlot& s = d_->slot(r.slot);
    if (!s.loaded()) return;
    const ListSide other = Other(r.side);
    const bool pending = r.hot_key.pending;

    if (pending) hot_key_->HotKeyClear();
    word_forms_.Clear(pending);
    if (!o.auto_translate || r.side == s.source_side()) lists_->ClearList(r.slot, r.side);
    panes_->SelectListEntry(r.slot, r.side, -1, r.epoch);
    panes_->SelectListEntry(r.slot, other, -1, r.epoch);

    if (r.text.empty()) {
        if (o.auto_translate || pending) {
            lists_->ClearEdit(r.slot, other);
            lists_->ClearList(r.slot, other);
        }
        settings_->EndHotKeyCall(r.hot_key.call);
        return;
    }
    if (pending) hot_key_->HotKeyShowText(r.text);

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
    const std::shared_ptr<PointerArray> array = s.ResultArray(r.side, s.ResultRoom(r.side));
    const DB_RESULT* res =
        DB_List(s.handle(), EngineList(r.side), r.text.c_str(), case_sensitive, ignore_accents,
                mode, array->data(), static_cast<std::int32_t>(array->size()));
    const int count = res->status != 0 ? res->count : 0;
    settings_->SetSearchIncomplete(
        res->status != 0 && lexbase::IsMessage(res->message, lexbase::Message::kRegexIncomplete));
    const WordList words = s.Words(array, count, r.epoch);
    lists_->Show(r.slot, r.side, words);

    const bool entered = r.entered;
    if (o.edit_mode || (!o.auto_translate && !pending && !entered)) return;
    // The main dictionary translates only from its source side.
    if (r.slot == kMain && r.side != s.source_side()) return;
    lists_->ClearList(r.slot, other);
    lists_->ClearEdit(r.slot, other);
    std::uint32_t flags = 0;
    if (!o.case_sensitive) flags |= platform::kNormIgnoreCase;
    if (o.ignore_accents) flags |= platform::kNormIgnoreNonSpace;
    if (!words.empty() && platform::CompareTextIn(s.CodePage(r.side), s.Locale(r.side), flags,
                                                  words[0], r.text) == 0) {
        panes_->SelectListEntry(r.slot, r.side, 0, r.epoch);
        // Translated here rather than as a request of its own, so that a
        // search the user started meanwhile is not replaced by it; that newer
        // search makes this one moot.
        if (!search_waiting_()) {
            // Asked for before the translation, which ends the hot key's wait.
            if (pending) word_forms_.OfferFormsBeside(r);
            Translate({r.slot, r.side, words[0], o, r.hot_key, r.epoch});
        }
    } else if (search_waiting_() || !word_forms_.GoToBaseWord(r, pending || entered)) {
        settings_->EndHotKeyCall(r.hot_key.call);
    }
}

void ListingJobs::Translate(const TranslateWord& r) {
    const SearchOptions& o = r.options;
    DictionarySlot& s = d_->slot(r.slot);
    if (!s.loaded() || r.word.empty()) return;
    const ListSide target = Other(r.side);

    lists_->ClearEdit(r.slot, target);
    lists_->ClearList(r.slot, target);
    const int case_sensitive = o.edit_mode ? 1 : (o.case_sensitive ? 1 : 0);
    const int ignore_accents = o.edit_mode ? 0 : (o.ignore_accents ? 1 : 0);
    const std::shared_ptr<PointerArray> array = s.ResultArray(target, s.ResultRoom(target));
    const DB_RESULT* res =
        DB_Translate(s.handle(), EngineDirection(r.side), r.word.c_str(), case_sensitive,
                     ignore_accents, array->data(), static_cast<std::int32_t>(array->size()));
    const WordList words = s.Words(array, res->status != 0 ? res->count : 0, r.epoch);
    lists_->Show(r.slot, target, words);
    if (!words.empty()) {
        panes_->SetEditText(r.slot, target, words[0]);
        panes_->TranslationShown(r.slot, r.side);
    }

    WordList hot_key_words = words;
    if (r.slot == kMain && o.dual_mode && o.link && d_->dual().loaded())
        hot_key_words = LinkIntoDual(o, r.side, words, r.epoch);
    if (!r.hot_key.pending) return;
    // The popup or tooltip shows the translations, linked ones in link mode.
    if (r.hot_key.target != HotKeyTarget::kMainWindow) hot_key_->HotKeyShowList(hot_key_words);
    settings_->EndHotKeyCall(r.hot_key.call);
}

WordList ListingJobs::LinkIntoDual(const SearchOptions& o, ListSide main_from,
                                   const WordList& translations, unsigned epoch) {
    DictionarySlot& dual = d_->dual();
    const ListSide link = dual.source_side();
    const ListSide link_target = Other(link);
    for (const ListSide side : kBothSides) lists_->ClearList(kDual, side);
    for (const ListSide side : kBothSides) lists_->ClearEdit(kDual, side);
    if (main_from != d_->main().source_side()) return {};

    const int case_sensitive = o.case_sensitive ? 1 : 0;
    const int ignore_accents = o.ignore_accents ? 1 : 0;
    // Each main translation contributes the first dual word it matches.
    const std::shared_ptr<PointerArray> links = dual.ResultArray(link, dual.ResultRoom(link));
    const char** out = links->data();
    const int room = static_cast<int>(links->size());
    int gathered = 0;
    for (int i = 0; i < translations.count() && gathered < room; ++i) {
        const DB_RESULT* r =
            DB_List(dual.handle(), EngineList(link), translations[i], case_sensitive,
                    ignore_accents, DB_LIST_WILDCARDS, out + gathered, room - gathered);
        if (r->status != 0 && r->count > 0) ++gathered;
    }
    const WordList linked = dual.Words(links, gathered, epoch);
    lists_->Show(kDual, link, linked);
    if (linked.empty()) return {};

    const std::shared_ptr<PointerArray> targets =
        dual.ResultArray(link_target, dual.ResultRoom(link_target));
    const char** target_out = targets->data();
    const int target_room = static_cast<int>(targets->size());
    int total = 0;
    if (o.link_all) {
        // Every linked word is translated; a translation already gathered
        // (byte for byte) is not repeated.
        std::unordered_set<std::string_view> seen;
        for (int i = 0; i < linked.count() && total < target_room; ++i) {
            const DB_RESULT* r =
                DB_Translate(dual.handle(), EngineDirection(link), linked[i], case_sensitive,
                             ignore_accents, target_out + total, target_room - total);
            if (r->status == 0) continue;
            const int batch = std::min(r->count, target_room - total);
            int kept = total;
            for (int k = total; k < total + batch; ++k) {
                if (seen.insert(target_out[k]).second) target_out[kept++] = target_out[k];
            }
            total = kept;
        }
    } else {
        panes_->SelectListEntry(kDual, link, 0, epoch);
        panes_->SetEditText(kDual, link, linked[0]);
        const DB_RESULT* r = DB_Translate(dual.handle(), EngineDirection(link), linked[0],
                                          case_sensitive, ignore_accents, target_out, target_room);
        total = r->status != 0 ? r->count : 0;
    }
    const WordList target_words = dual.Words(targets, total, epoch);
    lists_->Show(kDual, link_target, target_words);
    return target_words;
}

void ListingJobs::Palindromes(const ListPalindromes& r) {
    const SearchOptions& o = r.options;
    if (!d_->main().loaded()) return;
    report_->SetStatus(UiText(TextId::MSG_SEARCHING_PALINDROME));
    for (const ListSide side : kBothSides) {
        lists_->ClearEdit(kMain, side);
        lists_->ClearList(kMain, side);
    }
    hot_key_->HotKeyClear();
    const bool with_dual = o.dual_mode && d_->dual().loaded();
    for (const SlotId id : {kMain, kDual}) {
        if (id == kDual && !with_dual) break;
        DictionarySlot& s = d_->slot(id);
        for (const ListSide side : kBothSides) {
            if (id == kDual) {
                lists_->ClearEdit(id, side);
                lists_->ClearList(id, side);
            }
            const std::shared_ptr<PointerArray> array = s.ResultArray(side, s.ResultRoom(side));
            report_->BeginProgress(s.handle());
            const DB_RESULT* res =
                DB_List(s.handle(), EngineList(side), "", o.case_sensitive ? 1 : 0,
                        o.ignore_accents ? 1 : 0, DB_LIST_PALINDROME, array->data(),
                        static_cast<std::int32_t>(array->size()));
            const int count = res->status != 0 ? res->count : 0;
            report_->EndProgress();
            lists_->Show(id, side, s.Words(array, count, r.epoch));
        }
    }
}

void ListingJobs::IdenticalWords(const ListIdenticalWords& r) {
    const SearchOptions& o = r.options;
    if (!d_->main().loaded()) return;
    report_->SetStatus(UiText(TextId::MSG_SEARCHING_IDENTICAL_WORDS));
    for (const ListSide side : kBothSides) {
        lists_->ClearEdit(kMain, side);
        lists_->ClearList(kMain, side);
    }
    const bool with_dual = o.dual_mode && d_->dual().loaded();
    for (const SlotId id : {kMain, kDual}) {
        if (id == kDual && !with_dual) break;
        DictionarySlot& s = d_->slot(id);
        if (id == kDual) {
            for (const ListSide side : kBothSides) {
                lists_->ClearEdit(id, side);
                lists_->ClearList(id, side);
            }
        }
        const ListSide source = s.source_side();
        // The engine writes up to one entry per primary word, whichever list
        // shows them.
        const std::size_t room =
            std::max<std::size_t>(s.ResultRoom(source), s.WordCount(ListSide::kPrimary) + 1);
        const std::shared_ptr<PointerArray> array = s.ResultArray(source, room);
        report_->BeginProgress(s.handle());
        const DB_RESULT* res = DB_ListIdenticalWords(s.handle(), o.ignore_accents ? 1 : 0,
                                                     o.case_sensitive ? 1 : 0, array->data());
        const int count = res->status != 0 ? res->count : 0;
        report_->EndProgress();
        lists_->Show(id, source, s.Words(array, count, r.epoch));
    }
}

}  // namespace wordbay
