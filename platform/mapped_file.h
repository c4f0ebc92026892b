// A whole file mapped read-only into memory (the stand-in for CreateFileA,
// GetFileSize, CreateFileMappingA and MapViewOfFile), with reads from the
// mapping that fail cleanly when the file shrinks while it is mapped.
//
// Another process may truncate a mapped file at any time; touching a page past
// the new end raises SIGBUS. Every read of the mapping therefore goes through
// Read() or Guarded(), which turn that fault into a false return: a SIGBUS
// handler, installed once for the process, jumps back out of a guarded read of
// the calling thread and hands every other SIGBUS to the handler that was there
// before.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();  // unmaps and closes
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    enum class Access { kRead, kReadWrite };

    // Opens `path`; others may go on reading it. False when it can't be opened
    // or is not a regular file (a directory, a device, a pipe).
    [[nodiscard]] bool Open(const char* path, Access access);

    // The file's current size; false when it can't be queried.
    [[nodiscard]] bool QuerySize(std::uint64_t* size) const;

    // Maps the first `size` bytes of the open file read-only (size > 0).
    [[nodiscard]] bool Map(std::uint64_t size);

    // Copies `count` bytes at `offset` of the mapping to `out`. False, with
    // `out` unspecified, when the range is not inside the mapping or the file
    // no longer holds it.
    [[nodiscard]] bool Read(std::uint64_t offset, void* out, std::size_t count) const;

    // Runs `work(argument)`, which may read the mapping through data(). When a
    // read hits a part of the mapping that the file no longer holds, `work` is
    // abandoned where it stands and false returns. `work` must therefore keep
    // its state in `*argument` (objects of its own frames are not destroyed)
    // and must not take locks or allocate in a way that an abandoned call
    // would leave behind.
    [[nodiscard]] bool Guarded(void (*work)(void* argument), void* argument) const;

    // True while the file still has the size it was mapped with.
    [[nodiscard]] bool SizeUnchanged() const;

    const std::uint8_t* data() const { return data_; }
    std::uint64_t size() const { return size_; }
    int descriptor() const { return fd_; }

    // Unmaps and closes the file; Open() may follow.
    void Close();

private:
    int fd_ = -1;
    const std::uint8_t* data_ = nullptr;  // size_ bytes, or null before Map()
    std::uint64_t size_ = 0;
};

// Calls `hook()` right after every successful Map() of this thread, so a test
// can change the file while it is mapped; null turns it off.
void SetMapHookForTesting(void (*hook)());

}  // namespace platform
