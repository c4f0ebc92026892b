#include "platform/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

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

constexpr int kDefaultLockWait = 20000;
std::atomic<int> g_lock_wait{kDefaultLockWait};

// The permissions a new file gets: 0666 less the umask. The umask is read
// from /proc, as setting it to learn it would race with other threads.
mode_t NewFileMode() {
    mode_t mask = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status) != nullptr) {
            unsigned value = 0;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value);
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~mask;
}

void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

}  // namespace

bool WriteAll(int fd, const void* data, std::size_t size) {
    return WriteAll(fd, data, size, 0, false);
}

bool AppendToFile(const char* path, const void* data, std::size_t size, int new_file_mode) {
    // O_NONBLOCK keeps the open of a pipe from waiting for a reader; the
    // check below then refuses it.
    const int fd = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK,
                          static_cast<mode_t>(new_file_mode));
    if (fd < 0) return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return false;
    }
    if (HookFails(FileOp::kWrite)) {
        ::close(fd);
        errno = EIO;
        return false;
    }
    const bool written = WriteAll(fd, data, size, 0, false);
    const int error = errno;
    if (::close(fd) != 0 && written) return false;
    errno = error;
    return written;
}

namespace {

FileStamp StampOfStat(const struct stat& st) {
    return FileStamp{true,
                     static_cast<unsigned long long>(st.st_dev),
                     static_cast<unsigned long long>(st.st_ino),
                     static_cast<unsigned long long>(st.st_size),
                     static_cast<long long>(st.st_mtim.tv_sec),
                     static_cast<long long>(st.st_mtim.tv_nsec)};
}

}  // namespace

FileStamp StampOf(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0 ? StampOfStat(st) : FileStamp{};
}

int LockWait() { return g_lock_wait.load(); }

void SetLockWaitForTesting(int milliseconds) {
    g_lock_wait = milliseconds < 0 ? kDefaultLockWait : milliseconds;
}

char* ResolveTarget(const char* path) {
    if (char* real = ::realpath(path, nullptr)) return real;
    return strdup(path);
}

FileLock::~FileLock() {
    Release();
    std::free(path_);
}

void FileLock::Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

namespace {

using Clock = std::chrono::steady_clock;

// Takes a lock of `type` on `fd`, waiting until `deadline`. False with errno
// EAGAIN when the time ran out, else with the system's reason.
bool LockUntil(int fd, short type, Clock::time_point deadline) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    for (;;) {
        if (::fcntl(fd, F_SETLK, &range) == 0) return true;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EACCES) return false;
        if (Clock::now() >= deadline) {
            errno = EAGAIN;
            return false;
        }
        Pause();
    }
}

}  // namespace

OpenResult FileLock::Acquire(const char* path) {
    Release();
    std::free(path_);
    path_ = ResolveTarget(path);
    if (path_ == nullptr) return OpenResult::kFailed;
    const auto deadline = Clock::now() + std::chrono::milliseconds(LockWait());
    for (;;) {
        // O_NONBLOCK: a pipe in the file's place must not hold the open up.
        short type = F_WRLCK;
        int fd = ::open(path_, O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0 && (errno == EACCES || errno == EROFS)) {
            // A read-only file can still be replaced; a read lock is what it
            // allows, and it still keeps out every writer's write lock.
            type = F_RDLCK;
            fd = ::open(path_, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        }
        if (fd < 0) return OpenResult::kOpened;  // nothing there to lock
        struct stat locked {};
        if (::fstat(fd, &locked) != 0 || !S_ISREG(locked.st_mode)) {
            ::close(fd);
            return OpenResult::kOpened;
        }
        if (!LockUntil(fd, type, deadline)) {
            const bool busy = errno == EAGAIN;
            ::close(fd);
            return busy ? OpenResult::kBusy : OpenResult::kOpened;
        }
        // The previous holder may have put a new file in this one's place.
        struct stat now {};
        if (::stat(path_, &now) != 0) {
            ::close(fd);
            return OpenResult::kOpened;
        }
        if (now.st_dev == locked.st_dev && now.st_ino == locked.st_ino) {
            fd_ = fd;
            identity_ = StampOfStat(now);
            return OpenResult::kOpened;
        }
        ::close(fd);
    }
}

OpenResult FileLock::Reacquire(bool* unchanged) {
    *unchanged = false;
    if (path_ == nullptr) return OpenResult::kFailed;
    if (fd_ < 0) {
        // Nothing was there to lock; whatever is there now is new.
        struct stat now {};
        const bool appeared = ::stat(path_, &now) == 0;
        char* path = strdup(path_);
        if (path == nullptr) return OpenResult::kFailed;
        const OpenResult result = Acquire(path);
        std::free(path);
        *unchanged = !appeared && result == OpenResult::kOpened;
        return result;
    }
    const FileStamp before = identity_;
    const int flags = ::fcntl(fd_, F_GETFL);
    const short type = (flags & O_ACCMODE) == O_RDONLY ? F_RDLCK : F_WRLCK;
    const auto deadline = Clock::now() + std::chrono::milliseconds(LockWait());
    if (!LockUntil(fd_, type, deadline)) return OpenResult::kBusy;
    *unchanged = StampOf(path_) == before;
    return OpenResult::kOpened;
}

void FailFileOpForTesting(FileOp op, int n) { tls_fail_at[static_cast<int>(op)] = n; }

void ClearFileOpFailuresForTesting() {
    for (int& countdown : tls_fail_at) countdown = 0;
}

FileWriter::~FileWriter() {
    Discard();
    std::free(target_);
}

OpenResult FileWriter::CreateBeside(const char* target, int new_file_mode) {
    Discard();
    std::free(target_);
    target_ = ResolveTarget(target);
    if (target_ == nullptr) return OpenResult::kFailed;
    // Only a regular file is replaced: a device, a pipe or a folder in its
    // place stays and the write fails.
    struct stat old {};
    const bool replaces = ::stat(target_, &old) == 0;
    if (replaces && !S_ISREG(old.st_mode)) return OpenResult::kFailed;
    const OpenResult locked = lock_.Acquire(target_);
    if (locked != OpenResult::kOpened) return locked;

    static constexpr char kSuffix[] = ".tmpXXXXXX";
    const std::size_t length = std::strlen(target_);
    path_ = static_cast<char*>(std::malloc(length + sizeof kSuffix));
    if (path_ == nullptr) {
        lock_.Release();
        return OpenResult::kFailed;
    }
    std::memcpy(path_, target_, length);
    std::memcpy(path_ + length, kSuffix, sizeof kSuffix);
    // mkostemp creates the file for this process alone (0600); it gets its
    // final permissions before it holds a single byte.
    fd_ = ::mkostemp(path_, O_CLOEXEC);
    const mode_t mode = replaces                        ? old.st_mode & 07777
                        : new_file_mode == kUmaskedMode ? NewFileMode()
                                                        : static_cast<mode_t>(new_file_mode);
    if (fd_ < 0 || ::fchmod(fd_, mode) != 0) {
        Discard();
        lock_.Release();
        return OpenResult::kFailed;
    }
    if (replaces) {
        // Keep the group of a shared file, where the system allows it.
        [[maybe_unused]] const int kept = ::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
    }
    return OpenResult::kOpened;
}

bool FileWriter::Commit() {
    bool ok = path_ != nullptr && target_ != nullptr && (fd_ < 0 || Finish());
    ok = ok && ReplaceFile(path_, target_);
    if (ok) {
        std::free(path_);
        path_ = nullptr;
    }
    Discard();
    lock_.Release();
    return ok;
}

bool FileWriter::Create(const char* path) {
    Discard();
    std::free(target_);
    target_ = nullptr;
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
    // A replacement keeps its temporary name for Commit().
    if (target_ == nullptr) {
        std::free(path_);
        path_ = nullptr;
    }
    return true;
}

void FileWriter::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (path_ != nullptr) ::unlink(path_);
    std::free(path_);
    path_ = nullptr;
}

bool WriteWholeFile(const char* path, const void* data, std::size_t size, int new_file_mode) {
    FileWriter out;
    return out.CreateBeside(path, new_file_mode) == OpenResult::kOpened && out.Write(data, size) &&
           out.Commit();
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
