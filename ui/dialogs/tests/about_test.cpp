#include <QLabel>
#include <QtTest>

#include "ui/dialogs/dlg_about.h"

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheBuiltVersionAndLinksEveryLibrary() {
        DlgAbout dialog;
        QCOMPARE(dialog.windowTitle(), QString("About"));
        QCOMPARE(dialog.findChild<QLabel*>("versionLabel")->text(),
                 QString("Version " WORDBAY_TEST_VERSION));
        const QString libraries = dialog.findChild<QLabel*>("librariesLabel")->text();
        for (const char* name : {"Qt", "ICU", "PCRE2", "zlib", "eSpeak NG", "speech-dispatcher",
                                 "PulseAudio", "XInput2", "XTest"}) {
            QVERIFY2(libraries.contains(QLatin1String(name)), name);
        }
        QCOMPARE(libraries.count(QLatin1String("<a href=\"https://")), 8);
    }

    void statesTheLicenceAndCreditsFreedict() {
        DlgAbout dialog;
        const auto* licence = dialog.findChild<QLabel*>("licenceLabel");
        QVERIFY(licence != nullptr);
        QVERIFY(licence->text().contains(QLatin1String("GPL-3.0-or-later")));
        QVERIFY(licence->text().contains(QLatin1String("FreeDict")));
        QVERIFY(licence->openExternalLinks());
    }
};

int runAboutTests(int argc, char** argv) {
    AboutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "about_test.moc"
