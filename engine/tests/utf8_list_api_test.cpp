// Lists kept in UTF-8, and lists of a double-byte code page, through the
// exported functions: which lists become UTF-8, and that every search folds
// and counts whole characters there, never single bytes of one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/lexbase.h"

namespace {

using Words = std::vector<std::string>;

constexpr uint32_t kEnglish = 1033;
constexpr uint32_t kHindi = 0x0439;
constexpr uint32_t kJapanese = 0x0411;
constexpr uint32_t kUnnamed = 0x1000;  // a language known by its code only
constexpr uint32_t kUtf8 = 65001;

// clang-format off
// Esperanto and Hindi words, in UTF-8.
const std::string kCevalo = "\xC4\x89" "evalo";           // ĉevalo
const std::string kCevaloUpper = "\xC4\x88" "EVALO";      // ĈEVALO
const std::string kCaci = "\xC4\x89" "a" "\xC4\x89";       // ĉaĉ
const std::string kGhar = "\xE0\xA4\x98\xE0\xA4\xB0";      // घर
const std::string kGhara = "\xE0\xA4\x98\xE0\xA4\xB0\xE0\xA4\xBE";  // घरा
const std::string kGha = "\xE0\xA4\x98";                   // घ
const std::string kMakan = "\xE0\xA4\xAE\xE0\xA4\x95\xE0\xA4\xBE\xE0\xA4\xA8";  // मकान
// clang-format on

// Listings compare as sets: the engine's order is the collation's.
Words S(Words words) {
    std::sort(words.begin(), words.end());
    return words;
}

uint32_t Charset(DB_HANDLE db, int list) {
    DICTIONARY_INFO info{};
    EXPECT_EQ(DB_GetDictionaryInfo(db, &info)->status, 1);
    return list == DB_PRIMARY_LIST ? info.primary_charset : info.secondary_charset;
}

class Utf8ListTest : public ::testing::Test {
protected:
    void SetUp() override { db_ = DB_CreateHandle()->handle; }
    void TearDown() override { DB_DestroyHandle(db_); }

    void Create(uint32_t primary, uint32_t secondary) {
        ASSERT_EQ(DB_CreateNewDictionary(db_, primary, secondary)->status, 1);
    }
    void Add(const Words& words, int32_t list = DB_PRIMARY_LIST) {
        for (const std::string& w : words) ASSERT_EQ(DB_AddWord(db_, list, w.c_str())->status, 1);
    }
    Words List(const std::string& pattern, uint32_t mode, bool case_sensitive = false,
               bool ignore_accents = false, int32_t list = DB_PRIMARY_LIST) {
        std::vector<const char*> out(100, nullptr);
        const DB_RESULT* r = DB_List(db_, list, pattern.c_str(), case_sensitive, ignore_accents,
                                     mode, out.data(), 100);
        EXPECT_EQ(r->status, 1) << r->message;
        Words words(out.begin(), out.begin() + r->count);
        std::sort(words.begin(), words.end());
        return words;
    }
    Words Translate(const std::string& word, bool case_sensitive, bool ignore_accents,
                    int32_t direction = DB_TRANS_PRIMARY_TO_SECONDARY) {
        std::vector<const char*> out(100, nullptr);
        const DB_RESULT* r = DB_Translate(db_, direction, word.c_str(), case_sensitive,
                                          ignore_accents, out.data(), 100);
        return Words(out.begin(), out.begin() + r->count);
    }
    // Puts the primary list of a new English dictionary into UTF-8.
    void CreateUtf8English() {
        Create(kUnnamed, kEnglish);
        EXPECT_EQ(Charset(db_, DB_PRIMARY_LIST), kUtf8);
    }

    DB_HANDLE db_ = nullptr;
};

TEST_F(Utf8ListTest, ListsWithoutAnEightBitPageAreUtf8AndStaySo) {
    Create(kEnglish, kHindi);
    EXPECT_EQ(Charset(db_, DB_PRIMARY_LIST), 0u);
    EXPECT_EQ(Charset(db_, DB_SECONDARY_LIST), kUtf8);

    DICTIONARY_INFO info{};
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &info)->status, 1);
    // An empty list may take UTF-8 whatever its language; a Hindi one can't leave it.
    info.primary_charset = kUtf8;
    info.secondary_charset = 1;
    ASSERT_EQ(DB_SetDictionaryInfo(db_, &info)->status, 1);
    EXPECT_EQ(Charset(db_, DB_PRIMARY_LIST), kUtf8);
    EXPECT_EQ(Charset(db_, DB_SECONDARY_LIST), kUtf8);

    // Words are never converted: a list that has words keeps its encoding.
    Add({kCevalo});
    info.primary_charset = 238;
    ASSERT_EQ(DB_SetDictionaryInfo(db_, &info)->status, 1);
    EXPECT_EQ(Charset(db_, DB_PRIMARY_LIST), kUtf8);
    DB_HANDLE other = DB_CreateHandle()->handle;
    ASSERT_EQ(DB_CreateNewDictionary(other, kEnglish, kEnglish)->status, 1);
    ASSERT_EQ(DB_AddWord(other, 1, "house")->status, 1);
    info.primary_locale = info.secondary_locale = kEnglish;
    info.primary_charset = kUtf8;
    ASSERT_EQ(DB_SetDictionaryInfo(other, &info)->status, 1);
    EXPECT_EQ(Charset(other, DB_PRIMARY_LIST), 0u);
    EXPECT_EQ(Charset(other, DB_SECONDARY_LIST), 1u);  // empty, and English has a page
    DB_DestroyHandle(other);
}

TEST_F(Utf8ListTest, PrefixesFoldWholeCharacters) {
    CreateUtf8English();
    Add({kCevalo, "cevalo", "ceval", "cxevalo", kCaci, "dento",
         "\xC4\x8D"
         "ep"});  // čep
    EXPECT_EQ(List("cev", DB_LIST_PREFIX, true, false), S(Words{"ceval", "cevalo"}));
    EXPECT_EQ(List("cev", DB_LIST_PREFIX, true, true), S(Words{"ceval", "cevalo", kCevalo}));
    EXPECT_EQ(List("CEV", DB_LIST_PREFIX, false, true), S(Words{"ceval", "cevalo", kCevalo}));
    EXPECT_EQ(List(kCevaloUpper, DB_LIST_PREFIX, false, false), S(Words{kCevalo}));
    EXPECT_EQ(List(kCevaloUpper, DB_LIST_PREFIX, true, false), Words{});
    // One character of two bytes: its own words, then with its variants.
    EXPECT_EQ(List("\xC4\x89", DB_LIST_PREFIX, true, false), S(Words{kCaci, kCevalo}));
    EXPECT_EQ(List("c", DB_LIST_PREFIX, false, true),
              S(Words{"ceval", "cevalo", "cxevalo", kCaci, kCevalo,
                      "\xC4\x8D"
                      "ep"}));
    EXPECT_EQ(List("C", DB_LIST_PREFIX, false, false), S(Words{"ceval", "cevalo", "cxevalo"}));
}

TEST_F(Utf8ListTest, DevanagariPrefixesAndWildcardsCountCharacters) {
    Create(kEnglish, kHindi);
    Add({kGhar, kGhara, kGha, kMakan}, DB_SECONDARY_LIST);
    const int s = DB_SECONDARY_LIST;
    EXPECT_EQ(List(kGha, DB_LIST_PREFIX, false, false, s), S(Words{kGha, kGhar, kGhara}));
    EXPECT_EQ(List(kGhar, DB_LIST_PREFIX, false, true, s), S(Words{kGhar, kGhara}));
    // `?` is one character, however many bytes it takes.
    EXPECT_EQ(List(kGha + "?", DB_LIST_WILDCARDS, false, false, s), S(Words{kGhar}));
    EXPECT_EQ(List("?", DB_LIST_WILDCARDS, false, false, s), S(Words{kGha}));
    EXPECT_EQ(List("??", DB_LIST_WILDCARDS, false, false, s), S(Words{kGhar}));
    EXPECT_EQ(List("*\xE0\xA4\xBE", DB_LIST_WILDCARDS, false, false, s), S(Words{kGhara}));
    EXPECT_EQ(List("????", DB_LIST_WILDCARDS, false, false, s), S(Words{kMakan}));
}

TEST_F(Utf8ListTest, RegularExpressionsMatchCharacters) {
    Create(kUnnamed, kHindi);
    Add({kCevalo, "cevalo", kCaci,
         "\xC4\x88"
         "EVALO"});
    Add({kGhar, kGhara, kGha, kMakan}, DB_SECONDARY_LIST);
    const int s = DB_SECONDARY_LIST;
    // `.` is one Devanagari character, not one byte of it.
    EXPECT_EQ(List("^" + kGha + ".$", DB_LIST_REGEX, true, false, s), S(Words{kGhar}));
    EXPECT_EQ(List("^....$", DB_LIST_REGEX, true, false, s), S(Words{kMakan}));
    EXPECT_EQ(List("^\\p{Devanagari}+$", DB_LIST_REGEX, true, false, s).size(), 4u);
    EXPECT_EQ(List("^\\w+$", DB_LIST_REGEX, true, false, s), S(Words{kGha, kGhar}));  // no marks
    // Case folds as Unicode folds it; accents go with the switch.
    EXPECT_EQ(List("^\xC4\x88", DB_LIST_REGEX, true, false), S(Words{"\xC4\x88"
                                                                     "EVALO"}));
    EXPECT_EQ(List("^\xC4\x88"
                   "e",
                   DB_LIST_REGEX, false, false),
              S(Words{kCevalo,
                      "\xC4\x88"
                      "EVALO"}));
    EXPECT_EQ(List("^cev", DB_LIST_REGEX, true, true), S(Words{"cevalo", kCevalo}));
    EXPECT_EQ(List("^cev", DB_LIST_REGEX, false, true).size(), 3u);
    EXPECT_EQ(List("^c.c$", DB_LIST_REGEX, true, true), S(Words{kCaci}));
    std::vector<const char*> out(4);
    const DB_RESULT* r = DB_List(db_, 1, "(", 0, 0, DB_LIST_REGEX, out.data(), 4);
    EXPECT_EQ(r->status, 0);
    EXPECT_STREQ(r->message, "PCRE error!");
}

TEST_F(Utf8ListTest, WildcardsPalindromesAndAnagramsGoByCharacter) {
    CreateUtf8English();
    Add({kCevalo, kCaci, "a\xC4\x89",
         "\xC4\x89"
         "a",
         "\xC4\x89",
         "\xC4\x88"
         "a"
         "\xC4\x89",
         "aca"});
    EXPECT_EQ(List("?a?", DB_LIST_WILDCARDS, true, false), S(Words{kCaci,
                                                                   "\xC4\x88"
                                                                   "a"
                                                                   "\xC4\x89"}));
    EXPECT_EQ(List("?c?", DB_LIST_WILDCARDS, true, false), S(Words{"aca"}));
    EXPECT_EQ(List("\xC4\x89?", DB_LIST_WILDCARDS, true, false), S(Words{"\xC4\x89"
                                                                         "a"}));
    EXPECT_EQ(List("\xC4\x89*", DB_LIST_WILDCARDS, false, false), S(Words{"\xC4\x89",
                                                                          "\xC4\x89"
                                                                          "a",
                                                                          kCaci,
                                                                          "\xC4\x88"
                                                                          "a"
                                                                          "\xC4\x89",
                                                                          kCevalo}));
    // A byte-wise reversal of ĉaĉ is no text at all; by character it reads the same.
    EXPECT_EQ(List("", DB_LIST_PALINDROME, true, false), S(Words{"\xC4\x89", "aca", kCaci}));
    EXPECT_EQ(List("", DB_LIST_PALINDROME, false, false), S(Words{"\xC4\x89", "aca", kCaci,
                                                                  "\xC4\x88"
                                                                  "a"
                                                                  "\xC4\x89"}));
    EXPECT_EQ(List("", DB_LIST_PALINDROME, true, true), S(Words{"\xC4\x89", "aca", kCaci}));
    // Anagrams: ĉ counts once, as one letter.
    EXPECT_EQ(List("\xC4\x89"
                   "a",
                   DB_LIST_ANAGRAM_EXACT, true, false),
              S(Words{"a\xC4\x89",
                      "\xC4\x89"
                      "a"}));
    EXPECT_EQ(List("a\xC4\x89", DB_LIST_ANAGRAM_ONCE, true, false), S(Words{"a\xC4\x89", "\xC4\x89",
                                                                            "\xC4\x89"
                                                                            "a"}));
    EXPECT_EQ(List("a\xC4\x89", DB_LIST_ANAGRAM_REUSE, true, false),
              S(Words{"a\xC4\x89", "\xC4\x89",
                      "\xC4\x89"
                      "a",
                      kCaci}));
    EXPECT_EQ(List("\xC4\x89"
                   "ac",
                   DB_LIST_ANAGRAM_EXACT, true, true),
              S(Words{kCaci}));
}

TEST_F(Utf8ListTest, TranslationsFoldWholeCharacters) {
    CreateUtf8English();
    ASSERT_EQ(DB_AddTranslation(db_, 1, kCevalo.c_str(), "horse")->status, 2);
    ASSERT_EQ(DB_AddTranslation(db_, 1, "cevalo", "not a word")->status, 2);
    EXPECT_EQ(Translate("cevalo", true, true), (Words{"not a word", "horse"}));
    EXPECT_EQ(Translate("cevalo", true, false), (Words{"not a word"}));
    EXPECT_EQ(Translate(kCevaloUpper, false, false), (Words{"horse"}));
    EXPECT_EQ(Translate("CEVALO", false, true), (Words{"not a word", "horse"}));
    EXPECT_EQ(Translate("horse", false, false, DB_TRANS_SECONDARY_TO_PRIMARY), (Words{kCevalo}));
    // Many look-ups build the hash index, which must fold as the search does.
    for (int i = 0; i < 600; ++i) Translate("cevalo", true, false);
    EXPECT_EQ(Translate("cevalo", true, true), (Words{"not a word", "horse"}));
    EXPECT_EQ(Translate(kCevalo, true, false), (Words{"horse"}));
    EXPECT_EQ(Translate(kCevaloUpper, false, false), (Words{"horse"}));
    EXPECT_EQ(Translate("CEVALO", false, true), (Words{"not a word", "horse"}));
    // A word added after it, in its place in the list, is found too.
    ASSERT_EQ(DB_AddTranslation(db_, 1, kCevaloUpper.c_str(), "big horse")->status, 2);
    EXPECT_EQ(Translate("cevalo", false, true), (Words{"not a word", "horse", "big horse"}));
    EXPECT_EQ(Translate(kCevaloUpper, true, false), (Words{"big horse"}));
}

TEST_F(Utf8ListTest, AsciiAndWellFormedWordsTakeNoShortCutToAnotherAnswer) {
    // The KELVIN SIGN folds to k; a malformed byte is U+FFFD, one character.
    const std::string kelvin_sign =
        "\xE2\x84\xAA"
        "elvin";
    CreateUtf8English();
    for (const std::string& w : {kelvin_sign, std::string("kelvin"), std::string("KELVIN"),
                                 std::string("k\xFFx"), std::string("kelvins")}) {
        ASSERT_EQ(DB_AddTranslation(db_, 1, w.c_str(), ("t-" + w).c_str())->status, 2) << w;
    }
    EXPECT_EQ(List("KEL", DB_LIST_PREFIX), S(Words{kelvin_sign, "kelvin", "KELVIN", "kelvins"}));
    EXPECT_EQ(List("kelvin", DB_LIST_PREFIX, true), S(Words{"kelvin", "kelvins"}));
    Words folded = Translate("Kelvin", false, false);
    std::sort(folded.begin(), folded.end());
    EXPECT_EQ(folded, S(Words{"t-" + kelvin_sign, "t-kelvin", "t-KELVIN"}));
    EXPECT_EQ(Translate("kelvi", false, false), Words{});
    EXPECT_EQ(Translate("k\xFFx", true, false), Words{"t-k\xFFx"});
    EXPECT_EQ(List("^k.x$", DB_LIST_REGEX, true), Words{"k\xFFx"});
    EXPECT_EQ(List("^.elvin$", DB_LIST_REGEX, true), S(Words{kelvin_sign, "kelvin"}));
    EXPECT_EQ(List("^.elvin$", DB_LIST_REGEX, true, true), S(Words{kelvin_sign, "kelvin"}));
}

TEST_F(Utf8ListTest, IdenticalWordsAcrossEncodings) {
    Create(kEnglish, kUnnamed);                           // windows-1252 and UTF-8
    ASSERT_EQ(DB_AddWord(db_, 1, "caf\xE9")->status, 1);  // café in 1252
    ASSERT_EQ(DB_AddWord(db_, 1, "house")->status, 1);
    ASSERT_EQ(DB_AddWord(db_, 1, "Kuca")->status, 1);
    ASSERT_EQ(DB_AddWord(db_, 2, "caf\xC3\xA9")->status, 1);  // café in UTF-8
    ASSERT_EQ(DB_AddWord(db_, 2,
                         "ku\xC4\x87"
                         "a")
                  ->status,
              1);  // kuća
    ASSERT_EQ(DB_AddWord(db_, 2, "mouse")->status, 1);
    std::vector<const char*> out(3, nullptr);
    const DB_RESULT* r = DB_ListIdenticalWords(db_, 0, 1, out.data());
    ASSERT_EQ(r->count, 1);
    EXPECT_STREQ(out[0], "caf\xE9");
    r = DB_ListIdenticalWords(db_, 1, 0, out.data());
    ASSERT_EQ(r->count, 2);
    EXPECT_STREQ(out[1], "Kuca");
}

TEST_F(Utf8ListTest, DoubleByteWordsNeverFoldTogether) {
    // A list in code page 932 from before: "\x83\x41" and "\x83\x61" are two
    // katakana whose second bytes are the ASCII letters A and a.
    Create(kEnglish, kEnglish);
    Add({"\x83\x41", "\x83\x61", "\x83\x41\x83\x61", "A"});
    DICTIONARY_INFO info{};
    ASSERT_EQ(DB_GetDictionaryInfo(db_, &info)->status, 1);
    info.primary_locale = kJapanese;
    info.primary_charset = 128;
    ASSERT_EQ(DB_SetDictionaryInfo(db_, &info)->status, 1);
    ASSERT_EQ(Charset(db_, DB_PRIMARY_LIST), 128u);
    ASSERT_EQ(DB_ResortList(db_, DB_PRIMARY_LIST, kJapanese)->status, 2);
    EXPECT_EQ(List("\x83\x41", DB_LIST_PREFIX, false, true),
              S(Words{"\x83\x41", "\x83\x41\x83\x61"}));
    EXPECT_EQ(List("\x83\x61", DB_LIST_PREFIX, false, true), S(Words{"\x83\x61"}));
    EXPECT_EQ(List("?", DB_LIST_WILDCARDS, false, false), S(Words{"A", "\x83\x41", "\x83\x61"}));
    EXPECT_EQ(List("", DB_LIST_PALINDROME, false, false), S(Words{"A", "\x83\x41", "\x83\x61"}));
    EXPECT_EQ(List("a", DB_LIST_PREFIX, false, false), S(Words{"A"}));
    EXPECT_EQ(List("^.$", DB_LIST_REGEX, false, false), S(Words{"A", "\x83\x41", "\x83\x61"}));
    EXPECT_EQ(List("\x83\x61", DB_LIST_REGEX, false, false),
              S(Words{"\x83\x41\x83\x61", "\x83\x61"}));
}

TEST_F(Utf8ListTest, SavedAndLoadedListsStayUtf8) {
    const std::string path =
        ::testing::TempDir() + "utf8_list_" + std::to_string(::getpid()) + ".v03";
    Create(kEnglish, kHindi);
    ASSERT_EQ(DB_AddTranslation(db_, 1, "house", kGhar.c_str())->status, 2);
    ASSERT_EQ(DB_AddTranslation(db_, 1, "house", kMakan.c_str())->status, 2);
    ASSERT_EQ(DB_Save(db_, 6, path.c_str())->status, 1);
    DB_HANDLE loaded = DB_CreateHandle()->handle;
    ASSERT_EQ(DB_Load(loaded, 1, path.c_str(), 0, 0)->status, 1);
    EXPECT_EQ(Charset(loaded, DB_SECONDARY_LIST), kUtf8);
    std::vector<const char*> out(4, nullptr);
    const DB_RESULT* r = DB_List(loaded, 2, kGha.c_str(), 0, 1, DB_LIST_PREFIX, out.data(), 4);
    ASSERT_EQ(r->count, 1);
    EXPECT_EQ(std::string(out[0]), kGhar);
    r = DB_Translate(loaded, 1, "HOUSE", 0, 1, out.data(), 4);
    ASSERT_EQ(r->count, 2);
    DB_DestroyHandle(loaded);
    ::unlink(path.c_str());
}

}  // namespace
