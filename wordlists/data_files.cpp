#include "wordlists/data_files.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace wordlists {

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

std::string UserDataDir() { return UserDataDir(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

}  // namespace wordlists
