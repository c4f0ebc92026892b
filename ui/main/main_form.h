// MainForm: the program's main window ("TQ_TALLIS2"). It shows the pane of
// the main dictionary and, in dual mode, the pane of the dual dictionary, the
// two-row button bar, the status strip and the menu; it owns the tray icon and
// answers the hot-key message. Every menu item, accelerator, button and
// control notification arrives in command() and becomes an action: options
// change here, searches and every long job go to the search controller's
// worker. The window is also the MainView of the controller: each of those
// operations, called from the worker, runs on the user-interface thread while
// the worker waits.
#pragma once

#include <QPointer>
#include <QString>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "app/main_view.h"
#include "app/program_dir.h"
#include "app/program_settings.h"
#include "app/search_options.h"
#include "ui/main/qt_font_catalog.h"
#include "ui/widgets/w_form.h"
#include "ui/widgets/w_message_box.h"

class ButtonBar;
class CharmapForm;
class DictionaryPane;
class Main1Form;
class PopupForm;
class PopupTooltipForm;
struct TextDictionaries;
class HotKeyFilter;
class HotKeyPortal;
class HotKeySelection;
class QMenu;
class QMenuBar;
class QTimer;
class StatusStrip;
class TrayIcon;
class WListBox;
class WTipManager;
class WordChangeEdit;

namespace speech {
class SpeechPane;
}  // namespace speech

namespace wordbay {
class Catalogue;
class SearchController;
}  // namespace wordbay

class MainForm : public WForm, public wordbay::MainView {
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
    bool inTray() const { return m_inTray; }
    DictionaryPane* pane(wordbay::SlotId slot) const;
    ButtonBar* buttonBar() const { return m_buttons; }
    StatusStrip* statusStrip() const { return m_status; }
    wordbay::SearchController* controller() const { return m_controller.get(); }
    // Places the window from the settings read at creation (clamped there)
    // and shows it, maximised when stored so, on top when stored so.
    void showAtStoredPlace();
    // The hot-key message arrived (the X11 filter saw it): reads the
    // selection and looks it up in the hot key's window.
    void onHotKeyMessage();
    // The same asked from outside (a later start with --translate-selection,
    // the desktop's shortcut): under Wayland the window comes forward first.
    void translateSelection();
    // Brings the window to the front, out of the tray.
    void bringToFront();
    // Creates the text translation window, then the popup, tooltip and
    // character map windows (after the main window, before it is shown).
    void createSecondaryWindows();
    Main1Form* textWindow() const { return m_textWindow.get(); }
    PopupForm* popup() const { return m_popup.get(); }
    PopupTooltipForm* tooltip() const { return m_tooltip.get(); }
    CharmapForm* charmap() const { return m_charmap.get(); }

    // ---- MainView -----------------------------------------------------------
    void ShowList(wordbay::SlotId slot, wordbay::ListSide side, const char* const* items,
                  int count) override;
    void SelectListEntry(wordbay::SlotId slot, wordbay::ListSide side, int index) override;
    std::optional<std::string> SelectedWord(wordbay::SlotId slot, wordbay::ListSide side) override;
    int SelectedIndex(wordbay::SlotId slot, wordbay::ListSide side) override;
    void RedrawList(wordbay::SlotId slot, wordbay::ListSide side) override;
    std::string EditText(wordbay::SlotId slot, wordbay::ListSide side) override;
    void SetEditText(wordbay::SlotId slot, wordbay::ListSide side, std::string_view text) override;
    void FocusEdit(wordbay::SlotId slot, wordbay::ListSide side) override;
    void FocusList(wordbay::SlotId slot, wordbay::ListSide side) override;
    void EnableSlotControls(wordbay::SlotId slot, bool enabled) override;
    void EnableMenus(bool enabled) override;
    void RefreshView(wordbay::SlotId id, const wordbay::DictionarySlot& slot) override;
    void SetTitles(const wordbay::WindowTitles& titles) override;
    void SetStatus(std::string text) override;
    void BeginProgress(DB_HANDLE handle) override;
    void EndProgress() override;
    void Beep() override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    std::string ChooseSaveFile(const std::string& title, const std::string& filter_name,
                               const std::string& extension,
                               const std::string& start_path) override;
    void OpenDictionaryChooser() override;
    void OpenImportDialog() override;
    void SetEditModeOff() override;
    void SetDualModeState(bool on) override;
    void ActivateMainWindow() override;
    bool WindowsReady() override;
    void CloseMainWindow() override;
    void HotKeyShowText(std::string_view text) override;
    void HotKeyShowList(const char* const* items, int count) override;
    void HotKeyClear() override;

protected:
    // Fails (negative) only when the engine handles of the two dictionary
    // slots could not be made.
    int onCreate() override;
    void onDestroy() override;
    bool onClose() override;
    void onTimer(int id) override;
    void onActivate() override;
    void onContextMenu(const QPoint& globalPos, QWidget* source) override;
    bool onMinimize() override;
    void onHelp() override;

private:
    // Construction steps (main_form.cpp, main_menus.cpp).
    void readSettings();
    void createControls();
    void createMenus();
    void createAccelerators();
    // The main window's keys, given to another window of the program.
    void shareAccelerators(QWidget* window);
    void installHotKey(bool on);
    // Every menu text, tip and caption from the interface language, with the
    // check marks and the enabling.
    void retranslate();
    void updateMenuStates();
    void updateOptionViews();
    void layoutPanes();
    void buttonTablesFromLanguage();

    // Commands by subject.
    void paneNotification(int code, int id, qintptr param);
    void togglePattern(wordbay::PatternKind kind);
    void toggleSwitch(int id);
    void rerunSearch();
    void toggleDualMode();
    void toggleEditMode();
    void reverseDirection(wordbay::SlotId slot);
    void copy();
    void paste();
    void editCommand(int id);
    void dropWord();
    void setHotKeyTarget(int target);
    void setAlwaysOnTop(bool on);
    void leave(bool toOtherSide);
    void chooseInterfaceLanguage();
    void openHelp();
    // Opens help page "page.htm#anchor" of the help folder in the browser.
    void openHelpTopic(const QString& topic);
    void showAbout();
    void changeDictionary();
    void loadDual();
    // The dictionary chooser (for the main or the dual dictionary): the
    // chosen path, or empty.
    QString chooseDictionary();
    // Import (1007), update (338), export (1006): format, then file or folder.
    void importExport(int id);
    void createNewDictionary();
    void editDictionaryInfo();
    void showContextMenu(const QPoint& globalPos, QWidget* source);
    void clipboardStep();
    void reactToHotKey(bool activateFirst);
    void showSelection(const QString& selected);
    HotKeySelection* selectionReader();
    // On a Wayland desktop: the hot key through the desktop's portal.
    void usePortal(bool on);
    // The desktop shows no key to the program: says so once.
    void noGlobalHotKey();
    // What the interface page of the settings says about the hot key on
    // this desktop (UTF-8; empty when the hot key works everywhere).
    std::string hotKeyNote() const;
    void restoreFromTray();
    // Both write into `file` when given (closing writes the settings file
    // once), else into a pass of their own.
    void writeProgramSettings(const wordbay::SettingsFile* file = nullptr);

    // The text, popup, tooltip and character map windows
    // (secondary_windows.cpp).
    TextDictionaries textDictionaries();
    void showTextWindow();
    void destroySecondaryWindows(const wordbay::SettingsFile* file = nullptr);
    void applySecondaryLooks();
    void updateSecondaryTitles(const wordbay::WindowTitles& titles);
    void showHotKeyWindow();
    void popupTyped(const QString& text);
    void setPopupOnTop(bool on);
    void setTooltipOnTop(bool on);
    void openSettings();
    void showCharmap();
    void changeHotKeys();
    void changeView(int id, qintptr param);

    // Editing the main dictionary in edit mode (editing_commands.cpp).
    // Waits, painting, until no job runs on the dictionaries and answers the
    // engine lock; an empty lock when a job still runs after a while.
    std::unique_lock<std::mutex> holdEngine();
    void addTranslation();
    void deleteSelected();
    // Opens the box that changes the selected word of the focused main list.
    void openWordChange();
    void changeWord(const QString& text);
    // The target list reported a drag from row `previous` to its current row.
    void translationDragged(int previous);
    // In edit mode the target list of the main pane drags its entries.
    void updateDragModes();

    // Speech (speech_commands.cpp).
    speech::SpeechPane* speechPane(wordbay::SlotId slot);
    void takeSpeechSettings(wordbay::SlotId id, const wordbay::DictionarySlot& slot);
    void giveBackSpeechSettings(wordbay::SlotId id);
    void startSpeechEngines();
    // The word of the focused search edit box or result list, with its pane
    // and list; false when none has a word.
    bool focusedWord(wordbay::SlotId* slot, wordbay::ListSide* side, std::string* word) const;
    void speakFocusedWord();
    void stopSpeaking();

    // The running engine loops are stopped and job `job` set.
    void startJob(int job);
    void endLoop();
    void setOptions(const wordbay::SearchOptions& options);
    // Stops the worker, keeping the event loop running until it has ended.
    void waitForWorker();
    // Tries to close the window again a moment later.
    void closeLater();
    bool mainLoaded() const;
    // The focused search edit box or result list of a pane, or null.
    QWidget* focusedPaneControl() const;
    wordbay::ListSide focusSideOfMainPane() const;

    template <typename F>
    auto onUiThread(F&& f);

    wordbay::ProgramPaths m_paths;
    wordbay::ProgramSettings m_settings;
    QtFontCatalog m_fonts;
    MessageBoxButtonTable m_buttonTexts;

    QMenuBar* m_menuBar = nullptr;
    QMenu* m_menus[4] = {};
    QMenu* m_contextMenu = nullptr;
    WTipManager* m_tips = nullptr;
    ButtonBar* m_buttons = nullptr;
    DictionaryPane* m_panes[2] = {};
    StatusStrip* m_status = nullptr;
    TrayIcon* m_tray = nullptr;
    std::unique_ptr<HotKeyFilter> m_hotKeyFilter;

    bool m_editMode = false;
    // The word being changed in place: its list, row and text.
    WordChangeEdit* m_wordChange[2] = {};
    wordbay::ListSide m_changeSide = wordbay::ListSide::kPrimary;
    int m_changeRow = -1;
    std::string m_changeWord;
    // Words typed while a pane had no dictionary yet or its dictionary was
    // being loaded or re-sorted: the side typed into (-1: none), searched
    // once the worker is free (searchTypedWhileBusy()).
    bool m_slotBusy[2] = {false, false};
    int m_typedWhileBusy[2] = {-1, -1};
    QTimer* m_typedTimer = nullptr;
    void searchTypedWhileBusy();
    bool m_inTray = false;
    bool m_hotKeyInstalled = false;
    bool m_closing = false;
    DB_HANDLE m_progressHandle = nullptr;
    std::thread m_keyPlayer;  // plays synthesised keys (Ctrl+C, Ctrl+V)

    // The settings the window itself keeps ([options] it does not show).
    std::unique_ptr<wordbay::Catalogue> m_catalogue;
    // Reads the other program's selection for the hot key.
    std::unique_ptr<HotKeySelection> m_selection;
    std::unique_ptr<HotKeyPortal> m_portal;
    // The selection the hot key read, until the clipboard step takes it.
    std::optional<QString> m_hotKeyText;
    // The user typed into the popup: its text stays while results come.
    bool m_popupOrigin = false;
    int m_settingsTab = -1;
    std::unique_ptr<Main1Form> m_textWindow;
    std::unique_ptr<PopupForm> m_popup;
    std::unique_ptr<PopupTooltipForm> m_tooltip;
    std::unique_ptr<CharmapForm> m_charmap;
    std::unique_ptr<speech::SpeechPane> m_speech[2];
    // Last: created after everything it calls back into, destroyed first.
    std::unique_ptr<wordbay::SearchController> m_controller;
};
