// Writing files: what a new file replaces and what it refuses. Failed writes,
// flushes and replacements, permissions and leftovers of a save are tested
// with the dictionary file that uses them.
#include "platform/file_writer.h"

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
        const std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
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

}  // namespace
}  // namespace platform
