// The text translation window driven through its menu, keys and buttons,
// over a small English-German dictionary.
#include "ui/text/text_window.h"

#include <sys/stat.h>

#include <QClipboard>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <vector>

#include "engine/lexbase.h"
#include "ui/dialogs/tests/test_support.h"
#include "ui/widgets/tests/user_input.h"
#include "ui/widgets/ui_text.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_list_box.h"

using wordbay::TextId;

namespace {

// The window's own options, in one row: fast, from cursor, wrap original,
// wrap translated, side by side, depth.
std::vector<int> options(const wordbay::ProgramSettings& s) {
    return {s.fast_translation, s.translate_from_cursor, s.wrap_original,
            s.wrap_translated,  s.panes_side_by_side,    s.search_depth};
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

}  // namespace

class TextWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        m_db = DB_CreateHandle()->handle;
        QVERIFY(DB_CreateNewDictionary(m_db, 1033, 1031)->status != 0);
        for (const auto& [en, de] : {std::pair{"good morning", "guten Morgen"},
                                     std::pair{"sir", "Herr"}, std::pair{"house", "Haus"},
                                     std::pair{"tree", "Baum"}, std::pair{"tree", "Strauch"}}) {
            QVERIFY(DB_AddTranslation(m_db, DB_TRANS_PRIMARY_TO_SECONDARY, en, de)->status != 0);
        }
    }
    void cleanupTestCase() { DB_DestroyHandle(m_db); }

    void init() {
        m_settings = wordbay::ProgramSettings();
        m_settings.search_depth = 3;
        m_form = std::make_unique<TextWindow>(&m_settings);
        m_form->setDictionaryProvider([this] {
            TextDictionaries d;
            d.ready = true;
            d.lookup.main = m_db;
            d.lookup.main_limit = 10;
            return d;
        });
        QVERIFY(m_form->createWindow());
        m_form->show();
    }
    void cleanup() { m_form.reset(); }

    void fastCopiesUnknownWords() {
        m_settings.fast_translation = true;
        m_form->sourcePane()->setPlainText(QStringLiteral("Good\nmorning, xyzzy sir!"));
        QVERIFY(user_input::pressKey(m_form.get(), QKeySequence(Qt::Key_F12)));
        QTRY_COMPARE(m_form->isTranslating(), false);
        QTRY_COMPARE(m_form->targetPane()->toPlainText(),
                     QStringLiteral("guten Morgen, xyzzy Herr!"));
    }

    void stepActionsWriteWhatWasChosen() {
        m_settings.fast_translation = false;
        m_form->sourcePane()->setPlainText(QStringLiteral("house; sir: good morning."));
        QVERIFY(user_input::pressKey(m_form.get(), QKeySequence(Qt::Key_F12)));
        QTRY_COMPARE(m_form->phraseBox()->text(), QStringLiteral("house"));
        QCOMPARE(m_form->translationsList()->count(), 1);
        QVERIFY(user_input::clickButton(m_form.get(), uiText(TextId::MSG_SKIP_WORD)));
        QTRY_COMPARE(m_form->phraseBox()->text(), QStringLiteral("sir"));
        QVERIFY(user_input::clickButton(m_form.get(), uiText(TextId::MSG_INSERT_ORIGINAL)));
        QTRY_COMPARE(m_form->phraseBox()->text(), QStringLiteral("good morning"));
        QVERIFY(user_input::clickButton(m_form.get(), uiText(TextId::MSG_INSERT_TRANSLATION)));
        QTRY_COMPARE(m_form->isTranslating(), false);
        // Skip wrote nothing and dropped the text up to sir.
        QCOMPARE(m_form->targetPane()->toPlainText(), QStringLiteral("sir: guten Morgen."));
    }

    void editedPhraseIsLookedUpAgain() {
        m_settings.fast_translation = false;
        m_form->sourcePane()->setPlainText(QStringLiteral("hous"));
        QVERIFY(user_input::pressKey(m_form.get(), QKeySequence(Qt::Key_F12)));
        QTRY_COMPARE(m_form->phraseBox()->text(), QStringLiteral("hous"));
        QCOMPARE(m_form->translationsList()->count(), 0);
        m_form->phraseBox()->setText(QStringLiteral("house"));
        QCOMPARE(m_form->translationsList()->count(), 1);
        QVERIFY(user_input::clickButton(m_form.get(), uiText(TextId::MSG_INSERT_TRANSLATION)));
        QTRY_COMPARE(m_form->isTranslating(), false);
        QCOMPARE(m_form->targetPane()->toPlainText(), QStringLiteral("Haus"));
    }

    // In a step run, clicking a translation in the list inserts that one.
    void clickingATranslationInsertsIt() {
        m_settings.fast_translation = false;
        m_form->sourcePane()->setPlainText(QStringLiteral("tree"));
        QVERIFY(user_input::pressKey(m_form.get(), QKeySequence(Qt::Key_F12)));
        QTRY_COMPARE(m_form->phraseBox()->text(), QStringLiteral("tree"));
        WListBox* list = m_form->translationsList();
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->curSel(), 0);
        const QString second = list->itemText(1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(1).center());
        QTRY_COMPARE(m_form->isTranslating(), false);
        QCOMPARE(m_form->targetPane()->toPlainText(), second);
    }

    void stopDuringAStepWaitCopiesNoMore() {
        m_settings.fast_translation = false;
        m_form->sourcePane()->setPlainText(QStringLiteral("house and the rest"));
        QVERIFY(user_input::pressKey(m_form.get(), QKeySequence(Qt::Key_F12)));
        QTRY_COMPARE(m_form->phraseBox()->text(), QStringLiteral("house"));
        QVERIFY(user_input::chooseMenuItem(m_form.get(), uiText(TextId::MENU_STOP_TRANSLATION)));
        QTRY_COMPARE(m_form->isTranslating(), false);
        QCOMPARE(m_form->targetPane()->toPlainText(), QString());
        QVERIFY(!m_form->sourcePane()->isReadOnly());
    }

    void translatesOnlyTheSelection() {
        m_settings.fast_translation = true;
        m_form->sourcePane()->setPlainText(QStringLiteral("sir house sir"));
        QTextCursor cursor = m_form->sourcePane()->textCursor();
        cursor.setPosition(4);
        cursor.setPosition(9, QTextCursor::KeepAnchor);
        m_form->sourcePane()->setTextCursor(cursor);
        QVERIFY(user_input::pressKey(m_form.get(), QKeySequence(Qt::Key_F12)));
        QTRY_COMPARE(m_form->isTranslating(), false);
        QTRY_COMPARE(m_form->targetPane()->toPlainText(), QStringLiteral("Haus"));
    }

    void closingHidesAndStops() {
        m_settings.fast_translation = false;
        m_form->sourcePane()->setPlainText(QStringLiteral("house"));
        QVERIFY(user_input::pressKey(m_form.get(), QKeySequence(Qt::Key_F12)));
        QTRY_COMPARE(m_form->phraseBox()->text(), QStringLiteral("house"));
        m_form->close();
        QTRY_COMPARE(m_form->isTranslating(), false);
        QVERIFY(m_form->isHidden());
    }

    // Each item of the Run and View menus and of the depth submenu changes
    // its own option and no other.
    void eachOptionItemChangesItsOwnOption() {
        m_settings.fast_translation = true;
        m_settings.panes_side_by_side = false;
        constexpr int kFlip = -1;
        const struct {
            QString item;
            std::size_t option;  // in options()
            int value;           // kFlip: the option turns over
        } items[] = {
            {uiText(TextId::MENU_STEP_TRANSLATION), 0, 0},
            {uiText(TextId::MENU_FAST_TRANSLATION), 0, 1},
            {uiText(TextId::MENU_TRANSLATE_FROM_CURSOR), 1, kFlip},
            {uiText(TextId::MENU_WORDWRAP_ORIGINAL_TEXT), 2, kFlip},
            {uiText(TextId::MENU_WORDWRAP_TRANSLATED_TEXT), 3, kFlip},
            {uiText(TextId::MENU_TILE_VERTICALLY), 4, 1},
            {uiText(TextId::MENU_TILE_HORIZONTALLY), 4, 0},
            {QStringLiteral("7"), 5, 7},
            {QStringLiteral("10"), 5, 10},
            {QStringLiteral("1"), 5, 1},
        };
        for (const auto& i : items) {
            std::vector<int> expected = options(m_settings);
            expected[i.option] = i.value == kFlip ? !expected[i.option] : i.value;
            QVERIFY2(expected != options(m_settings), qPrintable(i.item));
            QVERIFY2(user_input::chooseMenuItem(m_form.get(), i.item), qPrintable(i.item));
            QCOMPARE(options(m_settings), expected);
        }
        // The panes follow their wrap options.
        QCOMPARE(m_form->sourcePane()->lineWrapMode() == QPlainTextEdit::WidgetWidth,
                 m_settings.wrap_original);
        QCOMPARE(m_form->targetPane()->lineWrapMode() == QPlainTextEdit::WidgetWidth,
                 m_settings.wrap_translated);
    }

    // Each save item writes its own pane; the open item fills the source pane.
    void theFileItemsWriteAndReadTheirOwnPane() {
        QTemporaryDir dir;
        m_form->sourcePane()->setPlainText(QStringLiteral("sir house"));
        m_form->targetPane()->setPlainText(QStringLiteral("Herr Haus"));
        const QString original = dir.filePath(QStringLiteral("original.txt"));
        const QString translated = dir.filePath(QStringLiteral("translated"));
        user_input::answerFileDialog(original);
        QVERIFY(
            user_input::chooseMenuItem(m_form.get(), uiText(TextId::MENU_SAVE_TEXT_TO_TRANSLATE)));
        user_input::answerFileDialog(translated);
        QVERIFY(
            user_input::chooseMenuItem(m_form.get(), uiText(TextId::MENU_SAVE_TRANSLATED_TEXT)));
        QCOMPARE(contents(original), QByteArray("sir house"));
        QCOMPARE(contents(translated + QStringLiteral(".txt")), QByteArray("Herr Haus"));
        m_form->sourcePane()->clear();
        user_input::answerFileDialog(translated + QStringLiteral(".txt"));
        QVERIFY(
            user_input::chooseMenuItem(m_form.get(), uiText(TextId::MENU_OPEN_TEXT_TO_TRANSLATE)));
        QCOMPARE(m_form->sourcePane()->toPlainText(), QStringLiteral("Herr Haus"));
        QCOMPARE(m_form->targetPane()->toPlainText(), QStringLiteral("Herr Haus"));
    }

    // A pipe chosen as the text to translate is refused at once (opening it
    // would wait for a writer and hold the window); the pane keeps its text.
    void aPipeIsNotOpened() {
        QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("pipe.txt"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        m_form->sourcePane()->setPlainText(QStringLiteral("kept"));
        dialog_tests::BoxAnswer box(kIdOk);
        user_input::answerFileDialog(pipe);
        QVERIFY(
            user_input::chooseMenuItem(m_form.get(), uiText(TextId::MENU_OPEN_TEXT_TO_TRANSLATE)));
        QTRY_COMPARE(box.count(), 1);
        QCOMPARE(m_form->sourcePane()->toPlainText(), QStringLiteral("kept"));
    }

    // The main window's copy and paste keys work on whichever edit box has
    // the focus: a pane or the phrase box.
    void copyAndPasteKeysReachTheFocusedBox() {
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QClipboard* clipboard = QGuiApplication::clipboard();
        m_form->sourcePane()->setPlainText(QStringLiteral("house"));
        m_form->sourcePane()->selectAll();
        m_form->sourcePane()->setFocus();
        clipboard->clear();
        QTest::keyClick(m_form->sourcePane(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("house"));
        m_form->targetPane()->setFocus();
        QTest::keyClick(m_form->targetPane(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(m_form->targetPane()->toPlainText(), QStringLiteral("house"));
        m_form->phraseBox()->setFocus();
        QTest::keyClick(m_form->phraseBox(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(m_form->phraseBox()->text(), QStringLiteral("house"));
        QCOMPARE(m_form->sourcePane()->toPlainText(), QStringLiteral("house"));
    }

private:
    DB_HANDLE m_db = nullptr;
    wordbay::ProgramSettings m_settings;
    std::unique_ptr<TextWindow> m_form;
};

QTEST_MAIN(TextWindowTest)
#include "text_window_test.moc"
