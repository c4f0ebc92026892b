// The parts of the main window that act on a loaded dictionary, each driven
// through its own interface over a controller of their own: the pane modes
// through typing, choosing and the mode toggles, the word editing through
// its commands, the dictionary dialogs through the chooser, the secondary
// windows through what the hot key found, the speech through the voices, the
// main commands through what the settings pages change and (in a whole
// window, which they are wired into) through the menu, buttons and boxes.
#include <QFile>
#include <QTableWidget>
#include <QtTest>
#include <memory>
#include <string>

#include "app/catalogue.h"
#include "app/dictionary_settings.h"
#include "app/message_table.h"
#include "app/program_dir.h"
#include "app/program_settings.h"
#include "app/search_controller.h"
#include "engine/lexbase.h"
#include "speech/speech_pane.h"
#include "speech/speech_settings.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_dialogs.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_commands.h"
#include "ui/main/main_form.h"
#include "ui/main/main_speech.h"
#include "ui/main/pane_display.h"
#include "ui/main/pane_modes.h"
#include "ui/main/qt_font_catalog.h"
#include "ui/main/search_edit.h"
#include "ui/main/secondary_windows.h"
#include "ui/main/tests/modal_script.h"
#include "ui/main/tests/program_folder.h"
#include "ui/main/tests/waits.h"
#include "ui/main/window_presence.h"
#include "ui/main/word_change_edit.h"
#include "ui/main/word_editing.h"
#include "ui/main/worker_updates.h"
#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/widgets/w_form.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_message_box.h"

using wordbay::ListSide;
using wordbay::SlotId;

namespace {

QStringList rows(const WListBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
}

}  // namespace

class MainPartsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_folder = std::make_unique<ProgramFolder>(housePairs());
        QVERIFY(m_folder->ok());
        m_updates = std::make_unique<WorkerUpdates>(&m_owner);
        m_controller = std::make_unique<wordbay::SearchController>(
            m_updates->receivers(), &m_catalogue, m_folder->paths(), &m_fonts, &m_program);
        connect(m_updates->window, &WindowStateSignals::requestsDone, &m_owner,
                [this](std::uint64_t count) { m_controller->Delivered(count); });
        m_window = std::make_unique<WForm>();
        m_mainPane = new DictionaryPane(m_window.get(), false);
        m_dualPane = new DictionaryPane(m_window.get(), true);
        m_display = std::make_unique<PaneDisplay>(m_mainPane, m_dualPane, m_controller.get());
        m_display->listenTo(m_updates->panes);
        SecondaryWindows::Hooks windowHooks;
        windowHooks.bringMainToFront = [] {};
        windowHooks.shareKeys = [](QWidget*) {};
        windowHooks.mainLeavesTop = [this] { ++m_mainLeftTop; };
        windowHooks.statesChanged = [this] { ++m_stateChanges; };
        windowHooks.editMode = [this] { return options().edit_mode; };
        m_windows = std::make_unique<SecondaryWindows>(
            m_window.get(), &m_program, m_folder->settingsFile().toStdString(), m_mainPane,
            m_dualPane, m_controller.get(), &m_fonts, std::move(windowHooks));
        m_editing = std::make_unique<WordEditing>(m_mainPane, m_controller.get(), nullptr);
        PaneModes::Hooks hooks;
        hooks.statesChanged = [this] { ++m_stateChanges; };
        hooks.bringToFront = [this] { ++m_broughtToFront; };
        hooks.restoreFromTray = [] {};
        PaneModes::Parts parts;
        parts.mainPane = m_mainPane;
        parts.dualPane = m_dualPane;
        parts.editing = m_editing.get();
        parts.windows = m_windows.get();
        m_modes =
            std::make_unique<PaneModes>(parts, m_controller.get(), &m_program, std::move(hooks));
        m_stateChanges = 0;
        m_mainLeftTop = 0;
        m_broughtToFront = 0;
        m_controller->Start();
    }

    void cleanup() {
        m_modes.reset();
        m_editing.reset();
        m_windows.reset();
        m_display.reset();
        m_window.reset();
        m_controller.reset();
        m_updates.reset();
        qDeleteAll(m_owner.children());
        m_folder.reset();
    }

    void editModeNeedsADictionaryAndEndsDualMode() {
        // Nothing to edit yet: the mode stays off, the menus are told so.
        m_modes->toggleEditMode();
        QVERIFY(!options().edit_mode);
        QCOMPARE(m_stateChanges, 1);
        QVERIFY(!m_mainPane->editModeLook());

        QVERIFY(load());
        wordbay::SearchOptions dual = options();
        dual.dual_mode = true;
        m_controller->settings().SetOptions(dual);
        m_modes->layout();
        QVERIFY(!m_dualPane->isHidden());

        m_modes->toggleEditMode();
        QVERIFY(options().edit_mode);
        QVERIFY(!options().dual_mode);  // no dual mode while editing
        QVERIFY(m_dualPane->isHidden());
        QVERIFY(m_mainPane->editModeLook());
        // The translations, not the words, are dragged to reorder them.
        QVERIFY(m_mainPane->list(ListSide::kSecondary)->dragMode());
        QVERIFY(!m_mainPane->list(ListSide::kPrimary)->dragMode());
        QCOMPARE(m_stateChanges, 2);

        m_modes->toggleEditMode();
        QVERIFY(!options().edit_mode);
        QVERIFY(!m_mainPane->editModeLook());
        QVERIFY(!m_mainPane->list(ListSide::kSecondary)->dragMode());
        // A load that ends edit mode is shown only when it was on.
        m_modes->editModeEnded();
        QCOMPARE(m_stateChanges, 3);
    }

    void dualModeOffHidesTheDualPane() {
        QVERIFY(load());
        wordbay::SearchOptions dual = options();
        dual.dual_mode = true;
        m_controller->settings().SetOptions(dual);
        m_modes->layout();
        QVERIFY(!m_dualPane->isHidden());
        m_modes->toggleDualMode();
        QVERIFY(!options().dual_mode);
        QVERIFY(m_dualPane->isHidden());
        QCOMPARE(m_stateChanges, 1);
        QTRY_VERIFY(!m_controller->busy());
        QVERIFY(!m_controller->slot(SlotId::kDual).loaded());
    }

    void typingListsAndEnteringLooksTheFirstWordUp() {
        QVERIFY(load());
        SearchEdit* edit = m_mainPane->edit(ListSide::kPrimary);
        WListBox* words = m_mainPane->list(ListSide::kPrimary);
        WListBox* translations = m_mainPane->list(ListSide::kSecondary);

        // A text the program sets is not searched.
        edit->setProgramText(QStringLiteral("tree"));
        m_modes->typed(SlotId::kMain, ListSide::kPrimary);
        QVERIFY(!edit->isSetByProgram());
        QTRY_VERIFY(!m_controller->busy());
        QCOMPARE(words->count(), 0);

        edit->setText(QStringLiteral("house"));
        m_modes->typed(SlotId::kMain, ListSide::kPrimary);
        QTRY_VERIFY(rows(words).contains(QStringLiteral("household")));
        QTRY_VERIFY(!m_controller->busy());
        QCOMPARE(translations->count(), 0);
        m_modes->intoList(SlotId::kMain, ListSide::kPrimary);
        QCOMPARE(words->curSel(), 0);
        const int expected = words->itemText(0) == QStringLiteral("house") ? 2 : 1;
        QTRY_COMPARE(translations->count(), expected);

        // Choosing another word shows its translations instead.
        words->setCurSel(rows(words).indexOf(QStringLiteral("household")));
        m_modes->selected(SlotId::kMain, ListSide::kPrimary);
        QTRY_COMPARE(translations->count(), 1);
        words->setCurSel(rows(words).indexOf(QStringLiteral("house")));
        m_modes->selected(SlotId::kMain, ListSide::kPrimary);
        QTRY_COMPARE(translations->count(), 2);
    }

    void lookingUpAgainTurnsTheDirectionAndEntersTheWord() {
        QVERIFY(load());
        // Typing searches, as the main window wires it.
        for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
            connect(m_mainPane->edit(side), &QLineEdit::textChanged, &m_owner,
                    [this, side] { m_modes->typed(SlotId::kMain, side); });
        }
        QVERIFY(m_mainPane->primaryToSecondary());
        m_modes->lookUpAgain(QStringLiteral("dom"), false);
        QVERIFY(!m_mainPane->primaryToSecondary());
        QVERIFY(!m_controller->slot(SlotId::kMain).primary_to_secondary());
        QCOMPARE(m_mainPane->sourceSide(), ListSide::kSecondary);
        QCOMPARE(m_broughtToFront, 1);
        QCOMPARE(m_mainPane->edit(ListSide::kSecondary)->text(), QStringLiteral("dom"));
        // Entered once listed: its translation shows.
        QTRY_COMPARE(m_mainPane->list(ListSide::kSecondary)->curSel(), 0);
        QTRY_COMPARE(rows(m_mainPane->list(ListSide::kPrimary)),
                     QStringList{QStringLiteral("house")});

        // Turning back by hand; in edit mode nothing is looked up again.
        m_modes->reverseDirection(SlotId::kMain);
        QVERIFY(m_mainPane->primaryToSecondary());
        QTRY_VERIFY(!m_controller->busy());
        m_modes->toggleEditMode();
        QVERIFY(options().edit_mode);
        const int broughtToFront = m_broughtToFront;
        m_modes->lookUpAgain(QStringLiteral("tree"), true);
        QCOMPARE(m_broughtToFront, broughtToFront);
        QVERIFY(m_mainPane->edit(ListSide::kPrimary)->text() != QStringLiteral("tree"));
    }

    void leavingGoesToTheSearchBoxOrItsOtherSide() {
        QVERIFY(load());
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        SearchEdit* primary = m_mainPane->edit(ListSide::kPrimary);
        SearchEdit* secondary = m_mainPane->edit(ListSide::kSecondary);
        primary->setText(QStringLiteral("house"));
        m_mainPane->list(ListSide::kPrimary)->setFocus();
        QTRY_VERIFY(m_mainPane->list(ListSide::kPrimary)->hasFocus());

        m_modes->leave(false);
        QTRY_VERIFY(primary->hasFocus());
        QCOMPARE(primary->selectedText(), QStringLiteral("house"));
        m_modes->leave(true);
        QTRY_VERIFY(secondary->hasFocus());
        // The other way round, the secondary box is the search box.
        m_modes->reverseDirection(SlotId::kMain);
        m_modes->leave(false);
        QTRY_VERIFY(secondary->hasFocus());
        m_modes->leave(true);
        QTRY_VERIFY(primary->hasFocus());
    }

    void anAddedTranslationReachesTheDictionaryAndTheList() {
        QVERIFY(load());
        m_modes->toggleEditMode();
        QVERIFY(options().edit_mode);
        chooseHouse();
        WListBox* translations = m_mainPane->list(ListSide::kSecondary);
        QTRY_COMPARE(translations->count(), 2);

        m_mainPane->edit(ListSide::kSecondary)->setText(QStringLiteral("zgrada"));
        ModalScript added({press(kIdYes)});
        m_editing->addTranslation();
        QTRY_VERIFY(added.done());
        QVERIFY(added.texts().value(0).contains(QStringLiteral("house <--> zgrada")));
        QCOMPARE(translations->count(), 3);
        QCOMPARE(translations->itemText(2), QStringLiteral("zgrada"));
        QCOMPARE(translationsOf("house"), 3);

        // A translation deleted after a "no" stays.
        translations->setCurSel(0);
        ModalScript kept({press(kIdNo)});
        m_editing->deleteSelected();
        QTRY_VERIFY(kept.done());
        QCOMPARE(translations->count(), 3);
        QCOMPARE(translationsOf("house"), 3);
    }

    void aDraggedTranslationAndAWordChangedInPlaceReachTheDictionary() {
        QVERIFY(load());
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_modes->toggleEditMode();
        chooseHouse();
        WListBox* translations = m_mainPane->list(ListSide::kSecondary);
        QTRY_COMPARE(translations->count(), 2);
        const QStringList before = rows(translations);

        // Dragged from the first row to the second: the dictionary keeps the
        // new order, which a new look-up shows.
        translations->setCurSel(1);
        m_modes->translationDragged(0);
        QTRY_VERIFY(!m_controller->busy());
        const QStringList moved{before[1], before[0]};
        QCOMPARE(rows(translations), moved);
        translations->setWords({});
        chooseHouse();
        QTRY_COMPARE(rows(translations), moved);

        // Changed in place: the box over the selected row, then Enter.
        translations->setFocus();
        QTRY_VERIFY(translations->hasFocus());
        translations->setCurSel(0);
        m_editing->openWordChange();
        WordChangeEdit* box = nullptr;
        QTRY_VERIFY((box = qobject_cast<WordChangeEdit*>(QApplication::focusWidget())) != nullptr);
        QCOMPARE(box->text(), moved[0]);
        box->setText(QStringLiteral("zgrada"));
        QTest::keyClick(box, Qt::Key_Return);
        QTRY_COMPARE(translations->itemText(0), QStringLiteral("zgrada"));
        translations->setWords({});
        chooseHouse();
        QTRY_COMPARE(rows(translations), (QStringList{QStringLiteral("zgrada"), moved[1]}));
    }

    void theChosenDictionaryOpensAndACancelKeepsTheOpenOne() {
        QVERIFY(load());
        const wordbay::ProgramPaths paths = m_folder->paths();
        const QString folder = QString::fromStdString(paths.database_dir);
        QVERIFY(QFile::copy(folder + QStringLiteral("/English_Croatian.v03"),
                            folder + QStringLiteral("/Animals.v03")));
        m_catalogue.Scan(paths.database_dir, nullptr);
        DictionaryDialogs dialogs(m_window.get(), &paths, &m_catalogue, m_controller.get(), nullptr,
                                  m_mainPane, nullptr);
        auto open = [this] { return m_controller->slot(SlotId::kMain).file_name(); };

        ModalScript cancelled({closeIt()});
        dialogs.changeDictionary();
        QVERIFY(cancelled.done());
        QTRY_VERIFY(!m_controller->busy());
        QCOMPARE(open(), std::string("English_Croatian.v03"));

        ModalScript chosen({accept([](QWidget* chooser) {
            auto* table = chooser->findChild<QTableWidget*>(QStringLiteral("dictionaryList"));
            QVERIFY(table != nullptr);
            const QList<QTableWidgetItem*> found =
                table->findItems(QStringLiteral("Animals.v03"), Qt::MatchExactly);
            QVERIFY(!found.isEmpty());
            table->selectRow(found.first()->row());
        })});
        dialogs.changeDictionary();
        QVERIFY(chosen.done());
        QTRY_COMPARE(open(), std::string("Animals.v03"));
        QTRY_VERIFY(!m_controller->busy());
        QVERIFY(m_controller->slot(SlotId::kMain).loaded());
    }

    void anExportAndAnUpdateGoThroughTheirDialogs() {
        QVERIFY(load());
        const wordbay::ProgramPaths paths = m_folder->paths();
        DictionaryDialogs dialogs(m_window.get(), &paths, &m_catalogue, m_controller.get(), nullptr,
                                  m_mainPane, nullptr);
        const QString folder = QString::fromStdString(paths.program_dir);
        const ModalScript::Step txtFormat = accept(
            [](QWidget* w) { selectRowWith(w, "formatList", QStringLiteral("TXT database")); });

        // The format, then the file: the export is written.
        const QString exported = folder + QStringLiteral("/exported.txt");
        ModalScript exporting({txtFormat, typeFileName(exported)});
        dialogs.exportDictionary();
        QVERIFY(exporting.done());
        QTRY_VERIFY(QFile::exists(exported));
        QTRY_VERIFY(!m_controller->busy());
        QFile text(exported);
        QVERIFY(text.open(QIODevice::ReadOnly));
        QVERIFY(text.readAll().contains("household"));

        // The format, the file and a "yes": the file is merged in.
        const QString update = folder + QStringLiteral("/update.txt");
        QFile pairs(update);
        QVERIFY(pairs.open(QIODevice::WriteOnly));
        pairs.write("cat\tmacka\r\nhouse\tkucica\r\n");
        pairs.close();
        QCOMPARE(translationsOf("cat"), 0);
        ModalScript updating({txtFormat, typeFileName(update), press(kIdYes)});
        dialogs.updateDictionary();
        QVERIFY(updating.done());
        QTRY_VERIFY(!m_controller->busy());
        QTRY_COMPARE(translationsOf("cat"), 1);
        QCOMPARE(translationsOf("house"), 3);

        // A "no" merges nothing.
        QFile more(update);
        QVERIFY(more.open(QIODevice::WriteOnly));
        more.write("dog\tpas\r\n");
        more.close();
        ModalScript declined({txtFormat, typeFileName(update), press(kIdNo)});
        dialogs.updateDictionary();
        QVERIFY(declined.done());
        QTRY_VERIFY(!m_controller->busy());
        QCOMPARE(translationsOf("dog"), 0);
    }

    void theVoicesGoToTheSpeechPaneAndBack() {
        MainSpeech speech(m_window.get(), nullptr, m_controller.get());
        // Without a dictionary there is nothing to give the voices to.
        speech.pane(SlotId::kMain)->settings().of(speech::SpeechList::kPrimary).espeak.speed = 99;
        speech.giveBackSettings(SlotId::kMain);
        QVERIFY(load());
        using wordbay::SpeechEngine;
        m_controller->ChangeSlotSettings(SlotId::kMain, [](wordbay::DictionarySettings& s) {
            wordbay::SpeechVoice& voice = s.voice(ListSide::kSecondary, SpeechEngine::kEspeak);
            voice.use = true;
            voice.voice_id = "hr";
            voice.speed = 140;
            voice.pitch = 30;
        });
        speech.takeSettings(SlotId::kMain, m_controller->slot(SlotId::kMain));
        speech::SpeechSettings& shown = speech.pane(SlotId::kMain)->settings();
        const speech::EngineSettings& croatian = shown.of(speech::SpeechList::kSecondary).espeak;
        QCOMPARE(croatian.use, 1);
        QCOMPARE(croatian.voice_id, std::string("hr"));
        QCOMPARE(croatian.speed, 140);
        QCOMPARE(croatian.pitch, 30);
        // The other list takes its own voice.
        const wordbay::SpeechVoice english = m_controller->slot(SlotId::kMain)
                                                 .settings()
                                                 .voice(ListSide::kPrimary, SpeechEngine::kEspeak);
        QCOMPARE(shown.of(speech::SpeechList::kPrimary).espeak.speed, english.speed);
        QCOMPARE(shown.of(speech::SpeechList::kPrimary).espeak.use, english.use ? 1 : 0);

        // What the settings dialog changed goes back into the dictionary's settings.
        shown.of(speech::SpeechList::kPrimary).espeak.voice_id = "en-gb";
        shown.of(speech::SpeechList::kPrimary).espeak.speed = 180;
        speech.giveBackSettings(SlotId::kMain);
        const wordbay::DictionarySettings kept = m_controller->slot(SlotId::kMain).settings();
        QCOMPARE(kept.voice(ListSide::kPrimary, SpeechEngine::kEspeak).voice_id,
                 std::string("en-gb"));
        QCOMPARE(kept.voice(ListSide::kPrimary, SpeechEngine::kEspeak).speed, 180);
        QCOMPARE(kept.voice(ListSide::kSecondary, SpeechEngine::kEspeak).voice_id,
                 std::string("hr"));
    }

    // Only loaded dictionaries start engines, only those their voices use; an
    // engine that can't start says so in a box of its own. Speaking with no
    // engine started, and stopping, do nothing.
    void theEnginesStartForTheVoicesInUseAndSayWhichFailed() {
        MainSpeech speech(m_window.get(), nullptr, m_controller.get());
        {
            // A box would show, and be pressed, within the call.
            ModalScript none({press(kIdOk)});
            speech.startEngines();
            QVERIFY(load());
            speech.takeSettings(SlotId::kMain, m_controller->slot(SlotId::kMain));
            for (auto list : {speech::SpeechList::kPrimary, speech::SpeechList::kSecondary}) {
                speech::ListSpeechSettings& voices =
                    speech.pane(SlotId::kMain)->settings().of(list);
                voices.espeak.use = voices.sapi4.use = voices.sapi5.use = 0;
            }
            speech.startEngines();
            QVERIFY(none.texts().isEmpty());
        }
        speech.pane(SlotId::kMain)->settings().of(speech::SpeechList::kSecondary).sapi4.use = 1;
        ModalScript failed({press(kIdOk)});
        speech.startEngines();
        QVERIFY(failed.done());
        QCOMPARE(failed.texts(), QStringList{QString::fromUtf8(
                                     wordbay::UiText(wordbay::TextId::MSG_CANT_ACTIVATE_SAPI4))});
        speech.speak(SlotId::kMain, ListSide::kSecondary, "kuća");
        speech.stop();
    }

    void theHotKeysWordsGoToTheWindowItCalls() {
        QVERIFY(load());
        m_windows->create();
        PopupForm* popup = m_windows->popup();
        PopupTooltipForm* tooltip = m_windows->tooltip();
        QVERIFY(popup != nullptr && tooltip != nullptr);
        m_program.main_on_top = false;

        m_program.hot_key_target = wordbay::HotKeyTarget::kPopup;
        m_windows->showHotKeyList(wordbay::WordList::Copy({"dom", "sat"}, m_controller->epoch()));
        QCOMPARE(rows(popup->list()), (QStringList{"dom", "sat"}));
        QCOMPARE(popup->statusText(), QStringLiteral("Croatian: 2"));
        QVERIFY(popup->isVisible());
        QVERIFY(!tooltip->isVisible());
        popup->hide();

        m_program.hot_key_target = wordbay::HotKeyTarget::kTooltip;
        m_windows->showHotKeyList(wordbay::WordList::Copy({"drvo"}, m_controller->epoch()));
        QVERIFY(tooltip->isVisible());
        QVERIFY(!popup->isVisible());
        QCOMPARE(popup->list()->count(), 2);  // the popup keeps what it had
        tooltip->hide();

        // With the main window on top the hot key calls no other window.
        m_program.main_on_top = true;
        m_windows->showHotKeyList(wordbay::WordList::Copy({"sat"}, m_controller->epoch()));
        QVERIFY(!tooltip->isVisible());
        QVERIFY(!popup->isVisible());

        // The popup kept on top takes that place from the main window.
        m_program.main_on_top = false;
        m_program.hot_key_target = wordbay::HotKeyTarget::kPopup;
        const int changes = m_stateChanges;
        m_windows->setPopupOnTop(true);
        QVERIFY(m_program.popup_on_top);
        QCOMPARE(m_mainLeftTop, 1);
        QCOMPARE(m_stateChanges, changes + 1);
        QVERIFY(popup->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(popup->isVisible());
        m_windows->setPopupOnTop(false);
        QVERIFY(!m_program.popup_on_top);
        QVERIFY(!popup->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!popup->isVisible());
    }

    // Each kind of control reaches the part that handles it: a menu item,
    // its button, a pane's box and its direction button.
    void theMainWindowsCommandsReachTheirParts() {
        ProgramFolder folder(housePairs());
        QVERIFY(folder.ok());
        std::unique_ptr<MainForm> form = folder.openWindow();
        QVERIFY(form != nullptr);
        auto options = [&form] { return form->controller()->settings().options(); };

        form->commandAction(cmd::kUseWildcards)->trigger();
        QVERIFY(options().wildcards);
        QVERIFY(form->commandAction(cmd::kUseWildcards)->isChecked());
        emit form->buttonBar()->button(cmd::kUseWildcards)->activated();
        QVERIFY(!options().wildcards);

        DictionaryPane* pane = form->pane(SlotId::kMain);
        const bool forward = pane->primaryToSecondary();
        form->commandAction(cmd::kChangeDirection)->trigger();
        QTRY_COMPARE(pane->primaryToSecondary(), !forward);
        emit pane->directionButton()->activated();
        QTRY_COMPARE(pane->primaryToSecondary(), forward);
        QTRY_VERIFY(!form->controller()->busy());

        const ListSide source = pane->sourceSide();
        pane->edit(source)->setText(QStringLiteral("hou"));
        QTRY_VERIFY(rows(pane->list(source)).contains(QStringLiteral("house")));

        form->commandAction(cmd::kEditMode)->trigger();
        QVERIFY(form->editMode());
        QVERIFY(pane->editModeLook());
        form->commandAction(cmd::kEditMode)->trigger();
        QVERIFY(!form->editMode());

        form->commandAction(cmd::kAlwaysOnTop)->trigger();
        QVERIFY(form->settings().main_on_top);
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        form->commandAction(cmd::kAlwaysOnTop)->trigger();
        QVERIFY(!form->settings().main_on_top);
    }

    void theSettingsPagesReachThePartsThatHandleThem() {
        WindowPresence::Hooks presenceHooks;
        presenceHooks.statesChanged = [] {};
        WindowPresence presence(m_window.get(), nullptr, &m_program, m_windows.get(),
                                std::move(presenceHooks));
        wordbay::DictionarySettings shown;
        MainCommands::Parts parts;
        parts.settings = &m_program;
        parts.controller = m_controller.get();
        parts.presence = &presence;
        parts.windows = m_windows.get();
        parts.shownSettings = &shown;
        MainCommands commands(parts);
        SettingsTarget& target = commands;

        m_program.popup_on_top = true;
        target.interfaceOptionToggled(InterfaceOption::kMainOnTop);
        QVERIFY(m_program.main_on_top);
        QVERIFY(!m_program.popup_on_top);  // one window on top
        QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        target.interfaceOptionToggled(InterfaceOption::kMainOnTop);
        QVERIFY(!m_program.main_on_top);

        const bool toTray = m_program.minimize_to_tray;
        target.interfaceOptionToggled(InterfaceOption::kMinimizeToTray);
        QCOMPARE(m_program.minimize_to_tray, !toTray);
        const bool snap = m_program.popup_to_cursor;
        target.interfaceOptionToggled(InterfaceOption::kSnapPopup);
        QCOMPARE(m_program.popup_to_cursor, !snap);

        target.hotKeyTargetChosen(wordbay::HotKeyTarget::kPopup);
        QCOMPARE(m_program.hot_key_target, wordbay::HotKeyTarget::kPopup);
    }

private:
    wordbay::SearchOptions options() const { return m_controller->settings().options(); }

    // Loads the folder's dictionary into the main slot and waits for it.
    bool load() {
        m_controller->dictionaries().Load(m_folder->paths().database_dir + "/English_Croatian.v03");
        return QTest::qWaitFor(
            [this] { return m_controller->slot(SlotId::kMain).loaded() && !m_controller->busy(); },
            10000);
    }

    void chooseHouse() {
        m_mainPane->edit(ListSide::kPrimary)->setText(QStringLiteral("house"));
        m_modes->typed(SlotId::kMain, ListSide::kPrimary);
        WListBox* words = m_mainPane->list(ListSide::kPrimary);
        QTRY_VERIFY(rows(words).contains(QStringLiteral("house")));
        QTRY_VERIFY(!m_controller->busy());
        words->setCurSel(rows(words).indexOf(QStringLiteral("house")));
        m_modes->selected(SlotId::kMain, ListSide::kPrimary);
    }

    // How many translations `word` has in the loaded dictionary.
    int translationsOf(const char* word) {
        const char* found[8] = {};
        DB_HANDLE db = m_controller->slot(SlotId::kMain).handle();
        return DB_Translate(db, DB_TRANS_PRIMARY_TO_SECONDARY, word, 1, 0, found, 8)->count;
    }

    QObject m_owner;
    wordbay::Catalogue m_catalogue;
    QtFontCatalog m_fonts;
    wordbay::ProgramSettings m_program;
    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<WorkerUpdates> m_updates;
    std::unique_ptr<wordbay::SearchController> m_controller;
    std::unique_ptr<WForm> m_window;
    DictionaryPane* m_mainPane = nullptr;
    DictionaryPane* m_dualPane = nullptr;
    std::unique_ptr<PaneDisplay> m_display;
    std::unique_ptr<SecondaryWindows> m_windows;
    std::unique_ptr<WordEditing> m_editing;
    std::unique_ptr<PaneModes> m_modes;
    int m_stateChanges = 0;
    int m_mainLeftTop = 0;
    int m_broughtToFront = 0;
};

int runMainPartsTests(int argc, char** argv) {
    MainPartsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_parts_test.moc"
