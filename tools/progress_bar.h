// A progress bar for long engine calls, drawn on a terminal from
// DB_GetExecutionProgress, which a second thread polls while the call runs.
#pragma once

#include <condition_variable>
#include <iosfwd>
#include <mutex>
#include <thread>

#include "engine/lexbase.h"

namespace cli {

// Draws on "err" from construction to destruction, then clears its line;
// draws nothing when disabled (output that is not a terminal).
class ProgressBar {
public:
    ProgressBar(DB_HANDLE db, std::ostream& err, bool enabled, const char* label);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

private:
    void Loop();

    DB_HANDLE db_;
    std::ostream& err_;
    const char* label_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;  // last: started once every other member exists
};

}  // namespace cli
