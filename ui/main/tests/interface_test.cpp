// What a user meets around the main window: the interface-language dialog,
// the fall-back font of a list, the start-up message setting and the main
// window on top of everything.
#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QFontInfo>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "app/message_table.h"
#include "ui/dialogs/dlg_language.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_form.h"
#include "ui/main/qt_font_catalog.h"
#include "ui/main/search_edit.h"
#include "ui/main/tests/modal_script.h"
#include "ui/main/tests/program_folder.h"
#include "ui/main/tests/user_input.h"
#include "ui/main/tests/waits.h"
#include "ui/settings/dlg_main.h"
#include "ui/settings/settings_page.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_message_box.h"

using wordbay::ListSide;
using wordbay::SlotId;
using wordbay::TextId;

namespace {

bool closeAndWait(MainForm* form) {
    form->close();
    return QTest::qWaitFor([form] { return !form->isVisible(); }, 10000);
}

}  // namespace

class InterfaceTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        wordbay::Messages().LoadInternalEnglish();
        DlgLanguage::setSavePathChooser(nullptr);
    }

    // The translator's round: internal English saved from the language
    // dialog, a text changed in the file, the file chosen: the menus show the
    // new text at once and the choice is stored at the close.
    void theSavedInternalLanguageLoadsBackAndRelabelsTheMenus() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        const QString saved =
            QString::fromStdString(folder.paths().language_dir) + "/English-internal.txt";
        DlgLanguage::setSavePathChooser([](QWidget*, const QString& proposed) { return proposed; });
        bool edited = false;
        ModalScript script({
            [](QWidget* w) { clickLater(w->findChild<QPushButton*>("saveInternalButton")); },
            press(kIdOk),
            accept([&](QWidget* w) {
                QFile file(saved);
                if (!file.open(QIODevice::ReadOnly)) return;
                QByteArray text = file.readAll();
                file.close();
                edited = text.contains("MENU_EXIT = \"E&xit\"");
                text.replace("MENU_EXIT = \"E&xit\"", "MENU_EXIT = \"&Leave\"");
                if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
                file.write(text);
                file.close();
                w->findChild<QTableWidget*>("languageList")->selectRow(1);
            }),
            press(kIdOk),
        });
        QVERIFY(chooseMenuItem(form.get(), TextId::MENU_INTERFACE_LANGUAGE));
        QTRY_VERIFY(script.done());
        QVERIFY(edited);
        QCOMPARE(script.texts().first(), QString("Internal language sucessfully saved."));
        QCOMPARE(script.texts().last(), QString("Interface language sucessfully changed."));
        QCOMPARE(form->commandAction(cmd::kExit)->text(), QString("&Leave"));
        QCOMPARE(form->commandAction(cmd::kSave)->text(), QString("&Save"));
        QVERIFY(closeAndWait(form.get()));
        QCOMPARE(folder.setting("dictionary", "language"), QString("English-internal.txt"));
    }

    // A Croatian list with no stored font shows the desktop's sans family,
    // like the English side, not the first family that covers the script.
    void aCroatianListFallsBackToTheDesktopSansFamily() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        QFont sans(QStringLiteral("sans-serif"));
        sans.setStyleHint(QFont::SansSerif);
        QFont serif(QStringLiteral("serif"));
        serif.setStyleHint(QFont::Serif);
        const QString desktop = QString::fromStdString(QtFontCatalog().DesktopFace(238));
        QVERIFY(!desktop.isEmpty());
        DictionaryPane* pane = form->pane(SlotId::kMain);
        for (ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
            QCOMPARE(pane->list(side)->font().family(), desktop);
            QCOMPARE(pane->edit(side)->font().family(), desktop);
        }
        if (QFontInfo(serif).family() != QFontInfo(sans).family()) {
            QVERIFY(desktop != QFontInfo(serif).family());
        }
    }

    // Ticking "Show the start-up message" and answering Yes survives the
    // close that writes the settings.
    void theStartUpMessageTickedStaysOn() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        ModalScript script({tickSettingsBox(7015), press(kIdYes), closeIt()});
        QVERIFY(chooseMenuItem(form.get(), TextId::MENU_INTERFACE));
        QTRY_VERIFY(script.done());
        QVERIFY(closeAndWait(form.get()));
        QCOMPARE(folder.setting("options", "showsplash"), QString("1"));
    }

    // Answering Yes to "always on top" keeps the main window's native window,
    // for which the settings dialog and its boxes are transient: they stay
    // above it and reachable.
    void alwaysOnTopKeepsTheWindowTheDialogBelongsTo() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        // The box is open only while the hot key calls the main window.
        QVERIFY(clickButton(form.get(), cmd::kHotKeysCallMain));
        const WId before = form->winId();
        QWindow* handle = form->windowHandle();
        bool dialogShown = false;
        ModalScript script({tickSettingsBox(7012), press(kIdYes), [&](QWidget* w) {
                                dialogShown = w->isVisible() && qobject_cast<DlgMain*>(w);
                                w->close();
                            }});
        QVERIFY(chooseMenuItem(form.get(), TextId::MENU_INTERFACE));
        QTRY_VERIFY(script.done());
        QVERIFY(dialogShown);
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(form->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(form->windowHandle(), handle);
        QCOMPARE(form->winId(), before);
        QVERIFY(form->isVisible());
        // And off again, still the same window.
        QVERIFY(chooseMenuItem(form.get(), TextId::MENU_ALWAYS_ON_TOP));
        QVERIFY(!form->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(form->winId(), before);
        QVERIFY(form->isVisible());
    }

    // What the interface page changes reaches the main window while the
    // dialog is still open: the options, the window the hot keys call, and
    // the button bar's look of it.
    void theInterfacePageChangesTheProgramAtOnce() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        auto form = folder.openWindow();
        QVERIFY(form);
        const wordbay::ProgramSettings before = form->settings();
        bool seenOpen = false;
        ModalScript script({[&](QWidget* w) {
            auto* page = qobject_cast<SettingsPage*>(qobject_cast<DlgMain*>(w)->page());
            for (const int id : {7011, 7017, 7018, 7009})
                qobject_cast<QAbstractButton*>(page->item(id))->click();
            seenOpen = form->settings().hot_key_target == wordbay::HotKeyTarget::kTooltip &&
                       w->isVisible();
            w->close();
        }});
        QVERIFY(chooseMenuItem(form.get(), TextId::MENU_INTERFACE));
        QTRY_VERIFY(script.done());
        QVERIFY(seenOpen);
        const wordbay::ProgramSettings& after = form->settings();
        QCOMPARE(after.minimize_to_tray, !before.minimize_to_tray);
        QCOMPARE(after.popup_to_cursor, !before.popup_to_cursor);
        QCOMPARE(after.tooltip_to_cursor, !before.tooltip_to_cursor);
        QVERIFY(form->buttonBar()->button(cmd::kHotKeysCallTooltip)->isToggled());
        QVERIFY(!form->buttonBar()->button(cmd::kHotKeysCallPopup)->isToggled());
    }
};

int runInterfaceTests(int argc, char** argv) {
    InterfaceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "interface_test.moc"
