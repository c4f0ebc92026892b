// The state of keysnare in one process: its mapping of the shared block, its keyboard
// listener and its playback. The exported functions of the library act on one instance made
// when the library is loaded; tests make their own with a block of their own.
#ifndef KEYSNARE_HOT_KEY_H
#define KEYSNARE_HOT_KEY_H

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "hook/hot_key_block.h"
#include "hook/listener.h"
#include "hook/playback.h"

namespace keysnare {

// Each method does what the exported function of the same name does (see keysnare.h), and
// may be called from any thread.
class HotKey {
public:
    // Maps the block "block_name"; when that fails the instance runs without a block.
    explicit HotKey(const std::string& block_name);
    // Stops the listener and any playback before the block goes.
    ~HotKey();
    HotKey(const HotKey&) = delete;
    HotKey& operator=(const HotKey&) = delete;

    std::int32_t SetKeysnare(std::uint32_t target_window, std::uint32_t message);
    std::int32_t SetKeySchortcut(std::uint32_t first_key, std::uint32_t second_key,
                                 std::uint32_t third_key);
    std::int32_t KillKeysnare();
    std::int32_t SendKeys(const std::uint32_t* keys, std::int32_t count) {
        return playback_.Play(keys, count);
    }
    std::int32_t Wep() {
        playback_.Stop();
        return 1;
    }

    // The shared block, or null when it could not be mapped.
    HotKeyBlock* block() { return block_ ? &block_->fields() : nullptr; }
    // True while a SendKeys of this instance waits or plays.
    bool playing() { return playback_.running(); }
    // Raw key events the listener has handled (see Listener::key_events); 0 without one.
    std::uint64_t key_events();

private:
    std::unique_ptr<SharedBlock> block_;
    int owner_pid_;
    std::mutex listener_mutex_;
    std::unique_ptr<Listener> listener_;  // guarded by listener_mutex_
    Playback playback_;
};

}  // namespace keysnare

#endif  // KEYSNARE_HOT_KEY_H
