#include "ui/dialogs/dlg_plugin.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <utility>

#include "exchange/import_export.h"
#include "ui/dialogs/dialog_support.h"

using wordbay::TextId;

namespace {

template <std::size_t N>
QString latin1Field(const char (&field)[N]) {
    return QString::fromLatin1(field, qsizetype(strnlen(field, N)));
}

// A format's extension; that of a dictd database is longer than its
// record's field holds.
QString extensionOf(const DB_FORMAT_RECORD& format) {
    if (const auto travelling = exchange::FormatOfNumber(format.format)) {
        return QString::fromLatin1(exchange::FileExtension(*travelling));
    }
    return latin1Field(format.extension);
}

}  // namespace

DlgPlugin::DlgPlugin(Mode mode, DB_HANDLE handle, QWidget* parent)
    : DlgPlugin(mode, readFormats(mode, handle), parent) {}

DlgPlugin::DlgPlugin(Mode mode, std::vector<DB_FORMAT_RECORD> formats, QWidget* parent)
    : WDialog(parent), m_mode(mode), m_formats(std::move(formats)) {
    setObjectName("dlgPlugin");
    const bool exporting = mode == Mode::kExport;
    setWindowTitle(dialogs::text(mode == Mode::kImport ? TextId::MSG_IMPORTING_DATABASE
                                 : exporting           ? TextId::MSG_EXPORTING_DATABASE
                                                       : TextId::MSG_UPDATE_DICTIONARY));

    auto* label = new QLabel(dialogs::text(TextId::MSG_SELECT_DATABASE_FORMAT), this);
    m_list = dialogs::createReportList(this, "formatList",
                                       {{TextId::MSG_NAME, 150},
                                        {TextId::MSG_EXTENSION, 60},
                                        {TextId::MSG_DESCRIPTION, 150},
                                        {TextId::MSG_AUTHOR, 100},
                                        {TextId::MSG_VERSION, 60}});
    auto* help = new QPushButton(dialogs::text(TextId::MSG_HELP), this);
    help->setObjectName("helpButton");
    help->setAutoDefault(false);
    m_accept = new QPushButton(dialogs::text(mode == Mode::kImport ? TextId::MSG_IMPORT
                                             : exporting           ? TextId::MSG_EXPORT
                                                                   : TextId::MSG_UPDATE),
                               this);
    m_accept->setObjectName("acceptButton");
    m_accept->setDefault(true);
    auto* cancel = new QPushButton(dialogs::text(TextId::MSG_CANCEL), this);
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(helpTopic()); });
    addButton(m_accept, kIdOk);
    addButton(cancel, kIdCancel);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(m_accept);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(560, 330);  // every format without scrolling

    std::stable_sort(m_formats.begin(), m_formats.end(),
                     [](const DB_FORMAT_RECORD& a, const DB_FORMAT_RECORD& b) {
                         return strncmp(a.name, b.name, sizeof a.name) < 0;
                     });
    for (const DB_FORMAT_RECORD& format : m_formats) {
        dialogs::appendRow(
            m_list, {latin1Field(format.name), extensionOf(format), latin1Field(format.description),
                     latin1Field(format.author),
                     QStringLiteral("%1.%2").arg(format.version_major).arg(format.version_minor)});
    }
    m_accept->setEnabled(!m_formats.empty());
    // Double-clicking a format chooses it.
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this] { onOk(); });
}

DlgPlugin::~DlgPlugin() = default;

std::vector<DB_FORMAT_RECORD> DlgPlugin::readFormats(Mode mode, DB_HANDLE handle) {
    std::vector<DB_FORMAT_RECORD> formats;
    DB_HANDLE own = nullptr;
    if (handle == nullptr) {
        const DB_RESULT* created = DB_CreateHandle();
        if (created == nullptr || created->status == 0) return formats;
        own = handle = created->handle;
    }
    const DB_RESULT* result = DB_GetPluginList(handle, mode == Mode::kExport ? 2 : 1);
    if (result != nullptr && result->status != 0 && result->items != nullptr && result->count > 0) {
        // The records belong to the handle: keep copies.
        const auto* records = static_cast<const DB_FORMAT_RECORD*>(result->items);
        formats.assign(records, records + result->count);
    }
    if (own != nullptr) DB_DestroyHandle(own);
    // The formats other dictionary programs read are imported and exported
    // beside the engine; an update merges only what the engine loads.
    if (mode != Mode::kUpdate) {
        for (const DB_FORMAT_RECORD& record :
             exchange::FormatRecords(mode == Mode::kExport ? 2 : 1)) {
            formats.push_back(record);
        }
    }
    return formats;
}

QString DlgPlugin::formatName() const { return latin1Field(m_chosen.name); }

QString DlgPlugin::extension() const { return extensionOf(m_chosen); }

QString DlgPlugin::helpTopic() const {
    switch (m_mode) {
        case Mode::kImport:
            return QStringLiteral("import");
        case Mode::kExport:
            return QStringLiteral("export");
        case Mode::kUpdate:
            break;
    }
    return QStringLiteral("update");
}

void DlgPlugin::onOk() {
    // Enter reaches here even while the accept button is disabled.
    if (!m_accept->isEnabled()) return;
    const int row = dialogs::selectedRow(m_list);
    if (row < 0 || row >= int(m_formats.size())) {
        dialogs::showMessage(this, dialogs::text(TextId::MSG_SELECT_DATABASE_FORMAT),
                             TextId::MSG_ERROR, kMbOk | kMbIconExclamation);
        return;
    }
    m_chosen = m_formats[std::size_t(row)];
    endDialog(kIdOk);
}
