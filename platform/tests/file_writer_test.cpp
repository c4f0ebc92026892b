// Writing files: what a new file replaces and what it refuses. Failed writes,
// flushes and replacements, permissions and leftovers of a save are tested
// with the dictionary file that uses them.
#include "platform/file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/tests/lock_holder.h"
#include "testing/test_support.h"

namespace platform {
namespace {

using test_support::ReadFile;

class FileWriterTest : public test_support::ScratchDirTest {};

TEST_F(FileWriterTest, CreateReplacesLeftoversButNotDirectories) {
    const std::string path = dir_ + "new";
    std::ofstream(path) << "leftover";
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    // A link in the file's place is replaced, not followed.
    const std::string target = dir_ + "target", link = dir_ + "link";
    std::ofstream(target) << "keep";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    for (const std::string& name : {path, link}) {
        FileWriter out;
        ASSERT_TRUE(out.Create(name.c_str()));
        ASSERT_TRUE(out.Write("fresh", 5));
        ASSERT_TRUE(out.Finish());
        EXPECT_EQ(ReadFile(name), "fresh");
    }
    EXPECT_EQ(ReadFile(target), "keep");
    FileWriter out;
    EXPECT_FALSE(out.Create(dir_.c_str()));
    EXPECT_FALSE(out.Create((dir_ + "no/such").c_str()));
}

// A replacement's temporary file is as private as the file it replaces from
// its first byte on, never readable to others through a lax umask.
TEST_F(FileWriterTest, AReplacementStartsWithTheFinalPermissions) {
    const mode_t old_mask = ::umask(0);
    for (const mode_t mode : {0600, 0640, 0444}) {
        SCOPED_TRACE(mode);
        const std::string path = dir_ + "private";
        std::ofstream(path) << "old";
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        FileWriter out;
        ASSERT_EQ(out.CreateBeside(path.c_str()), OpenResult::kOpened);
        struct stat temp {};
        ASSERT_EQ(::stat(out.path(), &temp), 0);
        EXPECT_EQ(temp.st_mode & 07777, mode);
        ASSERT_TRUE(out.Write("new", 3));
        ASSERT_TRUE(out.Commit());
        EXPECT_EQ(ReadFile(path), "new");
        ASSERT_EQ(::unlink(path.c_str()), 0);
    }
    // A new file gets what the umask leaves of 0666.
    ::umask(027);
    FileWriter out;
    ASSERT_EQ(out.CreateBeside((dir_ + "fresh").c_str()), OpenResult::kOpened);
    struct stat temp {};
    ASSERT_EQ(::stat(out.path(), &temp), 0);
    EXPECT_EQ(temp.st_mode & 07777, 0640u);
    // Unless the writer asks for a mode of its own; a file that exists keeps
    // its mode even then.
    const std::string own = dir_ + "own", kept = dir_ + "kept";
    ASSERT_TRUE(WriteWholeFile(own.c_str(), "x", 1, 0600));
    ASSERT_TRUE(WriteWholeFile(kept.c_str(), "x", 1, 0600));
    ASSERT_EQ(::chmod(kept.c_str(), 0640), 0);
    ASSERT_TRUE(WriteWholeFile(kept.c_str(), "y", 1, 0600));
    ASSERT_EQ(::stat(own.c_str(), &temp), 0);
    EXPECT_EQ(temp.st_mode & 07777, 0600u);
    ASSERT_EQ(::stat(kept.c_str(), &temp), 0);
    EXPECT_EQ(temp.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFile(kept), "y");
    ::umask(old_mask);
}

// Something that is not a regular file is never replaced, and an unfinished
// replacement leaves nothing behind.
TEST_F(FileWriterTest, AReplacementRefusesDevicesAndCleansUp) {
    FileWriter out;
    EXPECT_EQ(out.CreateBeside("/dev/null"), OpenResult::kFailed);
    EXPECT_EQ(out.CreateBeside(dir_.c_str()), OpenResult::kFailed);
    const std::string fifo = dir_ + "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(out.CreateBeside(fifo.c_str()), OpenResult::kFailed);
    {
        FileWriter abandoned;
        ASSERT_EQ(abandoned.CreateBeside((dir_ + "never").c_str()), OpenResult::kOpened);
        ASSERT_TRUE(abandoned.Write("x", 1));
    }
    const std::string command = "test \"$(ls -A '" + dir_ + "')\" = fifo";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

TEST_F(FileWriterTest, ALockKeepsOtherProcessesOutForABoundedTime) {
    const std::string path = dir_ + "shared";
    std::ofstream(path) << "old";
    SetLockWaitForTesting(300);
    {
        LockHolder holder(path);
        const auto start = std::chrono::steady_clock::now();
        FileLock lock;
        EXPECT_EQ(lock.Acquire(path.c_str()), OpenResult::kBusy);
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
        FileWriter out;
        EXPECT_EQ(out.CreateBeside(path.c_str()), OpenResult::kBusy);
        EXPECT_EQ(ReadFile(path), "old");
        holder.Release();
        EXPECT_EQ(lock.Acquire(path.c_str()), OpenResult::kOpened);
        // The same process may lock its file twice: the tool around a load
        // and a save, the engine inside the save.
        FileLock again;
        EXPECT_EQ(again.Acquire(path.c_str()), OpenResult::kOpened);
    }
    // Nothing to lock is no reason to wait.
    FileLock none;
    EXPECT_EQ(none.Acquire((dir_ + "missing").c_str()), OpenResult::kOpened);
    SetLockWaitForTesting(-1);
}

// What another process gets when it asks for the lock of `path`, waiting
// no longer than `wait_ms`.
OpenResult LockFromAnotherProcess(const std::string& path, int wait_ms) {
    const pid_t child = ::fork();
    if (child == 0) {
        SetLockWaitForTesting(wait_ms);
        FileLock lock;
        ::_exit(static_cast<int>(lock.Acquire(path.c_str())));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? static_cast<OpenResult>(WEXITSTATUS(status)) : OpenResult::kFailed;
}

// A replacement holds the target's lock from the creation of its temporary
// file to its commit: another writer finds the file busy all the while, and
// free again once the new file is in place.
TEST_F(FileWriterTest, AReplacementKeepsTheFileLockedUntilItsCommit) {
    const std::string path = dir_ + "dictionary";
    std::ofstream(path) << "old";
    ASSERT_EQ(LockFromAnotherProcess(path, 100), OpenResult::kOpened);
    FileWriter out;
    ASSERT_EQ(out.CreateBeside(path.c_str()), OpenResult::kOpened);
    EXPECT_EQ(LockFromAnotherProcess(path, 100), OpenResult::kBusy);
    ASSERT_TRUE(out.Write("new", 3));
    EXPECT_EQ(LockFromAnotherProcess(path, 100), OpenResult::kBusy);
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(LockFromAnotherProcess(path, 100), OpenResult::kOpened);
}

// A stamp tells a file saved again, one written over in place, and one that
// went, and stays for a file only read.
TEST_F(FileWriterTest, AStampTellsEveryChangeOfAFile) {
    const std::string path = dir_ + "dictionary";
    EXPECT_FALSE(StampOf(path.c_str()).exists);
    std::ofstream(path) << "old";
    const FileStamp first = StampOf(path.c_str());
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 3u);
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(StampOf(path.c_str()), first);
    ASSERT_TRUE(WriteWholeFile(path.c_str(), "new", 3));  // same size, another file
    const FileStamp second = StampOf(path.c_str());
    EXPECT_NE(second, first);
    EXPECT_EQ(second.size, 3u);
    std::ofstream(path, std::ios::app) << "er";
    EXPECT_NE(StampOf(path.c_str()), second);
    ASSERT_EQ(std::remove(path.c_str()), 0);
    EXPECT_EQ(StampOf(path.c_str()), FileStamp{});
}

// A file replaced while this process did not hold its lock is noticed when
// the lock is taken again, and an unchanged one passes.
TEST_F(FileWriterTest, ReacquireTellsWhetherTheFileChanged) {
    const std::string path = dir_ + "dictionary";
    std::ofstream(path) << "old";
    FileLock lock;
    ASSERT_EQ(lock.Acquire(path.c_str()), OpenResult::kOpened);
    bool unchanged = false;
    ASSERT_EQ(lock.Reacquire(&unchanged), OpenResult::kOpened);
    EXPECT_TRUE(unchanged);
    FileWriter other;
    ASSERT_EQ(other.CreateBeside(path.c_str()), OpenResult::kOpened);
    ASSERT_TRUE(other.Write("new", 3));
    ASSERT_TRUE(other.Commit());
    ASSERT_EQ(lock.Reacquire(&unchanged), OpenResult::kOpened);
    EXPECT_FALSE(unchanged);
}

}  // namespace
}  // namespace platform
