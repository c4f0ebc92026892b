// Test helper: another process that holds a file's write lock.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/file_writer.h"

namespace platform {

// A child process that holds a file's lock until told to let go.
class LockHolder {
public:
    explicit LockHolder(const std::string& path) {
        int ready[2], release[2];
        EXPECT_EQ(::pipe(ready), 0);
        EXPECT_EQ(::pipe(release), 0);
        child_ = ::fork();
        if (child_ == 0) {
            ::close(release[1]);
            FileLock lock;
            char byte = lock.Acquire(path.c_str()) == OpenResult::kOpened ? 'y' : 'n';
            if (::write(ready[1], &byte, 1) != 1) ::_exit(2);
            if (::read(release[0], &byte, 1) < 0) ::_exit(2);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        EXPECT_EQ(byte, 'y');
        ::close(ready[0]);
    }
    ~LockHolder() { Release(); }
    void Release() {
        if (release_ < 0) return;
        ::close(release_);  // the child reads end-of-file and exits
        release_ = -1;
        int status = 0;
        ::waitpid(child_, &status, 0);
    }

private:
    pid_t child_ = -1;
    int release_ = -1;
};

}  // namespace platform
