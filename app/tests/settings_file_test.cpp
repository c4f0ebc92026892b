#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <climits>

#include "app/tests/test_files.h"

namespace wordbay {
namespace {

TEST(SettingsFileTest, IntsReadLikeAtoiWithoutOverflow) {
    const std::pair<const char*, int> cases[] = {
        {"42", 42},
        {"-7", -7},
        {"+3", 3},
        {" \t12", 12},
        {"12abc", 12},
        {"abc", 0},
        {"-", 0},
        {"0x10", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"99999999999999999999", INT_MAX},
        {"-99999999999999999999", INT_MIN},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseSettingInt(text), expected);
    }
    // Only the first 99 characters count: digits beyond them are not read.
    EXPECT_EQ(ParseSettingInt(std::string(98, ' ') + "75"), 7);
}

TEST(SettingsFileTest, TextsAreCutBeforeACharacter) {
    EXPECT_EQ(CutSettingText("Tahoma", 31), "Tahoma");
    EXPECT_EQ(CutSettingText("abcdef", 3), "abc");
    EXPECT_EQ(CutSettingText("ab\xC5\xBE", 3), "ab");          // ž is two bytes
    EXPECT_EQ(CutSettingText("ab\xE8\xE8\xE8", 3), "ab\xE8");  // not UTF-8: bytes
}

class SettingsFileDiskTest : public testing::ScratchDirTest {};

TEST_F(SettingsFileDiskTest, MissingAndEmptyValuesKeepTheDefault) {
    Spill(PathOf("s.ini"), "[options]\ndeepsearch=\nbrzo=x\nname=\n");
    const SettingsFile file(PathOf("s.ini"));
    int depth = 5;
    EXPECT_FALSE(file.ReadInt("options", "deepsearch", &depth));
    EXPECT_EQ(depth, 5);
    EXPECT_FALSE(file.ReadInt("options", "missing", &depth));
    EXPECT_EQ(depth, 5);
    bool fast = true;
    EXPECT_TRUE(file.ReadBool("options", "brzo", &fast));  // non-numeric reads as 0
    EXPECT_FALSE(fast);
    std::string name = "default";
    EXPECT_FALSE(file.ReadString("options", "name", &name));
    EXPECT_EQ(name, "default");

    const SettingsFile missing(PathOf("none.ini"));
    EXPECT_FALSE(missing.ReadInt("options", "deepsearch", &depth));
    EXPECT_EQ(depth, 5);
}

TEST_F(SettingsFileDiskTest, ValuesRoundTripInTheirWrittenForm) {
    const SettingsFile file(PathOf("s.ini"));
    ASSERT_TRUE(file.WriteInt("a", "n", -12));
    ASSERT_TRUE(file.WriteBool("a", "b", true));
    ASSERT_TRUE(file.WriteColor("a", "c", 0xF5F5F5));
    ASSERT_TRUE(file.WriteColor("a", "d", 0xFFFFFFFF));
    ASSERT_TRUE(file.WriteString("a", "s", "Times New Roman"));
    EXPECT_EQ(Slurp(file.path()), "[a]\nn=-12\nb=1\nc=16119285\nd=-1\ns=Times New Roman\n");
    std::uint32_t color = 0;
    EXPECT_TRUE(file.ReadColor("a", "d", &color));
    EXPECT_EQ(color, 0xFFFFFFFFu);
    std::string text;
    EXPECT_TRUE(file.ReadString("a", "s", &text, 5));
    EXPECT_EQ(text, "Times");
}

}  // namespace
}  // namespace wordbay
