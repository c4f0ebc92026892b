#include "ui/main/dictionary_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>

#include "app/catalogue.h"
#include "app/freelang_directory.h"
#include "app/message_table.h"
#include "app/program_dir.h"
#include "app/search_controller.h"
#include "exchange/import_export.h"
#include "ui/dialogs/dlg_freelang_import.h"
#include "ui/dialogs/dlg_info.h"
#include "ui/dialogs/dlg_load_dic.h"
#include "ui/dialogs/dlg_plugin.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/widgets/ui_text.h"

using wordbay::SlotId;
using wordbay::TextId;

DictionaryDialogs::DictionaryDialogs(QWidget* window, const wordbay::ProgramPaths* paths,
                                     wordbay::Catalogue* catalogue,
                                     wordbay::SearchController* controller,
                                     wordbay::StatusUpdates* status, DictionaryPane* mainPane,
                                     const MessageBoxButtonTable* buttons)
    : m_window(window)
    , m_paths(paths)
    , m_catalogue(catalogue)
    , m_controller(controller)
    , m_status(status)
    , m_mainPane(mainPane)
    , m_buttons(buttons) {}

bool DictionaryDialogs::mainLoaded() const { return m_controller->slot(SlotId::kMain).loaded(); }

// The main dictionary is selected also when the dual one is chosen.
QString DictionaryDialogs::chooseDictionary() {
    const std::string current = m_controller->slot(SlotId::kMain).path();
    DlgLoadDic chooser(DlgLoadDic::Mode::kChange, *m_catalogue, current, m_window);
    if (chooser.exec() != kIdOk) return QString();
    return QString::fromStdString(chooser.chosenPath());
}

QString DictionaryDialogs::exportProposal(int format) const {
    // StarDict and dictd take the direction the window shows, which the
    // name says.
    const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
    const bool directed = exchange::FormatOfNumber(format).has_value();
    const wordbay::ListSide from = directed ? main.source_side() : wordbay::ListSide::kPrimary;
    const wordbay::ListSide to = directed ? main.target_side() : wordbay::ListSide::kSecondary;
    return QStringLiteral("%1/%2_%3")
        .arg(QString::fromStdString(m_paths->database_dir),
             QString::fromStdString(main.ListNameUtf8(from)),
             QString::fromStdString(main.ListNameUtf8(to)));
}

void DictionaryDialogs::importDictionary() { formatAndFile(DlgPlugin::Mode::kImport); }

void DictionaryDialogs::updateDictionary() { formatAndFile(DlgPlugin::Mode::kUpdate); }

void DictionaryDialogs::exportDictionary() { formatAndFile(DlgPlugin::Mode::kExport); }

void DictionaryDialogs::formatAndFile(DlgPlugin::Mode mode) {
    if (mode != DlgPlugin::Mode::kImport && !mainLoaded()) {
        QApplication::beep();
        return;
    }
    DlgPlugin formats(mode, nullptr, m_window);
    if (formats.exec() != kIdOk) return;
    const QString path = chooseFile(formats, mode == DlgPlugin::Mode::kExport);
    if (path.isEmpty()) return;
    if (mode == DlgPlugin::Mode::kExport) {
        m_controller->dictionaries().Export(formats.formatCode(), path.toStdString());
        return;
    }
    importOrUpdate(formats, path.toStdString(), mode == DlgPlugin::Mode::kUpdate);
}

QString DictionaryDialogs::chooseFile(const DlgPlugin& formats, bool exporting) {
    const QString name = formats.formatName();
    const QString databaseDir = QString::fromStdString(m_paths->database_dir);
    const QString filter = QStringLiteral("%1 (*.%2)").arg(name, formats.extension());
    if (formats.namesFolder()) {
        return QFileDialog::getExistingDirectory(
            m_window, QStringLiteral("%1 %2").arg(uiText(TextId::MSG_SELECT_DIRECTORY_OF), name),
            databaseDir);
    }
    if (exporting) {
        return QFileDialog::getSaveFileName(
            m_window, QStringLiteral("%1 %2").arg(uiText(TextId::MSG_SAVE), name),
            exportProposal(formats.formatCode()), filter);
    }
    return QFileDialog::getOpenFileName(
        m_window, QStringLiteral("%1 %2").arg(uiText(TextId::MSG_OPEN), name), databaseDir, filter);
}

void DictionaryDialogs::importOrUpdate(const DlgPlugin& formats, const std::string& path,
                                       bool updating) {
    wordbay::ImportRequest request;
    request.format = formats.formatCode();
    request.path = path;
    if (formats.formatCode() == DB_FORMAT_FREELANG_DIR_LOAD) {
        std::optional<std::vector<wordbay::FreelangEntry>> entries =
            wordbay::ReadFreelangDirectory(request.path);
        if (!entries) {
            messageBox(m_window, uiText(TextId::MSG_INVALID_FREELANG_DIR),
                       uiText(TextId::MSG_FATAL_ERROR), kMbOk | kMbIconStop, m_buttons);
            return;
        }
        DlgFreelangImport choice(
            updating ? DlgFreelangImport::Mode::kUpdate : DlgFreelangImport::Mode::kImport,
            *entries, m_window);
        if (choice.exec() != kIdOk) return;
        if (updating) {
            // One language's database is merged as a Freelang file.
            if (confirmUpdate(choice.chosenPath()))
                m_controller->dictionaries().Update(DB_FORMAT_FREELANG_LOAD, choice.chosenPath());
            return;
        }
        if (std::none_of(entries->begin(), entries->end(),
                         [](const wordbay::FreelangEntry& e) { return e.chosen; }))
            return;
        request.freelang = std::move(*entries);
    }
    if (updating) {
        if (confirmUpdate(request.path))
            m_controller->dictionaries().Update(request.format, request.path);
        return;
    }
    if (formats.asksForDescription() && formats.formatCode() != DB_FORMAT_FREELANG_DIR_LOAD) {
        DlgInfo description(DlgInfo::Mode::kImport, {}, m_window);
        if (description.exec() != kIdOk) return;
        request.info = description.info();
        request.texts = description.typedTexts();
        request.primary_locale = description.info().primary_locale;
        request.secondary_locale = description.info().secondary_locale;
    }
    m_controller->dictionaries().Import(std::move(request));
}

bool DictionaryDialogs::confirmUpdate(const std::string& path) {
    // The lists rest while the user decides.
    m_mainPane->setControlsEnabled(false);
    const wordbay::Message question =
        wordbay::UpdateQuestion(m_controller->slot(SlotId::kMain), path);
    const int answer =
        messageBox(m_window, QString::fromStdString(question.text),
                   QString::fromStdString(question.caption), question.style, m_buttons);
    if (answer != kIdYes) m_mainPane->setControlsEnabled(true);
    return answer == kIdYes;
}

void DictionaryDialogs::createNewDictionary() {
    if (m_controller->busy()) {
        QApplication::beep();
        return;
    }
    DlgInfo::Inputs inputs;
    inputs.databaseDir = m_paths->database_dir;
    inputs.catalogue = m_catalogue;
    DlgInfo create(DlgInfo::Mode::kCreate, inputs, m_window);
    if (create.exec() != kIdOk || create.createdPath().empty()) return;
    m_catalogue->Scan(m_paths->database_dir, m_status);
    m_controller->dictionaries().Load(create.createdPath());
}

void DictionaryDialogs::editDictionaryInfo() {
    // The dialog changes the dictionary itself, which no request may be using.
    if (!mainLoaded() || m_controller->busy()) {
        QApplication::beep();
        return;
    }
    const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
    DlgInfo::Inputs inputs;
    inputs.current = main.info_snapshot();
    inputs.path = main.path();
    inputs.apply = [this](const DlgInfo::Change& change) {
        return m_controller->editing().ChangeDescription(m_wait, change);
    };
    DlgInfo info(DlgInfo::Mode::kOpenDictionary, inputs, m_window);
    bool changed = false;
    QObject::connect(&info, &DlgInfo::infoChanged, m_window, [&changed] { changed = true; });
    info.exec();
    // The re-sort sorts the lists whose language changed and takes up the
    // new description.
    if (changed || info.resortLists() != 0) m_controller->dictionaries().Resort(info.resortLists());
}

void DictionaryDialogs::loadDual() {
    if (!m_controller->settings().options().dual_mode) {
        QApplication::beep();
        return;
    }
    const QString path = chooseDictionary();
    if (!path.isEmpty()) m_controller->dictionaries().LoadDual(path.toStdString());
}

void DictionaryDialogs::changeDictionary() {
    const QString path = chooseDictionary();
    if (!path.isEmpty()) m_controller->dictionaries().Load(path.toStdString());
}
