#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "testing/test_support.h"

namespace platform {
namespace {

std::string Set(std::string text, std::string_view section, std::string_view key,
                std::string_view value) {
    EXPECT_TRUE(SetProfileValue(&text, section, key, value));
    return text;
}

TEST(ProfileFileTest, FindsKeysByTheGrammar) {
    const std::string text =
        "top=ignored\n"
        "[Options]\n"
        "; deepsearch=9\n"
        "  DeepSearch =  7  \n"
        "deepsearch=8\n"
        "empty=\n"
        "quoted=\"  spaced  \"\n"
        "single='x'\n"
        "not a key line\n"
        "[other]\n"
        "deepsearch=3\n"
        "[options]\n"
        "late=1\n";
    EXPECT_EQ(FindProfileValue(text, "options", "deepsearch"), "7");  // first line wins
    EXPECT_EQ(FindProfileValue(text, " OPTIONS ", "DEEPSEARCH"), "7");
    EXPECT_EQ(FindProfileValue(text, "options", "empty"), "");
    EXPECT_EQ(FindProfileValue(text, "options", "quoted"), "  spaced  ");
    EXPECT_EQ(FindProfileValue(text, "options", "single"), "x");
    EXPECT_EQ(FindProfileValue(text, "other", "deepsearch"), "3");
    EXPECT_EQ(FindProfileValue(text, "options", "top"), std::nullopt);
    EXPECT_EQ(FindProfileValue(text, "options", "not a key line"), std::nullopt);
    EXPECT_EQ(FindProfileValue(text, "options", "late"), std::nullopt);  // second section
    EXPECT_EQ(FindProfileValue(text, "missing", "deepsearch"), std::nullopt);
    EXPECT_EQ(FindProfileValue(text, "", "deepsearch"), std::nullopt);
}

TEST(ProfileFileTest, SectionNamesMayHoldBrackets) {
    const std::string text = Set("", "Odd]name.v03", "edit1_fontsize", "9");
    EXPECT_EQ(text, "[Odd]name.v03]\nedit1_fontsize=9\n");
    EXPECT_EQ(FindProfileValue(text, "odd]NAME.v03", "edit1_fontsize"), "9");
}

TEST(ProfileFileTest, ReplacingAKeyKeepsEveryOtherLine) {
    const std::string before =
        "; written by hand\r\n"
        "[Options]\r\n"
        "unknown=keep me\r\n"
        "  DeepSearch = 7   ; old\r\n"
        "\r\n"
        "[size]\r\n"
        "x=5\r\n";
    EXPECT_EQ(Set(before, "options", "deepsearch", "3"),
              "; written by hand\r\n"
              "[Options]\r\n"
              "unknown=keep me\r\n"
              "DeepSearch=3\r\n"
              "\r\n"
              "[size]\r\n"
              "x=5\r\n");
}

TEST(ProfileFileTest, NewKeysGoToTheEndOfTheirSection) {
    const std::string before =
        "[options]\n"
        "a=1\n"
        "; trailing comment\n"
        "\n"
        "\n"
        "[size]\n"
        "x=5";
    EXPECT_EQ(Set(before, "OPTIONS", "b", "2"),
              "[options]\n"
              "a=1\n"
              "b=2\n"
              "; trailing comment\n"
              "\n"
              "\n"
              "[size]\n"
              "x=5");
    // The last section of a text that ends without a line break.
    EXPECT_EQ(Set(before, "size", "y", "6"),
              "[options]\n"
              "a=1\n"
              "; trailing comment\n"
              "\n"
              "\n"
              "[size]\n"
              "x=5\n"
              "y=6\n");
    EXPECT_EQ(Set("[empty]\n", "empty", "k", "v"), "[empty]\nk=v\n");
    EXPECT_EQ(Set("[s]\n; about s\n", "s", "k", "v"), "[s]\nk=v\n; about s\n");
}

TEST(ProfileFileTest, NewSectionsGoToTheEndOfTheText) {
    EXPECT_EQ(Set("", "dictionary", "dual", "0"), "[dictionary]\ndual=0\n");
    EXPECT_EQ(Set("[a]\r\nk=1", "b", "k", "2"), "[a]\r\nk=1\r\n[b]\r\nk=2\r\n");
    EXPECT_EQ(Set("; only a comment\n", "b", "k", "2"), "; only a comment\n[b]\nk=2\n");
}

TEST(ProfileFileTest, ValuesReadBackAsWritten) {
    const char* values[] = {
        "",   "plain", " leading", "trailing\t",      "\"quoted\"",      "'single'",
        "\"", "''",    "a=b=c",    "; not a comment", "[not a section]", "mixed \"quotes'"};
    for (const char* value : values) {
        SCOPED_TRACE(value);
        std::string text = "[s]\nk=old\n";
        ASSERT_TRUE(SetProfileValue(&text, "s", "k", value));
        EXPECT_EQ(FindProfileValue(text, "s", "k"), value);
        ASSERT_TRUE(SetProfileValue(&text, "s", "new", value));
        EXPECT_EQ(FindProfileValue(text, "s", "new"), value);
    }
}

TEST(ProfileFileTest, RefusesWhatCannotBeReadBack) {
    const std::string before = "[s]\nk=1\n";
    const std::pair<const char*, std::array<std::string_view, 3>> cases[] = {
        {"empty section", {"", "k", "v"}},
        {"blank key", {"s", "  ", "v"}},
        {"line break in the value", {"s", "k", "a\nb"}},
        {"carriage return in the key", {"s", "k\r", "v"}},
        {"line break in the section", {"s\nt", "k", "v"}},
        {"equals sign in the key", {"s", "a=b", "v"}},
        {"key that opens a section", {"s", "[k", "v"}},
        {"key that is a comment", {"s", ";k", "v"}},
    };
    for (const auto& [what, args] : cases) {
        SCOPED_TRACE(what);
        std::string text = before;
        EXPECT_FALSE(SetProfileValue(&text, args[0], args[1], args[2]));
        EXPECT_EQ(text, before);
    }
}

class ProfileFileDiskTest : public test_support::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        path_ = Path("wordbay.ini");
    }

    std::string path_;
};

TEST_F(ProfileFileDiskTest, MissingFileReadsNothingAndIsCreatedByAWrite) {
    std::string value = "untouched";
    EXPECT_FALSE(ReadProfileString(path_, "options", "brzo", &value));
    EXPECT_EQ(value, "untouched");
    ASSERT_TRUE(WriteProfileString(path_, "options", "brzo", "1"));
    EXPECT_EQ(test_support::ReadFile(path_), "[options]\nbrzo=1\n");
    EXPECT_TRUE(ReadProfileString(path_, "Options", "BRZO", &value));
    EXPECT_EQ(value, "1");
}

TEST_F(ProfileFileDiskTest, EveryCallGoesToTheDisk) {
    test_support::WriteFile(path_, "[options]\nbrzo=1\n");
    std::string value;
    ASSERT_TRUE(ReadProfileString(path_, "options", "brzo", &value));
    EXPECT_EQ(value, "1");
    test_support::WriteFile(path_, "[options]\nbrzo=0\n");  // changed behind the reader's back
    ASSERT_TRUE(ReadProfileString(path_, "options", "brzo", &value));
    EXPECT_EQ(value, "0");
    ASSERT_TRUE(WriteProfileString(path_, "options", "ww1", "1"));
    EXPECT_EQ(test_support::ReadFile(path_), "[options]\nbrzo=0\nww1=1\n");
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ProfileFileDiskTest, WriteFollowsALinkAndKeepsThePermissions) {
    const std::string real = Path("real.ini");
    test_support::WriteFile(real, "[a]\nk=1\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink(real, path_);
    ASSERT_TRUE(WriteProfileString(path_, "a", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(path_));
    EXPECT_EQ(test_support::ReadFile(real), "[a]\nk=2\n");
    struct stat st;
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(ProfileFileDiskTest, FailedWritesReportFailure) {
    EXPECT_FALSE(WriteProfileString(Path("no/such/dir.ini"), "a", "k", "1"));
    EXPECT_FALSE(WriteProfileString(dir_, "a", "k", "1"));  // a folder, not a file
    EXPECT_FALSE(WriteProfileString(path_, "a", "k", "two\nlines"));
    EXPECT_FALSE(std::filesystem::exists(path_));
}

}  // namespace
}  // namespace platform
