// The hot key: installing keysnare's hook for the main window, the reaction
// to its message (copy the other program's selection, look it up), the
// clipboard step on activation, and dropping a word into the program the
// user worked in before.
#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QTimer>

#include "app/hot_key_table.h"
#include "app/search_controller.h"
#include "hook/keysnare.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/hot_key_filter.h"
#include "ui/main/main_form.h"
#include "ui/main/search_edit.h"
#include "ui/main/x11_desktop.h"
#include "ui/widgets/code_page_text.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

// The other program gets this long to put its selection on the clipboard.
constexpr int kCopyWaitMs = 200;
constexpr std::uint32_t kVkC = 'C';
constexpr std::uint32_t kVkV = 'V';

}  // namespace

void MainForm::installHotKey(bool on) {
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

void MainForm::onHotKeyMessage() {
    if (m_editMode || m_controller == nullptr) return;
    m_popupOrigin = false;
    m_clipboardBeforeHotKey = QApplication::clipboard()->text();
    m_hotKeyCopying = true;
    playKeysThen(&m_keyPlayer, this, kVkC, kCopyWaitMs, [this] {
        for (const SlotId slot : {SlotId::kMain, SlotId::kDual}) {
            m_controller->ClearSide(slot, ListSide::kPrimary);
            m_controller->ClearSide(slot, ListSide::kSecondary);
        }
        const int target = m_settings.hot_key_target;
        if (target < 0 || target > 2) return;
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
    });
}

void MainForm::clipboardStep() {
    if (!mainLoaded()) return;
    const SearchEdit* source =
        m_panes[0]->edit(m_controller->slot(SlotId::kMain).source_side());
    std::string clip;
    if (m_controller->options().use_clipboard || m_controller->hot_key_pending()) {
        QString copied = QApplication::clipboard()->text();
        // A program without a copy key (a terminal) leaves the clipboard as
        // it was: its selection is then the X11 primary selection.
        if (m_hotKeyCopying && copied == m_clipboardBeforeHotKey &&
            QApplication::clipboard()->supportsSelection()) {
            copied = QApplication::clipboard()->text(QClipboard::Selection);
        }
        clip = encodeText(source->codePage(), copied);
    }
    m_hotKeyCopying = false;
    m_controller->OnActivated(std::move(clip));
}

void MainForm::onActivate() { clipboardStep(); }

void MainForm::dropWord() {
    copy();
    if (!HotKeyFilter::available()) return;
    activateWindowBelow(static_cast<std::uint64_t>(winId()));
    playKeysThen(&m_keyPlayer, this, kVkV, 0, [] {});
}
