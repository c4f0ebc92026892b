#include <QAccessible>
#include <QAction>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "ui/widgets/image_strip.h"
#include "ui/widgets/w_dialog.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_form.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_tip_manager.h"

namespace {

// A form that also records the operations the tests look at.
class LifeForm : public WForm {
public:
    int createResult = 0;
    bool keepOpen = false;
    int destroyed = 0;
    QList<int> timers;
    QWidget* menuSource = nullptr;

protected:
    int onCreate() override { return createResult; }
    void onDestroy() override { ++destroyed; }
    bool onClose() override { return keepOpen; }
    void onTimer(int id) override { timers.append(id); }
    void onContextMenu(const QPoint&, QWidget* source) override { menuSource = source; }
};

class TestDialog : public WDialog {
public:
    int inits = 0;

protected:
    void onInitDialog() override { ++inits; }
};

}  // namespace

class FormTest : public QObject {
    Q_OBJECT

private slots:
    // Every action and key of a command reaches what it is connected to;
    // the first action of an id is the one the form hands out.
    void menuItemsAndKeysReachTheirCommand() {
        WForm form;
        QAction* help = form.addCommand(301, "Help");
        QAction* contextHelp = form.addCommand(301, "Help");
        QCOMPARE(form.commandAction(301), help);
        form.addAccelerator(QKeySequence(Qt::Key_F2), 312);
        form.addCommand(312, "Edit");
        QList<int> ran;
        form.onCommand(301, &form, [&ran] { ran << 301; });
        form.onCommand(312, &form, [&ran] { ran << 312; });
        auto* edit = new WEdit(&form, 352);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        edit->setFocus();
        help->trigger();
        contextHelp->trigger();
        QTest::keyClick(edit, Qt::Key_F2);
        form.commandAction(312)->trigger();
        QCOMPARE(ran, (QList<int>{301, 301, 312, 312}));
        QCOMPARE(form.commandActions(301).size(), 2);
        QCOMPARE(form.accelerators(312).size(), 1);
    }

    void createDestroyAndCloseFollowTheirResults() {
        LifeForm failing;
        failing.createResult = -1;
        QVERIFY(!failing.createWindow());
        LifeForm form;
        QVERIFY(form.createWindow());
        form.show();
        form.keepOpen = true;
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QCOMPARE(form.destroyed, 0);
        form.keepOpen = false;
        QVERIFY(form.close());
        QCOMPARE(form.destroyed, 1);
        form.destroyWindow();
        QCOMPARE(form.destroyed, 1);
    }

    void formTimersUseTheProgramsIds() {
        LifeForm form;
        form.setFormTimer(178, 5);
        QVERIFY(form.isFormTimerActive(178));
        QTRY_VERIFY(form.timers.size() >= 2);
        QCOMPARE(form.timers.first(), 178);
        form.killFormTimer(178);
        QVERIFY(!form.isFormTimerActive(178));
        const qsizetype ticks = form.timers.size();
        QTest::qWait(30);
        QCOMPARE(form.timers.size(), ticks);
    }

    void contextMenuNamesTheControlUnderTheCursor() {
        LifeForm form;
        form.resize(200, 200);
        auto* list = new WListBox(&form, 350);
        list->setGeometry(10, 10, 100, 100);
        form.show();
        const QPoint pos(20, 20);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, list->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(list->viewport(), &event);
        QCOMPARE(form.menuSource, list);
    }

    // A handler of textChanged, like the main window's, tells typing from the
    // program's changes by the flag and clears it.
    void programChangesRaiseTheFlagAndTypingDoesNot() {
        QWidget form;
        auto* edit = new WEdit(&form, 352);
        QList<bool> typed;  // one entry per change: true when the user made it
        QObject::connect(edit, &QLineEdit::textChanged, &form, [edit, &typed] {
            typed.append(!edit->isSetByProgram());
            edit->clearSetByProgram();
        });
        form.show();
        edit->setProgramText("house");
        edit->setProgramText("house");  // unchanged: no notification, no flag left behind
        QVERIFY(!edit->isSetByProgram());
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_S);
        QCOMPARE(typed, (QList<bool>{false, true}));
    }

    void enterReleasedIsAnnounced() {
        QWidget form;
        auto* edit = new WEdit(&form, 353);
        QSignalSpy entered(edit, &WEdit::entered);
        form.show();
        edit->setFocus();
        QTest::keyPress(edit, Qt::Key_Return);
        QCOMPARE(entered.count(), 0);  // on the release, not the press
        QTest::keyRelease(edit, Qt::Key_Return);
        QCOMPARE(entered.count(), 1);
        QTest::keyClick(edit, Qt::Key_A);
        QCOMPARE(entered.count(), 1);
    }

    void textConvertsWithTheCodePage() {
        WEdit edit;
        edit.setCodePage(1250);
        edit.setProgramEncodedText("ku\xE6\x61");
        QCOMPARE(edit.text(), QStringLiteral("ku\u0107a"));
        QCOMPARE(edit.encodedText(), std::string("ku\xE6\x61"));
        edit.setText(QStringLiteral("\u0436"));
        bool lossy = false;
        QCOMPARE(edit.encodedText(&lossy), std::string("?"));
        QVERIFY(lossy);
    }

    void readOnlyBoxesShowTheWindowColour() {
        WEdit edit;
        QPalette pal = edit.palette();
        pal.setColor(QPalette::Base, QColor(255, 255, 200));
        pal.setColor(QPalette::Window, QColor(200, 200, 200));
        edit.setPalette(pal);
        edit.setReadOnly(true);
        QCOMPARE(edit.palette().color(QPalette::Base), QColor(200, 200, 200));
        edit.setReadOnly(false);
        QCOMPARE(edit.palette().color(QPalette::Base), QColor(255, 255, 200));
    }

    void toggleButtonFlipsThenAnnouncesItsClick() {
        QWidget form;
        auto* toggle = new WImageButton(&form, 303, WImageButton::Kind::kToggle, kImageWildcards);
        QSignalSpy activated(toggle, &WImageButton::activated);
        toggle->resize(toggle->sizeHint());
        form.show();
        QTest::mousePress(toggle, Qt::LeftButton);
        QVERIFY(toggle->isPressed());
        QTest::mouseRelease(toggle, Qt::LeftButton);
        QVERIFY(toggle->isToggled());
        QCOMPARE(activated.count(), 0);  // after the mouse event is over
        QTRY_COMPARE(activated.count(), 1);
        // Setting the state from the program announces nothing.
        toggle->setToggled(false);
        QTest::qWait(10);
        QCOMPARE(activated.count(), 1);
    }

    void buttonsIgnoreOtherButtonsReleaseOutsideAndPushKindDoesNotToggle() {
        QWidget form;
        auto* push = new WImageButton(&form, 1004, WImageButton::Kind::kPush, kImageSave);
        QSignalSpy activated(push, &WImageButton::activated);
        push->resize(push->sizeHint());
        form.show();
        QTest::mouseClick(push, Qt::RightButton);
        QTest::mousePress(push, Qt::LeftButton);
        QTest::mouseMove(push, QPoint(-20, -20));
        QTest::mouseRelease(push, Qt::LeftButton, {}, QPoint(-20, -20));
        QTest::qWait(10);
        QCOMPARE(activated.count(), 0);
        QTest::mouseClick(push, Qt::LeftButton);
        QTRY_COMPARE(activated.count(), 1);
        QVERIFY(!push->isToggled());
        push->setEnabled(false);
        QTest::mouseClick(push, Qt::LeftButton);
        QTest::qWait(10);
        QCOMPARE(activated.count(), 1);
    }

    void buttonsAreNamedByTheirTipForScreenReaders() {
        QWidget form;
        WTipManager tips(&form);
        auto* button = new WImageButton(&form, 301, WImageButton::Kind::kPush, kImageHelp);
        tips.addTool(button, "Help");
        QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
                 QStringLiteral("Help"));
        QVERIFY(tips.setToolText(button, "Pomoc"));
        QCOMPARE(button->accessibleName(), QStringLiteral("Pomoc"));
        QCOMPARE(tips.toolText(button), QStringLiteral("Pomoc"));
        QCOMPARE(tips.toolCount(), 1);
        delete button;
        QCOMPARE(tips.toolCount(), 0);
    }

    void standardStripHasEveryImage() {
        const ImageStrip& strip = ImageStrip::standard();
        QCOMPARE(strip.count(), int(kStandardImageCount));
        QCOMPARE(strip.image(kImageRestoreFromTray).size(), strip.cellSize());
        QVERIFY(strip.image(kStandardImageCount).isNull());
        QVERIFY(strip.image(-1).isNull());
    }

    void dialogRoutesOkAndCancel() {
        TestDialog dialog;
        auto* ok = new QPushButton("OK", &dialog);
        auto* cancel = new QPushButton("Cancel", &dialog);
        dialog.addButton(ok, kIdOk);
        dialog.addButton(cancel, kIdCancel);
        QTimer::singleShot(0, &dialog, [&] { ok->click(); });
        QCOMPARE(dialog.exec(), kIdOk);
        QTimer::singleShot(0, &dialog, [&] { cancel->click(); });
        QCOMPARE(dialog.exec(), kIdCancel);
        QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QCOMPARE(dialog.exec(), kIdCancel);
        QCOMPARE(dialog.inits, 3);
    }
};

int runFormTests(int argc, char** argv) {
    FormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "form_test.moc"
