#include "ui/main/hot_key_filter.h"

#include <QGuiApplication>
#include <utility>

// After Qt: Xlib defines macros (Bool, Status) that Qt's headers also use.
#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include "ui/main/x11_desktop.h"

HotKeyFilter::HotKeyFilter(std::uint32_t message, std::function<void()> onMessage)
    : m_message(message), m_onMessage(std::move(onMessage)) {
    // Atoms belong to the server: one looked up on a connection of our own is
    // the one Qt's connection sees.
    if (!available()) return;
    if (Display* display = openOwnDisplay()) {
        m_atom = static_cast<std::uint32_t>(XInternAtom(display, "WM_HOTKEY_TRIGGER", False));
        XCloseDisplay(display);
    }
}

HotKeyFilter::~HotKeyFilter() = default;

bool HotKeyFilter::available() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

bool HotKeyFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (m_atom == 0 || eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->type != m_atom || client->format != 32 || client->data.data32[0] != m_message)
        return false;
    m_onMessage();
    return true;
}
