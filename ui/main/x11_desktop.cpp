#include "ui/main/x11_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <vector>

#include "hook/keysnare.h"

namespace {

constexpr std::uint32_t kVkControl = 0x11;
constexpr std::uint32_t kKeyDown = 0x8000;

// The window ids of a window-list property of `w`.
std::vector<Window> windowList(Display* d, Window w, const char* name, Atom type) {
    std::vector<Window> out;
    const Atom property = XInternAtom(d, name, True);
    if (property == None) return out;
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, property, 0, 65536, False, type, &actualType, &format, &count,
                           &after, &data) == Success &&
        data != nullptr && format == 32) {
        const auto* ids = reinterpret_cast<const unsigned long*>(data);
        out.assign(ids, ids + count);
    }
    if (data != nullptr) XFree(data);
    return out;
}

bool hasAtom(Display* d, Window w, const char* property, const char* value) {
    const Atom wanted = XInternAtom(d, value, True);
    if (wanted == None) return false;
    for (const Window a : windowList(d, w, property, XA_ATOM)) {
        if (a == wanted) return true;
    }
    return false;
}

// A window the user works in: not owned by another, not a tool, dock or
// desktop window, not minimised.
bool isNormalWindow(Display* d, Window w) {
    Window owner = None;
    if (XGetTransientForHint(d, w, &owner) != 0 && owner != None) return false;
    const std::vector<Window> types = windowList(d, w, "_NET_WM_WINDOW_TYPE", XA_ATOM);
    if (!types.empty() && !hasAtom(d, w, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL"))
        return false;
    return !hasAtom(d, w, "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN");
}

}  // namespace

bool activateWindowBelow(std::uint64_t own) {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) return false;
    const Window root = DefaultRootWindow(d);
    const std::vector<Window> stack =
        windowList(d, root, "_NET_CLIENT_LIST_STACKING", XA_WINDOW);  // bottom to top
    int start = static_cast<int>(stack.size()) - 1;
    for (int i = 0; i < static_cast<int>(stack.size()); ++i) {
        if (stack[i] == own) start = i - 1;
    }
    Window target = None;
    for (int i = start; i >= 0 && target == None; --i) {
        if (stack[i] != own && isNormalWindow(d, stack[i])) target = stack[i];
    }
    if (target != None) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = target;
        e.xclient.message_type = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = 2;  // a request on the user's behalf
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        XFlush(d);
    }
    XCloseDisplay(d);
    return target != None;
}

bool playCtrlKey(std::uint32_t key) {
    const std::uint32_t keys[] = {kVkControl | kKeyDown, key | kKeyDown, key, kVkControl};
    return SendKeys(keys, 4) == 1;
}
