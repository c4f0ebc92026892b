// Background work gives way on its own thread only.
#include "app/thread_priority.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace wordbay::testing {
namespace {

int NiceOfThisThread() { return getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())); }

TEST(ThreadPriorityTest, OnlyTheCallingThreadAndItsLaterThreadsGiveWay) {
    const int before = NiceOfThisThread();
    int lowered = 0;
    int inherited = 0;
    int capped = 0;
    std::thread worker([&] {
        LowerThisThreadsPriority(3);
        lowered = NiceOfThisThread();
        std::thread([&] { inherited = NiceOfThisThread(); }).join();
        LowerThisThreadsPriority(40);
        capped = NiceOfThisThread();
    });
    worker.join();
    EXPECT_EQ(lowered, std::min(before + 3, 19));
    EXPECT_EQ(inherited, lowered);
    EXPECT_EQ(capped, 19);
    EXPECT_EQ(NiceOfThisThread(), before);  // the window's thread keeps its priority
}

}  // namespace
}  // namespace wordbay::testing
