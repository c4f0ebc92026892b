#include "hook/key_map.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/hot_key_table.h"

namespace keysnare {
namespace {

// A few keys of a US keyboard, two keysyms per keycode, from keycode 8.
constexpr int kMinKeycode = 8;
constexpr int kLevels = 2;
constexpr int kControlL = 37, kControlR = 105, kShiftL = 50, kShiftR = 62, kAltL = 64;
constexpr int kKeyA = 38, kKeyOne = 10, kLeft = 113, kPageDown = 117, kKeypadEnter = 104;

std::vector<Keysym> UsMapping() {
    std::vector<Keysym> keysyms((255 - kMinKeycode + 1) * kLevels, 0);
    auto put = [&](int keycode, Keysym first, Keysym second = 0) {
        keysyms[(keycode - kMinKeycode) * kLevels] = first;
        keysyms[(keycode - kMinKeycode) * kLevels + 1] = second;
    };
    put(kControlL, XK_Control_L);
    put(kControlR, XK_Control_R);
    put(kShiftL, XK_Shift_L);
    put(kShiftR, XK_Shift_R);
    put(kAltL, XK_Alt_L, XK_Meta_L);
    put(kKeyA, XK_a, XK_A);
    put(kKeyOne, XK_1, XK_exclam);
    put(kLeft, XK_Left);
    put(kPageDown, XK_Next);
    put(kKeypadEnter, XK_KP_Enter);
    put(36, XK_Return);
    return keysyms;
}

bool Maps(std::uint32_t vk, Keysym keysym) {
    const auto keysyms = KeysymsForVirtualKey(vk);
    return std::find(keysyms.begin(), keysyms.end(), keysym) != keysyms.end();
}

TEST(KeyMapTest, EveryKeyOfTheHotKeyTableHasAnXKey) {
    for (std::size_t i = 1; i < wordbay::HotKeyTable.size(); ++i) {
        SCOPED_TRACE(wordbay::HotKeyTable[i].name);
        EXPECT_FALSE(KeysymsForVirtualKey(wordbay::HotKeyTable[i].code).empty());
    }
}

TEST(KeyMapTest, VirtualKeysMapToTheirXKeys) {
    EXPECT_TRUE(Maps(0x22, XK_Next));   // PAGE DOWN
    EXPECT_TRUE(Maps(0x21, XK_Prior));  // PAGE UP
    EXPECT_TRUE(Maps(0x11, XK_Control_L) && Maps(0x11, XK_Control_R));
    EXPECT_TRUE(Maps(0x12, XK_Alt_L) && Maps(0x12, XK_Alt_R));
    EXPECT_TRUE(Maps(0x10, XK_Shift_L) && Maps(0x10, XK_Shift_R));
    EXPECT_TRUE(Maps(0x5B, XK_Super_L));
    EXPECT_TRUE(Maps(0x5C, XK_Super_R));
    EXPECT_TRUE(Maps(0x0D, XK_Return) && Maps(0x0D, XK_KP_Enter));
    EXPECT_TRUE(Maps(0x7B, XK_F12));
    EXPECT_TRUE(Maps(0x5A, XK_z));
    EXPECT_TRUE(Maps(0x39, XK_9));
    // The table's "+", "-", "*" and "/" are the numeric keypad's.
    EXPECT_TRUE(Maps(0x6B, XK_KP_Add));
    EXPECT_TRUE(Maps(0x6D, XK_KP_Subtract));
    EXPECT_TRUE(Maps(0x6A, XK_KP_Multiply));
    EXPECT_TRUE(Maps(0x6F, XK_KP_Divide));
    EXPECT_TRUE(KeysymsForVirtualKey(0).empty());
    EXPECT_TRUE(KeysymsForVirtualKey(0x100).empty());
    EXPECT_TRUE(KeysymsForVirtualKey(0xFFFFFFFF).empty());
}

TEST(KeyStateTest, LeftAndRightModifiersBothCountAsTheKey) {
    const std::vector<Keysym> mapping = UsMapping();
    KeyState keys;
    keys.SetKeyboardMapping(kMinKeycode, kLevels, mapping);
    const std::pair<int, std::uint32_t> cases[] = {{kControlL, 0x11}, {kControlR, 0x11},
                                                   {kShiftL, 0x10},   {kShiftR, 0x10},
                                                   {kAltL, 0x12},     {kKeypadEnter, 0x0D}};
    for (const auto& [keycode, vk] : cases) {
        SCOPED_TRACE(keycode);
        EXPECT_FALSE(keys.IsDown(vk));
        keys.Press(keycode);
        EXPECT_TRUE(keys.IsDown(vk));
        keys.Release(keycode);
        EXPECT_FALSE(keys.IsDown(vk));
    }
    // The sided codes see only their own side.
    keys.Press(kControlR);
    EXPECT_TRUE(keys.IsDown(0xA3));
    EXPECT_FALSE(keys.IsDown(0xA2));
}

TEST(KeyStateTest, KeysymsOnAnyLevelCount) {
    // A French keyboard types digits with Shift: '1' is on the second level of its key.
    std::vector<Keysym> mapping = UsMapping();
    mapping[(kKeyOne - kMinKeycode) * kLevels] = XK_ampersand;
    mapping[(kKeyOne - kMinKeycode) * kLevels + 1] = XK_1;
    KeyState keys;
    keys.SetKeyboardMapping(kMinKeycode, kLevels, mapping);
    keys.Press(kKeyOne);
    EXPECT_TRUE(keys.IsDown(0x31));
    EXPECT_EQ(keys.KeycodeFor(0x31), kKeyOne);
}

TEST(KeyStateTest, KeycodeForPrefersTheFirstKeysymOnTheFirstLevel) {
    std::vector<Keysym> mapping = UsMapping();
    // Another key that carries Control_L only on its second level.
    mapping[(20 - kMinKeycode) * kLevels + 1] = XK_Control_L;
    KeyState keys;
    keys.SetKeyboardMapping(kMinKeycode, kLevels, mapping);
    EXPECT_EQ(keys.KeycodeFor(0x11), kControlL);
    EXPECT_EQ(keys.KeycodeFor(0x41), kKeyA);
    EXPECT_EQ(keys.KeycodeFor(0x22), kPageDown);
    EXPECT_EQ(keys.KeycodeFor(0x25), kLeft);
    EXPECT_EQ(keys.KeycodeFor(0x0D), 36);  // Return before KP_Enter
    EXPECT_EQ(keys.KeycodeFor(0x7B), 0);   // no F12 on this keyboard
    EXPECT_EQ(keys.KeycodeFor(0x1000), 0);
    keys.Press(20);
    EXPECT_TRUE(keys.IsDown(0x11));
}

TEST(KeyStateTest, NewMappingReplacesTheOld) {
    const std::vector<Keysym> mapping = UsMapping();
    KeyState keys;
    keys.SetKeyboardMapping(kMinKeycode, kLevels, mapping);
    std::vector<Keysym> swapped = mapping;
    std::swap(swapped[(kControlL - kMinKeycode) * kLevels],
              swapped[(kShiftL - kMinKeycode) * kLevels]);
    keys.SetKeyboardMapping(kMinKeycode, kLevels, swapped);
    keys.Press(kControlL);
    EXPECT_TRUE(keys.IsDown(0x10));
    EXPECT_FALSE(keys.IsDown(0x11));
}

TEST(KeyStateTest, OddInputIsHarmless) {
    const std::vector<Keysym> mapping = UsMapping();
    KeyState keys;
    // A mapping shorter than one keycode, no levels, keycodes past 255.
    keys.SetKeyboardMapping(kMinKeycode, 5, std::span<const Keysym>(mapping.data(), 3));
    keys.SetKeyboardMapping(kMinKeycode, 0, mapping);
    keys.SetKeyboardMapping(250, kLevels, mapping);
    keys.Press(-1);
    keys.Press(256);
    keys.Release(1000);
    EXPECT_FALSE(keys.IsDown(0x11));
    keys.SetKeyboardMapping(kMinKeycode, kLevels, mapping);
    EXPECT_FALSE(keys.IsDown(0x11));
}

TEST(KeyStateTest, SetAllReadsTheXKeymapBitOrder) {
    const std::vector<Keysym> mapping = UsMapping();
    KeyState keys;
    keys.SetKeyboardMapping(kMinKeycode, kLevels, mapping);
    char bits[32] = {};
    bits[kControlR / 8] = static_cast<char>(1 << (kControlR % 8));  // keycode 105: bit 1 of byte 13
    bits[31] = static_cast<char>(0x80);  // keycode 255, mapped to nothing
    keys.SetAll(bits);
    EXPECT_TRUE(keys.IsDown(0x11));
    EXPECT_FALSE(keys.IsDown(0x10));
    keys.SetAll(std::array<char, 32>{});
    EXPECT_FALSE(keys.IsDown(0x11));
}

TEST(HotKeyTableTest, RowsMatchTheKeyChoices) {
    EXPECT_EQ(wordbay::HotKeyTable.size(), 74u);
    EXPECT_EQ(wordbay::HotKeyCode(16), 0x22u);  // PAGE DOWN
    EXPECT_STREQ(wordbay::HotKeyTable[16].name, "PAGE DOWN");
    EXPECT_EQ(wordbay::HotKeyCode(13), 0x21u);  // PAGE UP
    EXPECT_EQ(wordbay::HotKeyCode(1), 0x11u);   // the default combination CONTROL + SHIFT
    EXPECT_EQ(wordbay::HotKeyCode(3), 0x10u);
    EXPECT_EQ(wordbay::HotKeyCode(0), 0u);
    EXPECT_EQ(wordbay::HotKeyCode(-1), 0u);
    EXPECT_EQ(wordbay::HotKeyCode(74), 0u);
    EXPECT_STREQ(wordbay::HotKeyTable[22].name, "F1");
    EXPECT_STREQ(wordbay::HotKeyTable[33].name, "F12");
    EXPECT_EQ(wordbay::HotKeyCode(33), 0x7Bu);
    EXPECT_STREQ(wordbay::HotKeyTable[34].name, "A");
    EXPECT_STREQ(wordbay::HotKeyTable[59].name, "Z");
    EXPECT_EQ(wordbay::HotKeyCode(59), 0x5Au);
    EXPECT_STREQ(wordbay::HotKeyTable[60].name, "0");
    EXPECT_EQ(wordbay::HotKeyCode(69), 0x39u);
    EXPECT_STREQ(wordbay::HotKeyTable[73].name, "/");
    for (const auto& row : wordbay::HotKeyTable) EXPECT_LE(std::string_view(row.name).size(), 9u);
}

}  // namespace
}  // namespace keysnare
