// The popup and tooltip windows: sizing, colours, placement and typing.
#include <QCursor>
#include <QScreen>
#include <QtTest>
#include <functional>

#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/widgets/w_edit.h"

class PopupTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_settings = wordbay::ProgramSettings(); }

    void tooltipShowsAtMostFortyLines() {
        PopupTooltipForm tooltip(&m_settings);
        QVERIFY(tooltip.createWindow());
        QStringList many;
        for (int i = 0; i < 55; ++i) many << QStringLiteral("word %1").arg(i);
        tooltip.setTranslations(many);
        QCOMPARE(tooltip.lineCount(), 40);
        QVERIFY(tooltip.translationText().endsWith(QStringLiteral("word 39\n")));
        // Empty entries take a place among the forty but show nothing.
        tooltip.setTranslations({QString(), QStringLiteral("b")});
        QCOMPARE(tooltip.translationText(), QStringLiteral("b\n"));
    }

    void tooltipSizesItselfToItsTexts() {
        PopupTooltipForm tooltip(&m_settings);
        QVERIFY(tooltip.createWindow());
        TooltipLook look;
        look.word_font = QFont(QStringLiteral("DejaVu Sans"), 12);
        look.translation_font = QFont(QStringLiteral("DejaVu Sans"), 9);
        tooltip.applyLook(look);
        tooltip.setCaption(QStringLiteral("English - Croatian"));
        tooltip.setWord(QStringLiteral("a rather long headword indeed"));
        tooltip.setTranslations({QStringLiteral("one"), QStringLiteral("two")});
        const QSize word = measureText(tooltip.word(), look.word_font);
        const QSize lines = measureText(tooltip.translationText(), look.translation_font);
        QCOMPARE(lines.height(), 2 * QFontMetrics(look.translation_font).height());
        QVERIFY(tooltip.width() >= word.width() + 26);
        QVERIFY(tooltip.height() > word.height() + lines.height() + 40);
        QCOMPARE(measureText(QStringLiteral("ab\r\nabc"), look.word_font).width(),
                 QFontMetrics(look.word_font).horizontalAdvance(QStringLiteral("abc")));
    }

    void inactiveColoursFollowTheSystemColours() {
        PopupTooltipForm tooltip(&m_settings);
        QVERIFY(tooltip.createWindow());
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::ToolTipBase, Qt::white);
        QGuiApplication::setPalette(palette);
        tooltip.applyLook(TooltipLook{});
        QCOMPARE(tooltip.inactiveBackground(), QColor(223, 223, 223));
        palette.setColor(QPalette::ToolTipBase, Qt::black);
        QGuiApplication::setPalette(palette);
        tooltip.applyLook(TooltipLook{});
        QCOMPARE(tooltip.inactiveBackground(), QColor(48, 48, 48));
    }

    void tooltipOnTopStaysWhenDeactivated() {
        PopupTooltipForm tooltip(&m_settings);
        QVERIFY(tooltip.createWindow());
        QWidget other;
        other.show();
        m_settings.tooltip_on_top = true;
        tooltip.show();
        tooltip.activateWindow();
        QTRY_VERIFY(tooltip.paintsActive());
        // Another program's window comes forward.
        other.activateWindow();
        QTRY_VERIFY(!tooltip.paintsActive());
        QVERIFY(tooltip.isVisible());
        m_settings.tooltip_on_top = false;
        tooltip.activateWindow();
        QTRY_VERIFY(tooltip.paintsActive());
        other.activateWindow();
        QTRY_VERIFY(tooltip.isHidden());
    }

    void patternsAreDistinctAndTinted() {
        const QImage a = tooltipPattern(0, Qt::yellow);
        const QImage b = tooltipPattern(1, Qt::yellow);
        QCOMPARE(a.size(), QSize(100, 100));
        QVERIFY(a != b);
        QVERIFY(tooltipPattern(34, Qt::yellow) != tooltipPattern(33, Qt::yellow));
        QCOMPARE(tooltipPattern(5, QColor(10, 20, 30)).pixelColor(99, 99).isValid(), true);
    }

    void snappingKeepsTheWindowOnTheScreen() {
        const QRect screen(0, 0, 1024, 768);
        QCOMPARE(snappedPosition({1000, 750}, {200, 150}, screen), QPoint(824, 618));
        QCOMPARE(snappedPosition({10, 20}, {200, 150}, screen), QPoint(10, 20));
        QCOMPARE(snappedPosition({-5, -5}, {200, 150}, screen), QPoint(0, 0));
    }

    void popupReportsTypingButNotProgramChanges() {
        PopupForm popup(&m_settings);
        QVERIFY(popup.createWindow());
        QStringList typed;
        popup.setTypingHandler([&typed](const QString& text) { typed << text; });
        popup.edit()->setProgramText(QStringLiteral("house"));
        QVERIFY(typed.isEmpty());
        QVERIFY(!popup.edit()->isSetByProgram());
        QTest::keyClicks(popup.edit(), QStringLiteral("ab"));
        QCOMPARE(typed, (QStringList{QStringLiteral("housea"), QStringLiteral("houseab")}));
    }

    void aStoredPlaceIsClampedOntoTheScreen() {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("wordbay.ini")).toStdString();
        QFile file(QString::fromStdString(path));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[sizep]\nx=-50\ny=10\ncx=100\ncy=300\n");
        file.close();
        const wordbay::ScreenMetrics screen{1024, 768, 1036, 780};
        const wordbay::WindowPlace place =
            wordbay::ReadPopupPlace(wordbay::SettingsFile(path), screen);
        PopupForm popup(&m_settings);
        QVERIFY(popup.createWindow());
        popup.placeFrom(place, screen);
        QCOMPARE(popup.place().x, 0);
        QCOMPARE(popup.place().width, 155);
        QCOMPARE(popup.place().height, 300);
    }

    void popupKeepsItsLimitsAndHidesWhenLeft() {
        PopupForm popup(&m_settings);
        QVERIFY(popup.createWindow());
        wordbay::ScreenMetrics screen{1024, 768, 1036, 780};
        popup.placeFrom({0, 0, 170, 210}, screen);
        QCOMPARE(popup.minimumSize(), QSize(155, 120));
        QCOMPARE(popup.maximumSize(), QSize(886, 630));
        QCOMPARE(popup.place().width, 170);
        QWidget other;
        other.show();
        popup.show();
        popup.activateWindow();
        QTRY_VERIFY(popup.isActiveWindow());
        other.activateWindow();
        QTRY_VERIFY(popup.isHidden());
        popup.showPopup(true);
        QVERIFY(popup.isVisible());
        popup.close();
        QVERIFY(popup.isHidden());
    }

    // Without a stored place the popup opens beside the mouse pointer the
    // first time, pulled inside the screen near its corner; later showings
    // keep wherever it was (snapping is off), and a stored place is kept.
    void theFirstPopupOpensBesideThePointer() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const wordbay::ScreenMetrics metrics{screen.width(), screen.height(), screen.width(),
                                             screen.height()};
        m_settings.popup_to_cursor = false;
        {
            PopupForm popup(&m_settings);
            QVERIFY(popup.createWindow());
            popup.placeFrom({0, 0, 170, 210, false}, metrics);
            QCursor::setPos(screen.center());
            if (QCursor::pos() != screen.center()) QSKIP("the pointer cannot be moved here");
            popup.showPopup(true);
            QVERIFY(popup.isVisible());
            QCOMPARE(popup.pos(), screen.center());
            popup.hide();
            QCursor::setPos(screen.topLeft() + QPoint(5, 5));
            popup.showPopup(true);
            QCOMPARE(popup.pos(), screen.center());
        }
        {
            PopupForm popup(&m_settings);
            QVERIFY(popup.createWindow());
            popup.placeFrom({0, 0, 170, 210, false}, metrics);
            QCursor::setPos(screen.bottomRight());
            popup.showPopup(true);
            QVERIFY(screen.contains(popup.frameGeometry()));
            QVERIFY(popup.x() > screen.center().x() && popup.y() > screen.center().y());
        }
        {
            PopupForm popup(&m_settings);
            QVERIFY(popup.createWindow());
            popup.placeFrom({40, 30, 170, 210, true}, metrics);
            QCursor::setPos(screen.center());
            popup.showPopup(true);
            QCOMPARE(popup.pos(), QPoint(40, 30));
            // What is written back is what was read: the window does not creep.
            QCOMPARE(popup.place().x, 40);
            QCOMPARE(popup.place().y, 30);
        }
    }

    // Bringing either window forward without the show flag leaves a hidden
    // window hidden; with it the window shows, and closing only hides it.
    void eitherWindowShowsOnlyWhenAsked() {
        PopupForm popup(&m_settings);
        PopupTooltipForm tooltip(&m_settings);
        QVERIFY(popup.createWindow());
        QVERIFY(tooltip.createWindow());
        const std::pair<WForm*, std::function<void(bool)>> windows[] = {
            {&popup, [&popup](bool show) { popup.showPopup(show); }},
            {&tooltip, [&tooltip](bool show) { tooltip.showTooltip(show); }},
        };
        for (const auto& [window, bringForward] : windows) {
            bringForward(false);
            QVERIFY(window->isHidden());
            bringForward(true);
            QVERIFY(window->isVisible());
            window->close();
            QVERIFY(window->isHidden());
        }
    }

    void aPlaceCountsAsStoredOnlyWhenTheFileHoldsIt() {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("wordbay.ini")).toStdString();
        const wordbay::ScreenMetrics screen{1024, 768, 1036, 780};
        QVERIFY(!wordbay::ReadPopupPlace(wordbay::SettingsFile(path), screen).stored);
        QFile file(QString::fromStdString(path));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[sizep]\ncx=200\n[sizet]\ny=5\n");
        file.close();
        QVERIFY(!wordbay::ReadPopupPlace(wordbay::SettingsFile(path), screen).stored);
        QVERIFY(wordbay::ReadTooltipPlace(wordbay::SettingsFile(path), screen).stored);
    }

private:
    wordbay::ProgramSettings m_settings;
};

QTEST_MAIN(PopupTest)
#include "popup_test.moc"
