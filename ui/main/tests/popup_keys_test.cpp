// The keys of the popup and the tooltip: Esc leaves them for the main window
// (a window kept on top stays), and the editing keys work on the popup's
// own edit box and list.
#include <QApplication>
#include <QClipboard>
#include <QtTest>

#include "app/search_controller.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_form.h"
#include "ui/main/search_edit.h"
#include "ui/main/tests/modal_script.h"
#include "ui/main/tests/program_folder.h"
#include "ui/main/tests/user_input.h"
#include "ui/main/tests/waits.h"
#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_list_box.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

// The hot key with "house" as the selected word, into window `target`.
bool hotKeyShows(MainForm* form, int targetCommand, QWidget* window) {
    if (!clickButton(form, targetCommand)) return false;
    QApplication::clipboard()->setText(QStringLiteral("house"));
    form->hotKey()->onMessage();
    // The look-up has ended and shown its window (which was perhaps kept
    // visible on top all along).
    const auto* controller = form->controller();
    if (!QTest::qWaitFor(
            [&] {
                return window->isVisible() && !controller->busy() &&
                       !controller->settings().hot_key_pending();
            },
            10000)) {
        return false;
    }
    // Showing it asked for its activation: let that arrive first.
    (void)QTest::qWaitFor([window] { return window->isActiveWindow(); }, 2000);
    QTest::qWait(100);
    window->activateWindow();
    return QTest::qWaitFor([window] { return window->isActiveWindow(); }, 5000);
}

}  // namespace

class PopupKeysTest : public QObject {
    Q_OBJECT

private slots:
    void escapeLeavesThePopupForTheMainWindow() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        PopupForm* popup = form->windows()->popup();
        QVERIFY(hotKeyShows(form.get(), cmd::kHotKeysCallPopup, popup));
        QTRY_COMPARE(popup->list()->count(), 2);

        QTest::keyClick(popup->edit(), Qt::Key_Escape);
        QTRY_VERIFY(!popup->isVisible());
        QTRY_VERIFY(form->isActiveWindow());
        QVERIFY(!form->controller()->settings().hot_key_pending());
        SearchEdit* source = form->pane(SlotId::kMain)->edit(ListSide::kPrimary);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(source));

        // Kept on top, the popup stays while the main window comes forward.
        // Ticked on the settings page, which then closes (both queued, in
        // that order).
        ModalScript onTop({[](QWidget* w) {
            tickSettingsBox(cmd::kPopupOnTop)(w);
            QMetaObject::invokeMethod(w, &QWidget::close, Qt::QueuedConnection);
        }});
        QVERIFY(chooseMenuItem(form.get(), wordbay::TextId::MENU_INTERFACE));
        QTRY_VERIFY(onTop.done());
        QVERIFY(form->settings().popup_on_top);
        QVERIFY(hotKeyShows(form.get(), cmd::kHotKeysCallPopup, popup));
        QTest::keyClick(popup->list(), Qt::Key_Escape);
        QTRY_VERIFY(form->isActiveWindow());
        QVERIFY(popup->isVisible());
    }

    void escapeLeavesTheTooltip() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        PopupTooltipForm* tooltip = form->windows()->tooltip();
        QVERIFY(hotKeyShows(form.get(), cmd::kHotKeysCallTooltip, tooltip));
        QTRY_COMPARE(tooltip->translationText(), QStringLiteral("kuća\ndom\n"));
        QTest::keyClick(tooltip, Qt::Key_Escape);
        QTRY_VERIFY(!tooltip->isVisible());
        QTRY_VERIFY(form->isActiveWindow());
    }

    // Ctrl+A selects the whole popup list, Ctrl+C copies it; in the popup's
    // edit box Ctrl+D pastes and Ctrl+A selects its text.
    void editingKeysWorkInThePopup() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        PopupForm* popup = form->windows()->popup();
        QVERIFY(hotKeyShows(form.get(), cmd::kHotKeysCallPopup, popup));
        QTRY_COMPARE(popup->list()->count(), 2);

        popup->list()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(popup->list()));
        QTest::keyClick(popup->list(), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(popup->list()->isSelectAll());
        QTest::keyClick(popup->list(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kuća\r\ndom"));

        popup->edit()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(popup->edit()));
        popup->edit()->setText(QString());
        QApplication::clipboard()->setText(QStringLiteral("tree"));
        QTest::keyClick(popup->edit(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(popup->edit()->text(), QStringLiteral("tree"));
        QTRY_COMPARE(popup->list()->count(), 1);
        popup->edit()->deselect();
        QTest::keyClick(popup->edit(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(popup->edit()->selectedText(), QStringLiteral("tree"));
    }
};

int runPopupKeysTests(int argc, char** argv) {
    PopupKeysTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "popup_keys_test.moc"
