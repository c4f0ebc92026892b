#include "app/program_dir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
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

ProgramPaths FindProgramPaths() {
    const std::string exe_dir = ExecutableDir();
    if (!exe_dir.empty() && ::access(exe_dir.c_str(), W_OK) == 0) return PathsInside(exe_dir);
    const std::string data_dir = UserDataDir(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    std::error_code error;
    std::filesystem::create_directories(data_dir, error);
    return PathsInside(data_dir);
}

}  // namespace wordbay
