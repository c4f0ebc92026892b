// The editing operations seen from inside: chain order, change flags, the
// merge of two words, damaged chains and re-sorting.
#include "engine/editing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/context.h"
#include "engine/lexbase.h"
#include "engine/tests/dictionary_checker.h"

namespace lexbase {
namespace {

using Words = std::vector<std::string>;

class EditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = DB_CreateHandle()->handle;
        ASSERT_EQ(DB_CreateNewDictionary(db_, 1033, 1050)->status, 1);
    }
    void TearDown() override {
        EXPECT_TRUE(CheckDictionary(db_));
        // Settle() may have cleared the flags that make the close look for
        // separately allocated words and links.
        for (WordList& l : db_->lists) l.nodes_moved = 1;
        DB_DestroyHandle(db_);
    }

    void Pair(const char* primary, const char* secondary) {
        ASSERT_NE(DB_AddTranslation(db_, 1, primary, secondary)->status, 0);
    }
    // Clears the change flags and the changed flag, to see what one call sets.
    void Settle() {
        db_->changed = 0;
        for (WordList& l : db_->lists) l.texts_moved = l.nodes_moved = l.links_changed = 0;
    }
    // The six change flags, primary then secondary, and the changed flag.
    std::vector<int> Flags() const {
        std::vector<int> flags;
        for (const WordList& l : db_->lists) {
            flags.insert(flags.end(), {l.texts_moved, l.nodes_moved, l.links_changed});
        }
        flags.push_back(db_->changed);
        return flags;
    }
    DictionaryContents Contents() const { return ContentsOf(db_); }

    DB_CONTEXT* db_ = nullptr;
};

TEST_F(EditingTest, EachOperationSetsItsChangeFlags) {
    Settle();
    ASSERT_EQ(DB_AddWord(db_, 2, "rijec")->status, 1);
    EXPECT_EQ(Flags(), (std::vector<int>{0, 0, 0, 1, 1, 0, 1}));

    Settle();
    ASSERT_EQ(DB_AddTranslation(db_, 1, "word", "rijec")->status, 2);
    EXPECT_EQ(Flags(), (std::vector<int>{1, 1, 1, 0, 0, 1, 1}));  // "word" is new

    Settle();
    ASSERT_EQ(DB_AddTranslation(db_, 1, "word", "rijec")->status, 1);
    EXPECT_EQ(Flags(), (std::vector<int>{0, 0, 0, 0, 0, 0, 1}));

    Settle();
    ASSERT_EQ(DB_DeleteTranslation(db_, 2, "rijec", "word")->status, 1);
    EXPECT_EQ(Flags(), (std::vector<int>{0, 0, 1, 0, 0, 1, 1}));

    ASSERT_EQ(DB_AddWord(db_, 1, "other")->status, 1);
    Settle();
    ASSERT_EQ(DB_DeleteWord(db_, 1, "word")->status, 1);
    EXPECT_EQ(Flags(), (std::vector<int>{1, 1, 0, 0, 0, 0, 1}));

    Settle();
    ASSERT_EQ(DB_ChangeWord(db_, 1, "other", "another")->status, 2);
    EXPECT_EQ(Flags(), (std::vector<int>{1, 1, 1, 1, 1, 1, 1}));

    Settle();
    ASSERT_EQ(DB_ResortList(db_, 2, 1050)->status, 2);
    EXPECT_EQ(Flags(), (std::vector<int>{1, 1, 1, 1, 1, 1, 1}));

    // Misses and answers without change leave everything as it was.
    Settle();
    EXPECT_EQ(DB_AddWord(db_, 1, "another")->status, 1);
    EXPECT_EQ(DB_DeleteWord(db_, 1, "missing")->status, 0);
    EXPECT_EQ(DB_DeleteTranslation(db_, 1, "another", "rijec")->status, 0);
    EXPECT_EQ(DB_ChangeWord(db_, 1, "missing", "x")->status, 0);
    EXPECT_EQ(DB_ChangeWord(db_, 1, "another", "another")->status, 1);
    EXPECT_EQ(DB_ResortList(db_, 1, 1033)->status, 2);  // resorting is a change
    db_->changed = 0;
    EXPECT_EQ(DB_ResortList(db_, 1, 1033)->status, 2);
    EXPECT_EQ(db_->changed, 1);
}

TEST_F(EditingTest, TranslationsKeepTheOrderAddedAndSwapExchangesTwo) {
    Pair("run", "trcati");
    Pair("run", "bjezati");
    Pair("run", "voditi");
    Pair("lead", "voditi");
    EXPECT_EQ(Contents().primary.at("run"), (Words{"trcati", "bjezati", "voditi"}));
    ASSERT_EQ(DB_SwapTranslations(db_, 1, "run", "trcati", "voditi")->status, 2);
    EXPECT_EQ(Contents().primary.at("run"), (Words{"voditi", "bjezati", "trcati"}));
    // Only the chain of the word changes order; the partners' chains stay.
    EXPECT_EQ(Contents().secondary.at("voditi"), (Words{"run", "lead"}));
    // From the other list.
    ASSERT_EQ(DB_SwapTranslations(db_, 2, "voditi", "lead", "run")->status, 2);
    EXPECT_EQ(Contents().secondary.at("voditi"), (Words{"lead", "run"}));
    ASSERT_EQ(DB_SwapTranslations(db_, 1, "run", "bjezati", "bjezati")->status, 1);
    EXPECT_EQ(Contents().primary.at("run"), (Words{"voditi", "bjezati", "trcati"}));
}

TEST_F(EditingTest, ChangedWordTakesItsPlaceAndPartnersFollowIt) {
    Pair("colour", "boja");
    Pair("colour", "farba");
    Pair("paint", "boja");
    Pair("zebra", "zebra");
    const WordNode* boja = FindWordQuiet(&db_->lists[1], "boja");
    ASSERT_EQ(DB_ChangeWord(db_, 1, "colour", "color")->status, 2);
    const WordNode* color = FindWordQuiet(&db_->lists[0], "color");
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(FindWordQuiet(&db_->lists[0], "colour"), nullptr);
    EXPECT_EQ(boja->links->target, color);  // repointed in place, first as before
    EXPECT_EQ(Contents().primary.at("color"), (Words{"boja", "farba"}));
    EXPECT_EQ(Contents().secondary.at("boja"), (Words{"color", "paint"}));
    EXPECT_EQ(WordsInOrder(db_->lists[0]), (Words{"color", "paint", "zebra"}));

    // Changing to a text in another place of the order moves the word there.
    ASSERT_EQ(DB_ChangeWord(db_, 1, "zebra", "apple")->status, 2);
    EXPECT_EQ(WordsInOrder(db_->lists[0]), (Words{"apple", "color", "paint"}));
    EXPECT_EQ(Contents().secondary.at("zebra"), (Words{"apple"}));
}

TEST_F(EditingTest, ChangingIntoAnExistingWordMergesBothChains) {
    Pair("big", "velik");
    Pair("big", "krupan");
    Pair("large", "golem");
    Pair("large", "velik");
    Pair("huge", "velik");
    ASSERT_EQ(DB_ChangeWord(db_, 1, "big", "large")->status, 2);
    const DictionaryContents c = Contents();
    EXPECT_EQ(c.primary.count("big"), 0u);
    // The surviving word keeps its own order and gains the missing partners.
    EXPECT_EQ(c.primary.at("large"), (Words{"golem", "velik", "krupan"}));
    // velik linked to big, large, huge: now large once, at its own place.
    EXPECT_EQ(c.secondary.at("velik"), (Words{"large", "huge"}));
    EXPECT_EQ(c.secondary.at("krupan"), (Words{"large"}));
    EXPECT_EQ(db_->lists[0].translation_count, 4u);
    EXPECT_EQ(db_->lists[1].translation_count, 4u);
}

TEST_F(EditingTest, DeleteTranslationWithoutReverseLinkKeepsTheForwardRemoval) {
    Pair("hand", "ruka");
    Pair("arm", "ruka");
    // Damage: ruka forgets hand.
    WordNode* ruka = FindWordQuiet(&db_->lists[1], "ruka");
    TransLink* lost = ruka->links;
    ruka->links = lost->next;
    FreeTransLink(db_->lists[1], lost);
    db_->lists[1].translation_count = 1;
    Settle();
    const DB_RESULT* r = DB_DeleteTranslation(db_, 1, "hand", "ruka");
    EXPECT_EQ(r->status, 0);
    EXPECT_STREQ(r->message, "This translation isn't in dictionary!");
    EXPECT_EQ(Contents().primary.at("hand"), Words{});
    EXPECT_EQ(db_->lists[0].translation_count, 1u);
    EXPECT_EQ(db_->lists[0].links_changed, 1);
    EXPECT_EQ(db_->changed, 1);  // the removal happened: the dictionary differs
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(EditingTest, ResortOrdersByTheNewLocaleAndFindsEveryWord) {
    // English puts a-umlaut with a; Swedish after z.
    const Words words = {"zebra", "\xE4ta", "ara", "\xC4ta", "bil", "\xE5ka", "oja", "\xF6ga"};
    for (const std::string& w : words) ASSERT_EQ(DB_AddWord(db_, 1, w.c_str())->status, 1);
    EXPECT_EQ(WordsInOrder(db_->lists[0]),
              (Words{"\xE5ka", "ara", "\xE4ta", "\xC4ta", "bil", "\xF6ga", "oja", "zebra"}));
    ASSERT_EQ(DB_ResortList(db_, 1, 1053)->status, 2);
    EXPECT_EQ(db_->lists[0].locale, 1053u);
    EXPECT_EQ(WordsInOrder(db_->lists[0]),
              (Words{"ara", "bil", "oja", "zebra", "\xE5ka", "\xE4ta", "\xC4ta", "\xF6ga"}));
    EXPECT_TRUE(CheckDictionary(db_));
    for (const std::string& w : words) EXPECT_NE(FindWordQuiet(&db_->lists[0], w), nullptr) << w;
    // Edits after the re-sort follow the new order.
    ASSERT_EQ(DB_AddWord(db_, 1, "\xE4pple")->status, 1);
    ASSERT_EQ(DB_DeleteWord(db_, 1, "oja")->status, 1);
    EXPECT_TRUE(CheckDictionary(db_));
}

TEST_F(EditingTest, ResortRebuildsTheFoldingAndRegexTables) {
    ASSERT_EQ(DB_AddWord(db_, 2, "\xC0\xE0")->status, 1);
    const std::uint8_t* old_regex = db_->lists[1].regex_tables;
    ASSERT_EQ(DB_ResortList(db_, 2, 1049)->status, 2);  // Russian, code page 1251
    const WordList& l = db_->lists[1];
    EXPECT_EQ(l.upper_table[0xE0], 0xC0);  // Cyrillic a, А
    EXPECT_EQ(l.lower_table[0xC0], 0xE0);
    EXPECT_EQ(l.accent_free_table[0xE0], 0xE0);  // no accent to drop
    ASSERT_NE(l.regex_tables, nullptr);
    EXPECT_NE(l.regex_tables, old_regex);
    EXPECT_EQ(l.regex_tables[0xC0], 0xE0);  // the lower-case map of the new tables
    EXPECT_EQ(DB_GetExecutionProgress(db_), 100);
}

TEST_F(EditingTest, ResortSortsLargeListsWithManyEqualWords) {
    // Many words that collate equal (soft hyphens are ignored) and sorted runs.
    for (int i = 0; i < 600; ++i) {
        std::string w = "w" + std::to_string(i % 40);
        w.insert(1, static_cast<std::size_t>(i / 40), '\xAD');
        ASSERT_EQ(DB_AddWord(db_, 1, w.c_str())->status, 1);
    }
    ASSERT_EQ(DB_ResortList(db_, 1, 1031)->status, 2);
    EXPECT_EQ(db_->lists[0].word_count, 600u);
    EXPECT_TRUE(CheckDictionary(db_));
}

}  // namespace
}  // namespace lexbase
