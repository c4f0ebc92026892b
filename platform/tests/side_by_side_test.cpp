#include "platform/side_by_side.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace platform {
namespace {

// Both run, whichever of them throws; the exception comes out once both ended.
TEST(SideBySideTest, BothRunAndAFailureComesOutAfterBoth) {
    std::atomic<int> done{0};
    SideBySide([&] { ++done; }, [&] { ++done; });
    EXPECT_EQ(done, 2);
    for (const bool here_fails : {true, false}) {
        done = 0;
        const auto fail = [&] {
            ++done;
            throw std::runtime_error("failed");
        };
        const auto work = [&] { ++done; };
        EXPECT_THROW(here_fails ? SideBySide(fail, work) : SideBySide(work, fail),
                     std::runtime_error);
        EXPECT_EQ(done, 2);
    }
}

}  // namespace
}  // namespace platform
