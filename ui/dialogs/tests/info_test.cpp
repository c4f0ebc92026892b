#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

#include "app/catalogue.h"
#include "ui/dialogs/dlg_info.h"
#include "ui/dialogs/tests/test_support.h"
#include "ui/widgets/code_page_text.h"
#include "ui/widgets/locale_list.h"

using dialog_tests::BoxAnswer;

namespace {

QLineEdit* edit(const DlgInfo& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(name);
}

void fill(const DlgInfo& dialog, const QString& primary, const QString& secondary,
          const QString& name) {
    edit(dialog, "primaryNameEdit")->setText(primary);
    edit(dialog, "secondaryNameEdit")->setText(secondary);
    edit(dialog, "dictionaryNameEdit")->setText(name);
}

void chooseLocale(const DlgInfo& dialog, const char* box, std::uint32_t lcid) {
    const int row = LocaleList::instance().indexOf(lcid);
    QVERIFY2(row >= 0, "locale not installed");
    dialog.findChild<QComboBox*>(box)->setCurrentIndex(row);
}

// The inputs of the dialog on the dictionary of `db`, which it changes
// directly.
DlgInfo::Inputs opened(const dialog_tests::Handle& db, const char* path) {
    DlgInfo::Inputs inputs;
    DICTIONARY_INFO info{};
    if (DB_GetDictionaryInfo(db.get(), &info)->status != 0) inputs.current = info;
    inputs.path = path;
    const DB_HANDLE handle = db.get();
    inputs.apply = [handle](const DlgInfo::Change& change) {
        return wordbay::ChangeDescriptionOf(handle, change);
    };
    return inputs;
}

DICTIONARY_INFO engineInfo(DB_HANDLE db) {
    DICTIONARY_INFO info{};
    DB_GetDictionaryInfo(db, &info);
    return info;
}

DICTIONARY_INFO fileInfo(const std::string& path) {
    dialog_tests::Handle db;
    DICTIONARY_INFO info{};
    DB_GetDictionaryInfoA(db.get(), path.c_str(), &info);
    return info;
}

// The information dialog with the choice of another file answered.
class CreateDialog : public DlgInfo {
public:
    CreateDialog(Inputs inputs, std::string other)
        : DlgInfo(Mode::kCreate, std::move(inputs)), m_other(std::move(other)) {}

protected:
    std::string chooseOtherFile(const std::string&) override { return m_other; }

private:
    std::string m_other;
};

}  // namespace

class InfoTest : public QObject {
    Q_OBJECT

private slots:
    void aMissingNameIsRefusedWithTheFocusOnItsField_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("primary list") << "primaryNameEdit"
                                      << "Please enter the name of the primary list !";
        QTest::newRow("secondary list") << "secondaryNameEdit"
                                        << "Please enter the name of the secondary list !";
        QTest::newRow("dictionary") << "dictionaryNameEdit"
                                    << "Please enter the name of the dictionary !";
    }

    void aMissingNameIsRefusedWithTheFocusOnItsField() {
        QFETCH(QString, field);
        QFETCH(QString, message);
        for (const DlgInfo::Mode mode :
             {DlgInfo::Mode::kImport, DlgInfo::Mode::kCreate, DlgInfo::Mode::kUpdate}) {
            DlgInfo dialog(mode, {});
            fill(dialog, "English", "German", "English - German");
            dialog.findChild<QLineEdit*>(field)->clear();
            dialog.show();
            dialog.findChild<QLineEdit*>("authorEdit")->setFocus();
            BoxAnswer answer(kIdOk);
            dialog.findChild<QPushButton*>("acceptButton")->click();
            QCOMPARE(answer.text(), message);
            QCOMPARE(answer.caption(), QString("Error"));
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.focusWidget(), dialog.findChild<QLineEdit*>(field));
            dialog.reject();
        }
    }

    void textsAreCutToTheirFields() {
        DlgInfo dialog(DlgInfo::Mode::kImport, {});
        dialog.show();
        QTest::keyClicks(edit(dialog, "primaryNameEdit"), QString(45, 'p'));
        QTest::keyClicks(edit(dialog, "dictionaryNameEdit"), QString(120, 'n'));
        QCOMPARE(edit(dialog, "primaryNameEdit")->text().size(), 39);
        QCOMPARE(edit(dialog, "dictionaryNameEdit")->text().size(), 99);
        edit(dialog, "secondaryNameEdit")->setText(QString(39, QChar(0x0161)));  // š
        edit(dialog, "authorEdit")->setText(QString(99, 'a'));
        chooseLocale(dialog, "secondaryLocaleBox", 1050);
        dialog.accept();
        QCOMPARE(dialog.result(), kIdOk);
        const DICTIONARY_INFO& info = dialog.info();
        QCOMPARE(std::string(info.primary_list_name), std::string(39, 'p'));
        QCOMPARE(std::string(info.name), std::string(99, 'n'));
        QCOMPARE(std::string(info.author), std::string(99, 'a'));
        // One byte per character in the Central European code page.
        QCOMPARE(std::string(info.secondary_list_name), std::string(39, '\x9a'));
    }

    void listsCanBeUtf8AndAreWhereTheLanguageHasNoCodePage() {
        DlgInfo dialog(DlgInfo::Mode::kImport, {});
        chooseLocale(dialog, "primaryLocaleBox", 1050);
        chooseLocale(dialog, "secondaryLocaleBox", 1081);  // Hindi
        auto* charset = dialog.findChild<QComboBox*>("primaryCharsetBox");
        QVERIFY(charset->findText("UTF-8") >= 0);
        charset->setCurrentIndex(charset->findText("UTF-8"));
        fill(dialog, QString::fromUtf8("Hrvatski ćž"), QString::fromUtf8("हिन्दी"), "x");
        dialog.accept();
        const DICTIONARY_INFO& info = dialog.info();
        QCOMPARE(info.primary_charset, 65001u);
        QCOMPARE(info.secondary_charset, 65001u);
        QCOMPARE(std::string(info.primary_list_name), std::string("Hrvatski ćž"));
        QCOMPARE(std::string(info.secondary_list_name), std::string("हिन्दी"));
    }

    void doubleByteTextsAreCutAtAWholeCharacter() {
        DlgInfo dialog(DlgInfo::Mode::kUpdate, {});
        chooseLocale(dialog, "primaryLocaleBox", 1041);
        fill(dialog, QString(39, QChar(0x65E5)), "English", QString(99, QChar(0x672C)));
        dialog.accept();
        const DICTIONARY_INFO& info = dialog.info();
        QCOMPARE(info.primary_locale, 1041u);
        // 19 characters of two bytes: a 20th would not fit in 39 bytes.
        QCOMPARE(std::strlen(info.primary_list_name), std::size_t(38));
        QCOMPARE(std::strlen(info.name), std::size_t(98));
        QCOMPARE(decodeText(932, info.primary_list_name), QString(19, QChar(0x65E5)));
    }

    void theChosenLanguagesAndCharacterSetsAreReturned() {
        DlgInfo dialog(DlgInfo::Mode::kUpdate, {});
        QCOMPARE(dialog.windowTitle(), QString("Update dictionary"));
        auto* charset = dialog.findChild<QComboBox*>("primaryCharsetBox");
        QCOMPARE(charset->currentText(), QString("ANSI"));
        fill(dialog, "Croatian", "English", "Croatian - English");
        chooseLocale(dialog, "primaryLocaleBox", 1050);
        chooseLocale(dialog, "secondaryLocaleBox", 1033);
        charset->setCurrentIndex(charset->findText("EASTEUROPE"));
        dialog.accept();
        QCOMPARE(dialog.info().primary_locale, 1050u);
        QCOMPARE(dialog.info().secondary_locale, 1033u);
        QCOMPARE(dialog.info().primary_charset, 238u);
        QCOMPARE(dialog.info().secondary_charset, 0u);
        QCOMPARE(std::string(dialog.info().primary_list_name), std::string("Croatian"));
    }

    void theOpenDictionaryIsShownWithItsSummary() {
        dialog_tests::Handle db;
        QVERIFY(
            dialog_tests::makeDictionary(db.get(), "English", "German",
                                         {{"house", "Haus"}, {"house", "Heim"}, {"dog", "Hund"}}));
        DlgInfo dialog(DlgInfo::Mode::kOpenDictionary, opened(db, "/data/English_German.v03"));
        QCOMPARE(edit(dialog, "primaryNameEdit")->text(), QString("English"));
        QCOMPARE(edit(dialog, "secondaryNameEdit")->text(), QString("German"));
        QCOMPARE(edit(dialog, "authorEdit")->text(), QString("Tester"));
        QVERIFY(dialog.findChild<QPushButton*>("applyButton") != nullptr);
        QCOMPARE(dialog.findChild<QLabel*>("summaryLabel")->text(),
                 QString("Primary list: 2 words\nSecondary list: 3 words\n"
                         "Translations: 3 words\nSize: %1 bytes\nFile: English_German.v03")
                     .arg(engineInfo(db.get()).memory_size));
    }

    void changedLocalesAskForTheirListsToBeSortedAgain() {
        dialog_tests::Handle db;
        QVERIFY(dialog_tests::makeDictionary(db.get(), "English", "German", {{"house", "Haus"}}));
        {
            // Only the secondary language changes: only that list is resorted.
            DlgInfo dialog(DlgInfo::Mode::kOpenDictionary, opened(db, "x.v03"));
            QSignalSpy changed(&dialog, &DlgInfo::infoChanged);
            chooseLocale(dialog, "secondaryLocaleBox", 1031);
            edit(dialog, "secondaryNameEdit")->setText("Deutsch");
            dialog.accept();
            QCOMPARE(dialog.result(), kIdOk);
            QCOMPARE(dialog.resortLists(), DlgInfo::kSecondaryLocaleChanged);
            QCOMPARE(changed.count(), 1);
            QCOMPARE(engineInfo(db.get()).secondary_locale, 1031u);
            QCOMPARE(engineInfo(db.get()).primary_locale, 1033u);
            QCOMPARE(std::string(engineInfo(db.get()).secondary_list_name), std::string("Deutsch"));
        }
        {
            // A change applied and then cancelled is in the dictionary: its list
            // still needs sorting.
            DlgInfo dialog(DlgInfo::Mode::kOpenDictionary, opened(db, "x.v03"));
            chooseLocale(dialog, "primaryLocaleBox", 1050);
            dialog.findChild<QPushButton*>("applyButton")->click();
            QCOMPARE(dialog.result(), 0);  // Apply keeps the dialog open
            QCOMPARE(engineInfo(db.get()).primary_locale, 1050u);
            dialog.reject();
            QCOMPARE(dialog.resortLists(), DlgInfo::kPrimaryLocaleChanged);
        }
        {
            // Applied, then accepted with nothing new: still counted.
            DlgInfo dialog(DlgInfo::Mode::kOpenDictionary, opened(db, "x.v03"));
            chooseLocale(dialog, "primaryLocaleBox", 1033);
            dialog.findChild<QPushButton*>("applyButton")->click();
            dialog.accept();
            QCOMPARE(dialog.resortLists(), DlgInfo::kPrimaryLocaleChanged);
        }
        {
            // Changed and changed back: the lists are in order.
            DlgInfo dialog(DlgInfo::Mode::kOpenDictionary, opened(db, "x.v03"));
            chooseLocale(dialog, "primaryLocaleBox", 1045);
            chooseLocale(dialog, "secondaryLocaleBox", 1045);
            dialog.findChild<QPushButton*>("applyButton")->click();
            chooseLocale(dialog, "primaryLocaleBox", 1033);
            chooseLocale(dialog, "secondaryLocaleBox", 1031);
            dialog.accept();
            QCOMPARE(dialog.resortLists(), 0);
        }
    }

    void aDictionaryThatCannotBeReadIsReportedAndNothingChanges() {
        dialog_tests::Handle db;  // holds no dictionary
        DlgInfo dialog(DlgInfo::Mode::kOpenDictionary, opened(db, "x.v03"));
        fill(dialog, "English", "German", "Name");
        dialog.show();
        BoxAnswer answer(kIdOk);
        dialog.findChild<QPushButton*>("applyButton")->click();
        QVERIFY(answer.text().startsWith("Can't get dictionary information !\n\n"));
        QCOMPARE(answer.caption(), QString("Fatal error"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.resortLists(), 0);
    }

    void createSavesANewDictionaryAndAsksBeforeReplacingOne() {
        QTemporaryDir dir;
        const std::string folder = QFile::encodeName(dir.path()).toStdString();
        const std::string target = folder + "/English_German.v03";
        wordbay::Catalogue catalogue;
        {
            DlgInfo dialog(DlgInfo::Mode::kCreate, {std::nullopt, "", folder, &catalogue, {}});
            fill(dialog, "English", "German", "First");
            dialog.accept();
            QCOMPARE(dialog.result(), kIdOk);
            QCOMPARE(dialog.createdPath(), target);
            QCOMPARE(std::string(fileInfo(target).name), std::string("First"));
            QCOMPARE(fileInfo(target).primary_word_count, 0u);
        }
        QCOMPARE(catalogue.Scan(folder, nullptr), std::size_t(1));
        {
            DlgInfo dialog(DlgInfo::Mode::kCreate, {std::nullopt, "", folder, &catalogue, {}});
            fill(dialog, "English", "German", "Second");
            BoxAnswer answer(kIdCancel);
            dialog.accept();
            QCOMPARE(answer.text(), "A dictionary with this file name already exists:\n\n" +
                                        QString::fromStdString(target) +
                                        "\n\nDo you want to overwrite this dictionary ?");
            QCOMPARE(dialog.result(), kIdCancel);
            QVERIFY(dialog.createdPath().empty());
            QCOMPARE(std::string(fileInfo(target).name), std::string("First"));
        }
        {
            DlgInfo dialog(DlgInfo::Mode::kCreate, {std::nullopt, "", folder, &catalogue, {}});
            fill(dialog, "English", "German", "Second");
            BoxAnswer answer(kIdYes);
            dialog.accept();
            QCOMPARE(dialog.result(), kIdOk);
            QCOMPARE(std::string(fileInfo(target).name), std::string("Second"));
        }
        {
            // No: saved where the user says instead.
            CreateDialog dialog({std::nullopt, "", folder, &catalogue, {}}, folder + "/Other.v03");
            fill(dialog, "English", "German", "Third");
            BoxAnswer answer(kIdNo);
            dialog.accept();
            QCOMPARE(dialog.createdPath(), folder + "/Other.v03");
            QCOMPARE(std::string(fileInfo(folder + "/Other.v03").name), std::string("Third"));
            QCOMPARE(std::string(fileInfo(target).name), std::string("Second"));
        }
        {
            // A list name never leads out of the database folder.
            DlgInfo dialog(DlgInfo::Mode::kCreate, {std::nullopt, "", folder, &catalogue, {}});
            fill(dialog, "../up", "German", "Fourth");
            dialog.accept();
            QCOMPARE(dialog.createdPath(), folder + "/.._up_German.v03");
            QVERIFY(QFile::exists(QString::fromStdString(dialog.createdPath())));
        }
    }
};

int runInfoTests(int argc, char** argv) {
    InfoTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "info_test.moc"
