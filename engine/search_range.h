// What every search shares: the folding that the two switches "Case
// sensitive" and "Ignore accents" select, and the key look-up, which narrows a
// scan through the list's two-byte prefix index to the one stretch of the
// collation order where every word that can match a key lies.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/char_text.h"
#include "engine/fold.h"
#include "engine/word_list.h"

namespace lexbase {

// The table through which two bytes x and y of `list` compare under `fold`:
// they match when table[x] == table[y]. kExact gets the identity table, so
// every fold compares the same way. The table lives as long as the list's
// folding tables (the identity table for ever).
const std::uint8_t* ComparisonTable(const WordList& list, Fold fold);

// A stretch of a list: from `first` up to, not including, `end`; a null `end`
// runs to the end of the list, a null `first` is empty.
struct ScanRange {
    WordNode* first;
    WordNode* end;
};

inline ScanRange WholeList(const WordList& list) { return {list.head, nullptr}; }

// Status, message and number of results with which a search ends.
struct SearchOutcome {
    std::int32_t status;
    const char* message;  // a text of the message table
    std::int32_t count;
};

// The key look-up of one list under one fold. The candidates for a key are
// the index entries of every pair (x0, x1) where x0 is a variant of the key's
// first byte and x1 of its second (for a one-byte key, the groups of the first
// byte's variants). The variants of a byte c are the case and accent forms that
// the list's tables give it (upper and lower of c, and of its accent-free form,
// as the fold asks) together with every byte that the comparison table equates
// with c, so that no word that compares equal to the key under that table can
// lie outside the range. The range runs from the earliest first word of a
// non-empty candidate to the latest last word.
//
// Ordinals choose the earliest and the latest entry. They are exact while the
// list has not had a word inserted or removed since its index was rebuilt
// (`nodes moved` clear); otherwise they are estimates, and the look-up checks
// that the stretch they give holds every candidate's first and last word,
// widening it word by word where it does not.
class KeyLookup {
public:
    // `compare_table` is the table through which the search that follows
    // compares the key with the words of `list` (usually ComparisonTable(list,
    // fold); the identical-words search passes the other list's). Both must
    // outlive the look-up.
    KeyLookup(WordList* list, Fold fold, const std::uint8_t* compare_table);

    // The stretch of the list for a non-empty key; empty when every candidate
    // is. Also stored as the list's `scan first` and `scan end`.
    ScanRange Find(std::string_view key) const;

    // A set of byte values.
    struct ByteSet {
        std::uint64_t bits[4];
        void Add(std::uint8_t c) { bits[c >> 6] |= std::uint64_t{1} << (c & 63); }
        bool Has(std::uint8_t c) const { return (bits[c >> 6] >> (c & 63)) & 1; }
    };

private:
    ByteSet VariantsOf(std::uint8_t c) const;
    ScanRange FindByBytes(std::string_view key) const;
    // For lists compared by character under a fold, which `compare_table` does
    // not describe: candidates come from the encodings of each variant of the
    // key's first characters.
    ScanRange FindByChars(std::string_view key) const;
    // Whether one of the first two characters of `key`, in a UTF-8 list,
    // reads as U+FFFD: the key's bytes then don't tell the words' first bytes,
    // whatever the fold.
    bool BeginsReplaced(std::string_view key) const;

    WordList* list_;
    Fold fold_;
    const std::uint8_t* compare_table_;
    bool by_char_;
    CharFold char_fold_;
    ByteSet equal_to_[256];  // equal_to_[v]: the bytes x with compare_table_[x] == v
};

}  // namespace lexbase
