#include "app/program_settings.h"

#include <gtest/gtest.h>

#include "app/tests/test_files.h"

namespace wordbay {
namespace {

// A 1280 x 1024 screen whose usable area leaves out a task bar.
constexpr ScreenMetrics kScreen{1280, 994, 1292, 1036};

class ProgramSettingsTest : public testing::ScratchDirTest {
protected:
    ProgramSettings ReadFrom(const std::string& text) {
        Spill(PathOf("wordbay.ini"), text);
        return ReadProgramSettings(SettingsFile(PathOf("wordbay.ini")), kScreen);
    }
};

TEST_F(ProgramSettingsTest, SearchDepthIsClampedToOneToTen) {
    EXPECT_EQ(ReadFrom("[options]\ndeepsearch=0\n").search_depth, 1);
    EXPECT_EQ(ReadFrom("[options]\ndeepsearch=25\n").search_depth, 10);
    EXPECT_EQ(ReadFrom("[options]\ndeepsearch=7\n").search_depth, 7);
    EXPECT_EQ(ReadFrom("").history_size, 1000);
    EXPECT_EQ(ReadFrom("[options]\nhistorysize=-4\n").history_size, 0);
    EXPECT_EQ(ReadFrom("[options]\nhistorysize=999999999\n").history_size, 100000);
}

TEST_F(ProgramSettingsTest, RegexAndWildcardsAlwaysStartOff) {
    ProgramSettings s = ReadFrom("[options]\nuseregex=1\nusewildcards=1\ncasesensitive=1\n");
    EXPECT_FALSE(s.use_regex);
    EXPECT_FALSE(s.use_wildcards);
    EXPECT_TRUE(s.case_sensitive);
    // A close writes the modes in use at that moment.
    s.use_wildcards = true;
    WriteProgramSettings(SettingsFile(PathOf("wordbay.ini")), s, false);
    const std::string text = Slurp(PathOf("wordbay.ini"));
    EXPECT_NE(text.find("useregex=0\nusewildcards=1\n"), std::string::npos) << text;
}

TEST_F(ProgramSettingsTest, SpeechOverrideIsReadButNeverWritten) {
    EXPECT_TRUE(ReadFrom("[options]\nusespeech=0\n[speech]\nacitvate=1\n").use_speech);
    EXPECT_FALSE(ReadFrom("[options]\nusespeech=1\n[speech]\nacitvate=0\n").use_speech);
    EXPECT_TRUE(ReadFrom("[options]\nusespeech=1\n[speech]\nacitvate=\n").use_speech);
    const ProgramSettings s = ReadFrom("[speech]\nacitvate=1\n");
    WriteProgramSettings(SettingsFile(PathOf("wordbay.ini")), s, false);
    const std::string text = Slurp(PathOf("wordbay.ini"));
    EXPECT_NE(text.find("[speech]\nacitvate=1\n"), std::string::npos);  // left as it was
    EXPECT_NE(text.find("usespeech=1\n"), std::string::npos);
}

TEST_F(ProgramSettingsTest, MainWindowPlaceIsClamped) {
    ProgramSettings s = ReadFrom("[size]\ncx=100\ncy=100\nx=-5\ny=-5\n");
    EXPECT_EQ(s.width, 592);
    EXPECT_EQ(s.height, 250);
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.y, 0);
    // The size is cut to the largest window first; x and y are clamped against it.
    s = ReadFrom("[size]\ncx=4000\ncy=4000\nx=5000\ny=5000\n");
    EXPECT_EQ(s.width, 1292);
    EXPECT_EQ(s.height, 1036);
    EXPECT_EQ(s.x, 1280 - 1292 / 2);
    EXPECT_EQ(s.y, 994 - 1036 / 2);
}

TEST_F(ProgramSettingsTest, TextWindowEdgesRoundTripAndAreClamped) {
    ProgramSettings s;
    s.text_left = 10;
    s.text_top = 20;
    s.text_right = 600;
    s.text_bottom = 500;
    WriteProgramSettings(SettingsFile(PathOf("wordbay.ini")), s, false);
    const ProgramSettings back = ReadProgramSettings(SettingsFile(PathOf("wordbay.ini")), kScreen);
    EXPECT_EQ(back.text_left, 10);
    EXPECT_EQ(back.text_top, 20);
    EXPECT_EQ(back.text_right, 600);
    EXPECT_EQ(back.text_bottom, 500);

    EXPECT_EQ(ReadFrom("[sizetext]\nw=300\n").text_right, 526);
    s = ReadFrom("[sizetext]\nx=-1\ny=5000\nw=5000\nh=-3\n");
    EXPECT_EQ(s.text_left, 0);
    EXPECT_EQ(s.text_top, 0);
    EXPECT_EQ(s.text_right, 1292);
    EXPECT_EQ(s.text_bottom, 1036);
}

TEST_F(ProgramSettingsTest, FreshFileIsWrittenInTheFixedOrder) {
    ProgramSettings s;
    s.language = "Hrvatski.txt";
    s.current = "English_Croatian.v03";
    s.dual = true;
    s.dual_name = "German_English.v03";
    s.x = 40;
    s.y = 30;
    WriteProgramSettings(SettingsFile(PathOf("wordbay.ini")), s, false);
    EXPECT_EQ(Slurp(PathOf("wordbay.ini")),
              "[dictionary]\nconvertv2=0\nlanguage=Hrvatski.txt\ncurrent=English_Croatian.v03\n"
              "dual=1\nlink=0\nmultiple=0\ndualname=German_English.v03\n"
              "[sizetext]\nx=0\ny=0\nw=526\nh=400\n"
              "[options]\nshowtext=0\nshowsplash=1\nww1=0\nww2=0\nfromcursor=0\nbrzo=1\n"
              "jedandodrugoga=1\ndeepsearch=5\nminimizetotray=1\nignoreacc=1\nuseregex=0\n"
              "usewildcards=0\nuseclipboard=0\ncasesensitive=0\nautotranslate=0\n"
              "uvijeknavrhu=0\nmovepopuptocursor=0\nmovetooltiptocursor=0\n"
              "popupuvijeknavrhu=0\ntooltipuvijeknavrhu=0\nusespeech=0\nhistorysize=1000\n"
              "[hotkey]\nusehotkeys=1\nhotkeyactivate=1\nkey1=1\nkey2=3\nkey3=0\n"
              "[size]\nx=40\ny=30\ncx=592\ncy=350\nmaximized=0\n");
}

TEST_F(ProgramSettingsTest, WritingKeepsCommentsAndUnknownKeysInPlace) {
    const std::string before =
        "; my settings\n"
        "[options]\n"
        "favourite=blue\n"
        "DeepSearch=9\n"
        "; about the hot keys\n"
        "[hotkey]\n"
        "key2=2\n"
        "extra=yes\n"
        "\n"
        "[mine]\n"
        "keep=1\n";
    ProgramSettings s = ReadFrom(before);
    EXPECT_EQ(s.search_depth, 9);
    EXPECT_EQ(s.key2, 2);
    WriteProgramSettings(SettingsFile(PathOf("wordbay.ini")), s, false);
    const std::string after = Slurp(PathOf("wordbay.ini"));
    EXPECT_EQ(
        after.rfind("; my settings\n[options]\nfavourite=blue\nDeepSearch=9\nshowtext=0\n", 0), 0u)
        << after;
    EXPECT_NE(after.find("; about the hot keys\n[hotkey]\nkey2=2\nextra=yes\nusehotkeys=1\n"),
              std::string::npos);
    EXPECT_NE(after.find("\n\n[mine]\nkeep=1\n[dictionary]\n"), std::string::npos);
}

TEST_F(ProgramSettingsTest, ClosingMaximisedOrMinimisedKeepsTheLastPlace) {
    Spill(PathOf("wordbay.ini"), "[size]\nx=11\ny=12\ncx=700\ncy=500\nmaximized=1\n");
    ProgramSettings s = ReadProgramSettings(SettingsFile(PathOf("wordbay.ini")), kScreen);
    s.x = s.y = 0;
    s.width = 1280;
    s.height = 994;
    s.maximized = false;
    WriteProgramSettings(SettingsFile(PathOf("wordbay.ini")), s, true);  // minimised
    EXPECT_EQ(
        Slurp(PathOf("wordbay.ini")).rfind("[size]\nx=11\ny=12\ncx=700\ncy=500\nmaximized=0\n[", 0),
        0u);
    s.maximized = true;
    WriteProgramSettings(SettingsFile(PathOf("wordbay.ini")), s, false);
    EXPECT_EQ(
        Slurp(PathOf("wordbay.ini")).rfind("[size]\nx=11\ny=12\ncx=700\ncy=500\nmaximized=1\n[", 0),
        0u);
}

TEST_F(ProgramSettingsTest, DualNameIsWrittenOnlyInDualMode) {
    ProgramSettings s;
    s.dual_name = "German_English.v03";
    WriteProgramSettings(SettingsFile(PathOf("wordbay.ini")), s, false);
    EXPECT_EQ(Slurp(PathOf("wordbay.ini")).find("dualname"), std::string::npos);
}

TEST_F(ProgramSettingsTest, PopupAndTooltipPlacesAreClamped) {
    Spill(PathOf("wordbay.ini"),
          "[sizep]\nx=-4\ny=2000\ncx=10\ncy=5000\n[sizet]\nx=5000\ny=-1\ncx=1\ncy=9999\n");
    const SettingsFile file(PathOf("wordbay.ini"));
    const WindowPlace popup = ReadPopupPlace(file, kScreen);
    EXPECT_EQ(popup.width, 155);
    EXPECT_EQ(popup.height, 1036 - 150);
    EXPECT_EQ(popup.x, 0);
    EXPECT_EQ(popup.y, 994 - (1036 - 150));
    const WindowPlace tooltip = ReadTooltipPlace(file, kScreen);
    EXPECT_EQ(tooltip.width, 60);
    EXPECT_EQ(tooltip.height, 1036);
    EXPECT_EQ(tooltip.x, 1280 - 150);
    EXPECT_EQ(tooltip.y, 0);

    const SettingsFile empty(PathOf("empty.ini"));
    const WindowPlace p = ReadPopupPlace(empty, kScreen);
    EXPECT_EQ(p.width, 170);
    EXPECT_EQ(p.height, 210);
    WritePopupPlace(empty, {5, 6, 300, 200});
    WriteTooltipPlace(empty, {7, 8, 100, 90});
    ASSERT_TRUE(empty.Flush());
    EXPECT_EQ(Slurp(empty.path()),
              "[sizep]\nx=5\ny=6\ncx=300\ncy=200\n[sizet]\nx=7\ny=8\ncx=100\ncy=90\n");
}

}  // namespace
}  // namespace wordbay
