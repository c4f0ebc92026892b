#include "hook/x_display.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace keysnare {
namespace {

// The error handler is one per process. The first open trap installs ours and the last one
// puts back what it found, unless the program has installed another handler meanwhile.
std::mutex g_handler_mutex;
int g_open_traps = 0;                                    // guarded by g_handler_mutex
std::atomic<XErrorHandler> g_previous_handler{nullptr};  // read by OnError without the lock
thread_local ScopedErrorTrap* t_innermost_trap = nullptr;

// The handler of a lost connection is one per process too, and Xlib's own ends the process.
// Ours returns for the connections of this library, so that their exit handler runs and
// the process goes on; for every other connection it calls the handler it replaced. It is
// installed while a connection of ours is open.
std::mutex g_io_mutex;
std::vector<Display*> g_our_displays;             // guarded by g_io_mutex
XIOErrorHandler g_previous_io_handler = nullptr;  // guarded by g_io_mutex

int OnConnectionError(Display* display) {
    XIOErrorHandler previous = nullptr;
    {
        std::lock_guard lock(g_io_mutex);
        if (std::find(g_our_displays.begin(), g_our_displays.end(), display) !=
            g_our_displays.end()) {
            return 0;
        }
        previous = g_previous_io_handler;
    }
    return previous != nullptr ? previous(display) : 0;
}

}  // namespace

std::unique_ptr<XConnection> XConnection::Open() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    std::unique_ptr<XConnection> connection(new XConnection(display));
    XSetIOErrorExitHandler(display, &XConnection::OnConnectionLost, connection.get());
    std::lock_guard lock(g_io_mutex);
    if (g_our_displays.empty()) {
        const XIOErrorHandler previous = XSetIOErrorHandler(&OnConnectionError);
        if (previous != &OnConnectionError) g_previous_io_handler = previous;
    }
    g_our_displays.push_back(display);
    return connection;
}

XConnection::XConnection(Display* display) : display_(display) {}

XConnection::~XConnection() {
    if (lost()) {
        // Xlib leaves a lost connection locked, and XCloseDisplay would wait for it forever:
        // the display's memory stays allocated, only its socket is closed.
        close(ConnectionNumber(display_));
    } else {
        XCloseDisplay(display_);
    }
    std::lock_guard lock(g_io_mutex);
    std::erase(g_our_displays, display_);
    if (g_our_displays.empty()) {
        const XIOErrorHandler current = XSetIOErrorHandler(g_previous_io_handler);
        if (current != &OnConnectionError) XSetIOErrorHandler(current);
    }
}

void XConnection::OnConnectionLost(Display* /*display*/, void* self) {
    // Returning instead of exiting leaves the connection unusable but the process alive.
    static_cast<XConnection*>(self)->lost_.store(true, std::memory_order_relaxed);
}

ScopedErrorTrap::ScopedErrorTrap(Display* display) : display_(display), outer_(t_innermost_trap) {
    {
        std::lock_guard lock(g_handler_mutex);
        if (g_open_traps++ == 0) {
            // Ours may still be installed when the program put it back after a trap of ours
            // closed; chaining to ourselves would recurse.
            const XErrorHandler previous = XSetErrorHandler(&OnError);
            if (previous != &OnError) g_previous_handler.store(previous);
        }
    }
    t_innermost_trap = this;
    // Errors of requests made before the trap are caught too, but not counted.
    XSync(display_, False);
    failed_ = false;
}

ScopedErrorTrap::~ScopedErrorTrap() {
    XSync(display_, False);
    t_innermost_trap = outer_;
    std::lock_guard lock(g_handler_mutex);
    if (--g_open_traps == 0) {
        const XErrorHandler current = XSetErrorHandler(g_previous_handler.load());
        if (current != &OnError) XSetErrorHandler(current);
    }
}

bool ScopedErrorTrap::failed() {
    XSync(display_, False);
    return failed_;
}

int ScopedErrorTrap::OnError(Display* display, XErrorEvent* error) {
    for (ScopedErrorTrap* trap = t_innermost_trap; trap != nullptr; trap = trap->outer_) {
        if (trap->display_ == display) {
            trap->failed_ = true;
            return 0;
        }
    }
    const XErrorHandler previous = g_previous_handler.load();
    return previous != nullptr ? previous(display, error) : 0;
}

void LoadKeyboardMapping(Display* display, KeyState* keys) {
    int min_keycode = 0;
    int max_keycode = 0;
    XDisplayKeycodes(display, &min_keycode, &max_keycode);
    int per_keycode = 0;
    const int count = max_keycode - min_keycode + 1;
    KeySym* mapping = count > 0 ? XGetKeyboardMapping(display, static_cast<KeyCode>(min_keycode),
                                                      count, &per_keycode)
                                : nullptr;
    if (mapping == nullptr) {
        keys->SetKeyboardMapping(min_keycode, 0, {});
        return;
    }
    std::vector<Keysym> keysyms(static_cast<std::size_t>(count) * per_keycode);
    for (std::size_t i = 0; i < keysyms.size(); ++i) {
        keysyms[i] = static_cast<Keysym>(mapping[i]);
    }
    XFree(mapping);
    keys->SetKeyboardMapping(min_keycode, per_keycode, keysyms);
}

std::uint32_t ActiveWindow(Display* display, Atom net_active_window) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long bytes_after = 0;
    unsigned char* data = nullptr;
    Window active = None;
    if (XGetWindowProperty(display, DefaultRootWindow(display), net_active_window, 0, 1, False,
                           XA_WINDOW, &type, &format, &items, &bytes_after, &data) == Success &&
        data != nullptr) {
        // Xlib hands out 32-bit properties as an array of long.
        if (type == XA_WINDOW && format == 32 && items == 1) {
            std::memcpy(&active, data, sizeof active);
        }
        XFree(data);
    }
    if (active != None) return static_cast<std::uint32_t>(active);
    Window focus = None;
    int revert_to = 0;
    XGetInputFocus(display, &focus, &revert_to);
    return focus > PointerRoot ? static_cast<std::uint32_t>(focus) : 0;
}

}  // namespace keysnare
