// The in-memory word list: words in the collation order of the list's locale,
// each with its chain of translation links into the other list, a two-byte
// prefix index over the order, and four byte-folding tables of the language.
//
// Words that came from a file or an import live in three bulk blocks per list
// (texts, nodes, links); words and links made by an edit are allocated alone
// and say so in their flags. Nodes and links lie in the arena (arena.h) and
// refer to each other by 32-bit references. Lists are owned by their handle's
// context and used by one thread at a time.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/arena.h"

namespace lexbase {

struct TransLink;
struct WordIndex;
struct PrefixTables;

// One word of a list, 24 bytes.
struct WordNode {
    std::uint16_t length;  // bytes of text, without the NUL
    std::uint8_t flags;    // kTextAlone | kNodeAlone for words made by an edit
    Ref<WordNode> prev;    // list order
    char* text;            // NUL-terminated text
    Ref<WordNode> next;
    Ref<TransLink> links;  // first translation, null if none
};

inline constexpr std::uint8_t kTextAlone = 0x01;  // text allocated for this word alone
inline constexpr std::uint8_t kNodeAlone = 0x02;  // node allocated alone

// One half of a translation: hangs from a word, points into the other list.
// A link lies in its list's link block unless an edit made it; its address
// tells which, so a link needs no flags and takes 8 bytes.
struct TransLink {
    Ref<TransLink> next;   // next translation of the same word, null at the end
    Ref<WordNode> target;  // the translation
};
static_assert(sizeof(TransLink) == 8);
static_assert(sizeof(WordNode) == 24);

// Index entry of one two-byte prefix (or, at b0 * 256 + 0, of one first byte).
// All zero means empty. Ordinals are positions right after a rebuild and
// estimates after edits.
struct Bucket {
    WordNode* first;
    std::int32_t first_ordinal;
    WordNode* last;
    std::int32_t last_ordinal;
};

// A word's length lives in 16 bits.
inline constexpr std::size_t kMaxWordBytes = 0xFFFF;

inline constexpr std::size_t kBucketCount = 65536;
inline constexpr std::size_t kRegexTablesSize = 1088;

struct WordList {
    char* text_block;                // texts of loaded or imported words, NUL-separated; owned
    WordNode* node_block;            // their nodes, an arena block; owned
    TransLink* link_block;           // their links, an arena block; owned
    std::uint32_t node_block_count;  // nodes in node_block
    std::uint32_t link_block_count;  // links in link_block
    WordNode* head;
    WordNode* tail;
    std::uint32_t word_count;
    std::uint32_t text_bytes;  // sum of (length + 1)
    Bucket bucket_index[kBucketCount];
    std::uint32_t translation_count;  // links hanging from this list's nodes
    std::uint8_t upper_table[256];
    std::uint8_t lower_table[256];
    std::uint8_t accent_free_table[256];
    std::uint8_t accent_free_upper_table[256];
    std::uint32_t locale;        // LCID
    std::uint32_t charset;       // font character set, kept for the caller
    std::uint8_t* regex_tables;  // kRegexTablesSize bytes in PCRE2's layout; owned
    std::int32_t texts_moved;
    std::int32_t nodes_moved;
    std::int32_t links_changed;
    WordNode* scan_first;                 // range chosen by the last lookup: [scan_first, scan_end)
    WordNode* scan_end;                   // null = to the end of the list
    WordIndex* word_index;                // hash index of the texts, built on demand; owned
    std::uint32_t lookups_without_index;  // since the index was dropped
    PrefixTables* prefix_tables;          // tables of long prefixes, built on demand; owned
};

// Bucket number of a word: first byte * 256 + second byte (0 for one byte).
inline std::size_t BucketOf(std::string_view word) {
    const auto b0 = static_cast<std::uint8_t>(word[0]);
    const auto b1 = word.size() > 1 ? static_cast<std::uint8_t>(word[1]) : 0;
    return std::size_t{b0} * 256 + b1;
}

// Stores `locale` in the list and fills its four folding tables from it. A
// byte whose mapping fails maps to itself.
void BuildFoldingTables(WordList* list, std::uint32_t locale);

// (Re)builds the list's regex tables from its lower and upper tables.
// Returns false, leaving the old tables, when memory runs out.
[[nodiscard]] bool BuildRegexTables(WordList* list);

// Recomputes every bucket from the list order; returns the number of nodes.
std::uint32_t RebuildIndex(WordList* list);

// Exact lookup of a non-empty word. Sets the list's scan range to the stretch
// searched (empty when the bucket is). Returns the node or null.
WordNode* FindWord(WordList* list, std::string_view word);

// The same lookup without touching the scan range.
WordNode* FindWordQuiet(const WordList* list, std::string_view word);

// Frees everything the list owns (separately allocated nodes, texts and links
// when a change flag says there may be some, the three blocks, the regex
// tables) and zeroes the list.
void FreeListContents(WordList* list);

// Frees the words and links of the list but keeps its locale, charset,
// folding tables and regex tables: the list becomes empty and usable.
void EmptyList(WordList* list);

}  // namespace lexbase

namespace lexbase {

// Single allocations for edits. Each returns null when memory runs out.
// NewWordNode sets kTextAlone | kNodeAlone and copies the text (at most
// 65,535 bytes; the caller checks the length).
WordNode* NewWordNode(std::string_view text);
TransLink* NewTransLink(WordNode* target);  // next null; outside every link block

// The two links of a new pair, `word` -> `translation` and back, in
// *forward and *backward; false, with nothing allocated, when memory runs
// out. The caller hangs them into their chains and counts them with
// CountNewPair.
[[nodiscard]] bool NewLinkPair(WordNode* word, WordNode* translation, TransLink** forward,
                               TransLink** backward);

// Counts one more pair between `words` and `translations` and marks both
// lists' links as changed.
void CountNewPair(WordList* words, WordList* translations);

// Frees what of a node (text, node) was allocated alone, and a link of
// `list` (hanging from one of its words) unless it lies in its link block.
void FreeWordNode(WordNode* node);
void FreeTransLink(const WordList& list, TransLink* link);

}  // namespace lexbase
