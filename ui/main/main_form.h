// MainForm: the program's main window ("TQ_TALLIS2"). It shows the pane of
// the main dictionary and, in dual mode, the pane of the dual dictionary, the
// two-row button bar, the status strip and the menu, and owns the tray icon
// and the parts that do the window's jobs (the hot key, speech, word editing,
// the menus, the other windows, ...). Every menu item, accelerator, button
// and control notification arrives in command(), whose table
// (registerCommands()) hands it to the part it concerns; searches and every
// long job go to the search controller's worker, which reaches the window
// through its MainWindowView.
#pragma once

#include <QString>
#include <memory>

#include "app/main_view.h"
#include "app/program_dir.h"
#include "app/program_settings.h"
#include "app/search_options.h"
#include "ui/main/main_hot_key.h"
#include "ui/main/main_window_view.h"
#include "ui/main/qt_font_catalog.h"
#include "ui/main/secondary_windows.h"
#include "ui/widgets/command_table.h"
#include "ui/widgets/w_form.h"
#include "ui/widgets/w_message_box.h"

class ButtonBar;
class DailyLists;
class DictionaryPane;
class DictionaryDialogs;
class FocusedControl;
class MainMenus;
class MainSpeech;
class PaneModes;
class SearchSwitches;
class WordEditing;
class StatusStrip;
class TrayIcon;
class WTipManager;
class WindowPresence;

namespace wordbay {
class Catalogue;
class SearchController;
}  // namespace wordbay

class MainForm : public WForm {
    Q_OBJECT

public:
    // `paths`: the program folder and the folders and files inside it.
    explicit MainForm(const wordbay::ProgramPaths& paths, QWidget* parent = nullptr);
    ~MainForm() override;

    void command(int code, int id, WControl* control, qintptr param) override;

    // ---- State the start-up code and the tests look at ---------------------
    const wordbay::ProgramPaths& paths() const { return m_paths; }
    const wordbay::ProgramSettings& settings() const { return m_settings; }
    wordbay::SearchOptions options() const;
    bool editMode() const;
    DictionaryPane* pane(wordbay::SlotId slot) const;
    ButtonBar* buttonBar() const { return m_buttons; }
    StatusStrip* statusStrip() const { return m_status; }
    wordbay::SearchController* controller() const { return m_controller.get(); }
    // Places the window from the settings read at creation (clamped there)
    // and shows it, maximised when stored so, on top when stored so.
    void showAtStoredPlace();
    MainHotKey* hotKey() const { return m_hotKey.get(); }
    // The text translation, popup, tooltip and character map windows, made
    // after the main window and before it is shown.
    SecondaryWindows* windows() const { return m_windows.get(); }

protected:
    // Fails (negative) only when the engine handles of the two dictionary
    // slots could not be made.
    int onCreate() override;
    void onDestroy() override;
    bool onClose() override;
    void onActivate() override;
    void onContextMenu(const QPoint& globalPos, QWidget* source) override;
    bool onMinimize() override;
    void onHelp() override;

private:
    // Construction steps.
    void readSettings();
    void createControls();
    void createParts();
    // Every menu text, tip and caption from the interface language, with the
    // check marks and the enabling.
    void retranslate();
    void updateMenuStates();
    void buttonTablesFromLanguage();
    // What the worker's view, the hot key and the other windows ask of the
    // window itself.
    MainWindowView::Hooks viewHooks();
    MainHotKey::Hooks hotKeyHooks();
    SecondaryWindows::Hooks windowHooks();
    // A dictionary was shown in its pane: the other windows follow it, and
    // once it is loaded the speech.
    void dictionaryShown(wordbay::SlotId id, const wordbay::DictionarySlot& slot, bool loaded);
    // Fill the command table: what each command id does.
    void registerCommands();
    void registerWindowCommands();

    // Commands by subject.
    void chooseInterfaceLanguage();
    // Both write into `file` when given (closing writes the settings file
    // once), else into a pass of their own.
    void writeProgramSettings(const wordbay::SettingsFile* file = nullptr);

    void openSettings();
    bool mainLoaded() const;

    wordbay::ProgramPaths m_paths;
    wordbay::ProgramSettings m_settings;
    QtFontCatalog m_fonts;
    MessageBoxButtonTable m_buttonTexts;
    CommandTable m_commands;

    std::unique_ptr<MainMenus> m_menus;
    WTipManager* m_tips = nullptr;
    ButtonBar* m_buttons = nullptr;
    DictionaryPane* m_panes[2] = {};
    StatusStrip* m_status = nullptr;
    TrayIcon* m_tray = nullptr;

    bool m_editMode = false;
    bool m_closing = false;

    // The settings the window itself keeps ([options] it does not show).
    std::unique_ptr<wordbay::Catalogue> m_catalogue;
    int m_settingsTab = -1;
    std::unique_ptr<SecondaryWindows> m_windows;
    std::unique_ptr<DictionaryDialogs> m_dialogs;
    std::unique_ptr<FocusedControl> m_focus;
    std::unique_ptr<MainSpeech> m_speech;
    std::unique_ptr<SearchSwitches> m_switches;
    std::unique_ptr<WordEditing> m_editing;
    std::unique_ptr<MainHotKey> m_hotKey;
    std::unique_ptr<PaneModes> m_modes;
    std::unique_ptr<WindowPresence> m_presence;
    std::unique_ptr<DailyLists> m_lists;
    // The window as the worker sees it.
    std::unique_ptr<MainWindowView> m_view;
    // Last: created after everything it calls back into, destroyed first.
    std::unique_ptr<wordbay::SearchController> m_controller;
};
