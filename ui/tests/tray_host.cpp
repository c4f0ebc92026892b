// A bare notification area for the window tests on a private X server: owns
// the system tray selection of screen 0 and announces it, so that programs
// see a tray. Icons asking to dock are accepted and left unmapped.
//
// usage: tray_host   (runs until killed)
#include <X11/Xlib.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "tray_host: no display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    const Window owner = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
    const Atom selection = XInternAtom(display, "_NET_SYSTEM_TRAY_S0", False);
    XSetSelectionOwner(display, selection, owner, CurrentTime);
    if (XGetSelectionOwner(display, selection) != owner) {
        std::fprintf(stderr, "tray_host: another tray owns the selection\n");
        return 1;
    }
    XEvent manager{};
    manager.xclient.type = ClientMessage;
    manager.xclient.window = root;
    manager.xclient.message_type = XInternAtom(display, "MANAGER", False);
    manager.xclient.format = 32;
    manager.xclient.data.l[0] = CurrentTime;
    manager.xclient.data.l[1] = static_cast<long>(selection);
    manager.xclient.data.l[2] = static_cast<long>(owner);
    XSendEvent(display, root, False, StructureNotifyMask, &manager);
    XFlush(display);
    std::printf("tray ready\n");
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
    }
}
