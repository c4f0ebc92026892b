#include "engine/word_index.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/char_text.h"
#include "engine/prefix_table.h"
#include "platform/char_fold.h"
#include "platform/code_page.h"
#include "platform/collation.h"

namespace lexbase {

struct WordIndex {
    std::uint32_t mask;      // slots - 1
    std::uint32_t used;      // entries handed out, removed ones included
    std::uint32_t capacity;  // entries there is room for
    bool ordered;            // every chain in list order
    bool serves_lower;       // the lower table equates no bytes the hash tells apart
    bool serves_accent_free;
    // A list compared by character hashes its folded characters instead of
    // its bytes (see SlotOf); every fold of such a list is served.
    bool by_char;
    std::uint32_t code_page;
    std::uint32_t* heads;  // per slot: first entry + 1, 0 for none
    std::uint32_t* next;   // per entry: next entry of the chain + 1
    Ref<WordNode>* nodes;  // per entry: its node
};

namespace {

std::uint32_t HashOf(const std::uint8_t* fold, const char* text, std::size_t length) {
    std::uint64_t h = 0xCBF29CE484222325u;
    for (std::size_t i = 0; i < length; ++i) {
        h = (h ^ fold[static_cast<std::uint8_t>(text[i])]) * 0x100000001B3u;
    }
    return static_cast<std::uint32_t>(h ^ h >> 32);
}

// Whether bytes equal under `table` are always equal under `coarse`.
bool Refines(const std::uint8_t* table, const std::uint8_t* coarse) {
    int seen[256];
    std::fill(seen, seen + 256, -1);
    for (int c = 0; c < 256; ++c) {
        int& first = seen[table[c]];
        if (first < 0) {
            first = coarse[c];
        } else if (first != coarse[c]) {
            return false;
        }
    }
    return true;
}

void FreeIndex(WordIndex* index) {
    if (index == nullptr) return;
    std::free(index->heads);
    std::free(index->next);
    std::free(index->nodes);
    std::free(index);
}

// The hash of a text's characters without case and accents, the coarsest
// fold of a list compared by character.
std::uint32_t HashOfChars(std::uint32_t code_page, const char* text, std::size_t length) {
    constexpr std::uint32_t kCoarsest = platform::kNormIgnoreCase | platform::kNormIgnoreNonSpace;
    std::uint64_t h = 0xCBF29CE484222325u;
    const auto mix = [&h](char32_t ch) {
        h = (h ^ platform::FoldChar(ch, kCoarsest)) * 0x100000001B3u;
    };
    if (code_page == platform::kUtf8CodePage) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
        const auto n = static_cast<std::int32_t>(length);
        for (std::int32_t i = 0; i < n;) {
            UChar32 ch;
            U8_NEXT(bytes, i, n, ch);
            mix(ch < 0 ? char32_t{0xFFFD} : static_cast<char32_t>(ch));
        }
    } else {
        std::u32string chars;
        platform::DecodeToCodePoints(code_page, std::string_view(text, length), &chars);
        for (const char32_t ch : chars) mix(ch);
    }
    return static_cast<std::uint32_t>(h ^ h >> 32);
}

std::uint32_t SlotOf(const WordList& list, const WordIndex& index, const char* text,
                     std::size_t length) {
    if (index.by_char) return HashOfChars(index.code_page, text, length) & index.mask;
    return HashOf(list.accent_free_upper_table, text, length) & index.mask;
}

bool Build(WordList* list) {
    std::uint32_t slots = 16;
    while (slots < list->word_count && slots < (1u << 31)) slots <<= 1;
    // Room for as many insertions again as the list holds words, at least some.
    const std::uint32_t capacity =
        list->word_count < (1u << 30) ? list->word_count + list->word_count / 2 + 16 : 0;
    if (capacity == 0) return false;
    auto* index = static_cast<WordIndex*>(std::calloc(1, sizeof(WordIndex)));
    if (index == nullptr) return false;
    index->heads = static_cast<std::uint32_t*>(std::calloc(slots, sizeof(std::uint32_t)));
    index->next = static_cast<std::uint32_t*>(std::malloc(capacity * sizeof(std::uint32_t)));
    index->nodes = static_cast<Ref<WordNode>*>(std::malloc(capacity * sizeof(Ref<WordNode>)));
    if (index->heads == nullptr || index->next == nullptr || index->nodes == nullptr) {
        FreeIndex(index);
        return false;
    }
    index->mask = slots - 1;
    index->capacity = capacity;
    index->ordered = true;
    index->serves_lower = Refines(list->lower_table, list->accent_free_upper_table);
    index->serves_accent_free = Refines(list->accent_free_table, list->accent_free_upper_table);
    index->by_char = ComparesByChar(*list);
    index->code_page = CodePageOfList(*list);
    // From the tail, each word going in front of its chain: chains end up in
    // list order.
    for (WordNode* node = list->tail; node != nullptr; node = node->prev) {
        if (index->used == capacity) {  // more nodes than the count says: damaged
            FreeIndex(index);
            return false;
        }
        const std::uint32_t e = index->used++;
        const std::uint32_t slot = SlotOf(*list, *index, node->text, node->length);
        index->nodes[e] = node;
        index->next[e] = index->heads[slot];
        index->heads[slot] = e + 1;
    }
    list->word_index = index;
    return true;
}

}  // namespace

WordNode* WordCandidates::Next() {
    while (entry_ != 0) {
        const std::uint32_t e = entry_ - 1;
        entry_ = index_->next[e];
        if (index_->nodes[e] != nullptr) return index_->nodes[e];
    }
    return nullptr;
}

bool FindCandidates(WordList* list, const std::uint8_t* table, bool exact, std::string_view word,
                    WordCandidates* candidates) {
    if (list->word_index == nullptr) {
        if (++list->lookups_without_index < kLookupsBeforeIndex || !Build(list)) return false;
    }
    const WordIndex* index = list->word_index;
    // A list whose encoding changed under its index (a new locale without a
    // re-sort) searches without it.
    if (index->by_char != ComparesByChar(*list)) return false;
    if (!exact && index->by_char) {
        if (!index->ordered) return false;
    } else if (!exact) {
        if (!index->ordered) return false;
        if (table == list->lower_table) {
            if (!index->serves_lower) return false;
        } else if (table == list->accent_free_table) {
            if (!index->serves_accent_free) return false;
        } else if (table != list->accent_free_upper_table) {
            return false;
        }
    }
    candidates->index_ = index;
    candidates->entry_ = index->heads[SlotOf(*list, *index, word.data(), word.size())];
    return true;
}

void IndexInsertedWord(WordList* list, WordNode* node) {
    WordIndex* index = list->word_index;
    if (index == nullptr) return;
    // A full index goes; the next look-up builds a larger one.
    if (index->used == index->capacity) {
        DropWordIndex(list);
        return;
    }
    const std::uint32_t e = index->used++;
    const std::uint32_t slot = SlotOf(*list, *index, node->text, node->length);
    index->nodes[e] = node;
    index->next[e] = index->heads[slot];
    index->heads[slot] = e + 1;
    index->ordered = false;
}

void IndexRemovedWord(WordList* list, const WordNode* node) {
    WordIndex* index = list->word_index;
    if (index == nullptr) return;
    std::uint32_t* place = &index->heads[SlotOf(*list, *index, node->text, node->length)];
    while (*place != 0) {
        const std::uint32_t e = *place - 1;
        if (index->nodes[e] == node) {
            *place = index->next[e];
            index->nodes[e] = nullptr;
            return;
        }
        place = &index->next[e];
    }
    // Not found: the index does not know the list; let it be built again.
    DropWordIndex(list);
}

void DropWordIndex(WordList* list) {
    DropPrefixTables(list);  // what drops the one outdates the other
    FreeIndex(list->word_index);
    list->word_index = nullptr;
    list->lookups_without_index = 0;
}

}  // namespace lexbase
