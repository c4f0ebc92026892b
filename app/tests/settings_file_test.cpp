#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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
    ASSERT_TRUE(file.Flush());
    EXPECT_EQ(Slurp(file.path()), "[a]\nn=-12\nb=1\nc=16119285\nd=-1\ns=Times New Roman\n");
    std::uint32_t color = 0;
    EXPECT_TRUE(file.ReadColor("a", "d", &color));
    EXPECT_EQ(color, 0xFFFFFFFFu);
    std::string text;
    EXPECT_TRUE(file.ReadString("a", "s", &text, 5));
    EXPECT_EQ(text, "Times");
}

// A pass of writes replaces the file once, when it ends: until then the disk
// holds the old file whole, and the pass reads its own writes.
TEST_F(SettingsFileDiskTest, APassOfWritesReplacesTheFileOnceAtItsEnd) {
    Spill(PathOf("s.ini"), "; kept\n[a]\nn=1\n");
    {
        const SettingsFile file(PathOf("s.ini"));
        for (int i = 0; i < 200; ++i) ASSERT_TRUE(file.WriteInt("a", "k" + std::to_string(i), i));
        ASSERT_TRUE(file.WriteInt("a", "n", 2));
        EXPECT_EQ(Slurp(PathOf("s.ini")), "; kept\n[a]\nn=1\n");
        int n = 0;
        EXPECT_TRUE(file.ReadInt("a", "n", &n));
        EXPECT_EQ(n, 2);
    }
    const std::string text = Slurp(PathOf("s.ini"));
    EXPECT_EQ(text.rfind("; kept\n[a]\nn=2\nk0=0\nk1=1\n", 0), 0u);
    EXPECT_NE(text.find("k199=199\n"), std::string::npos);

    // A file that exists but can't be read is not overwritten.
    ASSERT_EQ(::mkdir(PathOf("folder.ini").c_str(), 0700), 0);
    const SettingsFile folder(PathOf("folder.ini"));
    EXPECT_FALSE(folder.WriteInt("a", "n", 1));
    EXPECT_TRUE(folder.Flush());
    // A pipe reads as nothing at once instead of waiting for a writer, and is
    // never replaced.
    ASSERT_EQ(::mkfifo(PathOf("pipe.ini").c_str(), 0600), 0);
    {
        const SettingsFile pipe(PathOf("pipe.ini"));
        int n = 7;
        EXPECT_FALSE(pipe.ReadInt("a", "n", &n));
        EXPECT_EQ(n, 7);
        EXPECT_FALSE(pipe.WriteInt("a", "n", 1));
    }
    struct stat status {};
    ASSERT_EQ(::stat(PathOf("pipe.ini").c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

}  // namespace
}  // namespace wordbay
