#include "engine/word_insert.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdint>
#include <cstring>

#include "engine/char_text.h"
#include "engine/word_index.h"

namespace lexbase {
namespace {

std::size_t GroupOf(std::uint8_t first_byte) { return std::size_t{first_byte} * 256; }

// Ordinals are estimates that long runs of edits may push anywhere; they
// saturate instead of overflowing.
std::int32_t Shifted(std::int32_t ordinal, std::int32_t by) {
    const std::int64_t value = std::int64_t{ordinal} + by;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// Whether X sorts after W (CompareStringA answering "greater").
bool SortsAfter(const WordList* list, const WordNode* x, std::string_view word) {
    return CollateWords(*list, {x->text, x->length}, word) > 0;
}

bool SortsBefore(const WordList* list, const WordNode* x, std::string_view word) {
    return CollateWords(*list, {x->text, x->length}, word) < 0;
}

// The entries of the case variants of a word's first two bytes, in the order
// in which a later match overrides an earlier one.
struct CaseVariants {
    std::size_t buckets[4];  // (U0,U1), (L0,U1), (U0,L1), (L0,L1)
    std::size_t groups[2];   // L0, U0
};

CaseVariants VariantsOf(const WordList* list, std::string_view word) {
    const auto w0 = static_cast<std::uint8_t>(word[0]);
    const auto w1 = word.size() > 1 ? static_cast<std::uint8_t>(word[1]) : 0;
    const std::size_t u0 = list->upper_table[w0], l0 = list->lower_table[w0];
    const std::size_t u1 = list->upper_table[w1], l1 = list->lower_table[w1];
    return {{u0 * 256 + u1, l0 * 256 + u1, u0 * 256 + l1, l0 * 256 + l1}, {l0 * 256, u0 * 256}};
}

// Inserts `node` in front of `before`, or after the tail when `before` is null.
void LinkIn(WordList* list, WordNode* node, WordNode* before) {
    if (before == nullptr) {
        node->prev = list->tail;
        node->next = nullptr;
        if (list->tail != nullptr) {
            list->tail->next = node;
        } else {
            list->head = node;
        }
        list->tail = node;
        return;
    }
    node->next = before;
    node->prev = before->prev;
    if (before->prev != nullptr) {
        before->prev->next = node;
    } else {
        list->head = node;
    }
    before->prev = node;
}

// Repairs an index entry after `node` left the list. `prev` and `next` were
// its neighbours; `matches` tells the nodes that belong to the entry.
template <typename Matches>
void MendEntry(Bucket* entry, const WordNode* node, WordNode* prev, WordNode* next,
               Matches matches) {
    if (entry->first == node) {
        WordNode* const end = entry->last == node ? next : entry->last->next.get();
        WordNode* found = nullptr;
        for (WordNode* x = next; x != end && x != nullptr; x = x->next) {
            if (matches(x)) {
                found = x;
                break;
            }
        }
        if (found == nullptr) {
            *entry = Bucket{};
            return;
        }
        entry->first = found;
        entry->first_ordinal = Shifted(entry->first_ordinal, 1);
    }
    if (entry->last == node) {
        WordNode* const end = entry->first->prev;
        WordNode* found = nullptr;
        for (WordNode* x = prev; x != end && x != nullptr; x = x->prev) {
            if (matches(x)) {
                found = x;
                break;
            }
        }
        // `first` itself matches and lies before the node, so the walk finds
        // one; falling back to it keeps a damaged entry usable.
        entry->last = found != nullptr ? found : entry->first;
        entry->last_ordinal = Shifted(entry->last_ordinal, -1);
    }
}

}  // namespace

namespace {

// Where a new word goes among the entries of its bucket and group. `ahead`
// counts how far the new node lands in front of the entries' first nodes (1:
// the bucket's, 2: the group's too), `behind` how far behind their last
// nodes; an empty entry starts counted. The *_at values hold the ordinals,
// taken from the entries the walks pass, that the new ones follow from.
struct Placement {
    WordNode* before = nullptr;  // the node the word goes in front of; null: the end
    WordNode* first_of_entry = nullptr;
    int ahead = 0;
    int behind = 0;
    std::int32_t bucket_first_at = 0, group_first_at = 0;
    std::int32_t bucket_last_at = 0, group_last_at = 0;
};

// Takes the ordinal of whichever of the `entries` has `node` at its `end`.
template <std::size_t N>
void TakeOrdinalAt(const WordList* list, const std::size_t (&entries)[N], const WordNode* node,
                   WordNode* Bucket::*end, std::int32_t Bucket::*ordinal, std::int32_t* at) {
    for (std::size_t e : entries) {
        if (list->bucket_index[e].*end == node) *at = list->bucket_index[e].*ordinal;
    }
}

// Forward walk to the first node that sorts after the word. Running off the
// end is one more step, with the tail as the node passed, so that a word
// going after the tail still extends the entries it passes.
void WalkForward(const WordList* list, std::string_view word, const Bucket& bucket,
                 const Bucket& group, const CaseVariants& variants, Placement* at) {
    WordNode* x = at->before;
    for (;;) {
        WordNode* const p = x != nullptr ? x->prev.get() : list->tail;
        if (p != nullptr) {
            if (p == bucket.last) ++at->behind;
            if (p == group.last) ++at->behind;
            TakeOrdinalAt(list, variants.buckets, p, &Bucket::last, &Bucket::last_ordinal,
                          &at->bucket_last_at);
            TakeOrdinalAt(list, variants.groups, p, &Bucket::last, &Bucket::last_ordinal,
                          &at->group_last_at);
        }
        if (x == nullptr || SortsAfter(list, x, word)) break;
        x = x->next;
    }
    at->before = x;
}

// Collation may put the word in front of the first node of its own prefix:
// walk back until the node in front sorts before it. The group test comes
// first so that landing at the head also counts the group's first node.
void WalkBack(const WordList* list, std::string_view word, const Bucket& group,
              const CaseVariants& variants, Placement* at) {
    WordNode* x = at->before;
    if (x == nullptr || x != at->first_of_entry) return;
    ++at->ahead;
    for (;;) {
        if (x == group.first) ++at->ahead;
        WordNode* const p = x->prev;
        if (p == nullptr) break;
        TakeOrdinalAt(list, variants.buckets, p, &Bucket::first, &Bucket::first_ordinal,
                      &at->bucket_first_at);
        TakeOrdinalAt(list, variants.groups, p, &Bucket::first, &Bucket::first_ordinal,
                      &at->group_first_at);
        if (SortsBefore(list, p, word)) break;
        x = p;
    }
    at->before = x;
}

// Makes the new node an end of the entries it landed in front of or behind.
// For a one-byte word bucket and group are one entry; the group's values,
// written last, stay.
void ExtendEntries(WordNode* node, const Placement& at, Bucket* bucket, Bucket* group) {
    if (at.ahead > 0) {
        bucket->first = node;
        bucket->first_ordinal = Shifted(at.bucket_first_at, -1);
    }
    if (at.ahead > 1) {
        group->first = node;
        group->first_ordinal = Shifted(at.group_first_at, -1);
    }
    if (at.behind > 0) {
        bucket->last = node;
        bucket->last_ordinal = Shifted(at.bucket_last_at, 1);
    }
    if (at.behind > 1) {
        group->last = node;
        group->last_ordinal = Shifted(at.group_last_at, 1);
    }
}

}  // namespace

WordNode* InsertWord(WordList* list, std::string_view word, bool* inserted) {
    if (inserted != nullptr) *inserted = false;
    // Callers check the text; one that cannot be stored is refused like a
    // failed allocation rather than cut.
    assert(!word.empty() && word.size() <= kMaxWordBytes);
    if (word.empty() || word.size() > kMaxWordBytes) return nullptr;
    if (WordNode* found = FindWordQuiet(list, word)) return found;

    WordNode* const node = NewWordNode(word);
    if (node == nullptr) return nullptr;

    Bucket& bucket = list->bucket_index[BucketOf(word)];
    Bucket& group = list->bucket_index[GroupOf(static_cast<std::uint8_t>(word[0]))];
    const CaseVariants variants = VariantsOf(list, word);

    // The walk starts at the nearest entry that has words.
    Placement at;
    if (bucket.first != nullptr) {
        at.before = at.first_of_entry = bucket.first;
    } else if (group.first != nullptr) {
        at.before = at.first_of_entry = group.first;
        at.ahead = at.behind = 1;
    } else {
        at.before = list->head;
        at.ahead = at.behind = 2;
    }
    at.bucket_first_at = bucket.first_ordinal;
    at.group_first_at = group.first_ordinal;
    at.bucket_last_at = bucket.last_ordinal;
    at.group_last_at = group.last_ordinal;
    WalkForward(list, word, bucket, group, variants, &at);
    WalkBack(list, word, group, variants, &at);

    LinkIn(list, node, at.before);
    IndexInsertedWord(list, node);
    list->word_count += 1;
    list->text_bytes += static_cast<std::uint32_t>(word.size() + 1);
    list->texts_moved = 1;
    list->nodes_moved = 1;
    ExtendEntries(node, at, &bucket, &group);
    if (inserted != nullptr) *inserted = true;
    return node;
}

RemoveResult RemoveWord(WordList* list, std::string_view word) {
    if (list->word_count == 0) return RemoveResult::kListEmpty;
    if (word.empty()) return RemoveResult::kNotFound;
    WordNode* const node = FindWordQuiet(list, word);
    if (node == nullptr) return RemoveResult::kNotFound;
    if (node->links != nullptr) return RemoveResult::kHasTranslations;

    // `word` may be the node's own text, which goes below: keep what is needed.
    const auto w0 = static_cast<std::uint8_t>(word[0]);
    const auto w1 = word.size() > 1 ? static_cast<std::uint8_t>(word[1]) : std::uint8_t{0};
    const bool two_bytes = word.size() > 1;

    IndexRemovedWord(list, node);
    list->word_count -= 1;
    list->text_bytes -= node->length + 1u;
    list->texts_moved = 1;
    list->nodes_moved = 1;
    if (list->word_count == 0) {
        // The node is still linked, so emptying the list frees it too.
        EmptyList(list);
        return RemoveResult::kRemoved;
    }

    WordNode* const prev = node->prev;
    WordNode* const next = node->next;
    if (prev != nullptr) {
        prev->next = next;
    } else {
        list->head = next;
    }
    if (next != nullptr) {
        next->prev = prev;
    } else {
        list->tail = prev;
    }

    if (two_bytes) {
        MendEntry(&list->bucket_index[std::size_t{w0} * 256 + w1], node, prev, next,
                  [w0, w1](const WordNode* n) {
                      return n->length > 1 && static_cast<std::uint8_t>(n->text[0]) == w0 &&
                             static_cast<std::uint8_t>(n->text[1]) == w1;
                  });
    }
    MendEntry(&list->bucket_index[GroupOf(w0)], node, prev, next,
              [w0](const WordNode* n) { return static_cast<std::uint8_t>(n->text[0]) == w0; });

    // The last lookup's range must not keep pointing at the freed node.
    if (list->scan_first == node || list->scan_end == node) {
        list->scan_first = nullptr;
        list->scan_end = nullptr;
    }
    FreeWordNode(node);
    return RemoveResult::kRemoved;
}

}  // namespace lexbase
