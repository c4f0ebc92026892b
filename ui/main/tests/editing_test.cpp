// Editing the dictionary in the main window: the commands of edit mode through
// their menus, questions and lists, and a whole round trip from a TAB text
// import through the dialogs to a fresh start of the built program.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTableWidget>
#include <QtTest>

#include "app/search_controller.h"
#include "platform/code_page.h"
#include "platform/locale.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_form.h"
#include "ui/main/search_edit.h"
#include "ui/main/tests/modal_script.h"
#include "ui/main/tests/program_folder.h"
#include "ui/main/tests/user_input.h"
#include "ui/main/tests/waits.h"
#include "ui/main/word_change_edit.h"
#include "ui/widgets/locale_list.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_message_box.h"

using wordbay::ListSide;
using wordbay::SlotId;
using wordbay::TextId;

namespace {

std::vector<std::pair<std::string, std::string>> editPairs() {
    std::vector<std::pair<std::string, std::string>> pairs = housePairs();
    pairs.insert(pairs.begin() + 2, {"house", "zgrada"});
    return pairs;
}

QStringList rows(const WListBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
}

// The translations of `word` in a V03 file, read with an engine handle of
// their own.
QStringList savedTranslations(const std::string& path, const char* word) {
    DB_HANDLE db = DB_CreateHandle()->handle;
    QStringList found;
    if (DB_Load(db, DB_FORMAT_V03_LOAD, path.c_str(), 0, 0)->status != 0) {
        const char* items[16] = {};
        const DB_RESULT* r = DB_Translate(db, DB_TRANS_PRIMARY_TO_SECONDARY, word, 1, 0, items, 16);
        const std::uint32_t croatian = platform::CodePageOf(1050);
        for (int i = 0; r->status != 0 && i < r->count; ++i)
            found << QString::fromStdString(platform::DecodeToUtf8(croatian, items[i]));
    }
    DB_DestroyHandle(db);
    return found;
}

}  // namespace

class EditingTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_folder = std::make_unique<ProgramFolder>(editPairs());
        QVERIFY(m_folder->ok());
        m_form = m_folder->openWindow();
        QVERIFY(m_form != nullptr);
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_EDIT));
        QVERIFY(m_form->editMode());
        m_pane = m_form->pane(SlotId::kMain);
    }

    void cleanup() {
        m_form.reset();
        m_folder.reset();
    }

    void addingAnExistingTranslationIsReported() {
        chooseWord("house");
        QCOMPARE(rows(list(ListSide::kSecondary)), (QStringList{"kuća", "dom", "zgrada"}));
        edit(ListSide::kSecondary)->setText(QStringLiteral("dom"));
        ModalScript flow({press(kIdYes), press(kIdOk)});
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_ADD_WORD));
        QTRY_VERIFY(flow.done());
        QCOMPARE(flow.texts().value(1), QStringLiteral("Translation already exists !"));
        QCOMPARE(list(ListSide::kSecondary)->count(), 3);

        // A new one joins the list.
        edit(ListSide::kSecondary)->setText(QStringLiteral("kućica"));
        ModalScript added({press(kIdYes), press(kIdOk)});
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_ADD_WORD));
        QTRY_VERIFY(added.done());
        QVERIFY(added.texts().value(0).contains(QStringLiteral("house <--> kućica")));
        QCOMPARE(added.texts().value(1), QStringLiteral("Translation added."));
        QCOMPARE(rows(list(ListSide::kSecondary)),
                 (QStringList{"kuća", "dom", "zgrada", "kućica"}));
    }

    void deletingTheLastTranslationOffersTheWord() {
        chooseWord("tree");
        list(ListSide::kSecondary)->setFocus();
        QTest::keyClick(list(ListSide::kSecondary), Qt::Key_Home);
        QCOMPARE(list(ListSide::kSecondary)->curSel(), 0);
        ModalScript translation({press(kIdYes), press(kIdOk)});
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_DELETE_WORD));
        QTRY_VERIFY(translation.done());
        QCOMPARE(translation.texts().value(1), QStringLiteral("Translation deleted."));
        QCOMPARE(list(ListSide::kSecondary)->count(), 0);

        ModalScript word({press(kIdYes), press(kIdOk)});
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_DELETE_WORD));
        QTRY_VERIFY(word.done());
        QCOMPARE(word.texts().value(0),
                 QStringLiteral("Do you want to delete this word ?\n\n[English]\n\n--> tree"));
        QCOMPARE(word.texts().value(1), QStringLiteral("Word deleted."));
        QCOMPARE(list(ListSide::kPrimary)->count(), 0);
    }

    void aWordIsChangedInItsOwnBox() {
        chooseWord("mouse");
        WListBox* words = list(ListSide::kPrimary);
        words->setFocus();
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_CHANGE_WORD));
        auto* box = words->findChild<WordChangeEdit*>();
        QVERIFY(box != nullptr && box->isVisible());
        QCOMPARE(box->text(), QStringLiteral("mouse"));
        QCOMPARE(box->geometry(), words->viewport()->geometry());
        QVERIFY(box->hasFocus());

        // Leaving the box changes nothing.
        edit(ListSide::kPrimary)->setFocus();
        QVERIFY(!box->isVisible());
        QCOMPARE(words->itemText(0), QStringLiteral("mouse"));

        words->setFocus();
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_CHANGE_WORD));
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("mice"));
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!box->isVisible());
        QCOMPARE(words->itemText(0), QStringLiteral("mice"));
        const char* found[4] = {};
        DB_HANDLE db = m_form->controller()->slot(SlotId::kMain).handle();
        QCOMPARE(DB_Translate(db, DB_TRANS_PRIMARY_TO_SECONDARY, "mice", 1, 0, found, 4)->count, 1);
    }

    void draggingReordersTheTranslationsAndTheSaveKeepsThem() {
        chooseWord("house");
        WListBox* translations = list(ListSide::kSecondary);
        QVERIFY(translations->dragMode());
        QVERIFY(!list(ListSide::kPrimary)->dragMode());
        QWidget* rowsArea = translations->viewport();
        QTest::mousePress(rowsArea, Qt::LeftButton, {}, translations->rowRect(2).center());
        QTest::mouseMove(rowsArea, translations->rowRect(1).center());
        QTest::mouseMove(rowsArea, translations->rowRect(0).center());
        QTest::mouseRelease(rowsArea, Qt::LeftButton, {}, translations->rowRect(0).center());
        QCOMPARE(rows(translations), (QStringList{"zgrada", "kuća", "dom"}));
        QCOMPARE(translations->curSel(), 0);

        ModalScript saved({press(kIdOk)});
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_SAVE));
        QTRY_VERIFY_WITH_TIMEOUT(saved.done(), 10000);
        QTRY_VERIFY(!m_form->controller()->busy());
        const std::string file = m_folder->paths().database_dir + "/English_Croatian.v03";
        QCOMPARE(savedTranslations(file, "house"), (QStringList{"zgrada", "kuća", "dom"}));
    }

    // A TAB text file imported through the dialogs, opened, edited and saved;
    // the built program (its test build), started afresh on the folder,
    // shows the edits.
    void anImportedDictionaryKeepsItsEditsAcrossAStart() {
        const QString program =
            QString::fromStdString(m_folder->paths().program_dir) + QStringLiteral("/wordbay-test");
        QVERIFY(QFile::copy(QStringLiteral(WORDBAY_BIN_DIR "/wordbay-test"), program));
        const QString text =
            QString::fromStdString(m_folder->paths().program_dir) + QStringLiteral("/pets.txt");
        QFile pets(text);
        QVERIFY(pets.open(QIODevice::WriteOnly));
        pets.write("cat\tKatze\r\ncat\tKater\r\ndog\tHund\r\n");
        pets.close();

        ModalScript import({
            accept(
                [](QWidget* w) { selectRowWith(w, "formatList", QStringLiteral("TXT database")); }),
            typeFileName(text),
            accept([](QWidget* w) {
                w->findChild<QLineEdit*>(QStringLiteral("primaryNameEdit"))->setText("English");
                w->findChild<QLineEdit*>(QStringLiteral("secondaryNameEdit"))->setText("German");
                w->findChild<QLineEdit*>(QStringLiteral("dictionaryNameEdit"))->setText("Pets");
                w->findChild<QComboBox*>(QStringLiteral("primaryLocaleBox"))
                    ->setCurrentIndex(LocaleList::instance().indexOf(1033));
                w->findChild<QComboBox*>(QStringLiteral("secondaryLocaleBox"))
                    ->setCurrentIndex(LocaleList::instance().indexOf(1031));
            }),
            press(kIdOk),
        });
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_IMPORT));
        QTRY_VERIFY_WITH_TIMEOUT(import.done(), 20000);
        QTRY_VERIFY(!m_form->controller()->busy());
        QVERIFY(import.texts().value(0).contains(QStringLiteral("imported")));

        ModalScript change({accept([](QWidget* w) {
            selectRowWith(w, "dictionaryList", QStringLiteral("English_German.v03"));
        })});
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_CHANGE));
        QTRY_VERIFY(change.done());
        QTRY_COMPARE(m_form->controller()->slot(SlotId::kMain).file_name(),
                     std::string("English_German.v03"));
        QTRY_VERIFY(!m_form->controller()->busy());

        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_EDIT));
        QVERIFY(m_form->editMode());
        chooseWord("cat");
        edit(ListSide::kSecondary)->setText(QStringLiteral("Mieze"));
        ModalScript add({press(kIdYes), press(kIdOk)});
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_ADD_WORD));
        QTRY_VERIFY(add.done());

        chooseWord("dog");
        focus(list(ListSide::kPrimary));
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_CHANGE_WORD));
        auto* box = list(ListSide::kPrimary)->findChild<WordChangeEdit*>();
        QVERIFY(box != nullptr);
        box->setText(QStringLiteral("hound"));
        QTest::keyClick(box, Qt::Key_Return);

        ModalScript saved({press(kIdOk)});
        QVERIFY(chooseMenuItem(m_form.get(), TextId::MENU_SAVE));
        QTRY_VERIFY_WITH_TIMEOUT(saved.done(), 10000);
        QTRY_VERIFY(!m_form->controller()->busy());
        m_form->close();
        QTRY_VERIFY(!m_form->isVisible());
        m_form.reset();
        QCOMPARE(m_folder->setting("dictionary", "current"), QStringLiteral("English_German.v03"));

        QCOMPARE(startAndReport(program, QStringLiteral("cat")),
                 (QStringList{"Katze", "Kater", "Mieze"}));
        QCOMPARE(startAndReport(program, QStringLiteral("hound")), (QStringList{"Hund"}));
        // The old spelling is gone from the file.
        const std::string file = m_folder->paths().database_dir + "/English_German.v03";
        QCOMPARE(savedTranslations(file, "hound"), QStringList{"Hund"});
        QCOMPARE(savedTranslations(file, "dog"), QStringList());
    }

private:
    // Starts the built program on the test's folder; it types `word`, waits
    // for the translations and reports them (after the window title).
    QStringList startAndReport(const QString& program, const QString& word) {
        const QString report =
            QString::fromStdString(m_folder->paths().program_dir) + QStringLiteral("/report.txt");
        QFile::remove(report);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("WORDBAY_INSTANCE"),
                   QStringLiteral("wordbay-editing-%1").arg(QCoreApplication::applicationPid()));
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(program, {QStringLiteral("--report-translation"), word, report});
        if (!run.waitForFinished(60000)) {
            run.kill();
            return {QStringLiteral("(the program did not end)")};
        }
        QFile file(report);
        if (!file.open(QIODevice::ReadOnly)) return {QStringLiteral("(no report)")};
        QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        lines.removeFirst();  // the window title
        lines.removeAll(QString());
        return lines;
    }

    // Gives `widget` the focus, bringing the window back to the front first:
    // a message box takes the activation with it when it closes.
    void focus(QWidget* widget) {
        m_form->activateWindow();
        QTRY_VERIFY(m_form->isActiveWindow());
        widget->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), widget);
    }

    SearchEdit* edit(ListSide side) const { return m_pane->edit(side); }
    WListBox* list(ListSide side) const { return m_pane->list(side); }

    // Types a word into the primary box and selects it in its list, which
    // shows its translations.
    void chooseWord(const QString& word) {
        edit(ListSide::kPrimary)->clear();
        QTest::keyClicks(edit(ListSide::kPrimary), word);
        QTRY_VERIFY(list(ListSide::kPrimary)->count() > 0);
        QTRY_VERIFY(!m_form->controller()->busy());
        QTest::keyClick(edit(ListSide::kPrimary), Qt::Key_Down);
        QTRY_VERIFY(list(ListSide::kSecondary)->count() > 0);
        QTRY_VERIFY(!m_form->controller()->busy());
    }

    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<MainForm> m_form;
    DictionaryPane* m_pane = nullptr;
};

int runEditingTests(int argc, char** argv) {
    EditingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "editing_test.moc"
