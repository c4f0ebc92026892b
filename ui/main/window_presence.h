// WindowPresence: how the main window stands among the others: brought to
// the front, kept on top, hidden in the tray, and which window the hot key
// calls (the main window, the popup or the tooltip).
#pragma once

#include <functional>

#include "app/search_options.h"

class SecondaryWindows;
class TrayIcon;
class WForm;

namespace wordbay {
struct ProgramSettings;
}  // namespace wordbay

class WindowPresence {
public:
    struct Hooks {
        // The check marks of the menus are out of date.
        std::function<void()> statesChanged;
    };

    // Keeps `window`'s on-top, tray and hot-key target settings in
    // `settings`.
    WindowPresence(WForm* window, TrayIcon* tray, wordbay::ProgramSettings* settings,
                   const SecondaryWindows* windows, Hooks hooks);

    void bringToFront();
    void restoreFromTray();
    // Hides the window in the tray when the settings ask for it and the
    // desktop has a tray; false when the window is to be minimised normally.
    bool minimizeToTray();
    bool inTray() const { return m_inTray; }
    void setAlwaysOnTop(bool on);
    void setHotKeyTarget(wordbay::HotKeyTarget target);

private:
    WForm* m_window;
    TrayIcon* m_tray;
    wordbay::ProgramSettings* m_settings;
    const SecondaryWindows* m_windows;
    Hooks m_hooks;
    bool m_inTray = false;
};
