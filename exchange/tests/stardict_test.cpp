// The StarDict writer and reader: what the files hold, what reads back, and
// damaged files, which fail with a message that says what is wrong.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "exchange/book_writers.h"
#include "exchange/dictzip.h"
#include "exchange/stardict_format.h"
#include "exchange/stardict_reader.h"
#include "platform/file_writer.h"
#include "testing/test_support.h"

namespace exchange {
namespace {

std::string BigEndian32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16 & 0xFF),
            static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
}

std::vector<std::string> PairTexts(const std::vector<TranslationPair>& pairs) {
    std::vector<std::string> texts;
    for (const TranslationPair& pair : pairs) texts.push_back(pair.word + "=" + pair.translation);
    return texts;
}

Book SmallBook() {
    Book book;
    book.name = "Croatian - English";
    book.author = "FreeDict";
    book.description = "A small dictionary\nof two lines";
    book.entries = {
        {"kuća", {"house", "home"}},
        {"Kuća", {"House (name)"}},
        {"mačka", {"cat"}},
        {"dom", {"home, household", "house"}},          // a comma of its own
        {"broj", {"number (numeral, digit", "count"}},  // an unclosed parenthesis
        {std::string(300, 'x'), {"too long"}},
    };
    return book;
}

class StarDictTest : public test_support::ScratchDirTest {
protected:
    std::string Write(const Book& book, WriteReport* report = nullptr) {
        WriteReport own;
        std::string error;
        EXPECT_TRUE(WriteStarDict(book, Path("d.ifo"), report ? report : &own, &error)) << error;
        return Path("d.ifo");
    }
    std::string File(const std::string& name) const { return test_support::ReadFile(Path(name)); }
    void Put(const std::string& name, const std::string& bytes) const {
        test_support::WriteFile(Path(name), bytes);
    }
    bool Read(SourceDictionary* read, std::string* error) const {
        return ReadStarDict(Path("d.ifo"), read, error);
    }
};

TEST_F(StarDictTest, FilesHoldTheWordsInTheFormatsOrder) {
    WriteReport report;
    Write(SmallBook(), &report);
    EXPECT_EQ(report.words, 5u);
    EXPECT_EQ(report.left_out, 1u);  // 300 bytes: no reader takes it
    EXPECT_EQ(report.synonyms, 3u);  // Kuca, kuca, macka
    EXPECT_EQ(report.inexact, 1u);   // dom's "home, household" reads back as two
    const std::string idx = File("d.idx");
    EXPECT_EQ(File("d.ifo"),
              "StarDict's dict ifo file\nversion=2.4.2\nbookname=Croatian - English\n"
              "wordcount=5\nsynwordcount=3\nidxfilesize=" +
                  std::to_string(idx.size()) +
                  "\nauthor=FreeDict\ndescription=A small dictionary<br>of two lines\n"
                  "sametypesequence=m\n");
    // ASCII letters without case, then bytes: broj, dom, Kuća, kuća, mačka.
    std::vector<std::string> words;
    for (std::size_t at = 0; at < idx.size(); at = idx.find('\0', at) + 9) {
        words.push_back(idx.substr(at, idx.find('\0', at) - at));
    }
    EXPECT_EQ(words, (std::vector<std::string>{"broj", "dom", "Kuća", "kuća", "mačka"}));
    // Each synonym names the number of its word in the .idx.
    const std::string zero(1, '\0');
    EXPECT_EQ(File("d.syn"), "Kuca" + zero + BigEndian32(2) + "kuca" + zero + BigEndian32(3) +
                                 "macka" + zero + BigEndian32(4));
    std::string text, error;
    ASSERT_TRUE(ReadDictText(File("d.dict.dz"), "d", 1 << 20, &text, &error)) << error;
    EXPECT_EQ(text.substr(0, 28), "number (numeral, digit\ncount");
}

TEST_F(StarDictTest, EveryPairReadsBack) {
    Write(SmallBook());
    SourceDictionary read;
    std::string error;
    ASSERT_TRUE(Read(&read, &error)) << error;
    EXPECT_EQ(PairTexts(read.pairs),
              (std::vector<std::string>{"broj=number (numeral, digit", "broj=count", "dom=home",
                                        "dom=household", "dom=house", "Kuća=House (name)",
                                        "kuća=house", "kuća=home", "mačka=cat"}));
    EXPECT_EQ(read.name, "Croatian - English");
    EXPECT_EQ(read.author, "FreeDict");
    EXPECT_EQ(read.description, "A small dictionary\nof two lines");
}

TEST(StarDictOrderTest, AsciiLettersWithoutCaseThenBytes) {
    EXPECT_TRUE(StarDictLess("apple", "Banana"));
    EXPECT_TRUE(StarDictLess("Apple", "apple"));
    EXPECT_TRUE(StarDictLess("ab", "abc"));
    EXPECT_TRUE(StarDictLess("zebra", "Ärger"));  // bytes above 127 come last
    EXPECT_FALSE(StarDictLess("apple", "apple"));
    EXPECT_EQ(PlainForm("Kuća", false), "Kuca");
    EXPECT_EQ(PlainForm("Kuća", true), "kuca");
}

// Dictionaries of other makers: a headword line before the senses, fields
// of several kinds, synonyms that are other words.
TEST_F(StarDictTest, OtherMakersLayoutsAreRead) {
    const std::string data =
        std::string("t/haʊs/") + '\0' + "mhouse /haʊs/\ndom, kuća" + '\0' + "hHTML only" + '\0';
    const std::string idx = "house" + std::string(1, '\0') + BigEndian32(0) +
                            BigEndian32(static_cast<std::uint32_t>(data.size()));
    Put("d.ifo",
        "StarDict's dict ifo file\r\nversion=3.0.0\r\nbookname=Other\r\nwordcount=1\r\n"
        "synwordcount=2\r\nidxfilesize=" +
            std::to_string(idx.size()) + "\r\nidxoffsetbits=32\r\n");
    Put("d.idx", idx);
    Put("d.dict", data);
    Put("d.syn", "homes" + std::string(1, '\0') + BigEndian32(0) + "HOUSE" + std::string(1, '\0') +
                     BigEndian32(0));
    SourceDictionary read;
    std::string error;
    ASSERT_TRUE(Read(&read, &error)) << error;
    EXPECT_EQ(PairTexts(read.pairs),
              (std::vector<std::string>{"house=dom", "house=kuća", "homes=dom", "homes=kuća"}));
    EXPECT_EQ(read.name, "Other");
}

// One change to a good dictionary's files, and the message it gives.
struct Damage {
    const char* what;
    std::function<void()> damage;
    std::string message;
};

class DamagedStarDictTest : public StarDictTest {
protected:
    // Damage to the .ifo and the .idx.
    std::vector<Damage> IndexDamages() {
        return {
            {"no .ifo", [this] { std::remove(Path("d.ifo").c_str()); },
             "No such file: " + Path("d.ifo")},
            {"another first line", [this] { Put("d.ifo", "StarDict dict\nversion=2.4.2\n"); },
             "Not a StarDict .ifo file: " + Path("d.ifo")},
            {"version 1.0",
             [this] { Put("d.ifo", "StarDict's dict ifo file\nversion=1.0\nwordcount=1\n"); },
             "Unsupported StarDict version \"1.0\" (2.4.2 or 3.0.0 is read): " + Path("d.ifo")},
            {"no word count",
             [this] { Put("d.ifo", "StarDict's dict ifo file\nversion=2.4.2\nidxfilesize=9\n"); },
             "The .ifo file lacks a count or has a wrong one: " + Path("d.ifo")},
            {"a word count of letters",
             [this] {
                 Put("d.ifo",
                     "StarDict's dict ifo file\nversion=2.4.2\nwordcount=x\nidxfilesize=9\n");
             },
             "The .ifo file lacks a count or has a wrong one: " + Path("d.ifo")},
            {"an .idx of another size", [this] { Put("d.idx", File("d.idx") + "x"); },
             "The .idx file is not of the size the .ifo file gives: " + Path("d.idx")},
            {"an offset outside the data",
             [this] {
                 std::string idx = File("d.idx");
                 idx.replace(idx.find('\0') + 1, 4, BigEndian32(1 << 30));
                 Put("d.idx", idx);
             },
             "The entry \"broj\" of " + Path("d.idx") + " points outside the data"},
            {"a size outside the data",
             [this] {
                 std::string idx = File("d.idx");
                 idx.replace(idx.find('\0') + 5, 4, BigEndian32(0xFFFFFFFF));
                 Put("d.idx", idx);
             },
             "The entry \"broj\" of " + Path("d.idx") + " points outside the data"},
        };
    }
    // Damage to the .syn and the data.
    std::vector<Damage> DataDamages() {
        return {
            {"more words than the .idx holds",
             [this] {
                 std::string ifo = File("d.ifo");
                 ifo.replace(ifo.find("wordcount=5"), 11, "wordcount=6");
                 Put("d.ifo", ifo);
             },
             "The .idx file is damaged or holds another number of words than the .ifo file "
             "gives: " +
                 Path("d.idx")},
            {"a synonym of a word the .idx lacks",
             [this] {
                 std::string syn = File("d.syn");
                 syn.replace(syn.size() - 4, 4, BigEndian32(5));
                 Put("d.syn", syn);
             },
             "The .syn file is damaged or names a word the .idx file lacks: " + Path("d.syn")},
            {"no .syn though the .ifo counts synonyms",
             [this] { std::remove(Path("d.syn").c_str()); }, "No such file: " + Path("d.syn")},
            {"HTML data only",
             [this] {
                 std::string ifo = File("d.ifo");
                 ifo.replace(ifo.find("sametypesequence=m"), 18, "sametypesequence=h");
                 Put("d.ifo", ifo);
             },
             "The dictionary holds no plain text: " + Path("d.ifo")},
            {"typed fields that run past their data",
             [this] {
                 std::string ifo = File("d.ifo");
                 ifo.erase(ifo.find("sametypesequence=m"));
                 Put("d.ifo", ifo);
             },
             "The data of the entry \"broj\" is damaged: " + Path("d")},
            {"a damaged .dict.dz",
             [this] {
                 std::string dz = File("d.dict.dz");
                 dz[dz.size() - 8] ^= 1;
                 Put("d.dict.dz", dz);
             },
             "The compressed text is damaged: " + Path("d.dict.dz")},
            {"a folder for the data",
             [this] {
                 std::remove(Path("d.dict.dz").c_str());
                 ::mkdir(Path("d.dict.dz").c_str(), 0700);
             },
             "Not a regular file: " + Path("d.dict.dz")},
            {"a data file of 2 GB",
             [this] {
                 // Sparse: it takes no room on the disk.
                 test_support::WriteFile(Path("d.dict.dz"), "");
                 std::filesystem::resize_file(Path("d.dict.dz"), std::uintmax_t{2} << 30);
             },
             "File is too large: " + Path("d.dict.dz")},
            {"a pipe for the .idx",
             [this] {
                 std::remove(Path("d.idx").c_str());
                 ::mkfifo(Path("d.idx").c_str(), 0600);
             },
             "Not a regular file: " + Path("d.idx")},
        };
    }
};

TEST_F(DamagedStarDictTest, DamagedDictionariesFailWithAMessage) {
    std::vector<Damage> cases = IndexDamages();
    for (Damage& damage : DataDamages()) cases.push_back(std::move(damage));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        Write(SmallBook());
        c.damage();
        SourceDictionary read;
        std::string error;
        EXPECT_FALSE(Read(&read, &error));
        EXPECT_EQ(error, c.message);
    }
}

// A file cut anywhere fails, or (the .ifo cut after what it needs) reads.
TEST_F(StarDictTest, EveryTruncationIsHandled) {
    Write(SmallBook());
    for (const char* name : {"d.ifo", "d.idx", "d.dict.dz", "d.syn"}) {
        const std::string whole = File(name);
        for (std::size_t n = 0; n < whole.size(); ++n) {
            SCOPED_TRACE(std::string(name) + " cut to " + std::to_string(n));
            Put(name, whole.substr(0, n));
            SourceDictionary read;
            std::string error;
            const bool ok = Read(&read, &error);
            if (std::string(name) != "d.ifo") {
                EXPECT_FALSE(ok);
            }
            EXPECT_EQ(ok, error.empty()) << error;
        }
        Put(name, whole);
    }
}

TEST_F(StarDictTest, AFailedWriteKeepsTheOldDictionaryWhole) {
    Write(SmallBook());
    const std::vector<std::string> names = {"d.ifo", "d.idx", "d.dict.dz", "d.syn"};
    std::vector<std::string> old;
    for (const std::string& name : names) old.push_back(File(name));
    Book other = SmallBook();
    other.entries.resize(2);
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        platform::FailFileOpForTesting(platform::FileOp::kWrite, n);
        WriteReport report;
        std::string error;
        EXPECT_FALSE(WriteStarDict(other, Path("d.ifo"), &report, &error));
        platform::ClearFileOpFailuresForTesting();
        EXPECT_EQ(error.rfind("Can't write to file " + Path("d."), 0), 0u) << error;
        for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(File(names[i]), old[i]);
        EXPECT_EQ(test_support::FilesIn(dir_).size(), names.size());
    }
    // A dictionary without synonyms takes the old .syn with it.
    Book plain;
    plain.entries = {{"dog", {"pas"}}};
    Write(plain);
    EXPECT_FALSE(test_support::FileExists(Path("d.syn")));
}

}  // namespace
}  // namespace exchange
