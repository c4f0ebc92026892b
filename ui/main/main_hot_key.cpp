#include "ui/main/main_hot_key.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "app/hot_key_table.h"
#include "app/search_controller.h"
#include "app/settings_file.h"
#include "hook/keysnare.h"
#include "ui/main/hot_key_filter.h"
#include "ui/main/hot_key_portal.h"
#include "ui/main/hot_key_selection.h"
#include "ui/main/search_edit.h"
#include "ui/main/x11_desktop.h"
#include "ui/widgets/code_page_text.h"
#include "ui/widgets/ui_thread.h"
#include "ui/widgets/w_form.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

// Under Wayland the program's window must have the keyboard before it may
// read the selection: it waits at most this long for it (a busy desktop may
// take a second or more; the wait ends as soon as the keyboard comes).
constexpr int kFocusPollMs = 25;
constexpr int kFocusWaitMs = 3000;
constexpr std::uint32_t kVkC = 'C';
constexpr std::uint32_t kVkV = 'V';
constexpr char kHotKeySection[] = "hotkey";
// Set once the user was told that this desktop hides the global key.
constexpr char kToldNoGlobalKey[] = "toldnoglobalkey";
constexpr char kNoGlobalKeyText[] =
    "On this Wayland desktop the hot key is seen only while an X11 program has the "
    "keyboard, and the desktop offers no global shortcuts to programs.\n\n"
    "To translate a selected word in any program, bind the command\n\n"
    "    wordbay --translate-selection\n\n"
    "to a keyboard shortcut of the desktop:\n"
    "GNOME: Settings > Keyboard > View and Customize Shortcuts > Custom Shortcuts\n"
    "KDE: System Settings > Shortcuts > Add New > Command or Script\n"
    "sway: bindsym ctrl+alt+w exec wordbay --translate-selection";
constexpr char kHotKeyNoteText[] =
    "On this Wayland desktop the hot key is seen only over X11 programs: bind the command "
    "\"wordbay --translate-selection\" to a keyboard shortcut of the desktop to translate a "
    "selected word anywhere (see Help).";

// Whether `target` names a window the hot key calls (a hand-edited settings
// file may hold another value, which calls none).
bool calls(wordbay::HotKeyTarget target) {
    using wordbay::HotKeyTarget;
    return target == HotKeyTarget::kMainWindow || target == HotKeyTarget::kPopup ||
           target == HotKeyTarget::kTooltip;
}

// Whether the desktop has given the keyboard to one of the program's windows.
bool programHasKeyboard() {
    std::vector<std::uint64_t> own;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->internalWinId() != 0)
            own.push_back(static_cast<std::uint64_t>(w->internalWinId()));
    }
    return keyboardIsOurs(desktopActiveWindow(), own, QApplication::activeWindow() != nullptr);
}

}  // namespace

MainHotKey::MainHotKey(WForm* window, const wordbay::ProgramSettings* settings,
                       wordbay::SearchController* controller, std::string settingsFile, Hooks hooks)
    : m_window(window)
    , m_settings(settings)
    , m_controller(controller)
    , m_settingsFile(std::move(settingsFile))
    , m_hooks(std::move(hooks)) {}

MainHotKey::~MainHotKey() {
    if (m_installed) install(false);
    if (m_keyPlayer.joinable()) {
        WEP(0);
        m_keyPlayer.join();
    }
}

void MainHotKey::install(bool on) {
    if (waylandSession()) usePortal(on);
    if (on == m_installed) return;
    if (!on) {
        KillKeysnare();
        if (m_filter) QCoreApplication::instance()->removeNativeEventFilter(m_filter.get());
        m_filter.reset();
        m_installed = false;
        return;
    }
    if (!HotKeyFilter::available()) return;
    m_filter = std::make_unique<HotKeyFilter>(wordbay::WM_HOTKEY_TRIGGER, [this] {
        QMetaObject::invokeMethod(this, &MainHotKey::onMessage, Qt::QueuedConnection);
    });
    QCoreApplication::instance()->installNativeEventFilter(m_filter.get());
    SetKeysnare(static_cast<std::uint32_t>(m_window->winId()), wordbay::WM_HOTKEY_TRIGGER);
    SetKeySchortcut(wordbay::HotKeyCode(m_settings->key1), wordbay::HotKeyCode(m_settings->key2),
                    wordbay::HotKeyCode(m_settings->key3));
    m_installed = true;
}

void MainHotKey::changeKeys() {
    if (m_portal) {
        // The desktop is asked again, with the new preferred trigger.
        usePortal(false);
        usePortal(true);
    }
    if (!m_installed) return;
    SetKeySchortcut(wordbay::HotKeyCode(m_settings->key1), wordbay::HotKeyCode(m_settings->key2),
                    wordbay::HotKeyCode(m_settings->key3));
}

void MainHotKey::usePortal(bool on) {
    if (!on) {
        m_portal.reset();
        return;
    }
    if (m_portal) return;
    m_portal = std::make_unique<HotKeyPortal>();
    connect(m_portal.get(), &HotKeyPortal::activated, this, &MainHotKey::translateSelection);
    connect(m_portal.get(), &HotKeyPortal::unavailable, this, &MainHotKey::noGlobalHotKey);
    m_portal->start(HotKeyPortal::triggerFor(wordbay::HotKeyCode(m_settings->key1),
                                             wordbay::HotKeyCode(m_settings->key2),
                                             wordbay::HotKeyCode(m_settings->key3)));
}

std::string MainHotKey::note() const {
    if (!waylandSession() || (m_portal && m_portal->isBound())) return {};
    return kHotKeyNoteText;
}

void MainHotKey::noGlobalHotKey() {
    // Said once, not at every start.
    const wordbay::SettingsFile file(m_settingsFile);
    bool told = false;
    if (file.ReadBool(kHotKeySection, kToldNoGlobalKey, &told) && told) return;
    file.WriteBool(kHotKeySection, kToldNoGlobalKey, true);
    auto* box = new QMessageBox(QMessageBox::Information, m_window->windowTitle(),
                                QString::fromUtf8(kNoGlobalKeyText), QMessageBox::Ok, m_window);
    box->setObjectName(QStringLiteral("noGlobalHotKey"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Not modal: the program works on while the note is open.
    box->setWindowModality(Qt::NonModal);
    box->show();
}

// Plays Ctrl + `key` on the key thread, then runs `then` on the user-interface
// thread (dropped when `owner` is gone by then).
static void playKeysThen(std::thread* player, QObject* owner, std::uint32_t key, int delayMs,
                         std::function<void()> then) {
    if (player->joinable()) {
        // One still waiting for the user to let go of the modifiers gives way.
        WEP(0);
        player->join();
    }
    QPointer<QObject> guard(owner);
    *player = std::thread([guard, key, delayMs, then = std::move(then)] {
        playCtrlKey(key);
        postToUiThread(QCoreApplication::instance(), [guard, delayMs, then] {
            if (guard) QTimer::singleShot(delayMs, guard.data(), then);
        });
    });
}

void MainHotKey::onMessage() { react(false); }

void MainHotKey::translateSelection() {
    // Under Wayland, X11 programs may read the selection only while an X11
    // window has the keyboard: the program's own window comes forward first.
    react(waylandSession());
}

bool MainHotKey::readingSelection() const { return m_selection && m_selection->busy(); }

HotKeySelection* MainHotKey::selectionReader() {
    if (!m_selection) {
        m_selection = std::make_unique<HotKeySelection>(
            HotKeySelection::x11Desktop([this](std::function<void()> played) {
                playKeysThen(&m_keyPlayer, this, kVkC, 0, std::move(played));
            }));
    }
    return m_selection.get();
}

void MainHotKey::react(bool activateFirst) {
    if (m_hooks.editMode()) return;
    m_hooks.lookUpStarts();
    const wordbay::HotKeyTarget target = m_settings->hot_key_target;
    if (activateFirst && calls(target)) {
        m_hooks.showTarget(target);
        auto waited = std::make_shared<int>(0);
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this, poll, waited] {
            if (!programHasKeyboard() && ++*waited * kFocusPollMs < kFocusWaitMs) return;
            poll->deleteLater();
            poll->stop();
            react(false);
        });
        poll->start(kFocusPollMs);
        return;
    }
    QPointer<MainHotKey> guard(this);
    selectionReader()->read([guard](const QString& selected) {
        if (guard) guard->showSelection(selected);
    });
}

void MainHotKey::showSelection(const QString& selected) {
    if (m_hooks.editMode()) return;
    m_text = selected;
    for (const SlotId slot : {SlotId::kMain, SlotId::kDual}) {
        m_controller->searches().ClearSide(slot, ListSide::kPrimary);
        m_controller->searches().ClearSide(slot, ListSide::kSecondary);
    }
    const wordbay::HotKeyTarget target = m_settings->hot_key_target;
    if (!calls(target)) {
        m_text.reset();
        return;
    }
    m_controller->settings().SetHotKeyPending(true);
    const bool foreground = m_window->isActiveWindow();
    if (target == wordbay::HotKeyTarget::kMainWindow) {
        const bool runNow =
            m_settings->main_on_top
                ? m_window->isVisible() && (m_window->windowFlags() & Qt::WindowStaysOnTopHint)
                : foreground;
        if (!runNow) {
            // The clipboard step runs when the window has come forward.
            m_hooks.bringToFront();
            return;
        }
    } else if (m_settings->main_on_top && !foreground) {
        m_hooks.bringToFront();
    }
    clipboardStep();
}

void MainHotKey::clipboardStep() {
    const SearchEdit* source = m_hooks.sourceEdit();
    if (source == nullptr) return;
    std::string clip;
    if (m_text) {
        // The hot key's selection, read when it fired.
        clip = encodeText(source->codePage(), *m_text);
    } else if (m_controller->settings().options().use_clipboard ||
               m_controller->settings().hot_key_pending()) {
        clip = encodeText(source->codePage(), QApplication::clipboard()->text());
    }
    m_text.reset();
    m_controller->searches().Activated(clip);
}

void MainHotKey::dropWord() {
    // The hot key's own copy key may be playing: then it copies nothing.
    if (!readingSelection()) m_hooks.copy();
    if (!HotKeyFilter::available()) return;
    activateWindowBelow(static_cast<std::uint64_t>(m_window->winId()));
    playKeysThen(&m_keyPlayer, this, kVkV, 0, [] {});
}
