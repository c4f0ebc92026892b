#include "ui/main/main_form.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <mutex>

#include "app/catalogue.h"
#include "app/interface_language.h"
#include "app/message_table.h"
#include "app/search_controller.h"
#include "hook/keysnare.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/hot_key_filter.h"
#include "ui/main/hot_key_portal.h"
#include "ui/main/hot_key_selection.h"
#include "ui/main/search_edit.h"
#include "ui/main/status_strip.h"
#include "ui/main/tray_icon.h"
#include "speech/speech_pane.h"
#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/settings/charmap_form.h"
#include "ui/text/text_window.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_tip_manager.h"

using wordbay::ListSide;
using wordbay::SlotId;
using wordbay::TextId;
using wordbay::UiText;

namespace {

QString text(TextId id) { return QString::fromUtf8(UiText(id)); }

// How often the closing window looks whether the worker has ended.
constexpr int kWorkerPollMs = 20;

}  // namespace

MainForm::MainForm(const wordbay::ProgramPaths& paths, QWidget* parent)
    : WForm(parent), m_paths(paths) {
    setObjectName(QStringLiteral("TQ_TALLIS2"));
    setWindowTitle(QStringLiteral("KX Dictionary"));
    resize(630, 460);
}

MainForm::~MainForm() {
    destroyWindow();
    if (m_keyPlayer.joinable()) {
        WEP(0);
        m_keyPlayer.join();
    }
}

// ---- Creation ------------------------------------------------------------

int MainForm::onCreate() {
    readSettings();
    std::string languageName = m_settings.language;
    const std::optional<std::string> languageError =
        wordbay::LoadStartupLanguage(&wordbay::Messages(), m_paths.language_dir, &languageName);
    m_settings.language = languageName;
    buttonTablesFromLanguage();
    setWindowTitle(text(TextId::MSG_MAIN_WINDOW_CAPTION));

    createControls();
    createMenus();
    createAccelerators();

    m_catalogue = std::make_unique<wordbay::Catalogue>();
    m_controller =
        std::make_unique<wordbay::SearchController>(this, m_catalogue.get(), m_paths, &m_fonts);
    wordbay::SearchOptions o;
    o.case_sensitive = m_settings.case_sensitive;
    o.ignore_accents = m_settings.ignore_accents;
    o.auto_translate = m_settings.auto_translate;
    o.use_clipboard = m_settings.use_clipboard;
    o.link = m_settings.link;
    o.link_all = m_settings.multiple;
    o.hot_key_target = static_cast<wordbay::HotKeyTarget>(m_settings.hot_key_target);
    m_controller->SetOptions(o);
    if (m_controller->slot(SlotId::kMain).handle() == nullptr ||
        m_controller->slot(SlotId::kDual).handle() == nullptr) {
        return -1;
    }
    retranslate();
    if (languageError) {
        messageBox(this, QString::fromStdString(*languageError), text(TextId::MSG_ERROR),
                   kMbOk | kMbIconStop, &m_buttonTexts);
    }
    // The hot key needs the native window, which is made only once the
    // stored place is applied (showAtStoredPlace()).

    m_catalogue->Scan(m_paths.database_dir, this);
    wordbay::DictionaryState state;
    state.show_splash = m_settings.show_splash;
    state.convert_v2 = m_settings.convert_v2;
    state.current = m_settings.current;
    state.dual = m_settings.dual;
    state.dual_name = m_settings.dual_name;
    m_controller->StartWorker(state, o);
    return 0;
}

void MainForm::readSettings() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    wordbay::ScreenMetrics metrics;
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        metrics.full_width = area.width();
        metrics.full_height = area.height();
        metrics.max_track_width = screen->virtualSize().width();
        metrics.max_track_height = screen->virtualSize().height();
    }
    m_settings =
        wordbay::ReadProgramSettings(wordbay::SettingsFile(m_paths.settings_file), metrics);
}

void MainForm::createControls() {
    m_tips = new WTipManager(this);
    m_buttons = new ButtonBar(this, m_tips);
    m_panes[0] = new DictionaryPane(this, false);
    m_panes[1] = new DictionaryPane(this, true);
    m_panes[1]->hide();
    m_status = new StatusStrip(this);
    m_tray = new TrayIcon(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(3);
    auto* panes = new QHBoxLayout;
    panes->setSpacing(8);
    panes->addWidget(m_panes[0], 1);
    panes->addWidget(m_panes[1], 1);
    column->addWidget(m_buttons);
    column->addLayout(panes, 1);
    column->addWidget(m_status);
    m_status->setStatusText(text(TextId::MSG_DICTIONARY_NOT_LOADED));
}

void MainForm::buttonTablesFromLanguage() {
    for (std::size_t i = 0; i < wordbay::kMessageBoxButtons.size(); ++i) {
        m_buttonTexts[i] = {wordbay::kMessageBoxButtons[i].id,
                            text(wordbay::kMessageBoxButtons[i].text)};
    }
    for (DictionaryPane* pane : m_panes) {
        if (pane != nullptr)
            m_tips->addTool(pane->directionButton(),
                            text(TextId::TOOLTIP_CHANGE_TRANSLATION_DIRECTION));
    }
}

void MainForm::showAtStoredPlace() {
    setMinimumSize(592, 250);
    resize(m_settings.width, m_settings.height);
    // The stored place is the frame's top-left corner, as x() and y() give it
    // back at the close. Before the native window exists move() means just
    // that; an existing one is placed by its frame explicitly, or the window
    // would creep by its title bar's height at every start.
    const QPoint place(m_settings.x, m_settings.y);
    if (testAttribute(Qt::WA_WState_Created) && windowHandle() != nullptr) {
        windowHandle()->setFramePosition(place);
    } else {
        move(place);
    }
    if (m_settings.main_on_top) setStaysOnTop(true);
    if (m_settings.maximized) {
        showMaximized();
    } else {
        showNormal();
    }
    if (m_settings.use_hot_keys) installHotKey(true);
}

// ---- Options and their views -----------------------------------------------

wordbay::SearchOptions MainForm::options() const {
    return m_controller != nullptr ? m_controller->options() : wordbay::SearchOptions();
}

void MainForm::setOptions(const wordbay::SearchOptions& options) {
    m_controller->SetOptions(options);
    updateMenuStates();
}

bool MainForm::editMode() const { return m_editMode; }

DictionaryPane* MainForm::pane(SlotId slot) const {
    return m_panes[slot == SlotId::kMain ? 0 : 1];
}

bool MainForm::mainLoaded() const {
    return m_controller != nullptr && m_controller->slot(SlotId::kMain).loaded();
}

void MainForm::startJob(int job) { m_controller->StartJob(job); }

void MainForm::endLoop() {
    m_controller->slot(SlotId::kMain).EndLoop();
    m_controller->slot(SlotId::kDual).EndLoop();
}

void MainForm::updateOptionViews() {
    const wordbay::SearchOptions o = options();
    QString mode;
    if (o.anagram_mode == 1) {
        mode = QStringLiteral("ANAGRAMS 1");
    } else if (o.anagram_mode == 2) {
        mode = QStringLiteral("ANAGRAMS 2");
    } else if (o.anagram_mode == 3) {
        mode = QStringLiteral("ANAGRAM 3");
    } else if (o.regex) {
        mode = QStringLiteral("REG. EXPR.");
    } else if (o.wildcards) {
        mode = QStringLiteral("WILDCARDS");
    }
    m_status->setMode(mode, !mode.isEmpty());
    m_status->setSwitches(o.ignore_accents, o.case_sensitive, o.auto_translate);
}

void MainForm::togglePattern(wordbay::PatternKind kind) {
    wordbay::SearchOptions o = options();
    wordbay::TogglePatternKind(&o, kind);
    setOptions(o);
    rerunSearch();
}

void MainForm::toggleSwitch(int id) {
    wordbay::SearchOptions o = options();
    switch (id) {
        case cmd::kIgnoreAccents: o.ignore_accents = !o.ignore_accents; break;
        case cmd::kCaseSensitive: o.case_sensitive = !o.case_sensitive; break;
        case cmd::kAutotranslate: o.auto_translate = !o.auto_translate; break;
        case cmd::kUseClipboard: o.use_clipboard = !o.use_clipboard; break;
        case cmd::kLink: o.link = !o.link; break;
        case cmd::kMultiple: o.link_all = !o.link_all; break;
        default: return;
    }
    setOptions(o);
    if (m_textWindow) m_textWindow->setSwitches(o.case_sensitive, o.ignore_accents);
    if (id == cmd::kIgnoreAccents || id == cmd::kCaseSensitive) rerunSearch();
    // The titles name the dual dictionary's list while the two are linked.
    if (id == cmd::kLink && !m_controller->busy()) SetTitles(m_controller->Titles());
}

ListSide MainForm::focusSideOfMainPane() const {
    const int side = m_panes[0]->sideOf(QApplication::focusWidget());
    return side == 0 ? ListSide::kPrimary : ListSide::kSecondary;
}

void MainForm::rerunSearch() {
    // The side searched again: the primary side when its edit box or list has
    // the focus, else the secondary side.
    if (!mainLoaded()) return;
    m_controller->SearchAgain(SlotId::kMain, focusSideOfMainPane());
}

// ---- Commands --------------------------------------------------------------

void MainForm::command(int code, int id, WControl*, qintptr param) {
    if (m_controller == nullptr) return;
    switch (id) {
        case cmd::kMainPrimaryEdit:
        case cmd::kMainSecondaryEdit:
        case cmd::kMainPrimaryList:
        case cmd::kMainSecondaryList:
        case cmd::kDualPrimaryEdit:
        case cmd::kDualSecondaryEdit:
        case cmd::kDualPrimaryList:
        case cmd::kDualSecondaryList:
            paneNotification(code, id, param);
            return;

        case cmd::kUseWildcards: togglePattern(wordbay::PatternKind::kWildcards); return;
        case cmd::kUseRegex: togglePattern(wordbay::PatternKind::kRegex); return;
        case cmd::kAnagrams1: togglePattern(wordbay::PatternKind::kAnagramReuse); return;
        case cmd::kAnagrams2: togglePattern(wordbay::PatternKind::kAnagramOnce); return;
        case cmd::kAnagrams3: togglePattern(wordbay::PatternKind::kAnagramExact); return;
        case cmd::kIgnoreAccents:
        case cmd::kCaseSensitive:
        case cmd::kAutotranslate:
        case cmd::kUseClipboard:
        case cmd::kLink:
        case cmd::kMultiple:
            toggleSwitch(id);
            return;

        case cmd::kSave: m_controller->StartSave(); return;
        case cmd::kSaveAs: m_controller->StartSaveAs(); return;
        case cmd::kListPalindrome: startJob(wordbay::kJobPalindromes); return;
        case cmd::kListIdentical: startJob(wordbay::kJobIdenticalWords); return;
        case cmd::kChange: changeDictionary(); return;
        case cmd::kImport:
        case cmd::kUpdate:
        case cmd::kExport:
            importExport(id);
            return;
        case cmd::kCreateNew: createNewDictionary(); return;
        case cmd::kDictionaryInfo: editDictionaryInfo(); return;
        case cmd::kExit: close(); return;

        case cmd::kDualMode: toggleDualMode(); return;
        case cmd::kLoadDual: loadDual(); return;
        case cmd::kEditMode: toggleEditMode(); return;
        case cmd::kAddWord:
            if (m_editMode) addTranslation();
            return;
        case cmd::kDeleteWord:
            if (m_editMode) deleteSelected();
            return;
        case cmd::kChangeWord:
            if (m_editMode) openWordChange();
            return;

        case cmd::kCopy:
        case cmd::kContextCopy:
            copy();
            return;
        case cmd::kPaste:
        case cmd::kContextPaste:
            paste();
            return;
        case cmd::kUndo:
        case cmd::kCut:
        case cmd::kSelectAll:
        case cmd::kDelete:
            editCommand(id);
            return;
        case cmd::kDropWord: dropWord(); return;

        case cmd::kInterfaceLanguage: chooseInterfaceLanguage(); return;
        case cmd::kAlwaysOnTop: setAlwaysOnTop(!m_settings.main_on_top); return;
        case cmd::kUseHotKeys:
            m_settings.use_hot_keys = !m_settings.use_hot_keys;
            installHotKey(m_settings.use_hot_keys);
            updateMenuStates();
            return;
        case cmd::kActivateSpeechMenu:
        case cmd::kActivateSpeechButton:
            m_settings.use_speech = !m_settings.use_speech;
            updateMenuStates();
            if (!m_settings.use_speech) stopSpeaking();
            startSpeechEngines();
            return;
        case cmd::kStartSpeech: startSpeechEngines(); return;
        case cmd::kSpeak: speakFocusedWord(); return;
        case cmd::kStopSpeaking: stopSpeaking(); return;
        case cmd::kTranslateText: showTextWindow(); return;
        case cmd::kStartTranslation:
            if (m_textWindow) m_textWindow->command(kMenuCommand, id, nullptr, 0);
            return;
        case cmd::kCharmap: showCharmap(); return;
        case cmd::kSettings: openSettings(); return;
        case cmd::kHotKeyChoice1:
        case cmd::kHotKeyChoice1 + 1:
        case cmd::kHotKeyChoice1 + 2:
            changeHotKeys();
            return;
        case cmd::kHotKeysCallMain: setHotKeyTarget(0); return;
        case cmd::kHotKeysCallPopup: setHotKeyTarget(1); return;
        case cmd::kHotKeysCallTooltip: setHotKeyTarget(2); return;
        case cmd::kMinimizeToTray: m_settings.minimize_to_tray = !m_settings.minimize_to_tray; return;
        case cmd::kPopupOnTop: setPopupOnTop(!m_settings.popup_on_top); return;
        case cmd::kTooltipOnTop: setTooltipOnTop(!m_settings.tooltip_on_top); return;
        case cmd::kSnapPopup: m_settings.popup_to_cursor = !m_settings.popup_to_cursor; return;
        case cmd::kSnapTooltip: m_settings.tooltip_to_cursor = !m_settings.tooltip_to_cursor; return;

        case cmd::kChangeDirection:
        case cmd::kMainDirection:
            reverseDirection(SlotId::kMain);
            return;
        case cmd::kDualDirection: reverseDirection(SlotId::kDual); return;
        case cmd::kLeave: leave(false); return;
        case cmd::kLeaveToOther: leave(true); return;

        case cmd::kHelpContents: openHelp(); return;
        case cmd::kHelpAbout: showAbout(); return;
        case cmd::kRestoreFromTray: restoreFromTray(); return;
        case cmd::kActivateInstance:
            if (code == cmd::kActivateCode && param == -1) restoreFromTray();
            return;
        case cmd::kTranslateSelection:
            if (code == cmd::kActivateCode && param == -1) translateSelection();
            return;
        default:
            if ((id >= 7202 && id <= 7219) || (id >= 7403 && id <= 7435)) changeView(id, param);
            return;
    }
}

void MainForm::setHotKeyTarget(int target) {
    m_settings.hot_key_target = target;
    wordbay::SearchOptions o = options();
    o.hot_key_target = static_cast<wordbay::HotKeyTarget>(target);
    setOptions(o);
    if (target == 0) {
        if (m_popup) m_popup->hide();
        if (m_tooltip) m_tooltip->hide();
        if (m_settings.main_on_top) setAlwaysOnTop(true);
    } else if (target == 1) {
        if (m_tooltip) m_tooltip->hide();
        if (m_popup && m_settings.popup_on_top) m_popup->showPopup(true);
    } else if (target == 2) {
        if (m_popup) m_popup->hide();
        if (m_tooltip && m_settings.tooltip_on_top) m_tooltip->showTooltip(true);
    }
}

void MainForm::setAlwaysOnTop(bool on) {
    m_settings.main_on_top = on;
    if (on) {
        // Only one window can stay above the others.
        m_settings.popup_on_top = false;
        m_settings.tooltip_on_top = false;
        if (m_popup) {
            m_popup->applyOnTop();
            m_popup->hide();
        }
        if (m_tooltip) {
            m_tooltip->applyOnTop();
            m_tooltip->hide();
        }
    }
    setStaysOnTop(on);
    if (on) {
        show();
        raise();
    }
    updateMenuStates();
}

void MainForm::bringToFront() {
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

void MainForm::restoreFromTray() {
    if (m_tray != nullptr) m_tray->hide();
    m_inTray = false;
    bringToFront();
}

bool MainForm::onMinimize() {
    // Without a notification area the window is minimised normally: an icon
    // nobody can see would leave no way back to it.
    if (!m_settings.minimize_to_tray || !TrayIcon::available()) return false;
    m_tray->show(windowTitle());
    m_inTray = true;
    hide();
    return true;
}

void MainForm::onContextMenu(const QPoint& globalPos, QWidget* source) {
    showContextMenu(globalPos, source);
}

// ---- Closing ---------------------------------------------------------------

void MainForm::waitForWorker() {
    m_controller->RequestStop();
    QEventLoop loop;
    while (!m_controller->WorkerFinished()) {
        loop.processEvents(QEventLoop::ExcludeUserInputEvents, kWorkerPollMs);
        QThread::msleep(1);
    }
}

void MainForm::closeLater() {
    QTimer::singleShot(kWorkerPollMs, this, [this] { close(); });
}

// Closing never waits inside the close event, which may itself run from a
// queued call: while a job runs, the close is tried again a moment later.
bool MainForm::onClose() {
    if (m_controller == nullptr) return false;
    endLoop();
    if (m_closing) {
        if (m_controller->WorkerFinished()) return false;
        closeLater();
        return true;
    }
    // The unsaved-changes question reads the dictionary, which only the
    // worker may touch while a job runs: a stopped search ends at once, a
    // save is let finish.
    if (m_controller->busy()) {
        closeLater();
        return true;
    }
    bool changed = false;
    {
        // The text translation may be using the dictionary this moment.
        std::unique_lock<std::mutex> engine(m_controller->engine_lock(), std::try_to_lock);
        if (!engine.owns_lock()) {
            closeLater();
            return true;
        }
        const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
        changed = main.loaded() && DB_IsChanged(main.handle()) != 0;
    }
    if (changed && !m_controller->saved_while_closing()) {
        const int answer =
            messageBox(this, text(TextId::MSG_SAVE_CHANGED_DICTIONARY), text(TextId::MSG_SAVE),
                       kMbYesNoCancel | kMbIconQuestion, &m_buttonTexts);
        if (answer == kIdYes) {
            m_controller->StartSaveAndClose();
            return true;
        }
        if (answer != kIdNo) return true;
    }
    {
        const wordbay::SettingsFile settings(m_paths.settings_file);
        destroySecondaryWindows(&settings);
        writeProgramSettings(&settings);
    }  // the settings file is written here, once
    // The worker ends after what it is doing; the window goes once it has.
    m_closing = true;
    m_controller->RequestStop();
    if (m_controller->WorkerFinished()) return false;
    closeLater();
    return true;
}

void MainForm::writeProgramSettings(const wordbay::SettingsFile* file) {
    const wordbay::SearchOptions o = options();
    const wordbay::DictionaryState state = m_controller->dictionary_state();
    m_settings.show_splash = state.show_splash;
    m_settings.convert_v2 = state.convert_v2;
    m_settings.current = state.current;
    m_settings.dual = o.dual_mode;
    m_settings.dual_name = state.dual_name;
    m_settings.link = o.link;
    m_settings.multiple = o.link_all;
    m_settings.ignore_accents = o.ignore_accents;
    m_settings.use_regex = o.regex;
    m_settings.use_wildcards = o.wildcards;
    m_settings.use_clipboard = o.use_clipboard;
    m_settings.case_sensitive = o.case_sensitive;
    m_settings.auto_translate = o.auto_translate;
    m_settings.maximized = isMaximized();
    const bool minimized = isMinimized() || m_inTray;
    if (!m_settings.maximized && !minimized) {
        m_settings.x = x();
        m_settings.y = y();
        m_settings.width = width();
        m_settings.height = height();
    }
    if (file != nullptr) {
        wordbay::WriteProgramSettings(*file, m_settings, minimized);
    } else {
        wordbay::WriteProgramSettings(wordbay::SettingsFile(m_paths.settings_file), m_settings,
                                      minimized);
    }
}

void MainForm::onDestroy() {
    stopSpeaking();
    destroySecondaryWindows();
    if (m_controller != nullptr) {
        // Normally the worker has ended before the window closed. Otherwise
        // its current job ends first (a file being written is finished), and
        // as it may wait for a window call meanwhile, events keep running.
        waitForWorker();
        m_controller->Stop();
        m_controller->WriteSlotSettings();
    }
    killFormTimer(cmd::kProgressTimer);
    if (m_tray != nullptr) m_tray->hide();
    if (m_hotKeyInstalled) installHotKey(false);
}
