#include "ui/main/startup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/program_dir.h"
#include "app/search_controller.h"
#include "app/startup_trace.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_form.h"
#include "ui/main/main_hot_key.h"
#include "ui/main/single_instance.h"
#include "ui/main/x11_desktop.h"
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

constexpr int kStartedUpPollMs = 200;
constexpr int kStartedUpGiveUpPolls = 300;

// Runs `then` once the start-up job has opened the stored dictionaries.
void whenStartedUp(MainForm* form, std::function<void()> then) {
    auto* poll = new QTimer(form);
    auto polls = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, form, [form, poll, polls, then] {
        if (form->controller()->busy() && ++*polls <= kStartedUpGiveUpPolls) return;
        poll->stop();
        poll->deleteLater();
        then();
    });
    poll->start(kStartedUpPollMs);
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

int runWordbay(int argc, char** argv, const StartupAdditions& additions) {
    wordbay::StartupMark("main entered");
    const CommandLine line = readCommandLine(argc, argv, additions.options);
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

    if (additions.windowShown) additions.windowShown(&form, line);
    // Started to translate the selection: as soon as the dictionaries are open.
    if (line.translateSelection)
        whenStartedUp(&form, [&form] { form.hotKey()->translateSelection(); });
    return QApplication::exec();
}
