// The History and Favourites windows, the star and the colour scheme, as a
// user meets them: typing into the filter, clicks, keys and buttons.
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTreeView>

#include "ui/widgets/color_scheme.h"
#include "ui/widgets/image_strip.h"
#include "ui/wordlists/favourite_star.h"
#include "ui/wordlists/word_list_window.h"

class WordListsWindowTest : public QObject {
    Q_OBJECT

private:
    static QList<WordListWindow::Row> rows() {
        return {{"house", "3", "Engleski_Hrvatski.v03", "2026-12-09 10:00"},
                {"mouse", "1", "Engleski_Hrvatski.v03", "2026-12-09 09:00"},
                {"Haus", "2", "Deutsch_Englisch.v03", "2026-12-08 09:00"}};
    }

private slots:
    // First: the session bus is the test's own only before anything used one.
    // The fake settings portal says "dark", then "light".
    void theSettingsPortalIsFollowed() {
        QProcess probe;
        probe.start(QStringLiteral("/usr/bin/python3"), {"-c", "import dbusmock"});
        if (!probe.waitForFinished(20000) || probe.exitCode() != 0 ||
            QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("needs dbus-daemon and python3-dbusmock");
        QProcess bus;
        bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        QVERIFY(bus.waitForReadyRead(20000));
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
        QProcess portal;
        portal.start(QStringLiteral("/usr/bin/python3"),
                     {"-m", "dbusmock", "--template", WORDBAY_SETTINGS_PORTAL, "--parameters",
                      R"({"scheme": 1})"});
        const QString gdbus = QStringLiteral("gdbus");
        QCOMPARE(QProcess::execute(gdbus, {"wait", "--session", "--timeout", "20",
                                           "org.freedesktop.portal.Desktop"}),
                 0);
        {
            ColorScheme scheme;
            QTRY_VERIFY_WITH_TIMEOUT(ColorScheme::isDark(), 20000);
            QCOMPARE(QProcess::execute(
                         gdbus, {"call", "--session", "-d", "org.freedesktop.portal.Desktop", "-o",
                                 "/org/freedesktop/portal/desktop", "-m",
                                 "org.freedesktop.DBus.Mock.SetScheme", "2"}),
                     0);
            QTRY_VERIFY_WITH_TIMEOUT(!ColorScheme::isDark(), 20000);
        }
        portal.kill();
        portal.waitForFinished();
        bus.kill();
        bus.waitForFinished();
    }

    void theFilterNarrowsAndClicksAskByTheOwnersRow() {
        WordListWindow window(WordListWindow::Kind::kHistory);
        window.setRows(rows());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.shownRows(), (QList<int>{0, 1, 2}));
        QTest::keyClicks(window.filterBox(), "HOU");
        QCOMPARE(window.shownRows(), (QList<int>{0}));
        window.filterBox()->clear();
        QTest::keyClicks(window.filterBox(), "deutsch");  // the dictionary too
        QCOMPARE(window.shownRows(), (QList<int>{2}));

        QSignalSpy lookUps(&window, &WordListWindow::lookUpRequested);
        QSignalSpy removals(&window, &WordListWindow::removeRequested);
        // Down from the filter box into the list, Enter looks up, Delete removes.
        QTest::keyClick(window.filterBox(), Qt::Key_Down);
        QVERIFY(window.view()->hasFocus());
        QTest::keyClick(window.view(), Qt::Key_Return);
        QCOMPARE(lookUps.size(), 1);
        QCOMPARE(lookUps.at(0).at(0).toInt(), 2);
        QTest::keyClick(window.view(), Qt::Key_Delete);
        QCOMPARE(removals.size(), 1);
        QCOMPARE(removals.at(0).at(0).toInt(), 2);

        window.filterBox()->clear();
        const QRect second = window.view()->visualRect(window.view()->model()->index(1, 0));
        QTest::mouseClick(window.view()->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(lookUps.size(), 2);
        QCOMPARE(lookUps.at(1).at(0).toInt(), 1);
        auto* remove = window.findChild<QPushButton*>("remove");
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(removals.at(1).at(0).toInt(), 1);

        window.setRows({});
        QVERIFY(!remove->isEnabled());
        QVERIFY(!window.findChild<QPushButton*>("clearAll")->isEnabled());
    }

    void onlyTheFavouritesExport() {
        WordListWindow history(WordListWindow::Kind::kHistory);
        QVERIFY(history.findChild<QPushButton*>("exportTab") == nullptr);
        WordListWindow favourites(WordListWindow::Kind::kFavourites);
        favourites.setRows(rows());
        QSignalSpy exports(&favourites, &WordListWindow::exportRequested);
        QTest::mouseClick(favourites.findChild<QPushButton*>("exportCsv"), Qt::LeftButton);
        QTest::mouseClick(favourites.findChild<QPushButton*>("exportTab"), Qt::LeftButton);
        QCOMPARE(exports.size(), 2);
        QCOMPARE(exports.at(0).at(0).toBool(), true);
        QCOMPARE(exports.at(1).at(0).toBool(), false);
    }

    void theStarAsksOnlyWhenClicked() {
        QWidget parent;
        FavouriteStar star(&parent);
        QSignalSpy asks(&star, &FavouriteStar::starRequested);
        star.showState(true, true);
        QVERIFY(star.isChecked());
        QCOMPARE(asks.size(), 0);
        parent.show();
        QTest::mouseClick(&star, Qt::LeftButton);
        QCOMPARE(asks.size(), 1);
        QCOMPARE(asks.at(0).at(0).toBool(), false);
        star.showState(false, false);
        QVERIFY(!star.isEnabled());
        QVERIFY(!star.accessibleName().isEmpty());
    }

    // A dark desktop (the portal says so) darkens a light palette; light
    // again, the palette Qt chose comes back. A palette that is dark already
    // stays as it is.
    void theDesktopsSchemeDecidesThePalette() {
        const QPalette light = QApplication::palette();
        QVERIFY(!ColorScheme::isDark(light));
        ColorScheme scheme;
        QSignalSpy changes(&scheme, &ColorScheme::changed);
        scheme.apply(ColorScheme::Preference::kDark);
        QVERIFY(ColorScheme::isDark());
        QCOMPARE(changes.size(), 1);
        scheme.apply(ColorScheme::Preference::kDark);
        QCOMPARE(changes.size(), 1);
        scheme.apply(ColorScheme::Preference::kNone);
        QVERIFY(!ColorScheme::isDark());
        QCOMPARE(QApplication::palette().color(QPalette::Base), light.color(QPalette::Base));
        QCOMPARE(changes.size(), 2);

        QApplication::setPalette(ColorScheme::darkPalette());
        ColorScheme onDark;
        onDark.apply(ColorScheme::Preference::kLight);
        QVERIFY(ColorScheme::isDark());
        QApplication::setPalette(light);
    }

    // Cells keep their size in the layout and carry the strip's scale.
    void imageCellsCarryTheStripsScale() {
        QPixmap strip(QSize(40, 20) * 2);
        strip.setDevicePixelRatio(2);
        strip.fill(Qt::red);
        const ImageStrip images(strip, 20, 20);
        QCOMPARE(images.count(), 2);
        const QPixmap cell = images.image(1);
        QCOMPARE(cell.size(), QSize(40, 40));
        QCOMPARE(cell.devicePixelRatio(), 2.0);
        QCOMPARE(cell.deviceIndependentSize(), QSizeF(20, 20));
        QVERIFY(images.image(2).isNull());
    }
};

QTEST_MAIN(WordListsWindowTest)
#include "word_lists_window_test.moc"
