#include "forms/stored_stems.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "forms/affix_forms.h"
#include "testing/test_support.h"

namespace forms {
namespace {

// A small English dictionary: plurals, a -y plural, a past tense, and an
// un- prefix that combines with the suffixes.
constexpr char kAff[] =
    "SET UTF-8\n"
    "PFX U Y 1\n"
    "PFX U 0 un .\n"
    "SFX S Y 3\n"
    "SFX S y ies [^aeiou]y\n"
    "SFX S 0 s [aeiou]y\n"
    "SFX S 0 s [^y]\n"
    "SFX D N 1\n"
    "SFX D 0 ed [^e]\n";
constexpr char kDic[] = "4\nhouse/S\ncity/S\ndo/U\nlock/SDU\n";

class StoredStemsTest : public test_support::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        spellers_ = Path("spellers");
        std::filesystem::create_directories(spellers_);
        Write("en_US.aff", kAff);
        Write("en_US.dic", kDic);
        ::setenv("WORDBAY_HUNSPELL_DIRS", spellers_.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("WORDBAY_HUNSPELL_DIRS");
        ScratchDirTest::TearDown();
    }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(spellers_ + "/" + name, std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

    std::string spellers_;
};

TEST_F(StoredStemsTest, AffixFormsExpandTheWantedStemsOnly) {
    const std::vector<std::string> forms =
        AffixForms(*FindSpeller("en_US"), [](std::string_view stem) { return stem != "do"; });
    const std::vector<std::string> expected = {"cities", "city",  "house",  "houses", "lock",
                                               "locked", "locks", "unlock", "unlocks"};
    EXPECT_EQ(forms, expected);
}

TEST_F(StoredStemsTest, AffixFormsReadLongFlagsAndTheirAliases) {
    Write("hr_HR.aff",
          "SET UTF-8\nFLAG long\nAF 2\nAF AaBb # 1\nAF Bb # 2\n"
          "SFX Aa Y 1\nSFX Aa a e a\nSFX Bb Y 1\nSFX Bb a ama a\n");
    Write("hr_HR.dic", "2\nkuća/1\nriba/2\n");
    const std::vector<std::string> forms =
        AffixForms(*FindSpeller("hr_HR"), [](std::string_view) { return true; });
    const std::vector<std::string> expected = {"kuća", "kućama", "kuće", "riba", "ribama"};
    EXPECT_EQ(forms, expected);
    // A dictionary in another encoding gives none: its words are left to the speller.
    Write("hr_HR.aff", "SET ISO8859-2\nSFX A Y 1\nSFX A a e a\n");
    EXPECT_TRUE(AffixForms(*FindSpeller("hr_HR"), [](std::string_view) { return true; }).empty());
}

TEST_F(StoredStemsTest, KeepsTheSpellersOwnStemsForItsOwnerAndSpeller) {
    const std::unique_ptr<Speller> speller = Speller::Load(*FindSpeller("en_US"));
    ASSERT_TRUE(speller);
    const std::vector<std::string> words = {"houses", "cities", "unlocked",
                                            "house",  "zzz",    "houses"};
    const std::string path = Path("d.stems0");
    ASSERT_TRUE(WriteStoredStems(path, "owner", "en_US", *speller, words));

    StoredStems kept;
    ASSERT_TRUE(kept.Read(path, "owner"));
    EXPECT_EQ(kept.locale(), "en_US");
    EXPECT_EQ(kept.size(), 5u);
    EXPECT_TRUE(kept.SpellerCurrent());
    std::vector<std::string> stems;
    for (const std::string& word : words) {
        SCOPED_TRACE(word);
        ASSERT_TRUE(kept.Find(word, &stems));
        EXPECT_EQ(stems, speller->Stems(word));
    }
    // A word the speller gives no stems is held too, with none.
    ASSERT_TRUE(kept.Find("zzz", &stems));
    EXPECT_TRUE(stems.empty());
    EXPECT_FALSE(kept.Find("walked", &stems));
    EXPECT_FALSE(kept.Find("", &stems));

    // Another dictionary's state, a changed speller, a removed one.
    EXPECT_FALSE(StoredStems().Read(path, "other"));
    Write("en_US.dic", std::string(kDic) + "walk/D\n");
    EXPECT_FALSE(kept.SpellerCurrent());
    std::filesystem::remove(spellers_ + "/en_US.dic");
    EXPECT_FALSE(kept.SpellerCurrent());
}

TEST_F(StoredStemsTest, AFileNotWholeHoldsNothing) {
    const std::unique_ptr<Speller> speller = Speller::Load(*FindSpeller("en_US"));
    ASSERT_TRUE(speller);
    const std::string path = Path("d.stems0");
    ASSERT_TRUE(WriteStoredStems(path, "owner", "en_US", *speller, {"houses", "cities"}));
    const std::string good = Bytes(path);
    StoredStems kept;
    ASSERT_TRUE(kept.Parse(good, "owner"));
    // A damaged header is refused at once; damaged data (one chunk here)
    // when a word is looked for.
    std::vector<std::string> stems;
    const auto refused = [&](const std::string& bytes) {
        return !kept.Parse(bytes, "owner") ||
               (!kept.Find("houses", &stems) && !kept.Find("cities", &stems));
    };
    for (std::size_t at = 0; at < good.size(); at += 7) {
        std::string bad = good;
        bad[at] = static_cast<char>(bad[at] ^ 0x20);
        EXPECT_TRUE(refused(bad)) << "byte " << at;
        EXPECT_TRUE(refused(good.substr(0, at))) << "cut at " << at;
    }
    EXPECT_FALSE(kept.Parse(good.substr(0, 40), "owner"));
    EXPECT_EQ(kept.size(), 0u);
    EXPECT_FALSE(kept.Find("houses", &stems));
    // Not a regular file, or none at all.
    EXPECT_FALSE(kept.Read(Path(""), "owner"));
    EXPECT_FALSE(kept.Read(Path("missing"), "owner"));
}

}  // namespace
}  // namespace forms
