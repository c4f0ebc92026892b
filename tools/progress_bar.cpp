#include "tools/progress_bar.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ostream>
#include <string>

namespace cli {

ProgressBar::ProgressBar(DB_HANDLE db, std::ostream& err, bool enabled, const char* label)
    : db_(db), err_(err), label_(label) {
    if (enabled) thread_ = std::thread([this] { Loop(); });
}

ProgressBar::~ProgressBar() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    wake_.notify_one();
    thread_.join();
    err_ << '\r' << std::string(std::strlen(label_) + 60, ' ') << '\r' << std::flush;
}

void ProgressBar::Loop() {
    // The engine keeps its progress in atomics, so polling while another
    // thread runs the call is safe.
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, std::chrono::milliseconds(100), [this] { return done_; })) {
        const int percent = std::clamp<int>(DB_GetExecutionProgress(db_), 0, 100);
        const int filled = percent / 2;
        err_ << '\r' << label_ << " [" << std::string(filled, '#') << std::string(50 - filled, '.')
             << "] " << percent << "%" << std::flush;
    }
}

}  // namespace cli
