// The V03 dictionary file: its exact layout, validation in its stated order,
// damaged files of every kind, saves after edits, failed saves that keep the
// old file, and files that change while they are mapped.
#include "engine/formats/v03_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/context.h"
#include "engine/formats/tests/v03_test_files.h"
#include "engine/lexbase.h"
#include "engine/tests/dictionary_checker.h"
#include "platform/file_writer.h"
#include "platform/mapped_file.h"
#include "platform/tests/lock_holder.h"
#include "testing/test_support.h"

namespace lexbase {
namespace {

using test_support::FilesIn;
using test_support::ReadFile;
using test_support::WriteFile;
using v03_test::Bytes;
using v03_test::FileParts;
using v03_test::FixCrc;
using v03_test::GetU32;
using v03_test::JoinParts;
using v03_test::SetU32;
using v03_test::SplitFile;

const char kMagic[] = "TQ_DICTIONARY_V03_00";

// English-Croatian pairs (Croatian in code page 1250): a word with two
// translations each way, two words differing only in case, a one-byte word.
const std::pair<const char*, const char*> kSamplePairs[] = {
    {"house",
     "ku\xe6"
     "a"},
    {"house", "dom"},
    {"home", "dom"},
    {"dog", "pas"},
    {"a", "neki"},
    {"apple", "jabuka"},
    {"Apple", "jabuka"},
};

class V03FileTest : public test_support::ScratchDirTest {
protected:
    void TearDown() override {
        for (DB_HANDLE db : handles_) DB_DestroyHandle(db);
        platform::ClearFileOpFailuresForTesting();
        FailV03AllocationForTesting(0);
        platform::SetMapHookForTesting(nullptr);
        platform::SetLockWaitForTesting(-1);
        ScratchDirTest::TearDown();
    }

    DB_HANDLE NewHandle() {
        handles_.push_back(DB_CreateHandle()->handle);
        return handles_.back();
    }

    // The sample built by editing: every word and link allocated alone.
    DB_HANDLE EditedSample() {
        DB_HANDLE db = NewHandle();
        EXPECT_EQ(DB_CreateNewDictionary(db, 1033, 1050)->status, 1);
        DICTIONARY_INFO info{};
        std::strcpy(info.name, "English - Croatian");
        std::strcpy(info.author, "wordbay tests");
        std::strcpy(info.description, "A small sample");
        std::strcpy(info.primary_list_name, "English");
        std::strcpy(info.secondary_list_name, "Croatian");
        info.primary_locale = 1033;
        info.secondary_locale = 1050;
        info.primary_charset = 0;
        info.secondary_charset = 238;
        EXPECT_EQ(DB_SetDictionaryInfo(db, &info)->status, 1);
        for (const auto& [primary, secondary] : kSamplePairs) {
            EXPECT_EQ(DB_AddTranslation(db, 1, primary, secondary)->status, 2);
        }
        EXPECT_EQ(DB_AddWord(db, 2, "sam")->status, 1);  // a word without translations
        return db;
    }

    // The sample saved and loaded again: every word and link in the blocks.
    DB_HANDLE LoadedSample() {
        const std::string path = Path("sample.v03");
        EXPECT_EQ(DB_Save(EditedSample(), 6, path.c_str())->status, 1);
        DB_HANDLE db = NewHandle();
        EXPECT_EQ(DB_Load(db, 1, path.c_str(), 0, 0)->status, 1);
        return db;
    }

    Bytes SampleFile() {
        const std::string path = Path("sample.v03");
        EXPECT_EQ(DB_Save(EditedSample(), 6, path.c_str())->status, 1);
        return ReadFile(path);
    }

    // Loads `bytes` from a file into a fresh handle. Returns the status and
    // the message; *loaded gets the handle.
    std::pair<int, std::string> LoadBytes(const Bytes& bytes, DB_HANDLE* loaded = nullptr) {
        const std::string path = Path("input.v03");
        WriteFile(path, bytes);
        DB_HANDLE db = NewHandle();
        if (loaded != nullptr) *loaded = db;
        const DB_RESULT* result = DB_Load(db, 1, path.c_str(), 0, 0);
        return {result->status, result->message};
    }

    // Saves `db` and loads the file into a fresh handle, which it returns.
    DB_HANDLE SaveAndReload(DB_HANDLE db, const std::string& name) {
        const std::string path = Path(name);
        const DB_RESULT* saved = DB_Save(db, 6, path.c_str());
        EXPECT_EQ(saved->status, 1) << saved->message;
        DB_HANDLE again = NewHandle();
        const DB_RESULT* loaded = DB_Load(again, 1, path.c_str(), 0, 0);
        EXPECT_EQ(loaded->status, 1) << loaded->message;
        return again;
    }

    std::string InputMessage(const char* format) const {
        return std::string(format) + Path("input.v03");
    }

    std::vector<DB_HANDLE> handles_;
};

TEST_F(V03FileTest, EmptyDictionaryIsHeaderTablesTrailerAndCrc) {
    DB_HANDLE db = NewHandle();
    ASSERT_EQ(DB_CreateNewDictionary(db, 1033, 1050)->status, 1);
    const std::string path = Path("empty.v03");
    ASSERT_EQ(DB_Save(db, 6, path.c_str())->status, 1);
    const Bytes file = ReadFile(path);
    ASSERT_EQ(file.size(), 2620u);

    Bytes expected(440, '\0');
    expected.replace(0, 20, kMagic);
    SetU32(&expected, 400, 1033);
    SetU32(&expected, 404, 1050);
    const WordList* lists = db->lists;
    for (const auto table : {&WordList::upper_table, &WordList::lower_table,
                             &WordList::accent_free_table, &WordList::accent_free_upper_table}) {
        for (int list = 0; list < 2; ++list) {
            expected.append(reinterpret_cast<const char*>(lists[list].*table), 256);
        }
    }
    Bytes trailer(128, '\0');
    const std::uint32_t table_offsets[8] = {440, 952, 1464, 1976, 696, 1208, 1720, 2232};
    for (int i = 0; i < 8; ++i) SetU32(&trailer, 72 + 4 * i, table_offsets[i]);
    SetU32(&trailer, 104, 2620);
    trailer.replace(108, 20, kMagic);
    expected += trailer + Bytes(4, '\0');
    FixCrc(&expected);
    EXPECT_EQ(file, expected);

    DB_HANDLE loaded = NewHandle();
    ASSERT_EQ(DB_Load(loaded, 1, path.c_str(), 0, 0)->status, 1);
    for (int list = 0; list < 2; ++list) {
        EXPECT_EQ(loaded->lists[list].word_count, 0u);
        EXPECT_EQ(loaded->lists[list].head, nullptr);
        EXPECT_EQ(0, std::memcmp(loaded->lists[list].upper_table, lists[list].upper_table, 256));
        EXPECT_EQ(0, std::memcmp(loaded->lists[list].accent_free_upper_table,
                                 lists[list].accent_free_upper_table, 256));
        EXPECT_NE(loaded->lists[list].regex_tables, nullptr);
    }
    EXPECT_EQ(loaded->lists[1].locale, 1050u);
}

TEST_F(V03FileTest, TheLayoutReaderOfTheTestsAgreesWithTheEngine) {
    const Bytes file = SampleFile();
    const FileParts parts = SplitFile(file);
    EXPECT_EQ(JoinParts(parts), file);
    // Texts in list order; one count per word; positions in the other list.
    EXPECT_EQ(parts.blocks[0], Bytes("a\0apple\0Apple\0dog\0home\0house\0", 29));
    EXPECT_EQ(parts.blocks[2], Bytes("\1\0\1\0\1\0\1\0\1\0\2\0", 12));
    // house -> kuća (third of the secondary list), then dom (first).
    EXPECT_EQ(GetU32(parts.blocks[4], 20), 2u);
    EXPECT_EQ(GetU32(parts.blocks[4], 24), 0u);
}

TEST_F(V03FileTest, LoadTakesTheStoredTablesAsTheyAre) {
    FileParts parts = SplitFile(SampleFile());
    parts.tables[256 + 'a'] = 'Q';  // the secondary upper table
    DB_HANDLE db = nullptr;
    ASSERT_EQ(LoadBytes(JoinParts(parts), &db).first, 1);
    EXPECT_EQ(db->lists[1].upper_table['a'], 'Q');
    EXPECT_EQ(db->lists[0].upper_table['a'], 'A');
}

TEST_F(V03FileTest, ValidationFailsInItsOrder) {
    EXPECT_EQ(LoadBytes(Bytes(571, 'x')), std::make_pair(0, InputMessage("File is too small:\n")));
    // The CRC comes before the magic: 572 bytes of anything fail it.
    EXPECT_EQ(LoadBytes(Bytes(572, 'x')), std::make_pair(0, InputMessage("Database CRC error:\n")));
    Bytes foreign(572, 'x');
    FixCrc(&foreign);
    EXPECT_EQ(LoadBytes(foreign), std::make_pair(0, InputMessage("Invalid database format:\n")));

    DB_HANDLE db = NewHandle();
    const std::string missing = Path("missing.v03");
    EXPECT_EQ(DB_Load(db, 1, missing.c_str(), 0, 0)->message, "Can't open file:\n" + missing);
    // A directory is no file, whatever its size.
    EXPECT_EQ(DB_Load(db, 1, dir_.c_str(), 0, 0)->message, "Can't open file:\n" + dir_);
    EXPECT_TRUE(IsEmptyHandle(db));
}

TEST_F(V03FileTest, DamagedStructureFailsAndLeavesTheHandleEmpty) {
    const Bytes good = SampleFile();
    const std::size_t trailer = good.size() - 132;
    const std::string invalid = InputMessage("Invalid database format:\n");
    const std::string damaged = "Damaged database !";
    const std::string uncompress = "Uncompress database error !";
    struct Case {
        const char* what;
        void (*change)(Bytes* file, std::size_t trailer);
        const std::string& message;
    };
    const Case cases[] = {
        {"trailer size field off by one",
         [](Bytes* f, std::size_t t) { SetU32(f, t + 104, GetU32(*f, t + 104) + 1); }, invalid},
        {"trailer magic", [](Bytes* f, std::size_t t) { (*f)[t + 127] = '1'; }, invalid},
        {"block 2 offset past the end",
         [](Bytes* f, std::size_t t) {
             SetU32(f, t + 4, static_cast<std::uint32_t>(f->size() + 1));
         },
         invalid},
        {"secondary table offset past the end",
         [](Bytes* f, std::size_t t) {
             SetU32(f, t + 100, static_cast<std::uint32_t>(f->size() + 1));
         },
         invalid},
        {"a table running past the end",
         [](Bytes* f, std::size_t t) {
             SetU32(f, t + 96, static_cast<std::uint32_t>(f->size() - 100));
         },
         invalid},
        {"block 5 running past the end",
         [](Bytes* f, std::size_t t) { SetU32(f, t + 40, 0xFFFFFFF0u); }, invalid},
        {"header word count one more than the texts",
         [](Bytes* f, std::size_t) { SetU32(f, 420, GetU32(*f, 420) + 1); }, damaged},
        {"header word count one less than the texts",
         [](Bytes* f, std::size_t) { SetU32(f, 428, GetU32(*f, 428) - 1); }, damaged},
        {"header text bytes unlike the block",
         [](Bytes* f, std::size_t) { SetU32(f, 416, GetU32(*f, 416) - 1); }, damaged},
        {"header translation count one more",
         [](Bytes* f, std::size_t) { SetU32(f, 432, GetU32(*f, 432) + 1); }, damaged},
        {"uncompressed size of block 1 too large",
         [](Bytes* f, std::size_t t) {
             SetU32(f, t + 48, GetU32(*f, t + 48) + 2);
             SetU32(f, 416, GetU32(*f, 416) + 2);
         },
         uncompress},
        {"recorded size of block 1 beyond its stream",
         [](Bytes* f, std::size_t t) { SetU32(f, t + 48, GetU32(*f, t + 48) + 2); }, uncompress},
        {"recorded size of block 3 beyond its stream",
         [](Bytes* f, std::size_t t) { SetU32(f, t + 56, GetU32(*f, t + 56) + 2); }, uncompress},
        {"recorded size of block 6 beyond its stream",
         [](Bytes* f, std::size_t t) { SetU32(f, t + 68, GetU32(*f, t + 68) + 4); }, uncompress},
        {"block 1 claims more than deflate can expand",
         [](Bytes* f, std::size_t t) {
             SetU32(f, t + 48, 0x7FFFFFFEu);
             SetU32(f, 416, 0x7FFFFFFEu);
         },
         uncompress},
        {"block 3 is not a zlib stream",
         [](Bytes* f, std::size_t t) { (*f)[GetU32(*f, t + 8)] ^= 0x55; }, uncompress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = good;
        c.change(&file, trailer);
        FixCrc(&file);
        DB_HANDLE db = nullptr;
        EXPECT_EQ(LoadBytes(file, &db), std::make_pair(0, c.message));
        EXPECT_TRUE(IsEmptyHandle(db));
    }
}

TEST_F(V03FileTest, InconsistentBlocksAreDamage) {
    const FileParts good = SplitFile(SampleFile());
    struct Case {
        const char* what;
        void (*change)(FileParts* parts);
    };
    const Case cases[] = {
        {"counts add up to more links than loaded", [](FileParts* p) { p->blocks[2][0] = 2; }},
        {"counts add up to fewer links than loaded", [](FileParts* p) { p->blocks[2][0] = 0; }},
        {"counts missing while links exist", [](FileParts* p) { p->blocks[3].clear(); }},
        {"a target beyond the other list",
         [](FileParts* p) { SetU32(&p->blocks[4], 0, GetU32(p->header, 428)); }},
        {"a secondary target just beyond the primary list",
         [](FileParts* p) { SetU32(&p->blocks[5], 0, GetU32(p->header, 420)); }},
        {"the last secondary target just beyond the primary list",
         [](FileParts* p) {
             SetU32(&p->blocks[5], p->blocks[5].size() - 4, GetU32(p->header, 420));
         }},
        {"a link without its partner the other way",
         [](FileParts* p) { SetU32(&p->blocks[4], 0, GetU32(p->blocks[4], 0) == 0 ? 1 : 0); }},
        {"an empty word", [](FileParts* p) { p->blocks[0][2] = '\0'; }},
        {"texts not ending in a NUL", [](FileParts* p) { p->blocks[0].back() = 'x'; }},
        {"links without words in the other list",
         [](FileParts* p) {
             p->blocks[1].clear();
             p->blocks[3].clear();
             SetU32(&p->header, 424, 0);
             SetU32(&p->header, 428, 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileParts parts = good;
        c.change(&parts);
        DB_HANDLE db = nullptr;
        EXPECT_EQ(LoadBytes(JoinParts(parts), &db),
                  std::make_pair(0, std::string("Damaged database !")));
        EXPECT_TRUE(IsEmptyHandle(db));
    }
}

std::vector<std::uint32_t> g_progress;

// A link target one past the other list is refused where the links are read
// (progress 75 for the primary links, 77 for the secondary ones), before any
// later step could follow it outside the node block.
TEST_F(V03FileTest, ATargetJustPastTheOtherListFailsWhereItIsRead) {
    const FileParts good = SplitFile(SampleFile());
    for (const int list : {0, 1}) {
        SCOPED_TRACE(list);
        FileParts parts = good;
        Bytes& targets = parts.blocks[4 + list];
        const std::uint32_t other_count = GetU32(parts.header, list == 0 ? 428 : 420);
        for (std::size_t at = 0; at < targets.size(); at += 4) {
            SCOPED_TRACE(at);
            FileParts spoiled = parts;
            SetU32(&spoiled.blocks[4 + list], at, other_count);
            g_progress.clear();
            SetProgressHookForTesting([](std::uint32_t percent) { g_progress.push_back(percent); });
            const auto outcome = LoadBytes(JoinParts(spoiled));
            SetProgressHookForTesting(nullptr);
            EXPECT_EQ(outcome, std::make_pair(0, std::string("Damaged database !")));
            // DB_Load ends every load at 100.
            ASSERT_GE(g_progress.size(), 2u);
            EXPECT_EQ(g_progress.back(), 100u);
            EXPECT_EQ(g_progress[g_progress.size() - 2], list == 0 ? 75u : 77u);
        }
    }
}

// Whatever one byte is changed to, the load either fails with a message and
// leaves the handle empty for the next try, or gives a dictionary that saves
// into a file that loads again and saves into the same bytes.
TEST_F(V03FileTest, EveryChangedByteFailsCleanlyOrLoadsASavableDictionary) {
    const Bytes good = SampleFile();
    const std::string path = Path("input.v03"), first = Path("first.v03"),
                      second = Path("second.v03");
    const std::size_t tables = GetU32(good, good.size() - 132 + 72);
    DB_HANDLE db = NewHandle();
    DB_HANDLE again = NewHandle();
    int loaded = 0;
    for (std::size_t at = 0; at + 4 < good.size(); ++at) {
        // The description strings and the tables are taken as they are.
        if (at >= 24 && at < 400) continue;
        if (at >= tables + 8 && at < tables + 2048) continue;
        for (const int change : {0x01, 0x80, 0xFF}) {
            SCOPED_TRACE(::testing::Message() << "byte " << at << " ^ " << change);
            Bytes file = good;
            file[at] = static_cast<char>(file[at] ^ change);
            FixCrc(&file);
            WriteFile(path, file);
            const DB_RESULT* result = DB_Load(db, 1, path.c_str(), 0, 0);
            if (result->status == 0) {
                EXPECT_NE(result->message[0], '\0');
                EXPECT_TRUE(IsEmptyHandle(db));
                continue;
            }
            ++loaded;
            ASSERT_EQ(DB_Save(db, 6, first.c_str())->status, 1) << DB_GetLastErrorMessage(db);
            ASSERT_EQ(DB_Load(again, 1, first.c_str(), 0, 0)->status, 1);
            ASSERT_EQ(DB_Save(again, 6, second.c_str())->status, 1);
            EXPECT_EQ(ReadFile(first), ReadFile(second));
            DB_Close(db);
            DB_Close(again);
        }
    }
    EXPECT_GT(loaded, 0);  // locales, charsets and the trailer's table offsets load
}

TEST_F(V03FileTest, LoadedDictionaryMatchesTheSavedOne) {
    DB_HANDLE edited = EditedSample();
    DB_HANDLE loaded = SaveAndReload(edited, "sample.v03");
    EXPECT_TRUE(CheckDictionary(loaded));
    EXPECT_EQ(ContentsOf(loaded), ContentsOf(edited));
    EXPECT_EQ(WordsInOrder(loaded->lists[0]), WordsInOrder(edited->lists[0]));
    EXPECT_EQ(WordsInOrder(loaded->lists[1]), WordsInOrder(edited->lists[1]));
    EXPECT_STREQ(loaded->name, "English - Croatian");
    EXPECT_STREQ(loaded->secondary_list_name, "Croatian");
    EXPECT_EQ(loaded->lists[1].charset, 238u);
    EXPECT_EQ(loaded->lists[1].text_bytes, edited->lists[1].text_bytes);
    EXPECT_EQ(DB_IsChanged(loaded), 0);
    for (const WordList& list : loaded->lists) {
        EXPECT_FALSE(list.texts_moved || list.nodes_moved || list.links_changed);
    }
}

TEST_F(V03FileTest, SaveAfterAddingATranslationKeepsChainOrder) {
    DB_HANDLE db = LoadedSample();
    ASSERT_EQ(DB_AddTranslation(db, 1, "house", "pas")->status, 2);
    ASSERT_EQ(DB_AddTranslation(db, 2, "dom", "dog")->status, 2);
    // Links changed, nodes did not: positions come from the node blocks.
    for (const WordList& list : db->lists) {
        EXPECT_TRUE(list.links_changed);
        EXPECT_FALSE(list.nodes_moved);
    }
    DB_HANDLE again = SaveAndReload(db, "added.v03");
    EXPECT_TRUE(CheckDictionary(again));
    EXPECT_EQ(ContentsOf(again), ContentsOf(db));
    EXPECT_EQ(ContentsOf(again).primary.at("house"), (std::vector<std::string>{"ku\xe6"
                                                                               "a",
                                                                               "dom", "pas"}));
}

TEST_F(V03FileTest, SaveAfterChangingAWordFindsPositionsByAddress) {
    DB_HANDLE db = LoadedSample();
    ASSERT_EQ(DB_ChangeWord(db, 1, "dog", "hound")->status, 2);
    ASSERT_EQ(DB_ChangeWord(db, 2, "dom", "domovina")->status, 2);
    ASSERT_EQ(DB_SwapTranslations(db, 1, "house",
                                  "ku\xe6"
                                  "a",
                                  "domovina")
                  ->status,
              2);
    for (const WordList& list : db->lists) EXPECT_TRUE(list.nodes_moved);
    DB_HANDLE again = SaveAndReload(db, "changed.v03");
    EXPECT_TRUE(CheckDictionary(again));
    EXPECT_EQ(ContentsOf(again), ContentsOf(db));
    EXPECT_EQ(WordsInOrder(again->lists[0]), WordsInOrder(db->lists[0]));
    EXPECT_EQ(ContentsOf(again).secondary.at("pas"), std::vector<std::string>{"hound"});
}

TEST_F(V03FileTest, SwappedTranslationsOfALoadedDictionarySaveInTheirNewOrder) {
    DB_HANDLE db = LoadedSample();
    ASSERT_EQ(DB_SwapTranslations(db, 1, "house",
                                  "ku\xe6"
                                  "a",
                                  "dom")
                  ->status,
              2);
    DB_HANDLE again = SaveAndReload(db, "swapped.v03");
    EXPECT_EQ(ContentsOf(again).primary.at("house"), (std::vector<std::string>{"dom",
                                                                               "ku\xe6"
                                                                               "a"}));
}

TEST_F(V03FileTest, DeletingEveryWordOfAListSavesAnEmptyList) {
    DB_HANDLE db = LoadedSample();
    for (const auto& [primary, secondary] : kSamplePairs) {
        DB_DeleteTranslation(db, 1, primary, secondary);
    }
    for (const char* word : {"a", "Apple", "apple", "dog", "home", "house"}) {
        ASSERT_EQ(DB_DeleteWord(db, 1, word)->status, 1) << word;
    }
    DB_HANDLE again = SaveAndReload(db, "emptied.v03");
    EXPECT_EQ(again->lists[0].word_count, 0u);
    EXPECT_EQ(again->lists[1].word_count, 6u);
    EXPECT_EQ(again->lists[1].translation_count, 0u);
    EXPECT_TRUE(CheckDictionary(again));
}

TEST_F(V03FileTest, SaveReplacesWhatItCannotWriteOver) {
    DB_HANDLE db = EditedSample();
    const std::string path = Path("target.v03");
    // A leftover of an earlier save that was killed is no obstacle.
    WriteFile(path + ".tmp", "old");
    ASSERT_EQ(::chmod((path + ".tmp").c_str(), 0444), 0);
    WriteFile(path, "previous");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(DB_Save(db, 6, path.c_str())->status, 1);
    EXPECT_EQ(FilesIn(dir_), (std::set<std::string>{"target.v03", "target.v03.tmp"}));
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);  // the replaced file's permissions stay

    // A save through a link replaces the file it names and keeps the link.
    const std::string link = Path("link.v03");
    ASSERT_EQ(::symlink("target.v03", link.c_str()), 0);
    ASSERT_EQ(DB_AddWord(db, 1, "linked")->status, 1);
    ASSERT_EQ(DB_Save(db, 6, link.c_str())->status, 1);
    struct stat link_status {};
    ASSERT_EQ(::lstat(link.c_str(), &link_status), 0);
    EXPECT_TRUE(S_ISLNK(link_status.st_mode));
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(DB_Load(NewHandle(), 1, path.c_str(), 0, 0)->status, 1);

    const std::string missing_dir = Path("no/such.v03");
    EXPECT_EQ(DB_Save(db, 6, missing_dir.c_str())->message,
              "Can't open file for writing:\n" + missing_dir);
    // A directory or a device is never replaced; nothing is left behind.
    const std::string directory = Path("folder.v03");
    ASSERT_EQ(::mkdir(directory.c_str(), 0700), 0);
    EXPECT_EQ(DB_Save(db, 6, directory.c_str())->message,
              "Can't open file for writing:\n" + directory);
    EXPECT_EQ(DB_Save(db, 6, "/dev/null")->message,
              std::string("Can't open file for writing:\n/dev/null"));
    EXPECT_EQ(FilesIn(dir_),
              (std::set<std::string>{"folder.v03", "link.v03", "target.v03", "target.v03.tmp"}));
}

// A save or a description write waits a bounded time for another process that
// is saving the same file, then gives up with a message that says why.
TEST_F(V03FileTest, AWriterThatHoldsTheFileTooLongMakesTheSaveFail) {
    DB_HANDLE db = EditedSample();
    const std::string path = Path("shared.v03");
    ASSERT_EQ(DB_Save(db, 6, path.c_str())->status, 1);
    const Bytes old = ReadFile(path);
    ASSERT_EQ(DB_AddWord(db, 1, "meanwhile")->status, 1);
    platform::SetLockWaitForTesting(200);
    {
        platform::LockHolder holder(path);
        const std::string busy = "Can't lock file for writing:\n" + path +
                                 "\nAnother program is saving it; try again later.";
        const DB_RESULT* result = DB_Save(db, 6, path.c_str());
        EXPECT_EQ(result->status, 0);
        EXPECT_EQ(result->message, busy);
        EXPECT_EQ(DB_IsChanged(db), 1);
        DICTIONARY_INFO info{};
        std::strcpy(info.name, "Renamed");
        EXPECT_EQ(DB_SetDictionaryInfoA(NewHandle(), path.c_str(), &info)->message, busy);
        EXPECT_EQ(DB_Save(db, 8, path.c_str())->message, busy);
        EXPECT_EQ(ReadFile(path), old);
        EXPECT_EQ(FilesIn(dir_), (std::set<std::string>{"shared.v03"}));
    }
    ASSERT_EQ(DB_Save(db, 6, path.c_str())->status, 1);
    EXPECT_NE(ReadFile(path), old);
}

TEST_F(V03FileTest, AFailedDescriptionWriteSaysSo) {
    const std::string path = Path("sample.v03");
    SampleFile();
    DICTIONARY_INFO info{};
    std::strcpy(info.name, "Renamed");
    // Header, body and CRC go to a new file: a failure at any of them, or at
    // the flush or the replacement, leaves the old file as it was.
    const Bytes old = ReadFile(path);
    const std::pair<platform::FileOp, int> failures[] = {{platform::FileOp::kWrite, 1},
                                                         {platform::FileOp::kWrite, 2},
                                                         {platform::FileOp::kWrite, 3},
                                                         {platform::FileOp::kFlush, 1},
                                                         {platform::FileOp::kReplace, 1}};
    for (const auto& [op, n] : failures) {
        SCOPED_TRACE(n);
        platform::FailFileOpForTesting(op, n);
        const DB_RESULT* result = DB_SetDictionaryInfoA(NewHandle(), path.c_str(), &info);
        platform::FailFileOpForTesting(op, 0);
        EXPECT_EQ(result->status, 0);
        EXPECT_EQ(result->message, (op == platform::FileOp::kReplace ? "Can't copy to file:\n"
                                                                     : "Can't write to file:\n") +
                                       path);
        EXPECT_EQ(ReadFile(path), old);
        EXPECT_EQ(FilesIn(dir_), (std::set<std::string>{"sample.v03"}));
    }
    ASSERT_EQ(DB_SetDictionaryInfoA(NewHandle(), path.c_str(), &info)->status, 1);
    DB_HANDLE db = NewHandle();
    ASSERT_EQ(DB_Load(db, 1, path.c_str(), 0, 0)->status, 1);
    EXPECT_STREQ(db->name, "Renamed");
}

// A file of many millions of one-letter words, an honest stream that packs a
// thousand to one: the counts alone tell that it can't fit, and the load
// fails before it takes the memory.
Bytes ManyOneLetterWords(std::uint32_t words) {
    FileParts parts;
    parts.header = Bytes(440, '\0');
    std::memcpy(parts.header.data(), "TQ_DICTIONARY_V03_00", 20);
    SetU32(&parts.header, 416, 2 * words);
    SetU32(&parts.header, 420, words);
    parts.blocks[0].reserve(2 * std::size_t{words});
    for (std::uint32_t i = 0; i < words; ++i) parts.blocks[0] += std::string("a\0", 2);
    parts.tables = Bytes(2048, '\0');
    return JoinParts(parts);
}

TEST_F(V03FileTest, ADictionaryThatCannotFitFailsAtOnce) {
    const Bytes file = ManyOneLetterWords(4000000);
    SetV03MemoryCeilingForTesting(64u << 20);
    const std::pair<int, std::string> refused = LoadBytes(file);
    SetV03MemoryCeilingForTesting(0);
    EXPECT_EQ(refused, std::make_pair(0, std::string("Memory allocation error !")));
    // Where it fits, it loads.
    DB_HANDLE db = nullptr;
    ASSERT_EQ(LoadBytes(file, &db).first, 1);
    EXPECT_EQ(db->lists[0].word_count, 4000000u);
}

// A header that claims `words` one-letter words, split over the two lists,
// and holds none of them.
Bytes ClaimedOneLetterWords(std::uint64_t words) {
    FileParts parts;
    parts.header = Bytes(440, '\0');
    std::memcpy(parts.header.data(), "TQ_DICTIONARY_V03_00", 20);
    const std::uint64_t first = std::min<std::uint64_t>(words, 0x7FFFFFFF);
    const std::uint64_t second = words - first;
    SetU32(&parts.header, 416, static_cast<std::uint32_t>(2 * first));
    SetU32(&parts.header, 420, static_cast<std::uint32_t>(first));
    SetU32(&parts.header, 424, static_cast<std::uint32_t>(2 * second));
    SetU32(&parts.header, 428, static_cast<std::uint32_t>(second));
    parts.tables = Bytes(2048, '\0');
    return JoinParts(parts);
}

// Without a ceiling set for the test, the machine's memory bounds a load:
// counts that ask for twice the memory it has fail at once, for memory; half
// of it passes that check (and the file then fails for lacking its words).
TEST_F(V03FileTest, TheMachinesOwnMemoryBoundsALoad) {
    rlimit address_space{};
    ASSERT_EQ(::getrlimit(RLIMIT_AS, &address_space), 0);
    if (address_space.rlim_cur != RLIM_INFINITY) GTEST_SKIP() << "an address-space limit is set";
    const std::uint64_t physical = static_cast<std::uint64_t>(::sysconf(_SC_PHYS_PAGES)) *
                                   static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    // A one-letter word asks for 2 bytes of text, 24 of node, 2 of count and
    // 4 for the check of the links.
    const std::uint64_t twice = 2 * physical / 32;
    if (twice > 2 * std::uint64_t{0x7FFFFFFF}) GTEST_SKIP() << "more memory than counts reach";
    EXPECT_EQ(LoadBytes(ClaimedOneLetterWords(twice)),
              std::make_pair(0, std::string("Memory allocation error !")));
    EXPECT_EQ(LoadBytes(ClaimedOneLetterWords(twice / 4)),
              std::make_pair(0, std::string("Damaged database !")));
}

// The sanitizers reserve address space of their own, beyond a limit's room.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// The process's own address-space limit counts: with room for the file but
// not for its words, the load fails before it unpacks anything.
TEST_F(V03FileTest, TheAddressSpaceLimitBoundsALoad) {
    const Bytes file = ManyOneLetterWords(25000000);  // 50 MB of texts, 600 MB of nodes
    const std::string path = Path("huge.v03");
    WriteFile(path, file);
    const int status = [&] {
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            std::FILE* statm = std::fopen("/proc/self/statm", "r");
            unsigned long pages = 0;
            if (statm == nullptr || std::fscanf(statm, "%lu", &pages) != 1) ::_exit(3);
            std::fclose(statm);
            const rlim_t room = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (300u << 20);
            const rlimit bound{room, room};
            if (::setrlimit(RLIMIT_AS, &bound) != 0) ::_exit(3);
            rusage before{}, after{};
            ::getrusage(RUSAGE_SELF, &before);
            DB_HANDLE db = DB_CreateHandle()->handle;
            const DB_RESULT* result = DB_Load(db, 1, path.c_str(), 0, 0);
            ::getrusage(RUSAGE_SELF, &after);
            const bool refused =
                result->status == 0 && std::string(result->message) == "Memory allocation error !";
            // Unpacking the texts alone would take 50 MB.
            const bool small = after.ru_maxrss - before.ru_maxrss < 30 * 1024;
            ::_exit(refused ? (small ? 0 : 2) : 1);
        }
        int child_status = 0;
        ::waitpid(child, &child_status, 0);
        return WIFEXITED(child_status) ? WEXITSTATUS(child_status) : -1;
    }();
    EXPECT_EQ(status, 0);
}
#endif

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// A file of about 100 KB whose texts inflate a thousand to one claims a
// dictionary its size can't hold: the load fails at once, for damage, and
// takes next to nothing, under an address-space limit that leaves it room
// for gigabytes. A dictionary as large as a small file may hold still loads.
TEST_F(V03FileTest, ASmallFileThatInflatesAThousandfoldFailsSmall) {
    const std::string path = Path("inflating.v03");
    {
        const Bytes file = ManyOneLetterWords(50000000);  // 100 MB of texts, 1.2 GB of nodes
        ASSERT_LT(file.size(), 200u << 10);
        WriteFile(path, file);
    }
    // The load of file `name` in a child process: 10 loaded, 20 refused as
    // damaged, each having taken less than 256 MB (12 and 22 more), 21
    // refused for another reason.
    const auto load_in_child = [](const std::string& name) {
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            std::FILE* statm = std::fopen("/proc/self/statm", "r");
            unsigned long pages = 0;
            if (statm == nullptr || std::fscanf(statm, "%lu", &pages) != 1) ::_exit(3);
            std::fclose(statm);
            const rlim_t room = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (3ul << 30);
            const rlimit bound{room, room};
            if (::setrlimit(RLIMIT_AS, &bound) != 0) ::_exit(3);
            rusage before{}, after{};
            ::getrusage(RUSAGE_SELF, &before);
            DB_HANDLE db = DB_CreateHandle()->handle;
            const DB_RESULT* result = DB_Load(db, 1, name.c_str(), 0, 0);
            ::getrusage(RUSAGE_SELF, &after);
            const bool took_little = after.ru_maxrss - before.ru_maxrss < 256 * 1024;
            if (result->status == 1) ::_exit(took_little ? 10 : 12);
            const bool damaged = std::string(result->message) == "Damaged database !";
            ::_exit(damaged ? (took_little ? 20 : 22) : 21);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(load_in_child(path), 20);
    const std::string honest = Path("honest.v03");
    WriteFile(honest, ManyOneLetterWords(3000000));  // 6 MB of texts in a few KB
    EXPECT_EQ(load_in_child(honest), 10);
}
#endif

TEST_F(V03FileTest, RunningOutOfMemoryFailsCleanly) {
    const std::string path = Path("sample.v03");
    DB_HANDLE edited = EditedSample();
    ASSERT_EQ(DB_Save(edited, 6, path.c_str())->status, 1);
    const Bytes old = ReadFile(path);
    int n = 1;
    for (;; ++n) {
        SCOPED_TRACE(n);
        DB_HANDLE db = NewHandle();
        FailV03AllocationForTesting(n);
        const DB_RESULT* result = DB_Load(db, 1, path.c_str(), 0, 0);
        FailV03AllocationForTesting(0);
        if (result->status == 1) break;
        EXPECT_STREQ(result->message, "Memory allocation error !");
        EXPECT_TRUE(IsEmptyHandle(db));
    }
    EXPECT_GT(n, 8);  // texts, nodes, positions, links and counts of both lists
    for (n = 1;; ++n) {
        SCOPED_TRACE(n);
        FailV03AllocationForTesting(n);
        const DB_RESULT* result = DB_Save(edited, 6, path.c_str());
        FailV03AllocationForTesting(0);
        if (result->status == 1) break;
        EXPECT_STREQ(result->message, "Memory allocation error !");
        EXPECT_EQ(ReadFile(path), old);
        EXPECT_EQ(FilesIn(dir_), (std::set<std::string>{"sample.v03"}));
    }
    EXPECT_GT(n, 8);
}

// The blocks are compressed side by side and written in their order after: a
// large dictionary, whose blocks take long enough to overlap, still saves into
// exactly the bytes of compressing them one after the other, and loads again.
TEST_F(V03FileTest, BlocksCompressedSideBySideGiveTheBytesOfOneAfterTheOther) {
    DB_HANDLE db = NewHandle();
    ASSERT_EQ(DB_CreateNewDictionary(db, 1033, 1031)->status, 1);
    std::mt19937 random(7);
    const auto word = [&random] {
        std::string text(6, 'a');
        for (char& c : text) c = static_cast<char>('a' + random() % 26);
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        ASSERT_GE(DB_AddTranslation(db, 1, word().c_str(), word().c_str())->status, 1);
    }
    const std::string path = Path("large.v03");
    ASSERT_EQ(DB_Save(db, 6, path.c_str())->status, 1);
    const Bytes file = ReadFile(path);
    EXPECT_EQ(JoinParts(SplitFile(file)), file);
    DB_HANDLE again = SaveAndReload(db, "again.v03");
    const std::string copy = Path("copy.v03");
    ASSERT_EQ(DB_Save(again, 6, copy.c_str())->status, 1);
    EXPECT_EQ(ReadFile(copy), file);
}

// A save that fails putting a late block together has already handed the
// earlier ones over; a failure to write one of those is still the one
// reported, as it would be were the blocks done one after the other.
TEST_F(V03FileTest, AnEarlierBlocksWriteFailureComesBeforeALaterBlocksFailure) {
    DB_HANDLE db = EditedSample();
    const std::string path = Path("sample.v03");
    int allocations = 0;  // those of a whole save
    for (int n = 1;; ++n) {
        FailV03AllocationForTesting(n);
        const DB_RESULT* result = DB_Save(db, 6, path.c_str());
        FailV03AllocationForTesting(0);
        if (result->status == 1) {
            allocations = n - 1;
            break;
        }
    }
    ASSERT_GT(allocations, 2);
    // The last allocation is the secondary targets' room; the second write is
    // the first block.
    FailV03AllocationForTesting(allocations);
    platform::FailFileOpForTesting(platform::FileOp::kWrite, 2);
    const DB_RESULT* result = DB_Save(db, 6, path.c_str());
    EXPECT_EQ(result->status, 0);
    EXPECT_EQ(result->message, "Can't write to file:\n" + path);
    platform::FailFileOpForTesting(platform::FileOp::kWrite, 0);
    FailV03AllocationForTesting(allocations);
    EXPECT_STREQ(DB_Save(db, 6, path.c_str())->message, "Memory allocation error !");
    FailV03AllocationForTesting(0);
    EXPECT_EQ(FilesIn(dir_), (std::set<std::string>{"sample.v03"}));
}

// The blocks are inflated all at once, ahead of the steps that use them; a
// file with more than one fault must still fail with the fault of the block
// used first: texts, then links, then counts.
TEST_F(V03FileTest, SeveralDamagedBlocksFailWithTheFirstUsed) {
    const FileParts good = SplitFile(SampleFile());
    const std::string damaged = "Damaged database !";
    const std::string uncompress = "Uncompress database error !";
    // The adler-32 at the end of block b's stream, made wrong.
    const auto break_stream = [](Bytes* file, int b) {
        const std::size_t trailer = file->size() - 132;
        const std::size_t end =
            GetU32(*file, trailer + 4 * b) + GetU32(*file, trailer + 24 + 4 * b);
        (*file)[end - 1] ^= 0x01;
    };
    for (int b = 0; b < 6; ++b) {
        SCOPED_TRACE(b);
        Bytes file = JoinParts(good);
        break_stream(&file, b);
        FixCrc(&file);
        DB_HANDLE db = nullptr;
        EXPECT_EQ(LoadBytes(file, &db), std::make_pair(0, uncompress));
        EXPECT_TRUE(IsEmptyHandle(db));
    }
    struct Case {
        const char* what;
        void (*change)(FileParts* parts);
        int broken_stream;
        const std::string& message;
    };
    const Case cases[] = {
        {"texts not ending in a NUL, before a broken link block",
         [](FileParts* p) { p->blocks[0].back() = 'x'; }, 5, damaged},
        {"a broken secondary text block, before a target beyond the other list",
         [](FileParts* p) { SetU32(&p->blocks[4], 0, GetU32(p->header, 428)); }, 1, uncompress},
        {"a target beyond the other list, before a broken count block",
         [](FileParts* p) { SetU32(&p->blocks[4], 0, GetU32(p->header, 428)); }, 3, damaged},
        {"a broken link block, before counts that add up wrong",
         [](FileParts* p) { p->blocks[2][0] = 2; }, 4, uncompress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileParts parts = good;
        c.change(&parts);
        Bytes file = JoinParts(parts);
        break_stream(&file, c.broken_stream);
        FixCrc(&file);
        DB_HANDLE db = nullptr;
        EXPECT_EQ(LoadBytes(file, &db), std::make_pair(0, c.message));
        EXPECT_TRUE(IsEmptyHandle(db));
    }
}

std::string g_mapped_path;

TEST_F(V03FileTest, AFileThatChangesSizeWhileMappedFailsCleanly) {
    const Bytes good = SampleFile();
    ASSERT_LT(good.size(), 4096u);  // one page
    g_mapped_path = Path("input.v03");
    const std::pair<void (*)(), std::string> cases[] = {
        // The page stays mapped; what it holds past the new end reads as zeros.
        {+[] { ASSERT_EQ(::truncate(g_mapped_path.c_str(), 1000), 0); },
         InputMessage("Database CRC error:\n")},
        // The page is gone: reading it raises SIGBUS, which the read survives.
        {+[] { ASSERT_EQ(::truncate(g_mapped_path.c_str(), 0), 0); },
         InputMessage("Can't map file:\n")},
        {+[] { ASSERT_EQ(::truncate(g_mapped_path.c_str(), 100000), 0); },
         InputMessage("Can't map file:\n")},
    };
    for (const auto& [hook, message] : cases) {
        SCOPED_TRACE(message);
        platform::SetMapHookForTesting(hook);
        DB_HANDLE db = nullptr;
        EXPECT_EQ(LoadBytes(good, &db), std::make_pair(0, message));
        EXPECT_TRUE(IsEmptyHandle(db));
        DICTIONARY_INFO info{};
        WriteFile(g_mapped_path, good);
        EXPECT_EQ(DB_SetDictionaryInfoA(db, g_mapped_path.c_str(), &info)->status, 0);
        platform::SetMapHookForTesting(nullptr);
    }
}

// Random dictionaries made by editing, saved and loaded: the same words in
// the same order with the same chains; saved again, the same bytes.
class V03RoundTripTest : public V03FileTest, public ::testing::WithParamInterface<unsigned> {};

std::string RandomWord(std::mt19937& random) {
    static const char kLetters[] = "abcAB\xe8\xe6\x9e";
    std::string word;
    const int length = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < length; ++i) word += kLetters[random() % (sizeof kLetters - 1)];
    return word;
}

void EditAtRandom(DB_HANDLE db, std::mt19937& random, int steps) {
    for (int step = 0; step < steps; ++step) {
        const int list = 1 + static_cast<int>(random() % 2);
        const std::string a = RandomWord(random), b = RandomWord(random), c = RandomWord(random);
        switch (random() % 8) {
            case 0:
                DB_AddWord(db, list, a.c_str());
                break;
            case 1:
                DB_DeleteWord(db, list, a.c_str());
                break;
            case 2:
                DB_DeleteTranslation(db, list, a.c_str(), b.c_str());
                break;
            case 3:
                DB_ChangeWord(db, list, a.c_str(), b.c_str());
                break;
            case 4:
                DB_SwapTranslations(db, list, a.c_str(), b.c_str(), c.c_str());
                break;
            default:
                DB_AddTranslation(db, list, a.c_str(), b.c_str());
                break;
        }
    }
}

TEST_P(V03RoundTripTest, SavedDictionariesLoadTheSameAndSaveTheSameBytes) {
    std::mt19937 random(GetParam());
    DB_HANDLE db = NewHandle();
    ASSERT_EQ(DB_CreateNewDictionary(db, 1033, 1050)->status, 1);
    EditAtRandom(db, random, 300);
    ASSERT_GT(db->lists[0].translation_count, 20u);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const std::string first = Path("first.v03"), second = Path("second.v03");
        DB_HANDLE loaded = SaveAndReload(db, "first.v03");
        EXPECT_TRUE(CheckDictionary(loaded));
        EXPECT_EQ(ContentsOf(loaded), ContentsOf(db));
        EXPECT_EQ(WordsInOrder(loaded->lists[0]), WordsInOrder(db->lists[0]));
        EXPECT_EQ(WordsInOrder(loaded->lists[1]), WordsInOrder(db->lists[1]));
        ASSERT_EQ(DB_Save(loaded, 6, second.c_str())->status, 1);
        EXPECT_EQ(ReadFile(second), ReadFile(first));
        // Edits of a loaded dictionary mix words of the blocks with new ones.
        db = loaded;
        EditAtRandom(db, random, 60);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, V03RoundTripTest, ::testing::Values(1u, 2u, 3u, 4u, 5u));

}  // namespace
}  // namespace lexbase
