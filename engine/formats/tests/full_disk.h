// Test helpers for writers: a full disk, as a child process whose files may
// not grow past a limit, and the files a folder holds afterwards.
#pragma once

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>

namespace lexbase::test {

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

}  // namespace lexbase::test
