// The commands of the main window: search modes, copying from the panes,
// editing in them, direction, dual mode and the tray icon's menu.
#include "ui/main/main_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QtTest>

#include "app/search_controller.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/focused_control.h"
#include "ui/main/search_edit.h"
#include "ui/main/status_strip.h"
#include "ui/main/tests/modal_script.h"
#include "ui/main/tests/program_folder.h"
#include "ui/main/tests/user_input.h"
#include "ui/main/tests/waits.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_static.h"

using wordbay::ListSide;
using wordbay::SlotId;
using wordbay::TextId;

namespace {

bool checked(MainForm* form, int id) { return form->commandAction(id)->isChecked(); }

bool toggled(MainForm* form, int id) { return form->buttonBar()->button(id)->isToggled(); }

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_folder = std::make_unique<ProgramFolder>(housePairs());
        QVERIFY(m_folder->ok());
        m_form = m_folder->openWindow();
        QVERIFY(m_form != nullptr);
    }

    void cleanup() {
        m_form.reset();
        m_folder.reset();
    }

    void searchModesExcludeOneAnother() {
        MainForm* f = m_form.get();
        WStatic* mode = f->statusStrip()->modeLabel();
        QVERIFY(!mode->isEnabled());

        QVERIFY(chooseMenuItem(f, TextId::MENU_USE_WILDCARDS));
        QVERIFY(f->options().wildcards);
        QCOMPARE(mode->text(), QStringLiteral("WILDCARDS"));
        QVERIFY(mode->isEnabled());

        QVERIFY(chooseMenuItem(f, TextId::MENU_ANAGRAMS_2));
        QVERIFY(!f->options().wildcards);
        QCOMPARE(f->options().anagram_mode, 2);
        QCOMPARE(mode->text(), QStringLiteral("ANAGRAMS 2"));
        QVERIFY(mode->isEnabled());
        QVERIFY(!checked(f, cmd::kUseWildcards));
        QVERIFY(!toggled(f, cmd::kUseWildcards));
        QVERIFY(checked(f, cmd::kAnagrams2));
        QVERIFY(toggled(f, cmd::kAnagrams2));

        QVERIFY(chooseMenuItem(f, TextId::MENU_USE_REGEX));
        QCOMPARE(f->options().anagram_mode, 0);
        QCOMPARE(mode->text(), QStringLiteral("REG. EXPR."));

        QVERIFY(chooseMenuItem(f, TextId::MENU_ANAGRAMS_2));
        QVERIFY(chooseMenuItem(f, TextId::MENU_ANAGRAMS_2));
        QCOMPARE(f->options().anagram_mode, 0);
        QVERIFY(!f->options().regex);
        QVERIFY(!mode->isEnabled());
        QVERIFY(!checked(f, cmd::kAnagrams2));
        QVERIFY(!toggled(f, cmd::kAnagrams2));
    }

    // A toggle button flips itself before it reports; the option, the menu
    // check and the button must still agree afterwards.
    void toggleButtonsFollowTheOptions() {
        MainForm* f = m_form.get();
        WImageButton* accents = f->buttonBar()->button(cmd::kIgnoreAccents);
        const bool before = f->options().ignore_accents;
        QTest::mouseClick(accents, Qt::LeftButton);
        QTRY_COMPARE(f->options().ignore_accents, !before);
        QCOMPARE(accents->isToggled(), !before);
        QCOMPARE(checked(f, cmd::kIgnoreAccents), !before);
        QCOMPARE(f->statusStrip()
                     ->findChild<WStatic*>(QStringLiteral("ignoreAccentsLabel"))
                     ->isEnabled(),
                 !before);
    }

    void searchRunsAgainWhenASwitchChanges() {
        MainForm* f = m_form.get();
        DictionaryPane* pane = f->pane(SlotId::kMain);
        WListBox* list = pane->list(ListSide::kPrimary);
        pane->edit(ListSide::kPrimary)->setFocus();
        QTest::keyClicks(pane->edit(ListSide::kPrimary), QStringLiteral("?ouse"));
        QTRY_VERIFY(!f->controller()->busy());
        QCOMPARE(list->count(), 0);
        QVERIFY(chooseMenuItem(f, TextId::MENU_USE_WILDCARDS));
        QTRY_COMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QStringLiteral("house"));
        QCOMPARE(list->itemText(1), QStringLiteral("mouse"));
    }

    void copyFromAFocusedList() {
        MainForm* f = m_form.get();
        DictionaryPane* pane = f->pane(SlotId::kMain);
        WListBox* list = pane->list(ListSide::kPrimary);
        QTest::keyClicks(pane->edit(ListSide::kPrimary), QStringLiteral("hou"));
        QTRY_COMPARE(list->count(), 4);
        QClipboard* clipboard = QApplication::clipboard();

        list->setFocus();
        QVERIFY(list->hasFocus());
        clipboard->setText(QStringLiteral("before"));
        QVERIFY(chooseMenuItem(f, TextId::MENU_COPY));
        QCOMPARE(clipboard->text(), QStringLiteral("before"));  // nothing selected

        list->setCurSel(1);
        QVERIFY(chooseMenuItem(f, TextId::MENU_COPY));
        QCOMPARE(clipboard->text(), QStringLiteral("hour"));

        QVERIFY(pressKey(f, QKeySequence(Qt::CTRL | Qt::Key_A)));
        QVERIFY(list->isSelectAll());
        QVERIFY(chooseMenuItem(f, TextId::MENU_COPY));
        QCOMPARE(clipboard->text(), QStringLiteral("hound\r\nhour\r\nhouse\r\nhousehold"));
    }

    void copyFromTheEditBoxTakesItsSelection() {
        MainForm* f = m_form.get();
        SearchEdit* edit = f->pane(SlotId::kMain)->edit(ListSide::kPrimary);
        QTest::keyClicks(edit, QStringLiteral("horse"));
        edit->setFocus();
        edit->setSelection(0, 3);
        QVERIFY(chooseMenuItem(f, TextId::MENU_COPY));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("hor"));
    }

    void directionPutsTheSourceListFirst() {
        MainForm* f = m_form.get();
        DictionaryPane* pane = f->pane(SlotId::kMain);
        QCOMPARE(pane->sourceSide(), ListSide::kPrimary);
        const int primaryX = pane->edit(ListSide::kPrimary)->x();
        QVERIFY(chooseMenuItem(f, TextId::MENU_CHANGE_TRANSLATION_DIRECTION));
        QTRY_VERIFY(pane->edit(ListSide::kPrimary)->x() > pane->edit(ListSide::kSecondary)->x());
        QCOMPARE(pane->sourceSide(), ListSide::kSecondary);
        QCOMPARE(pane->edit(ListSide::kSecondary)->x(), primaryX);
        QVERIFY(!f->controller()->slot(SlotId::kMain).primary_to_secondary());
        QVERIFY(pane->directionButton()->text().startsWith(QStringLiteral("Croatian")));

        // Esc goes to the search box of the source list, now the Croatian one.
        QVERIFY(pressKey(f, QKeySequence(Qt::Key_Escape)));
        QVERIFY(pane->edit(ListSide::kSecondary)->hasFocus());
    }

    void dualModeStaysOffWhenTheChoiceIsCancelled() {
        MainForm* f = m_form.get();
        ModalScript choice({closeIt()});
        QVERIFY(chooseMenuItem(f, TextId::MENU_DUAL_MODE));
        QVERIFY(!f->options().dual_mode);
        QVERIFY(!checked(f, cmd::kDualMode));
        QVERIFY(!toggled(f, cmd::kDualMode));
        QVERIFY(f->pane(SlotId::kDual)->isHidden());
        QVERIFY(!f->commandAction(cmd::kLink)->isEnabled());
    }

    void editModeNeedsADictionaryAndGreysDualMode() {
        MainForm* f = m_form.get();
        QVERIFY(chooseMenuItem(f, TextId::MENU_EDIT));
        QVERIFY(f->editMode());
        QVERIFY(f->options().edit_mode);
        QVERIFY(!f->commandAction(cmd::kDualMode)->isEnabled());
        QVERIFY(f->commandAction(cmd::kAddWord)->isEnabled());
        QVERIFY(toggled(f, cmd::kEditMode));
        QVERIFY(chooseMenuItem(f, TextId::MENU_EDIT));
        QVERIFY(!f->editMode());
        QVERIFY(f->commandAction(cmd::kDualMode)->isEnabled());
        QVERIFY(!f->commandAction(cmd::kAddWord)->isEnabled());
    }

    // Undo, cut, select all and delete act on the focused search box; in a
    // list only select all does anything.
    void editingActsOnTheFocusedControl() {
        MainForm* f = m_form.get();
        DictionaryPane* pane = f->pane(SlotId::kMain);
        FocusedControl focus(
            pane, f->pane(SlotId::kDual), [] { return nullptr; }, f->controller());
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        SearchEdit* edit = pane->edit(ListSide::kPrimary);
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClicks(edit, "hou");
        WListBox* list = pane->list(ListSide::kPrimary);
        QTRY_VERIFY(list->count() > 0);
        focus.edit(FocusedControl::Edit::kSelectAll);
        QCOMPARE(edit->selectedText(), QStringLiteral("hou"));
        focus.edit(FocusedControl::Edit::kCut);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("hou"));
        focus.edit(FocusedControl::Edit::kUndo);
        QCOMPARE(edit->text(), QStringLiteral("hou"));
        focus.edit(FocusedControl::Edit::kDelete);
        QCOMPARE(edit->text(), QString());
        focus.edit(FocusedControl::Edit::kUndo);
        QCOMPARE(edit->text(), QStringLiteral("hou"));
        QTRY_VERIFY(list->count() > 0);
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        focus.edit(FocusedControl::Edit::kDelete);
        focus.edit(FocusedControl::Edit::kCut);
        QVERIFY(list->count() > 0);
        QVERIFY(!list->isSelectAll());
        focus.edit(FocusedControl::Edit::kSelectAll);
        QVERIFY(list->isSelectAll());
        QCOMPARE(edit->text(), QStringLiteral("hou"));
    }

    // The tray icon's menu brings the window back, shows the About box and
    // ends the program.
    void theTrayMenuRestoresShowsAboutAndExits() {
        MainForm* f = m_form.get();
        auto* menu = f->findChild<QMenu*>(QStringLiteral("trayMenu"));
        QVERIFY(menu != nullptr);
        const QList<QAction*> items = menu->actions();
        QCOMPARE(items.size(), 3);
        f->hide();
        items[0]->trigger();
        QTRY_VERIFY(f->isVisible());
        bool aboutShown = false;
        ModalScript about({[&aboutShown](QWidget* w) {
            aboutShown = w->isVisible();
            w->close();
        }});
        items[1]->trigger();
        QVERIFY(about.done());
        QVERIFY(aboutShown);
        QVERIFY(f->isVisible());
        items[2]->trigger();
        QTRY_VERIFY(!f->isVisible());
    }

private:
    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<MainForm> m_form;
};

int runMainFormTests(int argc, char** argv) {
    MainFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_form_test.moc"
