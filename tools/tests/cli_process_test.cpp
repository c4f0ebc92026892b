// The command-line tool as separate processes: writers of one dictionary that
// run at the same time, and one killed in the middle of its save.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "testing/test_support.h"

extern char** environ;

namespace {

class CliProcessTest : public test_support::ScratchDirTest {
protected:
    // Starts the tool with `args`, its output in files named after `tag`.
    pid_t Start(const std::vector<std::string>& args, const std::string& tag) const {
        std::vector<std::string> all = {WORDBAY_CLI};
        all.insert(all.end(), args.begin(), args.end());
        return test_support::StartWithOutput(std::move(all), Path(tag + ".out"),
                                             Path(tag + ".err"));
    }
    static int Wait(pid_t pid) {
        int status = 0;
        if (waitpid(pid, &status, 0) != pid) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    int Run(const std::vector<std::string>& args, const std::string& tag) const {
        return Wait(Start(args, tag));
    }
    std::string Read(const std::string& name) const { return test_support::ReadFile(Path(name)); }
    void Write(const std::string& name, const std::string& text) const {
        test_support::WriteFile(Path(name), text);
    }

    // A dictionary big enough that its load and save take a while.
    void MakeDictionary(int pairs) const {
        std::string text;
        for (int i = 0; i < pairs; ++i) {
            text += "word" + std::to_string(i) + "\trijec" + std::to_string(i % 977) + "\r\n";
        }
        Write("pairs.txt", text);
        ASSERT_EQ(Run({"import", "--format", "txt", Path("pairs.txt"), Path("d.v03"), "--locales",
                       "1033,1050"},
                      "import"),
                  0)
            << Read("import.err");
    }
};

// Every update that reports success has its pair in the dictionary afterwards,
// however many run at once.
TEST_F(CliProcessTest, UpdatesAtTheSameTimeAllLand) {
    MakeDictionary(60000);
    constexpr int kWriters = 4;
    std::vector<pid_t> writers;
    for (int k = 0; k < kWriters; ++k) {
        const std::string source = "new" + std::to_string(k) + ".txt";
        Write(source, "fresh" + std::to_string(k) + "\tnovo" + std::to_string(k) + "\r\n");
        writers.push_back(Start({"update", Path("d.v03"), Path(source), "--format", "txt"},
                                "update" + std::to_string(k)));
    }
    for (int k = 0; k < kWriters; ++k) {
        const std::string tag = "update" + std::to_string(k);
        EXPECT_EQ(Wait(writers[k]), 0) << Read(tag + ".err");
        EXPECT_EQ(Read(tag + ".out"), "1 translations added.\n");
    }
    for (int k = 0; k < kWriters; ++k) {
        const std::string word = "fresh" + std::to_string(k);
        EXPECT_EQ(Run({"translate", Path("d.v03"), word}, "translate"), 0) << word;
        EXPECT_EQ(Read("translate.out"), "novo" + std::to_string(k) + "\n");
    }
    // Nothing but what the test wrote is left in the folder.
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
}

// A save killed at any moment leaves the old dictionary or the new one whole,
// and a later update is not held up by the dead one's lock.
TEST_F(CliProcessTest, AKilledUpdateLeavesAWholeDictionary) {
    MakeDictionary(60000);
    Write("new.txt", "fresh\tnovo\r\n");
    for (int delay_ms : {5, 40, 120, 300}) {
        SCOPED_TRACE(delay_ms);
        const pid_t pid = Start({"update", Path("d.v03"), Path("new.txt"), "--format", "txt"}, "k");
        std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
        kill(pid, SIGKILL);
        Wait(pid);
        EXPECT_EQ(Run({"info", Path("d.v03")}, "info"), 0) << Read("info.err");
    }
    EXPECT_EQ(Run({"update", Path("d.v03"), Path("new.txt"), "--format", "txt"}, "last"), 0)
        << Read("last.err");
    EXPECT_EQ(Run({"translate", Path("d.v03"), "fresh"}, "translate"), 0);
    EXPECT_EQ(Read("translate.out"), "novo\n");
}

// A conversion killed at any moment leaves nothing in the temporary folder:
// its intermediate text file has no name from the moment it is made.
TEST_F(CliProcessTest, AKilledConversionLeavesNoTemporaryFile) {
    if (!std::filesystem::exists("/usr/share/dictd/freedict-eng-hrv.index")) {
        GTEST_SKIP() << "dict-freedict-eng-hrv is not installed";
    }
    const std::string temp = Path("tmp");
    std::filesystem::create_directory(temp);
    ::setenv("TMPDIR", temp.c_str(), 1);
    for (int delay_ms : {300, 500, 700, 900}) {
        SCOPED_TRACE(delay_ms);
        const pid_t pid = Start({"freedict", "eng-hrv", Path("out.v03")}, "convert");
        std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
        kill(pid, SIGKILL);
        Wait(pid);
        EXPECT_TRUE(std::filesystem::is_empty(temp));
    }
    ::unsetenv("TMPDIR");
}

}  // namespace
