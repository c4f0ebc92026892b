#include "forms/suggestions.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdlib>

namespace forms {
namespace {

// Longer words are not worth a suggestion search (and a selection that long
// is no misspelt word).
constexpr std::size_t kMaxChars = 40;

}  // namespace

std::u32string FoldedChars(std::string_view utf8) {
    std::u32string out;
    const auto* s = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const std::int32_t length = static_cast<std::int32_t>(utf8.size());
    std::int32_t i = 0;
    while (i < length) {
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        out.push_back(c < 0 ? 0xFFFD : static_cast<char32_t>(u_tolower(c)));
    }
    return out;
}

namespace {

std::u32string Fold(std::string_view utf8) { return FoldedChars(utf8); }

// Whether `bits` has more than `n` bits set; cheaper than counting them all
// where the processor has no instruction for it.
bool MoreBitsThan(std::uint64_t bits, int n) {
    for (int i = 0; i < n && bits != 0; ++i) bits &= bits - 1;
    return bits != 0;
}

std::uint64_t MaskOf(std::u32string_view text) {
    std::uint64_t mask = 0;
    for (const char32_t c : text) mask |= std::uint64_t{1} << ((c * 0x9E3779B1u) >> 26);
    return mask;
}

}  // namespace

int BoundedEditDistance(std::u32string_view a, std::u32string_view b, int limit) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    if (std::abs(n - m) > limit) return limit + 1;
    const int big = limit + 1;
    // Three rows of the table: two back (for a swap), one back, this one; on
    // the stack for the words an index holds, on the heap beyond.
    constexpr int kStackChars = 64;
    int stack[3][kStackChars + 1] = {};  // cleared: GCC 14 cannot see every read is written first
    std::vector<int> heap;
    int* rows[3] = {stack[0], stack[1], stack[2]};
    if (m > kStackChars) {
        heap.resize(3 * static_cast<std::size_t>(m + 1));
        for (int r = 0; r < 3; ++r) rows[r] = heap.data() + r * (m + 1);
    }
    int* back2 = rows[0];
    int* back1 = rows[1];
    int* row = rows[2];
    for (int j = 0; j <= m; ++j) back1[j] = j;
    for (int i = 1; i <= n; ++i) {
        row[0] = i;
        int row_min = i;
        // Only the band within `limit` of the diagonal can stay within it.
        const int from = std::max(1, i - limit);
        const int to = std::min(m, i + limit);
        if (from > 1) row[from - 1] = big;
        for (int j = from; j <= to; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            int best = std::min({back1[j] + 1, row[j - 1] + 1, back1[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                best = std::min(best, back2[j - 2] + 1);
            }
            row[j] = std::min(best, big);
            row_min = std::min(row_min, row[j]);
        }
        if (to < m) row[to + 1] = big;
        if (row_min > limit) return big;
        int* oldest = back2;
        back2 = back1;
        back1 = row;
        row = oldest;
    }
    return std::min(back1[m], big);
}

void SuggestionIndex::Build(Lexicon& lexicon) {
    entries_.clear();
    folded_.clear();
    texts_.clear();
    lexicon.ForEachWord([this](std::string_view word) {
        if (word.empty() || word.size() > 4 * kMaxChars) return;
        const std::u32string folded = Fold(word);
        if (folded.size() > kMaxChars) return;
        if (folded_.size() + folded.size() > UINT32_MAX || texts_.size() + word.size() > UINT32_MAX)
            return;
        Entry e{};
        e.folded = static_cast<std::uint32_t>(folded_.size());
        e.text = static_cast<std::uint32_t>(texts_.size());
        e.mask = MaskOf(folded);
        e.length = static_cast<std::uint16_t>(folded.size());
        e.text_length = static_cast<std::uint16_t>(word.size());
        folded_ += folded;
        texts_ += word;
        entries_.push_back(e);
    });
    // By length, so that a search reads only the lengths within reach.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.length < b.length; });
    built_ = true;
}

std::vector<SuggestionIndex::Near> SuggestionIndex::Find(std::string_view word, int max_distance,
                                                         std::size_t limit) const {
    const std::u32string query = Fold(word);
    if (query.empty() || query.size() > kMaxChars || limit == 0) return {};
    const std::uint64_t mask = MaskOf(query);
    const int length = static_cast<int>(query.size());
    struct Hit {
        int distance;
        int length_gap;
        std::size_t index;
    };
    std::vector<Hit> hits;
    const auto first =
        std::lower_bound(entries_.begin(), entries_.end(), length - max_distance,
                         [](const Entry& e, int len) { return static_cast<int>(e.length) < len; });
    for (std::size_t i = static_cast<std::size_t>(first - entries_.begin()); i < entries_.size();
         ++i) {
        const Entry& e = entries_[i];
        if (static_cast<int>(e.length) > length + max_distance) break;
        // Each edit adds at most one character the other lacks, and takes away
        // at most one.
        if (MoreBitsThan(mask & ~e.mask, max_distance) ||
            MoreBitsThan(e.mask & ~mask, max_distance)) {
            continue;
        }
        const std::u32string_view candidate(folded_.data() + e.folded, e.length);
        const int d = BoundedEditDistance(query, candidate, max_distance);
        if (d == 0 || d > max_distance) continue;
        hits.push_back({d, std::abs(static_cast<int>(e.length) - length), i});
    }
    std::stable_sort(hits.begin(), hits.end(), [this](const Hit& a, const Hit& b) {
        if (a.distance != b.distance) return a.distance < b.distance;
        if (a.length_gap != b.length_gap) return a.length_gap < b.length_gap;
        return entries_[a.index].length < entries_[b.index].length;
    });
    std::vector<Near> out;
    std::vector<std::u32string_view> seen;
    for (const Hit& h : hits) {
        const Entry& e = entries_[h.index];
        const std::u32string_view folded(folded_.data() + e.folded, e.length);
        // Case variants of one word are one suggestion.
        if (std::find(seen.begin(), seen.end(), folded) != seen.end()) continue;
        seen.push_back(folded);
        out.push_back({texts_.substr(e.text, e.text_length), h.distance});
        if (out.size() >= limit) break;
    }
    return out;
}

}  // namespace forms
