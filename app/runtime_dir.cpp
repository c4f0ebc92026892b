#include "app/runtime_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace wordbay {

bool IsPrivateDir(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}

std::string PrivateRuntimeDir() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && IsPrivateDir(runtime)) return runtime;
    const char* temp = std::getenv("TMPDIR");
    const std::string base = std::string(temp != nullptr && temp[0] == '/' ? temp : "/tmp") +
                             "/wordbay-" + std::to_string(::getuid());
    for (int n = 0; n < 16; ++n) {
        const std::string dir = n == 0 ? base : base + "-" + std::to_string(n);
        // mkdir refuses to follow a link or to reuse a name; what exists is
        // then checked as it is.
        ::mkdir(dir.c_str(), 0700);
        if (IsPrivateDir(dir)) return dir;
    }
    return std::string();
}

}  // namespace wordbay
