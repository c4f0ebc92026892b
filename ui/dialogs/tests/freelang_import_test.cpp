#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "ui/dialogs/dlg_freelang_import.h"
#include "ui/dialogs/tests/test_support.h"

using dialog_tests::BoxAnswer;

namespace {

std::vector<wordbay::FreelangEntry> installation() {
    std::vector<wordbay::FreelangEntry> entries;
    const struct {
        const char* shortName;
        const char* language;
        std::uint32_t charset;
    } rows[] = {{"Croatian", "croatian", 238}, {"French", "french", 0}, {"Klingon", "klingon", 7}};
    for (const auto& row : rows) {
        wordbay::FreelangEntry entry;
        entry.short_name = row.shortName;
        entry.language_name = row.language;
        entry.charset = row.charset;
        entry.source_path = std::string("/fl/language/") + row.shortName + "_English.wb";
        entries.push_back(entry);
    }
    return entries;
}

QTableWidget* listOf(const DlgFreelangImport& dialog) {
    return dialog.findChild<QTableWidget*>("freelangList");
}

std::vector<bool> chosen(const std::vector<wordbay::FreelangEntry>& entries) {
    std::vector<bool> flags;
    for (const auto& entry : entries) flags.push_back(entry.chosen);
    return flags;
}

}  // namespace

class FreelangImportTest : public QObject {
    Q_OBJECT

private slots:
    void rowsShowNameLanguageAndCharacterSet() {
        std::vector<wordbay::FreelangEntry> entries = installation();
        DlgFreelangImport dialog(DlgFreelangImport::Mode::kImport, entries);
        QTableWidget* list = listOf(dialog);
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(list->item(0, 0)->text(), QString("Croatian - English"));
        QCOMPARE(list->item(0, 1)->text(), QString("croatian"));
        QCOMPARE(list->item(0, 2)->text(), QString("EASTEUROPE"));
        QCOMPARE(list->item(1, 2)->text(), QString("ANSI"));
        QCOMPARE(list->item(2, 2)->text(), QString());  // not a known character set
        QCOMPARE(dialog.windowTitle(), QString("Import Freelang dictionaries"));
    }

    void importTakesEveryCheckedLanguage() {
        std::vector<wordbay::FreelangEntry> entries = installation();
        entries[1].chosen = true;  // from an earlier import: starts checked
        DlgFreelangImport dialog(DlgFreelangImport::Mode::kImport, entries);
        QTableWidget* list = listOf(dialog);
        QCOMPARE(list->item(1, 0)->checkState(), Qt::Checked);
        list->item(1, 0)->setCheckState(Qt::Unchecked);
        dialog.show();
        {
            // Nothing checked: refused, and the flags stay as they were.
            BoxAnswer answer(kIdOk);
            dialog.findChild<QPushButton*>("acceptButton")->click();
            QCOMPARE(answer.text(), QString("Select a Freelang dictionary !"));
            QCOMPARE(answer.caption(), QString("Error"));
        }
        QVERIFY(dialog.isVisible());
        QCOMPARE(chosen(entries), (std::vector<bool>{false, true, false}));
        // A selected row is not a checked one.
        list->selectRow(1);
        list->item(0, 0)->setCheckState(Qt::Checked);
        list->item(2, 0)->setCheckState(Qt::Checked);
        dialog.accept();
        QCOMPARE(dialog.result(), kIdOk);
        QCOMPARE(chosen(entries), (std::vector<bool>{true, false, true}));
    }

    void updateTakesTheOneSelectedLanguage() {
        std::vector<wordbay::FreelangEntry> entries = installation();
        DlgFreelangImport dialog(DlgFreelangImport::Mode::kUpdate, entries);
        QTableWidget* list = listOf(dialog);
        QCOMPARE(dialog.windowTitle(), QString("Update from a Freelang dictionary"));
        QVERIFY(!(list->item(0, 0)->flags() & Qt::ItemIsUserCheckable));
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        dialog.show();
        {
            BoxAnswer answer(kIdOk);
            dialog.accept();
            QCOMPARE(answer.text(), QString("Select a Freelang dictionary !"));
        }
        QVERIFY(dialog.isVisible());
        const QRect cell = list->visualItemRect(list->item(2, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(list->item(0, 1)).center());
        dialog.accept();
        QCOMPARE(dialog.result(), kIdOk);
        QCOMPARE(dialog.chosenPath(), std::string("/fl/language/Croatian_English.wb"));
        QCOMPARE(chosen(entries), (std::vector<bool>{false, false, false}));
    }
};

int runFreelangImportTests(int argc, char** argv) {
    FreelangImportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "freelang_import_test.moc"
