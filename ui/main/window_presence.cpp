#include "ui/main/window_presence.h"

#include "app/program_settings.h"
#include "ui/main/secondary_windows.h"
#include "ui/main/tray_icon.h"
#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/widgets/w_form.h"

WindowPresence::WindowPresence(WForm* window, TrayIcon* tray, wordbay::ProgramSettings* settings,
                               const SecondaryWindows* windows, Hooks hooks)
    : m_window(window)
    , m_tray(tray)
    , m_settings(settings)
    , m_windows(windows)
    , m_hooks(std::move(hooks)) {}

void WindowPresence::bringToFront() {
    if (m_window->isMinimized()) {
        m_window->showNormal();
    } else {
        m_window->show();
    }
    m_window->raise();
    m_window->activateWindow();
}

void WindowPresence::restoreFromTray() {
    if (m_tray != nullptr) m_tray->hide();
    m_inTray = false;
    bringToFront();
}

bool WindowPresence::minimizeToTray() {
    // Without a notification area the window is minimised normally: an icon
    // nobody can see would leave no way back to it.
    if (!m_settings->minimize_to_tray || !TrayIcon::available()) return false;
    m_tray->show(m_window->windowTitle());
    m_inTray = true;
    m_window->hide();
    return true;
}

void WindowPresence::setAlwaysOnTop(bool on) {
    m_settings->main_on_top = on;
    if (on) {
        // Only one window can stay above the others.
        m_settings->popup_on_top = false;
        m_settings->tooltip_on_top = false;
        if (m_windows->popup()) {
            m_windows->popup()->applyOnTop();
            m_windows->popup()->hide();
        }
        if (m_windows->tooltip()) {
            m_windows->tooltip()->applyOnTop();
            m_windows->tooltip()->hide();
        }
    }
    m_window->setStaysOnTop(on);
    if (on) {
        m_window->show();
        m_window->raise();
    }
    m_hooks.statesChanged();
}

void WindowPresence::setHotKeyTarget(wordbay::HotKeyTarget target) {
    using wordbay::HotKeyTarget;
    m_settings->hot_key_target = target;
    m_hooks.statesChanged();
    if (target == HotKeyTarget::kMainWindow) {
        if (m_windows->popup()) m_windows->popup()->hide();
        if (m_windows->tooltip()) m_windows->tooltip()->hide();
        if (m_settings->main_on_top) setAlwaysOnTop(true);
    } else if (target == HotKeyTarget::kPopup) {
        if (m_windows->tooltip()) m_windows->tooltip()->hide();
        if (m_windows->popup() && m_settings->popup_on_top) m_windows->popup()->showPopup(true);
    } else if (target == HotKeyTarget::kTooltip) {
        if (m_windows->popup()) m_windows->popup()->hide();
        if (m_windows->tooltip() && m_settings->tooltip_on_top)
            m_windows->tooltip()->showTooltip(true);
    }
}
