// MainForm: the program's main window ("TQ_TALLIS2"). It shows the pane of
// the main dictionary and, in dual mode, the pane of the dual dictionary, the
// two-row button bar, the status strip and the menu, and owns the tray icon
// and the parts that do the window's jobs (the hot key, speech, word editing,
// the menus, the other windows, ...). Every menu item, accelerator, button
// and control of the window is connected to the part that handles it;
// searches and every long job go to the search controller's worker, whose
// answers reach the window as queued signals (WorkerUpdates).
#pragma once

#include <QString>
#include <memory>

#include "app/dictionary_slot.h"
#include "app/program_dir.h"
#include "app/program_settings.h"
#include "app/search_options.h"
#include "ui/main/main_hot_key.h"
#include "ui/main/qt_font_catalog.h"
#include "ui/main/secondary_windows.h"
#include "ui/widgets/w_form.h"
#include "ui/widgets/w_message_box.h"

class ButtonBar;
class DailyLists;
class DictionaryPane;
class DictionaryDialogs;
class FocusedControl;
class MainCommands;
class MainMenus;
class MainSpeech;
class PaneDisplay;
class PaneModes;
class SearchSwitches;
class WordEditing;
class StatusDisplay;
class StatusStrip;
class TrayIcon;
class WTipManager;
class WindowPresence;
class WorkerUpdates;

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

    // A later start of the program asked for `request` (cmd::kActivateInstance:
    // come forward; cmd::kTranslateSelection: act as on the hot key).
    void requestFromOtherStart(int request);
    // The menus' check marks and enabling, and the button bar's, from the
    // options in force.
    void updateMenuStates();
    void chooseInterfaceLanguage();
    void openSettings();

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
    void buttonTablesFromLanguage();
    // What the hot key and the other windows ask of the window itself.
    MainHotKey::Hooks hotKeyHooks();
    SecondaryWindows::Hooks windowHooks();
    // The worker's updates, each to the part that applies it.
    void connectUpdates();
    // A dictionary was shown in its pane: the other windows follow it, and
    // once it is loaded the speech.
    void dictionaryShown(wordbay::SlotId id, bool loaded);
    // The speech engines start when speech is on.
    void startSpeech();

    // Both write into `file` when given (closing writes the settings file
    // once), else into a pass of their own.
    void writeProgramSettings(const wordbay::SettingsFile* file = nullptr);

    bool mainLoaded() const;

    wordbay::ProgramPaths m_paths;
    wordbay::ProgramSettings m_settings;
    QtFontCatalog m_fonts;
    MessageBoxButtonTable m_buttonTexts;

    std::unique_ptr<MainMenus> m_menus;
    WTipManager* m_tips = nullptr;
    ButtonBar* m_buttons = nullptr;
    DictionaryPane* m_panes[2] = {};
    StatusStrip* m_status = nullptr;
    TrayIcon* m_tray = nullptr;

    bool m_closing = false;
    bool m_startupRequested = false;

    // The settings the window itself keeps ([options] it does not show).
    std::unique_ptr<wordbay::Catalogue> m_catalogue;
    int m_settingsTab = -1;
    // What the colour pages of the open settings dialog show: the main
    // dictionary's settings, kept up to date with each change.
    wordbay::DictionarySettings m_shownSettings;
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
    // Each menu item, key, button and control to what it does.
    std::unique_ptr<MainCommands> m_commands;
    // The worker's updates, and the parts that apply those to the panes and
    // the status strip.
    std::unique_ptr<WorkerUpdates> m_updates;
    std::unique_ptr<PaneDisplay> m_paneDisplay;
    std::unique_ptr<StatusDisplay> m_statusDisplay;
    // Last: created after everything it calls back into, destroyed first.
    std::unique_ptr<wordbay::SearchController> m_controller;
};
