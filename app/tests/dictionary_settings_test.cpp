#include "app/dictionary_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/tests/test_files.h"

namespace wordbay {
namespace {

constexpr std::uint32_t kAnsi = 0;
constexpr std::uint32_t kEastEurope = 238;
constexpr std::uint32_t kThai = 222;

// Installed faces per character set, in enumeration order.
class FakeFonts : public FontCatalog {
public:
    explicit FakeFonts(std::map<std::uint32_t, std::vector<std::string>> faces,
                       std::string desktop = std::string())
        : faces_(std::move(faces)), desktop_(std::move(desktop)) {}

    bool HasFace(std::string_view face, std::uint32_t charset) const override {
        const auto it = faces_.find(charset);
        if (it == faces_.end()) return false;
        for (const std::string& f : it->second) {
            if (f == face) return true;
        }
        return false;
    }
    std::string FirstFace(std::uint32_t charset) const override {
        const auto it = faces_.find(charset);
        return it == faces_.end() || it->second.empty() ? "" : it->second.front();
    }
    std::string DesktopFace(std::uint32_t charset) const override {
        return HasFace(desktop_, charset) ? desktop_ : "";
    }

private:
    std::map<std::uint32_t, std::vector<std::string>> faces_;
    std::string desktop_;
};

const FakeFonts kWindowsFonts({
    {kAnsi, {"Arial", "Ms Sans Serif", "Tahoma", "Times New Roman", "Verdana"}},
    {kEastEurope, {"Arial", "Tahoma", "Verdana"}},
    {kThai, {"Angsana New", "Tahoma"}},
});

class DictionarySettingsTest : public testing::ScratchDirTest {
protected:
    DictionarySettings ReadFrom(const std::string& text, const ListCharsets& charsets,
                                const FontCatalog& fonts, bool dual, bool* warning) {
        Spill(PathOf("d.v03.ini"), text);
        return ReadDictionarySettings(SettingsFile(PathOf("d.v03.ini")), "d.v03", charsets, fonts,
                                      dual, warning);
    }
};

TEST(DictionarySettingsNamingTest, SettingsLiveBesideTheDictionary) {
    const std::string dictionary = "/opt/wordbay/database/English_Croatian.v03";
    EXPECT_EQ(DictionarySettingsPath(dictionary), "/opt/wordbay/database/English_Croatian.v03.ini");
    EXPECT_EQ(DictionarySettingsSection(dictionary), "English_Croatian.v03");
    EXPECT_EQ(DictionarySettingsSection("plain.v03"), "plain.v03");
}

TEST(DictionarySettingsNamingTest, FaceFallBackFollowsTheChain) {
    EXPECT_EQ(ChooseFontFace("Verdana", kEastEurope, kWindowsFonts), "Verdana");
    EXPECT_EQ(ChooseFontFace("Ms Sans Serif", kEastEurope, kWindowsFonts), "Tahoma");
    const FakeFonts no_tahoma({{kEastEurope, {"Courier", "Times New Roman", "Arial"}}});
    EXPECT_EQ(ChooseFontFace("Ms Sans Serif", kEastEurope, no_tahoma), "Arial");
    const FakeFonts only_times({{kEastEurope, {"Courier", "Times New Roman"}}});
    EXPECT_EQ(ChooseFontFace("", kEastEurope, only_times), "Times New Roman");
    const FakeFonts odd({{kThai, {"Angsana New", "Cordia New"}}});
    EXPECT_EQ(ChooseFontFace("Ms Sans Serif", kThai, odd), "Angsana New");
    EXPECT_EQ(ChooseFontFace("Ms Sans Serif", kThai, FakeFonts({})), std::nullopt);
}

// On a desktop the stored face still wins; without it the desktop's own sans
// family comes before the chain and before the enumeration's first (serif)
// face, as long as it can show the list's script.
TEST(DictionarySettingsNamingTest, TheDesktopFamilyComesBeforeTheChain) {
    const FakeFonts desktop(
        {{kEastEurope, {"C059", "DejaVu Sans", "Arial", "Verdana"}}, {kThai, {"Garuda", "Loma"}}},
        "DejaVu Sans");
    EXPECT_EQ(ChooseFontFace("Verdana", kEastEurope, desktop), "Verdana");
    EXPECT_EQ(ChooseFontFace("Ms Sans Serif", kEastEurope, desktop), "DejaVu Sans");
    EXPECT_EQ(ChooseFontFace("", kEastEurope, desktop), "DejaVu Sans");
    EXPECT_EQ(ChooseFontFace("Ms Sans Serif", kThai, desktop), "Garuda");
}

TEST_F(DictionarySettingsTest, MissingFileGivesDefaultsWithTheFaceFallBack) {
    bool warning = true;
    const DictionarySettings s = ReadFrom("", {kAnsi, kEastEurope}, kWindowsFonts, false, &warning);
    EXPECT_FALSE(warning);
    EXPECT_EQ(s.view.font(ViewFont::kEdit1).face, "Ms Sans Serif");
    EXPECT_EQ(s.view.font(ViewFont::kEdit1).charset, kAnsi);
    EXPECT_EQ(s.view.font(ViewFont::kEdit2).face, "Tahoma");  // no Ms Sans Serif for 238
    EXPECT_EQ(s.view.font(ViewFont::kEdit2).charset, kEastEurope);
    EXPECT_EQ(s.voice(ListSide::kPrimary, SpeechEngine::kSapi4).speed, 170);
    EXPECT_EQ(s.voice(ListSide::kSecondary, SpeechEngine::kSapi4).speed, 180);
}

TEST_F(DictionarySettingsTest, StoredValuesAreReadAndThePatternIndexChecked) {
    bool warning = false;
    DictionarySettings s = ReadFrom(
        "[D.V03]\n"
        "listbox2_fontname=Verdana\nlistbox2_fontsize=12\nlistbox2_fontweight=700\n"
        "listbox2_fontitalic=1\nlistbox2_fontcolor=255\n"
        "edit1_bgcolor=16119285\nmain_use_system_colors=0\n"
        "tooltip_pattern_index=35\nprimary_to_secondary=0\ndualprimarytosecondary=1\n"
        "[sapi5]\nuse_secondary=1\nvoice_id_secondary=voice one\nsapi5_speed_secondary=3\n",
        {kAnsi, kEastEurope}, kWindowsFonts, false, &warning);
    const FontSetting& list2 = s.view.font(ViewFont::kListBox2);
    EXPECT_EQ(list2.face, "Verdana");
    EXPECT_EQ(list2.size, 12);
    EXPECT_EQ(list2.weight, 700);
    EXPECT_TRUE(list2.italic);
    EXPECT_FALSE(list2.underline);
    EXPECT_EQ(list2.color, 255u);
    EXPECT_EQ(s.view.color(ViewColor::kEdit1Background), 0xF5F5F5u);
    EXPECT_FALSE(s.view.flag(ViewFlag::kMainUseSystemColors));
    EXPECT_EQ(s.view.tooltip_pattern_index, 0);
    EXPECT_FALSE(s.primary_to_secondary);  // the dual key is read for the dual dictionary only
    const SpeechVoice& voice = s.voice(ListSide::kSecondary, SpeechEngine::kSapi5);
    EXPECT_TRUE(voice.use);
    EXPECT_EQ(voice.voice_id, "voice one");
    EXPECT_EQ(voice.speed, 3);
    EXPECT_EQ(voice.volume, 100);

    s = ReadFrom(
        "[d.v03]\nprimary_to_secondary=0\ndualprimarytosecondary=1\n"
        "tooltip_pattern_index=34\n",
        {kAnsi, kAnsi}, kWindowsFonts, true, &warning);
    EXPECT_TRUE(s.primary_to_secondary);
    EXPECT_EQ(s.view.tooltip_pattern_index, 34);
}

TEST_F(DictionarySettingsTest, OddCharacterSetTakesItsFirstFaceWithoutWarning) {
    bool warning = true;
    const FakeFonts fonts({{kThai, {"Angsana New", "Cordia New"}}});
    const DictionarySettings s =
        ReadFrom("[d.v03]\nedit1_fontname=Courier\n", {kThai, kThai}, fonts, false, &warning);
    EXPECT_FALSE(warning);
    EXPECT_EQ(s.view.font(ViewFont::kEdit1).face, "Angsana New");
    EXPECT_EQ(s.view.font(ViewFont::kTooltipListBoxSecondary).face, "Angsana New");
}

TEST_F(DictionarySettingsTest, WarnsOnlyWhenStoredAndDefaultFontsBothFail) {
    bool warning = false;
    const FakeFonts no_thai({{kAnsi, {"Arial"}}});
    const DictionarySettings s = ReadFrom("[d.v03]\nedit1_fontsize=14\nedit2_fontname=Arial\n",
                                          {kThai, kAnsi}, no_thai, false, &warning);
    EXPECT_TRUE(warning);
    // The failed font keeps its default; the other list's font is read.
    EXPECT_EQ(s.view.font(ViewFont::kEdit1).size, 8);
    EXPECT_EQ(s.view.font(ViewFont::kEdit2).face, "Arial");
}

TEST_F(DictionarySettingsTest, WrittenSettingsReadBackInTheFixedOrder) {
    DictionarySettings s;
    s.primary_to_secondary = false;
    s.view.font(ViewFont::kPopupEditSecondary).face = "Verdana";
    s.view.font(ViewFont::kPopupEditSecondary).strikeout = true;
    s.view.color(ViewColor::kTooltipBackground2Secondary) = 0x123456;
    s.view.tooltip_pattern_index = 7;
    s.voice(ListSide::kPrimary, SpeechEngine::kEspeak).voice_id = "hr";
    const SettingsFile file(PathOf("English_Croatian.v03.ini"));
    WriteDictionarySettings(file, "English_Croatian.v03", s, true);
    ASSERT_TRUE(file.Flush());

    const std::string text = Slurp(file.path());
    EXPECT_EQ(text.rfind("[English_Croatian.v03]\nprimary_to_secondary=0\n"
                         "dualprimarytosecondary=0\nedit1_fontname=Ms Sans Serif\n"
                         "edit1_fontsize=8\nedit1_fontweight=400\nedit1_fontitalic=0\n"
                         "edit1_fontunderline=0\nedit1_fontstrikeout=0\nedit1_fontcolor=0\n"
                         "edit1_bgcolor=16777215\nedit2_fontname=",
                         0),
              0u)
        << text;
    EXPECT_NE(
        text.find(
            "tooltip_use_pattern=0\ntooltip_pattern_index=7\n"
            "tooltip_use_system_colors=1\nword_forms=1\n[espeak]\nuse_primary=1\nuse_secondary=1\n"
            "voice_id_primary=hr\nvoice_id_secondary=\nespeak_speed_primary=170\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("sapi5_pitch_secondary=0\n"), std::string::npos);

    bool warning = true;
    const DictionarySettings back = ReadDictionarySettings(
        file, "English_Croatian.v03", {kAnsi, kAnsi}, kWindowsFonts, true, &warning);
    EXPECT_FALSE(warning);
    EXPECT_FALSE(back.primary_to_secondary);
    EXPECT_EQ(back.view.font(ViewFont::kPopupEditSecondary).face, "Verdana");
    EXPECT_TRUE(back.view.font(ViewFont::kPopupEditSecondary).strikeout);
    EXPECT_EQ(back.view.color(ViewColor::kTooltipBackground2Secondary), 0x123456u);
    EXPECT_EQ(back.view.tooltip_pattern_index, 7);
    EXPECT_EQ(back.voice(ListSide::kPrimary, SpeechEngine::kEspeak).voice_id, "hr");
}

TEST_F(DictionarySettingsTest, EveryKeyIsWrittenOnce) {
    const SettingsFile file(PathOf("x.ini"));
    WriteDictionarySettings(file, "x", DictionarySettings(), false);
    ASSERT_TRUE(file.Flush());
    std::set<std::string> keys;
    std::string section;
    int lines = 0;
    std::istringstream in(Slurp(file.path()));
    for (std::string line; std::getline(in, line);) {
        if (line.front() == '[') {
            section = line;
            continue;
        }
        ++lines;
        EXPECT_TRUE(keys.insert(section + line.substr(0, line.find('='))).second) << line;
    }
    // 12 fonts of 7 keys, 26 colours, 4 switches, the pattern, the direction,
    // word forms, and 3 engines of 10 keys.
    EXPECT_EQ(lines, 12 * 7 + 26 + 4 + 1 + 1 + 1 + 30);
}

TEST_F(DictionarySettingsTest, ResetPutsOneGroupBack) {
    DictionarySettings s;
    s.view.font(ViewFont::kEdit1).size = 20;
    s.view.color(ViewColor::kPopupListBox1OddRow) = 1;
    s.view.tooltip_pattern_index = 5;
    EXPECT_TRUE(ResetViewGroup(&s.view, ViewGroup::kTooltip, {kAnsi, kAnsi}, kWindowsFonts));
    EXPECT_EQ(s.view.tooltip_pattern_index, 0);
    EXPECT_EQ(s.view.font(ViewFont::kEdit1).size, 20);
    EXPECT_TRUE(ResetViewGroup(&s.view, ViewGroup::kMainWindow, {kAnsi, kAnsi}, kWindowsFonts));
    EXPECT_EQ(s.view.font(ViewFont::kEdit1).size, 8);
    EXPECT_EQ(s.view.color(ViewColor::kPopupListBox1OddRow), 1u);
    EXPECT_FALSE(ResetViewGroup(&s.view, ViewGroup::kPopup, {kThai, kAnsi}, FakeFonts({})));
    EXPECT_EQ(s.view.color(ViewColor::kPopupListBox1OddRow), 0xF5F5F5u);
}

}  // namespace
}  // namespace wordbay
