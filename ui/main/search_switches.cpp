#include "ui/main/search_switches.h"

#include <QApplication>
#include <QString>

#include "app/search_controller.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/search_edit.h"
#include "ui/main/status_strip.h"

using wordbay::ListSide;
using wordbay::SlotId;

SearchSwitches::SearchSwitches(wordbay::SearchController* controller, DictionaryPane* mainPane,
                               StatusStrip* status, Hooks hooks)
    : m_controller(controller), m_pane(mainPane), m_status(status), m_hooks(std::move(hooks)) {}

void SearchSwitches::showOptions() {
    const wordbay::SearchOptions o = m_controller->settings().options();
    QString mode;
    if (o.anagram_mode == 1) {
        mode = QStringLiteral("ANAGRAMS 1");
    } else if (o.anagram_mode == 2) {
        mode = QStringLiteral("ANAGRAMS 2");
    } else if (o.anagram_mode == 3) {
        mode = QStringLiteral("ANAGRAM 3");
    } else if (o.regex) {
        mode = QStringLiteral("REG. EXPR.");
    } else if (o.wildcards) {
        mode = QStringLiteral("WILDCARDS");
    }
    m_status->setMode(mode, !mode.isEmpty());
    m_status->setSwitches(o.ignore_accents, o.case_sensitive, o.auto_translate);
}

void SearchSwitches::togglePattern(wordbay::PatternKind kind) {
    wordbay::SearchOptions o = m_controller->settings().options();
    wordbay::TogglePatternKind(&o, kind);
    set(o);
    searchAgain();
}

void SearchSwitches::toggle(bool wordbay::SearchOptions::*option) {
    using O = wordbay::SearchOptions;
    wordbay::SearchOptions o = m_controller->settings().options();
    o.*option = !(o.*option);
    set(o);
    m_hooks.textWindowSwitches(o.case_sensitive, o.ignore_accents);
    if (option == &O::ignore_accents || option == &O::case_sensitive) searchAgain();
    // The titles name the dual dictionary's list while the two are linked.
    if (option == &O::link && !m_controller->busy()) m_hooks.titlesChanged();
}

void SearchSwitches::set(const wordbay::SearchOptions& options) {
    m_controller->settings().SetOptions(options);
    m_hooks.optionsChanged();
}

void SearchSwitches::searchAgain() {
    if (!m_controller->slot(SlotId::kMain).loaded()) return;
    const int focused = m_pane->sideOf(QApplication::focusWidget());
    const ListSide side = focused == 0 ? ListSide::kPrimary : ListSide::kSecondary;
    m_controller->searches().Typed(SlotId::kMain, side, m_pane->edit(side)->encodedText());
}
