#include "wordlists/journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_writer.h"
#include "testing/test_support.h"
#include "wordlists/history_store.h"

namespace wordlists {
namespace {

using test_support::ReadFile;
using test_support::WriteFile;
using Problem = JournalStatus::Problem;

class JournalTest : public test_support::ScratchDirTest {
protected:
    void TearDown() override {
        platform::ClearFileOpFailuresForTesting();
        ScratchDirTest::TearDown();
    }
};

TEST(RecordTest, AnyTextSurvivesAndDamageIsCaught) {
    const Record record = {"L", "", "tab\there", "line\nbreak\r", "back\\slash \\t", "čćž 漢字"};
    const std::string line = EncodeRecord(record);
    ASSERT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    Record back;
    ASSERT_TRUE(DecodeRecord(std::string_view(line).substr(0, line.size() - 1), &back));
    EXPECT_EQ(back, record);

    // One changed byte anywhere fails the checksum.
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        std::string bad = line.substr(0, line.size() - 1);
        bad[i] = static_cast<char>(bad[i] ^ 0x01);
        EXPECT_FALSE(DecodeRecord(bad, &back)) << "byte " << i;
    }
    EXPECT_FALSE(DecodeRecord("", &back));
    EXPECT_FALSE(DecodeRecord("0000000", &back));
    EXPECT_FALSE(DecodeRecord("zzzzzzzz\tL", &back));
}

TEST_F(JournalTest, AppendsCollectUntilFlushAndReadBackInOrder) {
    Journal journal(Path("j"), "test", 1 << 20);
    EXPECT_TRUE(journal.Load().empty());
    EXPECT_EQ(journal.status().problem, Problem::kNone);
    journal.Append({"A", "1"});
    journal.Append({"A", "2"});
    EXPECT_FALSE(test_support::FileExists(Path("j")));
    ASSERT_TRUE(journal.Flush());
    journal.Append({"A", "3"});
    ASSERT_TRUE(journal.Flush());

    struct stat status {};
    ASSERT_EQ(::stat(Path("j").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    Journal again(Path("j"), "test", 1 << 20);
    const std::vector<Record> records = again.Load();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2], (Record{"A", "3"}));
    EXPECT_EQ(again.records_in_file(), 3u);
}

// A kill can stop an append after any byte: the records before it stay.
TEST_F(JournalTest, AnAppendCutAtAnyByteLosesOnlyItsOwnRecords) {
    const std::string first = EncodeRecord({"A", "kept"});
    const std::string torn = EncodeRecord({"A", "torn"}) + EncodeRecord({"A", "torn too"});
    for (std::size_t cut = 0; cut < torn.size(); ++cut) {
        WriteFile(Path("j"), first + torn.substr(0, cut));
        Journal journal(Path("j"), "test", 1 << 20);
        const std::vector<Record> records = journal.Load();
        ASSERT_GE(records.size(), 1u) << cut;
        EXPECT_EQ(records[0], (Record{"A", "kept"}));
        EXPECT_FALSE(journal.status().detached);
        const bool clean = cut == 0 || torn[cut - 1] == '\n';
        EXPECT_EQ(journal.NeedsRewrite(), !clean) << cut;
    }
}

TEST_F(JournalTest, DamagedRecordsAreDroppedAndTheFileRewrittenClean) {
    WriteFile(Path("j"), EncodeRecord({"A", "1"}) + "garbage line\n" + EncodeRecord({"A", "2"}) +
                             "half a rec");
    Journal journal(Path("j"), "test", 1 << 20);
    EXPECT_EQ(journal.Load().size(), 2u);
    EXPECT_EQ(journal.status().dropped, 2u);
    ASSERT_TRUE(journal.NeedsRewrite());
    ASSERT_TRUE(journal.Rewrite({{"A", "1"}, {"A", "2"}}));
    Journal again(Path("j"), "test", 1 << 20);
    EXPECT_EQ(again.Load().size(), 2u);
    EXPECT_EQ(again.status().dropped, 0u);
}

// A file that is not a journal, a pipe, or a file past the bound is left as
// it is: the journal runs in memory and says why.
TEST_F(JournalTest, WhatCantBeReadIsNeverWritten) {
    WriteFile(Path("text"), "some notes of the user\n");
    Journal text(Path("text"), "test", 1 << 20);
    EXPECT_TRUE(text.Load().empty());
    EXPECT_EQ(text.status().problem, Problem::kNotAJournal);
    text.Append({"A", "1"});
    EXPECT_TRUE(text.Flush());
    EXPECT_TRUE(text.Rewrite({{"A", "1"}}));
    EXPECT_EQ(ReadFile(Path("text")), "some notes of the user\n");

    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    Journal fifo(Path("fifo"), "test", 1 << 20);
    EXPECT_TRUE(fifo.Load().empty());  // at once: nobody writes the pipe
    EXPECT_EQ(fifo.status().problem, Problem::kNotRegular);
    fifo.Append({"A", "1"});
    EXPECT_TRUE(fifo.Flush());

    // 2 GB, sparse: refused by its size before anything is read.
    const int fd = ::open(Path("big").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{2} << 30), 0);
    ::close(fd);
    Journal big(Path("big"), "test", kMaxJournalBytes);
    EXPECT_TRUE(big.Load().empty());
    EXPECT_EQ(big.status().problem, Problem::kTooLarge);
    EXPECT_TRUE(big.status().detached);
    big.Append({"A", "1"});
    EXPECT_TRUE(big.Flush());
    struct stat status {};
    ASSERT_EQ(::stat(Path("big").c_str(), &status), 0);
    EXPECT_EQ(status.st_size, off_t{2} << 30);
}

TEST_F(JournalTest, AFailedWriteKeepsTheRecordsForTheNextFlush) {
    Journal journal(Path("j"), "test", 1 << 20);
    journal.Load();
    journal.Append({"A", "1"});
    platform::FailFileOpForTesting(platform::FileOp::kWrite, 1);
    EXPECT_FALSE(journal.Flush());
    EXPECT_EQ(journal.status().problem, Problem::kWriteFailed);
    EXPECT_TRUE(journal.HasPending());
    ASSERT_TRUE(journal.Flush());
    EXPECT_EQ(journal.status().problem, Problem::kNone);
    Journal again(Path("j"), "test", 1 << 20);
    EXPECT_EQ(again.Load(), (std::vector<Record>{{"A", "1"}}));

    // A failed rewrite leaves the old file whole and is tried again.
    platform::FailFileOpForTesting(platform::FileOp::kReplace, 1);
    EXPECT_FALSE(journal.Rewrite({{"B"}}));
    EXPECT_TRUE(journal.NeedsRewrite());
    EXPECT_EQ(again.Load(), (std::vector<Record>{{"A", "1"}}));
}

}  // namespace
}  // namespace wordlists
