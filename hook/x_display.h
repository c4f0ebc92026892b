// The X11 connection of one keysnare component and the helpers around it: errors trapped
// per call instead of reaching the host program's handler, a lost server noted instead of
// ending the process, the keyboard mapping and the active window.
#ifndef KEYSNARE_X_DISPLAY_H
#define KEYSNARE_X_DISPLAY_H

#include <X11/Xlib.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "hook/key_map.h"

namespace keysnare {

// One connection to the display named by $DISPLAY. When the server goes away, Xlib calls
// report it here and the process goes on; the owner then stops using the connection, and
// destroying it leaves the lost display's memory behind (Xlib cannot close it).
class XConnection {
public:
    // Null when there is no display to connect to.
    static std::unique_ptr<XConnection> Open();
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    Display* display() const { return display_; }
    bool lost() const { return lost_.load(std::memory_order_relaxed); }

private:
    explicit XConnection(Display* display);
    static void OnConnectionLost(Display* display, void* self);

    Display* display_;
    std::atomic<bool> lost_{false};
};

// Catches the X errors of "display" from construction to failed(): requests made in between
// that fail set the flag instead of reaching the process's error handler (whose default ends
// the program). Errors of other connections still go to the handler that was installed.
class ScopedErrorTrap {
public:
    explicit ScopedErrorTrap(Display* display);
    ~ScopedErrorTrap();
    ScopedErrorTrap(const ScopedErrorTrap&) = delete;
    ScopedErrorTrap& operator=(const ScopedErrorTrap&) = delete;

    // Waits for the server to answer every request made so far and tells whether one failed.
    bool failed();

private:
    Display* display_;
    bool failed_ = false;
    ScopedErrorTrap* outer_;  // the trap this thread had open before, if any
    static int OnError(Display* display, XErrorEvent* error);
};

// Loads the display's keyboard mapping into "keys".
void LoadKeyboardMapping(Display* display, KeyState* keys);

// The window that the window manager names active in the root property "net_active_window"
// (the atom _NET_ACTIVE_WINDOW), else the window that has the input focus, else 0.
std::uint32_t ActiveWindow(Display* display, Atom net_active_window);

}  // namespace keysnare

#endif  // KEYSNARE_X_DISPLAY_H
