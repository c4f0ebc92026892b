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

// Turns the hook off for every operation, so that no test leaves a failure
// behind for the next.
void ClearFileOpFailuresForTesting();

// Writes the `size` bytes at `data` to `fd` at its current position, through
// short writes and interruptions. False on a failure (errno says why, when
// the system said).
[[nodiscard]] bool WriteAll(int fd, const void* data, std::size_t size);

// How a writer that must first lock its file fared.
enum class OpenResult {
    kOpened,
    kBusy,    // another process kept the file locked for longer than the wait
    kFailed,  // the temporary file could not be created
};

// What tells one state of a file from another without reading it: which
// file the path names (a file renamed over it is another one), its size and
// its modification time to the nanosecond.
struct FileStamp {
    bool exists = false;
    unsigned long long device = 0, inode = 0, size = 0;
    long long modified_s = 0, modified_ns = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file `path` names now, a link followed; `exists` is false
// when it names nothing. Opens nothing, so it never drops a FileLock of this
// process.
FileStamp StampOf(const char* path);

// An advisory write lock on one file, taken by every writer of this system
// before it replaces the file. A second process that asks for the same lock
// waits up to LockWait() milliseconds, then gives up.
//
// These are POSIX record locks: they belong to the process, so a process that
// locks a file again (the command-line tool around a load and a save, the
// engine inside the save) never waits for itself. The flip side: closing any
// descriptor of the file in this process drops the lock, which Reacquire()
// repairs.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();  // lets go
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Locks the file `path` names, a link followed. A missing file or one that
    // is not a regular file has nothing to lock: kOpened with nothing held.
    // The lock is on the file that `path` names once it is held: a writer
    // that replaced it meanwhile makes this lock the new file instead.
    [[nodiscard]] OpenResult Acquire(const char* path);

    // Takes the lock again after something of this process closed the file,
    // waiting as Acquire() does, and sets *unchanged to whether `path` still
    // names the same, unmodified file that was locked before.
    [[nodiscard]] OpenResult Reacquire(bool* unchanged);

    void Release();

private:
    int fd_ = -1;
    char* path_ = nullptr;  // owned copy
    FileStamp identity_;
};

// The bounded wait of FileLock, in milliseconds.
int LockWait();
// Sets the wait for this process (a negative value restores the default).
void SetLockWaitForTesting(int milliseconds);

// The full path of the file that `path` names, links followed; `path` itself
// when it names nothing yet. Null only when memory ran out. Owned by the caller
// (free()).
char* ResolveTarget(const char* path);

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

    // Starts the replacement of the file `target` names (a link followed, so
    // the link stays): locks it (see FileLock), then creates a temporary file
    // with a name of its own beside it and the permissions the file will
    // have: those of the file it replaces, else `new_file_mode` (by default
    // 0666 less the umask). Commit() puts it in place. Something other than a
    // regular file in the target's place (a device, a pipe, a folder) makes
    // it fail: it is never replaced.
    [[nodiscard]] OpenResult CreateBeside(const char* target, int new_file_mode = kUmaskedMode);

    // The mode of a new file that CreateBeside() gives by default.
    static constexpr int kUmaskedMode = -1;

    // Flushes and closes the temporary file of CreateBeside() (unless Finish()
    // did) and puts it in
    // the place of the target in one step; on failure it is deleted and the
    // target is as it was. The lock goes with it, either way.
    [[nodiscard]] bool Commit();

    // The temporary file, while it exists.
    const char* path() const { return path_; }
    // The file that Commit() replaces (links resolved), or null.
    const char* target() const { return target_; }

    // Appends all `size` bytes; false when the system takes fewer.
    [[nodiscard]] bool Write(const void* data, std::size_t size);

    // Flushes the file to the disk and closes it: false when either fails, in
    // which case the file is still there for Discard(). A replacement then
    // still needs its Commit().
    [[nodiscard]] bool Finish();

    // Closes the file if it is open and deletes it.
    void Discard();

private:
    int fd_ = -1;
    char* path_ = nullptr;    // owned copy, while the file exists
    char* target_ = nullptr;  // owned; set by CreateBeside()
    FileLock lock_;
};

// Replaces the file `path` names (a link followed) with `size` bytes of
// `data` through FileWriter::CreateBeside: only ever by a complete file. A
// new file gets `new_file_mode`.
[[nodiscard]] bool WriteWholeFile(const char* path, const void* data, std::size_t size,
                                  int new_file_mode = FileWriter::kUmaskedMode);

// Puts the file `from` in the place of `to` in one step: a reader of `to`
// sees the old file or the new one, never a mixture, and a failure leaves
// `to` as it was. The new file takes the permissions of the one it replaces.
[[nodiscard]] bool ReplaceFile(const char* from, const char* to);

// Adds `size` bytes at the end of the regular file `path`, creating it with
// `new_file_mode` when it is missing, in one write: a reader sees the bytes
// after the call has returned. Something other than a regular file in its
// place is never written: false with errno EINVAL (the test hook's kWrite
// fails it too). False with errno set on any other failure.
[[nodiscard]] bool AppendToFile(const char* path, const void* data, std::size_t size,
                                int new_file_mode);

// Writes all `size` bytes at `offset` of the open file `fd`.
[[nodiscard]] bool WriteAt(int fd, std::uint64_t offset, const void* data, std::size_t size);

}  // namespace platform
