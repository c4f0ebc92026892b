#include "app/program_dir.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_writer.h"
#include "wordlists/data_files.h"

extern char** environ;

namespace wordbay {

ProgramPaths PathsInside(const std::string& program_dir) {
    return {program_dir, program_dir + "/database", program_dir + "/language",
            program_dir + "/speak", program_dir + "/wordbay.ini"};
}

std::string ExecutableDir() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return exe.parent_path().string();
}

std::string InstalledShareDir(const std::string& exe_dir) {
    if (exe_dir.empty()) return {};
    std::error_code error;
    const std::filesystem::path share =
        std::filesystem::path(exe_dir).parent_path() / "share" / "wordbay";
    return std::filesystem::is_directory(share, error) ? share.string() : std::string();
}

bool IsPortableDir(const std::string& exe_dir) {
    std::error_code error;
    return !exe_dir.empty() && std::filesystem::exists(exe_dir + "/wordbay.ini", error);
}

ProgramPaths FindProgramPaths() {
    const std::string exe_dir = ExecutableDir();
    if (IsPortableDir(exe_dir)) return PathsInside(exe_dir);
    const std::string data_dir = wordlists::UserDataDir();
    std::error_code error;
    std::filesystem::create_directories(data_dir, error);
    return PathsInside(data_dir);
}

namespace {

// Runs `converter freedict eng-hrv OUT --txt-code-page 1250` and waits for it;
// true when it wrote a word list.
bool ConvertFreedict(const std::string& converter, const std::string& out) {
    std::error_code error;
    if (converter.empty() || ::access(converter.c_str(), X_OK) != 0) return false;
    std::vector<std::string> args = {converter, "freedict",        "eng-hrv",
                                     out,       "--txt-code-page", "1250"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, converter.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
                    std::filesystem::file_size(out, error) > 0 && !error;
    if (!ok) std::filesystem::remove(out, error);
    return ok;
}

// Writes the UTF-8 word list `sample` to `out` in windows-1250 with CR LF line
// ends, as the program's text import reads it.
bool ConvertSample(const std::string& sample, const std::string& out) {
    std::ifstream in(sample, std::ios::binary);
    if (!in) return false;
    std::string text;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        text += platform::EncodeFromUtf8(1250, line) + "\r\n";
    }
    if (in.bad() || text.empty()) return false;
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (file) return true;
    std::error_code error;
    std::filesystem::remove(out, error);
    return false;
}

}  // namespace

bool SeedFirstStart(const ProgramPaths& paths, const std::string& share_dir) {
    const std::string exe_dir = ExecutableDir();
    return SeedFirstStart(paths, share_dir, exe_dir.empty() ? "" : exe_dir + "/wordbay-cli");
}

bool SeedFirstStart(const ProgramPaths& paths, const std::string& share_dir,
                    const std::string& converter) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::exists(paths.settings_file, error)) return false;
    for (const fs::directory_entry& entry : fs::directory_iterator(paths.database_dir, error)) {
        if (entry.path().extension() == ".v03") return false;
    }
    fs::create_directories(paths.database_dir, error);
    if (error) return false;
    const std::string word_list = paths.program_dir + "/KX.txt";
    if (!ConvertFreedict(converter, word_list) &&
        (share_dir.empty() || !ConvertSample(share_dir + "/kx-sample.txt", word_list))) {
        return false;
    }
    // Another first start may have written its settings meanwhile: they
    // are kept.
    platform::FileLock lock;
    if (lock.Acquire(paths.settings_file.c_str()) == platform::OpenResult::kBusy ||
        fs::exists(paths.settings_file, error)) {
        return false;
    }
    static constexpr char kSeed[] = "[dictionary]\nconvertv2=1\n";
    return platform::WriteWholeFile(paths.settings_file.c_str(), kSeed, sizeof kSeed - 1);
}

std::string HelpDir(const ProgramPaths& paths) {
    std::error_code error;
    const std::string local = paths.program_dir + "/help";
    if (std::filesystem::is_directory(local, error)) return local;
    const std::string share = InstalledShareDir(ExecutableDir());
    return share.empty() ? local : share + "/help";
}

}  // namespace wordbay
