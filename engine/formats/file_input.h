// Every loader reads its file through ReadWholeFile: one bounded read of a
// regular file into one block of memory; V03, which maps its file instead,
// through MapWholeFile. A pipe, a device or a folder given where a file is
// expected is refused at once (a read would wait forever or never end), and
// the file's size is checked against the format's bounds before any memory
// is taken or mapped for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/malloc_block.h"
#include "platform/mapped_file.h"

namespace lexbase {

// What a format accepts of a file's size, and the spare room it wants around
// the bytes.
struct ReadBounds {
    std::uint64_t min_size = 0;
    std::uint64_t max_size = SIZE_MAX / 2;
    std::uint64_t unit = 1;  // the size must be a whole number of these
    std::size_t front = 0;   // spare bytes before the file's bytes
    std::size_t back = 0;    // spare bytes after them
};

// A file read whole: block holds front spare bytes, then `size` bytes of the
// file, then back spare bytes (the spare bytes are unset).
struct WholeFile {
    MallocBlock<char> block;
    std::size_t size = 0;
};

enum class ReadStatus {
    kRead,
    kCantOpen,  // missing, unreadable, or not a regular file
    kTooSmall,  // below min_size
    kBadSize,   // above max_size, or not a whole number of units
    kNoMemory,
    kCantRead,  // a read error
    // MapWholeFile only:
    kCantGetSize,  // the size of the opened file can't be learnt
    kCantMap,      // the system refused the mapping
};

// Reads the regular file `path` whole into *out within `bounds`. When the file
// shrinks while it is read, out->size is what came. *out changes only on
// kRead. Throws nothing.
[[nodiscard]] ReadStatus ReadWholeFile(const char* path, const ReadBounds& bounds,
                                       WholeFile* out) noexcept;

// Opens the regular file `path` with `access` and maps it whole into *out
// within `bounds` (front and back do not apply); only then does anything get
// mapped. An empty file that the bounds let through is kCantMap. On any other
// status than kRead, *out holds nothing. Reads of the mapping go through
// out->Read() or out->Guarded(): the file may shrink while it is mapped.
[[nodiscard]] ReadStatus MapWholeFile(const char* path, const ReadBounds& bounds,
                                      platform::MappedFile::Access access,
                                      platform::MappedFile* out) noexcept;

// The halves A and B of an import's file name of the form A_B.ext, which
// name its dictionary and its lists: the last path component of `path`, cut
// at its first "."; the first "_" before that divides A from B. False when
// the name has no "_" before a ".".
[[nodiscard]] bool SplitImportFileName(std::string_view path, std::string_view* a,
                                       std::string_view* b);

}  // namespace lexbase
