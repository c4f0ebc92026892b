#include "forms/speller.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>

#include "testing/test_support.h"

namespace forms {
namespace {

class SpellerFilesTest : public test_support::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        dir_.pop_back();
        ::setenv("WORDBAY_HUNSPELL_DIRS", dir_.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("WORDBAY_HUNSPELL_DIRS");
        ScratchDirTest::TearDown();
    }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
    }
};

TEST_F(SpellerFilesTest, FindsTheLanguagesMainDictionary) {
    for (const char* name : {"de_AT", "de_DE", "en_GB", "en_US", "hr_HR"}) {
        Write(std::string(name) + ".aff", "SET UTF-8\n");
        Write(std::string(name) + ".dic", "1\nword\n");
    }
    Write("fr_FR.dic", "1\nmot\n");  // no .aff beside it: not a dictionary
    EXPECT_EQ(InstalledSpellers().size(), 5u);
    EXPECT_EQ(FindSpeller("de_CH")->name, "de_DE");
    EXPECT_EQ(FindSpeller("de_AT")->name, "de_AT");
    EXPECT_EQ(FindSpeller("en_AU")->name, "en_US");
    EXPECT_EQ(FindSpeller("hr")->name, "hr_HR");
    EXPECT_FALSE(FindSpeller("fr_FR"));
    EXPECT_FALSE(FindSpeller(""));
}

TEST_F(SpellerFilesTest, DamagedFilesLoadAsSomethingOrNothingWithoutHanging) {
    std::mt19937 random(7);
    std::string noise(20000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    const std::pair<const char*, std::pair<std::string, std::string>> cases[] = {
        {"noise", {noise, noise}},
        {"noise after a good header", {"SET UTF-8\nSFX S Y 1\n" + noise, "2\nhouse/S\n" + noise}},
        {"a huge word count", {"SET UTF-8\n", "4000000000\nhouse\n"}},
        {"an unknown encoding", {"SET NO-SUCH-CODE\n", "1\nhouse\n"}},
        {"empty files", {"", ""}},
    };
    const auto start = std::chrono::steady_clock::now();
    for (const auto& [what, files] : cases) {
        SCOPED_TRACE(what);
        Write("xx_XX.aff", files.first);
        Write("xx_XX.dic", files.second);
        const auto speller = Speller::Load({"xx_XX", dir_ + "/xx_XX.aff", dir_ + "/xx_XX.dic"});
        if (speller) {
            speller->Stems("houses");
            speller->Suggest("hause");
        }
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

TEST_F(SpellerFilesTest, APipeInADictionarysPlaceIsPassedOverAtOnce) {
    Write("yy_YY.aff", "SET UTF-8\n");
    ASSERT_EQ(::mkfifo((dir_ + "/yy_YY.dic").c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Speller::Of("yy_YY"), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(SpellerFilesTest, AGoodDictionaryStemsAndSuggests) {
    Write("zz_ZZ.aff", "SET UTF-8\nTRY esiarntolcdugmphbyfvkwz\nSFX S Y 1\nSFX S 0 s .\n");
    Write("zz_ZZ.dic", "2\nhouse/S\nmouse/S\n");
    const auto speller = Speller::Of("zz_ZZ");
    ASSERT_NE(speller, nullptr);
    EXPECT_EQ(speller->Stems("houses"), std::vector<std::string>{"house"});
    EXPECT_TRUE(speller->Knows("mice") == false);
    const auto suggestions = speller->Suggest("hause");
    EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "house"), suggestions.end());
    EXPECT_TRUE(speller->Stems(std::string(500, 'a')).empty());
}

}  // namespace
}  // namespace forms
