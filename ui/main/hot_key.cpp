// The hot key: installing keysnare's hook for the main window (and, on a
// Wayland desktop, the desktop portal's shortcut), the reaction to its
// message (read the other program's selection, look it up), the clipboard
// step on activation, and dropping a word into the program the user worked
// in before.
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include "app/hot_key_table.h"
#include "app/search_controller.h"
#include "app/settings_file.h"
#include "hook/keysnare.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/hot_key_filter.h"
#include "ui/main/hot_key_portal.h"
#include "ui/main/hot_key_selection.h"
#include "ui/main/main_form.h"
#include "ui/main/search_edit.h"
#include "ui/main/x11_desktop.h"
#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/widgets/code_page_text.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

// Under Wayland the program's window must have the keyboard before it may
// read the selection: it waits this long for it.
constexpr int kFocusPollMs = 25;
constexpr int kFocusWaitMs = 1500;
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

}  // namespace

void MainForm::installHotKey(bool on) {
    if (waylandSession()) usePortal(on);
    if (on == m_hotKeyInstalled) return;
    if (!on) {
        KillKeysnare();
        if (m_hotKeyFilter) QCoreApplication::instance()->removeNativeEventFilter(m_hotKeyFilter.get());
        m_hotKeyFilter.reset();
        m_hotKeyInstalled = false;
        return;
    }
    if (!HotKeyFilter::available()) return;
    m_hotKeyFilter = std::make_unique<HotKeyFilter>(wordbay::WM_HOTKEY_TRIGGER, [this] {
        QMetaObject::invokeMethod(this, &MainForm::onHotKeyMessage, Qt::QueuedConnection);
    });
    QCoreApplication::instance()->installNativeEventFilter(m_hotKeyFilter.get());
    SetKeysnare(static_cast<std::uint32_t>(winId()), wordbay::WM_HOTKEY_TRIGGER);
    SetKeySchortcut(wordbay::HotKeyCode(m_settings.key1), wordbay::HotKeyCode(m_settings.key2),
                    wordbay::HotKeyCode(m_settings.key3));
    m_hotKeyInstalled = true;
}

void MainForm::usePortal(bool on) {
    if (!on) {
        m_portal.reset();
        return;
    }
    if (m_portal) return;
    m_portal = std::make_unique<HotKeyPortal>();
    connect(m_portal.get(), &HotKeyPortal::activated, this, &MainForm::translateSelection);
    connect(m_portal.get(), &HotKeyPortal::unavailable, this, &MainForm::noGlobalHotKey);
    m_portal->start(HotKeyPortal::triggerFor(wordbay::HotKeyCode(m_settings.key1),
                                             wordbay::HotKeyCode(m_settings.key2),
                                             wordbay::HotKeyCode(m_settings.key3)));
}

std::string MainForm::hotKeyNote() const {
    if (!waylandSession() || (m_portal && m_portal->isBound())) return {};
    return kHotKeyNoteText;
}

void MainForm::noGlobalHotKey() {
    // Said once, not at every start.
    const wordbay::SettingsFile file(m_paths.settings_file);
    bool told = false;
    if (file.ReadBool(kHotKeySection, kToldNoGlobalKey, &told) && told) return;
    file.WriteBool(kHotKeySection, kToldNoGlobalKey, true);
    auto* box = new QMessageBox(QMessageBox::Information, windowTitle(),
                                QString::fromUtf8(kNoGlobalKeyText), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("noGlobalHotKey"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Not modal: the program works on while the note is open.
    box->setWindowModality(Qt::NonModal);
    box->show();
}

// Plays Ctrl + `key` on the key thread, then runs `then` on the user-interface
// thread (dropped when the window is gone by then).
static void playKeysThen(std::thread* player, MainForm* form, std::uint32_t key, int delayMs,
                         std::function<void()> then) {
    if (player->joinable()) {
        // One still waiting for the user to let go of the modifiers gives way.
        WEP(0);
        player->join();
    }
    QPointer<MainForm> guard(form);
    *player = std::thread([guard, key, delayMs, then = std::move(then)] {
        playCtrlKey(key);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [guard, delayMs, then] {
                if (guard) QTimer::singleShot(delayMs, guard.data(), then);
            },
            Qt::QueuedConnection);
    });
}

void MainForm::onHotKeyMessage() { reactToHotKey(false); }

void MainForm::translateSelection() {
    // Under Wayland, X11 programs may read the selection only while an X11
    // window has the keyboard: the program's own window comes forward first.
    reactToHotKey(waylandSession());
}

HotKeySelection* MainForm::selectionReader() {
    if (!m_selection) {
        m_selection = std::make_unique<HotKeySelection>(
            HotKeySelection::x11Desktop([this](std::function<void()> played) {
                playKeysThen(&m_keyPlayer, this, kVkC, 0, std::move(played));
            }));
    }
    return m_selection.get();
}

void MainForm::reactToHotKey(bool activateFirst) {
    if (m_editMode || m_controller == nullptr) return;
    m_popupOrigin = false;
    const int target = m_settings.hot_key_target;
    if (activateFirst && target >= 0 && target <= 2) {
        // With the main window always on top the popup and tooltip stay hidden.
        if (target == 1 && m_popup && !m_settings.main_on_top) {
            m_popup->showPopup(true);
        } else if (target == 2 && m_tooltip && !m_settings.main_on_top) {
            m_tooltip->showTooltip(true);
        } else {
            bringToFront();
        }
        auto waited = std::make_shared<int>(0);
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this, poll, waited] {
            if (QApplication::activeWindow() == nullptr && ++*waited * kFocusPollMs < kFocusWaitMs)
                return;
            poll->deleteLater();
            poll->stop();
            reactToHotKey(false);
        });
        poll->start(kFocusPollMs);
        return;
    }
    QPointer<MainForm> guard(this);
    selectionReader()->read([guard](const QString& selected) {
        if (guard) guard->showSelection(selected);
    });
}

void MainForm::showSelection(const QString& selected) {
    if (m_editMode || m_controller == nullptr) return;
    m_hotKeyText = selected;
    for (const SlotId slot : {SlotId::kMain, SlotId::kDual}) {
        m_controller->ClearSide(slot, ListSide::kPrimary);
        m_controller->ClearSide(slot, ListSide::kSecondary);
    }
    const int target = m_settings.hot_key_target;
    if (target < 0 || target > 2) {
        m_hotKeyText.reset();
        return;
    }
    m_controller->SetHotKeyPending(true);
    const bool foreground = isActiveWindow();
    if (target == 0) {
        const bool runNow = m_settings.main_on_top
                                ? isVisible() && (windowFlags() & Qt::WindowStaysOnTopHint)
                                : foreground;
        if (!runNow) {
            // The clipboard step runs when the window has come forward.
            bringToFront();
            return;
        }
    } else if (m_settings.main_on_top && !foreground) {
        bringToFront();
    }
    clipboardStep();
}

void MainForm::clipboardStep() {
    if (!mainLoaded()) return;
    const SearchEdit* source =
        m_panes[0]->edit(m_controller->slot(SlotId::kMain).source_side());
    std::string clip;
    if (m_hotKeyText) {
        // The hot key's selection, read when it fired.
        clip = encodeText(source->codePage(), *m_hotKeyText);
    } else if (m_controller->options().use_clipboard || m_controller->hot_key_pending()) {
        clip = encodeText(source->codePage(), QApplication::clipboard()->text());
    }
    m_hotKeyText.reset();
    m_controller->OnActivated(std::move(clip));
}

void MainForm::onActivate() { clipboardStep(); }

void MainForm::dropWord() {
    copy();
    if (!HotKeyFilter::available()) return;
    activateWindowBelow(static_cast<std::uint64_t>(winId()));
    playKeysThen(&m_keyPlayer, this, kVkV, 0, [] {});
}
