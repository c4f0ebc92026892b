#include <QAccessible>
#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "ui/widgets/image_strip.h"
#include "ui/widgets/tests/recorder.h"
#include "ui/widgets/w_dialog.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_tip_manager.h"

namespace {

// A form that also records the operations the tests look at.
class LifeForm : public RecorderForm {
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

// An edit box whose handler, like the main window's, ignores program changes.
class SearchForm : public RecorderForm {
public:
    QList<bool> typed;  // one entry per change: true when the user made it

    void command(int code, int id, WControl* control, qintptr param) override {
        RecorderForm::command(code, id, control, param);
        auto* edit = dynamic_cast<WEdit*>(control);
        if (code != kEditChange || edit == nullptr) return;
        typed.append(!edit->isSetByProgram());
        edit->clearSetByProgram();
    }
};

class TestDialog : public WDialog {
public:
    QList<int> commands;
    int inits = 0;
    void command(int, int id, WControl*, qintptr) override { commands.append(id); }

protected:
    void onInitDialog() override { ++inits; }
};

}  // namespace

class FormTest : public QObject {
    Q_OBJECT

private slots:
    void menuItemsAndAcceleratorsArriveAsCommands() {
        RecorderForm form;
        QAction* help = form.addCommand(301, "Help");
        QCOMPARE(form.commandAction(301), help);
        form.addAccelerator(QKeySequence(Qt::Key_F2), 312);
        auto* edit = new WEdit(&form, 352);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        edit->setFocus();
        help->trigger();
        QTest::keyClick(edit, Qt::Key_F2);
        QCOMPARE(form.commands, (QList<RecordedCommand>{{kMenuCommand, 301, nullptr, 0},
                                                        {kAcceleratorCommand, 312, nullptr, 0}}));
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

    void programChangesRaiseTheFlagAndTypingDoesNot() {
        SearchForm form;
        auto* edit = new WEdit(&form, 352);
        form.show();
        edit->setProgramText("house");
        edit->setProgramText("house");  // unchanged: no notification, no flag left behind
        QVERIFY(!edit->isSetByProgram());
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_S);
        QCOMPARE(form.typed, (QList<bool>{false, true}));
        QCOMPARE(form.commands.first(), (RecordedCommand{kEditChange, 352, edit, 0}));
    }

    void enterReleasedSendsItsNotification() {
        RecorderForm form;
        auto* edit = new WEdit(&form, 353);
        form.show();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(form.codes(), QList<int>{kEditEnter});
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

    void toggleButtonFlipsThenPostsItsCommand() {
        RecorderForm form;
        auto* toggle = new WImageButton(&form, 303, WImageButton::Kind::kToggle, kImageWildcards);
        toggle->resize(toggle->sizeHint());
        form.show();
        QTest::mousePress(toggle, Qt::LeftButton);
        QVERIFY(toggle->isPressed());
        QTest::mouseRelease(toggle, Qt::LeftButton);
        QVERIFY(toggle->isToggled());
        QVERIFY(form.commands.isEmpty());  // posted: it runs after the mouse event
        QTRY_COMPARE(form.commands.size(), 1);
        QCOMPARE(form.commands.first(), (RecordedCommand{kButtonClicked, 303, toggle, 0}));
        // Setting the state from the program sends nothing.
        toggle->setToggled(false);
        QTest::qWait(10);
        QCOMPARE(form.commands.size(), 1);
    }

    void buttonsIgnoreOtherButtonsReleaseOutsideAndPushKindDoesNotToggle() {
        RecorderForm form;
        auto* push = new WImageButton(&form, 1004, WImageButton::Kind::kPush, kImageSave);
        push->resize(push->sizeHint());
        form.show();
        QTest::mouseClick(push, Qt::RightButton);
        QTest::mousePress(push, Qt::LeftButton);
        QTest::mouseMove(push, QPoint(-20, -20));
        QTest::mouseRelease(push, Qt::LeftButton, {}, QPoint(-20, -20));
        QTest::qWait(10);
        QVERIFY(form.commands.isEmpty());
        QTest::mouseClick(push, Qt::LeftButton);
        QTRY_COMPARE(form.commands.size(), 1);
        QVERIFY(!push->isToggled());
        push->setEnabled(false);
        QTest::mouseClick(push, Qt::LeftButton);
        QTest::qWait(10);
        QCOMPARE(form.commands.size(), 1);
    }

    void buttonsAreNamedByTheirTipForScreenReaders() {
        RecorderForm form;
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

    void dialogRoutesOkCancelAndOtherButtons() {
        TestDialog dialog;
        auto* ok = new QPushButton("OK", &dialog);
        auto* other = new QPushButton("Browse", &dialog);
        dialog.addButton(ok, kIdOk);
        dialog.addButton(other, 1020);
        QTimer::singleShot(0, &dialog, [&] {
            other->click();
            ok->click();
        });
        QCOMPARE(dialog.exec(), kIdOk);
        QCOMPARE(dialog.commands, QList<int>{1020});
        QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QCOMPARE(dialog.exec(), kIdCancel);
        QCOMPARE(dialog.inits, 2);
    }
};

int runFormTests(int argc, char** argv) {
    FormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "form_test.moc"
