// What the tests of every layer share: a scratch folder of its own per test,
// whole files read and written in one call, the names a folder holds, and a
// full disk, a process started with its output in files. Header-only, for test programs; no library
// code includes it.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// The bytes of the file `path`; empty when it can't be read.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Makes `path` a file of exactly `bytes`, replacing what was there.
inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "can't write " << path;
}

inline bool FileExists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// Starts `argv` (argv[0] looked up in PATH unless it holds a slash) with its
// standard output in `out` and its error output in `err`; its process id,
// or -1 (and a test failure) when it could not be started.
inline pid_t StartWithOutput(std::vector<std::string> argv, const std::string& out,
                             const std::string& err) {
    std::vector<char*> pointers;
    for (std::string& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawnp(&pid, pointers[0], &actions, nullptr, pointers.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The names in `folder`, "." and ".." left out.
inline std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.insert(name);
        }
        ::closedir(dir);
    }
    return names;
}

// Runs `work` in a child process in which no file grows past `limit` bytes
// (writes beyond fail with EFBIG, as on a full disk) and returns the child's
// exit status, which is `work`'s answer: true 0, false 1; -1 when it died.
template <typename Work>
int WithFileSizeLimit(std::uint64_t limit, Work work) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit bound{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &bound);
        ::_exit(work() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// A fixture whose every test gets an empty folder of its own, named after the
// test and the process (tests of one program may run in parallel processes),
// removed with all it holds when the test ends.
class ScratchDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name) {
            if (c == '/') c = '_';  // parametrised tests
        }
        dir_ = ::testing::TempDir() + name + "_" + std::to_string(::getpid()) + "/";
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
        ASSERT_TRUE(std::filesystem::create_directories(dir_));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // `name` inside the test's folder.
    std::string Path(const std::string& name) const { return dir_ + name; }

    std::string dir_;  // ends in "/"
};

}  // namespace test_support
