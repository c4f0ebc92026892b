#include "platform/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace platform {

ReadOutcome OpenRegularFile(const char* path, int* fd, std::uint64_t* size, bool writable) {
    *fd = -1;
    // O_NONBLOCK keeps the open of a pipe from waiting for a writer; the
    // check below then refuses it.
    const int mode = writable ? O_RDWR : O_RDONLY;
    const int file = ::open(path, mode | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (file < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadOutcome::kMissing : ReadOutcome::kFailed;
    struct stat status {};
    if (::fstat(file, &status) != 0 || status.st_size < 0) {
        ::close(file);
        return ReadOutcome::kFailed;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(file);
        return ReadOutcome::kNotRegular;
    }
    const int flags = ::fcntl(file, F_GETFL);
    if (flags >= 0) ::fcntl(file, F_SETFL, flags & ~O_NONBLOCK);
    *fd = file;
    *size = static_cast<std::uint64_t>(status.st_size);
    return ReadOutcome::kRead;
}

bool ReadUpTo(int fd, void* buffer, std::size_t size, std::size_t* done) {
    auto* bytes = static_cast<char*>(buffer);
    *done = 0;
    while (*done < size) {
        const ssize_t got = ::read(fd, bytes + *done, size - *done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;  // the file shrank
        *done += static_cast<std::size_t>(got);
    }
    return true;
}

bool ReadAt(int fd, std::uint64_t offset, void* buffer, std::size_t size) {
    constexpr auto kMost = static_cast<std::uint64_t>(INT64_MAX);
    if (size > kMost || offset > kMost - size) return false;
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(fd, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

ReadOutcome ReadRegularFile(const char* path, std::size_t max_size, std::string* data) noexcept {
    int fd = -1;
    std::uint64_t size = 0;
    const ReadOutcome opened = OpenRegularFile(path, &fd, &size);
    if (opened != ReadOutcome::kRead) return opened;
    ReadOutcome outcome = ReadOutcome::kRead;
    if (size > max_size) {
        outcome = ReadOutcome::kTooLarge;
    } else {
        try {
            std::string text(static_cast<std::size_t>(size), '\0');
            std::size_t done = 0;
            if (ReadUpTo(fd, text.data(), text.size(), &done)) {
                text.resize(done);
                *data = std::move(text);
            } else {
                outcome = ReadOutcome::kFailed;
            }
        } catch (const std::bad_alloc&) {
            outcome = ReadOutcome::kFailed;
        }
    }
    ::close(fd);
    return outcome;
}

}  // namespace platform
