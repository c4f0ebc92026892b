// The mapped file: what it refuses to open, reads that stay inside the
// mapping, and reads that survive the file shrinking underneath them.
#include "platform/mapped_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "testing/test_support.h"

namespace platform {
namespace {

class MappedFileTest : public test_support::ScratchDirTest {
protected:
    std::string Write(const std::string& name, std::size_t size) {
        const std::string path = Path(name);
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7);
        test_support::WriteFile(path, bytes);
        return path;
    }
};

TEST_F(MappedFileTest, OpensOnlyRegularFiles) {
    MappedFile file;
    EXPECT_FALSE(file.Open((dir_ + "missing").c_str(), MappedFile::Access::kRead));
    EXPECT_FALSE(file.Open(dir_.c_str(), MappedFile::Access::kRead));
    EXPECT_FALSE(file.Open(dir_.c_str(), MappedFile::Access::kReadWrite));
    // A named pipe without a writer would block a plain open.
    const std::string pipe = dir_ + "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(file.Open(pipe.c_str(), MappedFile::Access::kRead));
    EXPECT_TRUE(file.Open(Write("file", 10).c_str(), MappedFile::Access::kRead));
}

TEST_F(MappedFileTest, ReadsStayInsideTheMapping) {
    MappedFile file;
    ASSERT_TRUE(file.Open(Write("file", 100).c_str(), MappedFile::Access::kRead));
    std::uint64_t size = 0;
    ASSERT_TRUE(file.QuerySize(&size));
    ASSERT_EQ(size, 100u);
    std::uint8_t out[8] = {};
    EXPECT_FALSE(file.Read(0, out, 1));  // not mapped yet
    ASSERT_TRUE(file.Map(size));
    EXPECT_TRUE(file.Read(92, out, 8));
    EXPECT_EQ(out[7], static_cast<std::uint8_t>(99 * 7));
    EXPECT_TRUE(file.Read(100, out, 0));
    EXPECT_FALSE(file.Read(93, out, 8));
    EXPECT_FALSE(file.Read(101, out, 0));
    EXPECT_FALSE(file.Read(UINT64_MAX, out, 2));
    EXPECT_TRUE(file.SizeUnchanged());
}

struct SumJob {
    const MappedFile* file;
    std::uint64_t sum;
};

void SumAll(void* argument) {
    auto* job = static_cast<SumJob*>(argument);
    for (std::uint64_t i = 0; i < job->file->size(); ++i) job->sum += job->file->data()[i];
}

TEST_F(MappedFileTest, ReadsOfAFileThatShrankFailInsteadOfCrashing) {
    const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::string path = Write("file", 4 * page);
    MappedFile file;
    ASSERT_TRUE(file.Open(path.c_str(), MappedFile::Access::kRead));
    ASSERT_TRUE(file.Map(4 * page));
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(page)), 0);
    EXPECT_FALSE(file.SizeUnchanged());

    std::uint8_t out[16];
    EXPECT_TRUE(file.Read(page - 16, out, 16));  // still in the file
    EXPECT_FALSE(file.Read(2 * page, out, 16));  // past its new end
    EXPECT_FALSE(file.Read(page - 8, out, 16));  // across it
    SumJob job{&file, 0};
    EXPECT_FALSE(file.Guarded(SumAll, &job));
    // The thread carries on as before, guarded or not.
    EXPECT_TRUE(file.Read(0, out, 16));
    EXPECT_FALSE(file.Read(3 * page, out, 1));

    // Each thread has its own guard.
    std::vector<std::thread> threads;
    int failed[4] = {};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            std::uint8_t mine[4];
            for (int i = 0; i < 100; ++i) failed[t] += file.Read(2 * page + 8 * i, mine, 4) ? 0 : 1;
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (const int f : failed) EXPECT_EQ(f, 100);
}

TEST_F(MappedFileTest, ASigbusOutsideAGuardedReadStillEndsTheProcess) {
    const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::string path = Write("file", 2 * page);
    MappedFile file;
    ASSERT_TRUE(file.Open(path.c_str(), MappedFile::Access::kRead));
    ASSERT_TRUE(file.Map(2 * page));
    std::uint8_t out[1];
    ASSERT_TRUE(file.Read(0, out, 1));  // installs the handler
    EXPECT_EXIT(
        {
            ASSERT_EQ(::truncate(path.c_str(), 0), 0);
            volatile std::uint8_t byte = file.data()[page];
            (void)byte;
            std::exit(0);
        },
        // Killed by the signal, or ended by a sanitizer's handler that was
        // there before ours.
        [](int status) {
            return WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 0);
        },
        "");
}

}  // namespace
}  // namespace platform
