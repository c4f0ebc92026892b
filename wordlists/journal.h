// Journal: a file of self-checking text records that grows by appending and
// is rewritten whole (compacted) when it has grown past a bound. The history
// and the favourites keep their records in journals.
//
// One record a line: the CRC-32 of the rest of the line in eight lower-case
// hex digits, a TAB, then the record's fields separated by TABs, then LF. In
// a field a backslash, TAB, LF and CR are written as \\, \t, \n and \r, so a
// field holds any text. The first field names the record's kind.
//
// A kill in the middle of an append leaves at worst a last line without its
// end, or one whose checksum fails: that record is dropped, never the file.
// A rewrite goes through a temporary file that takes the old one's place
// only when it is complete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wordlists {

using Record = std::vector<std::string>;

// One record as its line, LF included.
std::string EncodeRecord(const Record& record);
// The record of one line (without its LF); false when its checksum or its
// escapes are wrong.
bool DecodeRecord(std::string_view line, Record* record);

// A field holding a decimal integer; false for anything else.
bool ParseInteger(const std::string& field, std::int64_t* value);
// A field holding a direction: "1" from the primary list, "2" from the
// secondary.
bool ParseDirection(const std::string& field, int* direction);

// What became of reading or writing a journal.
struct JournalStatus {
    enum class Problem {
        kNone,
        kNotRegular,   // a pipe, a device or a folder in the file's place
        kTooLarge,     // larger than the journal's bound
        kUnreadable,   // can't be opened or read
        kNotAJournal,  // holds bytes but not one valid record
        kWriteFailed,  // an append or a rewrite failed
    };
    Problem problem = Problem::kNone;
    int error = 0;            // the system's errno, where it said one
    std::size_t dropped = 0;  // damaged records left out at the last read
    // The file is left alone for the rest of the run (it could not be read):
    // what changes is kept in memory only.
    bool detached = false;
};

// The file of one journal. Appends are collected and written together by
// Flush(), so that the file is not written for every change.
class Journal {
public:
    // `kind` goes into the first record of a rewritten file; `max_bytes` is
    // the largest file that is read.
    Journal(std::string path, std::string kind, std::uint64_t max_bytes);

    // Reads the valid records in order (the kind record left out). A missing
    // file is an empty journal. A file that can't be read, or that holds not
    // one valid record, detaches the journal. A file with damaged records is
    // rewritten at the next Flush() with the valid ones (Rewrite needed).
    std::vector<Record> Load();

    // Collects a record for the next Flush().
    void Append(const Record& record);
    bool HasPending() const { return !pending_.empty(); }
    // A damaged or torn file waits to be rewritten whole.
    bool NeedsRewrite() const { return needs_rewrite_; }
    // The records in memory changed in a way no record says (entries dropped
    // by a smaller limit): the next flush rewrites the file.
    void MarkForRewrite() { needs_rewrite_ = !status_.detached; }

    // Appends the collected records. False when the file could not be
    // written (the status says why; the records stay collected).
    bool Flush();
    // Replaces the whole file by `records` (the collected ones are dropped:
    // `records` holds everything).
    bool Rewrite(const std::vector<Record>& records);

    // Records in the file, counted since the last Load() or Rewrite().
    std::size_t records_in_file() const { return records_in_file_; }
    const JournalStatus& status() const { return status_; }
    const std::string& path() const { return path_; }

private:
    bool Fail(JournalStatus::Problem problem, int error);

    std::string path_;
    std::string kind_;
    std::uint64_t max_bytes_;
    std::string pending_;
    std::size_t pending_records_ = 0;
    std::size_t records_in_file_ = 0;
    bool needs_rewrite_ = false;
    JournalStatus status_;
};

}  // namespace wordlists
