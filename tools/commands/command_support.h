// What the commands of wordbay-cli share: the handle they own, where they
// write, and how they report the engine's failures and load and save
// dictionaries with a progress bar.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>

#include "engine/lexbase.h"
#include "platform/file_writer.h"
#include "tools/cli_args.h"

namespace cli {

// Owns one engine handle.
class Handle {
public:
    Handle() : db_(DB_CreateHandle()->handle) {}
    ~Handle() {
        if (db_ != nullptr) DB_DestroyHandle(db_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    DB_HANDLE get() const { return db_; }

private:
    DB_HANDLE db_;
};

// Where a command reads and writes; `progress` enables the progress bar on `err`.
struct Context {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool progress;
};

// The code page of each list's words: UTF-8 or its locale's ANSI page.
std::uint32_t PrimaryCodePage(const DICTIONARY_INFO& info);
std::uint32_t SecondaryCodePage(const DICTIONARY_INFO& info);

// A fixed text field of DICTIONARY_INFO up to its terminator.
std::string FieldText(const char* field, std::size_t size);

// Copies UTF-8 `text` into a fixed field in code page `cp`, cut to fit.
void SetField(char* field, std::size_t size, std::uint32_t cp, const std::string& text);

// Reports a failed engine call and returns kExitFailed. `error` is the errno
// that a call working on files left: the engine's file messages ("Can't open
// file:\nNAME") then get the system's reason, on one line.
int Fail(const Context& c, const DB_RESULT* result, int error = 0);

// Says `message` and returns kExitUsage.
int UsageError(const Context& c, const std::string& message);

// Says that another writer holds `path` and returns kExitFailed.
int LockBusy(const Context& c, const std::string& path);

// A file that a command replaces, remembered as it was when the command
// started. The command replaces it only while it is still that file (or
// still absent), and keeps it locked against other writers from that check
// to its own save: what another program saved meanwhile is never lost.
class TargetFile {
public:
    explicit TargetFile(std::string path)
        : path_(std::move(path)), stamp_(platform::StampOf(path_.c_str())) {}

    const std::string& path() const { return path_; }

    // Locks the file and checks that it is as it was; false after saying why
    // (another writer keeps it locked, or it changed since the command
    // started). The lock holds until the object goes.
    bool LockUnchanged(const Context& c);

private:
    std::string path_;
    platform::FileStamp stamp_;
    platform::FileLock lock_;
};

// Runs an engine call that works on files and keeps the errno it ends with,
// cleared first so that an older error can't pass for its cause.
template <typename Call>
const DB_RESULT* OnFiles(int* error, Call call) {
    errno = 0;
    const DB_RESULT* result = call();
    *error = errno;
    return result;
}

// Loads a V03 dictionary and its description; false after a failure (reported).
bool LoadDictionary(const Context& c, DB_HANDLE db, const std::string& path, DICTIONARY_INFO* info);

// Saves `db` in `format` to `path`; false after a failure (reported).
bool SaveDictionary(const Context& c, DB_HANDLE db, int32_t format, const std::string& path);

// The DB_Load format for a --format name (a folder for "freelang" reads as a
// Freelang installation); 0 when there is none.
int32_t LoadFormat(const std::string& name, const std::string& source, bool allow_v03);

// An import or a conversion allocates and frees blocks of tens of megabytes
// one after another: keeps them for reuse instead of giving them back.
void KeepFreedMemoryForReuse();

}  // namespace cli
