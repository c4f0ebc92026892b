#include "ui/main/main_commands.h"

#include <QAction>
#include <QLineEdit>
#include <QShortcut>
#include <string>
#include <utility>

#include "app/program_dir.h"
#include "app/program_settings.h"
#include "app/search_controller.h"
#include "ui/dialogs/dlg_about.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/daily_lists.h"
#include "ui/main/dictionary_dialogs.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/focused_control.h"
#include "ui/main/help_page.h"
#include "ui/main/main_form.h"
#include "ui/main/main_hot_key.h"
#include "ui/main/main_speech.h"
#include "ui/main/pane_modes.h"
#include "ui/main/search_edit.h"
#include "ui/main/search_switches.h"
#include "ui/main/secondary_windows.h"
#include "ui/main/tray_icon.h"
#include "ui/main/window_presence.h"
#include "ui/main/word_editing.h"
#include "ui/text/text_window.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_list_box.h"

using wordbay::ListSide;
using wordbay::SlotId;

MainCommands::MainCommands(const Parts& parts) : m_parts(parts) {}

void MainCommands::connectAll() {
    connectPanes();
    connectDictionaryCommands();
    connectEditingCommands();
    connectWindowCommands();
}

// What a command does runs whenever it is chosen from the menu, its key or
// its button of the button bar.
template <typename Slot>
void MainCommands::onChosen(int id, Slot slot) {
    m_parts.form->onCommand(id, m_parts.form, slot);
    if (WImageButton* button = m_parts.buttons->button(id))
        QObject::connect(button, &WImageButton::activated, m_parts.form, slot);
}

// The edit boxes and lists of the two panes: typing searches, Enter or Down
// goes into the list, choosing a word looks its translations up, dragging a
// translation in edit mode reorders it. The daily lists see each first.
void MainCommands::connectPanes() {
    for (const SlotId slot : {SlotId::kMain, SlotId::kDual}) {
        DictionaryPane* pane = m_parts.form->pane(slot);
        for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
            SearchEdit* edit = pane->edit(side);
            WListBox* list = pane->list(side);
            QObject::connect(edit, &QLineEdit::textChanged, m_parts.form, [this, slot, side, edit] {
                m_parts.lists->searchTyped(edit);
                m_parts.modes->typed(slot, side);
            });
            QObject::connect(edit, &WEdit::entered, m_parts.form, [this, slot, side] {
                m_parts.lists->entered();
                m_parts.modes->intoList(slot, side);
            });
            QObject::connect(list, &WListBox::rowChosen, m_parts.form, [this, slot, side] {
                m_parts.lists->wordPicked();
                m_parts.modes->selected(slot, side);
            });
            if (slot == SlotId::kMain)
                QObject::connect(list, &WListBox::dragMoved, m_parts.form, [this](int previousRow) {
                    m_parts.modes->translationDragged(previousRow);
                });
        }
        QObject::connect(pane->directionButton(), &WImageButton::activated, m_parts.form,
                         [this, slot] { m_parts.modes->reverseDirection(slot); });
    }
}

// The menu items, keys and buttons of the search switches and of the
// dictionary menu.
void MainCommands::connectDictionaryCommands() {
    using wordbay::PatternKind;
    const std::pair<int, PatternKind> patterns[] = {
        {cmd::kUseWildcards, PatternKind::kWildcards}, {cmd::kUseRegex, PatternKind::kRegex},
        {cmd::kAnagrams1, PatternKind::kAnagramReuse}, {cmd::kAnagrams2, PatternKind::kAnagramOnce},
        {cmd::kAnagrams3, PatternKind::kAnagramExact},
    };
    for (const auto& [id, kind] : patterns)
        onChosen(id, [this, kind = kind] { m_parts.switches->togglePattern(kind); });
    using O = wordbay::SearchOptions;
    const std::pair<int, bool O::*> switches[] = {
        {cmd::kIgnoreAccents, &O::ignore_accents},
        {cmd::kCaseSensitive, &O::case_sensitive},
        {cmd::kAutotranslate, &O::auto_translate},
        {cmd::kUseClipboard, &O::use_clipboard},
        {cmd::kLink, &O::link},
        {cmd::kMultiple, &O::link_all},
    };
    for (const auto& [id, option] : switches)
        onChosen(id, [this, option = option] { m_parts.switches->toggle(option); });

    onChosen(cmd::kSave, [this] { m_parts.controller->dictionaries().Save(); });
    onChosen(cmd::kSaveAs, [this] { m_parts.controller->dictionaries().SaveAs(); });
    onChosen(cmd::kListPalindrome, [this] { m_parts.controller->searches().ListPalindromes(); });
    onChosen(cmd::kListIdentical, [this] { m_parts.controller->searches().ListIdenticalWords(); });
    onChosen(cmd::kChange, [this] { m_parts.dialogs->changeDictionary(); });
    onChosen(cmd::kImport, [this] { m_parts.dialogs->importDictionary(); });
    onChosen(cmd::kUpdate, [this] { m_parts.dialogs->updateDictionary(); });
    onChosen(cmd::kExport, [this] { m_parts.dialogs->exportDictionary(); });
    onChosen(cmd::kCreateNew, [this] { m_parts.dialogs->createNewDictionary(); });
    onChosen(cmd::kDictionaryInfo, [this] { m_parts.dialogs->editDictionaryInfo(); });
    onChosen(cmd::kExit, [this] { m_parts.form->close(); });
}

// Dual mode, edit mode and the panes' editing commands.
void MainCommands::connectEditingCommands() {
    onChosen(cmd::kDualMode, [this] { m_parts.modes->toggleDualMode(); });
    onChosen(cmd::kLoadDual, [this] { m_parts.dialogs->loadDual(); });
    onChosen(cmd::kEditMode, [this] { m_parts.modes->toggleEditMode(); });
    // Changing the dictionary's words works in edit mode only.
    const std::pair<int, void (WordEditing::*)()> changes[] = {
        {cmd::kAddWord, &WordEditing::addTranslation},
        {cmd::kDeleteWord, &WordEditing::deleteSelected},
        {cmd::kChangeWord, &WordEditing::openWordChange},
    };
    for (const auto& [id, change] : changes) {
        onChosen(id, [this, change = change] {
            if (m_parts.form->editMode()) (m_parts.editing->*change)();
        });
    }
    for (const int id : {cmd::kCopy, cmd::kContextCopy}) {
        onChosen(id, [this] {
            // The hot key's own copy key may land here: it copies nothing of ours.
            if (!m_parts.hotKey->readingSelection()) m_parts.focus->copy();
        });
    }
    for (const int id : {cmd::kPaste, cmd::kContextPaste})
        onChosen(id, [this] { m_parts.focus->paste(); });
    const std::pair<int, FocusedControl::Edit> edits[] = {
        {cmd::kUndo, FocusedControl::Edit::kUndo},
        {cmd::kCut, FocusedControl::Edit::kCut},
        {cmd::kSelectAll, FocusedControl::Edit::kSelectAll},
        {cmd::kDelete, FocusedControl::Edit::kDelete},
    };
    for (const auto& [id, edit] : edits)
        onChosen(id, [this, edit = edit] { m_parts.focus->edit(edit); });
    onChosen(cmd::kDropWord, [this] { m_parts.hotKey->dropWord(); });
    onChosen(cmd::kChangeDirection, [this] { m_parts.modes->reverseDirection(SlotId::kMain); });
    onChosen(cmd::kLeave, [this] { m_parts.modes->leave(false); });
    onChosen(cmd::kLeaveToOther, [this] { m_parts.modes->leave(true); });
}

// The program's settings, speech, the other windows and help.
void MainCommands::connectWindowCommands() {
    onChosen(cmd::kInterfaceLanguage, [this] { m_parts.form->chooseInterfaceLanguage(); });
    onChosen(cmd::kAlwaysOnTop,
             [this] { m_parts.presence->setAlwaysOnTop(!m_parts.settings->main_on_top); });
    onChosen(cmd::kUseHotKeys, [this] { hotKeysSwitched(); });
    for (const int id : {cmd::kActivateSpeechMenu, cmd::kActivateSpeechButton})
        onChosen(id, [this] { toggleSpeech(); });
    onChosen(cmd::kSpeak, [this] {
        SlotId slot = SlotId::kMain;
        ListSide side = ListSide::kPrimary;
        std::string word;
        if (m_parts.settings->use_speech && m_parts.focus->word(&slot, &side, &word))
            m_parts.speech->speak(slot, side, word);
    });
    onChosen(cmd::kStopSpeaking, [this] { m_parts.speech->stop(); });
    onChosen(cmd::kTranslateText, [this] { m_parts.windows->showTextWindow(); });
    onChosen(cmd::kStartTranslation, [this] {
        if (m_parts.windows->textWindow()) m_parts.windows->textWindow()->startTranslation();
    });
    onChosen(cmd::kCharmap, [this] { m_parts.windows->showCharmap(); });
    onChosen(cmd::kSettings, [this] { m_parts.form->openSettings(); });
    using wordbay::HotKeyTarget;
    const std::pair<int, HotKeyTarget> targets[] = {
        {cmd::kHotKeysCallMain, HotKeyTarget::kMainWindow},
        {cmd::kHotKeysCallPopup, HotKeyTarget::kPopup},
        {cmd::kHotKeysCallTooltip, HotKeyTarget::kTooltip},
    };
    for (const auto& [id, target] : targets)
        onChosen(id, [this, target = target] { m_parts.presence->setHotKeyTarget(target); });
    onChosen(cmd::kHelpContents, [this] { openHelpPage(*m_parts.paths); });
    onChosen(cmd::kHelpAbout, [this] { DlgAbout(m_parts.form).exec(); });
    QObject::connect(m_parts.tray, &TrayIcon::restoreRequested, m_parts.form,
                     [this] { m_parts.presence->restoreFromTray(); });
    QObject::connect(m_parts.tray, &TrayIcon::aboutRequested, m_parts.form,
                     [this] { DlgAbout(m_parts.form).exec(); });
    QObject::connect(m_parts.tray, &TrayIcon::exitRequested, m_parts.form,
                     [this] { m_parts.form->close(); });
}

void MainCommands::toggleSpeech() {
    m_parts.settings->use_speech = !m_parts.settings->use_speech;
    m_parts.form->updateMenuStates();
    if (m_parts.settings->use_speech) {
        m_parts.speech->startEngines();
    } else {
        m_parts.speech->stop();
    }
}

// ---- What the settings pages change ----------------------------------------

void MainCommands::hotKeysSwitched() {
    m_parts.settings->use_hot_keys = !m_parts.settings->use_hot_keys;
    m_parts.hotKey->install(m_parts.settings->use_hot_keys);
    m_parts.form->updateMenuStates();
}

void MainCommands::hotKeyChosen(int, const char*) { m_parts.hotKey->changeKeys(); }

void MainCommands::hotKeyTargetChosen(wordbay::HotKeyTarget target) {
    m_parts.presence->setHotKeyTarget(target);
}

void MainCommands::interfaceOptionToggled(InterfaceOption option) {
    wordbay::ProgramSettings& s = *m_parts.settings;
    switch (option) {
        case InterfaceOption::kMinimizeToTray:
            s.minimize_to_tray = !s.minimize_to_tray;
            break;
        case InterfaceOption::kMainOnTop:
            m_parts.presence->setAlwaysOnTop(!s.main_on_top);
            break;
        case InterfaceOption::kPopupOnTop:
            m_parts.windows->setPopupOnTop(!s.popup_on_top);
            break;
        case InterfaceOption::kTooltipOnTop:
            m_parts.windows->setTooltipOnTop(!s.tooltip_on_top);
            break;
        case InterfaceOption::kSnapPopup:
            s.popup_to_cursor = !s.popup_to_cursor;
            break;
        case InterfaceOption::kSnapTooltip:
            s.tooltip_to_cursor = !s.tooltip_to_cursor;
            break;
    }
}

void MainCommands::viewChanged(int viewId, int value) {
    m_parts.windows->changeView(viewId, value);
    *m_parts.shownSettings = m_parts.controller->slot(SlotId::kMain).settings();
}
