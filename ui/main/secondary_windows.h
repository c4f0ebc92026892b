// SecondaryWindows: the windows beside the main window: the text
// translation window, the popup and the tooltip of the hot key, and the
// character map. They are made after the main window and closed before it;
// their places go into the settings file. The part shows what the hot key
// found in its window, keeps their looks and titles in step with the main
// dictionary, and changes those looks for the settings pages.
#pragma once

#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/program_settings.h"
#include "app/text_translator.h"
#include "app/window_updates.h"

class CharmapForm;
class HotKeySignals;
class WordFormSignals;
class DictionaryPane;
class TextWindow;
class PopupForm;
class PopupTooltipForm;
class QString;
class QWidget;
class QtFontCatalog;

namespace wordbay {
class SearchController;
class SettingsFile;
}  // namespace wordbay

class SecondaryWindows {
public:
    // What the windows ask of the main window.
    struct Hooks {
        std::function<void()> bringMainToFront;
        // The main window's keys act in `window` too.
        std::function<void(QWidget* window)> shareKeys;
        // A window is now kept on top: the main window no longer is.
        std::function<void()> mainLeavesTop;
        // The check marks of the on-top settings changed.
        std::function<void()> statesChanged;
        std::function<bool()> editMode;
        // The popup is made: other parts add their controls.
        std::function<void(PopupForm* popup)> popupMade;
    };

    // `mainWindow` owns the font and colour dialogs; `settings` are the
    // program's settings, which the windows read and the closing writes;
    // `panes` are the main window's dictionary panes.
    SecondaryWindows(QWidget* mainWindow, wordbay::ProgramSettings* settings,
                     std::string settingsFile, DictionaryPane* mainPane, DictionaryPane* dualPane,
                     wordbay::SearchController* controller, const QtFontCatalog* fonts,
                     Hooks hooks);
    ~SecondaryWindows();
    SecondaryWindows(const SecondaryWindows&) = delete;
    SecondaryWindows& operator=(const SecondaryWindows&) = delete;

    // Creates the text translation window, then the popup, tooltip and
    // character map windows.
    void create();
    // Closes them, their places written into `file` when given, else into a
    // pass of their own.
    void destroy(const wordbay::SettingsFile* file = nullptr);
    TextWindow* textWindow() const { return m_textWindow.get(); }
    PopupForm* popup() const { return m_popup.get(); }
    PopupTooltipForm* tooltip() const { return m_tooltip.get(); }
    CharmapForm* charmap() const { return m_charmap.get(); }

    void showTextWindow();
    void showCharmap();
    // The looks of the main dictionary, and the titles, in every window.
    void applyLooks();
    void setTitles(const wordbay::WindowTitles& titles);

    // Applies the updates of the hot-key window and of the word-form
    // look-up from now on.
    void listenTo(HotKeySignals* hotKey, WordFormSignals* wordForms);
    // What the hot key found, into the popup or the tooltip.
    void showHotKeyText(const std::string& word);
    void showHotKeyList(const wordbay::WordList& words);
    void clearHotKeyWindow();
    // What the word-form look-up found: in the popup or the tooltip for the
    // hot key, else as the main window's suggestion menu.
    void showWordForms(const wordbay::WordFormsNote& note);
    // A new hot-key look-up begins: the popup's own typing is no longer its
    // origin.
    void lookUpStarts() { m_popupOrigin = false; }
    void setPopupOnTop(bool on);
    void setTooltipOnTop(bool on);
    // A font or colour button `id` of the settings pages (the main window's
    // page, the popup and tooltip page) was pressed.
    void changeView(int id, qintptr param);

private:
    bool mainLoaded() const;
    wordbay::TextDictionaries textDictionaries();
    void showHotKeyWindow();
    void popupTyped(const QString& text);

    QWidget* m_mainWindow;
    wordbay::ProgramSettings* m_settings;
    std::string m_settingsFile;
    DictionaryPane* m_panes[2];
    wordbay::SearchController* m_controller;
    const QtFontCatalog* m_fonts;
    Hooks m_hooks;
    // The user typed into the popup: its text stays while results come.
    bool m_popupOrigin = false;
    // The word-form lines the tooltip shows above the translations.
    QStringList m_wordFormLines;
    std::unique_ptr<TextWindow> m_textWindow;
    std::unique_ptr<PopupForm> m_popup;
    std::unique_ptr<PopupTooltipForm> m_tooltip;
    std::unique_ptr<CharmapForm> m_charmap;
};
