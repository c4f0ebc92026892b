#include "app/thread_priority.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace wordbay {

void LowerThisThreadsPriority(int steps) {
    // On Linux a thread's nice value is its own, set through its thread id.
    const auto self = static_cast<id_t>(gettid());
    setpriority(PRIO_PROCESS, self, std::min(getpriority(PRIO_PROCESS, self) + steps, 19));
}

}  // namespace wordbay
