// Building a whole dictionary from a flat array of translation pairs, the last
// step of every import. Each import reduces its source to pairs (primary word,
// secondary word) in source order; the build sorts both lists by collation
// keys, keeps every distinct text once, links every pair in both directions
// and fills the folding tables, the prefix index and the regex tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/context.h"
#include "engine/word_list.h"

namespace lexbase {

// One translation pair. The importer gives the texts and the position; the
// rest is work space of the build.
struct WordPair {
    const char* primary;  // primary_length bytes, no NUL among them
    const char* secondary;
    std::uint16_t primary_length;  // 1 to kMaxWordBytes
    std::uint16_t secondary_length;
    std::int32_t position;   // number of the pair in the source, which the build keeps per text
    WordNode* primary_node;  // the pair's words once their list is built
    WordNode* secondary_node;
};

// The pairs of one import, in source order. The texts are not copied: they
// must stay valid until the build has ended.
class PairArray {
public:
    PairArray() = default;
    ~PairArray();
    PairArray(const PairArray&) = delete;
    PairArray& operator=(const PairArray&) = delete;

    // Makes room for `capacity` pairs, dropping any held. Returns false when
    // memory runs out or the capacity exceeds what a position can number.
    [[nodiscard]] bool Reserve(std::size_t capacity);

    // Appends a pair numbered after the last one. A pair is not taken (false)
    // when a text is empty, longer than kMaxWordBytes or holds a NUL, or when
    // the reserved room is used up.
    bool Add(std::string_view primary, std::string_view secondary);

    WordPair* data() { return pairs_; }
    std::size_t size() const { return size_; }

private:
    WordPair* pairs_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Builds both lists of `db` from `count` pairs (at least one), in the order
// PairArray numbers them (pair i has position i). The caller has
// set both lists' locale, and the charset of a list whose texts are UTF-8,
// and nothing else: the handle holds no dictionary.
// The texts are copied; the pairs' work fields are overwritten.
//
// Progress runs through 28, 30, 52, 60, 80, 85, 88, 89, 92, 93, 94, 96 and 97.
// On failure (memory ran out) both lists are left empty as in a fresh handle,
// the message buffer holds "Memory allocation error !", and false returns.
// The description, charsets and ready flag are the caller's.
[[nodiscard]] bool BuildFromPairs(DB_CONTEXT* db, WordPair* pairs, std::size_t count);

// Makes the n-th allocation of the builds that follow fail (n counts from 1;
// 0 turns it off), so tests can reach every clean-up path. Per thread.
void FailBuildAllocationForTesting(int n);

}  // namespace lexbase
