#include "tools/cli_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <set>
#include <sstream>
#include <thread>

#include "engine/lexbase.h"
#include "exchange/dictd_format.h"
#include "lookup/lookup_image.h"
#include "platform/file_writer.h"
#include "platform/tests/lock_holder.h"
#include "testing/test_support.h"
#include "tools/commands/command_support.h"

namespace cli {
namespace {

using lookup::ImagePathOf;
using lookup::LookupImage;
using lookup::ReadSourceKey;
using lookup::SourceKey;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class CliCommandsTest : public test_support::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        // Look-up images go to a cache of the test's own.
        ::setenv("XDG_CACHE_HOME", Path("cache").c_str(), 1);
    }

    void WriteFile(const std::string& name, const std::string& bytes) const {
        test_support::WriteFile(Path(name), bytes);
    }
    std::string ReadFile(const std::string& name) const {
        return test_support::ReadFile(Path(name));
    }

    CliRun Cli(const std::vector<std::string>& argv, const std::string& input = {}) const {
        Arguments args;
        std::string error;
        if (!ParseArguments(argv, &args, &error)) return {kExitUsage, "", error};
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = RunCommand(args, in, out, err, false, dir_);
        return {status, out.str(), err.str()};
    }

    // A small dictd database, freedict-eng-hrv, in the scratch folder.
    void WriteDictdDatabase() const {
        const std::string dict =
            "00-database-info\nAbout.\n"
            "house /hˈaʊs/\ndom, kuća\n"
            "theta /θ/\nθ-slovo, teta\n"
            "cat /kat/ <n>\n1. mačka\n   Synonyms: {kitty}\n";
        const auto offset = [&](const std::string& s) { return dict.find(s); };
        const auto line = [&](const std::string& head, std::size_t from, std::size_t to) {
            return head + "\t" + exchange::EncodeDictdNumber(from) + "\t" +
                   exchange::EncodeDictdNumber(to - from) + "\n";
        };
        WriteFile("freedict-eng-hrv.index", line("00databaseinfo", 0, offset("house")) +
                                                line("cat", offset("cat"), dict.size()) +
                                                line("house", offset("house"), offset("theta")) +
                                                line("theta", offset("theta"), offset("cat")) +
                                                line("beyond", dict.size(), dict.size() + 10));
        gzFile gz = gzopen(Path("freedict-eng-hrv.dict.dz").c_str(), "wb");
        if (gz == nullptr) FAIL() << "can't write the .dict.dz";
        gzwrite(gz, dict.data(), static_cast<unsigned>(dict.size()));
        gzclose(gz);
    }

    // A small English-Croatian dictionary; "mačka" in code page 1250.
    std::string MakeDictionary() const {
        WriteFile("pairs.txt",
                  "dog\tpas\r\ncat\tma\xe8ka\r\ncat\tma\xe8"
                  "ak\r\ntac\tkat\r\n"
                  "kayak\tkajak\r\n");
        const CliRun r = Cli({"import", "--format", "txt", Path("pairs.txt"), Path("ec.v03"),
                              "--locales", "1033,1050", "--names", "English,Hrvatski"});
        EXPECT_EQ(r.status, kExitOk) << r.err;
        return Path("ec.v03");
    }

    // `file` exported and imported again with UTF-8 lists as u.v03, with a
    // few more pairs whose words fold by character.
    std::string Utf8Copy(const std::string& file) const {
        const CliRun exported =
            Cli({"export", "--format", "txt", file, Path("u.txt"), "--encoding", "utf-8"});
        EXPECT_EQ(exported.status, kExitOk) << exported.err;
        WriteFile("u.txt", ReadFile("u.txt") +
                               "\xc3\x89t\xc3\xa9\tsummer\nStra\xc3\x9f"
                               "e\tstreet\nstrasse\tstreet\n");
        const CliRun imported = Cli({"import", "--format", "txt", Path("u.txt"), Path("u.v03"),
                                     "--locales", "eng,hrv", "--encoding", "utf-8"});
        EXPECT_EQ(imported.status, kExitOk) << imported.err;
        return Path("u.v03");
    }

    // English-Croatian pairs of TXT lines imported into d.v03.
    std::string ImportPairs(const std::string& pairs) const {
        WriteFile("pairs.txt", pairs);
        const CliRun r = Cli({"import", "--format", "txt", Path("pairs.txt"), Path("d.v03"),
                              "--locales", "1033,1050"});
        EXPECT_EQ(r.status, kExitOk) << r.err;
        return Path("d.v03");
    }
};

TEST_F(CliCommandsTest, TranslatesBetweenUtf8AndTheListsCodePages) {
    const std::string file = MakeDictionary();
    CliRun r = Cli({"translate", file, "cat"});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "mačka\nmačak\n");
    EXPECT_EQ(Cli({"translate", file, "MAČKA", "--reverse"}).out, "cat\n");  // folded
    r = Cli({"translate", file, "MAČKA", "--reverse", "--case"});
    EXPECT_EQ(r.status, kExitFailed);
    r = Cli({"translate", file, "mačka", "--reverse"});
    EXPECT_EQ(r.out, "cat\n");
    r = Cli({"translate", file, "日本", "--reverse"});  // not in code page 1250
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err, "wordbay-cli: Translations not found.\n");
    r = Cli({"translate", file, "bird"});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err, "wordbay-cli: Translations not found.\n");
}

TEST_F(CliCommandsTest, BatchTranslationAnswersEveryLineInOrder) {
    const std::string file = MakeDictionary();
    const CliRun r = Cli({"translate", file, "-"}, "cat\r\nbird\n\ndog\nDOG");
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "mačka\tmačak\n\n\npas\npas\n");
    EXPECT_EQ(Cli({"translate", file, "-", "--case"}, "DOG\n").out, "\n");
}

// A dictionary with repeated texts, texts that differ only in case, a word
// with many translations and a translation shared by several words.
std::string ImageTestPairs() {
    std::string pairs;
    const char* const lines[] = {
        "cat\tma\xe8ka",
        "cat\tma\xe8"
        "ak",
        "Cat\tMa\xe8"
        "ak",
        "dog\tpas",
        "dog\tpas",
        "hound\tpas",
        "a\tjedan",
        "a\tneki",
        "ab\tx",
        "abc\ty",
        "house\tdom",
        "house\tku\xe6"
        "a",
        "home\tdom",
        "zz top\tzz",
        "\xe9t\xe9\tljeto",
    };
    for (const char* line : lines) pairs += std::string(line) + "\r\n";
    for (int i = 0; i < 40; ++i) pairs += "many\tw" + std::to_string(i) + "\r\n";
    return pairs;
}

// Every word of both lists, some that are in neither, one per line.
const char kImageTestWords[] =
    "cat\nCat\nCAT\ndog\nhound\na\nab\nabc\nabcd\nhouse\nhome\nzz top\nzz\nmany\n"
    "\xc3\xa9t\xc3\xa9\nmačka\nmačak\nMačak\npas\njedan\nneki\nx\ny\ndom\nkuća\nw0\nw39\n"
    "\n0\n\xef\xbf\xbf\n";

TEST_F(CliCommandsTest, LookupFindsBaseWordsAndSuggestsWhatTranslateDoesNot) {
    // No speller: the tables and rules alone, whatever the machine has.
    ::setenv("WORDBAY_HUNSPELL_DIRS", Path("no-spellers").c_str(), 1);
    const std::string file = ImportPairs(
        "walk\thodati\r\ndog\tpas\r\ngo\ti\x9a"
        "i\r\ncat\tma\xe8ka\r\nspoke\t\x9e"
        "bica\r\n"
        "speak\tgovoriti\r\n");
    EXPECT_EQ(Cli({"translate", file, "walked"}).status, kExitFailed);
    CliRun r = Cli({"lookup", file, "walked"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(r.out, "walked: form of walk\nhodati\n");
    EXPECT_EQ(Cli({"lookup", file, "went"}).out, "went: form of go\ni\u0161i\n");
    EXPECT_EQ(Cli({"lookup", file, "spoke"}).out, "\u017ebica\nspoke: a form of speak\ngovoriti\n");
    r = Cli({"lookup", file, "dgo"});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.out, "Did you mean: dog, go\n");
    r = Cli({"lookup", file, "xylophone"});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err, "wordbay-cli: Translations not found.\n");
    // The Croatian list, in code page 1250, both ways.
    EXPECT_EQ(Cli({"lookup", file, "ma\u010Dke", "--reverse"}).out,
              "ma\u010Dke: form of ma\u010Dka\ncat\n");
    ::unsetenv("WORDBAY_HUNSPELL_DIRS");
}

TEST_F(CliCommandsTest, LookupWritesOneJsonObjectPerLine) {
    ::setenv("WORDBAY_HUNSPELL_DIRS", Path("no-spellers").c_str(), 1);
    const std::string file = ImportPairs(
        "dog\tpas\r\nspoke\t\x9e"
        "bica\r\nspeak\tgovoriti\r\n");
    const CliRun r = Cli({"lookup", file, "-", "--json"}, "\u201CDogs,\u201D\nspoke\ndgo\n\x01\n");
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(
        r.out,
        "{\"query\":\"Dogs\",\"headword\":\"dog\",\"how\":\"form\",\"translations\":[\"pas\"],"
        "\"forms\":[],\"suggestions\":[]}\n"
        "{\"query\":\"spoke\",\"headword\":\"spoke\",\"how\":\"exact\",\"translations\":"
        "[\"\u017ebica\"],\"forms\":[{\"word\":\"speak\",\"translations\":[\"govoriti\"]}],"
        "\"suggestions\":[]}\n"
        "{\"query\":\"dgo\",\"headword\":\"\",\"how\":\"suggestion\",\"translations\":[],"
        "\"forms\":[],\"suggestions\":[\"dog\"]}\n"
        "{\"query\":\"\",\"headword\":\"\",\"how\":\"none\",\"translations\":[],"
        "\"forms\":[],\"suggestions\":[]}\n");
    // The plain batch form: a base word in brackets before its translations.
    EXPECT_EQ(Cli({"lookup", file, "-"}, "dogs\nspoke\n").out,
              "(dog)\tpas\n\u017ebica\t(speak)\tgovoriti\n");
    ::unsetenv("WORDBAY_HUNSPELL_DIRS");
}

TEST_F(CliCommandsTest, ExactLookUpsAnswerTheSameFromTheLookUpImage) {
    const std::string file = ImportPairs(ImageTestPairs());
    const std::vector<std::string> forward = {"translate", file, "-", "--case"};
    const std::vector<std::string> backward = {"translate", file, "-", "--case", "--reverse"};
    // The first run loads the dictionary and leaves the image behind.
    const CliRun loaded = Cli(forward, kImageTestWords);
    const CliRun loaded_back = Cli(backward, kImageTestWords);
    EXPECT_EQ(loaded.out.rfind("mačka\tmačak\nMačak\n\npas\tpas\npas\n", 0), 0u) << loaded.out;
    const std::string image = ImagePathOf(file);
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(image.rfind(Path("cache/wordbay/"), 0), 0u);
    ASSERT_TRUE(std::filesystem::exists(image));
    SourceKey key;
    ASSERT_TRUE(ReadSourceKey(file, &key));
    LookupImage mapped;
    ASSERT_TRUE(mapped.Open(image, file, key));

    const CliRun from_image = Cli(forward, kImageTestWords);
    EXPECT_EQ(from_image.out, loaded.out);
    EXPECT_EQ(Cli(backward, kImageTestWords).out, loaded_back.out);
    for (const char* word : {"many", "dog", "zz top", "abcd", "CAT"}) {
        SCOPED_TRACE(word);
        const CliRun a = Cli({"translate", file, word, "--case"});
        std::filesystem::remove(image);
        const CliRun b = Cli({"translate", file, word, "--case"});
        EXPECT_EQ(std::make_tuple(a.status, a.out, a.err), std::make_tuple(b.status, b.out, b.err));
    }
    EXPECT_EQ(Cli({"translate", file, "CAT"}).out, "mačka\nmačak\nMačak\n");
}

TEST_F(CliCommandsTest, AStaleOrDamagedLookUpImageIsNotBelieved) {
    const std::string file = ImportPairs(ImageTestPairs());
    const std::vector<std::string> forward = {"translate", file, "-", "--case"};
    const std::string expected = Cli(forward, kImageTestWords).out;
    const std::string image = ImagePathOf(file);
    const std::string good = ReadFile(image.substr(dir_.size()));
    ASSERT_GT(good.size(), 200u);
    SourceKey key;
    ASSERT_TRUE(ReadSourceKey(file, &key));

    // Another state of the file, or another file, is not the image's.
    {
        LookupImage mapped;
        SourceKey other = key;
        other.crc ^= 1;
        EXPECT_FALSE(mapped.Open(image, file, other));
        other = key;
        other.modified_nanoseconds += 1;
        EXPECT_FALSE(mapped.Open(image, file, other));
        other = key;
        other.size += 1;
        EXPECT_FALSE(mapped.Open(image, file, other));
        EXPECT_FALSE(mapped.Open(image, file + "x", key));
        EXPECT_FALSE(mapped.is_open());
    }
    // A dictionary changed in place answers with its new pairs.
    ImportPairs("cat\tma\xe8ka\r\n");
    EXPECT_EQ(Cli(forward, "cat\ndog\n").out, "mačka\n\n");
    EXPECT_EQ(Cli(forward, "cat\ndog\n").out, "mačka\n\n");
    ImportPairs(ImageTestPairs());
    ASSERT_EQ(Cli(forward, kImageTestWords).out, expected);
    ASSERT_TRUE(ReadSourceKey(file, &key));
    const std::string rebuilt = ReadFile(image.substr(dir_.size()));
    ASSERT_EQ(rebuilt.size(), good.size());

    // Any one byte changed, or the image cut short: the answers stay the
    // dictionary's, and the image is written anew.
    const auto check = [&](const std::string& bytes) {
        std::ofstream(image, std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_EQ(Cli(forward, kImageTestWords).out, expected);
        LookupImage mapped;
        EXPECT_TRUE(mapped.Open(image, file, key));
    };
    for (std::size_t at = 0; at < rebuilt.size(); at += 7) {
        SCOPED_TRACE(at);
        std::string bytes = rebuilt;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x21);
        check(bytes);
    }
    for (std::size_t size : {std::size_t{0}, std::size_t{100}, rebuilt.size() - 1}) {
        SCOPED_TRACE(size);
        check(rebuilt.substr(0, size));
    }
    // An image that can't be written costs nothing but the time.
    std::filesystem::remove(image);
    WriteFile("cache/wordbay-blocked", "");
    ::setenv("XDG_CACHE_HOME", Path("cache/wordbay-blocked").c_str(), 1);
    EXPECT_EQ(Cli(forward, kImageTestWords).out, expected);
}

TEST_F(CliCommandsTest, ALookUpImageCutShortWhileMappedIsNoLongerBelieved) {
    const std::string file = ImportPairs(ImageTestPairs());
    ASSERT_EQ(Cli({"translate", file, "cat", "--case"}).out, "mačka\nmačak\n");
    const std::string image = ImagePathOf(file);
    SourceKey key;
    ASSERT_TRUE(ReadSourceKey(file, &key));
    // Twice: the reader must stay usable for the image written anew.
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        LookupImage mapped;
        ASSERT_TRUE(mapped.Open(image, file, key));
        std::vector<std::string> found;
        EXPECT_EQ(mapped.Translate(0, "dog", &found), LookupImage::Answer::kFound);
        EXPECT_EQ(found, (std::vector<std::string>{"pas", "pas"}));
        const std::string whole = ReadFile(image.substr(dir_.size()));
        ASSERT_EQ(::truncate(image.c_str(), 0), 0);
        EXPECT_EQ(mapped.Translate(0, "cat", &found), LookupImage::Answer::kDamaged);
        EXPECT_TRUE(found.empty());
        std::ofstream(image, std::ios::binary | std::ios::trunc) << whole;
    }
}

// Prefixes for both lists of ImageTestPairs(), one per line: folded forms,
// accents, a prefix as long as a word, longer, and none at all.
const char kImageTestPrefixes[] =
    "c\nC\nca\nCAT\ncats\nma\nMa\nMA\xc4\x8c\nma\xc4\x8d\nmac\n\xc3\xa9\ne\n\xc3\x89T\nh\nho\nhou\n"
    "zz\nzz t\nw\nw3\nx\nq\n~\n";

// Every run of `command` (its arguments but the switches) answers the same
// from the look-up image as from the loaded dictionary, for both lists
// (`side`: the switch that picks the other one) under every fold and with
// and without a limit (`with_limit`).
void ExpectTheSameFromTheImage(const std::string& file, const std::vector<std::string>& command,
                               const char* side, bool with_limit,
                               const std::function<CliRun(std::vector<std::string>)>& cli) {
    const std::string image = ImagePathOf(file);
    for (const char* which : {"", side}) {
        for (int fold = 0; fold < 4; ++fold) {
            for (const char* limit : {"", "2"}) {
                if (*limit != '\0' && !with_limit) continue;
                std::vector<std::string> args = command;
                if (*which != '\0') args.push_back(which);
                if ((fold & 1) != 0) args.push_back("--case");
                if ((fold & 2) != 0) args.push_back("--accents");
                if (*limit != '\0') args.insert(args.end(), {"--limit", limit});
                SCOPED_TRACE(::testing::PrintToString(args));
                std::filesystem::remove(image);
                const CliRun loaded = cli(args);
                ASSERT_TRUE(std::filesystem::exists(image));
                const CliRun mapped = cli(args);
                EXPECT_EQ(std::make_tuple(mapped.status, mapped.out, mapped.err),
                          std::make_tuple(loaded.status, loaded.out, loaded.err));
            }
        }
    }
}

// Every prefix list of `file` answers the same from its image as from the
// loaded dictionary, under every fold and limit.
void ExpectPrefixListsFromTheImage(const std::string& file,
                                   const std::function<CliRun(std::vector<std::string>)>& cli) {
    ExpectTheSameFromTheImage(file, {"list", file, "-"}, "--secondary", true, cli);
}

TEST_F(CliCommandsTest, PrefixListsAnswerTheSameFromTheLookUpImage) {
    const auto cli = [&](const std::vector<std::string>& args) {
        return Cli(args, kImageTestPrefixes);
    };
    // An 8-bit dictionary, and a UTF-8 one, whose lists fold by character.
    std::string file = ImportPairs(ImageTestPairs());
    ExpectPrefixListsFromTheImage(file, cli);
    const CliRun expected = Cli({"list", file, "ca"});
    EXPECT_EQ(expected.out, "cat\nCat\n");
    SourceKey key;
    ASSERT_TRUE(ReadSourceKey(file, &key));
    LookupImage mapped;
    ASSERT_TRUE(mapped.Open(ImagePathOf(file), file, key));
    std::vector<std::string> found;
    EXPECT_EQ(mapped.ListPrefix(0, "ca", false, false, 10, &found), LookupImage::Answer::kFound);
    EXPECT_EQ(found, (std::vector<std::string>{"cat", "Cat"}));
    EXPECT_EQ(mapped.ListPrefix(0, "cab", false, false, 10, &found),
              LookupImage::Answer::kNotFound);
    EXPECT_EQ(mapped.ListPrefix(0, "", false, false, 10, &found), LookupImage::Answer::kDamaged);

    ExpectPrefixListsFromTheImage(Utf8Copy(file), cli);
    EXPECT_EQ(Cli({"list", Path("u.v03"), "\xc3\x89T"}).out,
              "\xc3\xa9t\xc3\xa9\n\xc3\x89t\xc3\xa9\n");
}

// Wildcard patterns for both lists of ImageTestPairs(): a fixed head of one
// letter or more, folded forms, accents, none; and some the image leaves to
// the dictionary (a leading wildcard).
const char kImageTestPatterns[] =
    "c*\nC?t\nca?\nCAT\nc*t*\nma??a\nMa*\nMA\xc4\x8c*\nma\xc4\x8d?k\n\xc3\xa9*\ne?e\n"
    "\xc3\x89T*\nh*e\nho?se\nzz*\nzz?top\nw?\nw3*\nx\nq*\n*a\n?\n~*\n";

TEST_F(CliCommandsTest, FoldedTranslationsAndWildcardsAnswerTheSameFromTheImage) {
    // Every word of both lists, in each of its folds, one per line.
    std::string words = kImageTestWords;
    for (const char* word : {"CAT", "DOG",
                             "MA\xc4\x8c"
                             "KA",
                             "ete", "ETE", "\xc3\x89T\xc3\x89", "Zz Top", "MANY", "Dom",
                             "KU\xc4\x86"
                             "A",
                             "HOUSE", "w1", "W1"}) {
        words += std::string(word) + "\n";
    }
    const auto translate = [&](const std::vector<std::string>& args) { return Cli(args, words); };
    const auto list = [&](const std::vector<std::string>& args) {
        return Cli(args, kImageTestPatterns);
    };
    for (const std::string& file : {ImportPairs(ImageTestPairs()), Utf8Copy(Path("d.v03"))}) {
        SCOPED_TRACE(file);
        ExpectTheSameFromTheImage(file, {"translate", file, "-"}, "--reverse", false, translate);
        // The image did answer: it keeps the folds of both lists.
        SourceKey key;
        ASSERT_TRUE(ReadSourceKey(file, &key));
        LookupImage mapped;
        ASSERT_TRUE(mapped.Open(ImagePathOf(file), file, key));
        EXPECT_TRUE(mapped.Serves(0, false, true) && mapped.Serves(1, false, false));
        ExpectTheSameFromTheImage(file, {"list", file, "-", "--mode", "wildcards"}, "--secondary",
                                  true, list);
        // One word at a time: the same messages and exit codes.
        for (const char* word : {"CAT", "bird", "ETE"}) {
            ExpectTheSameFromTheImage(file, {"translate", file, word}, "--reverse", false,
                                      translate);
        }
        for (const char* pattern : {"c?T", "q*", "*a"}) {
            ExpectTheSameFromTheImage(file, {"list", file, pattern, "--mode", "wildcards"},
                                      "--secondary", true, list);
        }
    }
}

TEST_F(CliCommandsTest, ADamagedLookUpImageNeverAnswersAPrefixList) {
    const std::string file = ImportPairs(ImageTestPairs());
    const std::vector<std::string> args = {"list", file, "-"};
    const std::string expected = Cli(args, kImageTestPrefixes).out;
    const std::string image = ImagePathOf(file);
    const std::string good = ReadFile(image.substr(dir_.size()));
    ASSERT_GT(good.size(), 200u);
    for (std::size_t at = 0; at < good.size(); at += 11) {
        SCOPED_TRACE(at);
        std::string bytes = good;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x42);
        std::ofstream(image, std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_EQ(Cli(args, kImageTestPrefixes).out, expected);
    }
}

TEST_F(CliCommandsTest, ListsInEveryModeAndHonoursTheLimit) {
    const std::string file = MakeDictionary();
    EXPECT_EQ(Cli({"list", file, "ca"}).out, "cat\n");
    EXPECT_EQ(Cli({"list", file, "-"}, "ca\nzz\nma\n").out, "cat\n\n\n");
    EXPECT_EQ(Cli({"list", file, "ma", "--secondary"}).out, "mačak\nmačka\n");
    EXPECT_EQ(Cli({"list", file, "ma", "--secondary", "--limit", "1"}).out, "mačak\n");
    EXPECT_EQ(Cli({"list", file, "?a?", "--mode", "wildcards"}).out, "cat\ntac\n");
    EXPECT_EQ(Cli({"list", file, "^.a.$", "--mode", "regex"}).out, "cat\ntac\n");
    EXPECT_EQ(Cli({"list", file, "--mode", "palindrome"}).out, "kayak\n");
    EXPECT_EQ(Cli({"list", file, "tca", "--mode", "anagram3"}).out, "cat\ntac\n");
    EXPECT_EQ(Cli({"list", file, "zz"}).status, kExitFailed);
    EXPECT_EQ(Cli({"list", file, "a", "--mode", "sideways"}).status, kExitUsage);
    EXPECT_EQ(Cli({"list", file}).status, kExitUsage);
    EXPECT_EQ(Cli({"list", file, "a", "--limit", "-3"}).status, kExitUsage);
    CliRun r = Cli({"list", file, "(", "--mode", "regex"});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err,
              "wordbay-cli: bad regular expression: missing closing parenthesis (at offset 1)\n");
    r = Cli({"list", file, "a[b", "--mode", "regex", "--case"});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err,
              "wordbay-cli: bad regular expression: missing terminating ] for character class "
              "(at offset 3)\n");
}

TEST_F(CliCommandsTest, RegexThatRunsOutOfWorkExitsWithThree) {
    WriteFile("long.txt", "quiet" + std::string(30, 'x') + "\ttih\r\naq\tx\r\n");
    ASSERT_EQ(Cli({"import", "--format", "txt", Path("long.txt"), Path("long.v03")}).status,
              kExitOk);
    CliRun r = Cli({"list", Path("long.v03"), "(.*)*q", "--mode", "regex"});
    EXPECT_EQ(r.status, kExitIncomplete);
    EXPECT_EQ(r.out, "aq\n");
    EXPECT_EQ(r.err,
              "wordbay-cli: Search incomplete: the regular expression needed too much work on "
              "some words.\n");
    r = Cli({"list", Path("long.v03"), "-", "--mode", "regex"}, "^a\n(.*)*q\n");
    EXPECT_EQ(r.status, kExitIncomplete);
    EXPECT_EQ(r.out, "aq\naq\n");
    EXPECT_EQ(Cli({"list", Path("long.v03"), "^a", "--mode", "regex"}).status, kExitOk);
}

TEST_F(CliCommandsTest, InfoIdenticalExportAndUpdate) {
    const std::string file = MakeDictionary();
    CliRun r = Cli({"info", file});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.out.find("English - Hrvatski"), std::string::npos);
    EXPECT_NE(r.out.find("Hrvatski (locale 1050"), std::string::npos);

    WriteFile("more.txt", "kat\tkat\r\nbird\tptica\r\ndog\tpas\r\n");
    r = Cli({"update", file, Path("more.txt"), "--format", "txt"});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "2 translations added.\n");
    EXPECT_EQ(Cli({"translate", file, "bird"}).out, "ptica\n");
    EXPECT_EQ(Cli({"identical", file}).out, "kat\n");

    r = Cli({"export", "--format", "txt", file, Path("out.txt")});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    std::ifstream exported(Path("out.txt"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(exported)), {});
    EXPECT_NE(text.find("cat\tma\xe8ka\r\n"), std::string::npos);
}

TEST_F(CliCommandsTest, Utf8ImportsAndExports) {
    // LF lines in UTF-8, languages by their codes: Hindi keeps UTF-8 by itself.
    WriteFile("hi.txt", "house\tघर\nhouse\tमकान\nwater\tपानी\n");
    CliRun r = Cli({"import", "--format", "txt", Path("hi.txt"), Path("hi.v03"), "--locales",
                    "eng,hin", "--names", "English,हिन्दी"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(Cli({"translate", Path("hi.v03"), "house"}).out, "घर\nमकान\n");
    EXPECT_EQ(Cli({"list", Path("hi.v03"), "घ", "--secondary"}).out, "घर\n");
    EXPECT_EQ(Cli({"list", Path("hi.v03"), "?र", "--secondary", "--mode", "wildcards"}).out,
              "घर\n");
    r = Cli({"info", Path("hi.v03")});
    EXPECT_NE(r.out.find("हिन्दी (locale 1081, hi_IN, charset 65001)"), std::string::npos) << r.out;

    // The default export keeps the lists' bytes and CR LF; UTF-8 is asked for.
    WriteFile("hr.txt", "house\tkuća\r\n");
    ASSERT_EQ(
        Cli({"import", "--format", "txt", Path("hr.txt"), Path("hr.v03"), "--locales", "1033,1050"})
            .status,
        kExitOk);
    ASSERT_EQ(Cli({"export", "--format", "txt", Path("hr.v03"), Path("cp.txt")}).status, kExitOk);
    EXPECT_EQ(ReadFile("cp.txt"),
              "house\tku\xE6"
              "a\r\n");
    ASSERT_EQ(
        Cli({"export", "--format", "txt", Path("hr.v03"), Path("u8.txt"), "--encoding", "utf-8"})
            .status,
        kExitOk);
    EXPECT_EQ(ReadFile("u8.txt"), "house\tkuća\n");
    ASSERT_EQ(
        Cli({"export", "--format", "txt", Path("hi.v03"), Path("hi8.txt"), "--encoding", "utf-8"})
            .status,
        kExitOk);
    EXPECT_EQ(ReadFile("hi8.txt"), "house\tघर\nhouse\tमकान\nwater\tपानी\n");

    // Asked for, both lists of an import are UTF-8.
    ASSERT_EQ(Cli({"import", "--format", "txt", Path("hr.txt"), Path("u.v03"), "--locales",
                   "eng,hrv", "--encoding", "utf-8"})
                  .status,
              kExitOk);
    r = Cli({"info", Path("u.v03")});
    EXPECT_NE(r.out.find("locale 1050, hr_HR, charset 65001"), std::string::npos) << r.out;
    EXPECT_EQ(Cli({"translate", Path("u.v03"), "KUCA", "--reverse", "--accents"}).out, "house\n");
    // Exact look-ups answered by the look-up image take the list's own
    // encoding (UTF-8 here, though Croatian has an 8-bit code page).
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "loaded" : "from the image");
        EXPECT_EQ(Cli({"translate", Path("u.v03"), "kuća", "--reverse", "--case"}).out, "house\n");
        EXPECT_EQ(Cli({"translate", Path("hi.v03"), "house", "--case"}).out, "घर\nमकान\n");
    }
    EXPECT_TRUE(std::filesystem::exists(ImagePathOf(Path("u.v03"))));
}

// The UTF-8 export is converted after the engine's save: it too replaces
// the old file only when it is complete.
TEST_F(CliCommandsTest, AFailedUtf8ExportKeepsTheOldFile) {
    const std::string file = MakeDictionary();
    const std::vector<std::string> command = {"export",       "--format",   "txt",  file,
                                              Path("u8.txt"), "--encoding", "utf-8"};
    ASSERT_EQ(Cli(command).status, kExitOk);
    const std::string good = ReadFile("u8.txt");
    ASSERT_FALSE(good.empty());
    WriteFile("u8.txt", "old\tstaro\n");
    const std::set<std::string> files = test_support::FilesIn(dir_);
    for (const platform::FileOp op :
         {platform::FileOp::kWrite, platform::FileOp::kFlush, platform::FileOp::kReplace}) {
        SCOPED_TRACE(static_cast<int>(op));
        platform::FailFileOpForTesting(op, 1);
        const CliRun r = Cli(command);
        platform::FailFileOpForTesting(op, 0);
        EXPECT_EQ(r.status, kExitFailed);
        EXPECT_EQ(r.err.rfind("wordbay-cli: Can't write to file " + Path("u8.txt"), 0), 0u)
            << r.err;
        EXPECT_EQ(ReadFile("u8.txt"), "old\tstaro\n");
        EXPECT_EQ(test_support::FilesIn(dir_), files);
    }
    ASSERT_EQ(Cli(command).status, kExitOk);
    EXPECT_EQ(ReadFile("u8.txt"), good);
}

TEST_F(CliCommandsTest, FailuresGiveTheEngineMessageAndAStatus) {
    CliRun r = Cli({"info", Path("missing.v03")});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_NE(r.err.find("missing.v03"), std::string::npos);
    EXPECT_EQ(Cli({"import", "--format", "csv", "a", "b"}).status, kExitUsage);
    EXPECT_EQ(Cli({"import", "--format", "txt", "a", "b", "--locales", "en,h?"}).status,
              kExitUsage);
    EXPECT_EQ(Cli({"import", "--format", "txt", "a", "b", "--encoding", "latin1"}).status,
              kExitUsage);
    EXPECT_EQ(Cli({"export", "--format", "freelang", "a", "b", "--encoding", "utf-8"}).status,
              kExitUsage);
    EXPECT_EQ(Cli({"export", "--format", "v03", "a", "b"}).status, kExitUsage);
    EXPECT_EQ(Cli({"translate", Path("missing.v03"), "x"}).status, kExitFailed);
    EXPECT_EQ(Cli({"freedict", "abc-xyz", Path("o.v03")}).status, kExitFailed);
}

TEST_F(CliCommandsTest, FileFailuresSayWhy) {
    CliRun r = Cli({"info", Path("missing.v03")});
    EXPECT_EQ(r.err, "wordbay-cli: Can't open file: " + Path("missing.v03") +
                         ": No such file or directory\n");
    r = Cli({"translate", Path("missing.v03"), "x"});
    EXPECT_NE(r.err.find(": No such file or directory\n"), std::string::npos) << r.err;
    r = Cli({"import", "--format", "txt", Path("missing.txt"), Path("o.v03")});
    EXPECT_NE(r.err.find(": No such file or directory\n"), std::string::npos) << r.err;

    const std::string file = MakeDictionary();
    r = Cli({"export", "--format", "txt", file, Path("no/such/folder/out.txt")});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_NE(r.err.find("no/such/folder/out.txt"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(": No such file or directory\n"), std::string::npos) << r.err;

    // A message that is not about a system call gets no reason tacked on.
    WriteFile("junk.v03", std::string(4096, 'j'));
    r = Cli({"info", Path("junk.v03")});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err.find("No such file"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Success"), std::string::npos) << r.err;
}

TEST_F(CliCommandsTest, FreedictConvertsADictdDatabase) {
    WriteDictdDatabase();
    CliRun r = Cli({"freedict", "eng-hrv", Path("out.v03")});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    // θ is in no Croatian code page: that list is kept in UTF-8, and nothing is lost.
    EXPECT_EQ(r.out,
              "Pairs kept: 5, dropped: 0.\nLists: English in code page 1252, Croatian in UTF-8.\n");
    EXPECT_EQ(Cli({"translate", Path("out.v03"), "house"}).out, "dom\nkuća\n");
    EXPECT_EQ(Cli({"translate", Path("out.v03"), "cat"}).out, "mačka\n");
    EXPECT_EQ(Cli({"translate", Path("out.v03"), "theta"}).out, "θ-slovo\nteta\n");
    EXPECT_EQ(Cli({"translate", Path("out.v03"), "TETA", "--reverse"}).out, "theta\n");
    r = Cli({"info", Path("out.v03")});
    EXPECT_NE(r.out.find("English (locale 1033, en_US, charset 0)"), std::string::npos);
    EXPECT_NE(r.out.find("Croatian (locale 1050, hr_HR, charset 65001)"), std::string::npos);

    r = Cli({"freedict", Path("freedict-eng-hrv.index"), Path("swap.v03"), "--swap"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(Cli({"translate", Path("swap.v03"), "kuća"}).out, "house\n");

    // A plain-text dictionary with both languages in one code page.
    r = Cli({"freedict", "eng-hrv", Path("kx.txt"), "--txt-code-page", "1250"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(ReadFile("kx.txt"),
              "house\tdom\r\nhouse\tku\xE6"
              "a\r\ntheta\tteta\r\ncat\tma\xE8ka\r\n");
    EXPECT_EQ(r.out,
              "Pairs kept: 4, dropped: 1.\nDropped: 1 with a character the code page lacks.\n");
    EXPECT_EQ(Cli({"freedict", "eng-hrv", Path("kx.txt"), "--txt-code-page", "x"}).status,
              kExitUsage);
}

// The pairs go to the engine through a TXT file in memory; a TXT file of the
// same pairs on disk, imported and described as the tool describes it, gives
// the same bytes.
TEST_F(CliCommandsTest, FreedictInMemoryGivesTheFileOfItsTxtImport) {
    WriteDictdDatabase();
    for (const bool swap : {false, true}) {
        SCOPED_TRACE(swap ? "swapped" : "as it is");
        std::vector<std::string> convert = {"freedict", "eng-hrv", Path("direct.v03")};
        if (swap) convert.push_back("--swap");
        ASSERT_EQ(Cli(convert).status, kExitOk);
        convert[2] = Path("pairs.txt");
        convert.insert(convert.end(), {"--txt-code-page", "65001"});
        ASSERT_EQ(Cli(convert).status, kExitOk);

        DB_HANDLE db = DB_CreateHandle()->handle;
        DICTIONARY_INFO info{};
        ASSERT_EQ(DB_GetDictionaryInfoA(db, Path("direct.v03").c_str(), &info)->status, 1);
        ASSERT_EQ(DB_Load(db, DB_FORMAT_TXT_LOAD, Path("pairs.txt").c_str(), info.primary_locale,
                          info.secondary_locale)
                      ->status,
                  1);
        EXPECT_EQ(DB_SetDictionaryInfo(db, &info)->status, 1);
        EXPECT_EQ(DB_Save(db, DB_FORMAT_V03_SAVE, Path("via_txt.v03").c_str())->status, 1);
        DB_DestroyHandle(db);
        EXPECT_EQ(ReadFile("direct.v03"), ReadFile("via_txt.v03"));
    }
}

// A command that replaces a file replaces it only as it found it: another
// program that saves the file while the command works (here while the
// command waits for that program's lock) keeps what it saved, and the
// command says so. A file that appears meanwhile is kept too.
TEST_F(CliCommandsTest, AFileChangedWhileACommandRanIsNotReplaced) {
    const std::string file = MakeDictionary();
    WriteDictdDatabase();
    const std::string target = Path("target");
    const std::vector<std::string> commands[] = {
        {"import", "--format", "txt", Path("pairs.txt"), target},
        {"export", "--format", "txt", file, target},
        {"export", "--format", "txt", "--encoding", "utf-8", file, target},
        {"freedict", "eng-hrv", target},
        {"freedict", "eng-hrv", target, "--txt-code-page", "1250"},
    };
    platform::SetLockWaitForTesting(5000);
    for (const std::vector<std::string>& argv : commands) {
        SCOPED_TRACE(argv[0] + " " + argv[1]);
        WriteFile("target", "as it was");
        CliRun r;
        {
            platform::LockHolder other(target);
            std::thread saver([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                WriteFile("target", "what the other program saved");
                other.Release();
            });
            r = Cli(argv);
            saver.join();
        }
        EXPECT_EQ(r.status, kExitFailed);
        EXPECT_EQ(r.err, "wordbay-cli: " + target +
                             " was changed by another program while this command ran; it was "
                             "not replaced.\n");
        EXPECT_EQ(ReadFile("target"), "what the other program saved");
        // Unchanged meanwhile, it is replaced.
        EXPECT_EQ(Cli(argv).status, kExitOk);
        EXPECT_NE(ReadFile("target"), "what the other program saved");
    }
    platform::SetLockWaitForTesting(-1);
    for (const std::string& name : test_support::FilesIn(dir_)) {
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
}

// A StarDict or dictd export writes several files: another program's save
// of any one of them while the command works keeps the whole set unwritten.
TEST_F(CliCommandsTest, AnExportChecksEveryFileItWrites) {
    const std::string file = MakeDictionary();
    struct Case {
        std::string format, target, changed;
    };
    const Case cases[] = {{"stardict", "sd.ifo", "sd.idx"},
                          {"stardict", "sd.ifo", "sd.syn"},
                          {"dictd", "dd.index", "dd.dict.dz"}};
    platform::SetLockWaitForTesting(5000);
    for (const Case& one : cases) {
        SCOPED_TRACE(one.changed);
        WriteFile(one.changed, "as it was");
        CliRun r;
        {
            platform::LockHolder other(Path(one.changed));
            std::thread saver([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                WriteFile(one.changed, "what the other program saved");
                other.Release();
            });
            r = Cli({"export", "--format", one.format, file, Path(one.target)});
            saver.join();
        }
        EXPECT_EQ(r.status, kExitFailed);
        EXPECT_EQ(r.err, "wordbay-cli: " + Path(one.changed) +
                             " was changed by another program while this command ran; it was "
                             "not replaced.\n");
        EXPECT_EQ(ReadFile(one.changed), "what the other program saved");
        EXPECT_FALSE(std::filesystem::exists(Path(one.target)));
        std::filesystem::remove(Path(one.changed));
        EXPECT_EQ(Cli({"export", "--format", one.format, file, Path(one.target)}).status, kExitOk);
        std::filesystem::remove(Path(one.target));
    }
    platform::SetLockWaitForTesting(-1);
}

TEST_F(CliCommandsTest, AFileThatAppearedMeanwhileIsNotReplaced) {
    const Context c{std::cin, std::cout, std::cerr, false};
    TargetFile absent(Path("new.v03"));
    EXPECT_TRUE(absent.LockUnchanged(c));
    TargetFile appeared(Path("new.v03"));
    WriteFile("new.v03", "someone else's");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(appeared.LockUnchanged(c));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("was changed by another program"),
              std::string::npos);
}

TEST(CliEndToEndTest, ConvertsTheInstalledEnglishCroatianDictionary) {
    if (access((std::string(kDictdDirectory) + "/freedict-eng-hrv.index").c_str(), R_OK) != 0) {
        GTEST_SKIP() << "dict-freedict-eng-hrv is not installed";
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "cli-e2e-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::string out = pattern + "/English_Croatian.v03";
    Arguments args;
    std::string error;
    ASSERT_TRUE(ParseArguments({"freedict", "eng-hrv", out}, &args, &error));
    std::istringstream in;
    std::ostringstream o, e;
    EXPECT_EQ(RunCommand(args, in, o, e, false), kExitOk) << e.str();
    EXPECT_EQ(o.str().rfind("Pairs kept: ", 0), 0u);
    ASSERT_TRUE(ParseArguments({"translate", out, "house"}, &args, &error));
    std::ostringstream translations;
    EXPECT_EQ(RunCommand(args, in, translations, e, false), kExitOk) << e.str();
    EXPECT_NE(translations.str().find("kuća\n"), std::string::npos);
    std::filesystem::remove_all(pattern);
}

}  // namespace
}  // namespace cli
