#include "engine/search_range.h"

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include "engine/char_text.h"
#include "platform/code_page.h"

namespace lexbase {
namespace {

constexpr auto MakeIdentity() {
    struct Table {
        std::uint8_t bytes[256];
    } table{};
    for (int c = 0; c < 256; ++c) table.bytes[c] = static_cast<std::uint8_t>(c);
    return table;
}

constexpr auto kIdentity = MakeIdentity();

// What a malformed UTF-8 sequence reads as.
constexpr char32_t kReplaced = 0xFFFD;

// Calls f(c) for every byte value of the set, in ascending order.
template <typename F>
void ForEachByte(const KeyLookup::ByteSet& set, F f) {
    for (int word = 0; word < 4; ++word) {
        for (std::uint64_t bits = set.bits[word]; bits != 0; bits &= bits - 1) {
            f(static_cast<std::uint8_t>(word * 64 + std::countr_zero(bits)));
        }
    }
}

// Counts, for a walk over the list, the candidate entries whose first and
// whose last word the walk has passed. `is_candidate(entry)` tells the
// candidate entries.
template <typename IsCandidate>
class CandidateTally {
public:
    CandidateTally(const WordList& list, IsCandidate is_candidate, int candidates)
        : list_(list), is_candidate_(is_candidate), candidates_(candidates) {}

    // Counts `node` where it is the first or last word of a candidate entry;
    // true when it is either. Each node is passed at most once, so nothing is
    // counted twice.
    bool Pass(const WordNode* node) {
        const auto b0 = static_cast<std::uint8_t>(node->text[0]);
        const auto b1 = node->length > 1 ? static_cast<std::uint8_t>(node->text[1]) : 0;
        const std::size_t entry = std::size_t{b0} * 256 + b1;
        bool counted = false;
        if (is_candidate_(entry)) counted |= Count(entry, node);
        // Groups are candidates of one-byte keys, and hold longer words too.
        if (b1 != 0 && is_candidate_(std::size_t{b0} * 256)) {
            counted |= Count(std::size_t{b0} * 256, node);
        }
        return counted;
    }

    bool complete() const { return firsts_ == candidates_ && lasts_ == candidates_; }

private:
    bool Count(std::size_t entry, const WordNode* node) {
        const Bucket& bucket = list_.bucket_index[entry];
        bool counted = false;
        if (bucket.first == node) {
            ++firsts_;
            counted = true;
        }
        if (bucket.last == node) {
            ++lasts_;
            counted = true;
        }
        return counted;
    }

    const WordList& list_;
    IsCandidate is_candidate_;
    const int candidates_;
    int firsts_ = 0;
    int lasts_ = 0;
};

// The stretch from the earliest first word to the latest last word of the
// candidate entries, which ForEach(f) calls f(entry) for; each entry once.
// With estimated ordinals (`nodes moved`) it walks the stretch they give,
// then widens it on both sides, alternately, until every candidate's first
// and last word lies inside.
template <typename ForEach, typename IsCandidate>
ScanRange RangeOfEntries(WordList* list, ForEach for_each, IsCandidate is_candidate) {
    const Bucket* earliest = nullptr;
    const Bucket* latest = nullptr;
    int candidates = 0;
    for_each([&](std::size_t entry) {
        const Bucket& bucket = list->bucket_index[entry];
        if (bucket.first == nullptr) return;
        ++candidates;
        if (earliest == nullptr || bucket.first_ordinal < earliest->first_ordinal) {
            earliest = &bucket;
        }
        if (latest == nullptr || bucket.last_ordinal > latest->last_ordinal) latest = &bucket;
    });
    ScanRange range{nullptr, nullptr};
    if (candidates == 0) return range;
    range = {earliest->first, latest->last->next};
    if (candidates > 1 && list->nodes_moved) {
        CandidateTally<IsCandidate> tally(*list, is_candidate, candidates);
        WordNode* node = range.first;
        for (; node != nullptr; node = node->next) {
            tally.Pass(node);
            if (node == latest->last) break;
        }
        range.end = node != nullptr ? node->next : nullptr;
        WordNode* back = range.first->prev;
        WordNode* ahead = range.end;
        while (!tally.complete() && (back != nullptr || ahead != nullptr)) {
            if (back != nullptr) {
                if (tally.Pass(back)) range.first = back;
                back = back->prev;
            }
            if (ahead != nullptr) {
                if (tally.Pass(ahead)) range.end = ahead->next;
                ahead = ahead->next;
            }
        }
    }
    return range;
}

}  // namespace

const std::uint8_t* ComparisonTable(const WordList& list, Fold fold) {
    switch (fold) {
        case Fold::kCase:
            return list.lower_table;
        case Fold::kAccent:
            return list.accent_free_table;
        case Fold::kCaseAccent:
            return list.accent_free_upper_table;
        case Fold::kExact:
            break;
    }
    return kIdentity.bytes;
}

KeyLookup::KeyLookup(WordList* list, Fold fold, const std::uint8_t* compare_table)
    : list_(list)
    , fold_(fold)
    , compare_table_(compare_table)
    , by_char_(fold != Fold::kExact && ComparesByChar(*list))
    , char_fold_(*list, fold)
    , equal_to_{} {
    for (int c = 0; c < 256; ++c) {
        equal_to_[compare_table_[c]].Add(static_cast<std::uint8_t>(c));
    }
}

KeyLookup::ByteSet KeyLookup::VariantsOf(std::uint8_t c) const {
    ByteSet set = equal_to_[compare_table_[c]];
    set.Add(c);
    const std::uint8_t* upper = list_->upper_table;
    const std::uint8_t* lower = list_->lower_table;
    const std::uint8_t plain = list_->accent_free_table[c];
    switch (fold_) {
        case Fold::kExact:
            break;
        case Fold::kCase:
            set.Add(upper[c]);
            set.Add(lower[c]);
            break;
        case Fold::kAccent:
            set.Add(plain);
            break;
        case Fold::kCaseAccent:
            set.Add(upper[c]);
            set.Add(lower[c]);
            set.Add(upper[plain]);
            set.Add(lower[plain]);
            break;
    }
    return set;
}

bool KeyLookup::BeginsReplaced(std::string_view key) const {
    if (char_fold_.code_page() != platform::kUtf8CodePage || !ComparesByChar(*list_)) return false;
    std::size_t at = 0;
    for (int n = 0; n < 2 && at < key.size(); ++n) {
        std::size_t bytes = 1;
        if (platform::DecodeCharAt(platform::kUtf8CodePage, key, at, &bytes) == kReplaced) {
            return true;
        }
        at += bytes;
    }
    return false;
}

ScanRange KeyLookup::Find(std::string_view key) const {
    const ScanRange range = by_char_ || BeginsReplaced(key) ? FindByChars(key) : FindByBytes(key);
    list_->scan_first = range.first;
    list_->scan_end = range.end;
    return range;
}

ScanRange KeyLookup::FindByBytes(std::string_view key) const {
    const auto c0 = static_cast<std::uint8_t>(key[0]);
    ByteSet first_bytes = VariantsOf(c0);
    ByteSet second_bytes{};
    if (key.size() > 1) {
        second_bytes = VariantsOf(static_cast<std::uint8_t>(key[1]));
        // A word has no NUL inside, and a one-byte word can't match a
        // two-byte key: the groups are no candidates here.
        second_bytes.bits[0] &= ~std::uint64_t{1};
    } else {
        second_bytes.Add(0);
    }
    first_bytes.bits[0] &= ~std::uint64_t{1};  // no word starts with NUL

    const auto for_each = [&](auto f) {
        ForEachByte(first_bytes, [&](std::uint8_t b0) {
            ForEachByte(second_bytes, [&](std::uint8_t b1) { f(std::size_t{b0} * 256 + b1); });
        });
    };
    const auto is_candidate = [&](std::size_t entry) {
        return first_bytes.Has(static_cast<std::uint8_t>(entry >> 8)) &&
               second_bytes.Has(static_cast<std::uint8_t>(entry & 0xFF));
    };
    return RangeOfEntries(list_, for_each, is_candidate);
}

ScanRange KeyLookup::FindByChars(std::string_view key) const {
    // A word that matches the key begins with a variant of its first
    // character. A variant of two bytes or more fixes the word's bucket; one
    // of a single byte fixes its first byte, and the second comes from the
    // variants of the key's second character (with no second character, the
    // group of the first byte holds them all).
    std::u32string chars;
    platform::DecodeToCodePoints(char_fold_.code_page(), key, &chars);
    // In UTF-8, U+FFFD is the character itself and every malformed sequence,
    // which may begin with any byte above 127 and run on into any byte: it
    // has no encoding of its own to narrow by.
    const bool utf8 = char_fold_.code_page() == platform::kUtf8CodePage;
    const auto replaced = [utf8](char32_t c) { return utf8 && c == kReplaced; };
    std::vector<std::string> seconds;
    if (chars.size() > 1 && !replaced(chars[1])) seconds = char_fold_.EncodedVariants(chars[1]);
    std::vector<std::size_t> entries;
    // The entries of a word whose first byte is b0 and whose first character
    // is that byte alone.
    const auto after_one_byte = [&](std::uint8_t b0) {
        if (chars.size() == 1) {
            entries.push_back(std::size_t{b0} * 256);
        } else if (replaced(chars[1])) {
            for (int b1 = 0x80; b1 <= 0xFF; ++b1) entries.push_back(std::size_t{b0} * 256 + b1);
        } else {
            for (const std::string& second : seconds) {
                const auto b1 = static_cast<std::uint8_t>(second[0]);
                if (b1 != 0) entries.push_back(std::size_t{b0} * 256 + b1);
            }
        }
    };
    if (replaced(chars[0])) {
        for (int b0 = 0x80; b0 <= 0xFF; ++b0) {
            if (chars.size() == 1) {
                entries.push_back(std::size_t(b0) * 256);
                continue;
            }
            for (int b1 = 1; b1 <= 0xFF; ++b1) entries.push_back(std::size_t(b0) * 256 + b1);
        }
    }
    for (const std::string& first :
         replaced(chars[0]) ? std::vector<std::string>() : char_fold_.EncodedVariants(chars[0])) {
        const auto b0 = static_cast<std::uint8_t>(first[0]);
        if (b0 == 0) continue;
        if (first.size() > 1) {
            entries.push_back(std::size_t{b0} * 256 + static_cast<std::uint8_t>(first[1]));
        } else {
            after_one_byte(b0);
        }
    }
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    const auto for_each = [&](auto f) {
        for (const std::size_t entry : entries) f(entry);
    };
    const auto is_candidate = [&](std::size_t entry) {
        return std::binary_search(entries.begin(), entries.end(), entry);
    };
    return RangeOfEntries(list_, for_each, is_candidate);
}

}  // namespace lexbase
