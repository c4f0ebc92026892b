// The engine context behind a DB_HANDLE: both word lists, progress and the
// stop flag, the message buffer, the description of the open dictionary, the
// state flags, the format list and the handle's result record.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/lexbase.h"
#include "engine/word_list.h"

inline constexpr std::size_t kMessageChars = 520;  // the buffer holds 520 + NUL
inline constexpr std::size_t kLongField = 100;     // name, author, description
inline constexpr std::size_t kShortField = 40;     // list names

struct DB_CONTEXT {
    lexbase::WordList lists[2];  // primary, secondary
    // Progress and the stop flag are the only fields another thread may touch
    // while a loop runs (DB_GetExecutionProgress, DB_EndLoop).
    std::atomic<std::uint32_t> progress_low;
    std::atomic<std::uint32_t> progress_high;
    std::atomic<std::uint32_t> progress_current;
    std::atomic<std::int32_t> loop_flag;
    char message[kMessageChars + 1];
    char name[kLongField];
    char author[kLongField];
    char description[kLongField];
    char primary_list_name[kShortField];
    char secondary_list_name[kShortField];
    std::int32_t ready;
    std::int32_t changed;
    DB_FORMAT_RECORD formats[8];
    DB_RESULT result;
};

namespace lexbase {

// The list of a list number (1 primary, 2 secondary); the caller has checked it.
inline WordList* ListOf(DB_CONTEXT* db, std::int32_t list) { return &db->lists[list - 1]; }
inline WordList* OtherList(DB_CONTEXT* db, std::int32_t list) { return &db->lists[2 - list]; }

inline bool IsListNumber(std::int32_t list) { return list == 1 || list == 2; }

// Relaxed loads and stores: the flag and the progress words are read whole
// and carry no other data with them.
inline void StartLoop(DB_CONTEXT* db) { db->loop_flag.store(1, std::memory_order_relaxed); }
inline bool LoopGoesOn(const DB_CONTEXT* db) {
    return db->loop_flag.load(std::memory_order_relaxed) != 0;
}

// Percentage p: low 0, high 100, current p.
void SetProgress(DB_CONTEXT* db, std::uint32_t percent);
// Progress over `total` steps, starting at 0; AdvanceProgress adds one step.
void StartProgress(DB_CONTEXT* db, std::uint32_t total);
inline void AdvanceProgress(DB_CONTEXT* db) {
    db->progress_current.fetch_add(1, std::memory_order_relaxed);
}

// Calls `hook(percent)` on every SetProgress of this thread, so tests can see
// the values a long job passes; null turns it off.
void SetProgressHookForTesting(void (*hook)(std::uint32_t percent));

// Frees the open dictionary and returns the context to empty, keeping the
// message buffer and the result record.
void ResetContext(DB_CONTEXT* db);

}  // namespace lexbase
