#include "app/program_dir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

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

std::string UserDataDir(const char* xdg_data_home, const char* home) {
    // The base directory specification ignores a relative XDG_DATA_HOME.
    if (xdg_data_home != nullptr && xdg_data_home[0] == '/') {
        return std::string(xdg_data_home) + "/wordbay";
    }
    std::string base = home != nullptr ? home : "";
    if (base.empty()) {
        if (const passwd* user = ::getpwuid(::getuid())) base = user->pw_dir ? user->pw_dir : "";
    }
    return base + "/.local/share/wordbay";
}

std::string InstalledShareDir(const std::string& exe_dir) {
    if (exe_dir.empty()) return {};
    std::error_code error;
    const std::filesystem::path share =
        std::filesystem::path(exe_dir).parent_path() / "share" / "wordbay";
    return std::filesystem::is_directory(share, error) ? share.string() : std::string();
}

ProgramPaths FindProgramPaths() {
    const std::string exe_dir = ExecutableDir();
    if (!exe_dir.empty() && InstalledShareDir(exe_dir).empty() &&
        ::access(exe_dir.c_str(), W_OK) == 0) {
        return PathsInside(exe_dir);
    }
    const std::string data_dir = UserDataDir(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    std::error_code error;
    std::filesystem::create_directories(data_dir, error);
    return PathsInside(data_dir);
}

bool SeedFirstStart(const ProgramPaths& paths, const std::string& share_dir) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (share_dir.empty() || fs::exists(paths.settings_file, error)) return false;
    for (const fs::directory_entry& entry : fs::directory_iterator(paths.database_dir, error)) {
        if (entry.path().extension() == ".v03") return false;
    }
    const fs::path word_list = fs::path(share_dir) / "KX.txt";
    if (!fs::is_regular_file(word_list, error)) return false;
    fs::create_directories(paths.database_dir, error);
    fs::copy_file(word_list, fs::path(paths.program_dir) / "KX.txt",
                  fs::copy_options::overwrite_existing, error);
    if (error) return false;
    std::ofstream settings(paths.settings_file, std::ios::binary);
    settings << "[dictionary]\nconvertv2=1\n";
    settings.close();
    return static_cast<bool>(settings);
}

std::string HelpDir(const ProgramPaths& paths) {
    std::error_code error;
    const std::string local = paths.program_dir + "/help";
    if (std::filesystem::is_directory(local, error)) return local;
    const std::string share = InstalledShareDir(ExecutableDir());
    return share.empty() ? local : share + "/help";
}

}  // namespace wordbay
