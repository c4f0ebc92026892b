#include "engine/formats/pair_build.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "engine/char_text.h"
#include "engine/malloc_block.h"
#include "engine/messages.h"
#include "engine/result.h"
#include "platform/collation.h"
#include "platform/side_by_side.h"

namespace lexbase {

PairArray::~PairArray() { std::free(pairs_); }

bool PairArray::Reserve(std::size_t capacity) {
    std::free(pairs_);
    pairs_ = nullptr;
    size_ = capacity_ = 0;
    // Positions are int32 and the lists count links in 32 bits.
    if (capacity > static_cast<std::size_t>(INT32_MAX)) return false;
    if (capacity == 0) return true;
    pairs_ = static_cast<WordPair*>(std::malloc(capacity * sizeof(WordPair)));
    if (pairs_ == nullptr) return false;
    capacity_ = capacity;
    return true;
}

bool PairArray::Add(std::string_view primary, std::string_view secondary) {
    const auto usable = [](std::string_view text) {
        return !text.empty() && text.size() <= kMaxWordBytes &&
               std::memchr(text.data(), '\0', text.size()) == nullptr;
    };
    if (size_ == capacity_ || !usable(primary) || !usable(secondary)) return false;
    WordPair& pair = pairs_[size_];
    pair = WordPair{};
    pair.primary = primary.data();
    pair.secondary = secondary.data();
    pair.primary_length = static_cast<std::uint16_t>(primary.size());
    pair.secondary_length = static_cast<std::uint16_t>(secondary.size());
    pair.position = static_cast<std::int32_t>(size_);
    ++size_;
    return true;
}

namespace {

thread_local int fail_countdown = 0;

// Every allocation of the build goes through here, so a test can fail any one.
void* Allocate(std::size_t size) {
    if (fail_countdown > 0 && --fail_countdown == 0) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

// The same from the arena, for the node and link blocks.
void* AllocateInArena(std::size_t size) {
    if (fail_countdown > 0 && --fail_countdown == 0) return nullptr;
    return arena::AllocateBlock(size);
}

void* Reallocate(void* block, std::size_t size) {
    if (fail_countdown > 0 && --fail_countdown == 0) return nullptr;
    return std::realloc(block, size);
}

// The fields of one side of a pair: its text and, once built, its word.
struct Side {
    const char* WordPair::*text;
    std::uint16_t WordPair::*length;
    WordNode* WordPair::*node;
};

constexpr Side kPrimarySide = {&WordPair::primary, &WordPair::primary_length,
                               &WordPair::primary_node};
constexpr Side kSecondarySide = {&WordPair::secondary, &WordPair::secondary_length,
                                 &WordPair::secondary_node};

std::string_view TextOf(const WordPair& pair, const Side& side) {
    return {pair.*side.text, pair.*side.length};
}

// Byte order of unsigned bytes; a text that is the start of another comes first.
int CompareBytes(const void* a, std::size_t a_length, const void* b, std::size_t b_length) {
    const std::size_t common = std::min(a_length, b_length);
    if (common > 0) {
        if (const int c = std::memcmp(a, b, common); c != 0) return c;
    }
    return a_length < b_length ? -1 : a_length > b_length ? 1 : 0;
}

// The collation keys of one list, back to back in one growing block.
class KeyBlock {
public:
    KeyBlock() = default;
    ~KeyBlock() { std::free(bytes_); }
    KeyBlock(const KeyBlock&) = delete;
    KeyBlock& operator=(const KeyBlock&) = delete;

    bool Append(const std::string& key, std::size_t* offset) {
        if (key.size() > capacity_ - size_) {
            std::size_t room = std::max<std::size_t>(capacity_ * 2, 1 << 16);
            while (room - size_ < key.size()) room *= 2;
            void* grown = Reallocate(bytes_, room);
            if (grown == nullptr) return false;
            bytes_ = static_cast<std::uint8_t*>(grown);
            capacity_ = room;
        }
        if (!key.empty()) std::memcpy(bytes_ + size_, key.data(), key.size());
        *offset = size_;
        size_ += key.size();
        return true;
    }
    const std::uint8_t* bytes() const { return bytes_; }

private:
    std::uint8_t* bytes_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// One distinct text of a side, with its collation key.
struct SortText {
    // The first eight bytes of the key, big-endian and padded with zeros,
    // which settle most comparisons without reading the key block.
    std::uint64_t key_head;
    std::size_t key_offset;
    std::uint32_t key_length;
    std::uint32_t id;  // number of the text in the order the pairs first name it
    const char* text;
    std::size_t length;
};

// Collation order of distinct texts: by key, then (for texts whose keys tie
// although their bytes differ, such as texts with ignorable characters) by
// bytes.
struct CollationOrder {
    const std::uint8_t* keys;
    bool operator()(const SortText& a, const SortText& b) const {
        // Heads that differ order as the keys do: a key that ends inside its
        // head is padded with zeros, below any byte of a longer key there.
        if (a.key_head != b.key_head) return a.key_head < b.key_head;
        const int c =
            CompareBytes(keys + a.key_offset, a.key_length, keys + b.key_offset, b.key_length);
        if (c != 0) return c < 0;
        return CompareBytes(a.text, a.length, b.text, b.length) < 0;
    }
};

// Numbers the distinct texts of one side: ids[i] is the number of pair i's
// text, texts[n] describes text n. Returns how many there are, or 0 when
// memory ran out.
std::size_t NumberTexts(const WordPair* pairs, std::size_t count, const Side& side,
                        std::uint32_t* ids, SortText* texts) {
    std::size_t capacity = 16;
    while (capacity < 2 * count) capacity *= 2;
    // A slot holds the upper half of a text's hash and its number + 1; 0 is free.
    MallocBlock<std::uint64_t> slots(
        static_cast<std::uint64_t*>(Allocate(capacity * sizeof(std::uint64_t))));
    if (slots == nullptr) return 0;
    std::memset(slots.get(), 0, capacity * sizeof(std::uint64_t));
    const std::size_t mask = capacity - 1;
    std::size_t distinct = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view text = TextOf(pairs[i], side);
        // Most files give a word's pairs one after another.
        if (i > 0 && TextOf(pairs[i - 1], side) == text) {
            ids[i] = ids[i - 1];
            continue;
        }
        const std::uint64_t hash = std::hash<std::string_view>{}(text);
        const std::uint64_t tag = hash >> 32 << 32;
        std::size_t slot = hash & mask;
        for (;; slot = (slot + 1) & mask) {
            const std::uint64_t entry = slots.get()[slot];
            if (entry == 0) break;
            const SortText& known = texts[(entry & 0xFFFFFFFFu) - 1];
            if ((entry & ~std::uint64_t{0xFFFFFFFFu}) == tag &&
                std::string_view(known.text, known.length) == text) {
                break;
            }
        }
        if (slots.get()[slot] != 0) {
            ids[i] = static_cast<std::uint32_t>((slots.get()[slot] & 0xFFFFFFFFu) - 1);
            continue;
        }
        texts[distinct] =
            SortText{0, 0, 0, static_cast<std::uint32_t>(distinct), text.data(), text.size()};
        slots.get()[slot] = tag | (distinct + 1);
        ids[i] = static_cast<std::uint32_t>(distinct++);
    }
    return distinct;
}

// Puts the pairs into `view` in the collation order of `list` (its locale,
// its words' code page), the pairs of one text in their order. Each distinct
// text gets its key once, straight into the key block, so the size and key
// steps end together; only the distinct texts are sorted, and the pairs then
// take their places by counting.
bool SortView(DB_CONTEXT* db, const WordList& list, WordPair* pairs, WordPair** view,
              std::size_t count, const Side& side, std::uint32_t keys_done,
              std::uint32_t keys_stored) {
    MallocBlock<std::uint32_t> ids(
        static_cast<std::uint32_t*>(Allocate(count * sizeof(std::uint32_t))));
    MallocBlock<SortText> texts(static_cast<SortText*>(Allocate(count * sizeof(SortText))));
    if (ids == nullptr || texts == nullptr) return false;
    const std::size_t distinct = NumberTexts(pairs, count, side, ids.get(), texts.get());
    if (distinct == 0) return false;

    KeyBlock block;
    std::string key;
    const std::uint32_t code_page = CodePageOfList(list);
    for (std::size_t t = 0; t < distinct; ++t) {
        SortText& text = texts.get()[t];
        key.clear();
        platform::AppendSortKeyIn(code_page, list.locale, {text.text, text.length}, &key);
        if (!block.Append(key, &text.key_offset)) return false;
        text.key_length = static_cast<std::uint32_t>(key.size());
        std::uint64_t head = 0;
        for (std::size_t b = 0; b < 8; ++b) {
            head = head << 8 | (b < key.size() ? static_cast<std::uint8_t>(key[b]) : 0u);
        }
        text.key_head = head;
    }
    if (keys_done != 0) SetProgress(db, keys_done);
    if (keys_stored != 0) SetProgress(db, keys_stored);
    std::sort(texts.get(), texts.get() + distinct, CollationOrder{block.bytes()});

    // first[id]: where the pairs of text `id` begin in the view.
    MallocBlock<std::uint32_t> first(
        static_cast<std::uint32_t*>(Allocate(distinct * sizeof(std::uint32_t))));
    if (first == nullptr) return false;
    std::memset(first.get(), 0, distinct * sizeof(std::uint32_t));
    for (std::size_t i = 0; i < count; ++i) ++first.get()[ids.get()[i]];
    std::uint32_t next = 0;
    for (std::size_t t = 0; t < distinct; ++t) {
        const std::uint32_t id = texts.get()[t].id;
        const std::uint32_t pairs_of_text = first.get()[id];
        first.get()[id] = next;
        next += pairs_of_text;
    }
    for (std::size_t i = 0; i < count; ++i) view[first.get()[ids.get()[i]]++] = &pairs[i];
    return true;
}

// Runs the work of the two lists side by side, the secondary list's on a
// thread of its own. With allocations made to fail, which counts them per
// thread, one after the other.
void OnBothLists(const std::function<void()>& primary_work,
                 const std::function<void()>& secondary_work) {
    if (fail_countdown != 0) {
        primary_work();
        secondary_work();
        return;
    }
    platform::SideBySide(primary_work, secondary_work);
}

// Sorts both views. The progress of the secondary sort follows the primary
// one's.
bool SortBothViews(DB_CONTEXT* db, WordPair* pairs, WordPair** primary_view,
                   WordPair** secondary_view, std::size_t count) {
    const auto sort = [&](int list, WordPair** view, const Side& side, std::uint32_t keys_done,
                          std::uint32_t keys_stored) {
        try {
            return SortView(db, db->lists[list], pairs, view, count, side, keys_done, keys_stored);
        } catch (const std::bad_alloc&) {
            return false;  // the sort key of a text could not be computed
        }
    };
    bool sorted[2] = {false, false};
    OnBothLists([&] { sorted[0] = sort(0, primary_view, kPrimarySide, 28, 30); },
                [&] { sorted[1] = sort(1, secondary_view, kSecondarySide, 0, 0); });
    if (!sorted[0] || !sorted[1]) return false;
    SetProgress(db, 52);
    SetProgress(db, 60);
    return true;
}

// Fills `list` with the distinct texts of `view` (sorted) and points every
// pair at its word. Progress `counted` follows the count of the words and
// `allocated` the allocation of the blocks, each unless 0.
bool CreateWords(DB_CONTEXT* db, WordList* list, WordPair* const* view, std::size_t count,
                 const Side& side, std::uint32_t counted, std::uint32_t allocated) {
    std::size_t words = 0;
    std::uint64_t text_bytes = 0;
    const WordPair* last = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        if (last == nullptr || TextOf(*last, side) != TextOf(*view[i], side)) {
            ++words;
            text_bytes += std::uint64_t{view[i]->*side.length} + 1;
            last = view[i];
        }
    }
    if (text_bytes > UINT32_MAX) return false;  // the list counts its bytes in 32 bits
    if (counted != 0) SetProgress(db, counted);

    list->text_block = static_cast<char*>(Allocate(text_bytes));
    if (list->text_block == nullptr) return false;
    list->node_block = static_cast<WordNode*>(AllocateInArena(words * sizeof(WordNode)));
    if (list->node_block == nullptr) return false;
    list->node_block_count = static_cast<std::uint32_t>(words);
    list->link_block = static_cast<TransLink*>(AllocateInArena(count * sizeof(TransLink)));
    if (list->link_block == nullptr) return false;
    list->link_block_count = static_cast<std::uint32_t>(count);
    if (allocated != 0) SetProgress(db, allocated);

    char* free_text = list->text_block;
    WordNode* current = nullptr;
    std::size_t made = 0;
    for (std::size_t i = 0; i < count; ++i) {
        WordPair* pair = view[i];
        const std::string_view text = TextOf(*pair, side);
        if (current == nullptr || std::string_view(current->text, current->length) != text) {
            std::memcpy(free_text, text.data(), text.size());
            free_text[text.size()] = '\0';
            WordNode* node = &list->node_block[made++];
            *node = WordNode{
                static_cast<std::uint16_t>(text.size()), 0, current, free_text, nullptr, nullptr};
            if (current != nullptr) current->next = node;
            current = node;
            free_text += text.size() + 1;
        }
        pair->*side.node = current;
    }
    assert(made == words);
    list->head = &list->node_block[0];
    list->tail = &list->node_block[words - 1];
    list->word_count = static_cast<std::uint32_t>(words);
    list->text_bytes = static_cast<std::uint32_t>(text_bytes);
    return true;
}

// Hangs one link per pair from the pair's word on this side, in view order,
// pointing at its word on the other side.
void CreateLinks(WordList* list, WordPair* const* view, std::size_t count, const Side& side,
                 WordNode* WordPair::*target) {
    for (std::size_t l = 0; l < count; ++l) {
        TransLink* link = &list->link_block[l];
        *link = TransLink{nullptr, view[l]->*target};
        WordNode* owner = view[l]->*side.node;
        if (l == 0 || owner != view[l - 1]->*side.node) {
            owner->links = link;
        } else {
            list->link_block[l - 1].next = link;
        }
    }
    list->translation_count = static_cast<std::uint32_t>(count);
}

bool Build(DB_CONTEXT* db, WordPair* pairs, std::size_t count) {
    WordList* primary = &db->lists[0];
    WordList* secondary = &db->lists[1];
    const std::size_t view_bytes = count * sizeof(WordPair*);
    MallocBlock<WordPair*> primary_view(static_cast<WordPair**>(Allocate(view_bytes)));
    MallocBlock<WordPair*> secondary_view(static_cast<WordPair**>(Allocate(view_bytes)));
    if (primary_view == nullptr || secondary_view == nullptr) return false;
    if (!SortBothViews(db, pairs, primary_view.get(), secondary_view.get(), count)) return false;
    SetProgress(db, 80);

    // The lists are made side by side: each writes its own blocks and its own
    // field of every pair.
    bool made[2] = {false, false};
    OnBothLists(
        [&] {
            made[0] = CreateWords(db, primary, primary_view.get(), count, kPrimarySide, 85, 88);
        },
        [&] {
            made[1] = CreateWords(db, secondary, secondary_view.get(), count, kSecondarySide, 0, 0);
        });
    if (!made[0] || !made[1]) return false;
    SetProgress(db, 89);
    SetProgress(db, 92);

    OnBothLists(
        [&] {
            CreateLinks(primary, primary_view.get(), count, kPrimarySide,
                        &WordPair::secondary_node);
        },
        [&] {
            CreateLinks(secondary, secondary_view.get(), count, kSecondarySide,
                        &WordPair::primary_node);
        });
    SetProgress(db, 93);
    SetProgress(db, 94);
    primary_view.reset();
    secondary_view.reset();

    BuildFoldingTables(primary, primary->locale);
    BuildFoldingTables(secondary, secondary->locale);
    RebuildIndex(primary);
    RebuildIndex(secondary);
    SetProgress(db, 96);
    if (!BuildRegexTables(primary) || !BuildRegexTables(secondary)) return false;
    SetProgress(db, 97);
    return true;
}

}  // namespace

bool BuildFromPairs(DB_CONTEXT* db, WordPair* pairs, std::size_t count) {
    assert(count > 0 && count <= static_cast<std::size_t>(INT32_MAX));
    assert(db->lists[0].head == nullptr && db->lists[1].head == nullptr);
    bool built = false;
    try {
        built = Build(db, pairs, count);
    } catch (const std::bad_alloc&) {
        built = false;  // the sort key of a text could not be computed
    }
    if (built) return true;
    FreeListContents(&db->lists[0]);
    FreeListContents(&db->lists[1]);
    CopyField(db->message, sizeof db->message, msg::kMemoryErrorSpaced);
    return false;
}

void FailBuildAllocationForTesting(int n) { fail_countdown = n; }

}  // namespace lexbase
