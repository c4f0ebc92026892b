#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include "ui/settings/charmap_form.h"
#include "ui/widgets/tests/user_input.h"

namespace {

// A window of the program with a search edit box and a box of another kind.
struct EditWindow {
    QWidget window;
    QLineEdit* search = new QLineEdit(&window);
    QLineEdit* other = new QLineEdit(&window);
    QPlainTextEdit* pane = new QPlainTextEdit(&window);

    EditWindow() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(search);
        layout->addWidget(other);
        layout->addWidget(pane);
        window.show();
        window.activateWindow();
    }
};

QPushButton* listButton(CharmapForm& map, int id) {
    return map.findChild<QPushButton*>(QStringLiteral("item%1").arg(id));
}

}  // namespace

class CharmapTest : public QObject {
    Q_OBJECT

    // Gives `edit` the focus, then turns to the map.
    void typeIn(EditWindow& w, QWidget* edit, CharmapForm& map) {
        w.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        map.show();
        map.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&map));
    }

private slots:
    void aCharacterGoesToTheRememberedEditBoxInTheListsCodePage() {
        EditWindow w;
        CharmapForm map;
        QCOMPARE(map.objectName(), QString("TQ_TALLIS_CHARMAP"));
        map.setEditFilter([&](QWidget* edit) { return edit == w.search || edit == w.pane; });
        map.setListCharsets(238, 0);
        w.search->setText("ab");
        typeIn(w, w.search, map);
        QVERIFY(user_input::clickButton(&map, "Primary"));
        QCOMPARE(map.charset(), 238u);
        QCOMPARE(map.findChild<QComboBox*>("item7002")->currentText(), QString("EASTEUROPE"));
        w.search->setCursorPosition(0);
        QVERIFY(user_input::clickButton(map.charButton(0xE8)));
        QCOMPARE(w.search->text(), QString::fromUtf8("abč"));
        QCOMPARE(w.search->cursorPosition(), 3);

        typeIn(w, w.pane, map);
        QVERIFY(user_input::clickButton(map.charButton(0x9A)));  // š
        QCOMPARE(w.pane->toPlainText(), QString::fromUtf8("š"));
    }

    void anyOtherWindowSendsTheCharacterToTheSearchBox() {
        EditWindow w;
        CharmapForm map;
        map.setEditFilter([&](QWidget* edit) { return edit == w.search; });
        map.setFallbackEdit([&]() -> QWidget* { return w.search; });
        typeIn(w, w.other, map);
        QVERIFY(user_input::clickButton(map.charButton('A')));
        QCOMPARE(w.other->text(), QString());
        QCOMPARE(w.search->text(), QString("A"));
    }

    void theChoiceTicksTheListWhoseSetItIs() {
        CharmapForm map;
        map.setListCharsets(238, 204);
        auto* choice = map.findChild<QComboBox*>("item7002");
        QCOMPARE(choice->count(), 21);
        emit choice->activated(choice->findText("RUSSIAN"));
        QVERIFY(!listButton(map, CharmapForm::kPrimary)->isChecked());
        QVERIFY(listButton(map, CharmapForm::kSecondary)->isChecked());
        QCOMPARE(map.charButton(0xC0)->text(), QString::fromUtf8("А"));  // Cyrillic A
        emit choice->activated(choice->findText("GREEK"));
        QVERIFY(!listButton(map, CharmapForm::kPrimary)->isChecked());
        QVERIFY(!listButton(map, CharmapForm::kSecondary)->isChecked());
        // A list whose set the choice lacks shows ANSI.
        map.setListCharsets(99, 204);
        QVERIFY(user_input::clickButton(&map, "Primary"));
        QCOMPARE(map.charset(), 0u);
        QCOMPARE(choice->currentText(), QString("ANSI"));
    }

    void undefinedBytesInsertNothing() {
        EditWindow w;
        CharmapForm map;
        map.setFallbackEdit([&]() -> QWidget* { return w.search; });
        map.showCharset(0);
        // A control character in 1252: its button is disabled, and a click
        // that reached it all the same would insert nothing either.
        QVERIFY(!user_input::clickButton(map.charButton(0x81)));
        map.charButton(0x81)->setEnabled(true);
        QVERIFY(user_input::clickButton(map.charButton(0x81)));
        map.showCharset(128);  // 0x81 leads a two-byte character in 932
        QVERIFY(!user_input::clickButton(map.charButton(0x81)));
        map.charButton(0x81)->setEnabled(true);
        QVERIFY(user_input::clickButton(map.charButton(0x81)));
        QCOMPARE(w.search->text(), QString());
        QVERIFY(user_input::clickButton(map.charButton(0xB1)));  // a half-width katakana
        QCOMPARE(w.search->text(), QString::fromUtf8("ｱ"));
        QCOMPARE(map.charButton('&')->text(), QString("&&"));
    }

    void aUtf8ListOffersItsLanguagesLettersAndEveryBlock() {
        EditWindow w;
        CharmapForm map;
        map.setFallbackEdit([&]() -> QWidget* { return w.search; });
        map.setListLocales(1033, 1081);  // English, Hindi
        map.setListCharsets(0, CharmapForm::kUtf8Charset);
        auto* blocks = map.findChild<QComboBox*>("blockChoice");
        QVERIFY(blocks->isHidden());
        QVERIFY(user_input::clickButton(&map, "Secondary"));
        QCOMPARE(map.charset(), CharmapForm::kUtf8Charset);
        QCOMPARE(map.findChild<QComboBox*>("item7002")->currentText(), QString("UTF-8"));
        QVERIFY(!blocks->isHidden());
        QCOMPARE(blocks->currentIndex(), 0);
        QVERIFY(blocks->currentText().contains("Hindi"));
        // The Devanagari letters: a consonant, and a vowel sign that shows on
        // a dotted circle but goes into the box alone.
        int ka = 0;
        int signI = 0;
        for (int code = CharmapForm::kFirstChar; code < 256; ++code) {
            if (map.unicodeChar(code) == U'\u0915') ka = code;
            if (map.unicodeChar(code) == U'\u093F') signI = code;
        }
        QVERIFY(ka != 0 && signI != 0);
        QCOMPARE(map.charButton(signI)->text(), QString::fromUtf8("\u25CC\u093F"));
        QVERIFY(user_input::clickButton(map.charButton(ka)));
        QVERIFY(user_input::clickButton(map.charButton(signI)));
        QCOMPARE(w.search->text(), QString::fromUtf8("\u0915\u093F"));
        // An 8-bit list's byte buttons come back as they were.
        QVERIFY(user_input::clickButton(&map, "Primary"));
        QVERIFY(blocks->isHidden());
        QCOMPARE(map.unicodeChar(ka), char32_t(0));
        QCOMPARE(map.charButton('A')->text(), QString("A"));
    }

    void aLargeBlockIsShownAPageAtATime() {
        EditWindow w;
        CharmapForm map;
        map.setFallbackEdit([&]() -> QWidget* { return w.search; });
        map.showCharset(CharmapForm::kUtf8Charset);
        auto* blocks = map.findChild<QComboBox*>("blockChoice");
        const int cjk = blocks->findText("CJK Unified Ideographs");
        QVERIFY(cjk > 0);
        emit blocks->activated(cjk);
        QCOMPARE(map.unicodeChar(CharmapForm::kFirstChar), U'\u4E00');
        auto* previous = listButton(map, CharmapForm::kPreviousPage);
        auto* next = listButton(map, CharmapForm::kNextPage);
        QVERIFY(!previous->isEnabled());
        QVERIFY(user_input::clickButton(next));
        QCOMPARE(map.unicodeChar(CharmapForm::kFirstChar),
                 char32_t(0x4E00 + CharmapForm::kCharCount));
        QVERIFY(previous->isEnabled());
        // A character beyond the first plane goes in as one character.
        emit blocks->activated(blocks->findText("Gothic"));
        QVERIFY(!next->isEnabled());
        QVERIFY(user_input::clickButton(map.charButton(CharmapForm::kFirstChar)));
        QCOMPARE(w.search->text().toUcs4(), QList<uint>{0x10330});
        // A block shorter than a page leaves the rest of the buttons empty.
        QVERIFY(!map.charButton(255)->isEnabled());
    }

    void closingHidesTheMapAndActivatesTheMainWindow() {
        CharmapForm map;
        int activated = 0;
        map.setActivateMain([&] { ++activated; });
        map.show();
        map.close();
        QVERIFY(!map.isVisible());
        QCOMPARE(activated, 1);
        map.show();
        QVERIFY(map.isVisible());
    }
};

int runCharmapTests(int argc, char** argv) {
    CharmapTest suite;
    return QTest::qExec(&suite, argc, argv);
}

#include "charmap_test.moc"
