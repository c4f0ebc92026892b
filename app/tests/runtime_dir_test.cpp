// The folder of the single-instance socket: never one that another local
// user made or can enter.
#include "app/runtime_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/tests/test_files.h"

namespace wordbay {
namespace {

// Sets an environment variable for one test and puts the old value back.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvironmentValue() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class RuntimeDirTest : public testing::ScratchDirTest {};

TEST_F(RuntimeDirTest, TheUsersRuntimeFolderServesWhenItIsPrivate) {
    const std::string runtime = PathOf("run");
    ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
    EnvironmentValue xdg("XDG_RUNTIME_DIR", runtime);
    EnvironmentValue tmp("TMPDIR", PathOf(""));
    EXPECT_EQ(PrivateRuntimeDir(), runtime);
    // Open to others, it is passed over for a private folder of our own.
    ASSERT_EQ(::chmod(runtime.c_str(), 0755), 0);
    const std::string own = PathOf("") + "/wordbay-" + std::to_string(::getuid());
    EXPECT_EQ(PrivateRuntimeDir(), own);
    struct stat status {};
    ASSERT_EQ(::lstat(own.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

TEST_F(RuntimeDirTest, AFolderSomeoneElsePutInPlaceIsNotTaken) {
    EnvironmentValue xdg("XDG_RUNTIME_DIR", "");
    EnvironmentValue tmp("TMPDIR", PathOf(""));
    const std::string base = PathOf("") + "/wordbay-" + std::to_string(::getuid());
    // A folder others may enter, a link to a private folder, a plain file, and
    // (when the test may give files away) a folder of another user.
    ASSERT_EQ(::mkdir(base.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(base.c_str(), 0777), 0);
    ASSERT_EQ(::mkdir(PathOf("elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(PathOf("elsewhere").c_str(), (base + "-1").c_str()), 0);
    Spill(base + "-2", "not a folder");
    std::string expected = base + "-3";
    if (::getuid() == 0) {
        ASSERT_EQ(::mkdir(expected.c_str(), 0700), 0);
        ASSERT_EQ(::chown(expected.c_str(), 12345, 12345), 0);
        expected = base + "-4";
    }
    EXPECT_FALSE(IsPrivateDir(base));
    EXPECT_FALSE(IsPrivateDir(base + "-1"));
    EXPECT_EQ(PrivateRuntimeDir(), expected);
    EXPECT_TRUE(IsPrivateDir(expected));
    // The next start finds the same folder.
    EXPECT_EQ(PrivateRuntimeDir(), expected);
}

// Any access for the group or for others makes a folder unfit, one bit
// alone as much as all of them; only the owner's bits may be set.
TEST_F(RuntimeDirTest, EveryGroupOrOtherBitMakesAFolderPublic) {
    const std::string dir = PathOf("run");
    ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
    for (const mode_t mode : {0700, 0500, 0300}) {
        ASSERT_EQ(::chmod(dir.c_str(), mode), 0);
        EXPECT_TRUE(IsPrivateDir(dir)) << std::oct << mode;
    }
    for (const mode_t mode : {0770, 0750, 0720, 0710, 0740, 0707, 0704, 0702, 0701}) {
        ASSERT_EQ(::chmod(dir.c_str(), mode), 0);
        EXPECT_FALSE(IsPrivateDir(dir)) << std::oct << mode;
    }
    ASSERT_EQ(::chmod(dir.c_str(), 0700), 0);
}

}  // namespace
}  // namespace wordbay
