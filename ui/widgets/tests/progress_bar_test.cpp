#include <QtTest>

#include "ui/widgets/w_progress_bar.h"

class ProgressBarTest : public QObject {
    Q_OBJECT

private slots:
    void quarterOfARangeFillsAQuarterAndShowsThePosition() {
        WProgressBar bar;
        bar.resize(200, 20);
        bar.setRange(0, 200);
        bar.setPosition(50);
        QCOMPARE(bar.percent(), 25);
        QCOMPARE(bar.filledWidth(), 50);
        QCOMPARE(bar.text(), QStringLiteral("50 %"));
        bar.setPosition(5);
        QCOMPARE(bar.text(), QStringLiteral("05 %"));
    }

    void paintsTheFilledPartInTheHighlightColour() {
        WProgressBar bar;
        bar.resize(200, 20);
        QPalette pal = bar.palette();
        pal.setColor(QPalette::Highlight, QColor(0, 0, 200));
        pal.setColor(QPalette::Button, QColor(220, 220, 220));
        bar.setPalette(pal);
        bar.setPosition(40);
        const QImage image = bar.grab().toImage();
        QCOMPARE(image.pixelColor(2, 1), QColor(0, 0, 200));
        QCOMPARE(image.pixelColor(78, 1), QColor(0, 0, 200));
        QCOMPARE(image.pixelColor(81, 1), QColor(220, 220, 220));
        QCOMPARE(image.pixelColor(197, 18), QColor(220, 220, 220));
    }

    void positionStaysInsideTheRange() {
        WProgressBar bar;
        QCOMPARE(bar.setPosition(150), 0);
        QCOMPARE(bar.position(), 100);
        QCOMPARE(bar.setPosition(-5), 100);
        QCOMPARE(bar.position(), 0);
        QCOMPARE(bar.setStep(30), 10);
        bar.stepIt();
        bar.stepIt();
        QCOMPARE(bar.deltaPosition(5), 60);
        QCOMPARE(bar.position(), 65);
        QCOMPARE(bar.deltaPosition(std::numeric_limits<int>::max()), 65);
        QCOMPARE(bar.position(), 100);
        bar.setRange(0, 50);
        QCOMPARE(bar.position(), 50);
    }

    void anEmptyRangeFillsNothing() {
        WProgressBar bar;
        bar.resize(100, 20);
        bar.setRange(7, 7);
        bar.setPosition(7);
        QCOMPARE(bar.percent(), 0);
        QCOMPARE(bar.filledWidth(), 0);
        bar.setRange(10, 3);
        QCOMPARE(bar.maximum(), 10);
        QVERIFY(!bar.grab().isNull());
    }
};

int runProgressBarTests(int argc, char** argv) {
    ProgressBarTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "progress_bar_test.moc"
