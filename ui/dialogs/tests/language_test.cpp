#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/message_table.h"
#include "ui/dialogs/dlg_language.h"
#include "ui/dialogs/tests/test_support.h"

using dialog_tests::BoxAnswer;
using dialog_tests::column;
using dialog_tests::selected;
using wordbay::TextId;

class LanguageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::string m_folder;
    QList<QUrl> m_opened;
    bool m_openSucceeds = true;
    QString m_savePath;

    void write(const char* name, const QByteArray& text) {
        QFile file(QString::fromStdString(m_folder) + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_folder = QFile::encodeName(m_dir->path()).toStdString() + "/language";
        QVERIFY(QDir().mkpath(QString::fromStdString(m_folder)));
        write("hr.txt",
              "LNG_ID_VER = \"KX_5\"\nLANGUAGE = \"Hrvatski\"\nAUTHOR = \"Ana\"\n"
              "DESCRIPTION = \"Croatian texts\"\nVERSION = \"2.1\"\n"
              "MENU_EXIT = \"&Izlaz\"\n");
        write("de.txt", "LNG_ID_VER = \"KX_5\"\nLANGUAGE = \"Deutsch\"\n");
        // Not language files: left out of the list.
        write("notes.txt", "LNG_ID_VER = \"KX_50\"\nLANGUAGE = \"Nope\"\n");
        write("readme.md", "LNG_ID_VER = \"KX_5\"\n");
        m_opened.clear();
        m_openSucceeds = true;
        m_savePath.clear();
        DlgLanguage::setUrlOpener([this](const QUrl& url) {
            m_opened.append(url);
            return m_openSucceeds;
        });
        DlgLanguage::setSavePathChooser([this](QWidget*, const QString& proposed) {
            return m_savePath.isNull() ? proposed : m_savePath;
        });
    }

    void cleanup() {
        wordbay::Messages().LoadInternalEnglish();
        DlgLanguage::setUrlOpener(nullptr);
        DlgLanguage::setSavePathChooser(nullptr);
        m_dir.reset();
    }

    // The list: five columns of the given widths, internal English first,
    // full-row selection and grid lines, the current file selected whatever
    // its case.
    void theListShowsEveryLanguageWithTheCurrentOneSelected() {
        DlgLanguage dialog(m_folder, "HR.TXT");
        auto* list = dialog.findChild<QTableWidget*>("languageList");
        QVERIFY(list != nullptr);
        QCOMPARE(list->columnCount(), 5);
        const QList<int> widths{140, 100, 220, 60, 150};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(list->columnWidth(i), widths[i]);
        }
        QCOMPARE(list->horizontalHeaderItem(0)->text(),
                 QString::fromUtf8(wordbay::UiText(TextId::MSG_LANGUAGE)));
        QCOMPARE(list->horizontalHeaderItem(3)->text(),
                 QString::fromUtf8(wordbay::UiText(TextId::MSG_VERSION)));
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(list->showGrid());
        QCOMPARE(column(list, 0), (QStringList{"English [internal]", "Deutsch", "Hrvatski"}));
        QCOMPARE(column(list, 1), (QStringList{"wordbay", "", "Ana"}));
        QCOMPARE(column(list, 2), (QStringList{"Internal English language", "", "Croatian texts"}));
        QCOMPARE(column(list, 3), (QStringList{"1.0", "", "2.1"}));
        QCOMPARE(column(list, 4), (QStringList{"------------", "de.txt", "hr.txt"}));
        QCOMPARE(selected(list), 2);
        QCOMPARE(dialog.windowTitle(), QString("Change interface language"));
        for (const char* name :
             {"acceptButton", "cancelButton", "editButton", "saveInternalButton"}) {
            QVERIFY2(dialog.findChild<QPushButton*>(name) != nullptr, name);
        }
        QCOMPARE(dialog.findChild<QPushButton*>("saveInternalButton")->text(),
                 QString("Save internal language"));

        // Without a current file, or with one no longer listed: internal English.
        DlgLanguage english(m_folder, "");
        QCOMPARE(selected(english.findChild<QTableWidget*>("languageList")), 0);
        DlgLanguage gone(m_folder, "gone.txt");
        QCOMPARE(selected(gone.findChild<QTableWidget*>("languageList")), 0);
    }

    // Change returns the file name of the chosen row, the empty name for
    // internal English, and asks for a choice when nothing is selected.
    void changeReturnsTheChosenFile() {
        DlgLanguage dialog(m_folder, "hr.txt");
        auto* list = dialog.findChild<QTableWidget*>("languageList");
        dialog.show();
        list->clearSelection();
        {
            BoxAnswer answer(kIdOk);
            dialog.findChild<QPushButton*>("acceptButton")->click();
            QCOMPARE(answer.text(), QString("Select language"));
            QCOMPARE(answer.caption(), QString("Error"));
        }
        QVERIFY(dialog.isVisible());
        list->selectRow(1);
        dialog.findChild<QPushButton*>("acceptButton")->click();
        QCOMPARE(dialog.result(), kIdOk);
        QCOMPARE(dialog.chosenFile(), std::string("de.txt"));

        DlgLanguage back(m_folder, "hr.txt");
        back.show();
        back.findChild<QTableWidget*>("languageList")->selectRow(0);
        back.findChild<QPushButton*>("acceptButton")->click();
        QCOMPARE(back.result(), kIdOk);
        QCOMPARE(back.chosenFile(), std::string());
    }

    // Edit hands a language file to the desktop and closes without a change;
    // internal English and an empty selection cannot be edited.
    void editOpensTheFileInTheDesktopsEditor() {
        DlgLanguage dialog(m_folder, "");
        auto* list = dialog.findChild<QTableWidget*>("languageList");
        auto* edit = dialog.findChild<QPushButton*>("editButton");
        dialog.show();
        {
            BoxAnswer answer(kIdOk);
            edit->click();
            QCOMPARE(answer.text(), QString("Can't edit internal language"));
        }
        list->clearSelection();
        {
            BoxAnswer answer(kIdOk);
            edit->click();
            QCOMPARE(answer.text(), QString("Select language"));
        }
        QVERIFY(m_opened.isEmpty());
        QVERIFY(dialog.isVisible());

        list->selectRow(2);
        edit->click();
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first(),
                 QUrl::fromLocalFile(QString::fromStdString(m_folder) + "/hr.txt"));
        QCOMPARE(dialog.result(), kIdCancel);
        QCOMPARE(dialog.chosenFile(), std::string());
    }

    // When no program of the desktop opens the file, the user learns which
    // file it was and the dialog stays.
    void aFileTheDesktopCannotOpenIsNamed() {
        m_openSucceeds = false;
        DlgLanguage dialog(m_folder, "hr.txt");
        dialog.show();
        BoxAnswer answer(kIdOk);
        dialog.findChild<QPushButton*>("editButton")->click();
        QVERIFY(answer.text().endsWith("/hr.txt"));
        QVERIFY(dialog.isVisible());
    }

    // Save internal language writes the template where the user chose (the
    // language folder is proposed), lists it at once, and the file loads
    // back as a language giving exactly the internal texts.
    void saveInternalWritesAFileThatLoadsBack() {
        QDir(QString::fromStdString(m_folder)).removeRecursively();
        QString proposed;
        DlgLanguage::setSavePathChooser([&proposed](QWidget*, const QString& path) {
            proposed = path;
            return path;
        });
        DlgLanguage dialog(m_folder, "");
        dialog.show();
        {
            BoxAnswer answer(kIdOk);
            dialog.findChild<QPushButton*>("saveInternalButton")->click();
            QCOMPARE(answer.text(), QString("Internal language sucessfully saved."));
            QCOMPARE(answer.caption(), QString("OK"));
        }
        QVERIFY(dialog.isVisible());
        QCOMPARE(proposed, QString::fromStdString(m_folder) + "/English-internal.txt");
        auto* list = dialog.findChild<QTableWidget*>("languageList");
        QCOMPARE(column(list, 4), (QStringList{"------------", "English-internal.txt"}));
        QCOMPARE(column(list, 0), (QStringList{"English [internal]", "English [internal]"}));

        wordbay::MessageTable table;
        QVERIFY(table.LoadLanguageFile(proposed.toStdString()));
        wordbay::MessageTable english;
        for (int row = 0; row < wordbay::kMessageRowCount; ++row) {
            QCOMPARE(QByteArray(table.Text(row)), QByteArray(english.Text(row)));
        }
    }

    void aFailedSaveNamesTheFile() {
        m_savePath = QString::fromStdString(m_folder) + "/no/such/folder/x.txt";
        DlgLanguage dialog(m_folder, "");
        dialog.show();
        BoxAnswer answer(kIdOk);
        dialog.findChild<QPushButton*>("saveInternalButton")->click();
        QCOMPARE(answer.text(), QString("Saving error !\n\n") + m_savePath);
        QCOMPARE(answer.caption(), QString("Error"));
        QVERIFY(dialog.isVisible());
    }
};

int runLanguageTests(int argc, char** argv) {
    LanguageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "language_test.moc"
