// The commands that open dialogs: choosing, importing, updating and exporting
// dictionaries, the interface language, help and about.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QUrl>

#include "app/interface_language.h"
#include "app/message_table.h"
#include "app/program_dir.h"
#include "app/search_controller.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/main_form.h"
#include "ui/main/status_strip.h"
#include "ui/main/tray_icon.h"

#if __has_include("ui/dialogs/dlg_plugin.h")
#include "ui/dialogs/dlg_plugin.h"
#define WORDBAY_DLG_PLUGIN 1
#endif
#if __has_include("ui/dialogs/dlg_load_dic.h")
#include "ui/dialogs/dlg_load_dic.h"
#define WORDBAY_DLG_LOAD_DIC 1
#endif
#if __has_include("ui/dialogs/dlg_about.h")
#include "ui/dialogs/dlg_about.h"
#define WORDBAY_DLG_ABOUT 1
#endif

using wordbay::SlotId;
using wordbay::TextId;
using wordbay::UiText;

namespace {

QString text(TextId id) { return QString::fromUtf8(UiText(id)); }

// The help page and topic the Help command opens, beside the executable.
constexpr char kHelpPage[] = "help/oprogramu.htm";
constexpr char kHelpTopic[] = "kx_oprogramu";

}  // namespace

QString MainForm::chooseDictionary(bool dual) {
    const QString databaseDir = QString::fromStdString(m_paths.database_dir);
#ifdef WORDBAY_DLG_LOAD_DIC
    (void)dual;
#endif
    QString title = text(dual ? TextId::MENU_LOAD_DUAL : TextId::MSG_CHANGE_DICTIONARY);
    return QFileDialog::getOpenFileName(this, title.remove(QLatin1Char('&')), databaseDir,
                                        QStringLiteral("KX3 database (*.v03)"));
}

void MainForm::importExport(int id) {
#ifdef WORDBAY_DLG_PLUGIN
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
            this, QStringLiteral("%1 %2").arg(text(TextId::MSG_SAVE), name), proposal,
            QStringLiteral("%1 (*.%2)").arg(name, formats.extension()));
    } else {
        path = QFileDialog::getOpenFileName(
            this, QStringLiteral("%1 %2").arg(text(TextId::MSG_OPEN), name), databaseDir,
            QStringLiteral("%1 (*.%2)").arg(name, formats.extension()));
    }
    if (path.isEmpty()) return;
    if (exporting) {
        m_controller->StartExport(formats.formatCode(), path.toStdString());
    } else if (updating) {
        m_controller->StartUpdate(formats.formatCode(), path.toStdString());
    } else {
        wordbay::ImportRequest request;
        request.format = formats.formatCode();
        request.path = path.toStdString();
        m_controller->StartImport(std::move(request));
    }
#else
    (void)id;
#endif
}

void MainForm::createNewDictionary() {}

void MainForm::editDictionaryInfo() {}

void MainForm::showAbout() {
#ifdef WORDBAY_DLG_ABOUT
    DlgAbout about(this);
    about.exec();
#endif
}

void MainForm::chooseInterfaceLanguage() {
    const std::vector<wordbay::LanguageEntry> entries =
        wordbay::ListLanguages(m_paths.language_dir);
    QStringList names;
    for (const wordbay::LanguageEntry& entry : entries) {
        names << (entry.internal ? QString::fromStdString(entry.language)
                                 : QStringLiteral("%1  (%2)").arg(
                                       QString::fromStdString(entry.language),
                                       QString::fromStdString(entry.file_name)));
    }
    const int current =
        static_cast<int>(wordbay::CurrentLanguageEntry(entries, m_settings.language));
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        this, text(TextId::MSG_CHANGE_INTERFACE_LANGUAGE),
        text(TextId::MSG_SELECT_INTERFACE_LANGUAGE), names, current, false, &ok);
    if (!ok) return;
    const auto index = static_cast<std::size_t>(names.indexOf(chosen));
    if (index >= entries.size()) return;
    const std::string file = entries[index].internal ? std::string() : entries[index].file_name;
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
    QUrl page = QUrl::fromLocalFile(
        QDir(QString::fromStdString(wordbay::ExecutableDir())).filePath(QLatin1String(kHelpPage)));
    page.setFragment(QLatin1String(kHelpTopic));
    QDesktopServices::openUrl(page);
}

void MainForm::onHelp() { openHelp(); }
