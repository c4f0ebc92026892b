// SettingsTarget: what the settings pages change in the running program
// while the dialog is open. The main window implements it: it changes the
// option and applies it at once.
#pragma once

#include <QtGlobal>

#include "app/program_settings.h"

// The interface page's options that the program applies as they change.
enum class InterfaceOption {
    kMinimizeToTray,
    // Ticking it is passed on only after the user agreed, and the page has
    // already cleared popup and tooltip on top.
    kMainOnTop,
    // Ticking either has already cleared main window on top.
    kPopupOnTop,
    kTooltipOnTop,
    // Move the popup or the tooltip to the mouse pointer.
    kSnapPopup,
    kSnapTooltip,
};

class SettingsTarget {
public:
    // Hot keys on or off (the page's box shows the new state).
    virtual void hotKeysSwitched() = 0;
    // Key `which` (1 to 3) of the combination was chosen; the page has
    // stored it in the settings. `name` names it (static text; empty for
    // the third key's "none").
    virtual void hotKeyChosen(int which, const char* name) = 0;
    // The window the hot keys call.
    virtual void hotKeyTargetChosen(wordbay::HotKeyTarget target) = 0;
    virtual void interfaceOptionToggled(InterfaceOption option) = 0;
    // A font or colour control of the colour pages was used: `viewId` names
    // it (ui/settings/view_ids.h says what it changes); `value` is the row a
    // list chose, else 0.
    virtual void viewChanged(int viewId, int value) = 0;

protected:
    ~SettingsTarget() = default;
};
