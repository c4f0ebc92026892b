#include "hook/hot_key.h"

#include <unistd.h>

namespace keysnare {

HotKey::HotKey(const std::string& block_name)
    : block_(SharedBlock::Open(block_name)), owner_pid_(getpid()) {}

HotKey::~HotKey() {
    // A forked child has a copy of the listener but not its thread: it must not be joined.
    if (getpid() != owner_pid_) static_cast<void>(listener_.release());
    listener_.reset();
}

std::int32_t HotKey::SetKeysnare(std::uint32_t target_window, std::uint32_t message) {
    HotKeyBlock* fields = block();
    if (fields == nullptr) return 0;
    Store(fields->target_window, target_window);
    Store(fields->message, message);
    Store(fields->armed, 0);
    std::lock_guard lock(listener_mutex_);
    // A running listener reads target and message from the block, so it simply goes on;
    // a second one would see every key twice. One whose server has gone is replaced.
    if (listener_ != nullptr && listener_->lost()) listener_.reset();
    if (listener_ == nullptr) {
        try {
            listener_ = Listener::Start(fields);
        } catch (...) {
            listener_.reset();
        }
    }
    return listener_ != nullptr ? 1 : 0;
}

std::int32_t HotKey::SetKeySchortcut(std::uint32_t first_key, std::uint32_t second_key,
                                     std::uint32_t third_key) {
    HotKeyBlock* fields = block();
    if (fields == nullptr) return 0;
    Store(fields->first_key, first_key);
    Store(fields->second_key, second_key);
    Store(fields->third_key, third_key);
    return 1;
}

std::int32_t HotKey::KillKeysnare() {
    std::unique_ptr<Listener> stopping;
    {
        std::lock_guard lock(listener_mutex_);
        stopping = std::move(listener_);
    }
    return 1;  // the listener stops here, outside the lock
}

std::uint64_t HotKey::key_events() {
    std::lock_guard lock(listener_mutex_);
    return listener_ != nullptr ? listener_->key_events() : 0;
}

}  // namespace keysnare
