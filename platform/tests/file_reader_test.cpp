// Reading files: the one open of a regular file that both the whole-file
// reads and the mappings use, and reads at a place in the file.
#include "platform/file_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "testing/test_support.h"

namespace platform {
namespace {

class FileReaderTest : public test_support::ScratchDirTest {};

TEST_F(FileReaderTest, OnlyARegularFileOpensForReadingOrWriting) {
    const std::string pipe = Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    test_support::WriteFile(Path("file"), "0123456789");
    for (const bool writable : {false, true}) {
        SCOPED_TRACE(writable);
        int fd = -1;
        std::uint64_t size = 0;
        EXPECT_EQ(OpenRegularFile(Path("missing").c_str(), &fd, &size, writable),
                  ReadOutcome::kMissing);
        EXPECT_EQ(OpenRegularFile(pipe.c_str(), &fd, &size, writable), ReadOutcome::kNotRegular);
        EXPECT_EQ(fd, -1);
        ASSERT_EQ(OpenRegularFile(Path("file").c_str(), &fd, &size, writable), ReadOutcome::kRead);
        EXPECT_EQ(size, 10u);
        // Only a writable descriptor takes a write.
        EXPECT_EQ(::pwrite(fd, "x", 1, 10) == 1, writable);
        ::close(fd);
    }
    // A directory can't be opened for writing at all, and is no file to read.
    int fd = -1;
    std::uint64_t size = 0;
    EXPECT_EQ(OpenRegularFile(dir_.c_str(), &fd, &size), ReadOutcome::kNotRegular);
    EXPECT_EQ(OpenRegularFile(dir_.c_str(), &fd, &size, true), ReadOutcome::kFailed);
}

TEST_F(FileReaderTest, ReadAtGivesExactlyTheBytesAskedForOrFails) {
    test_support::WriteFile(Path("file"), "0123456789");
    int fd = -1;
    std::uint64_t size = 0;
    ASSERT_EQ(OpenRegularFile(Path("file").c_str(), &fd, &size), ReadOutcome::kRead);
    char out[4] = {};
    ASSERT_TRUE(ReadAt(fd, 6, out, 4));
    EXPECT_EQ(std::string(out, 4), "6789");
    EXPECT_TRUE(ReadAt(fd, 10, out, 0));
    EXPECT_FALSE(ReadAt(fd, 7, out, 4));  // past the end
    EXPECT_FALSE(ReadAt(fd, UINT64_MAX - 1, out, 4));
    ::close(fd);
}

}  // namespace
}  // namespace platform
