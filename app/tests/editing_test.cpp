// The editing commands of edit mode through the real controller and engine:
// what they ask, what they report, what the lists show afterwards and what
// the dictionary holds.
#include <gtest/gtest.h>

#include "app/message_box_style.h"
#include "app/tests/controller_fixture.h"

namespace wordbay {
namespace {

using testing::ControllerTest;
using Words = std::vector<std::string>;

constexpr SlotId kMain = SlotId::kMain;
constexpr ListSide kPrimary = ListSide::kPrimary;
constexpr ListSide kSecondary = ListSide::kSecondary;

const testing::Pairs kPairs = {
    {"house", "kuca"}, {"house", "dom"}, {"house", "zgrada"}, {"hour", "sat"}, {"dog", "pas"},
};

class EditingTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        testing::WriteDictionary(DatabasePath("English_Croatian.v03"), kPairs);
        Start("English_Croatian.v03");
        ASSERT_TRUE(controller_->slot(kMain).loaded());
        SetOptions([](SearchOptions* o) { o->edit_mode = true; });
    }

    // Types `word` into the source box and selects entry `row` of its list.
    void Select(const std::string& word, int row = 0, ListSide side = kPrimary) {
        Type(kMain, side, word);
        WaitIdle();
        view_.panes.SelectListEntry(kMain, side, row, 0);
        controller_->searches().Selected(kMain, side, view_.panes.List(kMain, side).at(row));
        WaitIdle();
    }

    Words Translations(const char* word, int direction = DB_TRANS_PRIMARY_TO_SECONDARY) {
        const char* found[16] = {};
        const DB_RESULT* r =
            DB_Translate(controller_->slot(kMain).handle(), direction, word, 1, 0, found, 16);
        if (r->status == 0) return {};
        return Words(found, found + r->count);
    }

    std::string LastMessage() {
        const std::vector<testing::ShownMessage> shown = view_.Messages();
        return shown.empty() ? std::string() : shown.back().text;
    }
};

TEST_F(EditingTest, AddingNeedsBothWordsAndAsksFirst) {
    Type(kMain, kPrimary, "tree");
    WaitIdle();
    controller_->editing().AddTranslation(view_.panes);
    EXPECT_EQ(LastMessage(), "[Croatian]\n\nPlease enter word to add:");
    EXPECT_EQ(view_.Messages().back().caption, "Error");

    view_.panes.SetEditText(kMain, kPrimary, "");
    view_.panes.SetEditText(kMain, kSecondary, "drvo");
    controller_->editing().AddTranslation(view_.panes);
    EXPECT_EQ(LastMessage(), "[English]\n\nPlease enter word to add:");

    view_.panes.SetEditText(kMain, kPrimary, "tree");
    view_.Answer(kIdNo);
    controller_->editing().AddTranslation(view_.panes);
    EXPECT_EQ(LastMessage(),
              "Do you want to add this translation ?\n\n[English <--> Croatian]\n\n"
              "tree <--> drvo");
    EXPECT_EQ(view_.Messages().back().caption, "English - Croatian");
    EXPECT_TRUE(Translations("tree").empty());
    EXPECT_EQ(DB_IsChanged(controller_->slot(kMain).handle()), 0);
}

TEST_F(EditingTest, AddedTranslationJoinsTheListOfTheSelectedWord) {
    Select("house");
    ASSERT_EQ(view_.panes.List(kMain, kSecondary), (Words{"kuca", "dom", "zgrada"}));
    view_.panes.SetEditText(kMain, kSecondary, "kucica");
    view_.Answer(kIdYes);
    controller_->editing().AddTranslation(view_.panes);
    EXPECT_EQ(LastMessage(), "Translation added.");
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"kuca", "dom", "zgrada", "kucica"}));
    EXPECT_EQ(view_.panes.SelectedIndex(kMain, kPrimary), 0);
    EXPECT_EQ(Translations("house"), (Words{"kuca", "dom", "zgrada", "kucica"}));
    EXPECT_EQ(Translations("kucica", DB_TRANS_SECONDARY_TO_PRIMARY), (Words{"house"}));
    EXPECT_EQ(view_.status.text(), "English: 1   Croatian: 4");

    // The same pair again exists already and changes nothing.
    const int beeps = view_.status.beeps();
    view_.Answer(kIdYes);
    controller_->editing().AddTranslation(view_.panes);
    EXPECT_EQ(LastMessage(), "Translation already exists !");
    EXPECT_EQ(view_.status.beeps(), beeps + 1);
    EXPECT_EQ(view_.panes.List(kMain, kSecondary).size(), 4u);
    EXPECT_EQ(Translations("house").size(), 4u);
}

TEST_F(EditingTest, AddingWithoutASelectedWordListsTheNewWord) {
    Type(kMain, kPrimary, "tree");
    WaitIdle();
    view_.panes.SetEditText(kMain, kSecondary, "drvo");
    view_.Answer(kIdYes);
    controller_->editing().AddTranslation(view_.panes);
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"tree"}));
    EXPECT_EQ(Translations("tree"), (Words{"drvo"}));
    EXPECT_NE(DB_IsChanged(controller_->slot(kMain).handle()), 0);
}

TEST_F(EditingTest, AddingFromTheSecondaryListKeepsThePairInOrder) {
    controller_->searches().ToggleDirection(kMain);
    Select("sat", 0, kSecondary);
    view_.panes.SetEditText(kMain, kPrimary, "clock");
    view_.Answer(kIdYes);
    controller_->editing().AddTranslation(view_.panes);
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"hour", "clock"}));
    EXPECT_EQ(Translations("clock"), (Words{"sat"}));
}

TEST_F(EditingTest, DeleteDecidesByWhatIsSelected) {
    controller_->editing().DeleteSelected(view_.panes);
    EXPECT_EQ(LastMessage(), "[English]\n\nPlease select the word to delete !");

    Select("house");
    controller_->editing().DeleteSelected(view_.panes);
    EXPECT_EQ(LastMessage(), "[Croatian]\n\nPlease select the word to delete !");

    view_.panes.SelectListEntry(kMain, kSecondary, 1, 0);
    view_.Answer(kIdYes);
    controller_->editing().DeleteSelected(view_.panes);
    const std::vector<testing::ShownMessage> shown = view_.Messages();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2].text,
              "Do you want to delete this translation ?\n\n[English <--> Croatian]\n\n"
              "house <--> dom");
    EXPECT_EQ(LastMessage(), "Translation deleted.");
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"kuca", "zgrada"}));
    EXPECT_EQ(Translations("house"), (Words{"kuca", "zgrada"}));
    EXPECT_EQ(view_.panes.SelectedIndex(kMain, kPrimary), 0);
}

TEST_F(EditingTest, AWordWithoutTranslationsIsOfferedForDeletion) {
    Select("dog");
    view_.panes.SelectListEntry(kMain, kSecondary, 0, 0);
    view_.Answer(kIdYes);
    controller_->editing().DeleteSelected(view_.panes);
    ASSERT_TRUE(view_.panes.List(kMain, kSecondary).empty());

    // The word stays selected with an empty translation list.
    view_.Answer(kIdCancel);
    controller_->editing().DeleteSelected(view_.panes);
    EXPECT_EQ(LastMessage(), "Do you want to delete this word ?\n\n[English]\n\n--> dog");
    EXPECT_EQ(view_.Messages().back().caption, "English");
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"dog"}));

    view_.Answer(kIdYes);
    controller_->editing().DeleteSelected(view_.panes);
    EXPECT_EQ(LastMessage(), "Word deleted.");
    EXPECT_TRUE(view_.panes.List(kMain, kPrimary).empty());
    const char* found[4] = {};
    EXPECT_EQ(DB_List(controller_->slot(kMain).handle(), DB_PRIMARY_LIST, "dog", 1, 0,
                      DB_LIST_PREFIX, found, 4)
                  ->count,
              0);
}

// A request that changed the lists while the question was open makes the answer
// moot: nothing is deleted.
TEST_F(EditingTest, DeleteChecksTheSelectionAgainOnceTheEngineIsHeld) {
    Select("house");
    view_.panes.SelectListEntry(kMain, kSecondary, 0, 0);
    view_.Answer(kIdYes);
    const int beeps = view_.status.beeps();
    view_.panes.WhileWaiting([this] { view_.panes.SelectListEntry(kMain, kSecondary, 2, 0); });
    controller_->editing().DeleteSelected(view_.panes);
    EXPECT_EQ(view_.status.beeps(), beeps + 1);
    EXPECT_EQ(Translations("house").size(), 3u);
    EXPECT_EQ(view_.panes.List(kMain, kSecondary).size(), 3u);
}

TEST_F(EditingTest, ChangingAWordShowsTheStoredText) {
    Select("house");
    controller_->editing().ChangeWord(view_.panes, kPrimary, 0, "house", "");
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"house"}));

    controller_->editing().ChangeWord(view_.panes, kPrimary, 0, "house", "home");
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"home"}));
    EXPECT_EQ(Translations("home"), (Words{"kuca", "dom", "zgrada"}));
    EXPECT_TRUE(Translations("house").empty());

    // A row that no longer shows the word is not changed.
    const int beeps = view_.status.beeps();
    controller_->editing().ChangeWord(view_.panes, kPrimary, 0, "house", "hut");
    EXPECT_EQ(view_.status.beeps(), beeps + 1);
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"home"}));

    // Changing a translation (the target list) works the same way.
    controller_->editing().ChangeWord(view_.panes, kSecondary, 1, "dom", "dom2");
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"kuca", "dom2", "zgrada"}));
    EXPECT_EQ(Translations("dom2", DB_TRANS_SECONDARY_TO_PRIMARY), (Words{"home"}));
}

TEST_F(EditingTest, DraggingMovesATranslationInTheListAndTheDictionary) {
    Select("house");
    view_.panes.SelectListEntry(kMain, kSecondary, 0, 0);  // the list's row follows the drag
    controller_->editing().MoveTranslation(view_.panes, 2, 0);
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"zgrada", "kuca", "dom"}));
    EXPECT_EQ(Translations("house"), (Words{"zgrada", "kuca", "dom"}));
    controller_->editing().MoveTranslation(view_.panes, 0, 1);
    EXPECT_EQ(Translations("house"), (Words{"kuca", "zgrada", "dom"}));
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), Translations("house"));
    EXPECT_NE(DB_IsChanged(controller_->slot(kMain).handle()), 0);

    // Out of range: nothing moves.
    controller_->editing().MoveTranslation(view_.panes, 1, 7);
    EXPECT_EQ(Translations("house"), (Words{"kuca", "zgrada", "dom"}));
}

}  // namespace
}  // namespace wordbay
