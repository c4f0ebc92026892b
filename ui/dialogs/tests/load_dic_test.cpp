#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/catalogue.h"
#include "ui/dialogs/dlg_load_dic.h"
#include "ui/dialogs/tests/test_support.h"

using dialog_tests::BoxAnswer;
using dialog_tests::column;
using dialog_tests::selected;

class LoadDicTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::string m_folder;
    std::unique_ptr<wordbay::Catalogue> m_catalogue;

    std::string path(const char* name) const { return m_folder + "/" + name; }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_folder = QFile::encodeName(m_dir->path()).toStdString();
        m_catalogue = std::make_unique<wordbay::Catalogue>();
        // Written out of order: the catalogue sorts by list names.
        QVERIFY(dialog_tests::saveDictionary(path("English_German.v03"), "English", "German",
                                             {{"house", "Haus"}, {"dog", "Hund"}}));
        QVERIFY(dialog_tests::saveDictionary(path("Albanian_English.v03"), "Albanian", "English",
                                             {{"shtepi", "house"}}));
        QVERIFY(dialog_tests::saveDictionary(path("English_Croatian.v03"), "English", "Croatian",
                                             {{"house", "kuca"}, {"house", "dom"}}));
        QCOMPARE(m_catalogue->Scan(m_folder, nullptr), std::size_t(3));
    }

    void cleanup() {
        m_catalogue.reset();
        m_dir.reset();
    }

    void rowsFollowTheCatalogueWithTheMainDictionarySelected() {
        DlgLoadDic dialog(DlgLoadDic::Mode::kChange, *m_catalogue, path("English_German.v03"));
        auto* list = dialog.findChild<QTableWidget*>("dictionaryList");
        QCOMPARE(column(list, 0),
                 (QStringList{"Albanian - English", "English - Croatian", "English - German"}));
        QCOMPARE(column(list, 1), (QStringList{"Tester", "Tester", "Tester"}));
        // Both lists' words: one word and two translations, and so on.
        QCOMPARE(column(list, 3), (QStringList{"2", "3", "4"}));
        QCOMPARE(column(list, 4), (QStringList{"Albanian_English.v03", "English_Croatian.v03",
                                               "English_German.v03"}));
        QCOMPARE(selected(list), 2);
        QCOMPARE(dialog.windowTitle(), QString("Change dictionary"));

        dialog.show();
        dialog.findChild<QPushButton*>("acceptButton")->click();
        QCOMPARE(dialog.result(), kIdOk);
        QCOMPARE(dialog.chosenPath(), path("English_German.v03"));
    }

    void aPathOnlyAlikeSelectsNothingAndAcceptAsksForAChoice() {
        // The comparison is exact: another spelling of the same file is not it.
        DlgLoadDic dialog(DlgLoadDic::Mode::kUpdate, *m_catalogue,
                          m_folder + "//English_German.v03");
        auto* list = dialog.findChild<QTableWidget*>("dictionaryList");
        QCOMPARE(selected(list), -1);
        QCOMPARE(dialog.findChild<QPushButton*>("acceptButton")->text(), QString("Update"));
        dialog.show();
        {
            BoxAnswer answer(kIdOk);
            dialog.accept();
            QCOMPARE(answer.text(), QString("Select a dictionary !"));
            QCOMPARE(answer.caption(), QString("Error"));
        }
        QVERIFY(dialog.isVisible());
        list->selectRow(1);
        dialog.accept();
        QCOMPARE(dialog.result(), kIdOk);
        QCOMPARE(dialog.chosenPath(), path("English_Croatian.v03"));
    }

    void deleteRemovesTheFileItsSettingsAndTheEntry() {
        const std::string victim = path("English_Croatian.v03");
        QFile settings(QString::fromStdString(victim + ".ini"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.close();

        DlgLoadDic dialog(DlgLoadDic::Mode::kChange, *m_catalogue, victim);
        auto* list = dialog.findChild<QTableWidget*>("dictionaryList");
        auto* remove = dialog.findChild<QPushButton*>("deleteButton");
        dialog.show();
        {
            // No keeps everything.
            BoxAnswer answer(kIdNo);
            remove->click();
            QCOMPARE(answer.text(),
                     QString("Do you want to delete this dictionary ?\n\nEnglish - Croatian"));
            QCOMPARE(answer.caption(), QString("Delete dictionary ?"));
        }
        QVERIFY(QFile::exists(QString::fromStdString(victim)));
        QCOMPARE(list->rowCount(), 3);
        {
            BoxAnswer answer(kIdYes);
            remove->click();
            QCOMPARE(answer.count(), 1);
        }
        QVERIFY(!QFile::exists(QString::fromStdString(victim)));
        QVERIFY(!settings.exists());
        QVERIFY(dialog.isVisible());
        QCOMPARE(column(list, 0), (QStringList{"Albanian - English", "English - German"}));
        QCOMPARE(m_catalogue->size(), std::size_t(2));
        QVERIFY(!m_catalogue->IsInCatalogue(victim));
        QCOMPARE(dialog.deletedPaths(), std::vector<std::string>{victim});

        // The rows left still choose their own files.
        list->selectRow(1);
        dialog.accept();
        QCOMPARE(dialog.chosenPath(), path("English_German.v03"));
    }

    void aFileThatCannotBeDeletedStaysListed() {
        DlgLoadDic dialog(DlgLoadDic::Mode::kChange, *m_catalogue, path("Albanian_English.v03"));
        auto* list = dialog.findChild<QTableWidget*>("dictionaryList");
        dialog.show();
        // Gone behind the dialog's back: deleting it fails.
        QVERIFY(QFile::remove(QString::fromStdString(path("Albanian_English.v03"))));
        BoxAnswer answers({kIdYes, kIdOk});
        dialog.findChild<QPushButton*>("deleteButton")->click();
        QCOMPARE(answers.count(), 2);
        QCOMPARE(answers.caption(), QString("Error"));
        QCOMPARE(answers.text(),
                 "Can't delete file !\n\n" + QString::fromStdString(path("Albanian_English.v03")));
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(m_catalogue->size(), std::size_t(3));
    }

    void deleteWithoutASelectionAsksForOne() {
        DlgLoadDic dialog(DlgLoadDic::Mode::kChange, *m_catalogue, std::string());
        dialog.show();
        BoxAnswer answer(kIdOk);
        dialog.findChild<QPushButton*>("deleteButton")->click();
        QCOMPARE(answer.text(), QString("Select a dictionary !"));
        QCOMPARE(m_catalogue->size(), std::size_t(3));
    }
};

int runLoadDicTests(int argc, char** argv) {
    LoadDicTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "load_dic_test.moc"
