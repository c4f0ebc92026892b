// The dialogs of the program's own settings: the interface language and the
// settings pages; and the help the window opens.
#include <QString>
#include <optional>

#include "app/interface_language.h"
#include "app/message_table.h"
#include "app/search_controller.h"
#include "ui/dialogs/dlg_language.h"
#include "ui/main/daily_lists.h"
#include "ui/main/help_page.h"
#include "ui/main/main_commands.h"
#include "ui/main/main_form.h"
#include "ui/main/main_hot_key.h"
#include "ui/main/main_speech.h"
#include "ui/main/status_strip.h"
#include "ui/settings/dlg_main.h"
#include "ui/settings/settings_context.h"
#include "ui/widgets/ui_text.h"

using wordbay::ListSide;
using wordbay::SlotId;
using wordbay::TextId;

void MainForm::chooseInterfaceLanguage() {
    DlgLanguage dialog(m_paths.language_dir, m_settings.language, this);
    if (dialog.exec() != kIdOk) return;
    const std::string file = dialog.chosenFile();
    const std::optional<std::string> failure = wordbay::ApplyLanguageChoice(
        &wordbay::Messages(), m_paths.language_dir, file, &m_settings.language);
    if (failure) {
        messageBox(this, QString::fromStdString(*failure), uiText(TextId::MSG_ERROR),
                   kMbOk | kMbIconStop, &m_buttonTexts);
        return;
    }
    retranslate();
    m_status->setStatusText(QString::fromStdString(m_controller->StatusText()));
    messageBox(this, uiText(TextId::MSG_INTERFACE_LNG_CHANGED), uiText(TextId::MSG_INFORMATION),
               kMbOk | kMbIconInformation, &m_buttonTexts);
}

void MainForm::onHelp() { openHelpPage(m_paths); }

void MainForm::openSettings() {
    SettingsContext context;
    context.program = &m_settings;
    context.hotKeyNote = m_hotKey->note();
    bool wordForms = false;
    if (mainLoaded()) {
        const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
        m_shownSettings = main.settings();
        context.dictionary = &m_shownSettings;
        wordForms = m_shownSettings.word_forms;
        context.wordForms = &wordForms;
        context.primaryListName = main.ListNameUtf8(ListSide::kPrimary);
        context.secondaryListName = main.ListNameUtf8(ListSide::kSecondary);
    }
    if (mainLoaded()) context.speech = m_speech->pane(SlotId::kMain);
    DlgMain dialog(context, m_commands.get(), &m_settingsTab, this);
    dialog.setHelpHandler([this](const QString& topic) { openHelpPage(m_paths, topic); });
    dialog.exec();
    if (context.wordForms != nullptr && mainLoaded()) {
        m_controller->ChangeSlotSettings(
            SlotId::kMain,
            [wordForms](wordbay::DictionarySettings& s) { s.word_forms = wordForms; });
    }
    // The close writes the start-up message choice from the worker's state.
    const bool splash = m_settings.show_splash;
    m_controller->settings().Change(
        [splash](wordbay::SearchOptions&, wordbay::DictionaryState& state) {
            state.show_splash = splash;
        });
    m_speech->giveBackSettings(SlotId::kMain);
    m_lists->setHistorySize(m_settings.history_size);
}
