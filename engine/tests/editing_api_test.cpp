// Dictionary editing through the exported functions only: the order of the
// checks, every status and message, counts and the changed flag.
#include <gtest/gtest.h>

#include <string>

#include "engine/lexbase.h"
#include "engine/tests/api_test_support.h"

namespace {

class EditingApiTest : public NewDictionaryTest {
protected:
    DICTIONARY_INFO Info() {
        DICTIONARY_INFO info{};
        EXPECT_EQ(DB_GetDictionaryInfo(db_, &info)->status, 1);
        return info;
    }
    // Adds primary-secondary pairs.
    void AddPairs(std::initializer_list<std::pair<const char*, const char*>> pairs) {
        for (const auto& [p, s] : pairs) {
            ASSERT_NE(DB_AddTranslation(db_, DB_TRANS_PRIMARY_TO_SECONDARY, p, s)->status, 0);
        }
    }
};

constexpr char kClosed[] = "Dictionary is closed!\nLoad dictionary first or create new one!";
constexpr char kBadList[] = "Invalid parameter 2!\nUse DB_PRIMARY_LIST or DB_SECONDARY_LIST.";
constexpr char kBadDirection[] =
    "Invalid parameter 2!\nUse DB_TRANS_PRIMARY_TO_SECONDARY or DB_TRANS_SECONDARY_TO_PRIMARY";

TEST(EditingApiHandleTest, NullHandleAndClosedDictionaryAreRefused) {
    EXPECT_RESULT(DB_AddWord(nullptr, 1, "a"), 0, "Invalid database handle!");
    EXPECT_RESULT(DB_AddTranslation(nullptr, 1, "a", "b"), 0, "Invalid database handle!");
    EXPECT_RESULT(DB_DeleteWord(nullptr, 1, "a"), 0, "Invalid database handle!");
    EXPECT_RESULT(DB_DeleteTranslation(nullptr, 1, "a", "b"), 0, "Invalid database handle!");
    EXPECT_RESULT(DB_ChangeWord(nullptr, 1, "a", "b"), 0, "Invalid database handle!");
    EXPECT_RESULT(DB_SwapTranslations(nullptr, 1, "a", "b", "c"), 0, "Invalid database handle!");
    EXPECT_RESULT(DB_ResortList(nullptr, 1, 1033), 0, "Invalid database handle!");

    DB_HANDLE db = DB_CreateHandle()->handle;
    // The closed test comes before every argument test.
    EXPECT_RESULT(DB_AddWord(db, 7, nullptr), 0, kClosed);
    EXPECT_RESULT(DB_AddTranslation(db, 7, nullptr, nullptr), 0, kClosed);
    EXPECT_RESULT(DB_DeleteWord(db, 7, ""), 0, kClosed);
    EXPECT_RESULT(DB_DeleteTranslation(db, 7, "", ""), 0, kClosed);
    EXPECT_RESULT(DB_ChangeWord(db, 7, "", ""), 0, kClosed);
    EXPECT_RESULT(DB_SwapTranslations(db, 7, "", "", nullptr), 0, kClosed);
    EXPECT_RESULT(DB_ResortList(db, 7, 1033), 0, kClosed);
    EXPECT_EQ(DB_IsChanged(db), 0);
    DB_DestroyHandle(db);
}

TEST_F(EditingApiTest, ArgumentsAreCheckedInTheirOrder) {
    EXPECT_RESULT(DB_AddWord(db_, 9, ""), 0, "Invalid parameter 3!\nCan't add empty word.");
    EXPECT_RESULT(DB_AddWord(db_, 9, "a"), 0, kBadList);

    EXPECT_RESULT(DB_AddTranslation(db_, 9, nullptr, ""), 0,
                  "Invalid parameter 3!\nCan't add empty word.");
    EXPECT_RESULT(DB_AddTranslation(db_, 9, "a", ""), 0,
                  "Invalid parameter 4!\nCan't add empty word.");
    EXPECT_RESULT(DB_AddTranslation(db_, 0, "a", "b"), 0, kBadDirection);

    EXPECT_RESULT(DB_DeleteWord(db_, 9, nullptr), 0,
                  "Invalid parameter 3!\nCan't delete empty word.");
    EXPECT_RESULT(DB_DeleteWord(db_, 3, "a"), 0, kBadList);

    EXPECT_RESULT(DB_DeleteTranslation(db_, 9, "", "b"), 0,
                  "Invalid parameter 3!\nCan't delete empty word.");
    EXPECT_RESULT(DB_DeleteTranslation(db_, 9, "a", nullptr), 0,
                  "Invalid parameter 4!\nCan't delete empty word.");
    EXPECT_RESULT(DB_DeleteTranslation(db_, -1, "a", "b"), 0, kBadDirection);

    EXPECT_RESULT(DB_ChangeWord(db_, 9, "", "b"), 0,
                  "Invalid parameter 3!\nCan't change empty word.");
    EXPECT_RESULT(DB_ChangeWord(db_, 9, "a", nullptr), 0,
                  "Invalid parameter 3!\nCan't change empty word.");
    EXPECT_RESULT(DB_ChangeWord(db_, 9, "a", "b"), 0, kBadList);

    EXPECT_RESULT(DB_SwapTranslations(db_, 9, "", "b", "c"), 0,
                  "Invalid parameter 3!\nCan't use empty word as searching parameter.");
    EXPECT_RESULT(DB_SwapTranslations(db_, 9, "a", nullptr, "c"), 0,
                  "Invalid parameter 4!\nCan't use empty word as searching parameter.");
    EXPECT_RESULT(DB_SwapTranslations(db_, 9, "a", "b", nullptr), 0,
                  "Invalid parameter 5!\nCan't use empty word as searching parameter.");
    EXPECT_RESULT(DB_SwapTranslations(db_, 9, "a", "b", "c"), 0, kBadList);

    EXPECT_RESULT(DB_ResortList(db_, 0, 1033), 0, kBadList);
    EXPECT_EQ(DB_IsChanged(db_), 0);
}

TEST_F(EditingApiTest, AddingAWordTwiceCountsItOnce) {
    const DB_RESULT* r = DB_AddWord(db_, DB_PRIMARY_LIST, "house");
    EXPECT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "Word successfully added.");
    EXPECT_STREQ(r->word, "house");
    EXPECT_EQ(DB_IsChanged(db_), 1);
    EXPECT_RESULT(DB_AddWord(db_, DB_PRIMARY_LIST, "house"), 1,
                  "This word already exists in dictionary.");
    EXPECT_STREQ(DB_AddWord(db_, DB_PRIMARY_LIST, "house")->word, "house");
    EXPECT_RESULT(DB_AddWord(db_, DB_SECONDARY_LIST, "house"), 1, "Word successfully added.");
    const DICTIONARY_INFO info = Info();
    EXPECT_EQ(info.primary_word_count, 1u);
    EXPECT_EQ(info.secondary_word_count, 1u);
    EXPECT_EQ(info.primary_translation_count, 0u);
}

TEST_F(EditingApiTest, WordsLongerThanALengthCanHoldAreRefused) {
    const std::string longest(65535, 'a');
    const std::string too_long(65536, 'a');
    EXPECT_RESULT(DB_AddWord(db_, 1, too_long.c_str()), 0,
                  "Invalid parameter 3!\nWord is too long.");
    EXPECT_RESULT(DB_AddTranslation(db_, 1, "a", too_long.c_str()), 0,
                  "Invalid parameter 4!\nWord is too long.");
    EXPECT_RESULT(DB_ChangeWord(db_, 1, "a", too_long.c_str()), 0,
                  "Invalid parameter 4!\nWord is too long.");
    EXPECT_EQ(Info().primary_word_count, 0u);
    EXPECT_RESULT(DB_AddWord(db_, 1, longest.c_str()), 1, "Word successfully added.");
    EXPECT_RESULT(DB_AddWord(db_, 1, longest.c_str()), 1,
                  "This word already exists in dictionary.");
    EXPECT_RESULT(DB_DeleteWord(db_, 1, too_long.c_str()), 0, "This word isn't in dictionary!");
    EXPECT_EQ(Info().primary_word_count, 1u);
    EXPECT_RESULT(DB_DeleteWord(db_, 1, longest.c_str()), 1, "Word successfully deleted.");
}

TEST_F(EditingApiTest, AddingATranslationInsertsBothWordsAndLinksThem) {
    const DB_RESULT* r = DB_AddTranslation(db_, DB_TRANS_PRIMARY_TO_SECONDARY, "dog", "pas");
    EXPECT_EQ(r->status, 2);
    EXPECT_STREQ(r->message, "Translation successfully added.");
    EXPECT_STREQ(r->word, "dog");
    EXPECT_STREQ(r->word2, "pas");
    DICTIONARY_INFO info = Info();
    EXPECT_EQ(info.primary_word_count, 1u);
    EXPECT_EQ(info.secondary_word_count, 1u);
    EXPECT_EQ(info.primary_translation_count, 1u);
    EXPECT_EQ(info.secondary_translation_count, 1u);
    EXPECT_EQ(info.memory_size, 2 * 12 + 2 * 20 + 4 + 4u);

    // The same pair again, from the other side: nothing new.
    r = DB_AddTranslation(db_, DB_TRANS_SECONDARY_TO_PRIMARY, "pas", "dog");
    EXPECT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "This translation already exists in dictionary.");
    EXPECT_STREQ(r->word, "pas");
    EXPECT_STREQ(r->word2, "dog");
    EXPECT_EQ(DB_IsChanged(db_), 1);
    info = Info();
    EXPECT_EQ(info.primary_translation_count, 1u);
    EXPECT_EQ(info.secondary_word_count, 1u);
}

TEST_F(EditingApiTest, AWordWithTranslationsIsDeletedOnlyAfterThem) {
    AddPairs({{"cat", "macka"}, {"cat", "macak"}});
    EXPECT_RESULT(DB_DeleteWord(db_, DB_PRIMARY_LIST, "cat"), 0,
                  "This word has translations!\nDelete all translations first");
    EXPECT_EQ(Info().primary_word_count, 1u);
    EXPECT_RESULT(DB_DeleteTranslation(db_, DB_TRANS_PRIMARY_TO_SECONDARY, "cat", "macka"), 1,
                  "Translation successfully deleted.");
    EXPECT_RESULT(DB_DeleteTranslation(db_, DB_TRANS_SECONDARY_TO_PRIMARY, "macak", "cat"), 1,
                  "Translation successfully deleted.");
    const DICTIONARY_INFO info = Info();
    EXPECT_EQ(info.primary_translation_count, 0u);
    EXPECT_EQ(info.secondary_translation_count, 0u);
    EXPECT_EQ(info.secondary_word_count, 2u);  // the words stay
    EXPECT_RESULT(DB_DeleteWord(db_, DB_PRIMARY_LIST, "cat"), 1, "Word successfully deleted.");
    EXPECT_RESULT(DB_DeleteWord(db_, DB_PRIMARY_LIST, "cat"), 0,
                  "Nothing to delete!\nDictionary is empty.");
    EXPECT_RESULT(DB_DeleteWord(db_, DB_SECONDARY_LIST, "macka"), 1, "Word successfully deleted.");
    EXPECT_RESULT(DB_DeleteWord(db_, DB_SECONDARY_LIST, "mac"), 0,
                  "This word isn't in dictionary!");
    EXPECT_RESULT(DB_DeleteWord(db_, DB_SECONDARY_LIST, "xy"), 0, "This word isn't in dictionary!");
}

TEST_F(EditingApiTest, DeletingTheOnlyWordLeavesAListThatWorksAgain) {
    ASSERT_EQ(DB_AddWord(db_, DB_SECONDARY_LIST, "jedan")->status, 1);
    EXPECT_RESULT(DB_DeleteWord(db_, DB_SECONDARY_LIST, "jedan"), 1, "Word successfully deleted.");
    DICTIONARY_INFO info = Info();
    EXPECT_EQ(info.secondary_word_count, 0u);
    EXPECT_EQ(info.memory_size, 0u);
    EXPECT_RESULT(DB_AddTranslation(db_, DB_TRANS_SECONDARY_TO_PRIMARY, "jedan", "one"), 2,
                  "Translation successfully added.");
    EXPECT_RESULT(DB_AddWord(db_, DB_SECONDARY_LIST, "jedan"), 1,
                  "This word already exists in dictionary.");
}

TEST_F(EditingApiTest, DeletingATranslationThatIsNotThereChangesNothing) {
    AddPairs({{"sun", "sunce"}});
    const char kMissing[] = "This translation isn't in dictionary!";
    EXPECT_RESULT(DB_DeleteTranslation(db_, 1, "moon", "sunce"), 0, kMissing);
    EXPECT_RESULT(DB_DeleteTranslation(db_, 1, "sunny", "sunce"), 0, kMissing);
    EXPECT_RESULT(DB_DeleteTranslation(db_, 1, "sun", "mjesec"), 0, kMissing);
    EXPECT_RESULT(DB_DeleteTranslation(db_, 2, "sun", "sunce"), 0, kMissing);  // wrong way round
    EXPECT_EQ(Info().primary_translation_count, 1u);
    EXPECT_EQ(Info().secondary_translation_count, 1u);
}

TEST_F(EditingApiTest, ChangeWordAnswersMissesAndSameText) {
    AddPairs({{"table", "stol"}});
    // No word shares the first two bytes, then one does.
    EXPECT_RESULT(DB_ChangeWord(db_, 1, "zebra", "x"), 0, "This word isn't in dictionary!");
    EXPECT_RESULT(DB_ChangeWord(db_, 1, "tab", "x"), 0, "This word isn't in dictionary!");
    const DB_RESULT* r = DB_ChangeWord(db_, 1, "table", "table");
    EXPECT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "Nothing to change.\nOld word is equal to new word.");
    EXPECT_STREQ(r->word, "table");
    EXPECT_EQ(Info().primary_word_count, 1u);
}

TEST_F(EditingApiTest, SwapAnswersEachMissAndTheSameTranslation) {
    AddPairs({{"go", "ici"}, {"go", "poci"}});
    EXPECT_RESULT(DB_SwapTranslations(db_, 1, "xy", "ici", "poci"), 0,
                  "This word isn't in dictionary!");
    EXPECT_RESULT(DB_SwapTranslations(db_, 1, "gone", "ici", "poci"), 0,
                  "This word isn't in dictionary 1!");
    EXPECT_RESULT(DB_SwapTranslations(db_, 1, "go", "otici", "poci"), 0,
                  "Trans1 isn't in dictionary!");
    const DB_RESULT* r = DB_SwapTranslations(db_, 1, "go", "poci", "poci");
    EXPECT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "Nothing to do!\nTrans1 and trans2 are the same.");
    EXPECT_STREQ(r->word, "poci");
    EXPECT_RESULT(DB_SwapTranslations(db_, 1, "go", "poci", "otici"), 0,
                  "Trans2 isn't in dictionary!");
    EXPECT_RESULT(DB_SwapTranslations(db_, 1, "go", "poci", ""), 0, "Trans2 isn't in dictionary!");
    r = DB_SwapTranslations(db_, 1, "go", "poci", "ici");
    EXPECT_EQ(r->status, 2);
    EXPECT_STREQ(r->message, "Translations successfully swaped");
    EXPECT_STREQ(r->word, "poci");
    EXPECT_RESULT(DB_SwapTranslations(db_, 1, "go", "ici", "poci"), 2,
                  "Translations successfully swaped");
}

TEST_F(EditingApiTest, ResortAnswersEmptyAndSortedLists) {
    EXPECT_RESULT(DB_ResortList(db_, 2, 1031), 1, "Nothing to resort!\nList is empty");
    EXPECT_EQ(DB_GetExecutionProgress(db_), 0);
    AddPairs({{"b", "x"}, {"a", "y"}});
    EXPECT_RESULT(DB_ResortList(db_, 1, 1053), 2, "List successfully resorted.");
    EXPECT_EQ(DB_GetExecutionProgress(db_), 100);
    EXPECT_EQ(DB_IsChanged(db_), 1);
    EXPECT_EQ(Info().primary_locale, 1053u);
    EXPECT_RESULT(DB_AddWord(db_, 1, "b"), 1, "This word already exists in dictionary.");
}

TEST_F(EditingApiTest, AFailedCallKeepsTheRecordsWordFields) {
    AddPairs({{"one", "jedan"}});
    const DB_RESULT* r = DB_AddTranslation(db_, 1, "one", "jedan");
    EXPECT_STREQ(r->word, "one");
    r = DB_DeleteWord(db_, 1, "none");
    EXPECT_EQ(r->status, 0);
    EXPECT_STREQ(r->word, "one");
    EXPECT_STREQ(r->word2, "jedan");
    EXPECT_STREQ(DB_GetLastErrorMessage(db_), "This word isn't in dictionary!");
}

}  // namespace
