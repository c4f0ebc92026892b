// The program's command line: --help and --version answer without any
// display, --translate-selection reaches a running program as the hot key's
// command, and an unknown option is refused, the test hooks too, which only
// the test build takes.
#include "ui/main/command_line.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/main/command_ids.h"

namespace {

const QString kProgram = QStringLiteral(WORDBAY_BIN_DIR "/wordbay");
const QString kTestBuild = QStringLiteral(WORDBAY_BIN_DIR "/wordbay-test");

// Reads `args` (after the program's name) as the program does.
CommandLine read(std::vector<std::string> args, const std::vector<AddedOption>& added = {}) {
    args.insert(args.begin(), "wordbay");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    return readCommandLine(static_cast<int>(argv.size()), argv.data(), added);
}

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program with no display of any kind.
Run runWithoutDisplay(const QStringList& args, const QString& program = kProgram) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    Run run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void helpAndVersionNeedNoDisplay() {
        const Run help = runWithoutDisplay({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith(QStringLiteral("Usage: wordbay")));
        QVERIFY(help.out.contains(QStringLiteral("--translate-selection")));
        QVERIFY(help.out.contains(QStringLiteral("--version")));
        QVERIFY(help.out.contains(QStringLiteral("bindsym")));
        // The test hooks are nobody's business.
        for (const char* hook : {"--report", "--screenshot", "--type", "--keep-running"})
            QVERIFY2(!help.out.contains(QString::fromLatin1(hook)), hook);

        const Run version = runWithoutDisplay({QStringLiteral("--version")});
        QCOMPARE(version.exitCode, 0);
        QVERIFY(QRegularExpression(QStringLiteral("^wordbay \\d+\\.\\d+\\.\\d+\\n$"))
                    .match(version.out)
                    .hasMatch());
    }

    // Qt's own options pass, with one dash or two.
    void qtOptionsAreNotRefused() {
        for (const QStringList& args :
             {QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen")},
              QStringList{QStringLiteral("--platform"), QStringLiteral("offscreen")},
              QStringList{QStringLiteral("--style=fusion")}}) {
            const Run run = runWithoutDisplay(args + QStringList{QStringLiteral("--version")});
            QCOMPARE(run.exitCode, 0);
            QVERIFY(run.err.isEmpty());
        }
    }

    void theParserReadsEachOptionOnce() {
        const CommandLine plain = read({"-h", "--translate-selection", "-platform", "xcb",
                                        "--style=fusion", "word", "--nope", "--later"});
        QVERIFY(plain.help);
        QVERIFY(plain.translateSelection);
        QVERIFY(!plain.version);
        QCOMPARE(plain.unknown, std::string("--nope"));

        const std::vector<AddedOption> added = {{"--two", 2}, {"--flag", 0}, {"--one", 1}};
        const CommandLine line =
            read({"--one", "a", "--two", "--version", "b", "--flag", "--one", "c"}, added);
        // An added option's values are taken as they stand, options or not.
        QCOMPARE(line.values("--two"), (QStringList{"--version", "b"}));
        QVERIFY(!line.version);
        QVERIFY(line.has("--flag"));
        QVERIFY(line.values("--flag").isEmpty());
        QCOMPARE(line.values("--one"), QStringList{"c"});
        QVERIFY(!line.has("--nothing"));
        QVERIFY(line.unknown.empty());
        // Cut short by the end of the line.
        QCOMPARE(read({"--two", "x"}, added).values("--two"), QStringList{"x"});
        // Without the addition the same option is unknown.
        QCOMPARE(read({"--flag"}).unknown, std::string("--flag"));
    }

    // The shipped program knows no test hook; its test build takes them and
    // answers --help and --version as the shipped one does.
    void theTestHooksAreOnlyInTheTestBuild() {
        for (const char* hook : {"--report-translation", "--report-hot-key", "--report-typed",
                                 "--screenshot", "--type", "--command", "--keep-running"}) {
            const Run run = runWithoutDisplay(
                {QString::fromLatin1(hook), QStringLiteral("x"), QStringLiteral("y")});
            QCOMPARE(run.exitCode, 2);
            QCOMPARE(run.err, QStringLiteral("wordbay: unknown option %1\nTry 'wordbay --help'.\n")
                                  .arg(QString::fromLatin1(hook)));
        }
        // The test build takes the hooks and their values: what it refuses
        // is the option after them.
        const Run hooked = runWithoutDisplay(
            {QStringLiteral("--keep-running"), QStringLiteral("--report-translation"),
             QStringLiteral("--house"), QStringLiteral("shown.txt"), QStringLiteral("--nope")},
            kTestBuild);
        QCOMPARE(hooked.exitCode, 2);
        QCOMPARE(hooked.err,
                 QStringLiteral("wordbay: unknown option --nope\nTry 'wordbay --help'.\n"));
        QCOMPARE(runWithoutDisplay({QStringLiteral("--version")}, kTestBuild).out,
                 runWithoutDisplay({QStringLiteral("--version")}).out);
        QCOMPARE(runWithoutDisplay({QStringLiteral("--help")}, kTestBuild).out,
                 runWithoutDisplay({QStringLiteral("--help")}).out);
    }

    void anUnknownOptionIsRefused() {
        const Run run = runWithoutDisplay({QStringLiteral("--translate")});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains(QStringLiteral("--translate")));
        QVERIFY(run.err.contains(QStringLiteral("--help")));
        QVERIFY(run.out.isEmpty());
    }

    // A later start hands its request to the running program and ends with
    // 0: a plain start asks it to come forward, --translate-selection to act
    // as on the hot key.
    void laterStartsSendTheirCommand() {
        // A socket path of its own, so that no other run of the program answers.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString name = dir.filePath(QStringLiteral("instance"));
        QLocalServer running;
        QVERIFY(running.listen(name));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("WORDBAY_INSTANCE"), name);

        const QList<QPair<QStringList, int>> cases = {
            {{}, cmd::kActivateInstance},
            {{QStringLiteral("--translate-selection")}, cmd::kTranslateSelection},
        };
        for (const auto& [args, expected] : cases) {
            QProcess later;
            later.setProcessEnvironment(env);
            later.start(kProgram, args);
            QVERIFY(running.waitForNewConnection(20000));
            QLocalSocket* socket = running.nextPendingConnection();
            QVERIFY(socket != nullptr);
            QTRY_VERIFY_WITH_TIMEOUT(
                socket->canReadLine() || socket->state() != QLocalSocket::ConnectedState, 10000);
            QCOMPARE(socket->readLine().trimmed().toInt(), expected);
            if (later.state() != QProcess::NotRunning) QVERIFY(later.waitForFinished(20000));
            QCOMPARE(later.exitStatus(), QProcess::NormalExit);
            QCOMPARE(later.exitCode(), 0);
            delete socket;
        }
    }
};

int runCommandLineTests(int argc, char** argv) {
    CommandLineTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "command_line_test.moc"
