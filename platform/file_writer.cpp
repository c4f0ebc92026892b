#include "platform/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

thread_local int tls_fail_at[3] = {0, 0, 0};  // by FileOp; 0 = off

// True when the test hook wants this call of `op` to fail.
bool HookFails(FileOp op) {
    int& countdown = tls_fail_at[static_cast<int>(op)];
    if (countdown <= 0) return false;
    return --countdown == 0;
}

bool WriteAll(int fd, const void* data, std::size_t size, off_t offset, bool positioned) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t done =
            positioned ? ::pwrite(fd, bytes, size, offset) : ::write(fd, bytes, size);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        bytes += done;
        size -= static_cast<std::size_t>(done);
        offset += done;
    }
    return true;
}

// Makes a finished rename last: flushes the directory that holds `path`.
void FlushDirectoryOf(const char* path) {
    const char* slash = std::strrchr(path, '/');
    char* directory = nullptr;
    if (slash == nullptr) {
        directory = strdup(".");
    } else if (slash == path) {
        directory = strdup("/");
    } else {
        directory = strndup(path, static_cast<std::size_t>(slash - path));
    }
    if (directory == nullptr) return;
    const int fd = ::open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::free(directory);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

void FailFileOpForTesting(FileOp op, int n) { tls_fail_at[static_cast<int>(op)] = n; }

FileWriter::~FileWriter() { Discard(); }

bool FileWriter::Create(const char* path) {
    Discard();
    path_ = strdup(path);
    if (path_ == nullptr) return false;
    // Removing the old name first replaces a read-only leftover, and O_EXCL
    // then refuses to follow a link that someone puts in its place.
    ::unlink(path);
    fd_ = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd_ < 0) {
        std::free(path_);
        path_ = nullptr;
        return false;
    }
    return true;
}

bool FileWriter::Write(const void* data, std::size_t size) {
    if (fd_ < 0 || HookFails(FileOp::kWrite)) return false;
    return WriteAll(fd_, data, size, 0, false);
}

bool FileWriter::Finish() {
    if (fd_ < 0) return false;
    if (HookFails(FileOp::kFlush) || ::fsync(fd_) != 0) return false;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return false;
    std::free(path_);
    path_ = nullptr;
    return true;
}

void FileWriter::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (path_ != nullptr) ::unlink(path_);
    std::free(path_);
    path_ = nullptr;
}

bool ReplaceFile(const char* from, const char* to) {
    if (HookFails(FileOp::kReplace)) return false;
    struct stat old {};
    if (::stat(to, &old) == 0 && S_ISREG(old.st_mode)) ::chmod(from, old.st_mode & 07777);
    if (std::rename(from, to) != 0) return false;
    FlushDirectoryOf(to);
    return true;
}

bool WriteAt(int fd, std::uint64_t offset, const void* data, std::size_t size) {
    if (fd < 0 || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
    if (HookFails(FileOp::kWrite)) return false;
    return WriteAll(fd, data, size, static_cast<off_t>(offset), true);
}

}  // namespace platform
