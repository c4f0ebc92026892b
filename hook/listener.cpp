#include "hook/listener.h"

#include <X11/extensions/XInput2.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

#include "hook/hook_procedure.h"

namespace keysnare {

std::unique_ptr<Listener> Listener::Start(HotKeyBlock* block) {
    std::unique_ptr<XConnection> connection = XConnection::Open();
    if (connection == nullptr) return nullptr;
    Display* display = connection->display();
    int xi_opcode = 0;
    int first_event = 0;
    int first_error = 0;
    if (!XQueryExtension(display, "XInputExtension", &xi_opcode, &first_event, &first_error)) {
        return nullptr;
    }
    {
        ScopedErrorTrap trap(display);
        int major = 2;
        int minor = 2;  // 2.1 and later send raw events also while another client grabs
        if (XIQueryVersion(display, &major, &minor) != Success || major < 2) return nullptr;
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
        XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
        XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
        if (trap.failed()) return nullptr;
    }
    const int wake_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_fd < 0) return nullptr;
    return std::unique_ptr<Listener>(
        new Listener(block, std::move(connection), xi_opcode, wake_fd));
}

Listener::Listener(HotKeyBlock* block, std::unique_ptr<XConnection> connection, int xi_opcode,
                   int wake_fd)
    : block_(block), connection_(std::move(connection)), xi_opcode_(xi_opcode), wake_fd_(wake_fd) {
    Display* display = connection_->display();
    trigger_atom_ = XInternAtom(display, "WM_HOTKEY_TRIGGER", False);
    net_active_window_ = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    LoadKeyboardMapping(display, &keys_);
    // Keys already held when the listener starts are down in the table from the start.
    char held[32] = {};
    XQueryKeymap(display, held);
    keys_.SetAll(held);
    try {
        thread_ = std::thread(&Listener::Run, this);
    } catch (...) {
        close(wake_fd_);
        throw;
    }
}

Listener::~Listener() {
    stop_.store(true);
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(wake_fd_, &one, sizeof one);
    if (thread_.joinable()) thread_.join();
    close(wake_fd_);
}

void Listener::Run() {
    Display* display = connection_->display();
    const int x_fd = ConnectionNumber(display);
    // The wake-up descriptor is never read: once written it keeps poll() returning, and the
    // loop sees stop_ at its next turn.
    while (!stop_.load()) {
        while (!connection_->lost() && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            Handle(&event);
        }
        if (connection_->lost()) return;
        pollfd fds[2] = {{x_fd, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
    }
}

void Listener::Handle(XEvent* event) {
    Display* display = connection_->display();
    if (event->type == MappingNotify) {
        XRefreshKeyboardMapping(&event->xmapping);
        if (event->xmapping.request == MappingKeyboard) LoadKeyboardMapping(display, &keys_);
        return;
    }
    if (event->type != GenericEvent || event->xcookie.extension != xi_opcode_) return;
    if (!XGetEventData(display, &event->xcookie)) return;
    const int type = event->xcookie.evtype;
    if (type == XI_RawKeyPress || type == XI_RawKeyRelease) {
        const auto* raw = static_cast<const XIRawEvent*>(event->xcookie.data);
        if (type == XI_RawKeyPress) {
            keys_.Press(raw->detail);
        } else {
            keys_.Release(raw->detail);
        }
        if (RunHookProcedure(*block_, keys_)) PostHotKeyMessage();
        key_events_.fetch_add(1, std::memory_order_release);
    }
    XFreeEventData(display, &event->xcookie);
}

void Listener::PostHotKeyMessage() {
    const Window target = Load(block_->target_window);
    if (target == None) return;
    Display* display = connection_->display();
    // A target window that no longer exists loses the message and nothing else happens.
    ScopedErrorTrap trap(display);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = trigger_atom_;
    event.xclient.format = 32;
    event.xclient.data.l[0] = Load(block_->message);
    event.xclient.data.l[1] = ActiveWindow(display, net_active_window_);
    XSendEvent(display, target, False, NoEventMask, &event);
    // Waits until the server has delivered it, which key_events() promises.
    [[maybe_unused]] const bool lost = trap.failed();
}

}  // namespace keysnare
