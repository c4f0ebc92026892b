#include "engine/word_listing.h"

#include <array>
#include <cassert>
#include <cstring>
#include <string_view>

#include "engine/lexbase.h"
#include "engine/messages.h"
#include "engine/search_regex.h"
#include "engine/wildcard.h"

namespace lexbase {
namespace {

enum class Verdict { kMatch, kNoMatch, kStop };

Verdict VerdictOf(bool match) { return match ? Verdict::kMatch : Verdict::kNoMatch; }

std::string_view TextOf(const WordNode& node) { return {node.text, node.length}; }

bool Same(const std::uint8_t* table, char a, char b) {
    return table[static_cast<std::uint8_t>(a)] == table[static_cast<std::uint8_t>(b)];
}

void StopLoop(DB_CONTEXT* db) { db->loop_flag.store(0, std::memory_order_relaxed); }
void EndProgress(DB_CONTEXT* db) { db->progress_high.store(0, std::memory_order_relaxed); }

// The caller's output array with its limit. A match beyond the limit clears
// the loop flag, which ends the walk, and is not stored.
class Results {
public:
    Results(DB_CONTEXT* db, const char** output, std::int32_t max_results)
        : db_(db), output_(output), limit_(max_results > 0 ? max_results : 0) {}

    bool Store(const WordNode& node) {
        if (count_ == limit_) {
            StopLoop(db_);
            return false;
        }
        output_[count_++] = node.text;
        return true;
    }
    std::int32_t count() const { return count_; }

private:
    DB_CONTEXT* db_;
    const char** output_;
    std::int32_t limit_;
    std::int32_t count_ = 0;
};

// Tests every word of `range` in list order and stores the matches. The loop
// flag is read afresh after every word, so DB_EndLoop from another thread
// takes effect after the current word.
template <typename Test>
void Walk(DB_CONTEXT* db, ScanRange range, Results* results, Test test) {
    StartLoop(db);
    for (WordNode* node = range.first; node != nullptr && node != range.end; node = node->next) {
        const Verdict verdict = test(*node);
        if (verdict == Verdict::kStop) break;
        if (verdict == Verdict::kMatch && !results->Store(*node)) break;
        if (!LoopGoesOn(db)) break;
    }
}

bool HasPrefix(std::string_view word, std::string_view prefix, const std::uint8_t* table) {
    if (word.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (!Same(table, word[i], prefix[i])) return false;
    }
    return true;
}

bool IsPalindrome(std::string_view word, const std::uint8_t* table) {
    for (std::size_t i = 0, j = word.size(); i + 1 < j; ++i, --j) {
        if (!Same(table, word[i], word[j - 1])) return false;
    }
    return true;
}

// The pattern of an anagram search as a multiset of folded bytes. Taking a
// byte from the first unused pattern position that matches it, as the search
// is defined, uses up one member of its fold class, whichever position it
// is, so counting per class decides the same and needs no copy per word.
class AnagramPattern {
public:
    AnagramPattern(std::string_view pattern, const std::uint8_t* table)
        : table_(table), length_(pattern.size()) {
        for (char c : pattern) ++left_[table_[static_cast<std::uint8_t>(c)]];
    }

    // Every byte of the word occurs in the pattern; bytes may repeat.
    bool Covers(std::string_view word) const {
        for (char c : word) {
            if (left_[table_[static_cast<std::uint8_t>(c)]] == 0) return false;
        }
        return true;
    }

    // The word's bytes pair with distinct pattern positions.
    bool Contains(std::string_view word) {
        if (word.size() > length_) return false;
        std::size_t used = 0;
        bool fits = true;
        for (; used < word.size(); ++used) {
            std::size_t& left = left_[table_[static_cast<std::uint8_t>(word[used])]];
            if (left == 0) {
                fits = false;
                break;
            }
            --left;
        }
        for (std::size_t i = 0; i < used; ++i) ++left_[table_[static_cast<std::uint8_t>(word[i])]];
        return fits;
    }

    std::size_t length() const { return length_; }

private:
    const std::uint8_t* table_;
    std::size_t length_;
    std::array<std::size_t, 256> left_{};  // pattern bytes per folded value
};

SearchOutcome ListByRegex(DB_CONTEXT* db, WordList* list, const char* pattern, Fold fold,
                          Results* results) {
    StartProgress(db, list->word_count);
    RegexMatcher matcher;
    switch (matcher.Compile(*list, pattern, IsCaseSensitive(fold), IgnoresAccents(fold))) {
        case RegexStatus::kOutOfMemory:
            EndProgress(db);
            return {0, msg::kMemoryError, 0};
        case RegexStatus::kBadExpression:
            EndProgress(db);
            return {0, msg::kPcreError, 0};
        case RegexStatus::kOk:
            break;
    }
    bool incomplete = false;
    Walk(db, WholeList(*list), results, [&](const WordNode& node) {
        const RegexMatch match = matcher.Test(TextOf(node));
        // Without room for the mapped word the walk ends with what it has.
        if (match == RegexMatch::kOutOfMemory) return Verdict::kStop;
        // A word that used up the work limits stays out of the results, and
        // the caller learns that the answer may lack words.
        if (match == RegexMatch::kLimit) incomplete = true;
        AdvanceProgress(db);
        return VerdictOf(match == RegexMatch::kYes);
    });
    EndProgress(db);
    return {1, incomplete ? msg::kRegexIncomplete : msg::kWordsFound, results->count()};
}

}  // namespace

SearchOutcome ListWords(DB_CONTEXT* db, std::int32_t list_number, const char* pattern, Fold fold,
                        std::uint32_t mode, const char** output, std::int32_t max_results) {
    WordList* list = ListOf(db, list_number);
    const std::uint8_t* table = ComparisonTable(*list, fold);
    const std::string_view key = pattern != nullptr ? pattern : "";
    Results results(db, output, max_results);
    // Every mode but the palindromes needs a pattern; the caller makes sure.
    assert(!key.empty() || mode == DB_LIST_PALINDROME);
    if (key.empty() && mode != DB_LIST_PALINDROME) return {1, msg::kWordsFound, 0};

    if (mode == DB_LIST_REGEX) return ListByRegex(db, list, pattern, fold, &results);

    const bool counts_words = mode >= DB_LIST_ANAGRAM_REUSE;
    StartProgress(db, counts_words ? list->word_count : 0);
    switch (mode) {
        case DB_LIST_PREFIX: {
            const ScanRange range = KeyLookup(list, fold, table).Find(key);
            Walk(db, range, &results, [&](const WordNode& node) {
                return VerdictOf(HasPrefix(TextOf(node), key, table));
            });
            break;
        }
        case DB_LIST_WILDCARDS: {
            // A leading wildcard can match any first byte; one in second place
            // leaves the first byte to narrow by.
            const auto wild = [](char c) { return c == '*' || c == '?'; };
            ScanRange range = WholeList(*list);
            if (!wild(key[0])) {
                const bool one_byte = key.size() > 1 && wild(key[1]);
                range = KeyLookup(list, fold, table).Find(one_byte ? key.substr(0, 1) : key);
            }
            Walk(db, range, &results, [&](const WordNode& node) {
                return VerdictOf(MatchesWildcards(key, TextOf(node), table));
            });
            break;
        }
        case DB_LIST_PALINDROME:
            Walk(db, WholeList(*list), &results, [&](const WordNode& node) {
                return VerdictOf(IsPalindrome(TextOf(node), table));
            });
            break;
        default: {
            AnagramPattern anagram(key, table);
            Walk(db, WholeList(*list), &results, [&](const WordNode& node) {
                AdvanceProgress(db);
                const std::string_view word = TextOf(node);
                if (mode == DB_LIST_ANAGRAM_REUSE) return VerdictOf(anagram.Covers(word));
                if (mode == DB_LIST_ANAGRAM_EXACT && word.size() != anagram.length()) {
                    return Verdict::kNoMatch;
                }
                return VerdictOf(anagram.Contains(word));
            });
            break;
        }
    }
    EndProgress(db);
    return {1, msg::kWordsFound, results.count()};
}

SearchOutcome ListIdenticalWords(DB_CONTEXT* db, Fold fold, const char** output) {
    WordList* primary = &db->lists[0];
    WordList* secondary = &db->lists[1];
    const std::uint8_t* table = ComparisonTable(*primary, fold);
    const KeyLookup lookup(secondary, fold, table);
    std::int32_t count = 0;
    StartLoop(db);
    StartProgress(db, primary->word_count);
    for (WordNode* word = primary->head; word != nullptr; word = word->next) {
        const std::string_view text = TextOf(*word);
        if (!text.empty()) {
            const ScanRange range = lookup.Find(text);
            for (WordNode* node = range.first; node != nullptr && node != range.end;
                 node = node->next) {
                const std::string_view other = TextOf(*node);
                if (other.size() != text.size()) continue;
                std::size_t i = 0;
                while (i < text.size() && Same(table, text[i], other[i])) ++i;
                if (i == text.size()) {
                    output[count++] = word->text;
                    break;
                }
            }
        }
        AdvanceProgress(db);
        if (!LoopGoesOn(db)) break;
    }
    EndProgress(db);
    return {1, msg::kWordsFound, count};
}

}  // namespace lexbase
