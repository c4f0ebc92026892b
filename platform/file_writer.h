// Writing files (the stand-in for CreateFileA, WriteFile and the final copy
// over the destination), with a test hook that makes the n-th write, flush or
// replacement fail as if the system had refused it, so tests can prove that a
// failed save says so and keeps the old file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// The operations the test hook can make fail.
enum class FileOp {
    kWrite,    // FileWriter::Write and WriteAt
    kFlush,    // FileWriter::Finish
    kReplace,  // ReplaceFile
};

// Makes the n-th call of `op` from now on in this thread fail (n counts from
// 1; 0 turns the hook off for `op`).
void FailFileOpForTesting(FileOp op, int n);

// One new file written from start to end.
class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter();  // an unfinished file is closed and deleted
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Creates `path` anew for writing. Whatever had that name before (a
    // leftover file, even a read-only one, or a link) is removed first; a
    // directory of that name makes it fail.
    [[nodiscard]] bool Create(const char* path);

    // Appends all `size` bytes; false when the system takes fewer.
    [[nodiscard]] bool Write(const void* data, std::size_t size);

    // Flushes the file to the disk and closes it: false when either fails, in
    // which case the file is still there for Discard().
    [[nodiscard]] bool Finish();

    // Closes the file if it is open and deletes it.
    void Discard();

private:
    int fd_ = -1;
    char* path_ = nullptr;  // owned copy, while the file exists
};

// Puts the file `from` in the place of `to` in one step: a reader of `to`
// sees the old file or the new one, never a mixture, and a failure leaves
// `to` as it was. The new file takes the permissions of the one it replaces.
[[nodiscard]] bool ReplaceFile(const char* from, const char* to);

// Writes all `size` bytes at `offset` of the open file `fd`.
[[nodiscard]] bool WriteAt(int fd, std::uint64_t offset, const void* data, std::size_t size);

}  // namespace platform
