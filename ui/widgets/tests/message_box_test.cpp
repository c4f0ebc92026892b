#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <functional>
#include <thread>

#include "ui/widgets/w_control.h"
#include "ui/widgets/w_message_box.h"

namespace {

// Waits (in the event loop) for the next message box and hands it to `act`.
void whenBoxShows(std::function<void(WMessageBox*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<WMessageBox*>(w);
            if (box == nullptr || !box->isVisible()) continue;
            timer->stop();
            timer->deleteLater();
            act(box);
            return;
        }
    });
    timer->start();
}

void press(WMessageBox* box, int id) { box->button(id)->click(); }

QStringList labels(WMessageBox* box) {
    QStringList texts;
    for (const int id : box->buttonIds()) texts.append(box->button(id)->text());
    return texts;
}

const MessageBoxButtonTable kEnglish = {{{kIdAbort, "Abort"},
                                         {kIdCancel, "Cancel"},
                                         {kIdIgnore, "Ignore"},
                                         {kIdNo, "No"},
                                         {kIdOk, "OK"},
                                         {kIdRetry, "Retry"},
                                         {kIdYes, "Yes"}}};

}  // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void yesNoCancelReturnsCancelWithTheLanguagesTexts() {
        QStringList seen;
        whenBoxShows([&](WMessageBox* box) {
            seen = labels(box);
            press(box, kIdCancel);
        });
        QCOMPARE(messageBox(nullptr, "Save?", "Save", kMbYesNoCancel | kMbIconQuestion, &kEnglish),
                 kIdCancel);
        QCOMPARE(seen, (QStringList{"Yes", "No", "Cancel"}));
    }

    void everyButtonSetReturnsTheIdOfTheButtonPressed() {
        const struct {
            unsigned style;
            QList<int> ids;
        } sets[] = {{kMbOk, {kIdOk}},
                    {kMbOkCancel, {kIdOk, kIdCancel}},
                    {kMbAbortRetryIgnore, {kIdAbort, kIdRetry, kIdIgnore}},
                    {kMbYesNoCancel, {kIdYes, kIdNo, kIdCancel}},
                    {kMbYesNo, {kIdYes, kIdNo}},
                    {kMbRetryCancel, {kIdRetry, kIdCancel}}};
        for (const auto& set : sets) {
            for (const int id : set.ids) {
                WMessageBox box(nullptr, "text", "caption", set.style);
                QCOMPARE(box.buttonIds(), set.ids);
                whenBoxShows([id](WMessageBox* shown) { press(shown, id); });
                QCOMPARE(box.exec(), id);
            }
        }
    }

    void withoutATableTheBuiltInTextsShow() {
        WMessageBox abort(nullptr, "t", "c", kMbAbortRetryIgnore);
        QCOMPARE(labels(&abort), (QStringList{"Prekini", "Ponovi", "Zanemari"}));
        WMessageBox yesNoCancel(nullptr, "t", "c", kMbYesNoCancel);
        QCOMPARE(labels(&yesNoCancel), (QStringList{"Da", "Ne", "Odustani"}));
        WMessageBox ok(nullptr, "t", "c", kMbOk);
        QCOMPARE(labels(&ok), QStringList{"U redu"});
        // A row the language file left empty keeps the built-in text.
        MessageBoxButtonTable partial = kEnglish;
        partial[3].text.clear();  // kIdNo
        WMessageBox yesNo(nullptr, "t", "c", kMbYesNo, &partial);
        QCOMPARE(labels(&yesNo), (QStringList{"Yes", "Ne"}));
    }

    void escapeAnswersCancelOrTheOnlyOkButNeverYesOrNo() {
        whenBoxShows([](WMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(messageBox(nullptr, "t", "c", kMbRetryCancel), kIdCancel);
        whenBoxShows([](WMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(messageBox(nullptr, "t", "c", kMbOk), kIdOk);
        whenBoxShows([](WMessageBox* box) {
            QTest::keyClick(box, Qt::Key_Escape);
            QVERIFY(box->isVisible());
            press(box, kIdNo);
        });
        QCOMPARE(messageBox(nullptr, "t", "c", kMbYesNo), kIdNo);
    }

    void theDefaultButtonFollowsTheStyle() {
        WMessageBox box(nullptr, "t", "c", kMbYesNoCancel | kMbDefButton2);
        QVERIFY(!static_cast<QPushButton*>(box.button(kIdYes))->isDefault());
        QVERIFY(static_cast<QPushButton*>(box.button(kIdNo))->isDefault());
        // A third default on a two-button box falls back to the last button.
        WMessageBox two(nullptr, "t", "c", kMbYesNo | kMbDefButton3);
        QVERIFY(static_cast<QPushButton*>(two.button(kIdNo))->isDefault());
    }

    void helpAddsAButtonThatDoesNotClose() {
        WMessageBox box(nullptr, "t", "c", kMbOk | kMbHelp);
        QCOMPARE(box.buttonIds(), (QList<int>{kIdOk, kIdHelp}));
        QSignalSpy help(&box, &WMessageBox::helpRequested);
        whenBoxShows([](WMessageBox* shown) {
            press(shown, kIdHelp);
            QVERIFY(shown->isVisible());
            press(shown, kIdOk);
        });
        QCOMPARE(box.exec(), kIdOk);
        QCOMPARE(help.count(), 1);
    }

    void aWorkerThreadWaitsForTheAnswer() {
        whenBoxShows([](WMessageBox* box) { press(box, kIdRetry); });
        std::atomic<int> answer = 0;
        std::thread worker([&] { answer = messageBox(nullptr, "t", "c", kMbRetryCancel); });
        QTRY_COMPARE(answer.load(), kIdRetry);
        worker.join();
    }

    void errorReportJoinsItsTexts() {
        QString text;
        QPixmap icon;
        whenBoxShows([&](WMessageBox* box) {
            text = box->findChild<QLabel*>("messageBoxText")->text();
            icon = box->findChild<QLabel*>("messageBoxIcon")->pixmap();
            press(box, kIdOk);
        });
        QCOMPARE(reportError(nullptr, "Error", "Can't load dictionary !", QString(), "/tmp/x.v03"),
                 kIdOk);
        QCOMPARE(text, QStringLiteral("Can't load dictionary !\n\n/tmp/x.v03"));
        QVERIFY(!icon.isNull());
    }
};

int runMessageBoxTests(int argc, char** argv) {
    MessageBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "message_box_test.moc"
