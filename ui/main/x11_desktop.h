// What the main window asks of the X11 desktop beyond Qt: handing the focus
// back to the program the user worked in before, and typing keys into it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Opens a connection of the program's own to the X display (the one Qt uses
// is separate), or null. Windows of other programs may vanish between two
// requests on it: a request on a window gone away fails quietly instead of
// ending the program, as Xlib's default handler of protocol errors would.
struct _XDisplay;
_XDisplay* openOwnDisplay();

// Activates the first normal, visible top-level window below `own` in the
// window manager's stacking order (searched afresh each time; without `own`
// in the list, the topmost other window). False when there is no X display,
// no window manager list or no such window.
bool activateWindowBelow(std::uint64_t own);

// Plays Ctrl + `key` (a Windows virtual-key code: 'C', 'V') through keysnare:
// Ctrl down, key down, key up, Ctrl up. Blocks until played (it waits for the
// user to let go of Ctrl, Shift and Alt first); false when it could not play.
bool playCtrlKey(std::uint32_t key);

// The class part of WM_CLASS ("XTerm", "Konsole") of the top-level window
// that holds the keyboard focus; empty without an X display or focus.
std::string focusedWindowClass();

// The window the window manager holds active (the root window's
// _NET_ACTIVE_WINDOW): 0 when it names none; nothing without an X display or
// where the window manager does not say.
std::optional<std::uint64_t> desktopActiveWindow();

// Whether the keyboard is the program's: the desktop's active window
// (`desktopActive`, as desktopActiveWindow() gives it) is one of `own`. Only
// where the desktop does not say does Qt's idea (`qtActive`) count: under
// XWayland Qt can take one of the program's windows for active while the
// compositor still keeps the keyboard, and the selections, elsewhere.
bool keyboardIsOurs(std::optional<std::uint64_t> desktopActive,
                    const std::vector<std::uint64_t>& own, bool qtActive);

// Whether a window of that class is a terminal, where Ctrl+C interrupts the
// running command instead of copying.
bool isTerminalClass(std::string_view windowClass);

// Whether the desktop is a Wayland session (the program then runs on its
// X11 server, XWayland).
bool waylandSession();
