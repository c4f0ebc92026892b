#include "ui/main/startup.h"

#include <QApplication>
#include <QTimer>

#include "app/program_dir.h"
#include "app/search_controller.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/search_edit.h"
#include "ui/main/command_ids.h"
#include "ui/main/main_form.h"
#include "ui/main/single_instance.h"
#include "ui/widgets/locale_list.h"
#include "ui/widgets/w_message_box.h"

namespace {

constexpr char kFatalCaption[] = "Fatal error";
constexpr char kNoLocales[] =
    "Can't enumerate system locales !\nApplication will terminate now !\nTry start application "
    "again.";

constexpr char kNoEngine[] =
    "Fatal error! Can't initialize dictionary engine!\nApplication will terminate now.\nTry start "
    "application again.";

int fatal(const char* text) {
    messageBox(nullptr, QString::fromUtf8(text), QString::fromUtf8(kFatalCaption),
               kMbOk | kMbIconStop | kMbSystemModal);
    return -1;
}

constexpr int kScreenshotPollMs = 200;
constexpr int kScreenshotSettleMs = 1000;

struct Options {
    QString screenshot;
    QString typed;
};

Options parseOptions(const QStringList& args) {
    Options o;
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--screenshot")) o.screenshot = args[++i];
        else if (args[i] == QLatin1String("--type")) o.typed = args[++i];
    }
    return o;
}

// Waits for the start-up job, types the word, lets the look-up show, saves
// the picture and closes the window.
void takeScreenshot(MainForm* form, const Options& options) {
    auto* poll = new QTimer(form);
    QObject::connect(poll, &QTimer::timeout, form, [form, poll, options] {
        const wordbay::SearchController* controller = form->controller();
        if (controller->busy()) return;
        poll->stop();
        if (controller->slot(wordbay::SlotId::kMain).loaded() && !options.typed.isEmpty()) {
            const wordbay::ListSide source =
                controller->slot(wordbay::SlotId::kMain).source_side();
            form->pane(wordbay::SlotId::kMain)->edit(source)->setText(options.typed);
        }
        QTimer::singleShot(kScreenshotSettleMs, form, [form, options] {
            form->grab().save(options.screenshot);
            form->close();
        });
    });
    poll->start(kScreenshotPollMs);
}

}  // namespace

int runWordbay(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wordbay"));
    const Options options = parseOptions(QApplication::arguments());

    SingleInstance instance(SingleInstance::socketName());
    if (instance.notifyRunning()) return 0;
    if (!instance.listen() && instance.notifyRunning()) return 0;

    if (LocaleList::instance().count() == 0) return fatal(kNoLocales);

    MainForm form(wordbay::FindProgramPaths());
    if (!form.createWindow()) return fatal(kNoEngine);
    QObject::connect(&instance, &SingleInstance::commandReceived, &form, [&form](int id) {
        form.command(cmd::kActivateCode, id, nullptr, -1);
    });
    form.showAtStoredPlace();

    if (!options.screenshot.isEmpty()) takeScreenshot(&form, options);
    return QApplication::exec();
}
