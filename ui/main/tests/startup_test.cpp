// Start-up: one instance per user, and the program's own start and end.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/main_form.h"
#include "ui/main/single_instance.h"
#include "ui/main/tests/modal_script.h"
#include "ui/main/tests/program_folder.h"
#include "ui/main/tests/waits.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_message_box.h"

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void aSecondStartHandsOverTheActivateCommand() {
        const QString name =
            QStringLiteral("wordbay-test-%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(name);
        QVERIFY(!first.notifyRunning());  // nobody listens yet
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::commandReceived);

        SingleInstance second(name);
        QVERIFY(second.notifyRunning());
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received.at(0).at(0).toInt(), cmd::kActivateInstance);
    }

    // A socket file left by a run that crashed does not keep the next run
    // from starting.
    void aStaleSocketIsTakenOver() {
        QTemporaryDir dir;
        const QByteArray path = dir.filePath(QStringLiteral("stale")).toLocal8Bit();
        // What a crash leaves: the bound socket's file, with nobody listening.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.constData());
        QCOMPARE(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
        QVERIFY(QFile::exists(QString::fromLocal8Bit(path)));

        SingleInstance next(QString::fromLocal8Bit(path));
        QVERIFY(!next.notifyRunning());
        QVERIFY(next.listen());
        SingleInstance later(QString::fromLocal8Bit(path));
        QVERIFY(later.notifyRunning());
    }

    void theStoredInterfaceLanguageLabelsTheMenus() {
        ProgramFolder folder(housePairs(), QString(), QStringLiteral("language=hr.txt"));
        QVERIFY(folder.ok());
        const QString languages = QString::fromStdString(folder.paths().language_dir);
        QVERIFY(QDir().mkpath(languages));
        QFile file(languages + QStringLiteral("/hr.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "LNG_ID_VER = \"KX_5\"\nLANGUAGE = \"Hrvatski\"\nMENU_EXIT = \"&Izlaz\"\n"
            "TOOLTIP_EXIT = \"Izlaz\"\n");
        file.close();
        auto form = folder.openWindow();
        QVERIFY(form);
        QCOMPARE(form->commandAction(cmd::kExit)->text(), QStringLiteral("&Izlaz"));
        QCOMPARE(form->buttonBar()->button(cmd::kExit)->toolTip(), QStringLiteral("Izlaz"));
        // A row the file lacks keeps its English text.
        QCOMPARE(form->commandAction(cmd::kSave)->text(), QStringLiteral("&Save"));
    }

    // A stored language whose file is gone: the program says so, starts in
    // English and forgets the name at the next close.
    void aMissingLanguageFileFallsBackToEnglish() {
        ProgramFolder folder(housePairs(), QString(), QStringLiteral("language=gone.txt"));
        QVERIFY(folder.ok());
        ModalScript notice({press(kIdOk)});
        auto form = folder.openWindow();
        QVERIFY(form);
        QVERIFY(notice.done());
        QCOMPARE(form->commandAction(cmd::kExit)->text(), QStringLiteral("E&xit"));
        form->close();
        QTRY_VERIFY(!form->isVisible());
        QCOMPARE(folder.setting("dictionary", "language"), QString());
    }

    // The built program, started twice on one program folder: the second
    // start hands over and ends with 0 while the first keeps running.
    void theProgramRunsOnce() {
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("wordbay"));
        QVERIFY(QFile::copy(QStringLiteral(WORDBAY_BIN_DIR "/wordbay"), program));
        QFile ini(dir.filePath(QStringLiteral("wordbay.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[options]\nshowsplash=0\n[hotkey]\nusehotkeys=0\n");
        ini.close();
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("database")));

        // A name of its own, so that no other run of the program answers.
        const QString name =
            QStringLiteral("wordbay-once-%1").arg(QCoreApplication::applicationPid());
        qputenv("WORDBAY_INSTANCE", name.toLocal8Bit());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(program, {});
        QVERIFY(first.waitForStarted());
        // The first run listens once its window exists.
        QLocalSocket probe;
        QTRY_VERIFY_WITH_TIMEOUT(
            (probe.abort(), probe.connectToServer(SingleInstance::socketName()),
             probe.waitForConnected(100)),
            10000);
        probe.disconnectFromServer();

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(program, {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
        QLocalServer::removeServer(name);
        qunsetenv("WORDBAY_INSTANCE");
    }
};

int runStartupTests(int argc, char** argv) {
    StartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "startup_test.moc"
