// MainCommands: what each menu item, key, button and control of the main
// window does. It connects every one of them straight to the part that
// handles it (Qt's signals: an action's triggered(), a key's activated(), a
// button's activated(), an edit box's textChanged() and entered(), a list's
// rowChosen() and dragMoved()), and takes what the settings pages change
// while they are open. The command ids serve only to find an action, key or
// button of the menu, key and button tables.
#pragma once

#include "ui/settings/settings_target.h"

class ButtonBar;
class DailyLists;
class DictionaryDialogs;
class FocusedControl;
class MainForm;
class MainHotKey;
class MainSpeech;
class PaneModes;
class SearchSwitches;
class SecondaryWindows;
class TrayIcon;
class WindowPresence;
class WordEditing;

namespace wordbay {
class SearchController;
struct DictionarySettings;
struct ProgramPaths;
struct ProgramSettings;
}  // namespace wordbay

class MainCommands : public SettingsTarget {
public:
    // The main window and its parts; all of them outlive this object.
    struct Parts {
        MainForm* form = nullptr;
        const wordbay::ProgramPaths* paths = nullptr;
        wordbay::ProgramSettings* settings = nullptr;
        wordbay::SearchController* controller = nullptr;
        ButtonBar* buttons = nullptr;
        TrayIcon* tray = nullptr;
        DailyLists* lists = nullptr;
        PaneModes* modes = nullptr;
        SearchSwitches* switches = nullptr;
        DictionaryDialogs* dialogs = nullptr;
        WordEditing* editing = nullptr;
        FocusedControl* focus = nullptr;
        MainHotKey* hotKey = nullptr;
        MainSpeech* speech = nullptr;
        WindowPresence* presence = nullptr;
        SecondaryWindows* windows = nullptr;
        // What the colour pages show: kept up to date with each view change.
        wordbay::DictionarySettings* shownSettings = nullptr;
    };

    explicit MainCommands(const Parts& parts);

    // Connects the menus, keys, buttons, the panes' controls and the tray
    // icon; once, after all of them are made.
    void connectAll();

    void hotKeysSwitched() override;
    void hotKeyChosen(int which, const char* name) override;
    void hotKeyTargetChosen(wordbay::HotKeyTarget target) override;
    void interfaceOptionToggled(InterfaceOption option) override;
    void viewChanged(int viewId, int value) override;

private:
    // `slot` runs whenever command `id` is chosen: from the menu, its key or
    // its button of the button bar.
    template <typename Slot>
    void onChosen(int id, Slot slot);
    void connectPanes();
    void connectDictionaryCommands();
    void connectEditingCommands();
    void connectWindowCommands();
    void toggleSpeech();

    Parts m_parts;
};
