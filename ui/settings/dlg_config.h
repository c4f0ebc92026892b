// DlgConfig: the interface page of the settings dialog: the hot-key
// combination and the window it calls, and the interface options.
//
// Commands forwarded to the main window (control id of config_ids.h, code):
//   7002 (0)        hot keys on or off (the box shows the new state)
//   7003, 7004 (9)  first or second key chosen; the page has stored key1 or
//                   key2 = row + 1; the parameter is the key's name (const
//                   char*, static)
//   7005 (9)        third key chosen; the page has stored key3 = row (0 none)
//   7007-7009 (0)   hot keys call the main, popup or tooltip window
//   7011 (0)        minimise to the tray toggled
//   7012 (0)        main window always on top toggled; ticking it is sent
//                   only after the user agreed, and the page has already
//                   cleared popup and tooltip on top
//   7013, 7014 (0)  popup or tooltip on top toggled; ticking one has already
//                   cleared main window always on top
//   7017, 7018 (0)  move the popup or tooltip to the mouse pointer toggled
// "showsplash" (7015) the page keeps itself and sends nothing.
#pragma once

#include "ui/settings/settings_page.h"
#include "ui/widgets/command_table.h"

class DlgConfig : public SettingsPage {
    Q_OBJECT

public:
    DlgConfig(const SettingsContext& context, CommandTarget* target, QWidget* parent = nullptr);
    ~DlgConfig() override;

    void command(int code, int id, WControl* control, qintptr param) override;

private:
    void createControls();
    void registerCommands();
    void checkStoredKeys();
    void enableKeyChoices(bool on);
    void enableOnTopBoxes();
    void setChecked(int id, bool on);
    bool isChecked(int id) const;
    void keyChosen(int id, WControl* control, int row);
    bool mainOnTopTicked();
    void splashToggled();

    CommandTable m_commands;
};
