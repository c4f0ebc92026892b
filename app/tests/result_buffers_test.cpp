// The two result arrays a list paints from and the worker fills.
#include <gtest/gtest.h>

#include "app/dictionary_slot.h"

namespace wordbay::testing {
namespace {

TEST(ResultBuffersTest, ArraysStartEmptyAndGrowingKeepsWhatTheListShows) {
    ResultBuffers buffers;
    EXPECT_EQ(buffers.capacity(), 0);
    buffers.Resize(3);
    ASSERT_EQ(buffers.capacity(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(buffers.back()[i], nullptr);

    const char* words[] = {"house", "household"};
    buffers.back()[0] = words[0];
    buffers.back()[1] = words[1];
    const char* const* shown = buffers.Flip();
    EXPECT_EQ(shown[1], words[1]);

    // Growing keeps the entries on show; the new ones are null.
    buffers.Grow(1'000'000);
    EXPECT_EQ(buffers.front_capacity(), 1'000'000);
    EXPECT_EQ(buffers.capacity(), 1'000'000);
    EXPECT_EQ(buffers.front()[0], words[0]);
    EXPECT_EQ(buffers.front()[1], words[1]);
    EXPECT_EQ(buffers.front()[2], nullptr);
    EXPECT_EQ(buffers.front()[999'999], nullptr);
    EXPECT_EQ(buffers.back()[999'999], nullptr);

    // Growing to less changes nothing; a reserve gives only the back array room.
    buffers.Grow(10);
    EXPECT_EQ(buffers.front_capacity(), 1'000'000);
    buffers.Resize(2);
    buffers.Reserve(5);
    EXPECT_EQ(buffers.capacity(), 5);
    EXPECT_EQ(buffers.front_capacity(), 2);
}

}  // namespace
}  // namespace wordbay::testing
