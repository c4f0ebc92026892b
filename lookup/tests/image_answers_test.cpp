// The look-up image answers translations under every fold and prefix and
// wildcard lists exactly as the loaded dictionary it was written from: the
// same words in the same order, for every word of both lists and their case
// and accent variants, on an 8-bit dictionary and on a UTF-8 one.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "lookup/lookup_image.h"
#include "lookup/lookup_image_writer.h"
#include "platform/code_page.h"
#include "platform/locale.h"
#include "testing/test_support.h"

namespace lookup {
namespace {

// Pairs in UTF-8: case and accent variants that fold together, words of one
// letter, a word with many translations, translations shared, a word that
// folds to a longer one's beginning.
const char* const kPairs[][2] = {
    {"apple", "jabuka"},   {"Apple", "Jabuka"}, {"APPLE", "jabuka"},   {"été", "ljeto"},
    {"ete", "eta"},        {"Été", "Ljeto"},    {"résumé", "sažetak"}, {"resume", "nastaviti"},
    {"Resume", "sažetak"}, {"a", "jedan"},      {"A", "slovo"},        {"á", "slovo"},
    {"ab", "x"},           {"abc", "y"},        {"Ab", "čšž"},         {"house", "kuća"},
    {"house", "dom"},      {"House", "Kuća"},   {"home", "dom"},       {"zz top", "zz"},
    {"naïve", "naivan"},   {"naive", "naivan"}, {"NAÏVE", "NAIVAN"},   {"cat", "mačka"},
    {"cat", "mačak"},      {"Cat", "Mačak"},    {"ćao", "bok"},        {"Ćao", "Bok"},
    {"čaj", "tea"},        {"caj", "tea"},      {"Čaj", "Tea"},        {"žir", "acorn"},
    {"hose", "crijevo"},   {"hoes", "motika"},  {"house?", "upit"},    {"ho*se", "zvijezda"},
};

class ImageAnswersTest : public test_support::ScratchDirTest {
protected:
    void TearDown() override {
        for (DB_HANDLE db : handles_) DB_DestroyHandle(db);
        ScratchDirTest::TearDown();
    }

    DB_HANDLE NewHandle() {
        handles_.push_back(DB_CreateHandle()->handle);
        return handles_.back();
    }

    // The pairs saved as `name` (UTF-8 lists or the locales' 8-bit code
    // pages), loaded again into db_ and its image opened in image_.
    void Prepare(const std::string& name, bool utf8) {
        DB_HANDLE made = NewHandle();
        ASSERT_EQ(DB_CreateNewDictionary(made, 1033, 1050)->status, 1);
        DICTIONARY_INFO info{};
        ASSERT_EQ(DB_GetDictionaryInfo(made, &info)->status, 1);
        if (utf8) {
            info.primary_charset = DB_CHARSET_UTF8;
            info.secondary_charset = DB_CHARSET_UTF8;
            ASSERT_NE(DB_SetDictionaryInfo(made, &info)->status, 0);
        }
        ASSERT_EQ(DB_GetDictionaryInfo(made, &info)->status, 1);
        code_pages_[0] = platform::ListCodePage(info.primary_locale, info.primary_charset);
        code_pages_[1] = platform::ListCodePage(info.secondary_locale, info.secondary_charset);
        std::mt19937 random(7);
        std::vector<std::pair<std::string, std::string>> pairs;
        for (const auto& pair : kPairs) pairs.emplace_back(pair[0], pair[1]);
        // And many more, so that the binary searches go deep.
        for (int i = 0; i < 300; ++i) {
            std::string word;
            for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n) {
                const char* const letters[] = {"a", "B", "c", "é", "E", "ž", "Ž", "o", "O", "ö"};
                word += letters[random() % 10];
            }
            pairs.emplace_back(word, "w" + std::to_string(random() % 50));
        }
        for (const auto& [word, translation] : pairs) {
            const std::string from = Encoded(0, word);
            const std::string to = Encoded(1, translation);
            if (from.empty() || to.empty()) continue;  // not in the code page
            const DB_RESULT* r = DB_AddTranslation(made, 1, from.c_str(), to.c_str());
            ASSERT_NE(r->status, 0) << r->message;
            words_[0].insert(word);
            words_[1].insert(translation);
        }
        path_ = Path(name);
        ASSERT_EQ(DB_Save(made, DB_FORMAT_V03_SAVE, path_.c_str())->status, 1);
        db_ = NewHandle();
        ASSERT_EQ(DB_Load(db_, DB_FORMAT_V03_LOAD, path_.c_str(), 0, 0)->status, 1);
        SourceKey key;
        ASSERT_TRUE(ReadSourceKey(path_, &key));
        ASSERT_TRUE(WriteLookupImage(db_, Path(name + ".image"), path_, key));
        ASSERT_TRUE(image_.Open(Path(name + ".image"), path_, key));
        ASSERT_TRUE(image_.HasPrefixes(0));
        ASSERT_TRUE(image_.HasPrefixes(1));
    }

    std::string Encoded(int list, const std::string& utf8) const {
        bool lossy = false;
        const std::string encoded = platform::EncodeFromUtf8(code_pages_[list], utf8, &lossy);
        return lossy ? std::string() : encoded;
    }

    // Every word of `list`, its upper and lower case forms, without its
    // first or last letter, and words of neither list.
    std::vector<std::string> Probes(int list) const {
        std::set<std::string> probes = {"q", "zzz", "~", "Z", "house!", "ÉTÉ", "ETE", "RÉSUMÉ"};
        for (const std::string& word : words_[list]) {
            std::string upper = word;
            std::string lower = word;
            for (char& c : upper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            for (char& c : lower)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            probes.insert({word, upper, lower, word.substr(1), word.substr(0, word.size() - 1)});
        }
        std::vector<std::string> encoded;
        for (const std::string& probe : probes) {
            const std::string e = Encoded(list, probe);
            if (!e.empty()) encoded.push_back(e);
        }
        return encoded;
    }

    // What the loaded dictionary answers; an empty vector for nothing.
    std::vector<std::string> Engine(const DB_RESULT* r, const std::vector<const char*>& output) {
        std::vector<std::string> words;
        if (r->status == 0) return words;
        for (int32_t i = 0; i < r->count; ++i) words.emplace_back(output[i]);
        return words;
    }

    void ExpectTranslationsAlike() {
        std::vector<const char*> output(4096);
        std::vector<std::string> found;
        for (int list = 0; list < 2; ++list) {
            for (const std::string& word : Probes(list)) {
                for (int fold = 0; fold < 4; ++fold) {
                    const bool case_sensitive = (fold & 1) == 0;
                    const bool ignore_accents = (fold & 2) != 0;
                    SCOPED_TRACE(testing::Message() << list << " " << word << " fold " << fold);
                    const std::vector<std::string> expected = Engine(
                        DB_Translate(db_, list + 1, word.c_str(), case_sensitive, ignore_accents,
                                     output.data(), static_cast<int32_t>(output.size())),
                        output);
                    const LookupImage::Answer answer =
                        image_.Translate(list, word, case_sensitive, ignore_accents, &found);
                    ASSERT_NE(answer, LookupImage::Answer::kDamaged);
                    EXPECT_EQ(answer == LookupImage::Answer::kFound, !expected.empty());
                    EXPECT_EQ(found, expected);
                }
            }
        }
    }

    // Wildcard patterns made from the probes: letters replaced by `?`, the
    // middle or the end by `*`, stars doubled.
    std::vector<std::string> Patterns(int list) const {
        std::vector<std::string> patterns;
        for (const std::string& probe : Probes(list)) {
            if (probe.size() < 2 || probe[0] == '*' || probe[0] == '?') continue;
            patterns.push_back(probe.substr(0, 1) + "*");
            patterns.push_back(probe.substr(0, 1) + "?" + probe.substr(2));
            patterns.push_back(probe.substr(0, 2) + "*" + probe.substr(probe.size() - 1));
            patterns.push_back(probe.substr(0, probe.size() - 1) + "?");
            patterns.push_back(probe.substr(0, 1) + "**" + probe.substr(1, 1) + "*");
            patterns.push_back(probe);
        }
        return patterns;
    }

    void ExpectWildcardListsAlike() {
        std::vector<const char*> output(4096);
        std::vector<std::string> found;
        for (int list = 0; list < 2; ++list) {
            for (const std::string& pattern : Patterns(list)) {
                for (int fold = 0; fold < 4; ++fold) {
                    for (const int32_t limit : {4096, 2}) {
                        const bool case_sensitive = (fold & 1) == 0;
                        const bool ignore_accents = (fold & 2) != 0;
                        SCOPED_TRACE(testing::Message()
                                     << list << " " << pattern << " fold " << fold);
                        const std::vector<std::string> expected =
                            Engine(DB_List(db_, list + 1, pattern.c_str(), case_sensitive,
                                           ignore_accents, DB_LIST_WILDCARDS, output.data(), limit),
                                   output);
                        const LookupImage::Answer answer =
                            image_.ListWildcards(list, pattern, case_sensitive, ignore_accents,
                                                 static_cast<std::uint32_t>(limit), &found);
                        ASSERT_NE(answer, LookupImage::Answer::kDamaged);
                        EXPECT_EQ(found, expected);
                    }
                }
            }
        }
    }

    std::vector<DB_HANDLE> handles_;
    std::uint32_t code_pages_[2] = {};
    std::set<std::string> words_[2];  // in UTF-8
    std::string path_;
    DB_HANDLE db_ = nullptr;
    LookupImage image_;
};

TEST_F(ImageAnswersTest, TranslationsUnderEveryFoldAreTheLoadedDictionarys) {
    Prepare("bytes.v03", false);
    EXPECT_EQ(code_pages_[0], 1252u);
    ExpectTranslationsAlike();
    // Variants come one after another in list order, repeats kept.
    std::vector<std::string> found;
    ASSERT_EQ(image_.Translate(0, "apple", false, false, &found), LookupImage::Answer::kFound);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"Jabuka", "jabuka", "jabuka"}));
}

TEST_F(ImageAnswersTest, TranslationsOfAUtf8DictionaryFoldByCharacter) {
    Prepare("utf8.v03", true);
    EXPECT_EQ(code_pages_[0], platform::kUtf8CodePage);
    ExpectTranslationsAlike();
    std::vector<std::string> found;
    ASSERT_EQ(image_.Translate(0, "ETE", false, true, &found), LookupImage::Answer::kFound);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"Ljeto", "eta", "ljeto"}));
}

TEST_F(ImageAnswersTest, WildcardListsAreTheLoadedDictionarys) {
    Prepare("bytes.v03", false);
    ExpectWildcardListsAlike();
    // A leading wildcard walks the whole list: the dictionary's work.
    std::vector<std::string> found;
    EXPECT_EQ(image_.ListWildcards(0, "*e", false, false, 10, &found),
              LookupImage::Answer::kDamaged);
    EXPECT_EQ(image_.ListWildcards(0, "?", false, false, 10, &found),
              LookupImage::Answer::kDamaged);
    EXPECT_FALSE(image_.damaged());
    // The wildcards are the pattern's: a word's `*` or `?` is a character.
    EXPECT_EQ(image_.ListWildcards(0, "ho?se", true, false, 10, &found),
              LookupImage::Answer::kFound);
    EXPECT_EQ(std::set<std::string>(found.begin(), found.end()),
              (std::set<std::string>{"ho*se", "house"}));
}

TEST_F(ImageAnswersTest, WildcardListsOfAUtf8DictionaryMatchByCharacter) {
    Prepare("utf8.v03", true);
    ExpectWildcardListsAlike();
    std::vector<std::string> found;
    EXPECT_EQ(image_.ListWildcards(0, "\xc3\xa9t?", false, false, 10, &found),
              LookupImage::Answer::kFound);
    EXPECT_EQ(std::set<std::string>(found.begin(), found.end()),
              (std::set<std::string>{"\xc3\xa9t\xc3\xa9", "\xc3\x89t\xc3\xa9"}));
}

}  // namespace
}  // namespace lookup
