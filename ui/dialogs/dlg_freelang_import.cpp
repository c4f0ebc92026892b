#include "ui/dialogs/dlg_freelang_import.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "platform/locale.h"
#include "ui/dialogs/dialog_support.h"
#include "ui/widgets/code_page_text.h"

using wordbay::TextId;

DlgFreelangImport::DlgFreelangImport(Mode mode, std::vector<wordbay::FreelangEntry>& entries,
                                     QWidget* parent)
    : WDialog(parent), m_mode(mode), m_entries(entries) {
    setObjectName("dlgFreelangImport");
    const bool importing = mode == Mode::kImport;
    setWindowTitle(
        dialogs::text(importing ? TextId::MSG_IMPORT_FREELANG : TextId::MSG_UPDATE_WITH_FREELANG));
    auto* label = new QLabel(dialogs::text(importing ? TextId::MSG_SELECT_DICTIONARY_TO_IMPORT
                                                     : TextId::MSG_SELECT_DICTIONARY_TO_UPDATE),
                             this);
    m_list = dialogs::createReportList(
        this, "freelangList",
        {{TextId::MSG_NAME, 150}, {TextId::MSG_LANGUAGE_LOCALE, 130}, {TextId::MSG_CHARSET, 110}});
    for (const wordbay::FreelangEntry& entry : m_entries) {
        // The short name becomes the primary list name, in the code page of
        // the language's locale.
        const std::uint32_t codePage =
            platform::CodePageOf(wordbay::FreelangLocale(entry.language_name));
        const int row = dialogs::appendRow(
            m_list,
            {QStringLiteral("%1 - English").arg(decodeText(codePage, entry.short_name)),
             decodeText(codePage, entry.language_name), dialogs::charsetName(entry.charset)});
        if (importing) {
            QTableWidgetItem* item = m_list->item(row, 0);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(entry.chosen ? Qt::Checked : Qt::Unchecked);
        }
    }

    auto* accept =
        new QPushButton(dialogs::text(importing ? TextId::MSG_IMPORT : TextId::MSG_UPDATE), this);
    accept->setObjectName("acceptButton");
    accept->setDefault(true);
    auto* cancel = new QPushButton(dialogs::text(TextId::MSG_CANCEL), this);
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);
    addButton(accept, kIdOk);
    addButton(cancel, kIdCancel);
    dialogs::layOutListDialog(this, label, m_list, {}, {accept, cancel});
    resize(460, 320);

    if (!importing) connect(m_list, &QTableWidget::cellDoubleClicked, this, [this] { onOk(); });
}

DlgFreelangImport::~DlgFreelangImport() = default;

void DlgFreelangImport::onOk() {
    const int rows = int(m_entries.size());
    if (m_mode == Mode::kImport) {
        bool any = false;
        for (int row = 0; row < rows; ++row) {
            any = any || m_list->item(row, 0)->checkState() == Qt::Checked;
        }
        if (any) {
            for (int row = 0; row < rows; ++row) {
                m_entries[std::size_t(row)].chosen =
                    m_list->item(row, 0)->checkState() == Qt::Checked;
            }
            endDialog(kIdOk);
            return;
        }
    } else {
        const int row = dialogs::selectedRow(m_list);
        if (row >= 0 && row < rows) {
            m_chosenPath = m_entries[std::size_t(row)].source_path;
            endDialog(kIdOk);
            return;
        }
    }
    dialogs::showMessage(this, dialogs::text(TextId::MSG_SELECT_FREELANG_DICTIONARY),
                         TextId::MSG_ERROR, kMbOk | kMbIconExclamation);
}
