#include "engine/search_range.h"

#include <bit>

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
// whose last word the walk has passed.
class CandidateTally {
public:
    CandidateTally(const WordList& list, const KeyLookup::ByteSet& first_bytes,
                   const KeyLookup::ByteSet& second_bytes, int candidates)
        : list_(list), first_(first_bytes), second_(second_bytes), candidates_(candidates) {}

    // Counts `node` where it is the first or last word of a candidate entry;
    // true when it is either. Each node is passed at most once, so nothing is
    // counted twice.
    bool Pass(const WordNode* node) {
        const auto b0 = static_cast<std::uint8_t>(node->text[0]);
        const auto b1 = node->length > 1 ? static_cast<std::uint8_t>(node->text[1]) : 0;
        if (!first_.Has(b0)) return false;
        bool counted = false;
        if (second_.Has(b1)) counted |= Count(std::size_t{b0} * 256 + b1, node);
        // For a one-byte key the candidates are groups, which hold longer words too.
        if (b1 != 0 && second_.Has(0)) counted |= Count(std::size_t{b0} * 256, node);
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
    const KeyLookup::ByteSet& first_;
    const KeyLookup::ByteSet& second_;
    const int candidates_;
    int firsts_ = 0;
    int lasts_ = 0;
};

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
    : list_(list), fold_(fold), compare_table_(compare_table), equal_to_{} {
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

ScanRange KeyLookup::Find(std::string_view key) const {
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

    const Bucket* earliest = nullptr;
    const Bucket* latest = nullptr;
    int candidates = 0;
    ForEachByte(first_bytes, [&](std::uint8_t b0) {
        ForEachByte(second_bytes, [&](std::uint8_t b1) {
            const Bucket& bucket = list_->bucket_index[std::size_t{b0} * 256 + b1];
            if (bucket.first == nullptr) return;
            ++candidates;
            if (earliest == nullptr || bucket.first_ordinal < earliest->first_ordinal) {
                earliest = &bucket;
            }
            if (latest == nullptr || bucket.last_ordinal > latest->last_ordinal) latest = &bucket;
        });
    });

    ScanRange range{nullptr, nullptr};
    if (candidates > 0) {
        range = {earliest->first, latest->last->next};
        if (candidates > 1 && list_->nodes_moved) {
            // Estimated ordinals: walk the stretch they give, then widen it
            // on both sides, alternately, until every candidate's first and
            // last word lies inside.
            CandidateTally tally(*list_, first_bytes, second_bytes, candidates);
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
    }
    list_->scan_first = range.first;
    list_->scan_end = range.end;
    return range;
}

}  // namespace lexbase
