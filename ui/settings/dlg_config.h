// DlgConfig: the interface page of the settings dialog: the hot-key
// combination and the window it calls, and the interface options.
//
// What it tells the main window (SettingsTarget) as the user clicks: hot
// keys on or off, a key of the combination chosen (stored in the settings
// first), the window the keys call, and the interface options it applies at
// once. Ticking main window on top is told only after the user agreed, and
// the page has already cleared popup and tooltip on top; ticking either of
// those has already cleared main window on top. "showsplash" the page keeps
// itself and tells nobody.
#pragma once

#include "ui/settings/settings_page.h"

class DlgConfig : public SettingsPage {
    Q_OBJECT

public:
    DlgConfig(const SettingsContext& context, SettingsTarget* target, QWidget* parent = nullptr);
    ~DlgConfig() override;

private:
    void createControls();
    void connectControls();
    void toggled(InterfaceOption option);
    void checkStoredKeys();
    void enableKeyChoices(bool on);
    void enableOnTopBoxes();
    void setChecked(int id, bool on);
    bool isChecked(int id) const;
    void keyChosen(int id, int row);
    bool mainOnTopTicked();
    void splashToggled();
};
