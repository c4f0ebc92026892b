#include "engine/formats/pair_build.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include "engine/char_text.h"
#include "engine/malloc_block.h"
#include "engine/messages.h"
#include "engine/result.h"
#include "platform/collation.h"

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

// The fields of one side of a pair: its text, its sort key and, once built,
// its word.
struct Side {
    const char* WordPair::*text;
    std::uint16_t WordPair::*length;
    WordNode* WordPair::*node;
    std::uint32_t WordPair::*key_length;
    std::size_t WordPair::*key_offset;
    std::uint64_t WordPair::*key_head;
};

constexpr Side kPrimarySide = {&WordPair::primary,
                               &WordPair::primary_length,
                               &WordPair::primary_node,
                               &WordPair::primary_key_length,
                               &WordPair::primary_key_offset,
                               &WordPair::primary_key_head};
constexpr Side kSecondarySide = {&WordPair::secondary,
                                 &WordPair::secondary_length,
                                 &WordPair::secondary_node,
                                 &WordPair::secondary_key_length,
                                 &WordPair::secondary_key_offset,
                                 &WordPair::secondary_key_head};

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

// Collation order: by key, then (for texts whose keys tie although their bytes
// differ, such as texts with ignorable characters) by bytes, so that every
// text's pairs lie together; equal texts keep their source order.
struct CollationOrder {
    const std::uint8_t* keys;
    Side side;
    bool operator()(const WordPair* a, const WordPair* b) const {
        const std::uint32_t a_length = a->*side.key_length, b_length = b->*side.key_length;
        const std::size_t a_offset = a->*side.key_offset, b_offset = b->*side.key_offset;
        // Texts that share a key (SortView gives a repeated text the key of
        // the one before it) are equal: only the source order is left. Only a
        // non-empty key has an offset of its own.
        if (a_length != 0 && a_offset == b_offset && a_length == b_length) {
            return a->position < b->position;
        }
        // Heads that differ order as the keys do: a key that ends inside its
        // head is padded with zeros, below any byte of a longer key there.
        const std::uint64_t a_head = a->*side.key_head, b_head = b->*side.key_head;
        if (a_head != b_head) return a_head < b_head;
        int c = CompareBytes(keys + a_offset, a_length, keys + b_offset, b_length);
        if (c == 0) {
            const std::string_view ta = TextOf(*a, side), tb = TextOf(*b, side);
            c = CompareBytes(ta.data(), ta.size(), tb.data(), tb.size());
        }
        if (c != 0) return c < 0;
        return a->position < b->position;
    }
};

// Puts `view` in the collation order of `list` (its locale, its words'
// code page). Each key is computed once and
// lands straight in the key block, so the size and key steps end together. A
// text repeating the one before it (a word with several translations, in most
// files) shares that one's key.
bool SortView(DB_CONTEXT* db, const WordList& list, WordPair** view, std::size_t count,
              const Side& side, std::uint32_t keys_done, std::uint32_t keys_stored) {
    KeyBlock block;
    std::string key;
    const std::uint32_t code_page = CodePageOfList(list);
    for (std::size_t i = 0; i < count; ++i) {
        WordPair* pair = view[i];
        if (i > 0 && TextOf(*view[i - 1], side) == TextOf(*pair, side)) {
            pair->*side.key_offset = view[i - 1]->*side.key_offset;
            pair->*side.key_length = view[i - 1]->*side.key_length;
            pair->*side.key_head = view[i - 1]->*side.key_head;
            continue;
        }
        key.clear();
        platform::AppendSortKeyIn(code_page, list.locale, TextOf(*pair, side), &key);
        if (!block.Append(key, &(pair->*side.key_offset))) return false;
        pair->*side.key_length = static_cast<std::uint32_t>(key.size());
        std::uint64_t head = 0;
        for (std::size_t b = 0; b < 8; ++b) {
            head = head << 8 | (b < key.size() ? static_cast<std::uint8_t>(key[b]) : 0u);
        }
        pair->*side.key_head = head;
    }
    if (keys_done != 0) SetProgress(db, keys_done);
    if (keys_stored != 0) SetProgress(db, keys_stored);
    std::sort(view, view + count, CollationOrder{block.bytes(), side});
    return true;
}

// Sorts both views, the secondary one on a thread of its own while this one
// sorts the primary one. The progress of the secondary sort follows the
// primary one's. With allocations made to fail, which counts them per thread,
// the two go one after the other.
bool SortBothViews(DB_CONTEXT* db, WordPair** primary_view, WordPair** secondary_view,
                   std::size_t count) {
    const auto sort_secondary = [&](std::uint32_t keys_done, std::uint32_t keys_stored) {
        try {
            return SortView(db, db->lists[1], secondary_view, count, kSecondarySide, keys_done,
                            keys_stored);
        } catch (const std::bad_alloc&) {
            return false;  // the sort key of a text could not be computed
        }
    };
    std::thread helper;
    bool secondary_sorted = false;
    if (fail_countdown == 0) {
        try {
            helper = std::thread([&] { secondary_sorted = sort_secondary(0, 0); });
        } catch (const std::system_error&) {
            // no thread to be had: the secondary view is sorted below
        }
    }
    bool primary_sorted = false;
    try {
        primary_sorted = SortView(db, db->lists[0], primary_view, count, kPrimarySide, 28, 30);
    } catch (const std::bad_alloc&) {
        primary_sorted = false;
    }
    if (helper.joinable()) {
        helper.join();
        if (!primary_sorted || !secondary_sorted) return false;
        SetProgress(db, 52);
        SetProgress(db, 60);
        return true;
    }
    return primary_sorted && sort_secondary(52, 60);
}

// Fills `list` with the distinct texts of `view` (sorted) and points every
// pair at its word. Progress `counted` follows the count of the words and
// `allocated`, unless 0, the allocation of the blocks.
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
    SetProgress(db, counted);

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
    for (std::size_t i = 0; i < count; ++i)
        primary_view.get()[i] = secondary_view.get()[i] = &pairs[i];

    if (!SortBothViews(db, primary_view.get(), secondary_view.get(), count)) return false;
    SetProgress(db, 80);

    if (!CreateWords(db, primary, primary_view.get(), count, kPrimarySide, 85, 88)) return false;
    if (!CreateWords(db, secondary, secondary_view.get(), count, kSecondarySide, 89, 0))
        return false;
    SetProgress(db, 92);

    CreateLinks(primary, primary_view.get(), count, kPrimarySide, &WordPair::secondary_node);
    SetProgress(db, 93);
    CreateLinks(secondary, secondary_view.get(), count, kSecondarySide, &WordPair::primary_node);
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
