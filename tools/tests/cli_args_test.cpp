#include "tools/cli_args.h"

#include <gtest/gtest.h>

namespace cli {
namespace {

TEST(CliArgsTest, CommandsTakeTheirSwitchesOptionsAndPositionals) {
    Arguments a;
    std::string error;
    ASSERT_TRUE(ParseArguments(
        {"list", "d.v03", "ab", "--mode", "regex", "--limit=5", "--case", "--secondary"}, &a,
        &error))
        << error;
    EXPECT_EQ(a.command, "list");
    EXPECT_EQ(a.positional, (std::vector<std::string>{"d.v03", "ab"}));
    EXPECT_EQ(a.Value("mode"), "regex");
    EXPECT_EQ(a.Value("limit"), "5");
    EXPECT_TRUE(a.Has("case"));
    EXPECT_TRUE(a.Has("secondary"));
    EXPECT_FALSE(a.Has("accents"));

    ASSERT_TRUE(ParseArguments({"translate", "d.v03", "-"}, &a, &error));
    EXPECT_EQ(a.positional[1], "-");  // batch mode is a positional, not an option
    ASSERT_TRUE(ParseArguments({"translate", "d.v03", "--", "-ism"}, &a, &error));
    EXPECT_EQ(a.positional[1], "-ism");
    ASSERT_TRUE(ParseArguments({"list", "d.v03", "--mode", "palindrome"}, &a, &error));
}

TEST(CliArgsTest, MistakesAreRefusedWithAMessage) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"info"},
        {"info", "a", "b"},
        {"translate", "d.v03", "w", "--mode", "regex"},  // option of another command
        {"list", "d.v03", "a", "--limit"},               // value missing
        {"list", "d.v03", "a", "--case=1"},              // a switch takes no value
        {"import", "--format", "txt", "only-one"},
        {"freedict", "eng-hrv", "out.v03", "--swap", "extra"},
    };
    for (const auto& args : bad) {
        Arguments a;
        std::string error;
        EXPECT_FALSE(ParseArguments(args, &a, &error)) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(error.empty());
    }
}

TEST(CliArgsTest, HelpWinsAnywhere) {
    Arguments a;
    std::string error;
    ASSERT_TRUE(ParseArguments({"--help"}, &a, &error));
    EXPECT_TRUE(a.help);
    ASSERT_TRUE(ParseArguments({"info", "--help"}, &a, &error));
    EXPECT_TRUE(a.help);
    EXPECT_NE(std::string(UsageText()).find("freedict INDEX_OR_NAME"), std::string::npos);
}

TEST(CliArgsTest, EachCommandHasAHelpOfItsOwn) {
    Arguments a;
    std::string error;
    for (const auto& argv : std::vector<std::vector<std::string>>{
             {"list", "--help"}, {"list", "x.v03", "-h"}, {"help", "list"}}) {
        ASSERT_TRUE(ParseArguments(argv, &a, &error)) << error;
        EXPECT_TRUE(a.help);
        EXPECT_EQ(a.command, "list");
    }
    const std::string list = UsageText("list");
    EXPECT_NE(list.find("list FILE.v03 PATTERN|-"), std::string::npos);
    EXPECT_NE(list.find("anagram3"), std::string::npos);
    EXPECT_EQ(list.find("freedict"), std::string::npos);
    EXPECT_NE(list.find("Exit status"), std::string::npos);
    EXPECT_FALSE(ParseArguments({"help", "sideways"}, &a, &error));
    EXPECT_NE(error.find("sideways"), std::string::npos);
    // A wrong call points at the help of its own command.
    EXPECT_FALSE(ParseArguments({"info"}, &a, &error));
    EXPECT_NE(error.find("wordbay-cli info --help"), std::string::npos);
}

TEST(CliArgsTest, VersionOnlyAsTheFirstArgument) {
    Arguments a;
    std::string error;
    ASSERT_TRUE(ParseArguments({"--version"}, &a, &error));
    EXPECT_TRUE(a.version);
    ASSERT_TRUE(ParseArguments({"-V"}, &a, &error));
    EXPECT_TRUE(a.version);
    EXPECT_FALSE(ParseArguments({"info", "--version"}, &a, &error));
}

TEST(CliArgsTest, PairsAndNumbers) {
    std::string a, b;
    EXPECT_TRUE(SplitPair("1033,1050", &a, &b));
    EXPECT_EQ(a, "1033");
    EXPECT_EQ(b, "1050");
    EXPECT_FALSE(SplitPair("1033", &a, &b));
    EXPECT_FALSE(SplitPair(",1050", &a, &b));
    EXPECT_FALSE(SplitPair("1033,", &a, &b));
    EXPECT_FALSE(SplitPair("1,2,3", &a, &b));

    unsigned long n = 0;
    EXPECT_TRUE(ParseNumber("4294967295", 0xFFFFFFFFul, &n));
    EXPECT_EQ(n, 4294967295ul);
    EXPECT_FALSE(ParseNumber("4294967296", 0xFFFFFFFFul, &n));
    EXPECT_FALSE(ParseNumber("99999999999", 0xFFFFFFFFul, &n));
    EXPECT_FALSE(ParseNumber("-1", 100, &n));
    EXPECT_FALSE(ParseNumber("12a", 100, &n));
    EXPECT_FALSE(ParseNumber("", 100, &n));
}

}  // namespace
}  // namespace cli
