// Windows virtual-key codes in an X11 world: which keysyms stand for each code, and the
// key-down table that answers "is this virtual key pressed?" from X keycodes.
#ifndef KEYSNARE_KEY_MAP_H
#define KEYSNARE_KEY_MAP_H

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace keysnare {

using Keysym = std::uint32_t;  // X keysyms are 29-bit values

constexpr std::uint32_t kVkShift = 0x10;
constexpr std::uint32_t kVkControl = 0x11;
constexpr std::uint32_t kVkMenu = 0x12;  // ALT

// The keysyms that produce virtual key "vk": one for most keys, the left and right keys for
// SHIFT, CONTROL and ALT, both Enter keys for ENTER. Empty for a code with no X key.
std::span<const Keysym> KeysymsForVirtualKey(std::uint32_t vk);

// Which keys are down, by X keycode, and which keycodes carry each virtual key under the
// current keyboard mapping. Used by one thread at a time.
class KeyState {
public:
    // Takes the keyboard mapping as XGetKeyboardMapping returns it: "per_keycode" keysyms
    // for each keycode from "min_keycode" on, 0 where a level has none. Every keycode that
    // carries a keysym of a virtual key on any level counts as that key.
    void SetKeyboardMapping(int min_keycode, int per_keycode, std::span<const Keysym> keysyms);

    void Press(int keycode) { SetDown(keycode, true); }
    void Release(int keycode) { SetDown(keycode, false); }
    // Replaces the whole table with a 32-byte bit vector as XQueryKeymap fills it.
    void SetAll(std::span<const char, 32> bits);

    // True when a key that carries virtual key "vk" is down.
    bool IsDown(std::uint32_t vk) const;
    // A keycode that produces "vk", or 0 when the mapping has none.
    int KeycodeFor(std::uint32_t vk) const;

private:
    void SetDown(int keycode, bool down) {
        if (keycode >= 0 && keycode < 256) down_[keycode] = down;
    }

    std::array<bool, 256> down_{};
    std::array<std::vector<std::uint8_t>, 256> keycodes_;  // by virtual-key code
};

}  // namespace keysnare

#endif  // KEYSNARE_KEY_MAP_H
