// The keys that a hot-key combination can be made of, as the settings store them: an index
// into HotKeyTable, turned into the virtual-key code that keysnare takes. Index 0 is "no
// key" and is offered for the third key only.
#ifndef WORDBAY_HOT_KEY_TABLE_H
#define WORDBAY_HOT_KEY_TABLE_H

#include <array>
#include <cstdint>

namespace wordbay {

// The message keysnare sends to the main window when the combination has been released.
inline constexpr std::uint32_t WM_HOTKEY_TRIGGER = 0x400 + 10;

struct HotKeyRow {
    const char* name;    // shown in the key choices, at most 9 characters
    std::uint32_t code;  // Windows virtual-key code; 0 = no key
};

inline constexpr std::array<HotKeyRow, 74> HotKeyTable = {{
    {"", 0},         {"CONTROL", 0x11},   {"ALT", 0x12},   {"SHIFT", 0x10},   {"TAB", 0x09},
    {"ESC", 0x1B},   {"L WIN", 0x5B},     {"R WIN", 0x5C}, {"ENTER", 0x0D},   {"BACK", 0x08},
    {"SPACE", 0x20}, {"INSERT", 0x2D},    {"HOME", 0x24},  {"PAGE UP", 0x21}, {"DELETE", 0x2E},
    {"END", 0x23},   {"PAGE DOWN", 0x22}, {"PAUSE", 0x13}, {"LEFT", 0x25},    {"RIGHT", 0x27},
    {"UP", 0x26},    {"DOWN", 0x28},      {"F1", 0x70},    {"F2", 0x71},      {"F3", 0x72},
    {"F4", 0x73},    {"F5", 0x74},        {"F6", 0x75},    {"F7", 0x76},      {"F8", 0x77},
    {"F9", 0x78},    {"F10", 0x79},       {"F11", 0x7A},   {"F12", 0x7B},     {"A", 0x41},
    {"B", 0x42},     {"C", 0x43},         {"D", 0x44},     {"E", 0x45},       {"F", 0x46},
    {"G", 0x47},     {"H", 0x48},         {"I", 0x49},     {"J", 0x4A},       {"K", 0x4B},
    {"L", 0x4C},     {"M", 0x4D},         {"N", 0x4E},     {"O", 0x4F},       {"P", 0x50},
    {"Q", 0x51},     {"R", 0x52},         {"S", 0x53},     {"T", 0x54},       {"U", 0x55},
    {"V", 0x56},     {"W", 0x57},         {"X", 0x58},     {"Y", 0x59},       {"Z", 0x5A},
    {"0", 0x30},     {"1", 0x31},         {"2", 0x32},     {"3", 0x33},       {"4", 0x34},
    {"5", 0x35},     {"6", 0x36},         {"7", 0x37},     {"8", 0x38},       {"9", 0x39},
    {"+", 0x6B},     {"-", 0x6D},         {"*", 0x6A},     {"/", 0x6F},
}};

// The virtual-key code of row "index", or 0 (no key) for an index outside the table.
constexpr std::uint32_t HotKeyCode(int index) {
    return index >= 0 && index < static_cast<int>(HotKeyTable.size()) ? HotKeyTable[index].code : 0;
}

}  // namespace wordbay

#endif  // WORDBAY_HOT_KEY_TABLE_H
