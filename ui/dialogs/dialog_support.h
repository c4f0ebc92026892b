// What the dictionary management dialogs share: interface texts, the
// message-box button labels, the report lists (rows of columns, full-row
// selection, grid lines), the character-set choices and the conversion of
// 8-bit dictionary texts for display.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "app/message_table.h"
#include "ui/widgets/w_message_box.h"

class QTableWidget;
class QWidget;
class QComboBox;

namespace dialogs {

// The interface text of `id`.
QString text(wordbay::TextId id);
// The button labels of the program's message box in the interface language.
MessageBoxButtonTable buttonTable();
// The program's message box with the interface-language button labels.
int showMessage(QWidget* owner, const QString& message, wordbay::TextId caption, unsigned style);
// Reports an engine failure: the table message, then `detail` (a path or the
// engine's message, may be empty) and `engineMessage`, caption MSG_FATAL_ERROR.
void reportFailure(QWidget* owner, wordbay::TextId message, const QString& detail,
                   const char* engineMessage);

// One column of a report list: its caption and width in pixels.
struct Column {
    wordbay::TextId caption;
    int width;
};
// A read-only report list with the given columns and single full-row selection.
QTableWidget* createReportList(QWidget* parent, const QString& objectName,
                               std::initializer_list<Column> columns);
// Lays out a list dialog: `label` above `list`, then one row of buttons,
// `left` ones at the left edge and `right` ones at the right.
void layOutListDialog(QWidget* dialog, QWidget* label, QWidget* list,
                      std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right);

// Appends a row of cells; returns its index.
int appendRow(QTableWidget* list, const QStringList& cells);
// The selected row, or -1.
int selectedRow(const QTableWidget* list);
// Selects `row` (-1: none) and scrolls it into view.
void selectRow(QTableWidget* list, int row);

// The character sets a word list can be shown in, as (value, name), in the
// order of the choice box. One value (129) has two names.
struct Charset {
    std::uint32_t value;
    const char* name;
};
std::span<const Charset> charsets();
// The first row with `value`, or -1.
int charsetRow(std::uint32_t value);
// The name of the first row with `value`, or empty.
QString charsetName(std::uint32_t value);

// A zero-terminated field of at most `size` bytes, decoded from `codePage`
// (a field without its terminator ends at `size`). A list's texts are in
// platform::ListCodePage(locale, charset) of the list; the dictionary's
// name, author and description in its primary list's.
QString fieldText(std::uint32_t codePage, const char* field, std::size_t size);
template <std::size_t N>
QString fieldText(std::uint32_t codePage, const char (&field)[N]) {
    return fieldText(codePage, field, N);
}
// `text` encoded in `codePage`, cut at a whole character so that it takes at
// most `maxBytes` bytes.
std::string encodeField(std::uint32_t codePage, const QString& text, std::size_t maxBytes);
// Writes `text` into a fixed field of N bytes with at most N - 1 used.
template <std::size_t N>
void setField(char (&field)[N], std::string_view text) {
    const std::size_t n = text.size() < N ? text.size() : N - 1;
    text.copy(field, n);
    field[n] = '\0';
    for (std::size_t i = n + 1; i < N; ++i) field[i] = '\0';
}

// A file system path shown to the user, and back.
QString pathText(const std::string& path);
std::string pathBytes(const QString& path);
// The part after the last '/'.
std::string fileNameOf(const std::string& path);

}  // namespace dialogs
