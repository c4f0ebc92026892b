#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include "ui/settings/charmap_form.h"

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
        listButton(map, CharmapForm::kPrimary)->click();
        QCOMPARE(map.charset(), 238u);
        QCOMPARE(map.findChild<QComboBox*>("item7002")->currentText(), QString("EASTEUROPE"));
        w.search->setCursorPosition(0);
        map.charButton(0xE8)->click();
        QCOMPARE(w.search->text(), QString::fromUtf8("abč"));
        QCOMPARE(w.search->cursorPosition(), 3);

        typeIn(w, w.pane, map);
        map.charButton(0x9A)->click();  // š
        QCOMPARE(w.pane->toPlainText(), QString::fromUtf8("š"));
    }

    void anyOtherWindowSendsTheCharacterToTheSearchBox() {
        EditWindow w;
        CharmapForm map;
        map.setEditFilter([&](QWidget* edit) { return edit == w.search; });
        map.setFallbackEdit([&]() -> QWidget* { return w.search; });
        typeIn(w, w.other, map);
        map.charButton('A')->click();
        QCOMPARE(w.other->text(), QString());
        QCOMPARE(w.search->text(), QString("A"));
    }

    void theChoiceTicksTheListWhoseSetItIs() {
        CharmapForm map;
        map.setListCharsets(238, 204);
        auto* choice = map.findChild<QComboBox*>("item7002");
        QCOMPARE(choice->count(), 20);
        emit choice->activated(choice->findText("RUSSIAN"));
        QVERIFY(!listButton(map, CharmapForm::kPrimary)->isChecked());
        QVERIFY(listButton(map, CharmapForm::kSecondary)->isChecked());
        QCOMPARE(map.charButton(0xC0)->text(), QString::fromUtf8("А"));  // Cyrillic A
        emit choice->activated(choice->findText("GREEK"));
        QVERIFY(!listButton(map, CharmapForm::kPrimary)->isChecked());
        QVERIFY(!listButton(map, CharmapForm::kSecondary)->isChecked());
        // A list whose set the choice lacks shows ANSI.
        map.setListCharsets(99, 204);
        listButton(map, CharmapForm::kPrimary)->click();
        QCOMPARE(map.charset(), 0u);
        QCOMPARE(choice->currentText(), QString("ANSI"));
    }

    void undefinedBytesInsertNothing() {
        EditWindow w;
        CharmapForm map;
        map.setFallbackEdit([&]() -> QWidget* { return w.search; });
        map.showCharset(0);
        QVERIFY(!map.charButton(0x81)->isEnabled());  // a control character in 1252
        map.command(kButtonClicked, 0x81, nullptr, 0);
        map.showCharset(128);  // 0x81 leads a two-byte character in 932
        QVERIFY(!map.charButton(0x81)->isEnabled());
        map.command(kButtonClicked, 0x81, nullptr, 0);
        QCOMPARE(w.search->text(), QString());
        map.command(kButtonClicked, 0xB1, nullptr, 0);  // a half-width katakana
        QCOMPARE(w.search->text(), QString::fromUtf8("ｱ"));
        QCOMPARE(map.charButton('&')->text(), QString("&&"));
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
