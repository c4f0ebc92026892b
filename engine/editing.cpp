#include "engine/editing.h"

#include <cassert>
#include <cstdlib>
#include <utility>

#include "engine/messages.h"
#include "engine/word_insert.h"
#include "platform/collation.h"
#include "platform/locale.h"

namespace lexbase {
namespace {

bool HasText(const WordNode* node, std::string_view text) {
    return std::string_view(node->text, node->length) == text;
}

void AppendLink(WordNode* word, TransLink* link) {
    Ref<TransLink>* end = &word->links;
    while (*end != nullptr) end = &(*end)->next;
    *end = link;
}

// The first link of the chain whose target has the text, or null.
TransLink* LinkToText(WordNode* word, std::string_view text) {
    for (TransLink* link = word->links; link != nullptr; link = link->next) {
        if (HasText(link->target, text)) return link;
    }
    return nullptr;
}

// The place in the chain of `word` that holds the first link to `target`;
// the place holds null when there is none.
Ref<TransLink>* PlaceOfLinkTo(WordNode* word, const WordNode* target) {
    Ref<TransLink>* place = &word->links;
    while (*place != nullptr && (*place)->target != target) place = &(*place)->next;
    return place;
}

bool HasLinkTo(const WordNode* word, const WordNode* target) {
    for (const TransLink* link = word->links; link != nullptr; link = link->next) {
        if (link->target == target) return true;
    }
    return false;
}

void MarkAllChanged(DB_CONTEXT* db) {
    for (WordList& list : db->lists) {
        list.texts_moved = list.nodes_moved = list.links_changed = 1;
    }
    db->changed = 1;
}

// Hands the chain of `from` to `to` (both in `list`; their partners in
// `other`). A partner that `to` already has loses its link to `from`; every
// other partner's link to `from` now points at `to`, in place.
void MoveChain(WordNode* from, WordNode* to, WordList* list, WordList* other) {
    TransLink* link = from->links;
    from->links = nullptr;
    while (link != nullptr) {
        TransLink* const next = link->next;
        WordNode* const partner = link->target;
        Ref<TransLink>* const back = PlaceOfLinkTo(partner, from);
        if (HasLinkTo(to, partner)) {
            if (TransLink* const reverse = *back) {
                *back = reverse->next;
                FreeTransLink(*other, reverse);
                other->translation_count -= 1;
            }
            FreeTransLink(*list, link);
            list->translation_count -= 1;
        } else {
            if (*back != nullptr) (*back)->target = to;
            link->next = nullptr;
            AppendLink(to, link);
        }
        link = next;
    }
}

// Sorts nodes by collation with the quicksort the lists have always used, so
// that words collating equal end up as they always have. The smaller part is
// sorted by recursion and the larger by the loop, which bounds the depth.
void SortNodes(WordNode** a, std::ptrdiff_t lo, std::ptrdiff_t hi, std::uint32_t code_page,
               std::uint32_t locale) {
    auto compare = [code_page, locale](const WordNode* x, const WordNode* y) {
        return platform::CompareTextIn(code_page, locale, 0, {x->text, x->length},
                                       {y->text, y->length});
    };
    while (lo < hi) {
        const WordNode* const pivot = a[lo + (hi - lo) / 2];
        std::ptrdiff_t i = lo, j = hi;
        while (i <= j) {
            while (i < hi && compare(a[i], pivot) < 0) ++i;
            while (j > lo && compare(a[j], pivot) > 0) --j;
            if (i <= j) {
                std::swap(a[i], a[j]);
                ++i;
                --j;
            }
        }
        if (j - lo < hi - i) {
            if (lo < j) SortNodes(a, lo, j, code_page, locale);
            lo = i;
        } else {
            if (i < hi) SortNodes(a, i, hi, code_page, locale);
            hi = j;
        }
    }
}

}  // namespace

EditOutcome AddWord(DB_CONTEXT* db, std::int32_t list, std::string_view word) {
    WordList* const words = ListOf(db, list);
    if (WordNode* found = FindWordQuiet(words, word)) {
        db->result.word = found->text;
        return {1, msg::kWordExists};
    }
    WordNode* const node = InsertWord(words, word);
    if (node == nullptr) return {0, msg::kMemoryError};
    db->changed = 1;
    db->result.word = node->text;
    return {1, msg::kWordAdded};
}

EditOutcome AddTranslation(DB_CONTEXT* db, std::int32_t direction, std::string_view word,
                           std::string_view translation) {
    WordList* const words = ListOf(db, direction);
    WordList* const translations = OtherList(db, direction);
    bool word_is_new = false, translation_is_new = false;
    WordNode* const w = InsertWord(words, word, &word_is_new);
    WordNode* const t =
        w != nullptr ? InsertWord(translations, translation, &translation_is_new) : nullptr;
    if (t == nullptr) {
        // A word inserted before memory ran out stays, and is a change.
        if (word_is_new) db->changed = 1;
        return {0, msg::kMemoryError};
    }
    db->changed = 1;
    if (HasLinkTo(w, t)) {
        db->result.word = w->text;
        db->result.word2 = t->text;
        return {1, msg::kTranslationExists};
    }
    TransLink *forward, *backward;
    if (!NewLinkPair(w, t, &forward, &backward)) return {0, msg::kMemoryError};
    AppendLink(w, forward);
    AppendLink(t, backward);
    CountNewPair(words, translations);
    db->result.word = w->text;
    db->result.word2 = t->text;
    return {2, msg::kTranslationAdded};
}

EditOutcome DeleteWord(DB_CONTEXT* db, std::int32_t list, std::string_view word) {
    switch (RemoveWord(ListOf(db, list), word)) {
        case RemoveResult::kRemoved:
            db->changed = 1;
            return {1, msg::kWordDeleted};
        case RemoveResult::kHasTranslations:
            return {0, msg::kWordHasTranslations};
        case RemoveResult::kListEmpty:
            return {0, msg::kNothingToDelete};
        case RemoveResult::kNotFound:
            break;
    }
    return {0, msg::kEditWordMissing};
}

EditOutcome DeleteTranslation(DB_CONTEXT* db, std::int32_t direction, std::string_view word,
                              std::string_view translation) {
    WordList* const words = ListOf(db, direction);
    WordList* const translations = OtherList(db, direction);
    WordNode* const w = FindWordQuiet(words, word);
    if (w == nullptr) return {0, msg::kTranslationMissing};
    Ref<TransLink>* place = &w->links;
    while (*place != nullptr && !HasText((*place)->target, translation)) place = &(*place)->next;
    TransLink* const forward = *place;
    if (forward == nullptr) return {0, msg::kTranslationMissing};

    WordNode* const t = forward->target;
    *place = forward->next;
    FreeTransLink(*words, forward);
    words->translation_count -= 1;
    words->links_changed = 1;
    // The dictionary has changed from here on, whatever the reverse link says.
    db->changed = 1;

    Ref<TransLink>* const back = PlaceOfLinkTo(t, w);
    TransLink* const reverse = *back;
    if (reverse == nullptr) return {0, msg::kTranslationMissing};
    *back = reverse->next;
    FreeTransLink(*translations, reverse);
    translations->translation_count -= 1;
    translations->links_changed = 1;
    return {1, msg::kTranslationDeleted};
}

EditOutcome ChangeWord(DB_CONTEXT* db, std::int32_t list, std::string_view old_word,
                       std::string_view new_word) {
    WordList* const words = ListOf(db, list);
    WordNode* const old_node = FindWordQuiet(words, old_word);
    if (old_node == nullptr) return {0, msg::kEditWordMissing};
    if (old_word == new_word) {
        db->result.word = old_node->text;
        return {1, msg::kNothingToChange};
    }
    WordNode* const new_node = InsertWord(words, new_word);
    if (new_node == nullptr) return {0, msg::kMemoryError};
    MoveChain(old_node, new_node, words, OtherList(db, list));
    // The old word has no translation left, so it goes. Its own text serves
    // as the key: the caller's may point into it.
    [[maybe_unused]] const RemoveResult removed =
        RemoveWord(words, std::string_view(old_node->text, old_node->length));
    assert(removed == RemoveResult::kRemoved);
    MarkAllChanged(db);
    db->result.word = new_node->text;
    return {2, msg::kWordChanged};
}

EditOutcome SwapTranslations(DB_CONTEXT* db, std::int32_t list, std::string_view word,
                             std::string_view translation1, std::string_view translation2) {
    const WordList* const words = ListOf(db, list);
    if (words->bucket_index[BucketOf(word)].first == nullptr) return {0, msg::kEditWordMissing};
    WordNode* const w = FindWordQuiet(words, word);
    if (w == nullptr) return {0, msg::kEditWordOutOfRange};
    TransLink* const first = LinkToText(w, translation1);
    if (first == nullptr) return {0, msg::kTrans1Missing};
    if (translation1 == translation2) {
        db->result.word = first->target->text;
        return {1, msg::kSameTranslations};
    }
    TransLink* const second = LinkToText(w, translation2);
    if (second == nullptr) return {0, msg::kTrans2Missing};
    std::swap(first->target, second->target);
    db->changed = 1;
    db->result.word = second->target->text;
    return {2, msg::kTranslationsSwapped};
}

EditOutcome ResortList(DB_CONTEXT* db, std::int32_t list, std::uint32_t locale) {
    WordList* const words = ListOf(db, list);
    if (words->word_count == 0) return {1, msg::kNothingToResort};
    auto** nodes = static_cast<WordNode**>(std::malloc(words->word_count * sizeof(WordNode*)));
    if (nodes == nullptr) return {0, msg::kMemoryError};
    SetProgress(db, 10);
    const auto count = static_cast<std::ptrdiff_t>(words->word_count);
    std::ptrdiff_t n = 0;
    for (WordNode* node = words->head; node != nullptr && n < count; node = node->next) {
        nodes[n++] = node;
    }
    if (n == 0) {  // a count without nodes: nothing to order
        std::free(nodes);
        return {1, msg::kNothingToResort};
    }
    SetProgress(db, 20);
    // The words keep their bytes: a UTF-8 list stays UTF-8, an 8-bit one
    // is read in the code page of its new locale.
    SortNodes(nodes, 0, n - 1, platform::ListCodePage(locale, words->charset), locale);
    words->head = nodes[0];
    words->tail = nodes[n - 1];
    SetProgress(db, 80);
    for (std::ptrdiff_t k = 0; k < n; ++k) {
        nodes[k]->prev = k > 0 ? nodes[k - 1] : nullptr;
        nodes[k]->next = k + 1 < n ? nodes[k + 1] : nullptr;
    }
    SetProgress(db, 90);
    std::free(nodes);

    BuildFoldingTables(words, locale);
    RebuildIndex(words);
    words->scan_first = words->scan_end = nullptr;
    MarkAllChanged(db);
    // A failure keeps the old regex tables beside the re-sorted list.
    if (!BuildRegexTables(words)) return {0, msg::kMemoryError};
    SetProgress(db, 100);
    return {2, msg::kListResorted};
}

}  // namespace lexbase
