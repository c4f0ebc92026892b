// Faults every dictionary format meets alike, run once per format: files cut
// short at every length, and saves that fail at any write, at the flush, at
// the replacement, on a full disk or in a folder that can't take a new file.
// A failed save says so, keeps the old file and the changed flag, and leaves
// nothing behind; a cut file fails cleanly or loads a sound dictionary.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <ostream>
#include <set>
#include <string>

#include "engine/context.h"
#include "engine/formats/tests/v03_test_files.h"
#include "engine/lexbase.h"
#include "engine/tests/dictionary_checker.h"
#include "platform/file_writer.h"
#include "testing/test_support.h"

namespace lexbase {
namespace {

using test_support::FilesIn;
using test_support::ReadFile;
using test_support::WriteFile;

struct WritableFormat {
    const char* name;
    int load;
    int save;
    const char* file_name;
    // The message of a save whose n-th write failed (0: whose flush failed).
    std::string (*write_failed)(int n, const std::string& path);
    std::string (*cant_create)(const std::string& path);
    const char* replace_failed;  // followed by the path
    // True when no cut of a good file loads: the format checks its length.
    bool every_cut_fails;
    // Makes a cut file pass the checks that are not about its length.
    void (*repair)(std::string* bytes);
};

// Test names and failures name the format alone.
void PrintTo(const WritableFormat& format, std::ostream* out) { *out << format.name; }

void Unchanged(std::string*) {}

// The CRC of a V03 file is over all it holds: a cut file gets a right one, so
// that the structure is what fails, not the CRC. Below 572 bytes the size
// alone fails it.
void FixV03Crc(std::string* bytes) {
    if (bytes->size() >= 572) v03_test::FixCrc(bytes);
}

const WritableFormat kFormats[] = {
    {"V03", DB_FORMAT_V03_LOAD, DB_FORMAT_V03_SAVE, "english_croatian.v03",
     [](int n, const std::string& path) {
         // The two count blocks have a message of their own.
         return (n == 4 || n == 5 ? "Can't write to file\n" : "Can't write to file:\n") + path;
     },
     [](const std::string& path) { return "Can't open file for writing:\n" + path; },
     "Can't copy to file:\n", true, FixV03Crc},
    {"Txt", DB_FORMAT_TXT_LOAD, DB_FORMAT_TXT_SAVE, "english_croatian.txt",
     [](int, const std::string& path) { return "Can't write to file:\n" + path; },
     [](const std::string& path) { return "Can't create file:\n" + path + "!"; },
     "Can't write to file:\n", false, Unchanged},
    {"Freelang", DB_FORMAT_FREELANG_LOAD, DB_FORMAT_FREELANG_SAVE, "english_croatian.wb",
     [](int, const std::string& path) { return "Can't write to file:\n" + path; },
     [](const std::string& path) { return "Can't create file:\n" + path + "!"; },
     "Can't write to file:\n", false, Unchanged},
};

class FormatFaultsTest : public test_support::ScratchDirTest,
                         public ::testing::WithParamInterface<WritableFormat> {
protected:
    void TearDown() override {
        for (DB_HANDLE db : handles_) DB_DestroyHandle(db);
        platform::ClearFileOpFailuresForTesting();
        ::chmod(dir_.c_str(), 0700);
        ScratchDirTest::TearDown();
    }

    DB_HANDLE NewHandle() {
        handles_.push_back(DB_CreateHandle()->handle);
        return handles_.back();
    }

    // A small English-Croatian dictionary with `extra` more pairs; every
    // format holds it whole (short words, few translations each).
    DB_HANDLE Sample(int extra = 0) {
        DB_HANDLE db = NewHandle();
        EXPECT_EQ(DB_CreateNewDictionary(db, 1033, 1050)->status, 1);
        const char* const pairs[][2] = {{"house", "kuca"}, {"house", "dom"}, {"home", "dom"},
                                        {"dog", "pas"},    {"a", "neki"},    {"apple", "jabuka"}};
        for (const auto& pair : pairs)
            EXPECT_EQ(DB_AddTranslation(db, 1, pair[0], pair[1])->status, 2);
        for (int i = 0; i < extra; ++i) {
            const std::string word = "word" + std::to_string(i);
            EXPECT_EQ(DB_AddTranslation(db, 1, word.c_str(), "rijec")->status, 2);
        }
        return db;
    }

    std::string SavedSample(DB_HANDLE db) {
        const std::string path = Path(GetParam().file_name);
        const DB_RESULT* saved = DB_Save(db, GetParam().save, path.c_str());
        EXPECT_EQ(saved->status, 1) << saved->message;
        return ReadFile(path);
    }

    // Checks what every failed save must leave: a failure that names the
    // file, the changed flag still set, the old file, nothing else.
    void ExpectFailedSave(DB_HANDLE db, const DB_RESULT* result, const std::string& message,
                          const std::string& old, const std::set<std::string>& files) {
        const std::string path = Path(GetParam().file_name);
        EXPECT_EQ(result->status, 0);
        EXPECT_EQ(result->message, message);
        EXPECT_EQ(DB_IsChanged(db), 1);
        EXPECT_EQ(ReadFile(path), old);
        EXPECT_EQ(FilesIn(dir_), files);
    }

    std::vector<DB_HANDLE> handles_;
};

TEST_P(FormatFaultsTest, EveryCutOfAFileFailsCleanlyOrLoadsASoundDictionary) {
    const WritableFormat& format = GetParam();
    DB_HANDLE sample = Sample();
    const std::string good = SavedSample(sample);
    ASSERT_FALSE(good.empty());
    const std::string path = Path("cut_" + std::string(format.file_name));
    DB_HANDLE db = NewHandle();
    int loaded = 0;
    for (std::size_t size = 0; size < good.size(); ++size) {
        SCOPED_TRACE(size);
        std::string bytes = good.substr(0, size);
        format.repair(&bytes);
        WriteFile(path, bytes);
        const DB_RESULT* result = DB_Load(db, format.load, path.c_str(), 1033, 1050);
        if (result->status == 0) {
            EXPECT_NE(result->message[0], '\0');
            EXPECT_TRUE(IsEmptyHandle(db));
            continue;
        }
        ++loaded;
        EXPECT_FALSE(format.every_cut_fails) << "a cut file loaded";
        EXPECT_TRUE(CheckDictionary(db));
        EXPECT_LE(db->lists[0].word_count, sample->lists[0].word_count);
        EXPECT_LE(db->lists[0].translation_count, sample->lists[0].translation_count);
        ASSERT_EQ(DB_Close(db)->status, 1);
    }
    // The formats without a length of their own load the whole lines or
    // records a cut keeps.
    if (!format.every_cut_fails) {
        EXPECT_GT(loaded, 0);
    }
    WriteFile(path, good);
    EXPECT_EQ(DB_Load(db, format.load, path.c_str(), 1033, 1050)->status, 1);
}

TEST_P(FormatFaultsTest, FailedSavesSaySoAndKeepTheOldFile) {
    const WritableFormat& format = GetParam();
    DB_HANDLE db = Sample(3000);
    const std::string path = Path(format.file_name);
    const std::string old = SavedSample(db);
    const std::set<std::string> only_the_file = FilesIn(dir_);
    ASSERT_EQ(DB_AddTranslation(db, 1, "cat", "macka")->status, 2);

    // Each write in turn, until a save needs no more writes than that.
    int n = 1;
    for (;; ++n) {
        SCOPED_TRACE(n);
        platform::FailFileOpForTesting(platform::FileOp::kWrite, n);
        const DB_RESULT* result = DB_Save(db, format.save, path.c_str());
        if (result->status == 0) {
            ExpectFailedSave(db, result, format.write_failed(n, path), old, only_the_file);
            continue;
        }
        platform::FailFileOpForTesting(platform::FileOp::kWrite, 0);
        ASSERT_GT(n, 1) << "no write failed";
        break;
    }
    // The save above succeeded: make the dictionary changed again.
    const std::string saved = ReadFile(path);
    ASSERT_EQ(DB_AddTranslation(db, 1, "cow", "krava")->status, 2);

    platform::FailFileOpForTesting(platform::FileOp::kFlush, 1);
    ExpectFailedSave(db, DB_Save(db, format.save, path.c_str()), format.write_failed(0, path),
                     saved, only_the_file);
    platform::FailFileOpForTesting(platform::FileOp::kReplace, 1);
    ExpectFailedSave(db, DB_Save(db, format.save, path.c_str()), format.replace_failed + path,
                     saved, only_the_file);

    // A full disk, for real: the new file can't grow past half the old one.
    const int status = test_support::WithFileSizeLimit(saved.size() / 2, [&] {
        const DB_RESULT* full = DB_Save(db, format.save, path.c_str());
        const std::string message = full->message;
        return full->status == 0 && message.rfind("Can't write to file", 0) == 0 &&
               message.ends_with(path);
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFile(path), saved);
    EXPECT_EQ(FilesIn(dir_), only_the_file);

    // A folder that does not exist, one that takes no files (whoever asks),
    // or a device: no new file, and the message says so.
    for (const std::string& nowhere :
         {Path("no/such/folder/") + format.file_name, "/proc/" + std::string(format.file_name)}) {
        ExpectFailedSave(db, DB_Save(db, format.save, nowhere.c_str()), format.cant_create(nowhere),
                         saved, only_the_file);
    }
    ExpectFailedSave(db, DB_Save(db, format.save, "/dev/null"), format.cant_create("/dev/null"),
                     saved, only_the_file);

    ASSERT_EQ(DB_Save(db, format.save, path.c_str())->status, 1);
    EXPECT_EQ(DB_IsChanged(db), 0);
    EXPECT_NE(ReadFile(path), saved);
    EXPECT_EQ(FilesIn(dir_), only_the_file);
}

// A folder the user may not write to: the old file stays, unchanged, and the
// save says that it could not create the new one.
TEST_P(FormatFaultsTest, AReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions don't bind the superuser";
    const WritableFormat& format = GetParam();
    DB_HANDLE db = Sample();
    const std::string path = Path(format.file_name);
    const std::string old = SavedSample(db);
    const std::set<std::string> only_the_file = FilesIn(dir_);
    ASSERT_EQ(DB_AddTranslation(db, 1, "cat", "macka")->status, 2);
    ASSERT_EQ(::chmod(dir_.c_str(), 0500), 0);
    ExpectFailedSave(db, DB_Save(db, format.save, path.c_str()), format.cant_create(path), old,
                     only_the_file);
    ASSERT_EQ(::chmod(dir_.c_str(), 0700), 0);
    EXPECT_EQ(DB_Save(db, format.save, path.c_str())->status, 1);
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatFaultsTest, ::testing::ValuesIn(kFormats),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lexbase
