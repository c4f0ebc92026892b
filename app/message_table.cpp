#include "app/message_table.h"

#include <cstring>
#include <fstream>

#include "platform/file_writer.h"

namespace wordbay {
namespace {

struct MessageRow {
    int number;
    const char* key;
    const char* english;
    const char* comment;  // COMMENT_ rows only
};

constexpr MessageRow kRows[] = {
#define WORDBAY_ROW(number, key, english, comment) {number, #key, english, comment},
    WORDBAY_MESSAGE_ROWS(WORDBAY_ROW)
#undef WORDBAY_ROW
};

// The rows are kept in number order, so a row is found by its number.
constexpr bool RowsAreInNumberOrder() {
    int position = 0;
    for (const MessageRow& row : kRows) {
        if (row.number != position++) return false;
    }
    return position == kMessageRowCount;
}
static_assert(RowsAreInNumberOrder(), "message rows must be numbered 0, 1, 2, ... in order");

const MessageRow* RowOf(int number) {
    return number >= 0 && number < kMessageRowCount ? &kRows[number] : nullptr;
}

// Writes `text` with line breaks as backslash-n and tabs as backslash-t.
void AppendEscaped(std::string* out, const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\n') {
            *out += "\\n";
        } else if (*p == '\t') {
            *out += "\\t";
        } else {
            *out += *p;
        }
    }
}

}  // namespace

const char* MessageKey(int number) {
    const MessageRow* row = RowOf(number);
    return row ? row->key : nullptr;
}

const char* EnglishText(int number) {
    const MessageRow* row = RowOf(number);
    return row ? row->english : nullptr;
}

const char* CommentText(int number) {
    const MessageRow* row = RowOf(number);
    return row ? row->comment : nullptr;
}

MessageTable::MessageTable() { LoadInternalEnglish(); }

const char* MessageTable::Text(int number) const {
    if (number < 0 || number >= kMessageRowCount) return "";
    return current_[number].load(std::memory_order_acquire);
}

const char* MessageTable::ButtonText(int button_id) const {
    for (const MessageBoxButton& button : kMessageBoxButtons) {
        if (button.id == button_id) return Text(button.text);
    }
    return nullptr;
}

void MessageTable::Install(const std::array<const char*, kMessageRowCount>& texts) {
    for (int i = 0; i < kMessageRowCount; ++i) {
        current_[i].store(texts[i] ? texts[i] : kRows[i].english, std::memory_order_release);
    }
}

void MessageTable::LoadInternalEnglish() {
    std::lock_guard lock(load_mutex_);
    Install({});
}

bool MessageTable::LoadLanguage(const LanguageFile& file) {
    if (!file.valid()) return false;
    // One block holds every translated text, each closed by a NUL.
    std::array<const std::string*, kMessageRowCount> found{};
    std::size_t size = 0;
    for (int i = 0; i < kMessageRowCount; ++i) {
        found[i] = file.Find(kRows[i].key);
        if (found[i]) size += found[i]->size() + 1;
    }
    auto block = std::make_unique<char[]>(size + 1);
    std::array<const char*, kMessageRowCount> texts{};
    char* out = block.get();
    for (int i = 0; i < kMessageRowCount; ++i) {
        if (!found[i]) continue;
        std::memcpy(out, found[i]->data(), found[i]->size());
        out[found[i]->size()] = '\0';
        texts[i] = out;
        out += found[i]->size() + 1;
    }
    std::lock_guard lock(load_mutex_);
    loaded_.push_back(std::move(block));
    Install(texts);
    return true;
}

bool MessageTable::LoadLanguageFile(const std::string& path) {
    std::string bytes;
    if (!ReadLanguageFileBytes(path, &bytes)) return false;
    return LoadLanguage(LanguageFile::FromBytes(bytes));
}

MessageTable& Messages() {
    static MessageTable table;
    return table;
}

std::string InternalEnglishLanguageFile() {
    std::string out;
    out += "; internal english language file\n\n\n";
    out += "LNG_ID_VER = \"";
    out += kLanguageFileId;
    out += "\"\n\n";
    out += "LANGUAGE = \"English [internal]\"\n";
    out += "AUTHOR = \"";
    out += kInternalLanguageAuthor;
    out += "\"\n";
    out += "DESCRIPTION = \"Internal English interface language\"\n";
    out += "VERSION = \"1.0\"\n";
    out += "DATE = \"24.01.2009.\"\n\n";
    for (int i = 0; i < kMessageRowCount; ++i) {
        if (i == kEndOfTableRow) continue;
        const MessageRow& row = kRows[i];
        if (row.english[0] != '\0') {
            out += row.key;
            out += " = \"";
            AppendEscaped(&out, row.english);
            out += "\"\n";
        } else if (row.comment) {
            out += row.comment;
            out += "\n\n";
        }
    }
    return out;
}

bool ExportInternalEnglish(const std::string& path) {
    const std::string text = InternalEnglishLanguageFile();
    return platform::WriteWholeFile(path.c_str(), text.data(), text.size());
}

}  // namespace wordbay
