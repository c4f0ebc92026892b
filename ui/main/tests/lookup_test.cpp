// Looking words up through the real search controller and engine: typing,
// moving into a list, the status line, and what closing the window saves.
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QtTest>

#include "app/search_controller.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_form.h"
#include "ui/main/search_edit.h"
#include "ui/main/status_strip.h"
#include "ui/main/tests/modal_script.h"
#include "ui/main/tests/program_folder.h"
#include "ui/main/tests/user_input.h"
#include "ui/main/tests/waits.h"
#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/text/text_window.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_message_box.h"

using wordbay::ListSide;
using wordbay::SlotId;
using wordbay::TextId;

namespace {}  // namespace

class LookUpTest : public QObject {
    Q_OBJECT

private slots:
    void typingAnExactWordTranslatesIt() {
        ProgramFolder folder(housePairs(), QStringLiteral("autotranslate=1"));
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        DictionaryPane* pane = form->pane(SlotId::kMain);
        WListBox* words = pane->list(ListSide::kPrimary);
        WListBox* translations = pane->list(ListSide::kSecondary);

        // A prefix of several words only lists them.
        QTest::keyClicks(pane->edit(ListSide::kPrimary), QStringLiteral("ho"));
        QTRY_COMPARE(words->count(), 5);
        QTRY_VERIFY(!form->controller()->busy());
        QCOMPARE(translations->count(), 0);
        QCOMPARE(words->curSel(), -1);

        QTest::keyClicks(pane->edit(ListSide::kPrimary), QStringLiteral("use"));
        QTRY_COMPARE(translations->count(), 2);
        QCOMPARE(words->count(), 2);
        QCOMPARE(words->curSel(), 0);
        QCOMPARE(words->itemText(0), QStringLiteral("house"));
        QStringList shown{translations->itemText(0), translations->itemText(1)};
        shown.sort();
        QCOMPARE(shown, (QStringList{QStringLiteral("dom"), QStringLiteral("kuća")}));
        // The target box holds the first translation, decoded from its code page,
        // and its change started no search of the Croatian list.
        QTRY_COMPARE(pane->edit(ListSide::kSecondary)->text(), translations->itemText(0));
        QTRY_COMPARE(form->statusStrip()->statusText(), QStringLiteral("English: 2   Croatian: 2"));
    }

    void downArrowSelectsTheFirstWordAndTranslatesIt() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        DictionaryPane* pane = form->pane(SlotId::kMain);
        SearchEdit* edit = pane->edit(ListSide::kPrimary);
        WListBox* words = pane->list(ListSide::kPrimary);
        QTest::keyClicks(edit, QStringLiteral("hou"));
        QTRY_COMPARE(words->count(), 4);
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(words->curSel(), 0);
        QVERIFY(words->hasFocus());
        QTRY_COMPARE(pane->list(ListSide::kSecondary)->count(), 1);
        QCOMPARE(pane->list(ListSide::kSecondary)->itemText(0), QStringLiteral("gonič"));
        // The chosen word went into the box without listing again.
        QCOMPARE(edit->text(), QStringLiteral("hound"));
        QTRY_VERIFY(!form->controller()->busy());
        QCOMPARE(words->count(), 4);

        QTest::keyClick(words, Qt::Key_Down);
        QTRY_COMPARE(pane->list(ListSide::kSecondary)->itemText(0), QStringLiteral("sat"));
    }

    void typingInTheSecondaryListSearchesIt() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        DictionaryPane* pane = form->pane(SlotId::kMain);
        QTest::keyClicks(pane->edit(ListSide::kSecondary), QStringLiteral("ku"));
        QTRY_COMPARE(pane->list(ListSide::kSecondary)->count(), 2);
        QCOMPARE(pane->list(ListSide::kSecondary)->itemText(0), QStringLiteral("kuća"));
    }

    // The hot keys copy the other program's selection (no X display here: the
    // clipboard already holds it) and look up its first line, trimmed.
    void theHotKeyLooksUpTheClipboard() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        DictionaryPane* pane = form->pane(SlotId::kMain);
        QApplication::clipboard()->setText(QStringLiteral("  hou  \r\nsecond line"));
        form->hotKey()->onMessage();
        QTRY_COMPARE(pane->edit(ListSide::kPrimary)->text(), QStringLiteral("hou"));
        QTRY_COMPARE(pane->list(ListSide::kPrimary)->count(), 4);
        // The hot key's look-up has ended (a window activation while it is
        // pending would take the clipboard once more).
        QTRY_VERIFY(!form->controller()->settings().hot_key_pending());

        // While the dictionary is edited the hot keys do nothing.
        QVERIFY(chooseMenuItem(form.get(), TextId::MENU_EDIT));
        QVERIFY(form->editMode());
        QApplication::clipboard()->setText(QStringLiteral("tree"));
        form->hotKey()->onMessage();
        QTest::qWait(400);
        QCOMPARE(pane->edit(ListSide::kPrimary)->text(), QStringLiteral("hou"));
    }

    // With the popup as the hot keys' window, the clipboard's word and its
    // translations land in the popup, and typing into the popup searches too.
    void theHotKeyResultGoesToThePopup() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        QVERIFY(clickButton(form.get(), cmd::kHotKeysCallPopup));
        PopupForm* popup = form->windows()->popup();
        QApplication::clipboard()->setText(QStringLiteral("house"));
        form->hotKey()->onMessage();
        QTRY_COMPARE(popup->list()->count(), 2);
        QCOMPARE(popup->list()->itemText(0), QStringLiteral("kuća"));
        QCOMPARE(popup->edit()->text(), QStringLiteral("house"));
        QTRY_VERIFY(popup->isVisible());
        QVERIFY(popup->statusText().endsWith(QStringLiteral(": 2")));

        popup->edit()->clear();
        QTest::keyClicks(popup->edit(), QStringLiteral("tree"));
        QTRY_COMPARE(popup->list()->count(), 1);
        QCOMPARE(popup->list()->itemText(0), QStringLiteral("drvo"));
        QCOMPARE(popup->edit()->text(), QStringLiteral("tree"));
    }

    void theHotKeyResultGoesToTheTooltip() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        QVERIFY(clickButton(form.get(), cmd::kHotKeysCallTooltip));
        QApplication::clipboard()->setText(QStringLiteral("house"));
        form->hotKey()->onMessage();
        QTRY_COMPARE(form->windows()->tooltip()->translationText(), QStringLiteral("kuća\ndom\n"));
        QCOMPARE(form->windows()->tooltip()->word(), QStringLiteral("house"));
    }

    // F12 in the main window translates the text window's text.
    void f12TranslatesTheTextWindow() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        QVERIFY(chooseMenuItem(form.get(), TextId::MENU_TRANSLATE_TEXT));
        TextWindow* text = form->windows()->textWindow();
        QVERIFY(text->isVisible());
        text->sourcePane()->setPlainText(QStringLiteral("A mouse in the house."));
        QVERIFY(pressKey(form.get(), QKeySequence(Qt::Key_F12)));
        QTRY_COMPARE(text->targetPane()->toPlainText(), QStringLiteral("A miš in the kuća."));
    }

    void closeWritesTheProgramSettings() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        QVERIFY(chooseMenuItem(form.get(), TextId::MENU_USE_WILDCARDS));
        QVERIFY(chooseMenuItem(form.get(), TextId::MENU_CASE_SENSITIVE));
        QVERIFY(chooseMenuItem(form.get(), TextId::MENU_AUTOTRANSLATE));
        QVERIFY(clickButton(form.get(), cmd::kHotKeysCallTooltip));
        form->move(40, 30);
        form->resize(700, 420);
        form->close();
        QTRY_VERIFY(!form->isVisible());
        QCOMPARE(folder.setting("options", "usewildcards"), QStringLiteral("1"));
        QCOMPARE(folder.setting("options", "useregex"), QStringLiteral("0"));
        QCOMPARE(folder.setting("options", "casesensitive"), QStringLiteral("1"));
        QCOMPARE(folder.setting("options", "autotranslate"), QStringLiteral("1"));
        QCOMPARE(folder.setting("options", "showsplash"), QStringLiteral("0"));
        QCOMPARE(folder.setting("hotkey", "hotkeyactivate"), QStringLiteral("2"));
        QCOMPARE(folder.setting("dictionary", "current"), QStringLiteral("English_Croatian.v03"));
        QCOMPARE(folder.setting("size", "cx"), QStringLiteral("700"));
        QCOMPARE(folder.setting("size", "cy"), QStringLiteral("420"));
        QCOMPARE(folder.setting("size", "x"), QString::number(form->x()));
        QCOMPARE(folder.setting("size", "maximized"), QStringLiteral("0"));
        // The dictionary's own settings file was written when the window went.
        QVERIFY(QFile::exists(QString::fromStdString(folder.paths().database_dir) +
                              QStringLiteral("/English_Croatian.v03.ini")));
    }

    void closeWithAChangedDictionaryAsks() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        DB_HANDLE db = form->controller()->slot(SlotId::kMain).handle();
        QVERIFY(DB_AddWord(db, DB_PRIMARY_LIST, "zebra")->status != 0);

        ModalScript answers({press(kIdCancel), press(kIdNo)});
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        QVERIFY(answers.texts().value(0).contains(QStringLiteral("Save changed dictionary")));
        QVERIFY(folder.setting("options", "useregex").isNull());  // nothing written yet

        form->close();
        QTRY_VERIFY(!form->isVisible());
        QCOMPARE(folder.setting("options", "useregex"), QStringLiteral("0"));
    }

    void answeringYesSavesAndThenCloses() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        DB_HANDLE db = form->controller()->slot(SlotId::kMain).handle();
        QVERIFY(DB_AddWord(db, DB_PRIMARY_LIST, "zebra")->status != 0);
        // The worker reports the save, then closes the window without asking again.
        ModalScript answers({press(kIdYes), press(kIdOk)});
        QVERIFY(!form->close());  // the save runs first, on the worker
        QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 10000);

        DB_HANDLE check = DB_CreateHandle()->handle;
        const std::string path = folder.paths().database_dir + "/English_Croatian.v03";
        QVERIFY(DB_Load(check, DB_FORMAT_V03_LOAD, path.c_str(), 0, 0)->status != 0);
        const char* found[4] = {};
        QCOMPARE(DB_List(check, DB_PRIMARY_LIST, "zeb", 0, 1, DB_LIST_PREFIX, found, 4)->count, 1);
        DB_DestroyHandle(check);
    }
};

int runLookUpTests(int argc, char** argv) {
    LookUpTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "lookup_test.moc"
