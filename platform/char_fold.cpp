#include "platform/char_fold.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "platform/collation.h"

namespace platform {
namespace {

struct FoldPair {
    char32_t from;
    char32_t to;
};

// kFolds1 (case), kFolds2 (accents), kFolds3 (both), made at build time from
// ICU's data (platform/unicode_fold.cpp): the folds need no ICU at run time,
// so that a process answering from a look-up image does without loading it.
#include "fold_table.inc"

constexpr std::uint32_t kFoldFlags = kNormIgnoreCase | kNormIgnoreNonSpace;

// The folds of U+0080 to U+07FF (the two-byte UTF-8 characters: Latin,
// Greek, Cyrillic, ...), read straight from an array: most characters
// above ASCII that dictionaries hold, at the cost of ICU's own lookup.
constexpr char32_t kDirectEnd = 0x800;
struct DirectFolds {
    char32_t to[3][kDirectEnd - 0x80];
};

template <std::size_t N>
constexpr void FillDirect(const FoldPair (&table)[N], char32_t* to) {
    for (char32_t ch = 0x80; ch < kDirectEnd; ++ch) to[ch - 0x80] = ch;
    for (const FoldPair& pair : table) {
        if (pair.from < kDirectEnd) to[pair.from - 0x80] = pair.to;
    }
}

constexpr DirectFolds MakeDirect() {
    DirectFolds direct{};
    FillDirect(kFolds1, direct.to[0]);
    FillDirect(kFolds2, direct.to[1]);
    FillDirect(kFolds3, direct.to[2]);
    return direct;
}

constexpr DirectFolds kDirect = MakeDirect();

template <std::size_t N>
char32_t Find(const FoldPair (&table)[N], char32_t ch) {
    const FoldPair* end = table + N;
    const FoldPair* at = std::lower_bound(
        table, end, ch, [](const FoldPair& pair, char32_t value) { return pair.from < value; });
    return at != end && at->from == ch ? at->to : ch;
}

// Characters grouped by what they fold to, for each of the three folds: the
// characters that fold to something else than themselves, keyed by that.
class FoldClasses {
public:
    FoldClasses() {
        Add(kFolds1, 0);
        Add(kFolds2, 1);
        Add(kFolds3, 2);
    }

    std::vector<char32_t> Of(char32_t folded, std::uint32_t flags) const {
        std::vector<char32_t> all{folded};
        const auto& map = classes_[flags - 1];
        if (const auto it = map.find(folded); it != map.end()) {
            all.insert(all.end(), it->second.begin(), it->second.end());
        }
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }

private:
    template <std::size_t N>
    void Add(const FoldPair (&table)[N], int fold) {
        for (const FoldPair& pair : table) classes_[fold][pair.to].push_back(pair.from);
        if (fold == 0 || fold == 2) {  // ASCII capitals, which the tables leave out
            for (char32_t ch = U'A'; ch <= U'Z'; ++ch) classes_[fold][ch + 0x20].push_back(ch);
        }
    }

    std::unordered_map<char32_t, std::vector<char32_t>> classes_[kFoldFlags];
};

}  // namespace

char32_t FoldChar(char32_t ch, std::uint32_t flags) {
    flags &= kFoldFlags;
    if (ch < 0x80) {  // most text: no accents, and ASCII case folds to lower case
        return (flags & kNormIgnoreCase) && ch >= U'A' && ch <= U'Z' ? ch + 0x20 : ch;
    }
    if (flags == 0) return ch;
    if (ch < kDirectEnd) return kDirect.to[flags - 1][ch - 0x80];
    switch (flags) {
        case kNormIgnoreCase:
            return Find(kFolds1, ch);
        case kNormIgnoreNonSpace:
            return Find(kFolds2, ch);
        case kFoldFlags:
            return Find(kFolds3, ch);
        default:
            return ch;
    }
}

void FoldChars(std::u32string* text, std::uint32_t flags) {
    flags &= kFoldFlags;
    if (flags == 0) return;
    for (char32_t& ch : *text) ch = FoldChar(ch, flags);
}

std::vector<char32_t> FoldVariants(char32_t ch, std::uint32_t flags) {
    flags &= kFoldFlags;
    if (flags == 0) return {ch};
    static const FoldClasses classes;  // built once, on first use
    return classes.Of(FoldChar(ch, flags), flags);
}

}  // namespace platform
