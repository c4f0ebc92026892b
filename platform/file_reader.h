// Reading whole files (the stand-in for CreateFileA, GetFileSize and
// ReadFile): regular files only, and never more than a bound.
//
// A named pipe, a device or a folder given where a file is expected would
// make a plain open or read wait forever (a pipe without a writer) or never
// end (/dev/zero): such names are refused at once, without waiting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

enum class ReadOutcome {
    kRead,
    kMissing,     // nothing has that name
    kNotRegular,  // a pipe, a device, a folder
    kTooLarge,    // more bytes than the bound
    kFailed,      // can't be opened or read, or memory ran out
};

// Opens the regular file `path` for reading (and for writing too when
// `writable`) without waiting for anything and gives its descriptor (the
// caller closes it) and size.
[[nodiscard]] ReadOutcome OpenRegularFile(const char* path, int* fd, std::uint64_t* size,
                                          bool writable = false);

// Reads up to `size` bytes from `fd` into `buffer`; *done is how many came
// (fewer when the file shrank). False on a read error.
[[nodiscard]] bool ReadUpTo(int fd, void* buffer, std::size_t size, std::size_t* done);

// Reads all `size` bytes at `offset` of `fd`; false on a read error or when
// the file ends before them.
[[nodiscard]] bool ReadAt(int fd, std::uint64_t offset, void* buffer, std::size_t size);

// Reads the regular file `path` whole into *data, when it holds at most
// `max_size` bytes. *data changes only on kRead. Throws nothing.
[[nodiscard]] ReadOutcome ReadRegularFile(const char* path, std::size_t max_size,
                                          std::string* data) noexcept;

}  // namespace platform
