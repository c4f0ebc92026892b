// The parts of the controller that turn what the user does into requests,
// each on its own: what they post, and what they change in the window at once;
// and the parts that tell the window about the lists and the work.
#include <gtest/gtest.h>

#include <variant>
#include <vector>

#include "app/dictionary_requests.h"
#include "app/listing_jobs.h"
#include "app/message_box_style.h"
#include "app/questions.h"
#include "app/search_requests.h"
#include "app/tests/fake_window.h"
#include "app/tests/test_dictionaries.h"
#include "app/tests/test_files.h"
#include "app/word_form_jobs.h"

namespace wordbay::testing {
namespace {

constexpr SlotId kMain = SlotId::kMain;
constexpr SlotId kDual = SlotId::kDual;
constexpr ListSide kPrimary = ListSide::kPrimary;
constexpr ListSide kSecondary = ListSide::kSecondary;

// The worker's queues, recorded.
class RecordedQueue : public RequestQueue {
public:
    void Post(SearchRequest request) override { searches.push_back(std::move(request)); }
    void Post(CommandRequest request) override { commands.push_back(std::move(request)); }

    std::vector<SearchRequest> searches;
    std::vector<CommandRequest> commands;
};

class RequestPartsTest : public ScratchDirTest {
protected:
    // Opens a small dictionary in the main slot, as a load does.
    void LoadMain() {
        const std::string path = PathOf("d.v03");
        WriteDictionary(path, {{"house", "dom"}, {"hour", "sat"}});
        auto fresh = std::make_shared<EngineHandle>();
        ASSERT_NE(DB_Load(fresh->get(), DB_FORMAT_V03_LOAD, path.c_str(), 0, 0)->status, 0);
        DICTIONARY_INFO info{};
        DB_GetDictionaryInfo(fresh->get(), &info);
        dictionaries_.main().SetInfo(info);
        dictionaries_.main().SetPath(path);
        dictionaries_.main().ReplaceHandle(std::move(fresh));
        ASSERT_TRUE(dictionaries_.main().loaded());
    }

    Dictionaries dictionaries_;
    SharedSettings settings_;
    FakeWindow window_;
    ListDisplay lists_{&window_.panes, &window_.hot_key};
    StartupImage image_;
    WindowReport report_{&window_.status, &dictionaries_, &settings_, &lists_, &image_};
    RecordedQueue queue_;
    ProgramSettings program_;
    std::atomic<unsigned> epoch_{3};
    SearchRequests searches_{&dictionaries_,   &settings_, &lists_, &report_,  &window_.panes,
                             &window_.hot_key, &image_,    &queue_, &program_, &epoch_};
    DictionaryRequests requests_{&dictionaries_, &lists_, &queue_, &epoch_};
    std::vector<std::string> translated_;
    WordFormJobs word_forms_{&dictionaries_,
                             &lists_,
                             &report_,
                             &window_.panes,
                             &window_.word_forms,
                             [this](const TranslateWord& r) { translated_.push_back(r.word); }};
    bool newer_search_ = false;
    ListingJobs listing_{&dictionaries_,
                         &settings_,
                         &lists_,
                         &report_,
                         &window_.panes,
                         &window_.hot_key,
                         &window_.word_forms,
                         [this] { return newer_search_; }};
};

TEST_F(RequestPartsTest, TypingAsksForTheTextWithTheOptionsOfThisMoment) {
    LoadMain();
    SearchOptions o;
    o.wildcards = true;
    settings_.SetOptions(o);
    settings_.SetHotKeyPending(true);
    program_.hot_key_target = HotKeyTarget::kTooltip;
    searches_.Typed(kMain, kSecondary, "sa*");
    ASSERT_EQ(queue_.searches.size(), 1u);
    const auto* list = std::get_if<ListWords>(&queue_.searches[0]);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->slot, kMain);
    EXPECT_EQ(list->side, kSecondary);
    EXPECT_EQ(list->text, "sa*");
    EXPECT_TRUE(list->options.wildcards);
    EXPECT_TRUE(list->hot_key.pending);
    EXPECT_EQ(list->hot_key.target, HotKeyTarget::kTooltip);
    EXPECT_EQ(list->epoch, 3u);

    // Selecting a word writes it into its box and translates it.
    searches_.Selected(kMain, kPrimary, "house");
    ASSERT_EQ(queue_.searches.size(), 2u);
    const auto* translate = std::get_if<TranslateWord>(&queue_.searches[1]);
    ASSERT_NE(translate, nullptr);
    EXPECT_EQ(translate->word, "house");
    EXPECT_EQ(window_.panes.EditText(kMain, kPrimary), "house");
}

TEST_F(RequestPartsTest, EditModeSearchesOnlyFromTheSourceSideAndAfresh) {
    LoadMain();
    SearchOptions o;
    o.edit_mode = true;
    settings_.SetOptions(o);
    window_.panes.SetEditText(kMain, kSecondary, "dom");
    searches_.Typed(kMain, kSecondary, "d");
    searches_.Selected(kMain, kSecondary, "dom");
    EXPECT_TRUE(queue_.searches.empty());

    searches_.Typed(kMain, kPrimary, "ho");
    EXPECT_EQ(queue_.searches.size(), 1u);
    EXPECT_EQ(window_.panes.EditText(kMain, kSecondary), "");
    EXPECT_EQ(window_.panes.emptied(kMain, kSecondary), 1);
}

TEST_F(RequestPartsTest, TextTypedBeforeTheLoadIsSearchedOnceItIsDone) {
    searches_.Typed(kDual, kPrimary, "hou");
    searches_.Typed(kDual, kPrimary, "house");
    EXPECT_TRUE(queue_.searches.empty());
    EXPECT_TRUE(searches_.waiting_for_load(kDual));
    EXPECT_FALSE(searches_.waiting_for_load(kMain));

    SearchOptions o;
    o.case_sensitive = true;
    settings_.SetOptions(o);
    epoch_ = 5;
    searches_.SearchTypedWhileLoading(kDual);
    ASSERT_EQ(queue_.searches.size(), 1u);
    const auto* list = std::get_if<ListWords>(&queue_.searches[0]);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text, "house");
    EXPECT_TRUE(list->options.case_sensitive);  // as the options are now
    EXPECT_EQ(list->epoch, 5u);
    EXPECT_FALSE(searches_.waiting_for_load(kDual));
    searches_.SearchTypedWhileLoading(kDual);
    EXPECT_EQ(queue_.searches.size(), 1u);
}

TEST_F(RequestPartsTest, ChangesInPlaceEmptyTheListsAndBeginANewEpoch) {
    LoadMain();
    requests_.Export(DB_FORMAT_TXT_SAVE, "out.txt");
    EXPECT_EQ(epoch_.load(), 3u);
    requests_.Update(DB_FORMAT_V03_LOAD, "more.v03");
    EXPECT_EQ(epoch_.load(), 4u);
    EXPECT_EQ(window_.panes.emptied(kMain, kPrimary), 1);
    EXPECT_EQ(window_.panes.emptied(kMain, kSecondary), 1);
    EXPECT_EQ(window_.panes.emptied(kDual, kPrimary), 0);  // no dual dictionary
    requests_.Resort(2);
    EXPECT_EQ(epoch_.load(), 5u);
    requests_.Answer(7, kIdYes);

    // Every command waits in turn.
    ASSERT_EQ(queue_.commands.size(), 4u);
    EXPECT_TRUE(std::holds_alternative<Export>(queue_.commands[0]));
    EXPECT_TRUE(std::holds_alternative<Update>(queue_.commands[1]));
    EXPECT_EQ(std::get<Resort>(queue_.commands[2]).lists, 2);
    EXPECT_EQ(std::get<Answer>(queue_.commands[3]).ticket, 7);

    const Message question = UpdateQuestion(dictionaries_.main(), "/x/more.v03");
    EXPECT_EQ(question.text,
              "Do you want to update the dictionary\n\nEnglish - Croatian\n\nwith file:\n\n"
              "/x/more.v03");
    EXPECT_EQ(question.caption, "Update dictionary ?");
}

TEST_F(RequestPartsTest, AQuestionsAnswerRunsWhatWaitedForIt) {
    Questions questions(&window_.status);
    int answered = 0;
    questions.Ask({"Sure?", "Question", kMbYesNo}, [&](const Answer& a) { answered = a.button; });
    EXPECT_TRUE(questions.waiting());
    ASSERT_EQ(window_.status.tickets().size(), 1u);
    const int ticket = window_.status.tickets()[0];
    EXPECT_FALSE(questions.Answered({ticket + 1, kIdYes, ""}));
    EXPECT_TRUE(questions.Answered({ticket, kIdYes, ""}));
    EXPECT_EQ(answered, kIdYes);
    EXPECT_FALSE(questions.waiting());
    EXPECT_FALSE(questions.Answered({ticket, kIdNo, ""}));  // once only
    EXPECT_EQ(answered, kIdYes);
}

// ---- What the window is told ------------------------------------------------

TEST_F(RequestPartsTest, TheStatusLineCountsWhatTheListsShow) {
    report_.RefreshStatus();
    EXPECT_EQ(window_.status.text(), "Dictionary not loaded");
    LoadMain();
    lists_.Show(kMain, kPrimary, WordList::Copy({"house", "hour"}, 3));
    lists_.Show(kMain, kSecondary, WordList::Copy({"dom"}, 3));
    report_.RefreshStatus();
    EXPECT_EQ(window_.status.text(), "English: 2   Croatian: 1");
    EXPECT_EQ(window_.panes.List(kMain, kPrimary), (std::vector<std::string>{"house", "hour"}));

    lists_.ClearList(kMain, kPrimary);
    report_.RefreshStatus();
    EXPECT_EQ(window_.status.text(), "English: 0   Croatian: 1");
    EXPECT_TRUE(window_.panes.List(kMain, kPrimary).empty());
}

TEST_F(RequestPartsTest, ClearingASlotEmptiesItsListsAndTheHotKeyWindowOnly) {
    lists_.Show(kMain, kPrimary, WordList::Copy({"house"}, 3));
    lists_.Show(kMain, kSecondary, WordList::Copy({"dom"}, 3));
    lists_.Show(kDual, kPrimary, WordList::Copy({"kuca"}, 3));
    window_.hot_key.HotKeyShowText("house");
    window_.panes.SetEditText(kMain, kPrimary, "hou");

    lists_.ClearSlot(kMain);
    for (const ListSide side : {kPrimary, kSecondary}) {
        EXPECT_TRUE(window_.panes.List(kMain, side).empty());
        EXPECT_EQ(lists_.shown_count(kMain, side), 0);
        EXPECT_TRUE(lists_.shown(kMain, side).empty());
    }
    EXPECT_EQ(window_.hot_key.text(), "");
    // The other slot and the typed text stay.
    EXPECT_EQ(window_.panes.List(kDual, kPrimary), std::vector<std::string>{"kuca"});
    EXPECT_EQ(lists_.shown_count(kDual, kPrimary), 1);
    EXPECT_EQ(window_.panes.EditText(kMain, kPrimary), "hou");

    lists_.ClearEdit(kMain, kPrimary);
    EXPECT_EQ(window_.panes.EditText(kMain, kPrimary), "");
}

TEST_F(RequestPartsTest, AnEngineFailureSaysWhatFailedWhereAndWhy) {
    report_.EngineError(TextId::MSG_DICTIONARY_LOADING_ERROR, "/x/d.v03", "No such file");
    report_.EngineError(TextId::MSG_DICTIONARY_LOADING_ERROR, "", nullptr);
    const std::vector<ShownMessage> shown = window_.Messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Dictionary loading error !\n\n/x/d.v03\n\nNo such file");
    EXPECT_EQ(shown[0].caption, "Fatal error");
    EXPECT_EQ(shown[0].style, kMbOk | kMbIconStop);
    EXPECT_EQ(shown[1].text, "Dictionary loading error !");

    report_.Beep();
    EXPECT_EQ(window_.status.beeps(), 1);
    EXPECT_EQ(report_.progress(), -1);  // no engine call under way
}

// ---- The searches on the worker -------------------------------------------

TEST_F(RequestPartsTest, AListingTranslatesOnlyAnExactWordAndNamesIt) {
    LoadMain();
    SearchOptions o;
    o.auto_translate = true;
    listing_.List({kMain, kPrimary, "hou", o, {}, 3});
    EXPECT_EQ(window_.panes.List(kMain, kPrimary), (std::vector<std::string>{"hour", "house"}));
    EXPECT_TRUE(window_.panes.List(kMain, kSecondary).empty());
    EXPECT_TRUE(window_.panes.translations_shown().empty());

    listing_.List({kMain, kPrimary, "house", o, {}, 3});
    EXPECT_EQ(window_.panes.List(kMain, kPrimary), std::vector<std::string>{"house"});
    EXPECT_EQ(window_.panes.SelectedIndex(kMain, kPrimary), 0);
    EXPECT_EQ(window_.panes.List(kMain, kSecondary), std::vector<std::string>{"dom"});
    EXPECT_EQ(window_.panes.EditText(kMain, kSecondary), "dom");
    EXPECT_EQ(window_.panes.translations_shown(),
              std::vector<FakePanes::Key>{FakePanes::KeyOf(kMain, kPrimary)});
    EXPECT_EQ(lists_.shown_count(kMain, kSecondary), 1);
    // Nothing went to the hot-key window, which nobody called.
    EXPECT_TRUE(window_.hot_key.list().empty());
}

TEST_F(RequestPartsTest, ANewerSearchMakesTheTranslationMoot) {
    LoadMain();
    SearchOptions o;
    o.auto_translate = true;
    newer_search_ = true;
    listing_.List({kMain, kPrimary, "house", o, {}, 3});
    EXPECT_EQ(window_.panes.List(kMain, kPrimary), std::vector<std::string>{"house"});
    EXPECT_TRUE(window_.panes.List(kMain, kSecondary).empty());
    EXPECT_TRUE(window_.panes.translations_shown().empty());
}

TEST_F(RequestPartsTest, TheHotKeysSearchFillsTheWindowItCalled) {
    LoadMain();
    SearchOptions o;  // without automatic translation: the hot key translates all the same
    listing_.List({kMain, kPrimary, "hour", o, {true, HotKeyTarget::kPopup}, 3});
    EXPECT_EQ(window_.hot_key.text(), "hour");
    EXPECT_EQ(window_.hot_key.list(), std::vector<std::string>{"sat"});
    EXPECT_EQ(window_.panes.List(kMain, kSecondary), std::vector<std::string>{"sat"});

    // Called into the main window, the hot key leaves the popup empty.
    listing_.List({kMain, kPrimary, "house", o, {true, HotKeyTarget::kMainWindow}, 3});
    EXPECT_TRUE(window_.hot_key.list().empty());
    EXPECT_EQ(window_.panes.List(kMain, kSecondary), std::vector<std::string>{"dom"});
}

// The user types on in the popup while the worker still lists what was
// typed before: that older search ends its own call, not the newer one,
// whose answer still goes to the popup.
TEST_F(RequestPartsTest, AnOlderSearchLeavesTheCallTypedAfterItPending) {
    LoadMain();
    program_.hot_key_target = HotKeyTarget::kPopup;
    SearchOptions o;
    settings_.SetOptions(o);
    settings_.SetHotKeyPending(true);
    searches_.Typed(kMain, kPrimary, "");
    ASSERT_EQ(queue_.searches.size(), 1u);
    const ListWords emptied = std::get<ListWords>(queue_.searches[0]);
    settings_.SetHotKeyPending(true);  // "hour" typed into the popup
    listing_.List(emptied);
    EXPECT_TRUE(settings_.hot_key_pending());
    searches_.Typed(kMain, kPrimary, "hour");
    ASSERT_EQ(queue_.searches.size(), 2u);
    const ListWords hour = std::get<ListWords>(queue_.searches[1]);
    EXPECT_TRUE(hour.hot_key.pending);
    listing_.List(hour);
    EXPECT_EQ(window_.hot_key.list(), std::vector<std::string>{"sat"});
    // Its answer shown, the call is over.
    EXPECT_FALSE(settings_.hot_key_pending());
}

// Word forms with the tables and rules alone, whatever spellers the machine has.
class WordFormPartTest : public RequestPartsTest {
protected:
    void SetUp() override {
        RequestPartsTest::SetUp();
        ::setenv("WORDBAY_HUNSPELL_DIRS", PathOf("no-spellers").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("WORDBAY_HUNSPELL_DIRS");
        RequestPartsTest::TearDown();
    }
};

TEST_F(WordFormPartTest, AFormGoesToItsBaseWordAndSaysSo) {
    LoadMain();
    SearchOptions o;
    o.auto_translate = true;
    ASSERT_TRUE(word_forms_.GoToBaseWord({kMain, kPrimary, "houses", o, {}, 3}, false));
    EXPECT_EQ(window_.panes.List(kMain, kPrimary), std::vector<std::string>{"house"});
    EXPECT_EQ(window_.panes.SelectedIndex(kMain, kPrimary), 0);
    EXPECT_EQ(translated_, std::vector<std::string>{"house"});
    EXPECT_EQ(window_.word_forms.note().base, "house");
    EXPECT_FALSE(window_.word_forms.note().hot_key);
    report_.RefreshStatus();
    EXPECT_EQ(window_.status.text(), "English: 1   Croatian: 0   houses: form of house");

    // A new search takes back what the look-up said.
    word_forms_.Clear(false);
    EXPECT_TRUE(window_.word_forms.note().empty());
    report_.RefreshStatus();
    EXPECT_EQ(window_.status.text(), "English: 1   Croatian: 0");
}

TEST_F(WordFormPartTest, AWordOfNoFormIsSuggestedForOnlyWhenAsked) {
    LoadMain();
    SearchOptions o;
    EXPECT_FALSE(word_forms_.GoToBaseWord({kMain, kPrimary, "huose", o, {}, 3}, false));
    EXPECT_TRUE(window_.word_forms.note().empty());
    EXPECT_FALSE(word_forms_.GoToBaseWord({kMain, kPrimary, "huose", o, {}, 3}, true));
    const std::vector<std::string> suggestions = window_.word_forms.note().suggestions;
    ASSERT_FALSE(suggestions.empty());
    EXPECT_EQ(suggestions.front(), "house");
    EXPECT_TRUE(translated_.empty());
}

}  // namespace
}  // namespace wordbay::testing
