// The StarDict and dictd formats through wordbay-cli: FreeDict's
// English-Croatian dictionary exported and imported again pair for pair, and
// the exports answering in the programs that read them (sdcv, and dict
// through a dictd of the test's own).
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "testing/test_support.h"
#include "tools/cli_commands.h"

extern char** environ;

namespace cli {
namespace {

bool Installed(const std::string& program) {
    for (const char* folder : {"/usr/bin/", "/usr/sbin/", "/usr/local/bin/"}) {
        if (access((folder + program).c_str(), X_OK) == 0) return true;
    }
    return false;
}

// Skips the test when a program or dictionary it needs is missing; fails it
// instead where the test packages were installed (scripts/test.sh says so),
// so that a run that should have them never passes without them.
#define NEED(present, what)                                                  \
    do {                                                                     \
        if (present) break;                                                  \
        if (std::getenv("WORDBAY_TEST_PACKAGES") != nullptr) FAIL() << what; \
        GTEST_SKIP() << what;                                                \
    } while (false)

bool HaveEnglishCroatian() {
    return access((std::string(kDictdDirectory) + "/freedict-eng-hrv.index").c_str(), R_OK) == 0;
}

class TravelFormatsTest : public test_support::ScratchDirTest {
protected:
    struct Run {
        int status;
        std::string out;
        std::string err;
    };

    Run Cli(const std::vector<std::string>& argv) const {
        Arguments args;
        std::string error;
        if (!ParseArguments(argv, &args, &error)) return {kExitUsage, "", error};
        std::istringstream in;
        std::ostringstream out, err;
        const int status = RunCommand(args, in, out, err, false);
        return {status, out.str(), err.str()};
    }

    // The English-Croatian dictionary FreeDict installs, as a V03 file.
    std::string EnglishCroatian() const {
        const Run r = Cli({"freedict", "eng-hrv", Path("eh.v03")});
        EXPECT_EQ(r.status, kExitOk) << r.err;
        return Path("eh.v03");
    }

    // Starts `argv` with its output in `tag`.out and .err; its process id.
    pid_t Start(std::vector<std::string> argv, const std::string& tag) const {
        return test_support::StartWithOutput(std::move(argv), Path(tag + ".out"),
                                             Path(tag + ".err"));
    }

    // Runs `argv` to its end; its standard output.
    std::string Output(const std::vector<std::string>& argv, const std::string& tag) const {
        const pid_t pid = Start(argv, tag);
        int status = 0;
        EXPECT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << test_support::ReadFile(Path(tag + ".err"));
        return test_support::ReadFile(Path(tag + ".out"));
    }
};

// Every pair of FreeDict's dictionary comes back from either format, in
// its order: the TXT exports of both dictionaries are the same bytes.
TEST_F(TravelFormatsTest, ImportsGiveBackEveryPairOfAFreedictDictionary) {
    NEED(HaveEnglishCroatian(), "dict-freedict-eng-hrv is not installed");
    const std::string original = EnglishCroatian();
    ASSERT_EQ(
        Cli({"export", "--format", "txt", original, Path("eh.txt"), "--encoding", "utf-8"}).status,
        kExitOk);
    const std::string pairs = test_support::ReadFile(Path("eh.txt"));
    ASSERT_GT(pairs.size(), 1000000u);
    for (const auto& [format, file] :
         {std::pair<std::string, std::string>{"stardict", "s.ifo"}, {"dictd", "d.index"}}) {
        SCOPED_TRACE(format);
        Run r = Cli({"export", "--format", format, original, Path(file)});
        ASSERT_EQ(r.status, kExitOk) << r.err;
        EXPECT_EQ(r.out.find("read back otherwise"), std::string::npos) << r.out;
        r = Cli(
            {"import", "--format", format, Path(file), Path("back.v03"), "--locales", "eng,hrv"});
        ASSERT_EQ(r.status, kExitOk) << r.err;
        EXPECT_NE(r.out.find("dropped: 0."), std::string::npos) << r.out;
        ASSERT_EQ(Cli({"export", "--format", "txt", Path("back.v03"), Path("back.txt"),
                       "--encoding", "utf-8"})
                      .status,
                  kExitOk);
        EXPECT_TRUE(test_support::ReadFile(Path("back.txt")) == pairs);
    }
}

TEST_F(TravelFormatsTest, SdcvAnswersFromTheStarDictExport) {
    NEED(HaveEnglishCroatian(), "dict-freedict-eng-hrv is not installed");
    NEED(Installed("sdcv"), "sdcv is not installed");
    const std::string original = EnglishCroatian();
    ASSERT_TRUE(std::filesystem::create_directories(Path("stardict")));
    Run r = Cli({"export", "--format", "stardict", original, Path("stardict/eng-hrv.ifo")});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    ASSERT_EQ(
        Cli({"export", "--format", "stardict", original, Path("stardict/hrv-eng.ifo"), "--reverse"})
            .status,
        kExitOk);
    // sdcv keeps a cache of its own: in the test's folder.
    ::setenv("HOME", dir_.c_str(), 1);
    ::setenv("XDG_CACHE_HOME", Path("cache").c_str(), 1);
    std::string answer =
        Output({"sdcv", "--data-dir", Path("stardict"), "-n", "-u", "English - Croatian", "house"},
               "sdcv");
    EXPECT_NE(answer.find("-->house"), std::string::npos) << answer;
    EXPECT_NE(answer.find("kuća"), std::string::npos) << answer;
    // The other direction, and a word typed without its accent (.syn).
    answer = Output(
        {"sdcv", "--data-dir", Path("stardict"), "-n", "-u", "Croatian - English", "kuca"}, "sdcv");
    EXPECT_NE(answer.find("-->kuća"), std::string::npos) << answer;
    EXPECT_NE(answer.find("house"), std::string::npos) << answer;
}

// A port nothing listens on now.
int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(s);
    return port;
}

bool Listening(int port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool connected = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(s);
    return connected;
}

TEST_F(TravelFormatsTest, DictdAnswersFromTheDictdExport) {
    NEED(HaveEnglishCroatian(), "dict-freedict-eng-hrv is not installed");
    NEED(Installed("dictd") && Installed("dict"), "dictd or dict is missing");
    const std::string original = EnglishCroatian();
    Run r = Cli({"export", "--format", "dictd", original, Path("eng-hrv.index")});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    ASSERT_EQ(Cli({"export", "--format", "dictd", original, Path("hrv-eng"), "--reverse"}).status,
              kExitOk);
    test_support::WriteFile(Path("dictd.conf"), "database eng-hrv { data \"" +
                                                    Path("eng-hrv.dict.dz") + "\" index \"" +
                                                    Path("eng-hrv.index") +
                                                    "\" }\n"
                                                    "database hrv-eng { data \"" +
                                                    Path("hrv-eng.dict.dz") + "\" index \"" +
                                                    Path("hrv-eng.index") + "\" }\n");
    const int port = FreePort();
    ASSERT_NE(port, 0);
    const std::string dictd = access("/usr/sbin/dictd", X_OK) == 0 ? "/usr/sbin/dictd" : "dictd";
    const pid_t server =
        Start({dictd, "-c", Path("dictd.conf"), "-p", std::to_string(port), "--listen-to",
               "127.0.0.1", "--locale", "C.UTF-8", "-d", "nodetach"},
              "dictd");
    ASSERT_GT(server, 0);
    bool up = false;
    for (int i = 0; i < 200 && !(up = Listening(port)); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (up) {
        const std::string host = "127.0.0.1";
        std::string answer = Output(
            {"dict", "-h", host, "-p", std::to_string(port), "-d", "eng-hrv", "house"}, "dict");
        EXPECT_NE(answer.find("From English - Croatian [eng-hrv]"), std::string::npos) << answer;
        EXPECT_NE(answer.find("kuća"), std::string::npos) << answer;
        // dictd folds the case, and its keys keep letters only.
        answer = Output({"dict", "-h", host, "-p", std::to_string(port), "-d", "hrv-eng", "Kuća"},
                        "dict");
        EXPECT_NE(answer.find("house"), std::string::npos) << answer;
        answer = Output({"dict", "-h", host, "-p", std::to_string(port), "-d", "eng-hrv",
                         "10 base 2 coaxial cable"},
                        "dict");
        EXPECT_NE(answer.find("10 base - 2 coaxial cable"), std::string::npos) << answer;
    }
    kill(server, SIGTERM);
    int status = 0;
    EXPECT_EQ(waitpid(server, &status, 0), server);
    EXPECT_TRUE(up) << test_support::ReadFile(Path("dictd.err"));
}

TEST_F(TravelFormatsTest, WrongUseAndDamagedFilesAreSaid) {
    test_support::WriteFile(Path("pairs.txt"), "house\tkuća\r\n");
    ASSERT_EQ(Cli({"import", "--format", "txt", Path("pairs.txt"), Path("d.v03")}).status, kExitOk);
    Run r = Cli({"export", "--format", "txt", Path("d.v03"), Path("d.txt"), "--reverse"});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_EQ(r.err, "wordbay-cli: --reverse needs --format stardict or dictd.\n");
    r = Cli({"export", "--format", "stardict", Path("d.v03"), Path("none/d.ifo")});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err.rfind("wordbay-cli: Can't write to file " + Path("none/d.dict.dz") + ": ", 0),
              0u)
        << r.err;
    r = Cli({"import", "--format", "dictd", Path("missing.index"), Path("x.v03")});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err, "wordbay-cli: No such file: " + Path("missing.index") + "\n");
    EXPECT_FALSE(test_support::FileExists(Path("x.v03")));
    ASSERT_EQ(Cli({"export", "--format", "stardict", Path("d.v03"), Path("d.ifo")}).status,
              kExitOk);
    std::string idx = test_support::ReadFile(Path("d.idx"));
    idx[idx.size() - 5] = '\x7F';  // the offset of the last word's data
    test_support::WriteFile(Path("d.idx"), idx);
    r = Cli({"import", "--format", "stardict", Path("d.ifo"), Path("x.v03")});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_EQ(r.err, "wordbay-cli: The entry \"house\" of " + Path("d.idx") +
                         " points outside the data\n");
    r = Cli(
        {"import", "--format", "stardict", Path("d.ifo"), Path("x.v03"), "--encoding", "utf-8"});
    EXPECT_EQ(r.status, kExitUsage);
}

}  // namespace
}  // namespace cli
