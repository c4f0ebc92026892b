// The MainView operations of the main window. The worker calls them while it
// runs a job; each runs on the user-interface thread and the worker waits for
// it, so that answers (a message box button, an edit box's text) are there at
// return. Called on the user-interface thread itself, an operation runs at once.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QThread>
#include <QTimer>
#include <type_traits>

#include "app/dictionary_slot.h"
#include "app/search_controller.h"
#include "platform/locale.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_form.h"

#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/main/search_edit.h"
#include "ui/main/status_strip.h"
#include "ui/main/tray_icon.h"
#include "ui/widgets/code_page_text.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_list_box.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

// Room the image and the padding take in the wide dictionary button.
constexpr int kWideButtonImage = 34;
// How often a word typed while the dictionary loaded looks whether the
// worker is free.
constexpr int kTypedPollMs = 50;

}  // namespace

template <typename F>
auto MainForm::onUiThread(F&& f) {
    using Result = std::invoke_result_t<F>;
    if (QThread::currentThread() == thread()) return f();
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(this, std::forward<F>(f), Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            this, [&result, &f] { result = f(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

void MainForm::ShowList(SlotId slot, ListSide side, const char* const* items, int count) {
    onUiThread([=, this] {
        WListBox* list = pane(slot)->list(side);
        if (items == nullptr || count <= 0) {
            list->setCount(0);
            list->setItems(nullptr);
            return;
        }
        list->setItems(items);
        list->setCount(count);
    });
}

void MainForm::SelectListEntry(SlotId slot, ListSide side, int index) {
    onUiThread([=, this] { pane(slot)->list(side)->setCurSel(index); });
}

std::optional<std::string> MainForm::SelectedWord(SlotId slot, ListSide side) {
    return onUiThread([=, this]() -> std::optional<std::string> {
        const WListBox* list = pane(slot)->list(side);
        const int row = list->curSel();
        if (row < 0 || list->items() == nullptr || list->items()[row] == nullptr)
            return std::nullopt;
        return std::string(list->items()[row]);
    });
}

int MainForm::SelectedIndex(SlotId slot, ListSide side) {
    return onUiThread([=, this] {
        const WListBox* list = pane(slot)->list(side);
        return list->items() != nullptr ? list->curSel() : -1;
    });
}

void MainForm::RedrawList(SlotId slot, ListSide side) {
    onUiThread([=, this] { pane(slot)->list(side)->viewport()->update(); });
}

std::string MainForm::EditText(SlotId slot, ListSide side) {
    return onUiThread([=, this] { return pane(slot)->edit(side)->encodedText(); });
}

void MainForm::SetEditText(SlotId slot, ListSide side, std::string_view text) {
    onUiThread([=, this] { pane(slot)->edit(side)->setProgramEncodedText(text); });
}

void MainForm::FocusEdit(SlotId slot, ListSide side) {
    onUiThread([=, this] {
        SearchEdit* edit = pane(slot)->edit(side);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    });
}

void MainForm::FocusList(SlotId slot, ListSide side) {
    onUiThread([=, this] { pane(slot)->list(side)->setFocus(Qt::OtherFocusReason); });
}

void MainForm::EnableSlotControls(SlotId slot, bool enabled) {
    onUiThread([=, this] {
        m_slotBusy[slot == SlotId::kMain ? 0 : 1] = !enabled;
        pane(slot)->setControlsEnabled(enabled);
        if (enabled) searchTypedWhileBusy();
    });
}

void MainForm::searchTypedWhileBusy() {
    if (m_typedWhileBusy[0] < 0 && m_typedWhileBusy[1] < 0) return;
    if (m_typedTimer == nullptr) {
        // The job that enabled the pane may still be running (the start-up
        // job goes on after the load): the search waits until it has ended,
        // so that it neither stops that job's engine loop nor is lost to it.
        m_typedTimer = new QTimer(this);
        m_typedTimer->setInterval(kTypedPollMs);
        connect(m_typedTimer, &QTimer::timeout, this, [this] {
            if (m_controller->busy()) return;
            m_typedTimer->stop();
            for (int i = 0; i < 2; ++i) {
                const SlotId slot = i == 0 ? SlotId::kMain : SlotId::kDual;
                const int side = m_typedWhileBusy[i];
                if (side < 0 || m_slotBusy[i] || !m_controller->slot(slot).loaded()) continue;
                m_typedWhileBusy[i] = -1;
                m_controller->OnEditChanged(slot, side == 0 ? ListSide::kPrimary
                                                            : ListSide::kSecondary);
            }
        });
    }
    m_typedTimer->start();
}

void MainForm::EnableMenus(bool enabled) {
    onUiThread([=, this] {
        for (QMenu* menu : m_menus) menu->setEnabled(enabled);
        m_buttons->setEnabled(enabled);
    });
}

void MainForm::RefreshView(SlotId id, const wordbay::DictionarySlot& slot) {
    onUiThread([&slot, id, this] {
        DictionaryPane* p = pane(id);
        if (!slot.loaded()) {
            p->setListNames(QStringLiteral("-"), QStringLiteral("-"));
            return;
        }
        p->setCodePages(slot.CodePage(ListSide::kPrimary),
                        slot.CodePage(ListSide::kSecondary));
        p->setListNames(QString::fromStdString(slot.ListNameUtf8(ListSide::kPrimary)),
                        QString::fromStdString(slot.ListNameUtf8(ListSide::kSecondary)));
        p->setDirection(slot.primary_to_secondary());
        p->applyView(slot.settings().view);
        applySecondaryLooks();
        // The engines start once the dictionary's own voices are in place.
        takeSpeechSettings(id, slot);
        QMetaObject::invokeMethod(
            this, [this] { command(kMenuCommand, cmd::kStartSpeech, nullptr, 0); },
            Qt::QueuedConnection);
        if (id == SlotId::kMain) {
            // The wide button names the dictionary, shortened to fit.
            WImageButton* change = m_buttons->button(cmd::kChange);
            const QString name = decodeText(slot.CodePage(ListSide::kPrimary),
                                            slot.info().name);
            change->setText(change->fontMetrics().elidedText(name, Qt::ElideRight,
                                                             change->width() - kWideButtonImage));
        }
    });
}

void MainForm::SetTitles(const wordbay::WindowTitles& titles) {
    const QString main = QString::fromStdString(titles.main_window);
    onUiThread([=, this] {
        setWindowTitle(main);
        updateSecondaryTitles(titles);
    });
}

void MainForm::SetStatus(std::string text) {
    const QString status = QString::fromStdString(text);
    onUiThread([=, this] { m_status->setStatusText(status); });
}

void MainForm::BeginProgress(DB_HANDLE handle) {
    onUiThread([=, this] {
        m_progressHandle = handle;
        m_status->beginProgress();
        setFormTimer(cmd::kProgressTimer, cmd::kProgressPeriodMs);
    });
}

void MainForm::EndProgress() {
    onUiThread([this] {
        killFormTimer(cmd::kProgressTimer);
        m_progressHandle = nullptr;
        m_status->endProgress();
    });
}

void MainForm::onTimer(int id) {
    if (id == cmd::kProgressTimer && m_progressHandle != nullptr)
        m_status->setProgress(DB_GetExecutionProgress(m_progressHandle));
}

void MainForm::Beep() {
    onUiThread([] { QApplication::beep(); });
}

int MainForm::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
    const QString body = QString::fromStdString(text);
    const QString title = QString::fromStdString(caption);
    return onUiThread([=, this] { return messageBox(this, body, title, style, &m_buttonTexts); });
}

std::string MainForm::ChooseSaveFile(const std::string& title, const std::string& filter_name,
                                     const std::string& extension,
                                     const std::string& start_path) {
    return onUiThread([&]() -> std::string {
        const QString ext = QString::fromStdString(extension);
        const QString filter =
            QStringLiteral("%1 (*.%2)").arg(QString::fromStdString(filter_name), ext);
        QString chosen = QFileDialog::getSaveFileName(this, QString::fromStdString(title),
                                                      QString::fromStdString(start_path), filter);
        if (chosen.isEmpty()) return {};
        if (QFileInfo(chosen).suffix().isEmpty()) chosen += QLatin1Char('.') + ext;
        return chosen.toStdString();
    });
}

void MainForm::OpenDictionaryChooser() {
    onUiThread([this] { changeDictionary(); });
}

void MainForm::OpenImportDialog() {
    onUiThread([this] { command(kMenuCommand, cmd::kImport, nullptr, 0); });
}

void MainForm::SetEditModeOff() {
    onUiThread([this] {
        if (m_editMode) toggleEditMode();
    });
}

// The controller has set dual mode in its options before it calls.
void MainForm::SetDualModeState(bool) {
    onUiThread([this] {
        updateMenuStates();
        layoutPanes();
    });
}

void MainForm::ActivateMainWindow() {
    onUiThread([this] { bringToFront(); });
}

bool MainForm::WindowsReady() {
    return onUiThread([this] {
        return isVisible() && m_panes[0]->list(ListSide::kPrimary)->isVisible() && m_popup &&
               m_tooltip && m_textWindow;
    });
}

void MainForm::CloseMainWindow() {
    // Queued: the job that asks must be able to end while the window closes.
    QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
}

void MainForm::HotKeyShowText(std::string_view word) {
    const std::string copy(word);
    onUiThread([copy, this] {
        if (!m_popup || !m_tooltip || !mainLoaded()) return;
        const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
        const std::uint32_t page = main.CodePage(main.source_side());
        if (m_settings.hot_key_target == 1) {
            // What the user is typing into the popup stays as it is.
            if (!m_popupOrigin) {
                m_popup->edit()->setCodePage(page);
                m_popup->edit()->setProgramEncodedText(copy);
            }
        } else if (m_settings.hot_key_target == 2) {
            m_tooltip->setWord(decodeText(page, copy));
        }
        if (!m_popupOrigin) showHotKeyWindow();
    });
}

void MainForm::HotKeyShowList(const char* const* items, int count) {
    onUiThread([items, count, this] {
        if (!m_popup || !m_tooltip || !mainLoaded()) return;
        const wordbay::SearchOptions o = options();
        const bool linked = o.dual_mode && o.link && m_controller->slot(SlotId::kDual).loaded();
        const wordbay::DictionarySlot& shown = m_controller->slot(linked ? SlotId::kDual
                                                                         : SlotId::kMain);
        const std::uint32_t page = shown.CodePage(shown.target_side());
        const int n = items != nullptr ? std::max(count, 0) : 0;
        if (m_settings.hot_key_target == 1) {
            m_popup->list()->setCodePage(page);
            m_popup->list()->setItems(items);
            m_popup->list()->setCount(n);
            m_popup->setStatusText(QStringLiteral("%1: %2")
                                       .arg(QString::fromStdString(
                                           shown.ListNameUtf8(shown.target_side())))
                                       .arg(n));
        } else if (m_settings.hot_key_target == 2) {
            QStringList lines;
            for (int i = 0; i < n && i < PopupTooltipForm::kMaxLines; ++i) {
                lines << (items[i] != nullptr ? decodeText(page, items[i]) : QString());
            }
            m_tooltip->setTranslations(lines);
        }
        if (!m_popupOrigin) showHotKeyWindow();
        m_popupOrigin = false;
    });
}

void MainForm::HotKeyClear() {
    onUiThread([this] {
        if (!m_popup || !m_tooltip) return;
        if (m_settings.hot_key_target == 1) {
            if (!m_popupOrigin) m_popup->edit()->setProgramText(QString());
            m_popup->list()->setCount(0);
            m_popup->list()->setItems(nullptr);
            m_popup->setStatusText(QString());
        } else if (m_settings.hot_key_target == 2) {
            m_tooltip->setWord(QString());
            m_tooltip->clearTranslations();
        }
    });
}
