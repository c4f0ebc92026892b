// Two pieces of work at once, one on a thread of its own.
#pragma once

#include <functional>

namespace platform {

// Runs `there` on a thread of its own while this thread runs `here`, and
// returns when both are done; without a thread to be had, runs one after the
// other. An exception of either is thrown here once both have ended.
void SideBySide(const std::function<void()>& here, const std::function<void()>& there);

}  // namespace platform
