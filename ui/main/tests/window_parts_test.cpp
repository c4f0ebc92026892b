// The parts of the main window on their own, each driven through its own
// interface: the panes and the status strip through the updates objects the
// worker sends to (from a thread of its own, as the worker does), the menus
// through the states they show, the search switches through their toggles,
// the focused control through the edit commands, the window's presence
// through its settings, the daily lists through what the panes show, the
// tray icon through its menu.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QVBoxLayout>
#include <QtTest>
#include <thread>
#include <utility>
#include <vector>

#include "app/catalogue.h"
#include "app/search_controller.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/daily_lists.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/focused_control.h"
#include "ui/main/main_menus.h"
#include "ui/main/pane_display.h"
#include "ui/main/qt_font_catalog.h"
#include "ui/main/search_edit.h"
#include "ui/main/search_switches.h"
#include "ui/main/secondary_windows.h"
#include "ui/main/status_display.h"
#include "ui/main/status_strip.h"
#include "ui/main/tray_icon.h"
#include "ui/main/window_presence.h"
#include "ui/main/worker_updates.h"
#include "ui/widgets/w_form.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_static.h"
#include "ui/widgets/w_tip_manager.h"
#include "ui/wordlists/favourite_star.h"
#include "ui/wordlists/word_list_window.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

// Runs `send` on a thread of its own, as the worker sends its updates.
template <typename Send>
void fromWorker(Send send) {
    std::thread worker(send);
    worker.join();
}

}  // namespace

class WindowPartsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_updates = std::make_unique<WorkerUpdates>(&m_owner);
        m_controller = std::make_unique<wordbay::SearchController>(
            m_updates->receivers(), &m_catalogue, wordbay::ProgramPaths{}, &m_fonts, &m_program);
    }

    void cleanup() {
        m_controller.reset();
        m_updates.reset();
        qDeleteAll(m_owner.children());
    }

    void thePanesShowWhatTheWorkerSendsOnTheWindowsThread() {
        QWidget window;
        auto* mainPane = new DictionaryPane(&window, false);
        auto* dualPane = new DictionaryPane(&window, true);
        PaneDisplay display(mainPane, dualPane, m_controller.get());
        display.listenTo(m_updates->panes);

        wordbay::PaneUpdates* panes = m_updates->panes;
        fromWorker([panes] {
            panes->ShowList(SlotId::kMain, ListSide::kSecondary,
                            wordbay::WordList::Copy({"dom", "kuca"}, 0));
            panes->SelectListEntry(SlotId::kMain, ListSide::kSecondary, 1, 0);
            panes->SetEditText(SlotId::kMain, ListSide::kPrimary, "house");
            panes->EnableSlotControls(SlotId::kDual, false);
        });
        // Queued: nothing is applied on the worker's thread, all of it here.
        WListBox* list = mainPane->list(ListSide::kSecondary);
        QCOMPARE(list->count(), 0);
        QTRY_COMPARE(list->count(), 2);
        QCOMPARE(list->itemText(1), QStringLiteral("kuca"));
        QCOMPARE(list->curSel(), 1);
        QCOMPARE(mainPane->edit(ListSide::kPrimary)->text(), QStringLiteral("house"));
        QVERIFY(!dualPane->list(ListSide::kPrimary)->isEnabled());
        // Each update went to its own slot and side.
        QVERIFY(mainPane->list(ListSide::kPrimary)->isEnabled());
        QCOMPARE(mainPane->list(ListSide::kPrimary)->count(), 0);
        QCOMPARE(dualPane->list(ListSide::kSecondary)->count(), 0);
        QCOMPARE(dualPane->edit(ListSide::kPrimary)->text(), QString());

        // An empty list always empties; the window's own thread applies at once.
        panes->ShowList(SlotId::kMain, ListSide::kSecondary, wordbay::WordList());
        QCOMPARE(list->count(), 0);
    }

    void theStatusStripAndTitlesShowWhatTheWorkerSends() {
        WForm window;
        auto* strip = new StatusStrip(&window);
        QStringList otherTitles;
        bool otherOnWindowThread = false;
        StatusDisplay display(&window, strip, nullptr, m_controller.get(),
                              [&](const wordbay::WindowTitles& titles) {
                                  otherTitles << QString::fromStdString(titles.popup);
                                  otherOnWindowThread = QThread::currentThread() == qApp->thread();
                              });
        display.listenTo(m_updates->status);

        wordbay::StatusUpdates* status = m_updates->status;
        fromWorker([status] {
            status->SetStatus("English: 2   Croatian: 1");
            status->SetTitles({"KX Dictionary : English - Croatian",
                               "Text translation : English - Croatian", "English - Croatian"});
        });
        QCOMPARE(strip->statusText(), QString());
        QTRY_COMPARE(window.windowTitle(), QStringLiteral("KX Dictionary : English - Croatian"));
        QCOMPARE(strip->statusText(), QStringLiteral("English: 2   Croatian: 1"));
        QCOMPARE(otherTitles, QStringList{QStringLiteral("English - Croatian")});
        QVERIFY(otherOnWindowThread);
    }

    void theMenusAndButtonsShowTheStatesAndFollowTheWorker() {
        WForm window;
        new QVBoxLayout(&window);
        WTipManager tips(&window);
        auto* buttons = new ButtonBar(&window, &tips);
        MainMenus menus(&window, buttons);
        menus.createMenus();

        MainMenus::States states;
        states.options.wildcards = true;
        states.editMode = true;
        menus.showStates(states);
        QVERIFY(window.commandAction(cmd::kUseWildcards)->isChecked());
        QVERIFY(buttons->button(cmd::kUseWildcards)->isToggled());
        QVERIFY(!window.commandAction(cmd::kUseRegex)->isChecked());
        QVERIFY(window.commandAction(cmd::kAddWord)->isEnabled());
        QVERIFY(!window.commandAction(cmd::kDualMode)->isEnabled());  // not while editing
        QVERIFY(!window.commandAction(cmd::kLink)->isEnabled());      // no dual mode

        states.editMode = false;
        states.options.wildcards = false;
        states.options.dual_mode = true;
        menus.showStates(states);
        QVERIFY(!window.commandAction(cmd::kUseWildcards)->isChecked());
        QVERIFY(!buttons->button(cmd::kUseWildcards)->isToggled());
        QVERIFY(!window.commandAction(cmd::kAddWord)->isEnabled());
        QVERIFY(window.commandAction(cmd::kDualMode)->isEnabled());
        QVERIFY(window.commandAction(cmd::kLink)->isEnabled());

        // While a request runs the worker turns the menus and buttons off.
        connect(m_updates->window, &WindowStateSignals::menusEnabled, &window,
                [&menus](bool enabled) { menus.setEnabled(enabled); });
        wordbay::WindowStates* states_ = m_updates->window;
        fromWorker([states_] { states_->EnableMenus(false); });
        QTRY_VERIFY(!buttons->isEnabled());
        for (QAction* menu : window.findChild<QMenuBar*>()->actions()) QVERIFY(!menu->isEnabled());
        fromWorker([states_] { states_->EnableMenus(true); });
        QTRY_VERIFY(buttons->isEnabled());
    }

    void theSearchSwitchesChangeTheOptionsAndSayWhatFollows() {
        QWidget window;
        auto* pane = new DictionaryPane(&window, false);
        auto* strip = new StatusStrip(&window);
        int changes = 0;
        std::vector<std::pair<bool, bool>> textWindow;
        int titles = 0;
        SearchSwitches* switches = nullptr;
        SearchSwitches::Hooks hooks;
        hooks.optionsChanged = [&] {
            ++changes;
            switches->showOptions();
        };
        hooks.textWindowSwitches = [&](bool caseSensitive, bool ignoreAccents) {
            textWindow.emplace_back(caseSensitive, ignoreAccents);
        };
        hooks.titlesChanged = [&] { ++titles; };
        SearchSwitches own(m_controller.get(), pane, strip, std::move(hooks));
        switches = &own;
        auto options = [this] { return m_controller->settings().options(); };

        own.togglePattern(wordbay::PatternKind::kWildcards);
        QVERIFY(options().wildcards);
        QCOMPARE(strip->modeLabel()->text(), QStringLiteral("WILDCARDS"));
        QVERIFY(strip->modeLabel()->isEnabled());
        // One pattern kind at a time.
        own.togglePattern(wordbay::PatternKind::kRegex);
        QVERIFY(options().regex);
        QVERIFY(!options().wildcards);
        QCOMPARE(strip->modeLabel()->text(), QStringLiteral("REG. EXPR."));
        own.togglePattern(wordbay::PatternKind::kRegex);
        QVERIFY(!options().regex);
        QVERIFY(!strip->modeLabel()->isEnabled());
        QCOMPARE(changes, 3);

        // The text window takes the case and accent switches; only the link
        // renames the windows.
        const bool caseSensitive = options().case_sensitive;
        own.toggle(&wordbay::SearchOptions::case_sensitive);
        QCOMPARE(options().case_sensitive, !caseSensitive);
        QCOMPARE(textWindow.back(), std::make_pair(!caseSensitive, options().ignore_accents));
        QCOMPARE(titles, 0);
        own.toggle(&wordbay::SearchOptions::link);
        QVERIFY(options().link);
        QCOMPARE(titles, 1);
        QCOMPARE(changes, 5);
    }

    void theEditCommandsActOnTheFocusedControlOfEitherPane() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* mainPane = new DictionaryPane(&window, false);
        auto* dualPane = new DictionaryPane(&window, true);
        layout->addWidget(mainPane);
        layout->addWidget(dualPane);
        FocusedControl focused(
            mainPane, dualPane, [] { return nullptr; }, m_controller.get());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QClipboard* clipboard = QApplication::clipboard();

        SearchEdit* edit = dualPane->edit(ListSide::kSecondary);
        edit->setText(QStringLiteral("Haus"));
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(focused.control(), static_cast<QWidget*>(edit));
        focused.edit(FocusedControl::Edit::kSelectAll);
        focused.copy();
        QCOMPARE(clipboard->text(), QStringLiteral("Haus"));
        focused.edit(FocusedControl::Edit::kDelete);
        QCOMPARE(edit->text(), QString());
        focused.paste();
        QCOMPARE(edit->text(), QStringLiteral("Haus"));
        QCOMPARE(mainPane->edit(ListSide::kSecondary)->text(), QString());  // the other pane's

        WListBox* list = mainPane->list(ListSide::kPrimary);
        list->setWords(wordbay::WordList::Copy({"hour", "house"}, 0));
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        QCOMPARE(focused.control(), static_cast<QWidget*>(list));
        clipboard->setText(QStringLiteral("before"));
        focused.copy();
        QCOMPARE(clipboard->text(), QStringLiteral("before"));  // nothing selected
        list->setCurSel(1);
        focused.copy();
        QCOMPARE(clipboard->text(), QStringLiteral("house"));
        focused.edit(FocusedControl::Edit::kDelete);  // a list deletes nothing
        QCOMPARE(list->count(), 2);
        focused.edit(FocusedControl::Edit::kSelectAll);
        focused.copy();
        QCOMPARE(clipboard->text(), QStringLiteral("hour\r\nhouse"));

        // Outside the panes there is nothing to act on.
        auto* other = new QLineEdit(&window);
        layout->addWidget(other);
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(focused.control(), nullptr);
    }

    void theDailyListsCountWhatTheUserStayedOnAndKeepIt() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QWidget window;
        auto* pane = new DictionaryPane(&window, false);
        WListBox* words = pane->list(ListSide::kPrimary);
        WListBox* translations = pane->list(ListSide::kSecondary);
        const std::string dictionary = "English_Croatian.v03";
        auto show = [&](const char* word, std::vector<std::string> shown) {
            words->setWords(wordbay::WordList::Copy({word}, 0));
            words->setCurSel(0);
            translations->setWords(wordbay::WordList::Copy(std::move(shown), 0));
        };
        {
            DailyLists lists(&window, nullptr, dir.path().toStdString(), 50, {});
            FavouriteStar* star = lists.createStar(&window);
            // A word passed on the way while typing never counts; the one
            // the user acts on does, at once.
            show("hour", {"sat"});
            lists.translationShown(pane, ListSide::kPrimary, dictionary);
            pane->edit(ListSide::kPrimary)->setText(QStringLiteral("hous"));
            lists.searchTyped(pane->edit(ListSide::kPrimary));
            show("house", {"dom", "kuca"});
            lists.translationShown(pane, ListSide::kPrimary, dictionary);
            lists.entered();
            QCOMPARE(lists.history().entries().size(), std::size_t{1});
            QCOMPARE(lists.history().entries()[0].key.word, std::string("house"));
            QCOMPARE(lists.history().entries()[0].key.direction, 1);

            emit star->starRequested(true);
            const wordlists::WordKey house{"house", dictionary, 1};
            QVERIFY(lists.favourites().Contains(house));
            QCOMPARE(lists.favourites().entries()[0].translations,
                     (std::vector<std::string>{"dom", "kuca"}));
            QCOMPARE(lists.history().entries().size(), std::size_t{1});  // counted once
        }
        // What was kept is there at the next start, and looks the word up.
        QString lookedUp;
        int direction = 0;
        DailyLists::Hooks hooks;
        hooks.lookUp = [&](const QString& word, int from) {
            lookedUp = word;
            direction = from;
        };
        DailyLists again(&window, nullptr, dir.path().toStdString(), 50, std::move(hooks));
        QCOMPARE(again.history().entries().size(), std::size_t{1});
        QVERIFY(again.favourites().Contains({"house", dictionary, 1}));
        emit again.favouritesWindow()->lookUpRequested(0);
        QCOMPARE(lookedUp, QStringLiteral("house"));
        QCOMPARE(direction, 1);
    }

    void eachItemOfTheTrayMenuReportsItsOwnCommand() {
        WForm window;
        TrayIcon tray(&window);
        QSignalSpy restore(&tray, &TrayIcon::restoreRequested);
        QSignalSpy about(&tray, &TrayIcon::aboutRequested);
        QSignalSpy exit(&tray, &TrayIcon::exitRequested);
        const QList<QAction*> items = tray.menu()->actions();
        QCOMPARE(items.size(), 3);
        for (QAction* item : items) QVERIFY(!item->text().isEmpty());
        QVERIFY(!tray.isShown());  // until the window goes to the tray

        items[2]->trigger();
        QCOMPARE(exit.count(), 1);
        QCOMPARE(restore.count() + about.count(), 0);
        items[0]->trigger();
        QCOMPARE(restore.count(), 1);
        items[1]->trigger();
        QCOMPARE(about.count(), 1);
        QCOMPARE(exit.count(), 1);
    }

    void theWindowsPresenceKeepsItsSettingsAndOneWindowOnTop() {
        WForm window;
        wordbay::ProgramSettings settings;
        settings.popup_on_top = true;
        settings.tooltip_on_top = true;
        settings.minimize_to_tray = false;
        SecondaryWindows windows(&window, &settings, std::string(), nullptr, nullptr,
                                 m_controller.get(), &m_fonts, {});
        int changes = 0;
        WindowPresence::Hooks hooks;
        hooks.statesChanged = [&] { ++changes; };
        WindowPresence presence(&window, nullptr, &settings, &windows, std::move(hooks));

        presence.setAlwaysOnTop(true);
        QVERIFY(settings.main_on_top);
        QVERIFY(!settings.popup_on_top);  // only one window stays above the others
        QVERIFY(!settings.tooltip_on_top);
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        presence.setAlwaysOnTop(false);
        QVERIFY(!settings.main_on_top);
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        presence.setHotKeyTarget(wordbay::HotKeyTarget::kTooltip);
        QCOMPARE(settings.hot_key_target, wordbay::HotKeyTarget::kTooltip);
        QCOMPARE(changes, 3);

        // Without the setting the window is minimised normally, not hidden.
        QVERIFY(!presence.minimizeToTray());
        QVERIFY(!presence.inTray());
        QVERIFY(window.isVisible());
    }

private:
    QObject m_owner;
    wordbay::Catalogue m_catalogue;
    QtFontCatalog m_fonts;
    wordbay::ProgramSettings m_program;
    std::unique_ptr<WorkerUpdates> m_updates;
    std::unique_ptr<wordbay::SearchController> m_controller;
};

int runWindowPartsTests(int argc, char** argv) {
    WindowPartsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ui/main/tests/waits.h"
#include "window_parts_test.moc"
