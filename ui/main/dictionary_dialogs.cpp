#include "ui/main/dictionary_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>
#include <mutex>

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
#include "ui/widgets/ui_text.h"

using wordbay::SlotId;
using wordbay::TextId;

DictionaryDialogs::DictionaryDialogs(QWidget* window, const wordbay::ProgramPaths* paths,
                                     wordbay::Catalogue* catalogue,
                                     wordbay::SearchController* controller, wordbay::MainView* view,
                                     const MessageBoxButtonTable* buttons)
    : m_window(window)
    , m_paths(paths)
    , m_catalogue(catalogue)
    , m_controller(controller)
    , m_view(view)
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

void DictionaryDialogs::importExport(int id) {
    const bool exporting = id == cmd::kExport;
    const bool updating = id == cmd::kUpdate;
    if ((exporting || updating) && !mainLoaded()) {
        QApplication::beep();
        return;
    }
    DlgPlugin formats(exporting  ? DlgPlugin::Mode::kExport
                      : updating ? DlgPlugin::Mode::kUpdate
                                 : DlgPlugin::Mode::kImport,
                      nullptr, m_window);
    if (formats.exec() != kIdOk) return;
    const QString name = formats.formatName();
    const QString databaseDir = QString::fromStdString(m_paths->database_dir);
    const QString filter = QStringLiteral("%1 (*.%2)").arg(name, formats.extension());
    QString path;
    if (formats.namesFolder()) {
        path = QFileDialog::getExistingDirectory(
            m_window, QStringLiteral("%1 %2").arg(uiText(TextId::MSG_SELECT_DIRECTORY_OF), name),
            databaseDir);
    } else if (exporting) {
        path = QFileDialog::getSaveFileName(
            m_window, QStringLiteral("%1 %2").arg(uiText(TextId::MSG_SAVE), name),
            exportProposal(formats.formatCode()), filter);
    } else {
        path = QFileDialog::getOpenFileName(
            m_window, QStringLiteral("%1 %2").arg(uiText(TextId::MSG_OPEN), name), databaseDir,
            filter);
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
        DlgInfo description(DlgInfo::Mode::kImport, {}, m_window);
        if (description.exec() != kIdOk) return;
        request.info = description.info();
        request.texts = description.typedTexts();
        request.primary_locale = description.info().primary_locale;
        request.secondary_locale = description.info().secondary_locale;
    }
    m_controller->StartImport(std::move(request));
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
    m_catalogue->Scan(m_paths->database_dir, m_view);
    m_controller->StartLoad(create.createdPath());
}

void DictionaryDialogs::editDictionaryInfo() {
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
    DlgInfo info(DlgInfo::Mode::kOpenDictionary, inputs, m_window);
    bool changed = false;
    QObject::connect(&info, &DlgInfo::infoChanged, m_window, [&changed] { changed = true; });
    info.exec();
    engine.unlock();
    // The re-sort job (kJobResort) sorts the lists whose language changed
    // and takes up the new description.
    if (changed || info.resortLists() != 0) m_controller->StartResort(info.resortLists());
}

void DictionaryDialogs::loadDual() {
    if (!m_controller->options().dual_mode) {
        QApplication::beep();
        return;
    }
    const QString path = chooseDictionary();
    if (!path.isEmpty()) m_controller->StartLoadDual(path.toStdString());
}

void DictionaryDialogs::changeDictionary() {
    const QString path = chooseDictionary();
    if (!path.isEmpty()) m_controller->StartLoad(path.toStdString());
}
