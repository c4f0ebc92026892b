// The exported functions of the shared library, through keysnare.h only. The library maps
// this user's own block, so these tests change the hot key of a wordbay running meanwhile.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "hook/keysnare.h"
#include "x11_test_support.h"

namespace {

using keysnare::testing::TestWindow;
using keysnare::testing::Xdotool;

constexpr uint32_t kPress = 0x8000;

// Points $DISPLAY elsewhere (or nowhere) for the life of the object.
class DisplayOverride {
public:
    explicit DisplayOverride(const char* display) {
        const char* old = getenv("DISPLAY");
        had_ = old != nullptr;
        if (had_) old_ = old;
        if (display != nullptr) {
            setenv("DISPLAY", display, 1);
        } else {
            unsetenv("DISPLAY");
        }
    }
    ~DisplayOverride() {
        if (had_) {
            setenv("DISPLAY", old_.c_str(), 1);
        } else {
            unsetenv("DISPLAY");
        }
    }

private:
    bool had_ = false;
    std::string old_;
};

TEST(KeysnareApiTest, WithoutADisplayNothingListensAndNothingPlays) {
    for (const char* display : {static_cast<const char*>(nullptr), ":4711"}) {
        SCOPED_TRACE(display != nullptr ? display : "unset");
        DisplayOverride override(display);
        EXPECT_EQ(SetKeySchortcut(0x11, 0x10, 0), 1);
        EXPECT_EQ(SetKeysnare(0x1234, 1034), 0);
        EXPECT_EQ(KillKeysnare(), 1);
        const uint32_t keys[] = {kPress | 0x41, 0x41};
        EXPECT_EQ(SendKeys(keys, 2), 0);
        EXPECT_EQ(SendKeys(keys, 0), 1);
        EXPECT_EQ(WEP(0), 1);
    }
}

TEST(KeysnareApiTest, SendKeysRejectsBadLists) {
    const uint32_t keys[] = {kPress | 0x41, 0x41};
    EXPECT_EQ(SendKeys(nullptr, 2), 0);
    EXPECT_EQ(SendKeys(keys, -1), 0);
    EXPECT_EQ(SendKeys(nullptr, 0), 1);
}

TEST(KeysnareApiTest, CombinationReachesTheWindow) {
    TestWindow window;
    ASSERT_TRUE(window.ok()) << "no X display: run under xvfb-run";
    ASSERT_EQ(SetKeySchortcut(0x11, 0x10, 0), 1);
    ASSERT_EQ(SetKeysnare(window.id(), 1034), 1);
    ASSERT_TRUE(Xdotool("key ctrl+shift"));
    auto received = window.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, 1034);

    // Played keys count like typed ones.
    const uint32_t keys[] = {kPress | 0x11, kPress | 0x10, 0x10, 0x11};
    EXPECT_EQ(SendKeys(keys, 4), 1);
    received = window.WaitFor(2);
    EXPECT_EQ(received.size(), 2u);
    EXPECT_EQ(KillKeysnare(), 1);
}

}  // namespace
