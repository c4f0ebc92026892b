// Translation lookup through the exported functions only: the order of the
// checks, both directions, the folds, the limit and the repeats left in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/lexbase.h"
#include "engine/tests/api_test_support.h"

namespace {

using Words = std::vector<std::string>;

constexpr char kNotFound[] = "Translations not found.";

class TranslateApiTest : public NewDictionaryTest {
protected:
    void AddPairs(std::initializer_list<std::pair<const char*, const char*>> pairs) {
        for (const auto& [p, s] : pairs) {
            ASSERT_NE(DB_AddTranslation(db_, DB_TRANS_PRIMARY_TO_SECONDARY, p, s)->status, 0);
        }
    }

    // The translations handed back; status and message must agree with the count.
    Words Translate(const char* word, bool case_sensitive = true, bool ignore_accents = false,
                    int32_t direction = DB_TRANS_PRIMARY_TO_SECONDARY, int32_t max_results = 16) {
        const char* out[16] = {};
        const DB_RESULT* r =
            DB_Translate(db_, direction, word, case_sensitive, ignore_accents, out, max_results);
        if (r->count > 0) {
            EXPECT_EQ(r->status, 1);
            EXPECT_STREQ(r->message, "Translations found.");
        } else {
            EXPECT_EQ(r->status, 0);
            EXPECT_STREQ(r->message, kNotFound);
        }
        EXPECT_EQ(DB_GetExecutionProgress(db_), 0);
        return Words(out, out + r->count);
    }
};

TEST(TranslateApiCheckTest, ChecksComeInTheirOrder) {
    const char* out[2];
    EXPECT_RESULT(DB_Translate(nullptr, 1, "a", 0, 0, out, 2), 0, "Invalid database handle!");
    DB_HANDLE db = DB_CreateHandle()->handle;
    EXPECT_RESULT(DB_Translate(db, 9, nullptr, 0, 0, nullptr, 2), 0,
                  "Invalid paramater 3!\nCan't use empty word as searching parameter.");
    EXPECT_RESULT(DB_Translate(db, 9, "", 0, 0, nullptr, 2), 0,
                  "Invalid paramater 3!\nCan't use empty word as searching parameter.");
    EXPECT_RESULT(DB_Translate(db, 9, "a", 0, 0, nullptr, 2), 0,
                  "Invalid parameter 6!\nNeed valid output_buffer.");
    EXPECT_RESULT(DB_Translate(db, 9, "a", 0, 0, out, 2), 0,
                  "Dictionary is closed!\nLoad dictionary first or create new one!");
    ASSERT_EQ(DB_CreateNewDictionary(db, 1033, 1050)->status, 1);
    EXPECT_RESULT(DB_Translate(db, 3, "a", 0, 0, out, 2), 0,
                  "Invalid parameter 2!\nUse DB_TRANS_PRIMARY_TO_SECONDARY or "
                  "DB_TRANS_SECONDARY_TO_PRIMARY.");
    EXPECT_RESULT(DB_Translate(db, 1, "a", 0, 0, out, 2), 0, kNotFound);
    DB_DestroyHandle(db);
}

TEST_F(TranslateApiTest, MissingWordAndWordWithoutTranslationAnswerAlike) {
    AddPairs({{"dog", "pas"}});
    ASSERT_EQ(DB_AddWord(db_, DB_PRIMARY_LIST, "cat")->status, 1);
    EXPECT_EQ(Translate("cow"), Words{});
    EXPECT_EQ(Translate("cat"), Words{});
    EXPECT_EQ(Translate("do"), Words{});
    EXPECT_EQ(Translate("dogs"), Words{});
    EXPECT_EQ(Translate("dog"), (Words{"pas"}));
}

TEST_F(TranslateApiTest, BothDirectionsFollowTheChainOrder) {
    AddPairs({{"go", "ici"}, {"go", "poci"}, {"walk", "ici"}});
    EXPECT_EQ(Translate("go"), (Words{"ici", "poci"}));
    EXPECT_EQ(Translate("ici", true, false, DB_TRANS_SECONDARY_TO_PRIMARY), (Words{"go", "walk"}));
    EXPECT_EQ(Translate("go", true, false, DB_TRANS_SECONDARY_TO_PRIMARY), Words{});
    ASSERT_EQ(DB_SwapTranslations(db_, DB_PRIMARY_LIST, "go", "ici", "poci")->status, 2);
    EXPECT_EQ(Translate("go"), (Words{"poci", "ici"}));
}

TEST_F(TranslateApiTest, FoldedLookupJoinsTheVariantsAndKeepsRepeats) {
    AddPairs(
        {{"apple", "jabuka"}, {"Apple", "Apple Inc."}, {"APPLE", "jabuka"}, {"apples", "jabuke"}});
    EXPECT_EQ(Translate("apple"), (Words{"jabuka"}));
    EXPECT_EQ(Translate("APPLE"), (Words{"jabuka"}));
    // Variants in list order (apple, Apple, APPLE), each with its own translations.
    EXPECT_EQ(Translate("aPPle", false), (Words{"jabuka", "Apple Inc.", "jabuka"}));
    EXPECT_EQ(Translate("aPPle", true), Words{});
}

TEST_F(TranslateApiTest, AccentsFoldInTheirOwnListsCodePage) {
    // Croatian (code page 1250): c with caron 0xE8, its capital 0xC8.
    AddPairs({{"cat", "ma\xE8ka"},
              {"tomcat",
               "ma\xE8"
               "ak"},
              {"stain", "mrlja"}});
    const int32_t back = DB_TRANS_SECONDARY_TO_PRIMARY;
    EXPECT_EQ(Translate("macka", true, false, back), Words{});
    EXPECT_EQ(Translate("macka", true, true, back), (Words{"cat"}));
    EXPECT_EQ(Translate("MA\xC8KA", true, true, back), Words{});
    EXPECT_EQ(Translate("MACKA", false, true, back), (Words{"cat"}));
    EXPECT_EQ(Translate("ma\xE8"
                        "ak",
                        false, false, back),
              (Words{"tomcat"}));
}

TEST_F(TranslateApiTest, OneLetterWordTakesOnlyOneLetterVariants) {
    AddPairs({{"a", "jedan"}, {"A", "slovo A"}, {"ab", "od"}, {"Ab", "x"}, {"b", "bi"}});
    EXPECT_EQ(Translate("a"), (Words{"jedan"}));
    EXPECT_EQ(Translate("a", false), (Words{"jedan", "slovo A"}));
    EXPECT_EQ(Translate("A", false), (Words{"jedan", "slovo A"}));
}

TEST_F(TranslateApiTest, LimitCutsTheListAndZeroFindsNothing) {
    AddPairs({{"run", "trcati"}, {"run", "bjezati"}, {"run", "voditi"}, {"Run", "staza"}});
    EXPECT_EQ(Translate("run", true, false, 1, 0), Words{});
    EXPECT_EQ(Translate("run", true, false, 1, -1), Words{});
    EXPECT_EQ(Translate("run", true, false, 1, 2), (Words{"trcati", "bjezati"}));
    EXPECT_EQ(Translate("run", false, false, 1, 3), (Words{"trcati", "bjezati", "voditi"}));
    EXPECT_EQ(Translate("run", false, false, 1, 4).size(), 4u);
}

}  // namespace
