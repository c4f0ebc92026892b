#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

#include "app/dictionary_settings.h"
#include "app/program_settings.h"
#include "test_support.h"
#include "ui/settings/dlg_config.h"
#include "ui/settings/dlg_main.h"
#include "ui/settings/dlg_speech.h"
#include "ui/settings/popup_looks_page.h"

class DialogTest : public QObject {
    Q_OBJECT

    wordbay::ProgramSettings m_program;
    wordbay::DictionarySettings m_dictionary;
    RecordingTarget m_target;

    SettingsContext context() {
        SettingsContext c;
        c.program = &m_program;
        c.dictionary = &m_dictionary;
        return c;
    }

private slots:
    void itOpensOnTheRequestedTabAndClearsTheRequest() {
        int request = 2;
        DlgMain dialog(context(), &m_target, &request);
        QCOMPARE(request, -1);
        QCOMPARE(dialog.currentTab(), 2);
        QVERIFY(dynamic_cast<PopupLooksPage*>(dialog.page()) != nullptr);
        QCOMPARE(dialog.windowTitle(), QString("Dictionary settings"));

        int outOfRange = 7;
        DlgMain other(context(), &m_target, &outOfRange);
        QCOMPARE(other.currentTab(), 0);
        QCOMPARE(outOfRange, -1);
    }

    void aTabChangeReplacesThePage() {
        int request = -1;
        DlgMain dialog(context(), &m_target, &request);
        QPointer<WDialog> first = dialog.page();
        QVERIFY(dynamic_cast<DlgConfig*>(first.data()) != nullptr);
        dialog.selectTab(3);
        QVERIFY(first.isNull());
        QVERIFY(dynamic_cast<DlgSpeech*>(dialog.page()) != nullptr);
        QCOMPARE(dialog.findChildren<SettingsPage*>().size(), 1);
    }

    void helpOpensTheTopicOfTheCurrentTab() {
        int request = 1;
        DlgMain dialog(context(), &m_target, &request);
        QStringList topics;
        dialog.setHelpHandler([&](const QString& topic) { topics.append(topic); });
        auto* help = dialog.findChild<QPushButton*>("item7101");
        help->click();
        dialog.selectTab(3);
        help->click();
        QCOMPARE(topics,
                 (QStringList{"postavke.htm#kx_postavkefont", "postavke.htm#kx_postavkegovor"}));
        QVERIFY(m_target.sent.isEmpty());
    }

    void escapeOnAPageClosesTheDialogNotThePage() {
        int request = 0;
        DlgMain dialog(context(), &m_target, &request);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(dialog.page(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), kIdCancel);

        dialog.show();
        QVERIFY(dialog.page()->isVisible());
        dialog.findChild<QPushButton*>("item2")->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), kIdCancel);
    }
};

int runDialogTests(int argc, char** argv) {
    DialogTest suite;
    return QTest::qExec(&suite, argc, argv);
}

#include "dialog_test.moc"
