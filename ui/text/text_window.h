// Main1Form: the text translation window. The user puts a text into the
// source pane and starts a run; its worker (ThreadTrazi1) cuts the text into
// phrases and writes the translated text into the target pane, alone (fast)
// or asking at every phrase (step). The window only hides when closed.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program_settings.h"
#include "app/text_translator.h"
#include "ui/widgets/w_form.h"

class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QSplitter;
class QToolBar;
class WEdit;
class WListBox;
class WProgressBar;
class ThreadTrazi1;

// The dictionaries as a run needs them, asked for at every start.
using TextDictionaries = wordbay::TextDictionaries;

// Command ids of the window: its menu items, keys and buttons. The
// numbers are published (language files and the main window use them).
namespace text_command {
inline constexpr int kStart = 462;
inline constexpr int kOpen = 464;
inline constexpr int kSaveOriginal = 465;
inline constexpr int kSaveTranslated = 466;
inline constexpr int kStop = 469;
inline constexpr int kClose = 471;
inline constexpr int kFast = 472;
inline constexpr int kStep = 473;
inline constexpr int kTileHorizontally = 474;
inline constexpr int kTileVertically = 475;
inline constexpr int kInsertTranslation = 480;
inline constexpr int kSkipWord = 481;
inline constexpr int kInsertOriginal = 482;
inline constexpr int kWrapOriginal = 483;
inline constexpr int kWrapTranslated = 484;
inline constexpr int kFromCursor = 485;
inline constexpr int kDepthFirst = 490;  // depth 1
inline constexpr int kDepthLast = 499;   // depth 10
// Passed to the focused edit box of the window.
inline constexpr int kCopy = 443;
inline constexpr int kPaste = 444;
}  // namespace text_command

class Main1Form : public WForm {
    Q_OBJECT

public:
    // `settings` holds the window's options ("brzo", "fromcursor",
    // "deepsearch", "ww1", "ww2", "jedandodrugoga") and outlives the window.
    explicit Main1Form(wordbay::ProgramSettings* settings, QWidget* parent = nullptr);
    ~Main1Form() override;

    // Where the dictionaries come from.
    void setDictionaryProvider(std::function<TextDictionaries()> provider);
    // Starts a run on the source text (nothing while one runs); stops the
    // run under way.
    void startTranslation();
    void stopTranslation();

    // The switches shown in the status cells.
    void setSwitches(bool case_sensitive, bool ignore_accents);
    // Sets every menu and button text again from the interface language.
    void relabel();
    // Forgets the translations list (after the direction changed).
    void resetWordList();

    bool isTranslating() const;
    QPlainTextEdit* sourcePane() const { return m_source; }
    QPlainTextEdit* targetPane() const { return m_target; }
    WEdit* phraseBox() const { return m_phrase; }
    WListBox* translationsList() const { return m_list; }

    // Reached from the worker through queued calls.
    void appendTarget(const QString& text);
    void showPosition(int start);
    void askPhrase(const QString& phrase, int start, int end, std::vector<const char*> items);
    void showProgress(int percent);
    void runFinished();

protected:
    int onCreate() override;
    void onDestroy() override;
    bool onClose() override;

private:
    friend class ThreadTrazi1;

    void buildMenus();
    void buildControls();
    void connectCommands();
    // A menu item that turns an option of the window on or off.
    void addToggle(int id, bool wordbay::ProgramSettings::*option);
    void applyOptions();
    void setDepth(int depth);
    void act(wordbay::TextAction action);
    void setRunning(bool running);
    void lookUpEditedPhrase();
    // The phrase box changed: an edited phrase is looked up.
    void phraseChanged();
    // A translation of the list was chosen while a step run waits.
    void translationChosen();
    void openText();
    void saveText(bool translated);
    QPlainTextEdit* focusedPane() const;

    wordbay::ProgramSettings* m_settings;
    std::function<TextDictionaries()> m_provider;

    QPlainTextEdit* m_source = nullptr;
    QPlainTextEdit* m_target = nullptr;
    QSplitter* m_splitter = nullptr;
    WEdit* m_phrase = nullptr;
    WListBox* m_list = nullptr;
    QPushButton* m_insertTranslation = nullptr;
    QPushButton* m_skip = nullptr;
    QPushButton* m_insertOriginal = nullptr;
    QSlider* m_depth = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_runMenu = nullptr;
    QMenu* m_depthMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QLabel* m_fromCursorCell = nullptr;
    QLabel* m_accentsCell = nullptr;
    QLabel* m_caseCell = nullptr;
    QLabel* m_depthCell = nullptr;
    WProgressBar* m_progress = nullptr;

    // The run in progress: its dictionaries, the source text in the source
    // code page and the worker.
    TextDictionaries m_run;
    std::string m_sourceBytes;
    wordbay::TextTranslator m_translator;
    std::unique_ptr<ThreadTrazi1> m_worker;
    // The translations shown in step mode (pointers into the engine's words).
    std::vector<const char*> m_shown;
    int m_phraseStart = 0;  // in the source pane, in characters
    int m_phraseEnd = 0;
    int m_selectionStart = 0;  // the source selection when the run began
    int m_selectionEnd = 0;
    bool m_ownPhraseChange = false;
    bool m_waiting = false;  // a step run waits for the user's choice
    // From the start of a run until the window has shown its end.
    bool m_running = false;
};
