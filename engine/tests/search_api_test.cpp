// Word listing through the exported functions only: the order of the checks,
// the seven modes with both switches, the result limit, progress, and a stop
// from another thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "engine/lexbase.h"
#include "engine/tests/api_test_support.h"

namespace {

using Words = std::vector<std::string>;

constexpr char kEmptyPattern[] =
    "Invalid paramater 3!\nCan't use empty word as searching parameter.";
constexpr char kClosed[] = "Dictionary is closed!\nLoad dictionary first or create new one!";

class SearchApiTest : public NewDictionaryTest {
protected:
    SearchApiTest() : NewDictionaryTest(1033) {}

    void Add(const Words& words, int32_t list = DB_PRIMARY_LIST) {
        for (const std::string& w : words) ASSERT_EQ(DB_AddWord(db_, list, w.c_str())->status, 1);
    }

    // The words listed, in the order given; expects status 1 "Words found.".
    Words List(const char* pattern, uint32_t mode, bool case_sensitive = false,
               bool ignore_accents = false, int32_t max_results = 1000,
               int32_t list = DB_PRIMARY_LIST) {
        std::vector<const char*> out(max_results > 0 ? max_results : 1, nullptr);
        const DB_RESULT* r = DB_List(db_, list, pattern, case_sensitive, ignore_accents, mode,
                                     out.data(), max_results);
        EXPECT_EQ(r->status, 1);
        EXPECT_STREQ(r->message, "Words found.");
        EXPECT_EQ(DB_GetExecutionProgress(db_), 0);  // progress reads 0 between calls
        return Words(out.begin(), out.begin() + r->count);
    }
};

TEST(SearchApiCheckTest, ChecksComeInTheirOrder) {
    const char* out[4];
    EXPECT_RESULT(DB_List(nullptr, 1, "a", 0, 0, 0, out, 4), 0, "Invalid database handle!");
    EXPECT_RESULT(DB_ListIdenticalWords(nullptr, 0, 0, out), 0, "Invalid database handle!");

    DB_HANDLE db = DB_CreateHandle()->handle;
    // Pattern, then output, then the open dictionary, then list and mode.
    EXPECT_RESULT(DB_List(db, 9, "", 0, 0, 9, nullptr, 4), 0, kEmptyPattern);
    EXPECT_RESULT(DB_List(db, 9, nullptr, 0, 0, 0, nullptr, 4), 0, kEmptyPattern);
    EXPECT_RESULT(DB_List(db, 9, "a", 0, 0, 9, nullptr, 4), 0,
                  "Invalid parameter 7!\nNeed valid output_buffer.");
    EXPECT_RESULT(DB_List(db, 9, nullptr, 0, 0, DB_LIST_PALINDROME, nullptr, 4), 0,
                  "Invalid parameter 7!\nNeed valid output_buffer.");
    EXPECT_RESULT(DB_List(db, 9, "a", 0, 0, 9, out, 4), 0, kClosed);
    EXPECT_RESULT(DB_ListIdenticalWords(db, 0, 0, nullptr), 0,
                  "Invalid parameter 4!\nNeed valid output_buffer.");
    EXPECT_RESULT(DB_ListIdenticalWords(db, 0, 0, out), 0, kClosed);

    ASSERT_EQ(DB_CreateNewDictionary(db, 1033, 1050)->status, 1);
    EXPECT_RESULT(DB_List(db, 3, "a", 0, 0, 9, out, 4), 0,
                  "Invalid parameter 2!\nUse DB_PRIMARY_LIST or DB_SECONDARY_LIST.");
    EXPECT_RESULT(DB_List(db, 1, "a", 0, 0, 7, out, 4), 0,
                  "Invalid parameter 6!\nInvalid pattern search mode.");
    EXPECT_RESULT(DB_List(db, 1, "", 0, 0, 4, out, 4), 0, kEmptyPattern);

    // A failure after a success leaves count 0.
    ASSERT_EQ(DB_AddWord(db, 1, "a")->status, 1);
    const DB_RESULT* r = DB_List(db, 1, "a", 0, 0, DB_LIST_PREFIX, out, 4);
    EXPECT_EQ(r->count, 1);
    EXPECT_EQ(DB_List(db, 1, "a", 0, 0, 7, out, 4)->count, 0);
    r = DB_ListIdenticalWords(db, 0, 0, out);
    EXPECT_RESULT(r, 1, "Words found.");
    EXPECT_EQ(r->count, 0);
    DB_DestroyHandle(db);
}

TEST_F(SearchApiTest, PrefixFollowsTheCaseSwitch) {
    Add({"abc", "Abc", "aBc", "ABc", "ab", "a", "abd", "b", "xab"});
    EXPECT_EQ(List("AB", DB_LIST_PREFIX, true), (Words{"ABc"}));
    EXPECT_EQ(List("ab", DB_LIST_PREFIX, true), (Words{"ab", "abc", "abd"}));
    const Words folded = List("AB", DB_LIST_PREFIX);
    EXPECT_EQ(folded.size(), 6u);
    for (const char* w : {"ab", "abc", "Abc", "aBc", "ABc", "abd"}) {
        EXPECT_NE(std::find(folded.begin(), folded.end(), w), folded.end()) << w;
    }
    // One byte: every word of the letter's group, nothing else.
    EXPECT_EQ(List("x", DB_LIST_PREFIX), (Words{"xab"}));
    EXPECT_EQ(List("A", DB_LIST_PREFIX, true), (Words{"Abc", "ABc"}));
    EXPECT_EQ(List("abcd", DB_LIST_PREFIX), Words{});
}

TEST_F(SearchApiTest, PrefixWithoutAccentsFindsAccentedWords) {
    // "\xE4pfel" (apfel with a-umlaut) sorts after "apa" and so outside the
    // stretch of the words that begin with "ap" itself.
    Add({"apa", "\xE4pfel", "\xC4pfel", "apz", "b\xE4r", "bar", "bas"});
    EXPECT_EQ(List("ap", DB_LIST_PREFIX, true, false), (Words{"apa", "apz"}));
    EXPECT_EQ(List("ap", DB_LIST_PREFIX, true, true), (Words{"apa", "\xE4pfel", "apz"}));
    EXPECT_EQ(List("ap", DB_LIST_PREFIX, false, true).size(), 4u);
    EXPECT_EQ(List("\xE4P", DB_LIST_PREFIX, false, true).size(), 4u);
    EXPECT_EQ(List("bar", DB_LIST_PREFIX, true, true), (Words{"bar", "b\xE4r"}));
    EXPECT_EQ(List("b\xE4", DB_LIST_PREFIX, true, false), (Words{"b\xE4r"}));
}

TEST_F(SearchApiTest, WildcardsMatchTheWholeWord) {
    Add({"a", "b", "bat", "bit", "boat", "Bet", "sing", "singer", "ring", "at"});
    EXPECT_EQ(List("*", DB_LIST_WILDCARDS).size(), 10u);
    EXPECT_EQ(List("?", DB_LIST_WILDCARDS), (Words{"a", "b"}));
    EXPECT_EQ(List("b?t", DB_LIST_WILDCARDS), (Words{"bat", "Bet", "bit"}));
    EXPECT_EQ(List("b?t", DB_LIST_WILDCARDS, true), (Words{"bat", "bit"}));
    EXPECT_EQ(List("*ing", DB_LIST_WILDCARDS), (Words{"ring", "sing"}));
    EXPECT_EQ(List("b*", DB_LIST_WILDCARDS), (Words{"b", "bat", "Bet", "bit", "boat"}));
    EXPECT_EQ(List("a*", DB_LIST_WILDCARDS), (Words{"a", "at"}));
    EXPECT_EQ(List("s*g*", DB_LIST_WILDCARDS), (Words{"sing", "singer"}));
    EXPECT_EQ(List("bat", DB_LIST_WILDCARDS), (Words{"bat"}));
    EXPECT_EQ(List("?i*", DB_LIST_WILDCARDS), (Words{"bit", "ring", "sing", "singer"}));
    EXPECT_EQ(List("**t", DB_LIST_WILDCARDS), (Words{"at", "bat", "Bet", "bit", "boat"}));
}

TEST_F(SearchApiTest, RegularExpressionsMatchAnywhereUnlessAnchored) {
    Add({"abc", "cab", "Bob", "dog", "b\xE9t"});
    EXPECT_EQ(List("b", DB_LIST_REGEX), (Words{"abc", "b\xE9t", "Bob", "cab"}));
    EXPECT_EQ(List("b", DB_LIST_REGEX, true), (Words{"abc", "b\xE9t", "Bob", "cab"}));
    EXPECT_EQ(List("B", DB_LIST_REGEX, true), (Words{"Bob"}));
    EXPECT_EQ(List("^b", DB_LIST_REGEX), (Words{"b\xE9t", "Bob"}));
    EXPECT_EQ(List("^b.t$", DB_LIST_REGEX), (Words{"b\xE9t"}));
    EXPECT_EQ(List("bet", DB_LIST_REGEX), Words{});
    EXPECT_EQ(List("bet", DB_LIST_REGEX, true, true), (Words{"b\xE9t"}));
    EXPECT_EQ(List("B\xC9T", DB_LIST_REGEX, false, true), (Words{"b\xE9t"}));
    EXPECT_EQ(List("\xC9", DB_LIST_REGEX, false, false), (Words{"b\xE9t"}));  // caseless via tables

    const char* out[8];
    EXPECT_RESULT(DB_List(db_, 1, "(", 0, 0, DB_LIST_REGEX, out, 8), 0, "PCRE error!");
    EXPECT_EQ(DB_GetExecutionProgress(db_), 0);
    EXPECT_RESULT(DB_List(db_, 1, "[a", 1, 1, DB_LIST_REGEX, out, 8), 0, "PCRE error!");
}

constexpr char kIncomplete[] =
    "Search incomplete: the regular expression needed too much work on some words.";

TEST_F(SearchApiTest, PathologicalExpressionIsReportedIncomplete) {
    // Without a limit on the work per word this takes minutes. The word that
    // used the limit up is left out, and the message says so.
    Add({std::string(40, 'a') + "b", "aaa", "quiet" + std::string(30, 'x'), "aq", "dog"});
    const char* out[8];
    for (const auto& [pattern, accents, found] :
         {std::tuple{"^(a+)+$", 0, Words{"aaa"}}, std::tuple{"(a|aa)+$", 1, Words{"aaa"}},
          std::tuple{"(.*)*q", 0, Words{"aq"}}}) {
        SCOPED_TRACE(pattern);
        const DB_RESULT* r = DB_List(db_, 1, pattern, 0, accents, DB_LIST_REGEX, out, 8);
        EXPECT_EQ(r->status, 1);
        EXPECT_STREQ(r->message, kIncomplete);
        EXPECT_EQ(Words(out, out + r->count), found);
    }
    // The next search that stays within the limits says "Words found." again.
    EXPECT_EQ(List("^d", DB_LIST_REGEX), (Words{"dog"}));
}

TEST_F(SearchApiTest, PalindromesIgnoreThePatternAndFollowTheCaseSwitch) {
    Add({"a", "aba", "abba", "ab", "Aba", "xyz", "\xE9t\xC9"});
    EXPECT_EQ(List(nullptr, DB_LIST_PALINDROME, true), (Words{"a", "aba", "abba"}));
    EXPECT_EQ(List("", DB_LIST_PALINDROME, true), (Words{"a", "aba", "abba"}));
    EXPECT_EQ(List("zzz", DB_LIST_PALINDROME), (Words{"a", "aba", "Aba", "abba", "\xE9t\xC9"}));
    EXPECT_EQ(List("q", DB_LIST_PALINDROME, true, true), (Words{"a", "aba", "abba"}));
}

TEST_F(SearchApiTest, AnagramRules) {
    Add({"a", "b", "ab", "aba", "aab", "abb", "baba", "abc", "c", "BA"});
    EXPECT_EQ(List("aab", DB_LIST_ANAGRAM_REUSE, true),
              (Words{"a", "aab", "ab", "aba", "abb", "b", "baba"}));
    EXPECT_EQ(List("aab", DB_LIST_ANAGRAM_ONCE, true), (Words{"a", "aab", "ab", "aba", "b"}));
    EXPECT_EQ(List("aab", DB_LIST_ANAGRAM_EXACT, true), (Words{"aab", "aba"}));
    // Case off: 'BA' folds into the pattern.
    EXPECT_EQ(List("aAb", DB_LIST_ANAGRAM_ONCE), (Words{"a", "aab", "ab", "aba", "b", "BA"}));
    EXPECT_EQ(List("ab", DB_LIST_ANAGRAM_REUSE, true),
              (Words{"a", "aab", "ab", "aba", "abb", "b", "baba"}));
    EXPECT_EQ(List("cba", DB_LIST_ANAGRAM_EXACT, true), (Words{"abc"}));
}

TEST_F(SearchApiTest, LimitStopsOnlyAtAFurtherMatch) {
    Add({"a1", "a2", "a3", "b1"});
    EXPECT_EQ(List("a", DB_LIST_PREFIX, false, false, 0), Words{});
    EXPECT_EQ(List("a", DB_LIST_PREFIX, false, false, 2), (Words{"a1", "a2"}));
    EXPECT_EQ(List("a", DB_LIST_PREFIX, false, false, 3), (Words{"a1", "a2", "a3"}));
    EXPECT_EQ(List("?1", DB_LIST_WILDCARDS, false, false, 1), (Words{"a1"}));
    EXPECT_EQ(List("1", DB_LIST_REGEX, false, false, 1), (Words{"a1"}));

    // A negative limit stores nothing rather than running past the array.
    const char* out[1] = {"untouched"};
    const DB_RESULT* r = DB_List(db_, 1, "a", 0, 0, DB_LIST_PREFIX, out, -5);
    EXPECT_RESULT(r, 1, "Words found.");
    EXPECT_EQ(r->count, 0);
    EXPECT_STREQ(out[0], "untouched");
}

TEST_F(SearchApiTest, SecondaryListUsesItsOwnLocale) {
    DB_HANDLE db = DB_CreateHandle()->handle;
    ASSERT_EQ(DB_CreateNewDictionary(db, 1033, 1050)->status, 1);
    // Croatian, code page 1250: c with caron is 0xE8, capital 0xC8.
    ASSERT_EQ(DB_AddTranslation(db, 1, "cat", "ma\xE8ka")->status, 2);
    ASSERT_EQ(DB_AddTranslation(db, 1, "cats", "MA\xC8KE")->status, 2);
    const char* out[4];
    const DB_RESULT* r = DB_List(db, DB_SECONDARY_LIST, "ma\xE8", 0, 0, DB_LIST_PREFIX, out, 4);
    ASSERT_EQ(r->count, 2);
    EXPECT_EQ(DB_List(db, DB_SECONDARY_LIST, "mac", 1, 1, DB_LIST_PREFIX, out, 4)->count, 1);
    EXPECT_EQ(DB_List(db, DB_SECONDARY_LIST, "mac", 0, 1, DB_LIST_PREFIX, out, 4)->count, 2);
    DB_DestroyHandle(db);
}

TEST_F(SearchApiTest, IdenticalWordsTakeTheAccentSwitchFirst) {
    Add({"Apple", "cafe", "dog", "hund", "kat"});
    Add({"apple", "caf\xE9", "hund", "macka"}, DB_SECONDARY_LIST);
    std::vector<const char*> out(5, nullptr);
    auto identical = [&](int32_t ignore_accents, int32_t case_sensitive) {
        const DB_RESULT* r = DB_ListIdenticalWords(db_, ignore_accents, case_sensitive, out.data());
        EXPECT_RESULT(r, 1, "Words found.");
        EXPECT_EQ(DB_GetExecutionProgress(db_), 0);
        return Words(out.begin(), out.begin() + r->count);
    };
    EXPECT_EQ(identical(0, 1), (Words{"hund"}));
    EXPECT_EQ(identical(0, 0), (Words{"Apple", "hund"}));
    EXPECT_EQ(identical(1, 1), (Words{"cafe", "hund"}));
    EXPECT_EQ(identical(1, 0), (Words{"Apple", "cafe", "hund"}));
}

TEST_F(SearchApiTest, IdenticalWordsListsEachPrimaryWordOnce) {
    Add({"sol", "Sol", "x"});
    Add({"SOL", "sol", "Sol", "y"}, DB_SECONDARY_LIST);
    const char* out[3];
    const DB_RESULT* r = DB_ListIdenticalWords(db_, 0, 0, out);
    ASSERT_EQ(r->count, 2);
    EXPECT_EQ(Words(out, out + 2), (Words{"sol", "Sol"}));
    DB_DeleteWord(db_, DB_PRIMARY_LIST, "sol");
    DB_DeleteWord(db_, DB_PRIMARY_LIST, "Sol");
    EXPECT_EQ(DB_ListIdenticalWords(db_, 1, 0, out)->count, 0);
}

// A regular-expression scan, stopped from another thread, returns the words
// found up to the stop, in order. Half of the words make the expression
// backtrack until its work limit (a few milliseconds each), so the scan lasts
// seconds unless the stop ends it, and says it is incomplete.
TEST_F(SearchApiTest, EndLoopFromAnotherThreadStopsARegexScan) {
    const std::string run(30, 'a');
    int words = 0;
    for (char c0 = 'a'; c0 <= 'z'; ++c0) {
        for (char c1 = 'a'; c1 <= 'z'; ++c1) {
            const std::string prefix = {c0, c1};
            Add({prefix + run, prefix + run + "b"});
            words += 2;
        }
    }
    const char* pattern = "^..(a+)+$";
    const Words all = List("^..a+$", DB_LIST_REGEX, false, false, words);
    ASSERT_EQ(all.size(), words / 2u);
    const int32_t kWords = words;

    std::vector<const char*> out(kWords, nullptr);
    std::atomic<bool> done{false};
    std::thread stopper([&] {
        while (!done.load() && DB_GetExecutionProgress(db_) < 5) std::this_thread::yield();
        // A stop that came before the scan set its flag would be lost, so it
        // repeats until the scan has ended.
        while (!done.load()) {
            DB_EndLoop(db_, 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const DB_RESULT* r = DB_List(db_, 1, pattern, 0, 0, DB_LIST_REGEX, out.data(), kWords);
    done.store(true);
    stopper.join();
    EXPECT_RESULT(r, 1, kIncomplete);
    EXPECT_GT(r->count, 0);
    EXPECT_LT(r->count, static_cast<int32_t>(all.size()));
    EXPECT_EQ(Words(out.begin(), out.begin() + r->count),
              Words(all.begin(), all.begin() + r->count));
    EXPECT_EQ(DB_GetExecutionProgress(db_), 0);
    // The next scan sets the flag again and runs to the end.
    EXPECT_EQ(List("^..a+$", DB_LIST_REGEX, false, false, kWords), all);
}

}  // namespace
