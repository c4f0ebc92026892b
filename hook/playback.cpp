#include "hook/playback.h"

#include <X11/extensions/XTest.h>

#include <array>
#include <chrono>
#include <thread>

#include "hook/key_map.h"
#include "hook/x_display.h"

namespace keysnare {
namespace {

// How often the wait for released modifiers looks at the keyboard again.
constexpr std::chrono::milliseconds kModifierPoll{10};

bool ModifierHeld(const KeyState& keys) {
    return keys.IsDown(kVkMenu) || keys.IsDown(kVkShift) || keys.IsDown(kVkControl);
}

}  // namespace

Playback::~Playback() {
    std::unique_lock lock(mutex_);
    if (running_) stop_.store(true);
    ended_.wait(lock, [this] { return !running_; });
}

std::int32_t Playback::Play(const std::uint32_t* keys, std::int32_t count) {
    {
        std::lock_guard lock(mutex_);
        if (running_) return 0;
        running_ = true;
        stop_.store(false);
    }
    std::int32_t result = 0;
    try {
        result = PlayClaimed(keys, count);
    } catch (...) {
        result = 0;
    }
    std::lock_guard lock(mutex_);
    running_ = false;
    ended_.notify_all();
    return result;
}

void Playback::Stop() {
    std::lock_guard lock(mutex_);
    if (running_) stop_.store(true);
}

bool Playback::running() {
    std::lock_guard lock(mutex_);
    return running_;
}

std::int32_t Playback::PlayClaimed(const std::uint32_t* keys, std::int32_t count) {
    if (count == 0) return 1;
    if (keys == nullptr || count < 0) return 0;
    const std::unique_ptr<XConnection> connection = XConnection::Open();
    if (connection == nullptr) return 0;
    Display* display = connection->display();
    KeyState state;
    LoadKeyboardMapping(display, &state);

    // Played keys would combine with a modifier the user still holds.
    for (;;) {
        if (stop_.load()) return 0;
        char held[32] = {};
        XQueryKeymap(display, held);
        if (connection->lost()) return 0;
        state.SetAll(held);
        if (!ModifierHeld(state)) break;
        std::this_thread::sleep_for(kModifierPoll);
    }

    int event_base = 0;
    int error_base = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &event_base, &error_base, &major, &minor)) return 0;

    ScopedErrorTrap trap(display);
    std::array<bool, 256> pressed{};  // by keycode: pressed by this list and not released
    for (std::int32_t i = 0; i < count; ++i) {
        if (stop_.load() || connection->lost()) {
            for (std::size_t keycode = 0; keycode < pressed.size(); ++keycode) {
                if (pressed[keycode]) {
                    XTestFakeKeyEvent(display, static_cast<unsigned>(keycode), False, CurrentTime);
                }
            }
            XSync(display, False);
            return 0;
        }
        const std::uint32_t entry = keys[i];
        const int keycode = state.KeycodeFor(entry & kKeyCodeMask);
        if (keycode == 0) continue;
        const bool press = (entry & kKeyPressBit) != 0;
        XTestFakeKeyEvent(display, static_cast<unsigned>(keycode), press ? True : False,
                          CurrentTime);
        pressed[static_cast<std::size_t>(keycode)] = press;
    }
    XSync(display, False);
    return connection->lost() ? 0 : 1;
}

}  // namespace keysnare
