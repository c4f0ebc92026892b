// Where the program keeps its files, and the first start of an installed
// program.
#include "app/program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace wordbay {
namespace {

namespace fs = std::filesystem;

class ProgramDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "program-dir-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "share" / "wordbay");
        std::ofstream(root_ / "share" / "wordbay" / "KX.txt") << "house\tkuca\r\n";
    }
    void TearDown() override { fs::remove_all(root_); }

    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path root_;
};

TEST_F(ProgramDirTest, UserDataFolderFollowsTheBaseDirectoryRules) {
    EXPECT_EQ(UserDataDir("/x/data", "/home/u"), "/x/data/wordbay");
    EXPECT_EQ(UserDataDir("relative", "/home/u"), "/home/u/.local/share/wordbay");
    EXPECT_EQ(UserDataDir(nullptr, "/home/u"), "/home/u/.local/share/wordbay");
}

TEST_F(ProgramDirTest, SharedFilesOnlyBesideAnInstalledProgram) {
    EXPECT_EQ(InstalledShareDir((root_ / "bin").string()), (root_ / "share" / "wordbay").string());
    fs::remove_all(root_ / "share");
    EXPECT_EQ(InstalledShareDir((root_ / "bin").string()), "");
    EXPECT_EQ(InstalledShareDir(""), "");
}

TEST_F(ProgramDirTest, FirstStartIsSeededOnce) {
    const ProgramPaths paths = PathsInside((root_ / "user").string());
    const std::string share = (root_ / "share" / "wordbay").string();
    ASSERT_TRUE(SeedFirstStart(paths, share));
    EXPECT_EQ(Read(root_ / "user" / "KX.txt"), "house\tkuca\r\n");
    EXPECT_EQ(Read(paths.settings_file), "[dictionary]\nconvertv2=1\n");
    EXPECT_TRUE(fs::is_directory(paths.database_dir));
    // A settings file, or a dictionary, means the program has started before.
    EXPECT_FALSE(SeedFirstStart(paths, share));
    fs::remove(paths.settings_file);
    std::ofstream(fs::path(paths.database_dir) / "a.v03") << "x";
    EXPECT_FALSE(SeedFirstStart(paths, share));
    EXPECT_FALSE(SeedFirstStart(PathsInside((root_ / "other").string()), ""));
}

}  // namespace
}  // namespace wordbay
