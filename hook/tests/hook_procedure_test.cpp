#include "hook/hook_procedure.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <vector>

namespace keysnare {
namespace {

constexpr std::uint32_t kControl = 0x11, kShift = 0x10, kAlt = 0x12, kF1 = 0x70, kF2 = 0x71;
constexpr int kControlL = 37, kControlR = 105, kShiftL = 50, kShiftR = 62, kAltL = 64;
constexpr int kLeft = 113, kF1Key = 67, kF2Key = 68;

// Drives the hook procedure as the listener does: one key event, then one run.
class HookProcedureTest : public ::testing::Test {
protected:
    HookProcedureTest() {
        std::vector<Keysym> mapping(256, 0);
        mapping[kControlL] = XK_Control_L;
        mapping[kControlR] = XK_Control_R;
        mapping[kShiftL] = XK_Shift_L;
        mapping[kShiftR] = XK_Shift_R;
        mapping[kAltL] = XK_Alt_L;
        mapping[kLeft] = XK_Left;
        mapping[kF1Key] = XK_F1;
        mapping[kF2Key] = XK_F2;
        keys_.SetKeyboardMapping(0, 1, mapping);
        SetKeys(kControl, kShift, 0);
    }

    void SetKeys(std::uint32_t first, std::uint32_t second, std::uint32_t third) {
        Store(block_.first_key, first);
        Store(block_.second_key, second);
        Store(block_.third_key, third);
    }
    // Returns how many messages the events posted.
    int Press(std::initializer_list<int> keycodes) {
        int posted = 0;
        for (const int keycode : keycodes) {
            keys_.Press(keycode);
            posted += RunHookProcedure(block_, keys_);
        }
        return posted;
    }
    int Release(std::initializer_list<int> keycodes) {
        int posted = 0;
        for (const int keycode : keycodes) {
            keys_.Release(keycode);
            posted += RunHookProcedure(block_, keys_);
        }
        return posted;
    }
    std::uint32_t armed() { return Load(block_.armed); }

    HotKeyBlock block_{};
    KeyState keys_;
};

TEST_F(HookProcedureTest, CombinationPressedAndReleasedPostsOnce) {
    EXPECT_EQ(Press({kControlL}), 0);
    EXPECT_EQ(armed(), 0u);
    EXPECT_EQ(Press({kShiftL}), 0);
    EXPECT_EQ(armed(), 1u);
    EXPECT_EQ(Release({kShiftL}), 0);  // CONTROL still held
    EXPECT_EQ(Release({kControlL}), 1);
    EXPECT_EQ(armed(), 0u);
    // Released in the other order, and a second time.
    EXPECT_EQ(Press({kShiftL, kControlL}) + Release({kControlL, kShiftL}), 1);
    EXPECT_EQ(Press({kShiftL, kControlL}) + Release({kShiftL, kControlL}), 1);
}

TEST_F(HookProcedureTest, RightHandModifiersWork) {
    EXPECT_EQ(Press({kControlR, kShiftR}) + Release({kShiftR, kControlR}), 1);
    EXPECT_EQ(Press({kControlL, kShiftR}) + Release({kControlL, kShiftR}), 1);
}

TEST_F(HookProcedureTest, OtherKeysInBetweenDoNotCancel) {
    EXPECT_EQ(Press({kControlL, kShiftL, kLeft}), 0);
    EXPECT_EQ(Release({kLeft}), 0);
    EXPECT_EQ(Press({kLeft}), 0);
    EXPECT_EQ(Release({kControlL}), 0);  // SHIFT still held
    EXPECT_EQ(Release({kShiftL}), 1);
    EXPECT_EQ(Release({kLeft}), 0);
}

TEST_F(HookProcedureTest, ThirdKeyMustBeHeldToo) {
    SetKeys(kControl, kShift, kF1);
    EXPECT_EQ(Press({kControlL, kShiftL}), 0);
    EXPECT_EQ(armed(), 0u);
    EXPECT_EQ(Release({kShiftL, kControlL}), 0);
    EXPECT_EQ(armed(), 0u);
    EXPECT_EQ(Press({kControlL, kShiftL, kF1Key}), 0);
    EXPECT_EQ(armed(), 1u);
    EXPECT_EQ(Release({kControlL, kShiftL}), 0);  // F1 still held
    EXPECT_EQ(Release({kF1Key}), 1);
}

TEST_F(HookProcedureTest, NewKeysWhileArmedKeepArmedAndTakeOverTheReleaseTest) {
    EXPECT_EQ(Press({kControlL, kShiftL}), 0);
    SetKeys(kF1, kF2, 0);
    EXPECT_EQ(armed(), 1u);
    // F1 and F2 are up: the next event, whatever it is, completes the release.
    EXPECT_EQ(Press({kLeft}), 1);
    EXPECT_EQ(armed(), 0u);
    EXPECT_EQ(Release({kLeft, kControlL, kShiftL}), 0);
    EXPECT_EQ(Press({kF1Key, kF2Key}) + Release({kF1Key, kF2Key}), 1);

    // Changing to a combination still held keeps waiting for its own release.
    SetKeys(kControl, kShift, 0);
    EXPECT_EQ(Press({kControlL, kShiftL}), 0);
    SetKeys(kControl, kAlt, 0);
    EXPECT_EQ(Release({kShiftL}), 0);
    EXPECT_EQ(Release({kControlL}), 1);
}

TEST_F(HookProcedureTest, ArmedByAnotherProcessIsReleasedHere) {
    // The press may be seen in one process and the release in another: only the block
    // carries the state.
    Store(block_.armed, 1);
    EXPECT_EQ(Press({kLeft}), 1);
    EXPECT_EQ(Release({kLeft}), 0);
}

TEST_F(HookProcedureTest, ZeroedBlockNeverArms) {
    SetKeys(0, 0, 0);
    EXPECT_EQ(Press({kControlL, kShiftL, kAltL, kLeft}), 0);
    EXPECT_EQ(armed(), 0u);
    EXPECT_EQ(Release({kControlL, kShiftL, kAltL, kLeft}), 0);
}

}  // namespace
}  // namespace keysnare
