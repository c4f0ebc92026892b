// MainHotKey: the hot key of the main window. It installs keysnare's hook
// for the window (and, on a Wayland desktop, the desktop portal's shortcut),
// reacts to its message by reading the other program's selection and
// looking it up, takes the clipboard when the window is activated, and drops
// a word into the program the user worked in before.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/program_settings.h"

class HotKeyFilter;
class HotKeyPortal;
class HotKeySelection;
class SearchEdit;
class WForm;

namespace wordbay {
class SearchController;
}  // namespace wordbay

class MainHotKey : public QObject {
    Q_OBJECT

public:
    // What the hot key asks of the window beyond the window itself.
    struct Hooks {
        // The window is in edit mode: the hot key does nothing.
        std::function<bool()> editMode;
        // A new look-up begins: what the user typed into the popup is no
        // longer its origin.
        std::function<void()> lookUpStarts;
        // Brings the hot key's window forward before the selection is read.
        std::function<void(wordbay::HotKeyTarget target)> showTarget;
        std::function<void()> bringToFront;
        // The search box of the main pane's source list, or null before a
        // dictionary is loaded.
        std::function<const SearchEdit*()> sourceEdit;
        // Copies the focused control's text (for dropping it elsewhere).
        std::function<void()> copy;
    };

    // `window` is the main window; `settings` its program settings (the keys,
    // the hot key's target, on top); `settingsFile` where the one-time
    // notes are remembered.
    MainHotKey(WForm* window, const wordbay::ProgramSettings* settings,
               wordbay::SearchController* controller, std::string settingsFile, Hooks hooks);
    ~MainHotKey() override;

    void install(bool on);
    bool installed() const { return m_installed; }
    // The keys were changed in the settings.
    void changeKeys();
    // The hot-key message arrived (the X11 filter saw it): reads the
    // selection and looks it up in the hot key's window.
    void onMessage();
    // The same asked from outside (a later start with --translate-selection,
    // the desktop's shortcut): under Wayland the window comes forward first.
    void translateSelection();
    // The window was activated: the hot key's selection, or the clipboard
    // when the options say so, goes to the controller.
    void clipboardStep();
    // Copies the focused word and pastes it into the window below.
    void dropWord();
    // The hot key is reading the selection with a copy key of its own.
    bool readingSelection() const;
    // What the interface page of the settings says about the hot key on
    // this desktop (UTF-8; empty when the hot key works everywhere).
    std::string note() const;

private:
    void usePortal(bool on);
    // The desktop shows no key to the program: says so once.
    void noGlobalHotKey();
    HotKeySelection* selectionReader();
    void react(bool activateFirst);
    void showSelection(const QString& selected);

    WForm* m_window;
    const wordbay::ProgramSettings* m_settings;
    wordbay::SearchController* m_controller;
    std::string m_settingsFile;
    Hooks m_hooks;
    std::unique_ptr<HotKeyFilter> m_filter;
    bool m_installed = false;
    std::unique_ptr<HotKeySelection> m_selection;
    std::unique_ptr<HotKeyPortal> m_portal;
    // The selection the hot key read, until the clipboard step takes it.
    std::optional<QString> m_text;
    std::thread m_keyPlayer;  // plays synthesised keys (Ctrl+C, Ctrl+V)
};
