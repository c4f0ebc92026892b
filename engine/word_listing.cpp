#include "engine/word_listing.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/char_text.h"
#include "engine/lexbase.h"
#include "engine/messages.h"
#include "engine/prefix_table.h"
#include "engine/search_regex.h"
#include "engine/wildcard.h"
#include "platform/code_page.h"

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
// `next()` gives the words, null at the end.
template <typename Next, typename Test>
void WalkNodes(DB_CONTEXT* db, Next next, Results* results, Test test) {
    StartLoop(db);
    for (WordNode* node = next(); node != nullptr; node = next()) {
        const Verdict verdict = test(*node);
        if (verdict == Verdict::kStop) break;
        if (verdict == Verdict::kMatch && !results->Store(*node)) break;
        if (!LoopGoesOn(db)) break;
    }
}

// The walk holds references rather than pointers: following one is then a
// single load, with no step between the loads of one node and the next.
template <typename Test>
void Walk(DB_CONTEXT* db, ScanRange range, Results* results, Test test) {
    Ref<WordNode> node = range.first;
    const Ref<WordNode> end = range.end;
    WalkNodes(
        db,
        [&node, end]() -> WordNode* {
            if (node == nullptr || node == end) return nullptr;
            WordNode* const current = node;
            node = current->next;
            return current;
        },
        results, test);
}

// The words that may begin with `key`: those of its prefix table when one
// serves, else the stretch of its first bytes.
template <typename Test>
void WalkPrefix(DB_CONTEXT* db, WordList* list, std::string_view key, Fold fold, Results* results,
                Test test) {
    PrefixCandidates candidates;
    if (FindPrefixCandidates(list, fold, key, &candidates)) {
        if (candidates.all_match()) {
            WalkNodes(
                db, [&candidates] { return candidates.Next(); }, results,
                [](const WordNode&) { return Verdict::kMatch; });
        } else {
            WalkNodes(
                db, [&candidates] { return candidates.Next(); }, results, test);
        }
        return;
    }
    Walk(db, KeyLookup(list, fold, ComparisonTable(*list, fold)).Find(key), results, test);
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

bool IsPalindrome(std::u32string_view word) {
    for (std::size_t i = 0, j = word.size(); i + 1 < j; ++i, --j) {
        if (word[i] != word[j - 1]) return false;
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

// The anagram tests of AnagramPattern for folded characters.
class CharAnagram {
public:
    explicit CharAnagram(std::u32string_view pattern) : length_(pattern.size()) {
        for (const char32_t c : pattern) ++left_[c];
    }

    bool Covers(std::u32string_view word) const {
        for (const char32_t c : word) {
            if (!left_.contains(c)) return false;
        }
        return true;
    }

    bool Contains(std::u32string_view word) {
        if (word.size() > length_) return false;
        std::size_t used = 0;
        bool fits = true;
        for (; used < word.size(); ++used) {
            const auto it = left_.find(word[used]);
            if (it == left_.end() || it->second == 0) {
                fits = false;
                break;
            }
            --it->second;
        }
        for (std::size_t i = 0; i < used; ++i) ++left_[word[i]];
        return fits;
    }

    std::size_t length() const { return length_; }

private:
    std::size_t length_;
    std::unordered_map<char32_t, std::size_t> left_;  // pattern characters per folded value
};

// Every mode but the regular expressions for a list compared by character:
// pattern and words are folded into code points, so that `?` is one
// character, palindromes and anagrams go by characters, and a fold never
// touches one byte of a longer character.
void ListByChars(DB_CONTEXT* db, WordList* list, std::string_view key, Fold fold,
                 std::uint32_t mode, Results* results) {
    const CharFold folder(*list, fold);
    std::u32string pattern;
    std::u32string word;
    folder.Apply(key, &pattern);
    const auto folded = [&](const WordNode& node) {
        folder.Apply(TextOf(node), &word);
        return std::u32string_view(word);
    };
    const std::uint8_t* table = ComparisonTable(*list, fold);  // unused by folded look-ups
    switch (mode) {
        case DB_LIST_PREFIX:
            WalkPrefix(db, list, key, fold, results, [&](const WordNode& node) {
                return VerdictOf(folder.StartsWith(TextOf(node), pattern));
            });
            break;
        case DB_LIST_WILDCARDS: {
            const auto wild = [](char32_t c) { return c == U'*' || c == U'?'; };
            ScanRange range = WholeList(*list);
            if (!wild(pattern[0])) {
                // A wildcard in second place leaves the first character to narrow by.
                std::string_view narrow = key;
                if (pattern.size() > 1 && wild(pattern[1])) {
                    narrow = key.substr(0, folder.FirstCharBytes(key));
                }
                range = KeyLookup(list, fold, table).Find(narrow);
            }
            Walk(db, range, results, [&](const WordNode& node) {
                return VerdictOf(MatchesWildcardsWith(std::u32string_view(pattern), folded(node),
                                                      std::equal_to<char32_t>()));
            });
            break;
        }
        case DB_LIST_PALINDROME:
            Walk(db, WholeList(*list), results,
                 [&](const WordNode& node) { return VerdictOf(IsPalindrome(folded(node))); });
            break;
        default: {
            CharAnagram anagram(pattern);
            Walk(db, WholeList(*list), results, [&](const WordNode& node) {
                AdvanceProgress(db);
                const std::u32string_view chars = folded(node);
                if (mode == DB_LIST_ANAGRAM_REUSE) return VerdictOf(anagram.Covers(chars));
                if (mode == DB_LIST_ANAGRAM_EXACT && chars.size() != anagram.length()) {
                    return Verdict::kNoMatch;
                }
                return VerdictOf(anagram.Contains(chars));
            });
            break;
        }
    }
}

SearchOutcome ListByRegex(DB_CONTEXT* db, WordList* list, const char* pattern, Fold fold,
                          Results* results) {
    StartProgress(db, list->word_count);
    RegexMatcher matcher;
    // A list compared by character matches in UTF-8: the expression and every
    // word go through UTF-8, without their accents when they are ignored;
    // case is the expression's own caseless matching.
    const bool by_char = ComparesByChar(*list);
    const CharFold folder(*list, IgnoresAccents(fold) ? Fold::kAccent : Fold::kExact);
    std::u32string chars;
    std::string utf8;
    // A word of a UTF-8 list goes to the matcher as it is where the fold would
    // give its bytes back: ASCII, or any well-formed text with accents kept.
    const bool utf8_list = folder.code_page() == platform::kUtf8CodePage;
    const bool keeps_accents = !IgnoresAccents(fold);
    const auto in_utf8 = [&](std::string_view text) -> std::string_view {
        if (utf8_list &&
            (platform::IsAscii(text) || (keeps_accents && platform::IsValidUtf8(text)))) {
            return text;
        }
        folder.Apply(text, &chars);
        platform::EncodeToUtf8(chars, &utf8);
        return utf8;
    };
    const RegexStatus compiled =
        by_char ? matcher.CompileUtf8(std::string(in_utf8(pattern)), IsCaseSensitive(fold))
                : matcher.Compile(*list, pattern, IsCaseSensitive(fold), IgnoresAccents(fold));
    switch (compiled) {
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
        const RegexMatch match = matcher.Test(by_char ? in_utf8(TextOf(node)) : TextOf(node));
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
    if (ComparesByChar(*list)) {
        ListByChars(db, list, key, fold, mode, &results);
        EndProgress(db);
        return {1, msg::kWordsFound, results.count()};
    }
    switch (mode) {
        case DB_LIST_PREFIX:
            WalkPrefix(db, list, key, fold, &results, [&](const WordNode& node) {
                return VerdictOf(HasPrefix(TextOf(node), key, table));
            });
            break;
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

namespace {

// The walk of the identical-words search. `key_of(word, &key)` gives the key
// a primary word is looked up with in the secondary list (false: the word can
// have no twin there), `equal(word, node)` whether a secondary word of the
// stretch found is its twin.
template <typename KeyOf, typename Equal>
SearchOutcome WalkIdentical(DB_CONTEXT* db, const KeyLookup& lookup, KeyOf key_of, Equal equal,
                            const char** output) {
    const WordList& primary = db->lists[0];
    std::int32_t count = 0;
    std::string_view key;
    StartLoop(db);
    StartProgress(db, primary.word_count);
    for (WordNode* word = primary.head; word != nullptr; word = word->next) {
        if (key_of(*word, &key) && !key.empty()) {
            const ScanRange range = lookup.Find(key);
            for (WordNode* node = range.first; node != nullptr && node != range.end;
                 node = node->next) {
                if (equal(*word, *node)) {
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

// The identical words of two lists of which at least one is compared by
// character: a primary word is taken into the secondary list's code page
// (one the secondary can't hold has no twin there) and compared character by
// character under the fold.
SearchOutcome ListIdenticalChars(DB_CONTEXT* db, Fold fold, const char** output) {
    WordList* secondary = &db->lists[1];
    const CharFold primary_fold(db->lists[0], fold);
    const CharFold secondary_fold(*secondary, fold);
    const bool same_code_page = primary_fold.code_page() == secondary_fold.code_page();
    std::u32string text;
    std::u32string other;
    std::string encoded;
    // Folding every word of each stretch would cost a fold per secondary word
    // for every primary word; the folded texts' hashes, sorted, rule out at
    // once the primary words that have no twin.
    std::vector<std::uint64_t> hashes;
    hashes.reserve(secondary->word_count);
    for (const WordNode* node = secondary->head; node != nullptr; node = node->next) {
        secondary_fold.Apply(TextOf(*node), &other);
        hashes.push_back(std::hash<std::u32string>()(other));
    }
    std::sort(hashes.begin(), hashes.end());
    const auto key_of = [&](const WordNode& word, std::string_view* key) {
        primary_fold.Apply(TextOf(word), &text);
        if (!std::binary_search(hashes.begin(), hashes.end(), std::hash<std::u32string>()(text))) {
            return false;
        }
        if (same_code_page) {
            *key = TextOf(word);
            return true;
        }
        bool lossy = false;
        encoded = platform::EncodeFromUtf16(
            secondary_fold.code_page(),
            platform::DecodeToUtf16(primary_fold.code_page(), TextOf(word)), &lossy);
        *key = encoded;
        return !lossy;
    };
    const auto equal = [&](const WordNode&, const WordNode& node) {
        secondary_fold.Apply(TextOf(node), &other);
        return other == text;
    };
    return WalkIdentical(db, KeyLookup(secondary, fold, ComparisonTable(*secondary, fold)), key_of,
                         equal, output);
}

}  // namespace

SearchOutcome ListIdenticalWords(DB_CONTEXT* db, Fold fold, const char** output) {
    WordList* primary = &db->lists[0];
    WordList* secondary = &db->lists[1];
    if (ComparesByChar(*primary) || ComparesByChar(*secondary)) {
        return ListIdenticalChars(db, fold, output);
    }
    const std::uint8_t* table = ComparisonTable(*primary, fold);
    const auto key_of = [](const WordNode& word, std::string_view* key) {
        *key = TextOf(word);
        return true;
    };
    const auto equal = [table](const WordNode& word, const WordNode& node) {
        const std::string_view text = TextOf(word);
        const std::string_view other = TextOf(node);
        if (other.size() != text.size()) return false;
        std::size_t i = 0;
        while (i < text.size() && Same(table, text[i], other[i])) ++i;
        return i == text.size();
    };
    return WalkIdentical(db, KeyLookup(secondary, fold, table), key_of, equal, output);
}

}  // namespace lexbase
