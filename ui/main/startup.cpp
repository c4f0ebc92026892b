#include "ui/main/startup.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "app/program_dir.h"
#include "app/search_controller.h"
#include "app/startup_trace.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_form.h"
#include "ui/main/main_hot_key.h"
#include "ui/main/search_edit.h"
#include "ui/main/single_instance.h"
#include "ui/main/x11_desktop.h"
#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/popup/word_forms_label.h"
#include "ui/widgets/color_scheme.h"
#include "ui/widgets/locale_list.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_message_box.h"

namespace {

constexpr char kUsage[] =
    "Usage: wordbay [OPTION]\n"
    "A bilingual dictionary: type a word, or select one in any program and press\n"
    "the hot key (by default Ctrl+Shift), to see its translations.\n"
    "\n"
    "  --translate-selection  look up the selected word as the hot key does, in the\n"
    "                         running program (started when none runs); bind it to\n"
    "                         a desktop shortcut where the hot key cannot be seen\n"
    "                         (Wayland desktops without the GlobalShortcuts portal)\n"
    "  --help                 show this help and exit\n"
    "  --version              show the version and exit\n"
    "\n"
    "Examples of a desktop shortcut running it (Ctrl+Alt+W):\n"
    "  GNOME: Settings > Keyboard > Keyboard Shortcuts > Custom Shortcuts\n"
    "  KDE:   System Settings > Shortcuts > Add New > Command or Script\n"
    "  sway:  bindsym ctrl+alt+w exec wordbay --translate-selection\n";

// What the command line asks before any window exists.
struct CommandLine {
    bool help = false;
    bool version = false;
    bool translateSelection = false;
    std::string unknown;  // the first option the program does not know
};

CommandLine readCommandLine(int argc, char** argv) {
    CommandLine line;
    // The test hooks, with the number of values each takes.
    static constexpr std::pair<std::string_view, int> kHooks[] = {
        {"--screenshot", 1},     {"--type", 1},
        {"--report-hot-key", 1}, {"--report-translation", 2},
        {"--keep-running", 0},   {"--report-typed", 1},
        {"--command", 1}};
    // Qt's own options, which Qt also takes with two dashes.
    static constexpr std::string_view kQtOptions[] = {"-platform",
                                                      "-platformpluginpath",
                                                      "-platformtheme",
                                                      "-plugin",
                                                      "-display",
                                                      "-style",
                                                      "-stylesheet",
                                                      "-geometry",
                                                      "-qwindowgeometry",
                                                      "-qwindowtitle",
                                                      "-qwindowicon",
                                                      "-name",
                                                      "-title",
                                                      "-session",
                                                      "-reverse",
                                                      "-widgetcount",
                                                      "-sync",
                                                      "-nograb",
                                                      "-dograb",
                                                      "-qmljsdebugger",
                                                      "-testability"};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            continue;
        }
        if (arg == "--version") {
            line.version = true;
            continue;
        }
        if (arg == "--translate-selection") {
            line.translateSelection = true;
            continue;
        }
        const auto hook = std::find_if(std::begin(kHooks), std::end(kHooks),
                                       [arg](const auto& h) { return h.first == arg; });
        if (hook != std::end(kHooks)) {
            i += hook->second;
            continue;
        }
        // Values of Qt's options and Qt's single-dash options are Qt's business.
        if (!arg.starts_with("--")) continue;
        const std::string_view qt =
            arg.substr(1, arg.find('=') == std::string_view::npos ? std::string_view::npos
                                                                  : arg.find('=') - 1);
        if (std::find(std::begin(kQtOptions), std::end(kQtOptions), qt) != std::end(kQtOptions))
            continue;
        if (line.unknown.empty()) line.unknown = std::string(arg);
    }
    return line;
}

// The arguments for Qt: on a Wayland desktop the program runs on its X11
// server (XWayland), where window placement, staying on top, the hot key and
// the selections work, unless the user chose a platform.
std::vector<char*> withPlatformForDesktop(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    bool chosen = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg.starts_with("--")) arg.remove_prefix(1);
        if (arg == "-platform" || arg.starts_with("-platform=")) chosen = true;
    }
    if (!chosen && waylandSession() && qEnvironmentVariableIsSet("DISPLAY")) {
        static char platform[] = "-platform";
        static char xcb[] = "xcb";
        args.push_back(platform);
        args.push_back(xcb);
    }
    args.push_back(nullptr);
    return args;
}

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
    QString report;            // --report-translation WORD FILE
    QString reportHotKey;      // --report-hot-key FILE
    bool keepRunning = false;  // --keep-running: the report hooks do not close
    QString reportTyped;       // --report-typed FILE
    int command = 0;           // --command ID
};

Options parseOptions(const QStringList& args) {
    Options o;
    o.keepRunning = args.contains(QLatin1String("--keep-running"));
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--screenshot")) {
            o.screenshot = args[++i];
        } else if (args[i] == QLatin1String("--type")) {
            o.typed = args[++i];
        } else if (args[i] == QLatin1String("--command")) {
            o.command = args[++i].toInt();
        } else if (args[i] == QLatin1String("--report-typed")) {
            o.reportTyped = args[++i];
        } else if (args[i] == QLatin1String("--report-hot-key")) {
            o.reportHotKey = args[++i];
        } else if (args[i] == QLatin1String("--report-translation") && i + 2 < args.size()) {
            o.typed = args[++i];
            o.report = args[++i];
        }
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

// Runs `then` once the start-up job has opened the stored dictionaries.
void whenStartedUp(MainForm* form, std::function<void()> then) {
    auto* poll = new QTimer(form);
    auto polls = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, form, [form, poll, polls, then] {
        if (form->controller()->busy() && ++*polls <= kReportGiveUpPolls) return;
        poll->stop();
        poll->deleteLater();
        then();
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

// With start-up tracing on, marks what the user sees and does: the window's
// first paint, each key pressed, and the first paint of translations.
class StartupEvents : public QObject {
public:
    explicit StartupEvents(MainForm* form) : QObject(form), m_form(form) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            wordbay::StartupMark(("key " + text.toStdString()).c_str());
        } else if (event->type() == QEvent::Paint) {
            WListBox* target =
                m_form->pane(wordbay::SlotId::kMain)->list(wordbay::ListSide::kSecondary);
            if (!m_painted && watched == m_form) {
                m_painted = true;
                wordbay::StartupMark("window painted");
            } else if (!m_answered && watched == target->viewport() && target->count() > 0) {
                m_answered = true;
                wordbay::StartupMark("translations painted");
            }
        }
        return false;
    }

private:
    MainForm* m_form;
    bool m_painted = false;
    bool m_answered = false;
};

}  // namespace

int runWordbay(int argc, char** argv) {
    wordbay::StartupMark("main entered");
    const CommandLine line = readCommandLine(argc, argv);
    if (line.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (line.version) {
        std::printf("wordbay %s\n", WORDBAY_VERSION);
        return 0;
    }
    if (!line.unknown.empty()) {
        std::fprintf(stderr, "wordbay: unknown option %s\nTry 'wordbay --help'.\n",
                     line.unknown.c_str());
        return 2;
    }
    std::vector<char*> qtArgs = withPlatformForDesktop(argc, argv);
    int qtArgc = static_cast<int>(qtArgs.size()) - 1;
    QApplication app(qtArgc, qtArgs.data());
    wordbay::StartupMark("application made");
    QApplication::setApplicationName(QStringLiteral("wordbay"));
    const Options options = parseOptions(QApplication::arguments());
    // The windows follow the desktop's light or dark scheme.
    new ColorScheme(&app);

    const int request = line.translateSelection ? cmd::kTranslateSelection : cmd::kActivateInstance;
    SingleInstance instance(SingleInstance::socketName());
    if (instance.notifyRunning(request)) return 0;
    if (!instance.listen() && instance.notifyRunning(request)) return 0;

    wordbay::StartupMark("single instance checked");
    if (LocaleList::instance().count() == 0) return fatal(kNoLocales);
    wordbay::StartupMark("locales listed");

    const wordbay::ProgramPaths paths = wordbay::FindProgramPaths();
    // An installed program's first start gets the shipped word list.
    wordbay::SeedFirstStart(paths, wordbay::InstalledShareDir(wordbay::ExecutableDir()));
    // Imports and the first conversion save into the database folder.
    std::error_code ignored;
    std::filesystem::create_directories(paths.database_dir, ignored);
    MainForm form(paths);
    if (wordbay::StartupTraceOn()) app.installEventFilter(new StartupEvents(&form));
    wordbay::StartupMark("window constructed");
    if (!form.createWindow()) return fatal(kNoEngine);
    wordbay::StartupMark("window created");
    QObject::connect(&instance, &SingleInstance::commandReceived, &form,
                     [&form](int request) { form.requestFromOtherStart(request); });
    form.windows()->create();
    wordbay::StartupMark("other windows created");
    form.showAtStoredPlace();
    wordbay::StartupMark("window shown");

    if (!options.screenshot.isEmpty()) takeScreenshot(&form, options);
    if (!options.report.isEmpty()) reportTranslation(&form, options);
    if (!options.reportHotKey.isEmpty()) reportHotKey(&form, options);
    // Started to translate the selection: as soon as the dictionaries are open.
    if (line.translateSelection)
        whenStartedUp(&form, [&form] { form.hotKey()->translateSelection(); });
    if (!options.reportTyped.isEmpty()) reportTyped(&form, options);
    if (options.command != 0) runCommand(&form, options);
    return QApplication::exec();
}
