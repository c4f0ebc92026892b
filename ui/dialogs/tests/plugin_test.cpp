#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "ui/dialogs/dlg_plugin.h"
#include "ui/dialogs/tests/test_support.h"

using dialog_tests::BoxAnswer;

namespace {

QStringList column(const QTableWidget* list, int column) {
    QStringList cells;
    for (int row = 0; row < list->rowCount(); ++row) cells.append(list->item(row, column)->text());
    return cells;
}

QList<int> codes(const DlgPlugin& dialog) {
    QList<int> result;
    for (const DB_FORMAT_RECORD& format : dialog.formats()) result.append(format.format);
    return result;
}

}  // namespace

class PluginTest : public QObject {
    Q_OBJECT

private slots:
    void importListsTheLoadFormatsSortedByName() {
        DlgPlugin dialog(DlgPlugin::Mode::kImport, DB_HANDLE(nullptr));
        auto* list = dialog.findChild<QTableWidget*>("formatList");
        QCOMPARE(column(list, 0),
                 (QStringList{"Freelang database directory", "Freelang single database",
                              "KX_VER2 database", "KX_VER3 database", "StarDict dictionary",
                              "TXT database", "dictd database"}));
        QCOMPARE(codes(dialog), (QList<int>{4, 3, 2, 1, 101, 5, 102}));
        QCOMPARE(column(list, 1), (QStringList{"", "wb", "v02", "v03", "ifo", "txt", "index"}));
        QCOMPARE(list->item(0, 4)->text(), QString("1.0"));
        QCOMPARE(dialog.windowTitle(), QString("Import dictionary"));
        QVERIFY(dialog.findChild<QPushButton*>("acceptButton")->isEnabled());
    }

    void acceptNeedsAChosenFormat() {
        DlgPlugin dialog(DlgPlugin::Mode::kImport, DB_HANDLE(nullptr));
        dialog.show();
        auto* accept = dialog.findChild<QPushButton*>("acceptButton");
        {
            BoxAnswer answer(kIdOk);
            accept->click();
            QCOMPARE(answer.text(), QString("Select the dictionary format"));
            QCOMPARE(answer.caption(), QString("Error"));
        }
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);

        auto* list = dialog.findChild<QTableWidget*>("formatList");
        const QRect cell = list->visualItemRect(list->item(0, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        accept->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), kIdOk);
        QCOMPARE(dialog.formatCode(), 4);
        QCOMPARE(dialog.formatName(), QString("Freelang database directory"));
        QVERIFY(dialog.namesFolder());
        QVERIFY(dialog.extension().isEmpty());
    }

    void theTextFormatAsksForADescription() {
        DlgPlugin dialog(DlgPlugin::Mode::kImport, DB_HANDLE(nullptr));
        auto* list = dialog.findChild<QTableWidget*>("formatList");
        list->selectRow(5);
        dialog.accept();
        QCOMPARE(dialog.result(), kIdOk);
        QCOMPARE(dialog.formatCode(), 5);
        QCOMPARE(dialog.extension(), QString("txt"));
        QVERIFY(dialog.asksForDescription());
        QVERIFY(!dialog.namesFolder());
    }

    // StarDict and dictd: imported and exported beside the engine's formats,
    // never merged by an update.
    void theTravellingFormatsAreOfferedForImportAndExport() {
        DlgPlugin exporting(DlgPlugin::Mode::kExport, DB_HANDLE(nullptr));
        QCOMPARE(codes(exporting), (QList<int>{7, 6, 111, 8, 112}));
        auto* list = exporting.findChild<QTableWidget*>("formatList");
        list->selectRow(4);
        exporting.accept();
        QCOMPARE(exporting.formatName(), QString("dictd database"));
        QCOMPARE(exporting.extension(), QString("index"));
        QVERIFY(!exporting.asksForDescription());

        DlgPlugin updating(DlgPlugin::Mode::kUpdate, DB_HANDLE(nullptr));
        QCOMPARE(codes(updating), (QList<int>{4, 3, 2, 1, 5}));
    }

    void anEmptyListKeepsAcceptDisabled() {
        DlgPlugin dialog(DlgPlugin::Mode::kImport, std::vector<DB_FORMAT_RECORD>{});
        dialog.show();
        QVERIFY(!dialog.findChild<QPushButton*>("acceptButton")->isEnabled());
        // Enter and a direct accept do nothing either.
        QTest::keyClick(&dialog, Qt::Key_Return);
        dialog.accept();
        QVERIFY(dialog.isVisible());
        dialog.reject();
        QCOMPARE(dialog.result(), kIdCancel);
    }

    void helpAsksForTheTopicOfTheMode() {
        DlgPlugin dialog(DlgPlugin::Mode::kExport, DB_HANDLE(nullptr));
        QSignalSpy help(&dialog, &DlgPlugin::helpRequested);
        dialog.findChild<QPushButton*>("helpButton")->click();
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.at(0).at(0).toString(), QString("export"));
    }
};

int runPluginTests(int argc, char** argv) {
    PluginTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "plugin_test.moc"
