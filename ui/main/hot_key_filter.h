// HotKeyFilter: receives the hot-key message of keysnare. The hook sends the
// main window an X11 client message of type "WM_HOTKEY_TRIGGER" whose first
// data word is the message number; the filter hands each one to `onMessage`
// on the user-interface thread and keeps it from Qt.
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>

class HotKeyFilter : public QAbstractNativeEventFilter {
public:
    // `message`: the number the hook was given (WM_HOTKEY_TRIGGER).
    HotKeyFilter(std::uint32_t message, std::function<void()> onMessage);
    ~HotKeyFilter() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // Whether the program runs on an X11 display (the only place a hot key exists).
    static bool available();

private:
    std::uint32_t m_message;
    std::uint32_t m_atom = 0;
    std::function<void()> m_onMessage;
};
