#include "ui/dialogs/dlg_load_dic.h"

#include <unistd.h>

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <utility>

#include "app/dictionary_settings.h"
#include "platform/locale.h"
#include "ui/dialogs/dialog_support.h"

using wordbay::TextId;

namespace {

// The name column: "<primary list> - <secondary list>", each in its own code
// page.
QString listNames(const DICTIONARY_INFO& info) {
    return QStringLiteral("%1 - %2").arg(
        dialogs::fieldText(platform::ListCodePage(info.primary_locale, info.primary_charset),
                           info.primary_list_name),
        dialogs::fieldText(platform::ListCodePage(info.secondary_locale, info.secondary_charset),
                           info.secondary_list_name));
}

}  // namespace

DlgLoadDic::DlgLoadDic(Mode mode, wordbay::Catalogue& catalogue, std::string currentPath,
                       QWidget* parent)
    : WDialog(parent), m_catalogue(catalogue), m_currentPath(std::move(currentPath)) {
    setObjectName("dlgLoadDic");
    const bool change = mode == Mode::kChange;
    setWindowTitle(
        dialogs::text(change ? TextId::MSG_CHANGE_DICTIONARY : TextId::MSG_UPDATE_DICTIONARY));
    auto* label = new QLabel(dialogs::text(change ? TextId::MSG_SELECT_DICTIONARY_TO_LOAD
                                                  : TextId::MSG_SELECT_DICTIONARY_TO_UPDATE),
                             this);
    m_list = dialogs::createReportList(this, "dictionaryList",
                                       {{TextId::MSG_NAME, 140},
                                        {TextId::MSG_AUTHOR, 100},
                                        {TextId::MSG_DESCRIPTION, 220},
                                        {TextId::MSG_NUMBER_OF_WORDS, 70},
                                        {TextId::MSG_FILENAME, 150}});
    auto* remove = new QPushButton(dialogs::text(TextId::MSG_DELETE), this);
    remove->setObjectName("deleteButton");
    remove->setAutoDefault(false);
    auto* accept =
        new QPushButton(dialogs::text(change ? TextId::MSG_CHANGE : TextId::MSG_UPDATE), this);
    accept->setObjectName("acceptButton");
    accept->setDefault(true);
    auto* cancel = new QPushButton(dialogs::text(TextId::MSG_CANCEL), this);
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);
    connect(remove, &QPushButton::clicked, this, &DlgLoadDic::deleteSelected);
    addButton(accept, kIdOk);
    addButton(cancel, kIdCancel);

    dialogs::layOutListDialog(this, label, m_list, {remove}, {accept, cancel});
    resize(720, 320);

    fillList();
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this] { onOk(); });
}

DlgLoadDic::~DlgLoadDic() = default;

void DlgLoadDic::fillList() {
    m_entries = m_catalogue.entries();
    int current = -1;
    for (const wordbay::CatalogueEntry& entry : m_entries) {
        const DICTIONARY_INFO& info = entry.info;
        // The dictionary's own texts are in the primary list's code page.
        const std::uint32_t page =
            platform::ListCodePage(info.primary_locale, info.primary_charset);
        const int row = dialogs::appendRow(
            m_list,
            {listNames(info), dialogs::fieldText(page, info.author),
             dialogs::fieldText(page, info.description),
             QString::number(qulonglong(info.primary_word_count) + info.secondary_word_count),
             dialogs::pathText(dialogs::fileNameOf(entry.path))});
        if (current < 0 && !m_currentPath.empty() && entry.path == m_currentPath) current = row;
    }
    dialogs::selectRow(m_list, current);
}

void DlgLoadDic::onOk() {
    const int row = dialogs::selectedRow(m_list);
    if (row < 0 || row >= int(m_entries.size())) {
        dialogs::showMessage(this, dialogs::text(TextId::MSG_SELECT_DICTIONARY), TextId::MSG_ERROR,
                             kMbOk | kMbIconExclamation);
        return;
    }
    m_chosenPath = m_entries[std::size_t(row)].path;
    endDialog(kIdOk);
}

void DlgLoadDic::deleteSelected() {
    const int row = dialogs::selectedRow(m_list);
    if (row < 0 || row >= int(m_entries.size())) {
        dialogs::showMessage(this, dialogs::text(TextId::MSG_SELECT_DICTIONARY), TextId::MSG_ERROR,
                             kMbOk | kMbIconExclamation);
        return;
    }
    const std::string path = m_entries[std::size_t(row)].path;
    const QString question = QStringLiteral("%1\n\n%2")
                                 .arg(dialogs::text(TextId::MSG_DO_YOU_WANT_TO_DELETE_DICTIONARY),
                                      m_list->item(row, 0)->text());
    if (dialogs::showMessage(this, question, TextId::MSG_DELETE_DICTIONARY_QUESTION,
                             kMbYesNoCancel | kMbIconQuestion) != kIdYes) {
        return;
    }
    if (unlink(path.c_str()) != 0) {
        dialogs::showMessage(
            this,
            QStringLiteral("%1\n\n%2")
                .arg(dialogs::text(TextId::MSG_CANT_DELETE_FILE), dialogs::pathText(path)),
            TextId::MSG_ERROR, kMbOk | kMbIconStop);
        return;
    }
    // A dictionary without settings has no settings file: nothing to report.
    unlink(wordbay::DictionarySettingsPath(path).c_str());
    m_deleted.push_back(path);

    // Remove the entry by its path: the row index and the catalogue index
    // agree unless the catalogue was rebuilt meanwhile.
    const std::vector<wordbay::CatalogueEntry> entries = m_catalogue.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].path == path) {
            m_catalogue.remove(i);
            break;
        }
    }
    m_entries.erase(m_entries.begin() + row);
    m_list->removeRow(row);
    m_list->clearSelection();
}
