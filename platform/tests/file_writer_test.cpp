// Writing files: a new file replaces leftovers, an unfinished one is deleted,
// the replacement keeps the old file's permissions, and the test hook fails
// exactly the operation it names.
#include "platform/file_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace platform {
namespace {

class FileWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = ::testing::TempDir() + "file_writer_test_" + std::to_string(::getpid()) + "/";
        ASSERT_EQ(::mkdir(dir_.c_str(), 0700), 0);
    }
    void TearDown() override {
        FailFileOpForTesting(FileOp::kWrite, 0);
        FailFileOpForTesting(FileOp::kFlush, 0);
        FailFileOpForTesting(FileOp::kReplace, 0);
        const std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    static bool Exists(const std::string& path) {
        struct stat status {};
        return ::lstat(path.c_str(), &status) == 0;
    }
    std::string dir_;
};

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
        EXPECT_EQ(Read(name), "fresh");
    }
    EXPECT_EQ(Read(target), "keep");
    FileWriter out;
    EXPECT_FALSE(out.Create(dir_.c_str()));
    EXPECT_FALSE(out.Create((dir_ + "no/such").c_str()));
}

TEST_F(FileWriterTest, AnUnfinishedFileIsDeleted) {
    const std::string path = dir_ + "unfinished";
    {
        FileWriter out;
        ASSERT_TRUE(out.Create(path.c_str()));
        ASSERT_TRUE(out.Write("part", 4));
    }
    EXPECT_FALSE(Exists(path));
    FileWriter out;
    ASSERT_TRUE(out.Create(path.c_str()));
    FailFileOpForTesting(FileOp::kFlush, 1);
    EXPECT_FALSE(out.Finish());
    out.Discard();
    EXPECT_FALSE(Exists(path));
}

TEST_F(FileWriterTest, TheHookFailsTheNthCallOfItsOperationOnly) {
    const std::string path = dir_ + "hooked";
    FileWriter out;
    ASSERT_TRUE(out.Create(path.c_str()));
    FailFileOpForTesting(FileOp::kWrite, 3);
    FailFileOpForTesting(FileOp::kReplace, 1);
    EXPECT_TRUE(out.Write("a", 1));
    EXPECT_TRUE(out.Write("b", 1));
    EXPECT_FALSE(out.Write("c", 1));
    EXPECT_TRUE(out.Write("d", 1));  // the hook fires once
    ASSERT_TRUE(out.Finish());
    EXPECT_EQ(Read(path), "abd");
    EXPECT_FALSE(ReplaceFile(path.c_str(), (dir_ + "other").c_str()));
    EXPECT_TRUE(Exists(path));
}

TEST_F(FileWriterTest, ReplaceTakesThePlaceAndThePermissionsOfTheOldFile) {
    const std::string from = dir_ + "from", to = dir_ + "to";
    std::ofstream(from) << "new";
    std::ofstream(to) << "old";
    ASSERT_EQ(::chmod(to.c_str(), 0604), 0);
    ASSERT_TRUE(ReplaceFile(from.c_str(), to.c_str()));
    EXPECT_EQ(Read(to), "new");
    EXPECT_FALSE(Exists(from));
    struct stat status {};
    ASSERT_EQ(::stat(to.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0604u);
    // A directory in the way stays, and so does the file.
    const std::string folder = dir_ + "folder";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    EXPECT_FALSE(ReplaceFile(to.c_str(), folder.c_str()));
    EXPECT_EQ(Read(to), "new");
}

TEST_F(FileWriterTest, WriteAtChangesOnlyItsBytes) {
    const std::string path = dir_ + "patched";
    std::ofstream(path) << "0123456789";
    const int fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(WriteAt(fd, 3, "ab", 2));
    FailFileOpForTesting(FileOp::kWrite, 1);
    EXPECT_FALSE(WriteAt(fd, 0, "zz", 2));
    ::close(fd);
    EXPECT_EQ(Read(path), "012ab56789");
    EXPECT_FALSE(WriteAt(-1, 0, "x", 1));
}

}  // namespace
}  // namespace platform
