// Prefix lists served from the prefix tables must give exactly what a walk
// over the whole list gives: every word that begins with the key under the
// fold, in list order; for lists compared by byte and by character, and
// again once an edit leaves the tables unable to serve.
#include "engine/prefix_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "engine/char_text.h"
#include "engine/context.h"
#include "engine/lexbase.h"
#include "engine/search_range.h"

namespace lexbase {
namespace {

using Texts = std::vector<std::string>;

constexpr Fold kFolds[] = {Fold::kExact, Fold::kCase, Fold::kAccent, Fold::kCaseAccent};

// Matches by definition: a walk over the whole list with the prefix test of
// the list's kind.
Texts Expected(DB_CONTEXT* db, const std::string& key, Fold fold) {
    const WordList& list = db->lists[0];
    Texts out;
    if (ComparesByChar(list)) {
        const CharFold folder(list, fold);
        std::u32string pattern;
        folder.Apply(key, &pattern);
        for (const WordNode* node = list.head; node != nullptr; node = node->next) {
            if (folder.StartsWith({node->text, node->length}, pattern))
                out.emplace_back(node->text);
        }
        return out;
    }
    const std::uint8_t* table = ComparisonTable(list, fold);
    for (const WordNode* node = list.head; node != nullptr; node = node->next) {
        bool match = node->length >= key.size();
        for (std::size_t i = 0; i < key.size() && match; ++i) {
            match = table[static_cast<std::uint8_t>(node->text[i])] ==
                    table[static_cast<std::uint8_t>(key[i])];
        }
        if (match) out.emplace_back(node->text);
    }
    return out;
}

Texts Listed(DB_CONTEXT* db, const std::string& key, Fold fold) {
    std::vector<const char*> out(4096);
    const DB_RESULT* r =
        DB_List(db, DB_PRIMARY_LIST, key.c_str(), IsCaseSensitive(fold), IgnoresAccents(fold),
                DB_LIST_PREFIX, out.data(), static_cast<std::int32_t>(out.size()));
    EXPECT_EQ(r->status, 1) << r->message;
    return Texts(out.begin(), out.begin() + r->count);
}

// Words of few letters with case and accent variants, so that beginnings and
// their folded forms collide often. `utf8` adds characters of two and four
// bytes, one beyond the 16 bits that a table of four characters keeps.
std::string RandomWord(std::mt19937* random, bool utf8, int longest) {
    static const std::vector<std::string> kBytes = {"a",    "b",    "A",    "B",
                                                    "\xE4", "\xC4", "\xE9", "-"};
    static const std::vector<std::string> kChars = {
        "a", "b", "A", "B", "\xC3\xA4", "\xC3\x84", "\xC3\xA9", "-", "\xF0\x9D\x92\x9C"};
    const std::vector<std::string>& letters = utf8 ? kChars : kBytes;
    std::string word;
    const int length = 1 + static_cast<int>((*random)() % longest);
    for (int i = 0; i < length; ++i) word += letters[(*random)() % letters.size()];
    return word;
}

class PrefixTableTest : public ::testing::TestWithParam<bool> {
protected:
    void TearDown() override {
        for (DB_HANDLE db : handles_) DB_DestroyHandle(db);
        std::remove(path_.c_str());
    }

    // A dictionary of random words, saved and loaded again, so that its words
    // lie in their node block in list order, as the tables need.
    DB_HANDLE Loaded(std::mt19937* random) {
        DB_HANDLE built = Handle();
        EXPECT_EQ(DB_CreateNewDictionary(built, 1031, 1036)->status, 1);
        if (GetParam()) {
            DICTIONARY_INFO info{};
            EXPECT_EQ(DB_GetDictionaryInfo(built, &info)->status, 1);
            info.primary_charset = 65001;
            EXPECT_EQ(DB_SetDictionaryInfo(built, &info)->status, 1);
        }
        for (int i = 0; i < 600; ++i) {
            DB_AddTranslation(built, 1, RandomWord(random, GetParam(), 6).c_str(),
                              RandomWord(random, false, 4).c_str());
        }
        path_ = ::testing::TempDir() + "prefix_table_" + std::to_string(::getpid()) + ".v03";
        EXPECT_EQ(DB_Save(built, DB_FORMAT_V03_SAVE, path_.c_str())->status, 1);
        DB_HANDLE db = Handle();
        EXPECT_EQ(DB_Load(db, DB_FORMAT_V03_LOAD, path_.c_str(), 0, 0)->status, 1);
        EXPECT_EQ(ComparesByChar(db->lists[0]), GetParam());
        return db;
    }

    DB_HANDLE Handle() {
        handles_.push_back(DB_CreateHandle()->handle);
        return handles_.back();
    }

    // Lists random keys under every fold, each as often as it takes to have
    // the tables built, and compares each answer with the walk.
    void ExpectSameAsWalk(DB_CONTEXT* db, std::mt19937* random, int rounds) {
        for (int i = 0; i < rounds; ++i) {
            const std::string key = RandomWord(random, GetParam(), 5);
            for (const Fold fold : kFolds) {
                SCOPED_TRACE(key + " fold " + std::to_string(static_cast<int>(fold)));
                ASSERT_EQ(Listed(db, key, fold), Expected(db, key, fold));
            }
        }
    }

    std::string path_;
    std::vector<DB_HANDLE> handles_;
};

TEST_P(PrefixTableTest, ListsFromTheTablesAgreeWithAWalk) {
    std::mt19937 random(11);
    DB_HANDLE db = Loaded(&random);
    ExpectSameAsWalk(db, &random, 40 * static_cast<int>(kPrefixListsBeforeTable));
    EXPECT_NE(db->lists[0].prefix_tables, nullptr);
    // Keys that begin like many words, and one longer than any word.
    for (const Fold fold : kFolds) {
        for (const std::string key : {"aa", "AB", "ab-", "aaaaaaaaaa"}) {
            SCOPED_TRACE(key);
            EXPECT_EQ(Listed(db, key, fold), Expected(db, key, fold));
        }
    }
}

TEST_P(PrefixTableTest, EditsAreListedAtOnce) {
    std::mt19937 random(12);
    DB_HANDLE db = Loaded(&random);
    ExpectSameAsWalk(db, &random, 20 * static_cast<int>(kPrefixListsBeforeTable));
    // A new word, a renamed one and a deleted one, each seen by the next list.
    ASSERT_EQ(DB_AddWord(db, DB_PRIMARY_LIST, "abba-new")->status, 1);
    EXPECT_EQ(Listed(db, "abba", Fold::kCase), Expected(db, "abba", Fold::kCase));
    const std::string first = db->lists[0].head->text;
    ASSERT_EQ(DB_ChangeWord(db, DB_PRIMARY_LIST, first.c_str(), "bbbb-renamed")->status, 2);
    EXPECT_EQ(Listed(db, "bbbb", Fold::kExact), Expected(db, "bbbb", Fold::kExact));
    ASSERT_EQ(DB_DeleteWord(db, DB_PRIMARY_LIST, "abba-new")->status, 1);
    EXPECT_EQ(Listed(db, "abba", Fold::kCase), Expected(db, "abba", Fold::kCase));
    ExpectSameAsWalk(db, &random, 20 * static_cast<int>(kPrefixListsBeforeTable));
}

// A new locale, set without a re-sort, may change how the list compares (a
// code page of two-byte characters compares by character): the tables built
// before don't serve it. Such a list is out of its collation order, so the
// walk is that of the same list after an edit, which never uses the tables.
TEST_P(PrefixTableTest, ANewLocaleIsListedAtOnce) {
    std::mt19937 random(13);
    DB_HANDLE db = Loaded(&random);
    DB_HANDLE walked = Handle();
    ASSERT_EQ(DB_Load(walked, DB_FORMAT_V03_LOAD, path_.c_str(), 0, 0)->status, 1);
    ASSERT_EQ(DB_AddWord(walked, DB_PRIMARY_LIST, "zzzz")->status, 1);
    ASSERT_EQ(DB_DeleteWord(walked, DB_PRIMARY_LIST, "zzzz")->status, 1);
    ExpectSameAsWalk(db, &random, 20 * static_cast<int>(kPrefixListsBeforeTable));
    ASSERT_NE(db->lists[0].prefix_tables, nullptr);
    for (DB_HANDLE handle : {db, walked}) {
        DICTIONARY_INFO info{};
        ASSERT_EQ(DB_GetDictionaryInfo(handle, &info)->status, 1);
        info.primary_locale = 1041;  // Japanese, code page 932
        ASSERT_EQ(DB_SetDictionaryInfo(handle, &info)->status, 1);
        EXPECT_TRUE(ComparesByChar(handle->lists[0]));
    }
    // Keys of ASCII letters: the list's bytes above 127 are no proper
    // characters of code page 932, which the walk's stretch can't tell.
    for (int i = 0; i < 20 * static_cast<int>(kPrefixListsBeforeTable); ++i) {
        std::string key = RandomWord(&random, false, 5);
        for (char& c : key) c = static_cast<unsigned char>(c) > 127 ? 'a' : c;
        for (const Fold fold : kFolds) {
            SCOPED_TRACE(key + " fold " + std::to_string(static_cast<int>(fold)));
            ASSERT_EQ(Listed(db, key, fold), Listed(walked, key, fold));
        }
    }
}

// In a UTF-8 list a malformed sequence reads as U+FFFD, the character a
// real U+FFFD is: a key holding either lists the words that begin with
// either, under every fold, whether the stretch of the key's first bytes is
// walked or the tables serve, and as the prefix test of each word says.
TEST(PrefixTableUtf8Test, MalformedBytesAndARealReplacementCharacterAreListedAlike) {
    DB_HANDLE built = DB_CreateHandle()->handle;
    ASSERT_EQ(DB_CreateNewDictionary(built, 1031, 1036)->status, 1);
    DICTIONARY_INFO info{};
    ASSERT_EQ(DB_GetDictionaryInfo(built, &info)->status, 1);
    info.primary_charset = 65001;
    ASSERT_EQ(DB_SetDictionaryInfo(built, &info)->status, 1);
    const std::string kReplacement = "\xEF\xBF\xBD";
    const Texts words = {"k\xFF",
                         "k\xFF"
                         "a",
                         "K\xFF"
                         "b",
                         "k" + kReplacement,
                         "k" + kReplacement + "c",
                         "k\xE2\x82",
                         "k\xE2\x82x",
                         "ka",
                         "kb",
                         "\xFFk",
                         "\xC3\xBF",
                         "k\xC3\xBF",
                         "ky",
                         kReplacement + "z",
                         "\x80\x80",
                         "\xE2\x82k",
                         "\xF0\x9D\x92\x9C"};
    for (const std::string& word : words) {
        ASSERT_GE(DB_AddTranslation(built, 1, word.c_str(), "x")->status, 1) << word;
    }
    const std::string path =
        ::testing::TempDir() + "prefix_malformed_" + std::to_string(::getpid()) + ".v03";
    ASSERT_EQ(DB_Save(built, DB_FORMAT_V03_SAVE, path.c_str())->status, 1);
    DB_HANDLE db = DB_CreateHandle()->handle;
    ASSERT_EQ(DB_Load(db, DB_FORMAT_V03_LOAD, path.c_str(), 0, 0)->status, 1);
    std::remove(path.c_str());
    for (const std::string key : {"k\xFF", "K\xFF", "k\xEF\xBF\xBD", "k\xE2\x82", "\xFF", "\xFFk",
                                  "\xEF\xBF\xBD", "k\xC3\xBF", "KY", "\x80"}) {
        for (const Fold fold : kFolds) {
            SCOPED_TRACE(testing::PrintToString(key) + " fold " +
                         std::to_string(static_cast<int>(fold)));
            const Texts expected = Expected(db, key, fold);
            // The first lists walk the stretch; later ones are served by the
            // tables.
            for (std::uint32_t i = 0; i <= kPrefixListsBeforeTable; ++i) {
                ASSERT_EQ(Listed(db, key, fold), expected) << "list " << i;
            }
        }
    }
    // Seven words begin with k and a replaced character; no malformed byte
    // passes for the letter of its value (U+00FF, y without its accent).
    EXPECT_EQ(Listed(db, "k\xFF", Fold::kCase).size(), 7u);
    for (const std::string& word : Listed(db, "KY", Fold::kCaseAccent)) {
        EXPECT_TRUE(word == "ky" || word == "k\xC3\xBF") << testing::PrintToString(word);
    }
    DB_DestroyHandle(db);
    DB_DestroyHandle(built);
}

INSTANTIATE_TEST_SUITE_P(ByByteAndByChar, PrefixTableTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Utf8" : "CodePage");
                         });

}  // namespace
}  // namespace lexbase
