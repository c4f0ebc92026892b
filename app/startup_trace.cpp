#include "app/startup_trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace wordbay {

bool StartupTraceOn() {
    static const bool on = [] {
        const char* value = std::getenv("WORDBAY_TRACE_STARTUP");
        return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
    }();
    return on;
}

void StartupMark(const char* what) {
    if (!StartupTraceOn()) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // One write per line, so that the lines of two threads do not mix.
    std::fprintf(stderr, "wordbay-trace %lld.%06ld %s\n", static_cast<long long>(now.tv_sec),
                 now.tv_nsec / 1000, what);
}

}  // namespace wordbay
