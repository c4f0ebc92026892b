#include "hook/key_map.h"

#include <X11/keysym.h>

#include <algorithm>

namespace keysnare {
namespace {

struct VirtualKeyRow {
    std::array<Keysym, 2> keysyms{};
    std::uint8_t count = 0;
};
using VirtualKeyTable = std::array<VirtualKeyRow, 256>;

constexpr void Set(VirtualKeyTable& table, std::uint32_t vk, Keysym first, Keysym second = 0) {
    table[vk].keysyms = {first, second};
    table[vk].count = second == 0 ? 1 : 2;
}

// Virtual keys of a US keyboard. The first keysym of a row is the one playback types.
constexpr VirtualKeyTable BuildTable() {
    VirtualKeyTable table{};
    Set(table, 0x08, XK_BackSpace);
    Set(table, 0x09, XK_Tab, XK_ISO_Left_Tab);
    Set(table, 0x0C, XK_Clear);
    Set(table, 0x0D, XK_Return, XK_KP_Enter);
    Set(table, kVkShift, XK_Shift_L, XK_Shift_R);
    Set(table, kVkControl, XK_Control_L, XK_Control_R);
    Set(table, kVkMenu, XK_Alt_L, XK_Alt_R);
    Set(table, 0x13, XK_Pause);
    Set(table, 0x14, XK_Caps_Lock);
    Set(table, 0x1B, XK_Escape);
    Set(table, 0x20, XK_space);
    Set(table, 0x21, XK_Prior);
    Set(table, 0x22, XK_Next);
    Set(table, 0x23, XK_End);
    Set(table, 0x24, XK_Home);
    Set(table, 0x25, XK_Left);
    Set(table, 0x26, XK_Up);
    Set(table, 0x27, XK_Right);
    Set(table, 0x28, XK_Down);
    Set(table, 0x29, XK_Select);
    Set(table, 0x2B, XK_Execute);
    Set(table, 0x2C, XK_Print);
    Set(table, 0x2D, XK_Insert);
    Set(table, 0x2E, XK_Delete);
    Set(table, 0x2F, XK_Help);
    for (std::uint32_t i = 0; i < 10; ++i) Set(table, 0x30 + i, XK_0 + i);
    for (std::uint32_t i = 0; i < 26; ++i) Set(table, 0x41 + i, XK_a + i, XK_A + i);
    Set(table, 0x5B, XK_Super_L);
    Set(table, 0x5C, XK_Super_R);
    Set(table, 0x5D, XK_Menu);
    for (std::uint32_t i = 0; i < 10; ++i) Set(table, 0x60 + i, XK_KP_0 + i);
    Set(table, 0x6A, XK_KP_Multiply);
    Set(table, 0x6B, XK_KP_Add);
    Set(table, 0x6C, XK_KP_Separator);
    Set(table, 0x6D, XK_KP_Subtract);
    Set(table, 0x6E, XK_KP_Decimal);
    Set(table, 0x6F, XK_KP_Divide);
    for (std::uint32_t i = 0; i < 24; ++i) Set(table, 0x70 + i, XK_F1 + i);  // F1 to F24
    Set(table, 0x90, XK_Num_Lock);
    Set(table, 0x91, XK_Scroll_Lock);
    Set(table, 0xA0, XK_Shift_L);
    Set(table, 0xA1, XK_Shift_R);
    Set(table, 0xA2, XK_Control_L);
    Set(table, 0xA3, XK_Control_R);
    Set(table, 0xA4, XK_Alt_L);
    Set(table, 0xA5, XK_Alt_R);
    Set(table, 0xBA, XK_semicolon);
    Set(table, 0xBB, XK_equal);
    Set(table, 0xBC, XK_comma);
    Set(table, 0xBD, XK_minus);
    Set(table, 0xBE, XK_period);
    Set(table, 0xBF, XK_slash);
    Set(table, 0xC0, XK_grave);
    Set(table, 0xDB, XK_bracketleft);
    Set(table, 0xDC, XK_backslash);
    Set(table, 0xDD, XK_bracketright);
    Set(table, 0xDE, XK_apostrophe);
    return table;
}

constexpr VirtualKeyTable kVirtualKeys = BuildTable();

}  // namespace

std::span<const Keysym> KeysymsForVirtualKey(std::uint32_t vk) {
    if (vk >= kVirtualKeys.size()) return {};
    const VirtualKeyRow& row = kVirtualKeys[vk];
    return std::span<const Keysym>(row.keysyms.data(), row.count);
}

void KeyState::SetKeyboardMapping(int min_keycode, int per_keycode,
                                  std::span<const Keysym> keysyms) {
    for (auto& codes : keycodes_) codes.clear();
    if (per_keycode <= 0 || min_keycode < 0) return;
    const std::size_t levels = static_cast<std::size_t>(per_keycode);
    const std::size_t keycode_count = keysyms.size() / levels;
    for (std::uint32_t vk = 0; vk < keycodes_.size(); ++vk) {
        std::vector<std::uint8_t>& codes = keycodes_[vk];
        // Earlier keysyms and lower levels first, so that KeycodeFor picks the key that
        // types the first keysym without a modifier.
        for (const Keysym wanted : KeysymsForVirtualKey(vk)) {
            for (std::size_t level = 0; level < levels; ++level) {
                for (std::size_t i = 0; i < keycode_count; ++i) {
                    const std::size_t keycode = static_cast<std::size_t>(min_keycode) + i;
                    if (keycode > 255 || keysyms[i * levels + level] != wanted) continue;
                    const auto code = static_cast<std::uint8_t>(keycode);
                    if (std::find(codes.begin(), codes.end(), code) == codes.end()) {
                        codes.push_back(code);
                    }
                }
            }
        }
    }
}

void KeyState::SetAll(std::span<const char, 32> bits) {
    for (std::size_t keycode = 0; keycode < down_.size(); ++keycode) {
        down_[keycode] = (static_cast<unsigned char>(bits[keycode / 8]) >> (keycode % 8)) & 1;
    }
}

bool KeyState::IsDown(std::uint32_t vk) const {
    if (vk >= keycodes_.size()) return false;
    for (const std::uint8_t code : keycodes_[vk]) {
        if (down_[code]) return true;
    }
    return false;
}

int KeyState::KeycodeFor(std::uint32_t vk) const {
    if (vk >= keycodes_.size() || keycodes_[vk].empty()) return 0;
    return keycodes_[vk].front();
}

}  // namespace keysnare
