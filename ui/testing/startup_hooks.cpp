#include "ui/testing/startup_hooks.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextStream>
#include <QTimer>
#include <functional>
#include <memory>
#include <string_view>

#include "app/search_controller.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_form.h"
#include "ui/main/search_edit.h"
#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/popup/word_forms_label.h"
#include "ui/widgets/w_list_box.h"

namespace {

constexpr int kScreenshotPollMs = 200;
constexpr int kScreenshotSettleMs = 1000;

// What the hooks were asked for.
struct Options {
    QString screenshot;        // --screenshot FILE
    QString typed;             // --type WORD, or the word of --report-translation
    QString report;            // --report-translation WORD FILE
    QString reportHotKey;      // --report-hot-key FILE
    bool keepRunning = false;  // --keep-running: the report hooks do not close
    QString reportTyped;       // --report-typed FILE
    int command = 0;           // --command ID
};

// The value of the one-value option `name`; empty when not given.
QString valueOf(const CommandLine& line, std::string_view name) {
    const QStringList values = line.values(name);
    return values.isEmpty() ? QString() : values.first();
}

Options readOptions(const CommandLine& line) {
    Options o;
    o.screenshot = valueOf(line, "--screenshot");
    o.typed = valueOf(line, "--type");
    o.command = valueOf(line, "--command").toInt();
    o.reportTyped = valueOf(line, "--report-typed");
    o.reportHotKey = valueOf(line, "--report-hot-key");
    o.keepRunning = line.has("--keep-running");
    const QStringList translation = line.values("--report-translation");
    if (translation.size() == 2) {
        o.typed = translation[0];
        o.report = translation[1];
    }
    return o;
}

constexpr int kReportGiveUpPolls = 300;

// The test hook of the first start: waits for the start-up job, types the
// word as a user would, waits for its translations and writes what the two
// lists show (the window title first, then the translations, one per line,
// UTF-8) before closing the window.
void reportTranslation(MainForm* form, const Options& options) {
    auto* poll = new QTimer(form);
    auto polls = std::make_shared<int>(0);
    auto typed = std::make_shared<bool>(false);
    QObject::connect(poll, &QTimer::timeout, form, [form, poll, options, polls, typed] {
        const wordbay::SearchController* controller = form->controller();
        const bool giveUp = ++*polls > kReportGiveUpPolls;
        if (controller->busy() && !giveUp) return;
        const wordbay::DictionarySlot& main = controller->slot(wordbay::SlotId::kMain);
        if (!*typed && main.loaded() && !giveUp) {
            form->pane(wordbay::SlotId::kMain)->edit(main.source_side())->setText(options.typed);
            *typed = true;
            return;
        }
        DictionaryPane* pane = form->pane(wordbay::SlotId::kMain);
        const wordbay::ListSide source =
            main.loaded() ? main.source_side() : wordbay::ListSide::kPrimary;
        WListBox* target =
            pane->list(main.loaded() ? main.target_side() : wordbay::ListSide::kSecondary);
        if (target->count() == 0 && !giveUp) {
            // Without automatic translation the user goes down into the list.
            if (pane->list(source)->count() > 0 && pane->list(source)->curSel() < 0) {
                QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
                QCoreApplication::sendEvent(pane->edit(source), &down);
            }
            return;
        }
        poll->stop();
        QFile file(options.report);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            QTextStream out(&file);
            out << form->windowTitle() << '\n';
            for (int i = 0; i < target->count(); ++i) out << target->itemText(i) << '\n';
        }
        form->close();
    });
    poll->start(kScreenshotPollMs);
}

// Waits for the start-up job, types the word (if any), lets the look-up show
// for a second and then runs `then`.
void afterTypedLookUp(MainForm* form, const Options& options, std::function<void()> then) {
    auto* poll = new QTimer(form);
    QObject::connect(poll, &QTimer::timeout, form, [form, poll, options, then] {
        const wordbay::SearchController* controller = form->controller();
        if (controller->busy()) return;
        poll->stop();
        if (controller->slot(wordbay::SlotId::kMain).loaded() && !options.typed.isEmpty()) {
            const wordbay::ListSide source = controller->slot(wordbay::SlotId::kMain).source_side();
            form->pane(wordbay::SlotId::kMain)->edit(source)->setText(options.typed);
        }
        QTimer::singleShot(kScreenshotSettleMs, form, then);
    });
    poll->start(kScreenshotPollMs);
}

// Types the word, saves the picture of the window and closes it.
void takeScreenshot(MainForm* form, const Options& options) {
    afterTypedLookUp(form, options, [form, options] {
        form->grab().save(options.screenshot);
        form->close();
    });
}

// The lines of the popup's word-form note, as plain text.
QStringList popupWordFormLines(PopupForm* popup) {
    if (popup->wordForms() == nullptr || !popup->wordForms()->isVisible()) return {};
    QTextDocument document;
    document.setHtml(popup->wordForms()->text());
    return document.toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The test hook of the hot key: waits until the popup or the tooltip shows
// translations, writes them (one per line, UTF-8) and closes the window. With
// --keep-running the window stays and the file is written again (replaced
// whole) whenever what the popup or tooltip shows changes.
void reportHotKey(MainForm* form, const Options& options) {
    auto* poll = new QTimer(form);
    auto polls = std::make_shared<int>(0);
    auto written = std::make_shared<QStringList>();
    QObject::connect(poll, &QTimer::timeout, form, [form, poll, options, polls, written] {
        const bool giveUp = !options.keepRunning && ++*polls > kReportGiveUpPolls;
        QStringList lines;
        if (form->windows()->popup() != nullptr && form->windows()->popup()->isVisible()) {
            for (int i = 0; i < form->windows()->popup()->list()->count(); ++i) {
                lines << form->windows()->popup()->list()->itemText(i);
            }
            lines << popupWordFormLines(form->windows()->popup());
        } else if (form->windows()->tooltip() != nullptr &&
                   form->windows()->tooltip()->isVisible()) {
            lines = form->windows()->tooltip()->translationText().split(QLatin1Char('\n'),
                                                                        Qt::SkipEmptyParts);
        }
        if (options.keepRunning) {
            if (lines.isEmpty() || lines == *written) return;
        } else {
            if (lines.isEmpty() && !giveUp) return;
            poll->stop();
        }
        *written = lines;
        QSaveFile file(options.reportHotKey);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            QTextStream out(&file);
            for (const QString& line : lines) out << line << '\n';
            out.flush();
            file.commit();
        }
        if (!options.keepRunning) form->close();
    });
    poll->start(kScreenshotPollMs);
}

// The test hook of typing at once: waits until the dictionary is loaded, the
// worker is free, the edit box has not changed for a second and the list of
// the search direction shows words, then writes the edit box's text and those
// words (one per line, UTF-8) and closes the window. The words are typed by
// the test, as a user would.
constexpr int kTypedSettlePolls = 5;

void reportTyped(MainForm* form, const Options& options) {
    auto* poll = new QTimer(form);
    auto polls = std::make_shared<int>(0);
    auto settled = std::make_shared<int>(0);
    auto seen = std::make_shared<QString>();
    QObject::connect(poll, &QTimer::timeout, form, [form, poll, options, polls, settled, seen] {
        const bool giveUp = ++*polls > kReportGiveUpPolls;
        const wordbay::SearchController* controller = form->controller();
        const wordbay::DictionarySlot& main = controller->slot(wordbay::SlotId::kMain);
        const wordbay::ListSide source =
            main.loaded() ? main.source_side() : wordbay::ListSide::kPrimary;
        WListBox* list = form->pane(wordbay::SlotId::kMain)->list(source);
        const QString text = form->pane(wordbay::SlotId::kMain)->edit(source)->text();
        *settled = text == *seen ? *settled + 1 : 0;
        *seen = text;
        const bool ready = main.loaded() && !controller->busy() && list->count() > 0 &&
                           *settled >= kTypedSettlePolls;
        if (!ready && !giveUp) return;
        poll->stop();
        QFile file(options.reportTyped);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            QTextStream out(&file);
            out << form->pane(wordbay::SlotId::kMain)->edit(source)->text() << '\n';
            for (int i = 0; i < list->count(); ++i) out << list->itemText(i) << '\n';
        }
        form->close();
    });
    poll->start(kScreenshotPollMs);
}

// The hook of the documentation's pictures: types the word (if any), lets
// the look-up show and gives the menu command as if chosen from the menu (a
// dialog it opens stays open).
void runCommand(MainForm* form, const Options& options) {
    afterTypedLookUp(form, options, [form, options] {
        if (QAction* action = form->commandAction(options.command)) action->trigger();
    });
}

}  // namespace

StartupAdditions startupTestHooks() {
    StartupAdditions hooks;
    hooks.options = {{"--screenshot", 1},     {"--type", 1},
                     {"--report-hot-key", 1}, {"--report-translation", 2},
                     {"--keep-running", 0},   {"--report-typed", 1},
                     {"--command", 1}};
    hooks.windowShown = [](MainForm* form, const CommandLine& line) {
        const Options options = readOptions(line);
        if (!options.screenshot.isEmpty()) takeScreenshot(form, options);
        if (!options.report.isEmpty()) reportTranslation(form, options);
        if (!options.reportHotKey.isEmpty()) reportHotKey(form, options);
        if (!options.reportTyped.isEmpty()) reportTyped(form, options);
        if (options.command != 0) runCommand(form, options);
    };
    return hooks;
}
