#include "engine/translation_lookup.h"

#include <string>

#include "engine/char_text.h"
#include "engine/messages.h"
#include "engine/word_index.h"

namespace lexbase {
namespace {

bool EqualUnder(const std::uint8_t* table, std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (table[static_cast<std::uint8_t>(a[i])] != table[static_cast<std::uint8_t>(b[i])]) {
            return false;
        }
    }
    return true;
}

}  // namespace

SearchOutcome Translate(DB_CONTEXT* db, std::int32_t direction, std::string_view word, Fold fold,
                        const char** output, std::int32_t max_results) {
    if (word.empty()) return {0, msg::kTranslationsNotFound, 0};
    WordList* list = ListOf(db, direction);
    const std::uint8_t* table = ComparisonTable(*list, fold);
    // The words equal to `word` under the fold, in list order: from the hash
    // index, or else from the stretch of the prefix index that holds them all.
    // A list compared by character folds whole characters, which its tables
    // don't know (its hash index does).
    const bool by_char = fold != Fold::kExact && ComparesByChar(*list);
    const CharFold folder(*list, fold);
    std::u32string folded_word;
    if (by_char) folder.Apply(word, &folded_word);
    const auto equal = [&](const WordNode& node) {
        if (!by_char) return EqualUnder(table, {node.text, node.length}, word);
        return folder.Equals({node.text, node.length}, folded_word);
    };
    WordCandidates candidates;
    const bool indexed = FindCandidates(list, table, fold == Fold::kExact, word, &candidates);
    ScanRange range{nullptr, nullptr};
    if (!indexed) range = KeyLookup(list, fold, table).Find(word);
    auto next = [&, node = range.first](bool first) mutable -> WordNode* {
        if (indexed) return candidates.Next();
        if (!first && node != nullptr) node = node->next;
        return node != range.end ? node : nullptr;
    };
    StartLoop(db);
    db->progress_high.store(0, std::memory_order_relaxed);

    const std::int32_t limit = max_results > 0 ? max_results : 0;
    std::int32_t count = 0;
    bool full = false;
    for (WordNode* node = next(true); node != nullptr && !full; node = next(false)) {
        if (!equal(*node)) continue;
        for (const TransLink* link = node->links; link != nullptr; link = link->next) {
            if (count == limit) {
                db->loop_flag.store(0, std::memory_order_relaxed);
                full = true;
                break;
            }
            output[count++] = link->target->text;
        }
        // The exact word is there once; a fold may have more variants.
        if (fold == Fold::kExact || !LoopGoesOn(db)) break;
    }
    db->progress_high.store(0, std::memory_order_relaxed);
    if (count == 0) return {0, msg::kTranslationsNotFound, 0};
    return {1, msg::kTranslationsFound, count};
}

}  // namespace lexbase
