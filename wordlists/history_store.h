// HistoryStore: the words whose translations the user saw, newest first, a
// word looked up again folded into one entry with a count. Kept in a journal
// (wordlists/journal.h) in the user's data folder:
//
//   L  time  count  direction  dictionary  word   a look-up (count 1 when
//                                                 appended; a compacted
//                                                 file holds the sums)
//   D  direction  dictionary  word                one entry removed
//   X                                             every entry removed
//
// time: seconds since 1970 (UTC); direction: 1 from the primary list, 2 from
// the secondary; dictionary: the dictionary's file name; words in UTF-8.
// The file is rewritten with one L record per entry once it holds more
// records than twice the entries allowed (and at least 500).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wordlists/journal.h"

namespace wordlists {

// Which entries are one: the same word in the same direction of the same
// dictionary.
struct WordKey {
    std::string word;
    std::string dictionary;
    int direction = 1;
    bool operator==(const WordKey&) const = default;
};

struct HistoryEntry {
    WordKey key;
    std::int64_t time = 0;   // of the last look-up
    std::int64_t count = 0;  // look-ups
};

class HistoryStore {
public:
    static constexpr int kDefaultLimit = 1000;
    static constexpr int kMostEntries = 100000;

    // `limit`: the entries kept (0: none are recorded), at most kMostEntries.
    explicit HistoryStore(std::string path, int limit = kDefaultLimit);

    // Reads the file; the status tells what went wrong, if anything.
    const JournalStatus& Open();
    // A smaller limit drops the oldest entries at once.
    void SetLimit(int limit);
    int limit() const { return limit_; }

    // Counts a look-up of `key` at `time`; the file gets it at Flush().
    void Add(const WordKey& key, std::int64_t time);
    void Remove(const WordKey& key);
    void Clear();
    // Writes what changed since the last flush.
    bool Flush();
    bool HasPending() const { return journal_.HasPending() || journal_.NeedsRewrite(); }

    const std::vector<HistoryEntry>& entries() const { return entries_; }
    const JournalStatus& status() const { return journal_.status(); }
    const std::string& path() const { return journal_.path(); }

private:
    void Apply(const Record& record);
    void Count(const WordKey& key, std::int64_t time, std::int64_t count);
    void Trim();
    std::vector<Record> Compacted() const;

    Journal journal_;
    int limit_;
    std::vector<HistoryEntry> entries_;  // newest first
};

// The largest history file that is read.
inline constexpr std::uint64_t kMaxJournalBytes = 64u << 20;

}  // namespace wordlists
