// The look-up image's files: the key of a dictionary file, read without ever
// waiting on something that is not a file, and the image written through the
// shared safe writer: complete or not at all, for the user alone, and never a
// mixture of two writers.
#include "lookup/lookup_image.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "lookup/lookup_image_writer.h"
#include "platform/file_writer.h"
#include "testing/test_support.h"

namespace lookup {
namespace {

using test_support::FilesIn;
using test_support::ReadFile;

class LookupImageTest : public test_support::ScratchDirTest {
protected:
    void TearDown() override {
        platform::ClearFileOpFailuresForTesting();
        for (DB_HANDLE db : handles_) DB_DestroyHandle(db);
        ScratchDirTest::TearDown();
    }

    // A small English-Croatian dictionary saved as `name`, loaded; its key in
    // *key. `extra` more pairs make dictionaries of different images.
    DB_HANDLE Saved(const std::string& name, int extra, SourceKey* key) {
        DB_HANDLE db = DB_CreateHandle()->handle;
        handles_.push_back(db);
        EXPECT_EQ(DB_CreateNewDictionary(db, 1033, 1050)->status, 1);
        const char* const pairs[][2] = {{"house", "kuca"}, {"house", "dom"}, {"dog", "pas"}};
        for (const auto& pair : pairs)
            EXPECT_EQ(DB_AddTranslation(db, 1, pair[0], pair[1])->status, 2);
        for (int i = 0; i < extra; ++i) {
            const std::string word = "word" + std::to_string(i);
            EXPECT_EQ(DB_AddTranslation(db, 1, word.c_str(), "rijec")->status, 2);
        }
        const std::string path = Path(name);
        const DB_RESULT* saved = DB_Save(db, DB_FORMAT_V03_SAVE, path.c_str());
        EXPECT_EQ(saved->status, 1) << saved->message;
        EXPECT_TRUE(ReadSourceKey(path, key));
        return db;
    }

    std::vector<DB_HANDLE> handles_;
};

TEST_F(LookupImageTest, TheKeyIsReadOnlyFromARegularFileAndNeverWaits) {
    SourceKey key;
    Saved("dict.v03", 0, &key);
    const std::string bytes = ReadFile(Path("dict.v03"));
    EXPECT_EQ(key.size, bytes.size());
    EXPECT_EQ(key.crc, static_cast<std::uint8_t>(bytes[bytes.size() - 4]) |
                           static_cast<std::uint8_t>(bytes[bytes.size() - 3]) << 8 |
                           static_cast<std::uint8_t>(bytes[bytes.size() - 2]) << 16 |
                           std::uint32_t{static_cast<std::uint8_t>(bytes[bytes.size() - 1])} << 24);
    // A named pipe without a writer would hold a plain open forever.
    const std::string pipe = Path("pipe.v03");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    SourceKey other;
    EXPECT_FALSE(ReadSourceKey(pipe, &other));
    EXPECT_FALSE(ReadSourceKey(dir_, &other));
    EXPECT_FALSE(ReadSourceKey(Path("missing.v03"), &other));
    test_support::WriteFile(Path("short.v03"), "abc");
    EXPECT_FALSE(ReadSourceKey(Path("short.v03"), &other));
}

TEST_F(LookupImageTest, AWrittenImageIsTheUsersAloneAndAnswers) {
    SourceKey key;
    DB_HANDLE db = Saved("dict.v03", 0, &key);
    const std::string image = Path("cache/wordbay/dict.lookup");
    ASSERT_TRUE(WriteLookupImage(db, image, Path("dict.v03"), key));
    EXPECT_EQ(FilesIn(Path("cache/wordbay")), std::set<std::string>{"dict.lookup"});
    struct stat status {};
    ASSERT_EQ(::stat(image.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    LookupImage mapped;
    ASSERT_TRUE(mapped.Open(image, Path("dict.v03"), key));
    std::vector<std::string> out;
    EXPECT_EQ(mapped.Translate(0, "house", &out), LookupImage::Answer::kFound);
    EXPECT_EQ(out, (std::vector<std::string>{"kuca", "dom"}));
}

TEST_F(LookupImageTest, EveryCutOfAnImageIsRefused) {
    SourceKey key;
    DB_HANDLE db = Saved("dict.v03", 0, &key);
    const std::string image = Path("dict.lookup");
    ASSERT_TRUE(WriteLookupImage(db, image, Path("dict.v03"), key));
    const std::string whole = ReadFile(image);
    const std::string cut = Path("cut.lookup");
    for (std::size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        // A new file each time: cutting one short in place waits for the disk.
        ::unlink(cut.c_str());
        test_support::WriteFile(cut, std::string_view(whole).substr(0, size));
        LookupImage mapped;
        EXPECT_FALSE(mapped.Open(cut, Path("dict.v03"), key));
    }
    test_support::WriteFile(cut, whole);
    LookupImage mapped;
    EXPECT_TRUE(mapped.Open(cut, Path("dict.v03"), key));
}

TEST_F(LookupImageTest, AFailedWriteKeepsTheOldImageAndLeavesNothingBehind) {
    SourceKey key;
    DB_HANDLE db = Saved("dict.v03", 0, &key);
    SourceKey bigger_key;
    DB_HANDLE bigger = Saved("bigger.v03", 50, &bigger_key);
    const std::string image = Path("cache/wordbay/dict.lookup");
    ASSERT_TRUE(WriteLookupImage(db, image, Path("dict.v03"), key));
    const std::string old = ReadFile(image);
    const std::set<std::string> files = {"dict.lookup"};
    for (const platform::FileOp op :
         {platform::FileOp::kWrite, platform::FileOp::kFlush, platform::FileOp::kReplace}) {
        SCOPED_TRACE(static_cast<int>(op));
        platform::FailFileOpForTesting(op, 1);
        EXPECT_FALSE(WriteLookupImage(bigger, image, Path("bigger.v03"), bigger_key));
        platform::FailFileOpForTesting(op, 0);
        EXPECT_TRUE(ReadFile(image) == old) << "the old image changed";
        EXPECT_EQ(FilesIn(Path("cache/wordbay")), files);
    }
    // A full disk: no file grows past the old image's size.
    const int status = test_support::WithFileSizeLimit(old.size(), [&] {
        return WriteLookupImage(bigger, image, Path("bigger.v03"), bigger_key);
    });
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(ReadFile(image) == old) << "the old image changed";
    EXPECT_EQ(FilesIn(Path("cache/wordbay")), files);
    // A file where the folder should be.
    test_support::WriteFile(Path("blocked"), "x");
    EXPECT_FALSE(WriteLookupImage(db, Path("blocked/wordbay/dict.lookup"), Path("dict.v03"), key));
    EXPECT_EQ(ReadFile(Path("blocked")), "x");
}

TEST_F(LookupImageTest, TwoWritersOfOneImageNeverMix) {
    SourceKey keys[2];
    const DB_HANDLE dbs[2] = {Saved("a.v03", 0, &keys[0]), Saved("b.v03", 200, &keys[1])};
    const std::string sources[2] = {Path("a.v03"), Path("b.v03")};
    const std::string image = Path("cache/wordbay/shared.lookup");
    // What each writer alone leaves.
    std::string alone[2];
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(WriteLookupImage(dbs[i], image, sources[i], keys[i]));
        alone[i] = ReadFile(image);
    }
    ASSERT_TRUE(alone[0] != alone[1]);
    std::atomic<int> running{2};
    std::atomic<int> failed{0};
    auto writer = [&](int i) {
        for (int round = 0; round < 15; ++round) {
            if (!WriteLookupImage(dbs[i], image, sources[i], keys[i])) ++failed;
        }
        --running;
    };
    std::thread first(writer, 0), second(writer, 1);
    int mixed = 0;
    while (running > 0) {
        const std::string now = ReadFile(image);
        if (now != alone[0] && now != alone[1]) ++mixed;
    }
    first.join();
    second.join();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(mixed, 0);
    const std::string last = ReadFile(image);
    EXPECT_TRUE(last == alone[0] || last == alone[1]);
    EXPECT_EQ(FilesIn(Path("cache/wordbay")), std::set<std::string>{"shared.lookup"});
}

}  // namespace
}  // namespace lookup
