// The commands that open dialogs: choosing, importing, updating and exporting
// dictionaries, the interface language, the settings, help and about.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <mutex>

#include "app/freelang_directory.h"
#include "app/interface_language.h"
#include "app/message_table.h"
#include "app/program_dir.h"
#include "app/search_controller.h"
#include "ui/dialogs/dlg_about.h"
#include "ui/dialogs/dlg_freelang_import.h"
#include "ui/dialogs/dlg_info.h"
#include "ui/dialogs/dlg_language.h"
#include "ui/dialogs/dlg_load_dic.h"
#include "ui/dialogs/dlg_plugin.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/main_form.h"
#include "ui/main/main_hot_key.h"
#include "ui/main/main_speech.h"
#include "ui/main/status_strip.h"
#include "ui/main/tray_icon.h"
#include "ui/settings/dlg_main.h"
#include "ui/settings/settings_context.h"

using wordbay::ListSide;
using wordbay::SlotId;
using wordbay::TextId;
using wordbay::UiText;

namespace {

QString text(TextId id) { return QString::fromUtf8(UiText(id)); }

// The help page and topic the Help command opens, beside the executable.
constexpr char kHelpPage[] = "oprogramu.htm";
constexpr char kHelpTopic[] = "kx_oprogramu";

}  // namespace

// The main dictionary is selected also when the dual one is chosen.
QString MainForm::chooseDictionary() {
    const std::string current = m_controller->slot(SlotId::kMain).path();
    DlgLoadDic chooser(DlgLoadDic::Mode::kChange, *m_catalogue, current, this);
    if (chooser.exec() != kIdOk) return QString();
    return QString::fromStdString(chooser.chosenPath());
}

void MainForm::importExport(int id) {
    const bool exporting = id == cmd::kExport;
    const bool updating = id == cmd::kUpdate;
    if ((exporting || updating) && !mainLoaded()) {
        QApplication::beep();
        return;
    }
    DlgPlugin formats(exporting  ? DlgPlugin::Mode::kExport
                      : updating ? DlgPlugin::Mode::kUpdate
                                 : DlgPlugin::Mode::kImport,
                      nullptr, this);
    if (formats.exec() != kIdOk) return;
    const QString name = formats.formatName();
    const QString databaseDir = QString::fromStdString(m_paths.database_dir);
    const QString filter = QStringLiteral("%1 (*.%2)").arg(name, formats.extension());
    QString path;
    if (formats.namesFolder()) {
        path = QFileDialog::getExistingDirectory(
            this, QStringLiteral("%1 %2").arg(text(TextId::MSG_SELECT_DIRECTORY_OF), name),
            databaseDir);
    } else if (exporting) {
        const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
        const QString proposal =
            QStringLiteral("%1/%2_%3")
                .arg(databaseDir,
                     QString::fromStdString(main.ListNameUtf8(wordbay::ListSide::kPrimary)),
                     QString::fromStdString(main.ListNameUtf8(wordbay::ListSide::kSecondary)));
        path = QFileDialog::getSaveFileName(
            this, QStringLiteral("%1 %2").arg(text(TextId::MSG_SAVE), name), proposal, filter);
    } else {
        path = QFileDialog::getOpenFileName(
            this, QStringLiteral("%1 %2").arg(text(TextId::MSG_OPEN), name), databaseDir, filter);
    }
    if (path.isEmpty()) return;
    if (exporting) {
        m_controller->StartExport(formats.formatCode(), path.toStdString());
        return;
    }

    wordbay::ImportRequest request;
    request.format = formats.formatCode();
    request.path = path.toStdString();
    if (formats.formatCode() == DB_FORMAT_FREELANG_DIR_LOAD) {
        std::optional<std::vector<wordbay::FreelangEntry>> entries =
            wordbay::ReadFreelangDirectory(request.path);
        if (!entries) {
            messageBox(this, text(TextId::MSG_INVALID_FREELANG_DIR), text(TextId::MSG_FATAL_ERROR),
                       kMbOk | kMbIconStop, &m_buttonTexts);
            return;
        }
        DlgFreelangImport choice(
            updating ? DlgFreelangImport::Mode::kUpdate : DlgFreelangImport::Mode::kImport,
            *entries, this);
        if (choice.exec() != kIdOk) return;
        if (updating) {
            // One language's database is merged as a Freelang file.
            m_controller->StartUpdate(DB_FORMAT_FREELANG_LOAD, choice.chosenPath());
            return;
        }
        if (std::none_of(entries->begin(), entries->end(),
                         [](const wordbay::FreelangEntry& e) { return e.chosen; }))
            return;
        request.freelang = std::move(*entries);
    }
    if (updating) {
        m_controller->StartUpdate(request.format, request.path);
        return;
    }
    if (formats.asksForDescription() && formats.formatCode() != DB_FORMAT_FREELANG_DIR_LOAD) {
        DlgInfo description(DlgInfo::Mode::kImport, {}, this);
        if (description.exec() != kIdOk) return;
        request.info = description.info();
        request.texts = description.typedTexts();
        request.primary_locale = description.info().primary_locale;
        request.secondary_locale = description.info().secondary_locale;
    }
    m_controller->StartImport(std::move(request));
}

void MainForm::createNewDictionary() {
    if (m_controller->busy()) {
        QApplication::beep();
        return;
    }
    DlgInfo::Inputs inputs;
    inputs.databaseDir = m_paths.database_dir;
    inputs.catalogue = m_catalogue.get();
    DlgInfo create(DlgInfo::Mode::kCreate, inputs, this);
    if (create.exec() != kIdOk || create.createdPath().empty()) return;
    m_catalogue->Scan(m_paths.database_dir, m_view.get());
    m_controller->StartLoad(create.createdPath());
}

void MainForm::editDictionaryInfo() {
    // The dialog works on the dictionary itself, which no job may be using.
    std::unique_lock<std::mutex> engine(m_controller->engine_lock(), std::try_to_lock);
    if (!mainLoaded() || m_controller->busy() || !engine.owns_lock()) {
        QApplication::beep();
        return;
    }
    const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
    DlgInfo::Inputs inputs;
    inputs.handle = main.handle();
    inputs.path = main.path();
    DlgInfo info(DlgInfo::Mode::kOpenDictionary, inputs, this);
    bool changed = false;
    connect(&info, &DlgInfo::infoChanged, this, [&changed] { changed = true; });
    info.exec();
    engine.unlock();
    // Job 7 sorts the lists whose language changed and takes up the new
    // description.
    if (changed || info.resortLists() != 0) m_controller->StartResort(info.resortLists());
}

void MainForm::showAbout() {
    DlgAbout about(this);
    about.exec();
}

void MainForm::chooseInterfaceLanguage() {
    DlgLanguage dialog(m_paths.language_dir, m_settings.language, this);
    if (dialog.exec() != kIdOk) return;
    const std::string file = dialog.chosenFile();
    const std::optional<std::string> failure = wordbay::ApplyLanguageChoice(
        &wordbay::Messages(), m_paths.language_dir, file, &m_settings.language);
    if (failure) {
        messageBox(this, QString::fromStdString(*failure), text(TextId::MSG_ERROR),
                   kMbOk | kMbIconStop, &m_buttonTexts);
        return;
    }
    retranslate();
    m_status->setStatusText(QString::fromStdString(m_controller->StatusText()));
    messageBox(this, text(TextId::MSG_INTERFACE_LNG_CHANGED), text(TextId::MSG_INFORMATION),
               kMbOk | kMbIconInformation, &m_buttonTexts);
}

void MainForm::openHelp() {
    openHelpTopic(QStringLiteral("%1#%2").arg(QLatin1String(kHelpPage), QLatin1String(kHelpTopic)));
}

void MainForm::openHelpTopic(const QString& topic) {
    const QString page = topic.section(QLatin1Char('#'), 0, 0);
    const QString anchor = topic.section(QLatin1Char('#'), 1);
    QUrl url = QUrl::fromLocalFile(
        QDir(QString::fromStdString(wordbay::HelpDir(m_paths))).filePath(page));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    QDesktopServices::openUrl(url);
}

void MainForm::onHelp() { openHelp(); }

void MainForm::openSettings() {
    SettingsContext context;
    context.program = &m_settings;
    context.hotKeyNote = m_hotKey->note();
    if (mainLoaded()) {
        const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
        context.dictionary = &main.settings();
        context.primaryListName = main.ListNameUtf8(ListSide::kPrimary);
        context.secondaryListName = main.ListNameUtf8(ListSide::kSecondary);
    }
    if (mainLoaded()) context.speech = m_speech->pane(SlotId::kMain);
    DlgMain dialog(context, this, &m_settingsTab, this);
    dialog.setHelpHandler([this](const QString& topic) { openHelpTopic(topic); });
    dialog.exec();
    // The close writes the start-up message choice from the worker's state.
    m_controller->SetShowSplash(m_settings.show_splash);
    m_speech->giveBackSettings(SlotId::kMain);
}
