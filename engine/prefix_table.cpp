#include "engine/prefix_table.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "engine/char_text.h"
#include "engine/search_range.h"

namespace lexbase {

namespace {

constexpr int kFolds = 4;
constexpr std::size_t kShortest = 2;  // characters of the shortest key served
constexpr std::size_t kLongest = 4;   // characters hashed at most

// One table: per word with enough characters, the key of its first ones,
// and its number in the node block, sorted by key and then by number.
struct Table {
    std::uint64_t* keys = nullptr;
    std::uint32_t* numbers = nullptr;
    std::uint32_t size = 0;
    bool exact = false;               // a key tells the characters themselves
    std::uint32_t lists_without = 0;  // prefix lists that went without it
};

}  // namespace

struct PrefixTables {
    const WordNode* nodes;  // the node block the tables number
    std::uint32_t count;    // its words
    // The list's locale and charset, which choose how it compares: a new
    // locale may make a list compare by character.
    std::uint32_t locale;
    std::uint32_t charset;
    Table tables[kFolds][kLongest - kShortest + 1];
};

namespace {

// How the words of a list compare under a fold: by folded characters, or by
// bytes through the comparison table.
class Units {
public:
    Units(const WordList& list, Fold fold)
        : by_char_(ComparesByChar(list))
        , char_fold_(list, fold)
        , table_(ComparisonTable(list, fold)) {}

    // The first `count` units of `text`, as the prefix test compares them;
    // returns how many there were.
    std::size_t Of(std::string_view text, std::size_t count, char32_t* out) const {
        if (by_char_) return char_fold_.FoldedPrefix(text, count, out);
        const std::size_t n = std::min(count, text.size());
        for (std::size_t i = 0; i < n; ++i) out[i] = table_[static_cast<std::uint8_t>(text[i])];
        return n;
    }

    // The same of a key: a list compared by character folds the key whole,
    // as its prefix lists do.
    std::size_t OfKey(std::string_view key, std::size_t count, char32_t* out) const {
        if (!by_char_) return Of(key, count, out);
        std::u32string chars;
        char_fold_.Apply(key, &chars);
        const std::size_t n = std::min(count, chars.size());
        std::copy_n(chars.begin(), n, out);
        return n;
    }

private:
    bool by_char_;
    CharFold char_fold_;
    const std::uint8_t* table_;
};

// The key of two to four units: the units themselves, 21 bits each for two
// or three (any code point), 16 bits each for four (*exact cleared when one
// does not fit, which leaves two beginnings sharing a key now and then).
std::uint64_t KeyOf(const char32_t* units, std::size_t count, bool* exact) {
    std::uint64_t key = 0;
    const int bits = count <= 3 ? 21 : 16;
    const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (units[i] > mask) *exact = false;
        key = key << bits | (units[i] & mask);
    }
    return key;
}

void FreeTables(PrefixTables* tables) {
    if (tables == nullptr) return;
    for (auto& per_fold : tables->tables) {
        for (Table& table : per_fold) {
            std::free(table.keys);
            std::free(table.numbers);
        }
    }
    delete tables;
}

// Whether the list's words are still its node block in list order.
bool NodesInPlace(const WordList& list) {
    return !list.nodes_moved && !list.texts_moved && list.node_block != nullptr &&
           list.word_count > 0 && list.word_count == list.node_block_count;
}

bool Build(const WordList& list, const Units& units, std::size_t length, Table* table) {
    struct Entry {
        std::uint64_t key;
        std::uint32_t number;
        bool operator<(const Entry& other) const {
            return key != other.key ? key < other.key : number < other.number;
        }
    };
    const std::size_t count = list.word_count;
    std::unique_ptr<Entry[]> entries(new (std::nothrow) Entry[count]);
    if (entries == nullptr) return false;
    std::uint32_t size = 0;
    bool exact = true;
    char32_t first[kLongest];
    for (std::uint32_t i = 0; i < count; ++i) {
        const WordNode& node = list.node_block[i];
        // A word shorter than the key can't begin with it.
        if (units.Of({node.text, node.length}, length, first) < length) continue;
        entries.get()[size++] = Entry{KeyOf(first, length, &exact), i};
    }
    std::sort(entries.get(), entries.get() + size);
    auto* keys =
        static_cast<std::uint64_t*>(std::malloc((std::size_t{size} + 1) * sizeof(std::uint64_t)));
    auto* numbers =
        static_cast<std::uint32_t*>(std::malloc((std::size_t{size} + 1) * sizeof(std::uint32_t)));
    if (keys == nullptr || numbers == nullptr) {
        std::free(keys);
        std::free(numbers);
        return false;
    }
    for (std::uint32_t i = 0; i < size; ++i) {
        keys[i] = entries.get()[i].key;
        numbers[i] = entries.get()[i].number;
    }
    *table = Table{keys, numbers, size, exact, table->lists_without};
    return true;
}

}  // namespace

bool FindPrefixCandidates(WordList* list, Fold fold, std::string_view key,
                          PrefixCandidates* candidates) {
    if (key.size() < kShortest || !NodesInPlace(*list)) return false;
    const Units units(*list, fold);
    char32_t first[kLongest + 1];
    const std::size_t key_length = units.OfKey(key, kLongest + 1, first);
    if (key_length < kShortest) return false;
    const std::size_t length = std::min(key_length, kLongest);
    PrefixTables* tables = list->prefix_tables;
    if (tables != nullptr &&
        (tables->nodes != list->node_block || tables->count != list->word_count ||
         tables->locale != list->locale || tables->charset != list->charset)) {
        DropPrefixTables(list);  // a block or a way of comparing it does not know
        tables = nullptr;
    }
    if (tables == nullptr) {
        tables = new (std::nothrow)
            PrefixTables{list->node_block, list->word_count, list->locale, list->charset, {}};
        if (tables == nullptr) return false;
        list->prefix_tables = tables;
    }
    Table& table = tables->tables[static_cast<int>(fold)][length - kShortest];
    if (table.keys == nullptr) {
        if (++table.lists_without < kPrefixListsBeforeTable ||
            !Build(*list, units, length, &table)) {
            return false;
        }
    }
    bool exact = table.exact;
    const std::uint64_t wanted = KeyOf(first, length, &exact);
    const auto [begin, end] = std::equal_range(table.keys, table.keys + table.size, wanted);
    candidates->nodes_ = list->node_block;
    candidates->next_ = table.numbers + (begin - table.keys);
    candidates->end_ = table.numbers + (end - table.keys);
    // A key of exactly the table's length, told exactly, is matched by every
    // word of its stretch and by no other.
    candidates->all_match_ = exact && key_length == length;
    return true;
}

void DropPrefixTables(WordList* list) {
    FreeTables(list->prefix_tables);
    list->prefix_tables = nullptr;
}

}  // namespace lexbase
