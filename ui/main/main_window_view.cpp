#include "ui/main/main_window_view.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <type_traits>

#include "app/dictionary_slot.h"
#include "app/search_controller.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/search_edit.h"
#include "ui/main/status_strip.h"
#include "ui/widgets/w_form.h"
#include "ui/widgets/w_list_box.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

// How often a word typed while the dictionary loaded looks whether the
// worker is free: often, as the user waits for its answer (the timer runs
// only until then).
constexpr int kTypedPollMs = 10;

}  // namespace

MainWindowView::MainWindowView(const Controls& controls, Hooks hooks)
    : m_controls(controls), m_hooks(std::move(hooks)) {
    m_progressTimer = new QTimer(m_controls.window);
    m_progressTimer->setInterval(cmd::kProgressPeriodMs);
    QObject::connect(m_progressTimer, &QTimer::timeout, m_controls.window, [this] {
        if (m_progressHandle != nullptr)
            m_controls.status->setProgress(DB_GetExecutionProgress(m_progressHandle));
    });
}

MainWindowView::~MainWindowView() {
    // The timers belong to the window, which may outlive the view.
    delete m_progressTimer;
    delete m_typedTimer;
}

DictionaryPane* MainWindowView::pane(SlotId slot) const {
    return m_controls.panes[slot == SlotId::kMain ? 0 : 1];
}

bool MainWindowView::keepTypedWhileBusy(SlotId slot, ListSide side) {
    const int index = slot == SlotId::kMain ? 0 : 1;
    if (m_controller->slot(slot).loaded() && !m_slotBusy[index]) return false;
    m_typedWhileBusy[index] = side == ListSide::kPrimary ? 0 : 1;
    return true;
}

template <typename F>
auto MainWindowView::onUiThread(F&& f) {
    using Result = std::invoke_result_t<F>;
    QWidget* window = m_controls.window;
    if (QThread::currentThread() == window->thread()) return f();
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(window, std::forward<F>(f), Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            window, [&result, &f] { result = f(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

void MainWindowView::ShowList(SlotId slot, ListSide side, const char* const* items, int count) {
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

void MainWindowView::SelectListEntry(SlotId slot, ListSide side, int index) {
    onUiThread([=, this] { pane(slot)->list(side)->setCurSel(index); });
}

std::optional<std::string> MainWindowView::SelectedWord(SlotId slot, ListSide side) {
    return onUiThread([=, this]() -> std::optional<std::string> {
        const WListBox* list = pane(slot)->list(side);
        const int row = list->curSel();
        if (row < 0 || list->items() == nullptr || list->items()[row] == nullptr)
            return std::nullopt;
        return std::string(list->items()[row]);
    });
}

int MainWindowView::SelectedIndex(SlotId slot, ListSide side) {
    return onUiThread([=, this] {
        const WListBox* list = pane(slot)->list(side);
        return list->items() != nullptr ? list->curSel() : -1;
    });
}

void MainWindowView::RedrawList(SlotId slot, ListSide side) {
    onUiThread([=, this] { pane(slot)->list(side)->viewport()->update(); });
}

std::string MainWindowView::EditText(SlotId slot, ListSide side) {
    return onUiThread([=, this] { return pane(slot)->edit(side)->encodedText(); });
}

void MainWindowView::SetEditText(SlotId slot, ListSide side, std::string_view text) {
    onUiThread([=, this] { pane(slot)->edit(side)->setProgramEncodedText(text); });
}

void MainWindowView::TranslationShown(SlotId slot, ListSide from) {
    if (!m_hooks.translationShown) return;
    onUiThread([=, this] { m_hooks.translationShown(slot, from); });
}

void MainWindowView::FocusEdit(SlotId slot, ListSide side) {
    onUiThread([=, this] {
        SearchEdit* edit = pane(slot)->edit(side);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    });
}

void MainWindowView::FocusList(SlotId slot, ListSide side) {
    onUiThread([=, this] { pane(slot)->list(side)->setFocus(Qt::OtherFocusReason); });
}

void MainWindowView::EnableSlotControls(SlotId slot, bool enabled) {
    onUiThread([=, this] {
        m_slotBusy[slot == SlotId::kMain ? 0 : 1] = !enabled;
        pane(slot)->setControlsEnabled(enabled);
        if (enabled) searchTypedWhileBusy();
    });
}

void MainWindowView::searchTypedWhileBusy() {
    if (m_typedWhileBusy[0] < 0 && m_typedWhileBusy[1] < 0) return;
    if (m_typedTimer == nullptr) {
        // The job that enabled the pane may still be running (the start-up
        // job goes on after the load): the search waits until it has ended,
        // so that it neither stops that job's engine loop nor is lost to it.
        m_typedTimer = new QTimer(m_controls.window);
        m_typedTimer->setInterval(kTypedPollMs);
        QObject::connect(m_typedTimer, &QTimer::timeout, m_controls.window, [this] {
            if (m_controller->busy()) return;
            m_typedTimer->stop();
            for (int i = 0; i < 2; ++i) {
                const SlotId slot = i == 0 ? SlotId::kMain : SlotId::kDual;
                const int side = m_typedWhileBusy[i];
                if (side < 0 || m_slotBusy[i] || !m_controller->slot(slot).loaded()) continue;
                m_typedWhileBusy[i] = -1;
                m_controller->OnEditChanged(slot,
                                            side == 0 ? ListSide::kPrimary : ListSide::kSecondary);
            }
        });
    }
    m_typedTimer->start();
}

void MainWindowView::EnableMenus(bool enabled) {
    onUiThread([=, this] { m_hooks.menusEnabled(enabled); });
}

void MainWindowView::SetSlotCodePages(SlotId id, std::uint32_t primary, std::uint32_t secondary) {
    onUiThread([=, this] { pane(id)->setCodePages(primary, secondary); });
}

void MainWindowView::SearchWhenReady(SlotId slot, ListSide side) {
    onUiThread([=, this] { keepTypedWhileBusy(slot, side); });
}

void MainWindowView::RefreshView(SlotId id, const wordbay::DictionarySlot& slot) {
    onUiThread([&slot, id, this] {
        if (!slot.loaded()) {
            pane(id)->setListNames(QStringLiteral("-"), QStringLiteral("-"));
            return;
        }
        showDictionary(id, slot, true);
    });
}

void MainWindowView::PreviewView(SlotId id, const wordbay::DictionarySlot& slot) {
    onUiThread([&slot, id, this] { showDictionary(id, slot, false); });
}

void MainWindowView::showDictionary(SlotId id, const wordbay::DictionarySlot& slot, bool loaded) {
    DictionaryPane* p = pane(id);
    p->setCodePages(slot.CodePage(ListSide::kPrimary), slot.CodePage(ListSide::kSecondary));
    p->setListNames(QString::fromStdString(slot.ListNameUtf8(ListSide::kPrimary)),
                    QString::fromStdString(slot.ListNameUtf8(ListSide::kSecondary)));
    p->setDirection(slot.primary_to_secondary());
    p->applyView(slot.settings().view);
    m_hooks.dictionaryShown(id, slot, loaded);
}

void MainWindowView::SetTitles(const wordbay::WindowTitles& titles) {
    const QString main = QString::fromStdString(titles.main_window);
    onUiThread([=, this] {
        m_controls.window->setWindowTitle(main);
        m_hooks.titlesChanged(titles);
    });
}

void MainWindowView::SetStatus(std::string text) {
    const QString status = QString::fromStdString(text);
    onUiThread([=, this] { m_controls.status->setStatusText(status); });
}

void MainWindowView::BeginProgress(DB_HANDLE handle) {
    onUiThread([=, this] {
        m_progressHandle = handle;
        m_controls.status->beginProgress();
        m_progressTimer->start();
    });
}

void MainWindowView::EndProgress() {
    onUiThread([this] {
        m_progressTimer->stop();
        m_progressHandle = nullptr;
        m_controls.status->endProgress();
    });
}

void MainWindowView::Beep() {
    onUiThread([] { QApplication::beep(); });
}

int MainWindowView::MessageBox(const std::string& text, const std::string& caption,
                               unsigned style) {
    const QString body = QString::fromStdString(text);
    const QString title = QString::fromStdString(caption);
    return onUiThread([=, this] {
        return messageBox(m_controls.window, body, title, style, m_controls.buttonTexts);
    });
}

std::string MainWindowView::ChooseSaveFile(const std::string& title, const std::string& filter_name,
                                           const std::string& extension,
                                           const std::string& start_path) {
    return onUiThread([&]() -> std::string {
        const QString ext = QString::fromStdString(extension);
        const QString filter =
            QStringLiteral("%1 (*.%2)").arg(QString::fromStdString(filter_name), ext);
        QString chosen =
            QFileDialog::getSaveFileName(m_controls.window, QString::fromStdString(title),
                                         QString::fromStdString(start_path), filter);
        if (chosen.isEmpty()) return {};
        if (QFileInfo(chosen).suffix().isEmpty()) chosen += QLatin1Char('.') + ext;
        return chosen.toStdString();
    });
}

void MainWindowView::OpenDictionaryChooser() {
    onUiThread([this] { m_controls.window->command(kMenuCommand, cmd::kChange, nullptr, 0); });
}

void MainWindowView::OpenImportDialog() {
    onUiThread([this] { m_controls.window->command(kMenuCommand, cmd::kImport, nullptr, 0); });
}

void MainWindowView::SetEditModeOff() {
    onUiThread([this] { m_hooks.editModeOff(); });
}

// The controller has set dual mode in its options before it calls.
void MainWindowView::SetDualModeState(bool) {
    onUiThread([this] { m_hooks.dualModeChanged(); });
}

void MainWindowView::ActivateMainWindow() {
    onUiThread([this] { m_hooks.bringToFront(); });
}

bool MainWindowView::WindowsReady() {
    return onUiThread([this] {
        return m_controls.window->isVisible() &&
               m_controls.panes[0]->list(ListSide::kPrimary)->isVisible() &&
               m_hooks.otherWindowsReady();
    });
}

void MainWindowView::CloseMainWindow() {
    // Queued: the job that asks must be able to end while the window closes.
    QWidget* window = m_controls.window;
    QMetaObject::invokeMethod(
        window, [window] { window->close(); }, Qt::QueuedConnection);
}

void MainWindowView::HotKeyShowText(std::string_view word) {
    const std::string copy(word);
    onUiThread([copy, this] { m_hooks.hotKeyText(copy); });
}

void MainWindowView::HotKeyShowList(const char* const* items, int count) {
    onUiThread([items, count, this] { m_hooks.hotKeyList(items, count); });
}

void MainWindowView::HotKeyClear() {
    onUiThread([this] { m_hooks.hotKeyClear(); });
}

void MainWindowView::ShowWordForms(const wordbay::WordFormsNote& note) {
    onUiThread([note, this] {
        if (m_hooks.wordForms) m_hooks.wordForms(note);
    });
}
