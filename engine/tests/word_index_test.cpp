// The hash index behind DB_Translate must give exactly what a walk over the
// whole list gives: every word equal to the key under the fold, in list order,
// with its translations in chain order; also after edits change the words
// and after tables that equate bytes the index keeps apart.
#include "engine/word_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/context.h"
#include "engine/lexbase.h"
#include "engine/search_range.h"

namespace lexbase {
namespace {

using Texts = std::vector<std::string>;

// Translations by definition: a walk over the whole list.
Texts Expected(DB_CONTEXT* db, int direction, const std::string& word, Fold fold) {
    const WordList& list = db->lists[direction - 1];
    const std::uint8_t* table = ComparisonTable(list, fold);
    Texts out;
    for (const WordNode* node = list.head; node != nullptr; node = node->next) {
        if (node->length != word.size()) continue;
        bool equal = true;
        for (std::size_t i = 0; i < word.size() && equal; ++i) {
            equal = table[static_cast<std::uint8_t>(node->text[i])] ==
                    table[static_cast<std::uint8_t>(word[i])];
        }
        if (!equal) continue;
        for (const TransLink* link = node->links; link != nullptr; link = link->next) {
            out.emplace_back(link->target->text);
        }
        if (fold == Fold::kExact) break;
    }
    return out;
}

Texts Translated(DB_CONTEXT* db, int direction, const std::string& word, Fold fold) {
    const char* out[256];
    const bool case_sensitive = IsCaseSensitive(fold);
    const DB_RESULT* r =
        DB_Translate(db, direction, word.c_str(), case_sensitive, IgnoresAccents(fold), out, 256);
    return Texts(out, out + r->count);
}

// Short words from few letters, with case and accent variants, so that
// prefixes and folded variants collide often.
std::string RandomWord(std::mt19937* random) {
    static const char kLetters[] = "abAB\xE4\xC4\xE9\xC9";
    std::string word;
    const int length = 1 + static_cast<int>((*random)() % 4);
    for (int i = 0; i < length; ++i) word += kLetters[(*random)() % (sizeof kLetters - 1)];
    return word;
}

void ExpectSameAsWalk(DB_CONTEXT* db, std::mt19937* random, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        const std::string word = RandomWord(random);
        const int direction = 1 + static_cast<int>((*random)() % 2);
        for (Fold fold : {Fold::kExact, Fold::kCase, Fold::kAccent, Fold::kCaseAccent}) {
            SCOPED_TRACE(word + " fold " + std::to_string(static_cast<int>(fold)));
            ASSERT_EQ(Translated(db, direction, word, fold), Expected(db, direction, word, fold));
        }
    }
}

TEST(WordIndexTest, TranslateAgreesWithAWalkThroughEdits) {
    std::mt19937 random(5);
    DB_CONTEXT* db = DB_CreateHandle()->handle;
    ASSERT_EQ(DB_CreateNewDictionary(db, 1031, 1036)->status, 1);
    for (int i = 0; i < 300; ++i) {
        DB_AddTranslation(db, 1, RandomWord(&random).c_str(), RandomWord(&random).c_str());
    }
    // The first look-ups walk; enough of them build the index of both lists.
    ExpectSameAsWalk(db, &random, static_cast<int>(kLookupsBeforeIndex));
    ASSERT_NE(db->lists[0].word_index, nullptr);
    ASSERT_NE(db->lists[1].word_index, nullptr);
    // Insertions, removals, renames and a re-sort, each followed by look-ups.
    for (int i = 0; i < 150; ++i) {
        const std::string a = RandomWord(&random), b = RandomWord(&random);
        switch (random() % 5) {
            case 0:
                DB_AddTranslation(db, 1 + static_cast<int>(random() % 2), a.c_str(), b.c_str());
                break;
            case 1:
                DB_DeleteTranslation(db, 1, a.c_str(), b.c_str());
                DB_DeleteWord(db, 1, a.c_str());
                DB_DeleteWord(db, 2, b.c_str());
                break;
            case 2:
                DB_ChangeWord(db, 1 + static_cast<int>(random() % 2), a.c_str(), b.c_str());
                break;
            case 3:
                DB_AddWord(db, 1 + static_cast<int>(random() % 2), a.c_str());
                break;
            default:
                if (i % 40 == 0) DB_ResortList(db, 2, 1033);
                break;
        }
        ExpectSameAsWalk(db, &random, 20);
    }
    DB_DestroyHandle(db);
}

TEST(WordIndexTest, TablesThatEquateMoreThanTheHashAreNotServed) {
    DB_CONTEXT* db = DB_CreateHandle()->handle;
    ASSERT_EQ(DB_CreateNewDictionary(db, 1033, 1033)->status, 1);
    DB_AddTranslation(db, 1, "xa", "one");
    DB_AddTranslation(db, 1, "xb", "two");
    // A lower table (as a file may carry) that equates a and b, which the
    // accent-free upper table keeps apart.
    db->lists[0].lower_table[static_cast<std::uint8_t>('b')] = 'a';
    for (std::uint32_t i = 0; i < kLookupsBeforeIndex; ++i) Translated(db, 1, "xa", Fold::kExact);
    ASSERT_NE(db->lists[0].word_index, nullptr);
    EXPECT_EQ(Translated(db, 1, "xa", Fold::kCase), (Texts{"one", "two"}));
    EXPECT_EQ(Translated(db, 1, "xa", Fold::kExact), (Texts{"one"}));
    DB_DestroyHandle(db);
}

}  // namespace
}  // namespace lexbase
