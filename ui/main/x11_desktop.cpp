#include "ui/main/x11_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
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

// Protocol errors of the program's own connections: a window asked about has
// gone away, and the answer is simply empty. The hot-key library installs a
// handler of its own around its requests and passes others on to this one.
int ignoreProtocolError(Display* /*display*/, XErrorEvent* /*error*/) { return 0; }

}  // namespace

Display* openOwnDisplay() {
    static const bool installed = [] {
        XSetErrorHandler(&ignoreProtocolError);
        return true;
    }();
    (void)installed;
    return XOpenDisplay(nullptr);
}

bool activateWindowBelow(std::uint64_t own) {
    Display* d = openOwnDisplay();
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

std::string focusedWindowClass() {
    Display* d = openOwnDisplay();
    if (d == nullptr) return {};
    Window w = None;
    int revert = 0;
    XGetInputFocus(d, &w, &revert);
    std::string found;
    // The focus may sit on a child of the program's window (xterm's text
    // area): climb to the first window that names its class.
    for (int depth = 0; depth < 16 && w != None && w != PointerRoot && found.empty(); ++depth) {
        XClassHint hint{};
        if (XGetClassHint(d, w, &hint) != 0) {
            if (hint.res_class != nullptr) found = hint.res_class;
            if (found.empty() && hint.res_name != nullptr) found = hint.res_name;
            if (hint.res_name != nullptr) XFree(hint.res_name);
            if (hint.res_class != nullptr) XFree(hint.res_class);
            if (!found.empty()) break;
        }
        Window root = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(d, w, &root, &parent, &children, &count) == 0) break;
        if (children != nullptr) XFree(children);
        if (parent == root) break;
        w = parent;
    }
    XCloseDisplay(d);
    return found;
}

std::optional<std::uint64_t> desktopActiveWindow() {
    Display* d = openOwnDisplay();
    if (d == nullptr) return std::nullopt;
    const std::vector<Window> active =
        windowList(d, DefaultRootWindow(d), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    XCloseDisplay(d);
    if (active.empty()) return std::nullopt;
    return static_cast<std::uint64_t>(active.front());
}

bool keyboardIsOurs(std::optional<std::uint64_t> desktopActive,
                    const std::vector<std::uint64_t>& own, bool qtActive) {
    if (!desktopActive) return qtActive;
    return *desktopActive != 0 && std::find(own.begin(), own.end(), *desktopActive) != own.end();
}

bool isTerminalClass(std::string_view windowClass) {
    std::string lower(windowClass);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.empty()) return false;
    // Most terminals say so in their class (XTerm, Gnome-terminal,
    // Xfce4-terminal, Mate-terminal, QTerminal, LXTerminal, Terminator,
    // Terminology); the rest by name.
    if (lower.find("term") != std::string::npos) return true;
    static constexpr std::string_view kTerminals[] = {
        "urxvt",
        "rxvt",
        "konsole",
        "kitty",
        "alacritty",
        "foot",
        "footclient",
        "org.wezfurlong.wezterm",
        "tilix",
        "com.gexperts.tilix",
        "guake",
        "yakuake",
        "tilda",
        "sakura",
        "st",
        "st-256color",
        "hyper",
        "contour",
        "ghostty",
        "com.mitchellh.ghostty",
        "blackbox",
        "ptyxis",
        "kgx",
        "org.gnome.console",
        "org.gnome.ptyxis",
        "cool-retro-term",
        "zutty",
        "wayst",
        "roxterm",
    };
    return std::find(std::begin(kTerminals), std::end(kTerminals), lower) != std::end(kTerminals);
}

bool waylandSession() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return display != nullptr && *display != '\0';
}
