// Reading the hot key's selection: PRIMARY first, the copy key only where
// it may go, and the clipboard put back whole afterwards. The desktop is a
// stand-in; the clipboard is the application's own.
#include "ui/main/hot_key_selection.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QtTest>

#include "ui/main/x11_desktop.h"

namespace {

// A desktop whose selection, copy permission and copying program the test sets.
struct FakeDesktop {
    QString primary;
    bool mayCopy = true;
    // What the focused program puts on the clipboard on Ctrl+C (null: nothing).
    QString copies;
    int copyKeys = 0;

    HotKeySelection::Desktop desktop() {
        HotKeySelection::Desktop d;
        d.primary = [this] { return primary; };
        d.mayCopy = [this] { return mayCopy; };
        d.playCopy = [this](std::function<void()> played) {
            ++copyKeys;
            // The other program answers a moment later, as a real one does.
            QTimer::singleShot(20, [this, played] {
                if (!copies.isNull()) QApplication::clipboard()->setText(copies);
                played();
            });
        };
        return d;
    }
};

// Reads once and waits for the answer (a null string when none came).
QString readSelection(HotKeySelection& reader) {
    QString answer;
    bool answered = false;
    reader.read([&](const QString& text) {
        answer = text.isNull() ? QStringLiteral("") : text;
        answered = true;
    });
    if (!QTest::qWaitFor([&answered] { return answered; }, 5000)) return QString();
    return answer;
}

void setClipboard(const QString& text, const QByteArray& extraFormat = {}) {
    auto* data = new QMimeData;
    data->setText(text);
    if (!extraFormat.isEmpty()) data->setData(QStringLiteral("application/x-test"), extraFormat);
    QApplication::clipboard()->setMimeData(data);
}

}  // namespace

class HotKeySelectionTest : public QObject {
    Q_OBJECT

private slots:
    // A selected word is taken as it is: no key is sent, the clipboard
    // stays; a selection of blanks counts as none.
    void thePrimarySelectionComesFirst() {
        setClipboard(QStringLiteral("mouse"));
        FakeDesktop desktop;
        desktop.primary = QStringLiteral("house");
        desktop.copies = QStringLiteral("tree");
        HotKeySelection reader(desktop.desktop());
        QCOMPARE(readSelection(reader), QStringLiteral("house"));
        QCOMPARE(desktop.copyKeys, 0);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("mouse"));

        desktop.primary = QStringLiteral(" \t ");
        QCOMPARE(readSelection(reader), QStringLiteral("tree"));
        QCOMPARE(desktop.copyKeys, 1);
    }

    // Where no copy key may go (a terminal, a Wayland window) the clipboard
    // is read as it is and nothing is sent.
    void noCopyKeyWhereItMayNotGo() {
        setClipboard(QStringLiteral("mouse"));
        FakeDesktop desktop;
        desktop.mayCopy = false;
        desktop.copies = QStringLiteral("tree");
        HotKeySelection reader(desktop.desktop());
        QCOMPARE(readSelection(reader), QStringLiteral("mouse"));
        QCOMPARE(desktop.copyKeys, 0);
        QVERIFY(!reader.busy());
    }

    // The copied word is answered, and the clipboard gets back every format
    // it held; an empty clipboard is emptied again.
    void theClipboardIsPutBackWhole() {
        setClipboard(QStringLiteral("mouse"), QByteArray("\x01\x02 binary", 9));
        FakeDesktop desktop;
        desktop.copies = QStringLiteral("house");
        HotKeySelection reader(desktop.desktop());
        QCOMPARE(readSelection(reader), QStringLiteral("house"));
        QCOMPARE(desktop.copyKeys, 1);
        const QMimeData* now = QApplication::clipboard()->mimeData();
        QVERIFY(now != nullptr);
        QCOMPARE(now->text(), QStringLiteral("mouse"));
        QCOMPARE(now->data(QStringLiteral("application/x-test")), QByteArray("\x01\x02 binary", 9));

        QApplication::clipboard()->clear();
        QCOMPARE(readSelection(reader), QStringLiteral("house"));
        QVERIFY(QApplication::clipboard()->text().isEmpty());
    }

    // A copy that brings the very text the clipboard held still replaced
    // it: the formats that went with that text come back too.
    void aCopyOfTheSameTextStillPutsTheFormatsBack() {
        setClipboard(QStringLiteral("mouse"), QByteArray("\x03\x04 binary", 9));
        FakeDesktop desktop;
        desktop.copies = QStringLiteral("mouse");
        HotKeySelection reader(desktop.desktop());
        QCOMPARE(readSelection(reader), QStringLiteral("mouse"));
        QCOMPARE(desktop.copyKeys, 1);
        const QMimeData* now = QApplication::clipboard()->mimeData();
        QVERIFY(now != nullptr);
        QCOMPARE(now->text(), QStringLiteral("mouse"));
        QCOMPARE(now->data(QStringLiteral("application/x-test")), QByteArray("\x03\x04 binary", 9));
    }

    // A program without a copy key leaves the clipboard alone: its old text
    // is what the hot key finds, and the clipboard is not taken over.
    void aCopyThatCopiesNothingChangesNothing() {
        setClipboard(QStringLiteral("mouse"));
        FakeDesktop desktop;  // copies nothing
        HotKeySelection reader(desktop.desktop());
        int changes = 0;
        auto counter =
            connect(QApplication::clipboard(), &QClipboard::dataChanged, [&changes] { ++changes; });
        QCOMPARE(readSelection(reader), QStringLiteral("mouse"));
        disconnect(counter);
        QCOMPARE(desktop.copyKeys, 1);
        QCOMPARE(changes, 0);
    }

    // A second hot key while the first still waits for its copy is refused:
    // the first answers, and the clipboard still ends as it was.
    void aReadWaitingForItsCopyIsNotReplaced() {
        setClipboard(QStringLiteral("mouse"));
        FakeDesktop desktop;
        desktop.copies = QStringLiteral("house");
        HotKeySelection reader(desktop.desktop());
        QStringList answers;
        reader.read([&answers](const QString& text) { answers << text; });
        QVERIFY(reader.busy());
        desktop.primary = QStringLiteral("tree");
        reader.read([&answers](const QString& text) { answers << text; });
        QTRY_VERIFY_WITH_TIMEOUT(!reader.busy(), 5000);
        QTest::qWait(100);
        QCOMPARE(answers, QStringList{QStringLiteral("house")});
        QCOMPARE(desktop.copyKeys, 1);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("mouse"));
    }

    void terminalsAreKnownByTheirClass() {
        for (const char* name :
             {"XTerm", "UXTerm", "URxvt", "Gnome-terminal", "konsole", "kitty", "Alacritty",
              "xfce4-terminal", "st-256color", "org.wezfurlong.wezterm", "foot", "Tilix"}) {
            QVERIFY2(isTerminalClass(name), name);
        }
        for (const char* name : {"", "firefox", "Gedit", "wordbay", "copy_on_ctrl_c",
                                 "libreoffice-writer", "stellarium"}) {
            QVERIFY2(!isTerminalClass(name), name);
        }
    }

    // Under Wayland the selection is read once the desktop has given the
    // keyboard to a window of the program; what Qt thinks counts only where
    // the desktop names no active window at all.
    void theKeyboardIsOursWhenTheDesktopSaysSo() {
        const std::vector<std::uint64_t> own{0x400006, 0x400013};
        QVERIFY(keyboardIsOurs(0x400013, own, false));
        // Qt already takes the popup for active; the compositor still keeps
        // the keyboard with another program, or with none.
        QVERIFY(!keyboardIsOurs(0x200002, own, true));
        QVERIFY(!keyboardIsOurs(0, own, true));
        QVERIFY(!keyboardIsOurs(0, {}, true));
        // A window manager that does not publish its active window.
        QVERIFY(keyboardIsOurs(std::nullopt, own, true));
        QVERIFY(!keyboardIsOurs(std::nullopt, own, false));
    }
};

int runHotKeySelectionTests(int argc, char** argv) {
    HotKeySelectionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "hot_key_selection_test.moc"
