#include "ui/main/main_form.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <optional>

#include "app/catalogue.h"
#include "app/dictionary_slot.h"
#include "app/interface_language.h"
#include "app/message_table.h"
#include "app/search_controller.h"
#include "app/startup_trace.h"
#include "ui/dialogs/dlg_about.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/daily_lists.h"
#include "ui/main/dictionary_dialogs.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/focused_control.h"
#include "ui/main/help_page.h"
#include "ui/main/main_commands.h"
#include "ui/main/main_menus.h"
#include "ui/main/main_speech.h"
#include "ui/main/pane_display.h"
#include "ui/main/pane_modes.h"
#include "ui/main/search_edit.h"
#include "ui/main/search_switches.h"
#include "ui/main/secondary_windows.h"
#include "ui/main/status_display.h"
#include "ui/main/status_strip.h"
#include "ui/main/tray_icon.h"
#include "ui/main/window_presence.h"
#include "ui/main/word_editing.h"
#include "ui/main/worker_updates.h"
#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/settings/charmap_form.h"
#include "ui/text/text_window.h"
#include "ui/widgets/code_page_text.h"
#include "ui/widgets/ui_text.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_tip_manager.h"
#include "ui/wordlists/favourite_star.h"

using wordbay::ListSide;
using wordbay::SlotId;
using wordbay::TextId;

namespace {

// How often the closing window looks whether the worker has ended.
constexpr int kWorkerPollMs = 20;
// How often the main dictionary's file is looked at for another program's save.
constexpr int kFileWatchMs = 500;

// Tries to close `window` again a moment later.
void closeLater(QWidget* window) {
    QTimer::singleShot(kWorkerPollMs, window, [window] { window->close(); });
}

// Stops the worker, keeping the event loop running until it has ended.
void waitForWorker(wordbay::SearchController* controller) {
    controller->RequestStop();
    QEventLoop loop;
    while (!controller->WorkerFinished()) {
        loop.processEvents(QEventLoop::ExcludeUserInputEvents, kWorkerPollMs);
        QThread::msleep(1);
    }
}
// Room the image and the padding take in the wide dictionary button.
constexpr int kWideButtonImage = 34;

}  // namespace

MainForm::MainForm(const wordbay::ProgramPaths& paths, QWidget* parent)
    : WForm(parent), m_paths(paths) {
    setObjectName(QStringLiteral("TQ_TALLIS2"));
    setWindowTitle(QStringLiteral("KX Dictionary"));
    resize(630, 460);
}

MainForm::~MainForm() { destroyWindow(); }

// ---- Creation ------------------------------------------------------------

int MainForm::onCreate() {
    readSettings();
    wordbay::StartupMark("settings read");
    std::string languageName = m_settings.language;
    const std::optional<std::string> languageError =
        wordbay::LoadStartupLanguage(&wordbay::Messages(), m_paths.language_dir, &languageName);
    m_settings.language = languageName;
    buttonTablesFromLanguage();
    setWindowTitle(uiText(TextId::MSG_MAIN_WINDOW_CAPTION));
    wordbay::StartupMark("language read");

    createControls();
    m_menus = std::make_unique<MainMenus>(this, m_buttons);
    m_menus->createMenus();
    m_menus->createAccelerators();
    wordbay::StartupMark("controls and menus made");

    createParts();
    wordbay::StartupMark("parts made");
    m_controller->settings().TakeFrom(m_settings);
    if (m_controller->slot(SlotId::kMain).handle() == nullptr ||
        m_controller->slot(SlotId::kDual).handle() == nullptr) {
        return -1;
    }
    retranslate();
    if (languageError) {
        messageBox(this, QString::fromStdString(*languageError), uiText(TextId::MSG_ERROR),
                   kMbOk | kMbIconStop, &m_buttonTexts);
    }
    // The hot key needs the native window, which is made only once the
    // stored place is applied (showAtStoredPlace()).

    m_catalogue->Scan(m_paths.database_dir, m_updates->status);
    wordbay::StartupMark("catalogue scanned");
    m_controller->Start();
    wordbay::StartupMark("worker started");
    // Another program's save of the main dictionary is noticed within a
    // second: the dictionary is loaded again, or the status line says so.
    auto* fileWatch = new QTimer(this);
    connect(fileWatch, &QTimer::timeout, this, [this] { m_controller->WatchMainFile(); });
    fileWatch->start(kFileWatchMs);
    return 0;
}

// The parts, each given the controls, settings and controller calls it uses;
// the controller's worker is not started yet.
void MainForm::createParts() {
    m_catalogue = std::make_unique<wordbay::Catalogue>();
    m_updates = std::make_unique<WorkerUpdates>(this);
    m_controller = std::make_unique<wordbay::SearchController>(
        m_updates->receivers(), m_catalogue.get(), m_paths, &m_fonts, &m_settings);
    m_paneDisplay = std::make_unique<PaneDisplay>(m_panes[0], m_panes[1], m_controller.get());
    m_statusDisplay = std::make_unique<StatusDisplay>(
        this, m_status, &m_buttonTexts, m_controller.get(),
        [this](const wordbay::WindowTitles& titles) { m_windows->setTitles(titles); });
    m_speech = std::make_unique<MainSpeech>(this, &m_buttonTexts, m_controller.get());
    SearchSwitches::Hooks switchHooks;
    switchHooks.optionsChanged = [this] { updateMenuStates(); };
    switchHooks.textWindowSwitches = [this](bool caseSensitive, bool ignoreAccents) {
        if (m_windows->textWindow())
            m_windows->textWindow()->setSwitches(caseSensitive, ignoreAccents);
    };
    switchHooks.titlesChanged = [this] { m_statusDisplay->setTitles(m_controller->Titles()); };
    m_switches = std::make_unique<SearchSwitches>(m_controller.get(), m_panes[0], m_status,
                                                  std::move(switchHooks));
    m_dialogs =
        std::make_unique<DictionaryDialogs>(this, &m_paths, m_catalogue.get(), m_controller.get(),
                                            m_updates->status, m_panes[0], &m_buttonTexts);
    m_focus = std::make_unique<FocusedControl>(
        m_panes[0], m_panes[1], [this] { return m_windows->popup(); }, m_controller.get());
    m_editing = std::make_unique<WordEditing>(m_panes[0], m_controller.get(), &m_buttonTexts);
    m_hotKey = std::make_unique<MainHotKey>(this, &m_settings, m_controller.get(),
                                            m_paths.settings_file, hotKeyHooks());
    m_windows =
        std::make_unique<SecondaryWindows>(this, &m_settings, m_paths.settings_file, m_panes[0],
                                           m_panes[1], m_controller.get(), &m_fonts, windowHooks());
    WindowPresence::Hooks presenceHooks;
    presenceHooks.statesChanged = [this] { updateMenuStates(); };
    m_presence = std::make_unique<WindowPresence>(this, m_tray, &m_settings, m_windows.get(),
                                                  std::move(presenceHooks));
    PaneModes::Parts parts;
    parts.mainPane = m_panes[0];
    parts.dualPane = m_panes[1];
    parts.editing = m_editing.get();
    parts.windows = m_windows.get();
    parts.dialogs = m_dialogs.get();
    PaneModes::Hooks modeHooks;
    modeHooks.statesChanged = [this] { updateMenuStates(); };
    modeHooks.bringToFront = [this] { m_presence->bringToFront(); };
    modeHooks.restoreFromTray = [this] { m_presence->restoreFromTray(); };
    m_modes =
        std::make_unique<PaneModes>(parts, m_controller.get(), &m_settings, std::move(modeHooks));
    DailyLists::Hooks listHooks;
    listHooks.lookUp = [this](const QString& word, int direction) {
        m_modes->lookUpAgain(word, direction == 1);
    };
    m_lists = std::make_unique<DailyLists>(this, &m_buttonTexts, m_paths.program_dir,
                                           m_settings.history_size, std::move(listHooks));
    m_lists->addMenuItems(m_menus->functionsMenu());
    m_panes[0]->setCornerWidget(m_lists->createStar(m_panes[0]));
    for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary})
        m_lists->watchList(m_panes[0]->list(side));
    // A history file that can't be read is reported once the window shows.
    QMetaObject::invokeMethod(m_lists.get(), &DailyLists::reportProblems, Qt::QueuedConnection);
    connectUpdates();
    MainCommands::Parts commands;
    commands.form = this;
    commands.paths = &m_paths;
    commands.settings = &m_settings;
    commands.controller = m_controller.get();
    commands.buttons = m_buttons;
    commands.tray = m_tray;
    commands.lists = m_lists.get();
    commands.modes = m_modes.get();
    commands.switches = m_switches.get();
    commands.dialogs = m_dialogs.get();
    commands.editing = m_editing.get();
    commands.focus = m_focus.get();
    commands.hotKey = m_hotKey.get();
    commands.speech = m_speech.get();
    commands.presence = m_presence.get();
    commands.windows = m_windows.get();
    commands.shownSettings = &m_shownSettings;
    m_commands = std::make_unique<MainCommands>(commands);
    m_commands->connectAll();
}

// Each part of the window listens to the updates of its kind; what takes
// more than one part is wired here.
void MainForm::connectUpdates() {
    PaneSignals* panes = m_updates->panes;
    m_paneDisplay->listenTo(panes);
    connect(panes, &PaneSignals::dictionaryShown, this, [this](SlotId slot, bool loaded) {
        if (m_paneDisplay->showDictionary(slot, loaded)) dictionaryShown(slot, loaded);
    });
    connect(panes, &PaneSignals::translationShown, this, [this](SlotId slot, ListSide from) {
        m_lists->translationShown(pane(slot), from, m_controller->slot(slot).file_name());
    });
    m_statusDisplay->listenTo(m_updates->status);
    m_windows->listenTo(m_updates->hotKey, m_updates->wordForms);

    WindowStateSignals* w = m_updates->window;
    connect(w, &WindowStateSignals::menusEnabled, this,
            [this](bool enabled) { m_menus->setEnabled(enabled); });
    connect(w, &WindowStateSignals::chooserOpened, this, [this] { m_dialogs->changeDictionary(); });
    connect(w, &WindowStateSignals::importDialogOpened, this,
            [this] { m_dialogs->importDictionary(); });
    connect(w, &WindowStateSignals::editModeEnded, this, [this] { m_modes->editModeEnded(); });
    // The controller has set dual mode in its options before it sends this.
    connect(w, &WindowStateSignals::dualModeChanged, this, [this] {
        updateMenuStates();
        m_modes->layout();
    });
    connect(w, &WindowStateSignals::mainWindowActivated, this,
            [this] { m_presence->bringToFront(); });
    // Queued: the close stops the worker, which must be able to end.
    connect(
        w, &WindowStateSignals::mainWindowClosing, this, [this] { close(); }, Qt::QueuedConnection);
    connect(w, &WindowStateSignals::requestsDone, this,
            [this](std::uint64_t count) { m_controller->Delivered(count); });
}

MainHotKey::Hooks MainForm::hotKeyHooks() {
    MainHotKey::Hooks h;
    h.editMode = [this] { return editMode(); };
    h.lookUpStarts = [this] {
        m_lists->hotKeyLookUp();
        m_windows->lookUpStarts();
    };
    h.showTarget = [this](wordbay::HotKeyTarget target) {
        using wordbay::HotKeyTarget;
        // With the main window always on top the popup and tooltip stay hidden.
        if (target == HotKeyTarget::kPopup && m_windows->popup() && !m_settings.main_on_top) {
            m_windows->popup()->showPopup(true);
        } else if (target == HotKeyTarget::kTooltip && m_windows->tooltip() &&
                   !m_settings.main_on_top) {
            m_windows->tooltip()->showTooltip(true);
        } else {
            m_presence->bringToFront();
        }
    };
    h.bringToFront = [this] { m_presence->bringToFront(); };
    h.sourceEdit = [this]() -> const SearchEdit* {
        // At start the look-up image answers, in the slot's direction.
        if (!mainLoaded() && !m_controller->searches().answering_from_image()) return nullptr;
        return m_panes[0]->edit(m_controller->slot(SlotId::kMain).source_side());
    };
    h.copy = [this] { m_focus->copy(); };
    return h;
}

SecondaryWindows::Hooks MainForm::windowHooks() {
    SecondaryWindows::Hooks h;
    h.bringMainToFront = [this] { m_presence->bringToFront(); };
    h.shareKeys = [this](QWidget* window) { m_menus->shareAccelerators(window); };
    h.mainLeavesTop = [this] { m_presence->setAlwaysOnTop(false); };
    h.statesChanged = [this] { updateMenuStates(); };
    h.editMode = [this] { return editMode(); };
    h.popupMade = [this](PopupForm* popup) { popup->setCornerWidget(m_lists->createStar(popup)); };
    return h;
}

void MainForm::dictionaryShown(SlotId id, bool loaded) {
    m_windows->applyLooks();
    if (loaded) {
        // The engines start once the dictionary's own voices are in place.
        m_speech->takeSettings(id, m_controller->slot(id));
        QMetaObject::invokeMethod(this, &MainForm::startSpeech, Qt::QueuedConnection);
    }
    if (id == SlotId::kMain) {
        // The wide button names the dictionary, shortened to fit.
        WImageButton* change = m_buttons->button(cmd::kChange);
        const DICTIONARY_INFO info = m_controller->slot(id).info_snapshot();
        const QString name =
            decodeText(wordbay::DictionarySlot::CodePage(info, ListSide::kPrimary), info.name);
        change->setText(change->fontMetrics().elidedText(name, Qt::ElideRight,
                                                         change->width() - kWideButtonImage));
    }
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
    m_status->setStatusText(uiText(TextId::MSG_DICTIONARY_NOT_LOADED));
}

void MainForm::retranslate() {
    m_menus->retranslate();
    m_buttons->retranslate();
    if (m_lists) m_lists->retranslate();
    if (m_tray != nullptr) m_tray->retranslate();
    buttonTablesFromLanguage();
    updateMenuStates();
}

void MainForm::updateMenuStates() {
    MainMenus::States s;
    s.options = options();
    s.editMode = editMode();
    s.mainOnTop = m_settings.main_on_top;
    s.useHotKeys = m_settings.use_hot_keys;
    s.useSpeech = m_settings.use_speech;
    s.hotKeyTarget = m_settings.hot_key_target;
    m_menus->showStates(s);
    m_switches->showOptions();
}

void MainForm::buttonTablesFromLanguage() {
    for (std::size_t i = 0; i < wordbay::kMessageBoxButtons.size(); ++i) {
        m_buttonTexts[i] = {wordbay::kMessageBoxButtons[i].id,
                            uiText(wordbay::kMessageBoxButtons[i].text)};
    }
    for (DictionaryPane* pane : m_panes) {
        if (pane != nullptr)
            m_tips->addTool(pane->directionButton(),
                            uiText(TextId::TOOLTIP_CHANGE_TRANSLATION_DIRECTION));
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
    if (m_settings.use_hot_keys) m_hotKey->install(true);
    // The dictionaries of the last session open once the windows show.
    if (!m_startupRequested && m_windows->popup() != nullptr) {
        m_startupRequested = true;
        QMetaObject::invokeMethod(
            this, [this] { m_controller->dictionaries().StartUp(); }, Qt::QueuedConnection);
    }
}

// ---- Options and their views -----------------------------------------------

wordbay::SearchOptions MainForm::options() const {
    return m_controller != nullptr ? m_controller->settings().options() : wordbay::SearchOptions();
}

bool MainForm::editMode() const { return options().edit_mode; }

DictionaryPane* MainForm::pane(SlotId slot) const { return m_panes[slot == SlotId::kMain ? 0 : 1]; }

bool MainForm::mainLoaded() const {
    return m_controller != nullptr && m_controller->slot(SlotId::kMain).loaded();
}

// ---- Commands --------------------------------------------------------------

void MainForm::startSpeech() {
    if (m_settings.use_speech) m_speech->startEngines();
}

void MainForm::requestFromOtherStart(int request) {
    if (m_controller == nullptr) return;
    if (request == cmd::kActivateInstance) m_presence->restoreFromTray();
    if (request == cmd::kTranslateSelection) m_hotKey->translateSelection();
}

bool MainForm::onMinimize() { return m_presence->minimizeToTray(); }

void MainForm::onActivate() {
    if (m_hotKey) m_hotKey->clipboardStep();
}

void MainForm::onContextMenu(const QPoint& globalPos, QWidget* source) {
    m_menus->showContextMenu(globalPos, source, m_settings.use_speech);
}

// ---- Closing ---------------------------------------------------------------

// Closing never waits inside the close event, which may itself run from a
// queued call: while a job runs, the close is tried again a moment later.
bool MainForm::onClose() {
    if (m_controller == nullptr) return false;
    m_modes->endLoops();
    if (m_closing) {
        if (m_controller->WorkerFinished()) return false;
        closeLater(this);
        return true;
    }
    // The unsaved-changes question reads the dictionary, which only the
    // worker may touch while a job runs: a stopped search ends at once, a
    // save is let finish.
    if (m_controller->busy()) {
        closeLater(this);
        return true;
    }
    // The text translation may be using the dictionary this moment.
    const std::optional<bool> changed = m_controller->editing().MainChanged();
    if (!changed) {
        closeLater(this);
        return true;
    }
    if (*changed && !m_controller->settings().saved_while_closing()) {
        const int answer =
            messageBox(this, uiText(TextId::MSG_SAVE_CHANGED_DICTIONARY), uiText(TextId::MSG_SAVE),
                       kMbYesNoCancel | kMbIconQuestion, &m_buttonTexts);
        if (answer == kIdYes) {
            m_controller->dictionaries().SaveAndClose();
            return true;
        }
        if (answer != kIdNo) return true;
    }
    {
        const wordbay::SettingsFile settings(m_paths.settings_file);
        m_windows->destroy(&settings);
        writeProgramSettings(&settings);
    }  // the settings file is written here, once
    // The worker ends after what it is doing; the window goes once it has.
    m_closing = true;
    m_controller->RequestStop();
    if (m_controller->WorkerFinished()) return false;
    closeLater(this);
    return true;
}

void MainForm::writeProgramSettings(const wordbay::SettingsFile* file) {
    m_controller->settings().KeepIn(&m_settings);
    m_settings.maximized = isMaximized();
    const bool minimized = isMinimized() || m_presence->inTray();
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
    if (m_speech) m_speech->stop();
    if (m_lists) m_lists->flush();
    m_windows->destroy();
    if (m_controller != nullptr) {
        // Normally the worker has ended before the window closed. Otherwise
        // its current job ends first (a file being written is finished), and
        // as it may wait for a window call meanwhile, events keep running.
        waitForWorker(m_controller.get());
        m_controller->Stop();
        m_controller->WriteSlotSettings();
    }
    if (m_tray != nullptr) m_tray->hide();
    if (m_hotKey && m_hotKey->installed()) m_hotKey->install(false);
}
