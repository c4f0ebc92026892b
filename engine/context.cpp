#include "engine/context.h"

#include <cstring>

namespace lexbase {

namespace {
thread_local void (*tls_progress_hook)(std::uint32_t) = nullptr;
}  // namespace

void SetProgressHookForTesting(void (*hook)(std::uint32_t percent)) { tls_progress_hook = hook; }

void SetProgress(DB_CONTEXT* db, std::uint32_t percent) {
    db->progress_low.store(0, std::memory_order_relaxed);
    db->progress_high.store(100, std::memory_order_relaxed);
    db->progress_current.store(percent, std::memory_order_relaxed);
    if (tls_progress_hook != nullptr) tls_progress_hook(percent);
}

void StartProgress(DB_CONTEXT* db, std::uint32_t total) {
    db->progress_low.store(0, std::memory_order_relaxed);
    db->progress_current.store(0, std::memory_order_relaxed);
    db->progress_high.store(total, std::memory_order_relaxed);
}

void ResetContext(DB_CONTEXT* db) {
    FreeListContents(&db->lists[0]);
    FreeListContents(&db->lists[1]);
    db->progress_low.store(0, std::memory_order_relaxed);
    db->progress_high.store(0, std::memory_order_relaxed);
    db->progress_current.store(0, std::memory_order_relaxed);
    db->loop_flag.store(0, std::memory_order_relaxed);
    std::memset(db->name, 0, sizeof db->name);
    std::memset(db->author, 0, sizeof db->author);
    std::memset(db->description, 0, sizeof db->description);
    std::memset(db->primary_list_name, 0, sizeof db->primary_list_name);
    std::memset(db->secondary_list_name, 0, sizeof db->secondary_list_name);
    db->ready = 0;
    db->changed = 0;
    std::memset(db->formats, 0, sizeof db->formats);
}

}  // namespace lexbase
