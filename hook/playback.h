// Keystroke playback: a list of virtual-key presses and releases typed into the X server
// through XTest, one playback per process at a time.
#ifndef KEYSNARE_PLAYBACK_H
#define KEYSNARE_PLAYBACK_H

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace keysnare {

// Entry bits of a key list.
constexpr std::uint32_t kKeyCodeMask = 0xFF;    // virtual-key code
constexpr std::uint32_t kKeyPressBit = 0x8000;  // set: press, clear: release

class Playback {
public:
    Playback() = default;
    // Interrupts a playback still running and waits until its caller has left.
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    // Waits until ALT, SHIFT and CONTROL are released, then plays "count" entries of "keys".
    // Returns 1 when all were played or "count" is 0; 0 when another playback is running
    // (it goes on), "keys" is null or "count" negative, the display cannot be reached or
    // lacks XTest, or Stop() interrupted it. An interrupted playback releases the keys it
    // pressed and had not released, so that none stays stuck down.
    std::int32_t Play(const std::uint32_t* keys, std::int32_t count);
    // Interrupts the running playback, if any; it ends within a few milliseconds.
    void Stop();
    // True from the moment a Play call has claimed the playback until it returns.
    bool running();

private:
    std::int32_t PlayClaimed(const std::uint32_t* keys, std::int32_t count);

    std::mutex mutex_;
    std::condition_variable ended_;
    bool running_ = false;  // guarded by mutex_
    std::atomic<bool> stop_{false};
};

}  // namespace keysnare

#endif  // KEYSNARE_PLAYBACK_H
