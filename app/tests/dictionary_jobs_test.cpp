// Update, export, palindromes and identical words on the main dictionary.
#include <gtest/gtest.h>

#include "app/tests/controller_fixture.h"
#include "exchange/import_export.h"
#include "exchange/stardict_reader.h"

namespace wordbay {
namespace {

using testing::ControllerTest;
using Words = std::vector<std::string>;

constexpr SlotId kMain = SlotId::kMain;
constexpr ListSide kPrimary = ListSide::kPrimary;
constexpr ListSide kSecondary = ListSide::kSecondary;

class DictionaryJobsTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        testing::WriteDictionary(DatabasePath("English_Croatian.v03"), {{"house", "kuća"},
                                                                        {"level", "razina"},
                                                                        {"radar", "radar"},
                                                                        {"hotel", "hotel"},
                                                                        {"Taxi", "taksi"}});
        Start("English_Croatian.v03");
        ASSERT_TRUE(controller_->slot(kMain).loaded());
    }
};

// (The window asks before it asks for an update: see the main window's tests.)
TEST_F(DictionaryJobsTest, UpdateMergesAndReportsTheCount) {
    testing::WriteDictionary(PathOf("more.v03"), {{"house", "dom"}, {"dog", "pas"}});
    EXPECT_EQ(controller_->slot(kMain).info_snapshot().primary_word_count, 5u);
    controller_->dictionaries().Update(DB_FORMAT_V03_LOAD, PathOf("more.v03"));
    WaitIdle();
    const std::vector<testing::ShownMessage> messages = view_.Messages();
    ASSERT_GE(messages.size(), 1u);
    EXPECT_EQ(messages.back().text, "Dictionary successfully updated.\n\nAdded translations: 2");
    EXPECT_EQ(messages.back().caption, "Information");
    EXPECT_EQ(controller_->slot(kMain).info_snapshot().primary_word_count, 6u);

    // The result arrays follow the larger dictionary.
    Type(kMain, kPrimary, "d");
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"dog"}));
}

TEST_F(DictionaryJobsTest, SearchesDoNotCutAnUpdateShort) {
    testing::Pairs pairs;
    for (int i = 0; i < 3000; ++i) pairs.push_back({"w" + std::to_string(i), "p"});
    testing::WriteDictionary(PathOf("big.v03"), pairs);
    const int begun = view_.status.progress_begun();
    controller_->dictionaries().Update(DB_FORMAT_V03_LOAD, PathOf("big.v03"));
    while (view_.status.progress_begun() == begun) std::this_thread::yield();
    // The user keeps typing while the merge runs.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!SawMessage("Dictionary successfully updated.") &&
           std::chrono::steady_clock::now() < deadline) {
        Type(kMain, kPrimary, "w");
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    WaitIdle();
    EXPECT_TRUE(SawMessage("Dictionary successfully updated.\n\nAdded translations: 3000"));
    EXPECT_EQ(controller_->slot(kMain).info_snapshot().primary_word_count, 3005u);
}

// An export or an update asked for while a long search runs, and the typing
// that follows at once, each happen: the typing does not take their place.
TEST_F(DictionaryJobsTest, CommandsAskedDuringALongSearchSurviveTyping) {
    view_.status.set_progress_delay(std::chrono::milliseconds(300));
    int begun = view_.status.progress_begun();
    controller_->searches().ListPalindromes();  // each list's pass takes 300 ms
    while (view_.status.progress_begun() == begun) std::this_thread::yield();
    controller_->dictionaries().Export(DB_FORMAT_TXT_SAVE, PathOf("out.txt"));
    Type(kMain, kPrimary, "ho");
    WaitIdle();
    EXPECT_TRUE(std::filesystem::exists(PathOf("out.txt")));
    EXPECT_TRUE(SawMessage("Dictionary successfully exported."));
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"hotel", "house"}));

    testing::WriteDictionary(PathOf("more.v03"), {{"house", "dom"}, {"dog", "pas"}});
    begun = view_.status.progress_begun();
    controller_->searches().ListPalindromes();
    while (view_.status.progress_begun() == begun) std::this_thread::yield();
    controller_->dictionaries().Update(DB_FORMAT_V03_LOAD, PathOf("more.v03"));
    Type(kMain, kPrimary, "d");
    WaitIdle();
    EXPECT_TRUE(SawMessage("Dictionary successfully updated.\n\nAdded translations: 2"));
    EXPECT_EQ(controller_->slot(kMain).info_snapshot().primary_word_count, 6u);
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"dog"}));
}

TEST_F(DictionaryJobsTest, FailedUpdateIsReportedWithTheFile) {
    controller_->dictionaries().Update(DB_FORMAT_V03_LOAD, PathOf("missing.v03"));
    WaitIdle();
    ASSERT_FALSE(view_.Messages().empty());
    const testing::ShownMessage m = view_.Messages().back();
    EXPECT_EQ(m.text.rfind("Dictionary updating error !\n\n" + PathOf("missing.v03"), 0), 0u);
    EXPECT_EQ(m.caption, "Fatal error");
    EXPECT_TRUE(controller_->slot(kMain).loaded());
}

TEST_F(DictionaryJobsTest, ExportWritesTheChosenFormat) {
    controller_->dictionaries().Export(DB_FORMAT_TXT_SAVE, PathOf("out.txt"));
    WaitIdle();
    EXPECT_EQ(Slurp(PathOf("out.txt")).find("house\tkuća\r\n") != std::string::npos, true);
    EXPECT_TRUE(SawMessage("Dictionary successfully exported."));
}

// StarDict and dictd take the direction the window shows; the dictionary
// itself stays as it was.
TEST_F(DictionaryJobsTest, TravellingExportsTakeTheShownDirection) {
    controller_->dictionaries().Export(exchange::kStarDictSave, PathOf("out.ifo"));
    WaitIdle();
    EXPECT_TRUE(SawMessage("Dictionary successfully exported.\n\n5 words"));
    exchange::SourceDictionary read;
    std::string error;
    ASSERT_TRUE(exchange::ReadStarDict(PathOf("out.ifo"), &read, &error)) << error;
    ASSERT_EQ(read.pairs.size(), 5u);
    // hotel, house, level, radar, Taxi.
    EXPECT_EQ(read.pairs[2].word + "=" + read.pairs[2].translation, "level=razina");
    EXPECT_EQ(read.name, "English - Croatian");

    controller_->searches().ToggleDirection(kMain);
    WaitIdle();
    controller_->dictionaries().Export(exchange::kStarDictSave, PathOf("back.ifo"));
    WaitIdle();
    read = {};
    ASSERT_TRUE(exchange::ReadStarDict(PathOf("back.ifo"), &read, &error)) << error;
    ASSERT_EQ(read.pairs.size(), 5u);
    // hotel, kuća, radar, razina, taksi.
    EXPECT_EQ(read.pairs[3].word + "=" + read.pairs[3].translation, "razina=level");
    EXPECT_EQ(read.name, "Croatian - English");
    EXPECT_EQ(DB_IsChanged(controller_->slot(kMain).handle()), 0);

    controller_->dictionaries().Export(exchange::kDictdSave, PathOf("missing/out.index"));
    WaitIdle();
    const testing::ShownMessage m = view_.Messages().back();
    EXPECT_EQ(m.text.rfind("Dictionary saving error !\n\n" + PathOf("missing/out.index"), 0), 0u)
        << m.text;
    EXPECT_NE(m.text.find("Can't write to file " + PathOf("missing/out.dict.dz")),
              std::string::npos)
        << m.text;
}

TEST_F(DictionaryJobsTest, PalindromesAndIdenticalWords) {
    controller_->searches().ListPalindromes();
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"level", "radar"}));
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"radar"}));
    EXPECT_EQ(view_.status.text(), "English: 2   Croatian: 1");

    controller_->searches().ListIdenticalWords();
    WaitIdle();
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"hotel", "radar"}));
    EXPECT_TRUE(view_.panes.List(kMain, kSecondary).empty());
}

TEST_F(DictionaryJobsTest, SaveAsMovesTheSlotToTheNewFile) {
    view_.status.set_save_file_answer(DatabasePath("Copy.v03"));
    controller_->dictionaries().SaveAs();
    WaitIdle();
    EXPECT_TRUE(std::filesystem::exists(DatabasePath("Copy.v03")));
    EXPECT_TRUE(std::filesystem::exists(DatabasePath("Copy.v03.ini")));
    EXPECT_EQ(controller_->slot(kMain).file_name(), "Copy.v03");
    EXPECT_EQ(controller_->settings().dictionary_state().current, "Copy.v03");
}

}  // namespace
}  // namespace wordbay
