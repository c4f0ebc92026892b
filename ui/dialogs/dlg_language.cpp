#include "ui/dialogs/dlg_language.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <utility>

#include "app/message_table.h"
#include "ui/dialogs/dialog_support.h"

using wordbay::TextId;

namespace {

constexpr char kTemplateName[] = "English-internal.txt";

bool openWithDesktop(const QUrl& url) { return QDesktopServices::openUrl(url); }

QString askForSavePath(QWidget* owner, const QString& proposed) {
    QFileDialog dialog(owner, dialogs::text(TextId::MSG_SAVE), proposed,
                       QStringLiteral("TXT file (*.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

DlgLanguage::UrlOpener& urlOpener() {
    static DlgLanguage::UrlOpener opener = openWithDesktop;
    return opener;
}

DlgLanguage::SavePathChooser& savePathChooser() {
    static DlgLanguage::SavePathChooser chooser = askForSavePath;
    return chooser;
}

QPushButton* makeButton(QWidget* parent, TextId label, const char* name) {
    auto* button = new QPushButton(dialogs::text(label), parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

void DlgLanguage::setUrlOpener(UrlOpener opener) {
    urlOpener() = opener ? std::move(opener) : UrlOpener(openWithDesktop);
}

void DlgLanguage::setSavePathChooser(SavePathChooser chooser) {
    savePathChooser() = chooser ? std::move(chooser) : SavePathChooser(askForSavePath);
}

DlgLanguage::DlgLanguage(std::string languageDir, std::string currentFile, QWidget* parent)
    : WDialog(parent)
    , m_languageDir(std::move(languageDir))
    , m_currentFile(std::move(currentFile)) {
    setObjectName("dlgLanguage");
    setWindowTitle(dialogs::text(TextId::MSG_CHANGE_INTERFACE_LANGUAGE));
    auto* label = new QLabel(dialogs::text(TextId::MSG_SELECT_INTERFACE_LANGUAGE), this);
    m_list = dialogs::createReportList(this, "languageList",
                                       {{TextId::MSG_LANGUAGE, 140},
                                        {TextId::MSG_AUTHOR, 100},
                                        {TextId::MSG_DESCRIPTION, 220},
                                        {TextId::MSG_VERSION, 60},
                                        {TextId::MSG_FILENAME, 150}});
    QPushButton* save = makeButton(this, TextId::MSG_SAVE_INTERNAL_LANGUAGE, "saveInternalButton");
    QPushButton* edit = makeButton(this, TextId::MSG_EDIT, "editButton");
    QPushButton* accept = makeButton(this, TextId::MSG_CHANGE, "acceptButton");
    accept->setDefault(true);
    QPushButton* cancel = makeButton(this, TextId::MSG_CANCEL, "cancelButton");
    connect(save, &QPushButton::clicked, this, &DlgLanguage::saveInternal);
    connect(edit, &QPushButton::clicked, this, &DlgLanguage::editSelected);
    addButton(accept, kIdOk);
    addButton(cancel, kIdCancel);

    dialogs::layOutListDialog(this, label, m_list, {save, edit}, {accept, cancel});
    // The five columns, the frame and the scroll bar.
    resize(720, 300);

    fillList(-1);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this] { onOk(); });
}

DlgLanguage::~DlgLanguage() = default;

void DlgLanguage::fillList(int select) {
    m_entries = wordbay::ListLanguages(m_languageDir);
    m_list->setRowCount(0);
    for (const wordbay::LanguageEntry& entry : m_entries) {
        dialogs::appendRow(m_list,
                           {QString::fromUtf8(entry.language), QString::fromUtf8(entry.author),
                            QString::fromUtf8(entry.description), QString::fromUtf8(entry.version),
                            entry.internal ? QString::fromUtf8(entry.file_name)
                                           : dialogs::pathText(entry.file_name)});
    }
    if (select < 0 || select >= int(m_entries.size())) {
        select = int(wordbay::CurrentLanguageEntry(m_entries, m_currentFile));
    }
    dialogs::selectRow(m_list, select);
}

const wordbay::LanguageEntry* DlgLanguage::selectedEntry() {
    const int row = dialogs::selectedRow(m_list);
    if (row < 0 || row >= int(m_entries.size())) {
        dialogs::showMessage(this, dialogs::text(TextId::MSG_SELECT_LANGUAGE), TextId::MSG_ERROR,
                             kMbOk | kMbIconStop);
        return nullptr;
    }
    return &m_entries[std::size_t(row)];
}

void DlgLanguage::onOk() {
    const wordbay::LanguageEntry* entry = selectedEntry();
    if (entry == nullptr) return;
    m_chosenFile = entry->internal ? std::string() : entry->file_name;
    endDialog(kIdOk);
}

void DlgLanguage::editSelected() {
    const wordbay::LanguageEntry* selected = selectedEntry();
    if (selected == nullptr) return;
    const wordbay::LanguageEntry& entry = *selected;
    if (entry.internal) {
        dialogs::showMessage(this, dialogs::text(TextId::MSG_CANT_EDIT_INTERNAL_LANGUAGE),
                             TextId::MSG_ERROR, kMbOk | kMbIconStop);
        return;
    }
    const std::string path = wordbay::LanguagePath(m_languageDir, entry.file_name);
    if (!urlOpener()(QUrl::fromLocalFile(dialogs::pathText(path)))) {
        // No program of the desktop took the file: say which file it was, so
        // that the user can open it by hand.
        dialogs::showMessage(this, dialogs::pathText(path), TextId::MSG_ERROR, kMbOk | kMbIconStop);
        return;
    }
    endDialog(kIdCancel);
}

void DlgLanguage::saveInternal() {
    // The dialog starts in the language folder, made when it is missing.
    QDir().mkpath(dialogs::pathText(m_languageDir));
    const QString proposed = dialogs::pathText(wordbay::LanguagePath(m_languageDir, kTemplateName));
    const QString chosen = savePathChooser()(this, proposed);
    if (chosen.isEmpty()) return;
    const std::string path = dialogs::pathBytes(chosen);
    if (!wordbay::ExportInternalEnglish(path)) {
        dialogs::showMessage(
            this, QStringLiteral("%1\n\n%2").arg(dialogs::text(TextId::MSG_SAVING_ERROR), chosen),
            TextId::MSG_ERROR, kMbOk | kMbIconStop);
        return;
    }
    // A template saved into the language folder shows in the list at once.
    fillList(dialogs::selectedRow(m_list));
    dialogs::showMessage(this, dialogs::text(TextId::MSG_INTERNAL_LANGUAGE_SAVED), TextId::MSG_OK,
                         kMbOk | kMbIconInformation);
}
