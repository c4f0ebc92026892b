// Where the program keeps its files, and the first start of an installed
// program.
#include "app/program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/tests/test_files.h"
#include "wordlists/data_files.h"

namespace wordbay {
namespace {

namespace fs = std::filesystem;

class ProgramDirTest : public testing::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        root_ = folder();
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "share" / "wordbay");
        std::ofstream(root_ / "share" / "wordbay" / "kx-sample.txt") << "house\tku\xC4\x87"
                                                                        "a\n";
    }
    static std::string Read(const fs::path& path) { return Slurp(path.string()); }

    fs::path root_;
};

TEST_F(ProgramDirTest, UserDataFolderFollowsTheBaseDirectoryRules) {
    EXPECT_EQ(wordlists::UserDataDir("/x/data", "/home/u"), "/x/data/wordbay");
    EXPECT_EQ(wordlists::UserDataDir("relative", "/home/u"), "/home/u/.local/share/wordbay");
    EXPECT_EQ(wordlists::UserDataDir(nullptr, "/home/u"), "/home/u/.local/share/wordbay");
}

TEST_F(ProgramDirTest, SharedFilesOnlyBesideAnInstalledProgram) {
    EXPECT_EQ(InstalledShareDir((root_ / "bin").string()), (root_ / "share" / "wordbay").string());
    fs::remove_all(root_ / "share");
    EXPECT_EQ(InstalledShareDir((root_ / "bin").string()), "");
    EXPECT_EQ(InstalledShareDir(""), "");
}

TEST_F(ProgramDirTest, OnlyAFolderWithItsOwnSettingsIsPortable) {
    EXPECT_FALSE(IsPortableDir((root_ / "bin").string()));
    EXPECT_FALSE(IsPortableDir(""));
    std::ofstream(root_ / "bin" / "wordbay.ini") << "";
    EXPECT_TRUE(IsPortableDir((root_ / "bin").string()));
}

TEST_F(ProgramDirTest, FirstStartIsSeededOnceFromTheSample) {
    const ProgramPaths paths = PathsInside((root_ / "user").string());
    const std::string share = (root_ / "share" / "wordbay").string();
    ASSERT_TRUE(SeedFirstStart(paths, share, ""));
    // windows-1250 with CR LF, as the text import reads it.
    EXPECT_EQ(Read(root_ / "user" / "KX.txt"),
              "house\tku\xE6"
              "a\r\n");
    EXPECT_EQ(Read(paths.settings_file), "[dictionary]\nconvertv2=1\n");
    EXPECT_TRUE(fs::is_directory(paths.database_dir));
    // A settings file, or a dictionary, means the program has started before.
    EXPECT_FALSE(SeedFirstStart(paths, share, ""));
    fs::remove(paths.settings_file);
    std::ofstream(fs::path(paths.database_dir) / "a.v03") << "x";
    EXPECT_FALSE(SeedFirstStart(paths, share, ""));
    // Neither FreeDict nor a sample: nothing to start with.
    EXPECT_FALSE(SeedFirstStart(PathsInside((root_ / "other").string()), "", ""));
    EXPECT_FALSE(fs::exists(root_ / "other" / "wordbay.ini"));
}

TEST_F(ProgramDirTest, FirstStartPrefersTheInstalledFreedictDatabase) {
    // A stand-in for wordbay-cli that notes its arguments and writes a list.
    const fs::path converter = root_ / "bin" / "converter";
    std::ofstream(converter) << "#!/bin/sh\necho \"$@\" > \"" << (root_ / "args").string()
                             << "\"\nprintf 'cat\\tma\\350ka\\r\\n' > \"$3\"\n";
    fs::permissions(converter, fs::perms::owner_all);
    const ProgramPaths paths = PathsInside((root_ / "user").string());
    ASSERT_TRUE(SeedFirstStart(paths, (root_ / "share" / "wordbay").string(), converter.string()));
    EXPECT_EQ(Read(root_ / "args"),
              "freedict eng-hrv " + paths.program_dir + "/KX.txt --txt-code-page 1250\n");
    EXPECT_EQ(Read(root_ / "user" / "KX.txt"), "cat\tma\xE8ka\r\n");

    // A converter that fails (FreeDict not installed) leaves the sample.
    const ProgramPaths other = PathsInside((root_ / "other").string());
    std::ofstream(converter) << "#!/bin/sh\necho partial > \"$3\"\nexit 1\n";
    ASSERT_TRUE(SeedFirstStart(other, (root_ / "share" / "wordbay").string(), converter.string()));
    EXPECT_EQ(Read(root_ / "other" / "KX.txt"),
              "house\tku\xE6"
              "a\r\n");
}

// Settings that another first start wrote while this one converted are
// kept as they are.
TEST_F(ProgramDirTest, SettingsWrittenMeanwhileAreKept) {
    const ProgramPaths paths = PathsInside((root_ / "user").string());
    const fs::path converter = root_ / "bin" / "converter";
    std::ofstream(converter) << "#!/bin/sh\nprintf '[options]\\nshowsplash=0\\n' > \""
                             << paths.settings_file
                             << "\"\nprintf 'cat\\tma\\350ka\\r\\n' > \"$3\"\n";
    fs::permissions(converter, fs::perms::owner_all);
    EXPECT_FALSE(SeedFirstStart(paths, (root_ / "share" / "wordbay").string(), converter.string()));
    EXPECT_EQ(Read(paths.settings_file), "[options]\nshowsplash=0\n");
}

}  // namespace
}  // namespace wordbay
