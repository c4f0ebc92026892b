#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

#include "app/program_settings.h"
#include "test_support.h"
#include "ui/settings/dlg_config.h"
#include "ui/widgets/tests/user_input.h"

using wordbay::TextId;

class ConfigPageTest : public QObject {
    Q_OBJECT

    wordbay::ProgramSettings m_settings;
    RecordingTarget m_target;

    SettingsContext context() {
        SettingsContext c;
        c.program = &m_settings;
        return c;
    }
    QCheckBox* check(DlgConfig& page, int id) { return page.itemAs<QCheckBox>(id); }

private slots:
    void init() {
        m_settings = wordbay::ProgramSettings();
        m_target.sent.clear();
    }

    void aStoredKeyOutsideTheTableOpensAsItsDefault() {
        m_settings.key1 = 5;
        m_settings.key2 = 80;
        m_settings.key3 = 73;  // "/", the last key offered, stays
        DlgConfig page(context(), &m_target);
        QCOMPARE(m_settings.key1, 5);
        QCOMPARE(m_settings.key2, 3);
        QCOMPARE(m_settings.key3, 73);
        QCOMPARE(page.itemAs<QComboBox>(7003)->currentText(), QString("ESC"));
        QCOMPARE(page.itemAs<QComboBox>(7004)->currentText(), QString("SHIFT"));
        QCOMPARE(page.itemAs<QComboBox>(7005)->currentText(), QString("/"));
        // The main window hears of the repaired key, so its hook uses it too.
        QCOMPARE(m_target.sent, QStringList{"key 2 'SHIFT'"});
    }

    // The note on how to reach the program where the desktop hides the keys
    // shows only when the main window gives one.
    void theHotKeyNoteShowsOnlyWhenGiven() {
        {
            DlgConfig page(context(), &m_target);
            QVERIFY(page.findChild<QLabel*>(QStringLiteral("hotKeyNote")) == nullptr);
        }
        SettingsContext c = context();
        c.hotKeyNote = "bind \"wordbay --translate-selection\" – a shortcut";
        DlgConfig page(c, &m_target);
        const auto* note = page.findChild<QLabel*>(QStringLiteral("hotKeyNote"));
        QVERIFY(note != nullptr);
        QCOMPARE(note->text(),
                 QStringLiteral("bind \"wordbay --translate-selection\" – a shortcut"));
    }

    void aNegativeThirdKeyBecomesNone() {
        m_settings.key3 = -4;
        DlgConfig page(context(), &m_target);
        QCOMPARE(m_settings.key3, 0);
        QCOMPARE(page.itemAs<QComboBox>(7005)->currentIndex(), 0);
    }

    void choosingKeysStoresTheirTableRows() {
        m_settings.key3 = 10;
        DlgConfig page(context(), &m_target);
        auto* third = page.itemAs<QComboBox>(7005);
        QCOMPARE(third->itemText(0), QString());
        emit third->activated(0);  // the empty first entry: no third key
        QCOMPARE(m_settings.key3, 0);
        emit page.itemAs<QComboBox>(7003)->activated(0);  // first row: CONTROL
        QCOMPARE(m_settings.key1, 1);
        QCOMPARE(m_target.sent, (QStringList{"key 3 ''", "key 1 'CONTROL'"}));
    }

    void untickingHotKeysDisablesTheKeyChoices() {
        DlgConfig page(context(), &m_target);
        QVERIFY(page.item(7005)->isEnabled());
        check(page, 7002)->click();
        for (const int id : {7003, 7004, 7005}) QVERIFY(!page.item(id)->isEnabled());
        QCOMPARE(m_target.sent, QStringList{"hot keys"});
    }

    void answeringNoToTheOnTopWarningLeavesItOff() {
        m_settings.hot_key_target = wordbay::HotKeyTarget::kMainWindow;
        m_settings.popup_on_top = true;
        DlgConfig page(context(), &m_target);
        QString caption;
        answerNextBox(kIdNo, &caption);
        check(page, 7012)->click();
        QCOMPARE(caption, QString("Warning"));
        QVERIFY(!check(page, 7012)->isChecked());
        QVERIFY(!m_settings.main_on_top);
        QVERIFY(m_settings.popup_on_top);
        QVERIFY(m_target.sent.isEmpty());
        answerNextBox(kIdCancel);
        check(page, 7012)->click();
        QVERIFY(!check(page, 7012)->isChecked());
        QVERIFY(m_target.sent.isEmpty());
    }

    void answeringYesClearsTheOtherOnTopOptions() {
        m_settings.hot_key_target = wordbay::HotKeyTarget::kMainWindow;
        m_settings.popup_on_top = true;
        m_settings.tooltip_on_top = true;
        DlgConfig page(context(), &m_target);
        answerNextBox(kIdYes);
        check(page, 7012)->click();
        QVERIFY(check(page, 7012)->isChecked());
        QVERIFY(!m_settings.popup_on_top && !m_settings.tooltip_on_top);
        QVERIFY(!check(page, 7013)->isChecked() && !check(page, 7014)->isChecked());
        QCOMPARE(m_target.sent, QStringList{"main on top"});
        // Unticking asks nothing.
        check(page, 7012)->click();
        QCOMPARE(m_target.sent, (QStringList{"main on top", "main on top"}));
    }

    void tickingPopupOnTopTakesTheMainWindowOffTop() {
        m_settings.hot_key_target = wordbay::HotKeyTarget::kPopup;
        m_settings.main_on_top = true;
        DlgConfig page(context(), &m_target);
        QVERIFY(check(page, 7012)->isChecked());
        check(page, 7013)->click();
        QVERIFY(!check(page, 7012)->isChecked());
        QVERIFY(!m_settings.main_on_top);
        QCOMPARE(m_target.sent, QStringList{"popup on top"});
    }

    void onlyTheOnTopBoxOfTheHotKeyTargetIsEnabled() {
        m_settings.hot_key_target = wordbay::HotKeyTarget::kTooltip;
        DlgConfig page(context(), &m_target);
        QVERIFY(!page.item(7012)->isEnabled());
        QVERIFY(!page.item(7013)->isEnabled());
        QVERIFY(page.item(7014)->isEnabled());
        page.itemAs<QRadioButton>(7008)->click();
        QCOMPARE(m_target.sent, QStringList{"calls popup"});
        QVERIFY(page.item(7013)->isEnabled());
        QVERIFY(!page.item(7014)->isEnabled());
    }

    // Each box and button of the page, clicked by its label, tells the main
    // window its own change, and only that.
    void eachControlTellsItsOwnChange() {
        m_settings.hot_key_target =
            wordbay::HotKeyTarget::kPopup;  // the popup: its on-top box is enabled
        DlgConfig page(context(), &m_target);
        page.show();
        const struct {
            TextId label;
            const char* change;
        } controls[] = {
            {TextId::MSG_USE_HOTKEYS, "hot keys"},
            {TextId::MSG_MINIMIZE_TO_TRAY, "minimize to tray"},
            {TextId::MSG_POPUP_WINDOW_ON_TOP, "popup on top"},
            {TextId::MSG_SNAP_POPUP_WINDOW, "snap popup"},
            {TextId::MSG_SNAP_TOOLTIP_WINDOW, "snap tooltip"},
            {TextId::MSG_TOOLTIP_WINDOW, "calls tooltip"},
            {TextId::MSG_TOOLTIP_WINDOW_ON_TOP, "tooltip on top"},
            {TextId::MSG_MAIN_WINDOW, "calls main"},
            {TextId::MSG_POPUP_WINDOW, "calls popup"},
        };
        for (const auto& c : controls) {
            m_target.sent.clear();
            QVERIFY2(user_input::clickButton(&page, uiText(c.label)), qPrintable(uiText(c.label)));
            QCOMPARE(m_target.sent, QStringList{QString::fromLatin1(c.change)});
        }
    }

    void theSplashBoxAsksWhenTickedAndTurnsOffWhenUnticked() {
        m_settings.show_splash = false;
        DlgConfig page(context(), &m_target);
        answerNextBox(kIdNo);
        check(page, 7015)->click();
        QVERIFY(!check(page, 7015)->isChecked());
        QVERIFY(!m_settings.show_splash);
        answerNextBox(kIdYes);
        check(page, 7015)->click();
        QVERIFY(check(page, 7015)->isChecked());
        QVERIFY(m_settings.show_splash);
        check(page, 7015)->click();
        QVERIFY(!m_settings.show_splash);
        QVERIFY(m_target.sent.isEmpty());
    }
};

int runConfigPageTests(int argc, char** argv) {
    ConfigPageTest suite;
    return QTest::qExec(&suite, argc, argv);
}

#include "config_page_test.moc"
