// The text translation window driven through its menu, keys and buttons,
// over a small English-German dictionary.
#include "ui/text/text_window.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "engine/lexbase.h"
#include "ui/widgets/tests/user_input.h"
#include "ui/widgets/ui_text.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_list_box.h"

using wordbay::TextId;

class TextWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        m_db = DB_CreateHandle()->handle;
        QVERIFY(DB_CreateNewDictionary(m_db, 1033, 1031)->status != 0);
        for (const auto& [en, de] : {std::pair{"good morning", "guten Morgen"},
                                     std::pair{"sir", "Herr"}, std::pair{"house", "Haus"}}) {
            QVERIFY(DB_AddTranslation(m_db, DB_TRANS_PRIMARY_TO_SECONDARY, en, de)->status != 0);
        }
    }
    void cleanupTestCase() { DB_DestroyHandle(m_db); }

    void init() {
        m_settings = wordbay::ProgramSettings();
        m_settings.search_depth = 3;
        m_form = std::make_unique<Main1Form>(&m_settings);
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

private:
    DB_HANDLE m_db = nullptr;
    wordbay::ProgramSettings m_settings;
    std::unique_ptr<Main1Form> m_form;
};

QTEST_MAIN(TextWindowTest)
#include "text_window_test.moc"
