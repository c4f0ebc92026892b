// The keyboard hook of one process: a thread that reads the raw key events of the whole
// display through XInput2, keeps the key-down table, runs the hook procedure on every event
// and sends the hot-key message to the target window.
#ifndef KEYSNARE_LISTENER_H
#define KEYSNARE_LISTENER_H

#include <X11/Xlib.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "hook/hot_key_block.h"
#include "hook/key_map.h"
#include "hook/x_display.h"

namespace keysnare {

class Listener {
public:
    // Connects to $DISPLAY, asks for raw key events of every master keyboard and starts the
    // thread. Null when there is no display or it lacks XInput 2.0. "block" must outlive
    // the listener.
    static std::unique_ptr<Listener> Start(HotKeyBlock* block);
    // Stops the thread and waits for it.
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // Raw key events handled so far. An event counts once its message, if any, has been
    // sent and processed by the server, so a test that waits for the count to reach the
    // events it made has seen every message they caused.
    std::uint64_t key_events() const { return key_events_.load(std::memory_order_acquire); }
    // True once the X server has gone away; the thread has then ended.
    bool lost() const { return connection_->lost(); }

private:
    Listener(HotKeyBlock* block, std::unique_ptr<XConnection> connection, int xi_opcode,
             int wake_fd);
    void Run();
    void Handle(XEvent* event);
    void PostHotKeyMessage();

    HotKeyBlock* block_;
    std::unique_ptr<XConnection> connection_;
    int xi_opcode_;
    int wake_fd_;  // eventfd written to stop the thread
    Atom trigger_atom_ = None;
    Atom net_active_window_ = None;
    KeyState keys_;  // used by the thread only once it runs
    std::atomic<std::uint64_t> key_events_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;  // last: starts once everything above exists
};

}  // namespace keysnare

#endif  // KEYSNARE_LISTENER_H
