#include "ui/dialogs/dialog_support.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <cstring>

#include "platform/locale.h"
#include "ui/widgets/code_page_text.h"

namespace dialogs {

namespace {

constexpr std::array<Charset, 21> kCharsets = {{
    {0, "ANSI"},         {1, "DEFAULT"},   {2, "SYMBOL"},       {128, "SHIFTJIS"},
    {129, "HANGEUL"},    {129, "HANGUL"},  {134, "GB2312"},     {136, "CHINESEBIG5"},
    {255, "OEM"},        {130, "JOHAB"},   {177, "HEBREW"},     {178, "ARABIC"},
    {161, "GREEK"},      {162, "TURKISH"}, {163, "VIETNAMESE"}, {222, "THAI"},
    {238, "EASTEUROPE"}, {204, "RUSSIAN"}, {77, "MAC"},         {186, "BALTIC"},
    {65001, "UTF-8"},  // not a font character set: the list keeps its words in UTF-8
}};

}  // namespace

QString text(wordbay::TextId id) { return QString::fromUtf8(wordbay::UiText(id)); }

MessageBoxButtonTable buttonTable() {
    MessageBoxButtonTable table;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const wordbay::MessageBoxButton& button = wordbay::kMessageBoxButtons[i];
        table[i] = {button.id, text(button.text)};
    }
    return table;
}

int showMessage(QWidget* owner, const QString& message, wordbay::TextId caption, unsigned style) {
    const MessageBoxButtonTable table = buttonTable();
    return messageBox(owner, message, text(caption), style, &table);
}

void reportFailure(QWidget* owner, wordbay::TextId message, const QString& detail,
                   const char* engineMessage) {
    const MessageBoxButtonTable table = buttonTable();
    reportError(owner, text(wordbay::TextId::MSG_FATAL_ERROR), text(message), detail,
                engineMessage != nullptr ? QString::fromUtf8(engineMessage) : QString(), &table);
}

QTableWidget* createReportList(QWidget* parent, const QString& objectName,
                               std::initializer_list<Column> columns) {
    auto* list = new QTableWidget(0, int(columns.size()), parent);
    list->setObjectName(objectName);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setWordWrap(false);
    list->verticalHeader()->hide();
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setStretchLastSection(true);
    QStringList captions;
    int column = 0;
    for (const Column& c : columns) {
        captions.append(text(c.caption));
        list->setColumnWidth(column++, c.width);
    }
    list->setHorizontalHeaderLabels(captions);
    return list;
}

int appendRow(QTableWidget* list, const QStringList& cells) {
    const int row = list->rowCount();
    list->insertRow(row);
    for (int column = 0; column < cells.size() && column < list->columnCount(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        list->setItem(row, column, item);
    }
    return row;
}

int selectedRow(const QTableWidget* list) {
    const QList<QTableWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : items.first()->row();
}

void selectRow(QTableWidget* list, int row) {
    list->clearSelection();
    if (row < 0 || row >= list->rowCount()) return;
    list->setCurrentCell(row, 0);
    list->selectRow(row);
    list->scrollToItem(list->item(row, 0));
}

std::span<const Charset> charsets() { return kCharsets; }

int charsetRow(std::uint32_t value) {
    for (std::size_t i = 0; i < kCharsets.size(); ++i) {
        if (kCharsets[i].value == value) return int(i);
    }
    return -1;
}

QString charsetName(std::uint32_t value) {
    const int row = charsetRow(value);
    return row < 0 ? QString() : QString::fromLatin1(kCharsets[row].name);
}

QString fieldText(std::uint32_t codePage, const char* field, std::size_t size) {
    return decodeText(codePage, std::string_view(field, strnlen(field, size)));
}

std::string encodeField(std::uint32_t codePage, const QString& text, std::size_t maxBytes) {
    QString rest = text;
    std::string bytes = encodeText(codePage, rest);
    // A double-byte code page may need more than one byte per character: drop
    // whole characters from the end until the text fits.
    while (bytes.size() > maxBytes && !rest.isEmpty()) {
        const bool pair = rest.size() >= 2 && rest.back().isLowSurrogate() &&
                          rest.at(rest.size() - 2).isHighSurrogate();
        rest.chop(pair ? 2 : 1);
        bytes = encodeText(codePage, rest);
    }
    return bytes;
}

QString pathText(const std::string& path) { return QFile::decodeName(path.c_str()); }

std::string pathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void layOutListDialog(QWidget* dialog, QWidget* label, QWidget* list,
                      std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right) {
    auto* buttons = new QHBoxLayout;
    for (QWidget* button : left) buttons->addWidget(button);
    buttons->addStretch();
    for (QWidget* button : right) buttons->addWidget(button);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addLayout(buttons);
}

}  // namespace dialogs
