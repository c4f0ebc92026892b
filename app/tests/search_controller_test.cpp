#include "app/search_controller.h"

#include <gtest/gtest.h>

#include "app/tests/controller_fixture.h"

namespace wordbay {
namespace {

using testing::ControllerTest;
using Words = std::vector<std::string>;

constexpr SlotId kMain = SlotId::kMain;
constexpr SlotId kDual = SlotId::kDual;
constexpr ListSide kPrimary = ListSide::kPrimary;
constexpr ListSide kSecondary = ListSide::kSecondary;

const testing::Pairs kEnglishCroatian = {
    {"house", "kuća"},         {"house", "dom"}, {"house", "zgrada"}, {"household", "kućanstvo"},
    {"housewife", "domaćica"}, {"hour", "sat"},  {"dog", "pas"},
};

class SearchControllerTest : public ControllerTest {
protected:
    void StartWithDictionary(SearchOptions options = {}) {
        testing::WriteDictionary(DatabasePath("English_Croatian.v03"), kEnglishCroatian);
        Start("English_Croatian.v03", options);
        ASSERT_TRUE(controller_->slot(kMain).loaded());
    }
    static SearchOptions AutoTranslate() {
        SearchOptions o;
        o.auto_translate = true;
        return o;
    }
};

TEST_F(SearchControllerTest, StartupOpensTheCurrentDictionaryAndTitlesTheWindows) {
    StartWithDictionary();
    EXPECT_EQ(view_.status.titles().main_window, "KX Dictionary : English - Croatian");
    EXPECT_EQ(view_.status.titles().text_window, "Text translation : English - Croatian");
    EXPECT_EQ(view_.status.titles().popup, "English - Croatian");
    EXPECT_EQ(controller_->settings().dictionary_state().current, "English_Croatian.v03");
    EXPECT_EQ(view_.status.text(), "English: 0   Croatian: 0");
}

TEST_F(SearchControllerTest, ExactWordIsTranslatedAndAPrefixOnlyListed) {
    StartWithDictionary(AutoTranslate());
    Type(kMain, kPrimary, "hou");
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kMain, kPrimary),
              (Words{"hour", "house", "household", "housewife"}));
    EXPECT_TRUE(view_.panes.List(kMain, kSecondary).empty());

    Type(kMain, kPrimary, "HOUSE");  // case does not count by default
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"house", "household", "housewife"}));
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"kuća", "dom", "zgrada"}));
    EXPECT_EQ(view_.panes.EditText(kMain, kSecondary), "kuća");
    EXPECT_EQ(view_.status.text(), "English: 3   Croatian: 3");

    // Emptying the edit box empties the other side too.
    Type(kMain, kPrimary, "");
    WaitIdle();
    EXPECT_TRUE(view_.panes.List(kMain, kPrimary).empty());
    EXPECT_TRUE(view_.panes.List(kMain, kSecondary).empty());
    EXPECT_EQ(view_.panes.EditText(kMain, kSecondary), "");
}

TEST_F(SearchControllerTest, RegexThatRunsOutOfWorkSaysSoOnTheStatusLine) {
    // On the long word the expression backtracks past its work limit.
    testing::WriteDictionary(DatabasePath("English_Croatian.v03"),
                             {{"quiet" + std::string(30, 'x'), "tih"}, {"dog", "pas"}});
    SearchOptions o;
    o.regex = true;
    Start("English_Croatian.v03", o);
    Type(kMain, kPrimary, "(.*)*q");
    WaitIdle();
    EXPECT_TRUE(view_.panes.List(kMain, kPrimary).empty());
    EXPECT_NE(view_.status.text().find("Search incomplete"), std::string::npos)
        << view_.status.text();

    Type(kMain, kPrimary, "^do");
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"dog"}));
    EXPECT_EQ(view_.status.text(), "English: 1   Croatian: 0");
}

TEST_F(SearchControllerTest, WithoutAutomaticTranslationTypingOnlyLists) {
    StartWithDictionary();
    Type(kMain, kPrimary, "house");
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kMain, kPrimary).size(), 3u);
    EXPECT_TRUE(view_.panes.List(kMain, kSecondary).empty());

    // Choosing a word translates it.
    view_.panes.SelectListEntry(kMain, kPrimary, 2, 0);
    controller_->searches().Selected(kMain, kPrimary, view_.panes.List(kMain, kPrimary)[2]);
    WaitIdle();
    EXPECT_EQ(view_.panes.EditText(kMain, kPrimary), "housewife");
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"domaćica"}));
}

TEST_F(SearchControllerTest, QuickTypingShowsOnlyTheNewestSearch) {
    StartWithDictionary(AutoTranslate());
    for (int round = 0; round < 20; ++round) {
        Type(kMain, kPrimary, "h");
        Type(kMain, kPrimary, "hou");
        Type(kMain, kPrimary, "house");
        WaitIdle();
        ASSERT_EQ(view_.panes.List(kMain, kPrimary), (Words{"house", "household", "housewife"}));
        ASSERT_EQ(view_.panes.List(kMain, kSecondary), (Words{"kuća", "dom", "zgrada"}));
    }
}

TEST_F(SearchControllerTest, EditModeListsOnlyFromTheSourceSide) {
    SearchOptions o;
    o.edit_mode = true;
    StartWithDictionary(o);
    // A load switches edit mode off; switch it on again.
    SetOptions([](SearchOptions* s) { s->edit_mode = true; });
    controller_->searches().ToggleDirection(kMain);  // now from the secondary list
    Type(kMain, kPrimary, "house");
    WaitIdle();
    EXPECT_TRUE(view_.panes.List(kMain, kPrimary).empty());
    // Editing searches case-sensitively and without regard to the mode.
    SetOptions([](SearchOptions* s) { s->wildcards = true; });
    Type(kMain, kSecondary, "DOM");
    WaitIdle();
    EXPECT_TRUE(view_.panes.List(kMain, kSecondary).empty());
    Type(kMain, kSecondary, "dom");
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"dom", "domaćica"}));
}

TEST_F(SearchControllerTest, ClipboardActivationSearchesTheFirstLineTrimmed) {
    SearchOptions o = AutoTranslate();
    o.use_clipboard = true;
    StartWithDictionary(o);
    controller_->searches().Activated("  house  \r\nsecond line");
    WaitIdle();
    EXPECT_EQ(view_.panes.EditText(kMain, kPrimary), "house");
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"kuća", "dom", "zgrada"}));

    controller_->searches().Activated("");
    WaitIdle();
    EXPECT_EQ(view_.panes.EditText(kMain, kPrimary), "");
    EXPECT_TRUE(view_.panes.List(kMain, kPrimary).empty());

    EXPECT_EQ(ClipboardSearchText("  word  \r\nsecond"), "word");
    EXPECT_EQ(ClipboardSearchText("\nword"), "");
    EXPECT_EQ(ClipboardSearchText("   "), "");
}

TEST_F(SearchControllerTest, ClipboardIsIgnoredWhenItsOptionIsOff) {
    StartWithDictionary();
    view_.panes.SetEditText(kMain, kPrimary, "dog");
    controller_->searches().Activated("house");
    WaitIdle();
    EXPECT_EQ(view_.panes.EditText(kMain, kPrimary), "dog");
}

TEST_F(SearchControllerTest, HotKeySearchFillsThePopup) {
    program_.hot_key_target = HotKeyTarget::kPopup;
    SearchOptions o;
    o.wildcards = true;  // hot-key searches are plain prefix searches
    StartWithDictionary(o);
    controller_->settings().SetHotKeyPending(true);
    Type(kMain, kPrimary, "house");
    WaitIdle();
    EXPECT_EQ(view_.hot_key.text(), "house");
    EXPECT_EQ(view_.hot_key.list(), (Words{"kuća", "dom", "zgrada"}));
    EXPECT_FALSE(controller_->settings().hot_key_pending());

    // Without an exact word nothing is translated and the flag clears.
    controller_->settings().SetHotKeyPending(true);
    Type(kMain, kPrimary, "hou");
    WaitIdle();
    EXPECT_TRUE(view_.hot_key.list().empty());
    EXPECT_EQ(view_.panes.List(kMain, kPrimary).size(), 4u);
    EXPECT_FALSE(controller_->settings().hot_key_pending());
}

// Word forms with the tables and rules alone, whatever spellers the machine has.
class WordFormsTest : public SearchControllerTest {
protected:
    void SetUp() override {
        SearchControllerTest::SetUp();
        ::setenv("WORDBAY_HUNSPELL_DIRS", DatabasePath("no-spellers").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("WORDBAY_HUNSPELL_DIRS");
        SearchControllerTest::TearDown();
    }
};

TEST_F(WordFormsTest, AnInflectedFormTypedGoesToItsBaseWord) {
    StartWithDictionary(AutoTranslate());
    Type(kMain, kPrimary, "houses");
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"house", "household", "housewife"}));
    EXPECT_EQ(view_.panes.SelectedIndex(kMain, kPrimary), 0);
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"kuća", "dom", "zgrada"}));
    EXPECT_EQ(view_.status.text(), "English: 3   Croatian: 3   houses: form of house");
    EXPECT_EQ(view_.word_forms.note().base, "house");
    EXPECT_FALSE(view_.word_forms.note().hot_key);
    // Typing on: the status line forgets the base word.
    Type(kMain, kPrimary, "hou");
    WaitIdle();
    EXPECT_EQ(view_.status.text(), "English: 4   Croatian: 0");
    EXPECT_TRUE(view_.word_forms.note().empty());
}

TEST_F(WordFormsTest, TheHotKeyNamesTheBaseWordOrSuggests) {
    program_.hot_key_target = HotKeyTarget::kPopup;
    StartWithDictionary();
    controller_->settings().SetHotKeyPending(true);
    Type(kMain, kPrimary, "Dogs.");
    WaitIdle();
    EXPECT_EQ(view_.hot_key.list(), (Words{"pas"}));
    EXPECT_EQ(view_.word_forms.note().base, "dog");
    EXPECT_TRUE(view_.word_forms.note().hot_key);
    EXPECT_FALSE(controller_->settings().hot_key_pending());

    controller_->settings().SetHotKeyPending(true);
    Type(kMain, kPrimary, "hause");
    WaitIdle();
    EXPECT_TRUE(view_.hot_key.list().empty());
    const Words suggestions = view_.word_forms.note().suggestions;
    ASSERT_FALSE(suggestions.empty());
    EXPECT_EQ(suggestions.front(), "house");
    EXPECT_FALSE(controller_->settings().hot_key_pending());
}

TEST_F(WordFormsTest, EnterOnAWordTheListLacksSuggestsWithoutAutomaticTranslation) {
    StartWithDictionary();
    Type(kMain, kPrimary, "dgo");
    WaitIdle();
    EXPECT_TRUE(view_.word_forms.note().empty());
    controller_->searches().Entered(kMain, kPrimary, "dgo");
    WaitIdle();
    EXPECT_EQ(view_.word_forms.note().suggestions, (Words{"dog"}));
    EXPECT_FALSE(view_.word_forms.note().hot_key);
}

TEST_F(WordFormsTest, ADictionaryWithWordFormsOffFindsOnlyWholeWords) {
    StartWithDictionary(AutoTranslate());
    controller_->ChangeSlotSettings(kMain, [](DictionarySettings& s) { s.word_forms = false; });
    Type(kMain, kPrimary, "houses");
    WaitIdle();
    EXPECT_TRUE(view_.panes.List(kMain, kPrimary).empty());
    EXPECT_TRUE(view_.panes.List(kMain, kSecondary).empty());
    EXPECT_TRUE(view_.word_forms.note().empty());
}

TEST_F(SearchControllerTest, FailedLoadKeepsTheOpenDictionary) {
    StartWithDictionary();
    Spill(DatabasePath("damaged.v03"), std::string(3000, '\x01'));
    controller_->dictionaries().Load(DatabasePath("damaged.v03"));
    WaitIdle();
    EXPECT_TRUE(SawMessage("Can't load dictionary !"));
    ASSERT_TRUE(controller_->slot(kMain).loaded());
    EXPECT_EQ(controller_->slot(kMain).file_name(), "English_Croatian.v03");
    EXPECT_EQ(controller_->settings().dictionary_state().current, "English_Croatian.v03");
    EXPECT_EQ(view_.status.titles().main_window, "KX Dictionary : English - Croatian");
    Type(kMain, kPrimary, "dog");
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"dog"}));
}

TEST_F(SearchControllerTest, MissingCurrentDictionaryOpensTheChooser) {
    testing::WriteDictionary(DatabasePath("English_Croatian.v03"), kEnglishCroatian);
    Start("gone.v03");
    EXPECT_FALSE(controller_->slot(kMain).loaded());
    EXPECT_TRUE(SawMessage("Can't load dictionary !"));
    EXPECT_EQ(view_.window.choosers(), 1);
    EXPECT_EQ(view_.status.titles().main_window, "KX Dictionary : Dictionary not loaded");
    EXPECT_EQ(view_.status.text(), "Dictionary not loaded");

    // A dual load needs a main dictionary.
    controller_->dictionaries().LoadDual(DatabasePath("English_Croatian.v03"));
    WaitIdle();
    EXPECT_TRUE(SawMessage("Please load a dictionary first !"));
    EXPECT_EQ(view_.status.beeps(), 1);
    EXPECT_FALSE(view_.window.dual_state());
    EXPECT_FALSE(controller_->slot(kDual).loaded());
    EXPECT_FALSE(controller_->settings().options().dual_mode);
}

class LinkTest : public SearchControllerTest {
protected:
    void SetUp() override {
        SearchControllerTest::SetUp();
        SearchOptions o = AutoTranslate();
        o.link = true;
        StartWithDictionary(o);
        testing::WriteDictionary(
            DatabasePath("Croatian_German.v03"),
            {{"kuća", "Haus"}, {"dom", "Heim"}, {"dom", "Haus"}, {"domaćica", "Hausfrau"}},
            "Croatian", "German", 1050, 1031);
        controller_->dictionaries().LoadDual(DatabasePath("Croatian_German.v03"));
        WaitIdle();
        ASSERT_TRUE(view_.window.dual_state());
        ASSERT_TRUE(controller_->settings().options().dual_mode);
    }
};

TEST_F(LinkTest, LinkShowsTheFirstLinkedWordsTranslation) {
    EXPECT_EQ(view_.status.titles().main_window, "KX Dictionary : English - <Croatian> - German");
    Type(kMain, kPrimary, "house");
    WaitIdle();
    // "zgrada" is not in the dual dictionary and adds nothing.
    EXPECT_EQ(view_.panes.List(kDual, kPrimary), (Words{"kuća", "dom"}));
    EXPECT_EQ(view_.panes.EditText(kDual, kPrimary), "kuća");
    EXPECT_EQ(view_.panes.List(kDual, kSecondary), (Words{"Haus"}));
    EXPECT_EQ(view_.status.text(), "English: 3   German: 1");
}

TEST_F(LinkTest, LinkAllShowsEachTranslationOnce) {
    SetOptions([](SearchOptions* o) { o->link_all = true; });
    Type(kMain, kPrimary, "house");
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kDual, kPrimary), (Words{"kuća", "dom"}));
    EXPECT_EQ(view_.panes.List(kDual, kSecondary), (Words{"Haus", "Heim"}));
}

TEST_F(LinkTest, ClosingTheDualDictionaryEmptiesItsPane) {
    Type(kMain, kPrimary, "house");
    WaitIdle();
    controller_->dictionaries().CloseDual();
    WaitIdle();
    EXPECT_FALSE(controller_->slot(kDual).loaded());
    EXPECT_TRUE(view_.panes.List(kDual, kPrimary).empty());
    EXPECT_TRUE(view_.panes.List(kDual, kSecondary).empty());
    EXPECT_EQ(view_.status.titles().main_window, "KX Dictionary : English - Croatian");
}

TEST_F(SearchControllerTest, StopWaitsForARunningSave) {
    StartWithDictionary();
    const std::string path = controller_->slot(kMain).path();
    std::filesystem::remove(path);
    view_.status.set_progress_delay(std::chrono::milliseconds(300));
    const int begun = view_.status.progress_begun();
    controller_->dictionaries().Save();
    while (view_.status.progress_begun() == begun)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    controller_->Stop();
    EXPECT_TRUE(controller_->WorkerFinished());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    EXPECT_TRUE(SawMessage("Dictionary successfully saved."));
}

TEST_F(SearchControllerTest, SaveAndCloseClosesOnlyAfterTheSave) {
    StartWithDictionary();
    controller_->dictionaries().SaveAndClose();
    WaitIdle();
    EXPECT_TRUE(controller_->settings().saved_while_closing());
    EXPECT_EQ(view_.window.closes(), 1);

    // Saving into a folder that is gone fails and keeps the window.
    view_.status.set_save_file_answer(PathOf("no/such/folder/x.v03"));
    controller_->dictionaries().SaveAs();
    WaitIdle();
    EXPECT_TRUE(SawMessage("Dictionary saving error !"));
    controller_->dictionaries().SaveAndClose();
    WaitIdle();
    EXPECT_EQ(view_.window.closes(), 1);
}

}  // namespace
}  // namespace wordbay
