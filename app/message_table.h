// The interface-language table: every text the program shows, by message
// number. The table starts with the built-in English texts (internal English);
// a language file replaces them row by row, and a row the file lacks keeps its
// English text, so a text is never missing.
//
// Callers ask for a text with UiText(TextId::MENU_EXIT). Texts are UTF-8.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/language_file.h"
#include "app/message_rows.h"

namespace wordbay {

// Message numbers, named by the keys of the language files.
enum class TextId : int {
#define WORDBAY_TEXT_ID(number, key, english, comment) key = number,
    WORDBAY_MESSAGE_ROWS(WORDBAY_TEXT_ID)
#undef WORDBAY_TEXT_ID
};

// Rows 0 to 332 and those after 333 carry texts; row 333 (END_OF_TABLE)
// closed the table of older files and is never shown or exported.
inline constexpr int kEndOfTableRow = 333;
inline constexpr int kMessageRowCount = 374;
// The rows of the table that older language files know.
inline constexpr int kMessageCount = kEndOfTableRow;

// Facts of a row. Null for a number outside 0..kMessageRowCount-1, and CommentText also for
// every row that is not a COMMENT_ row.
const char* MessageKey(int number);
const char* EnglishText(int number);
const char* CommentText(int number);

// The buttons of the program's message box (IDOK 1, IDCANCEL 2, IDABORT 3,
// IDRETRY 4, IDIGNORE 5, IDYES 6, IDNO 7) and the rows that label them.
struct MessageBoxButton {
    int id;
    TextId text;
};
inline constexpr std::array<MessageBoxButton, 7> kMessageBoxButtons = {{
    {3, TextId::MESSAGE_BOX_ABORT},
    {2, TextId::MESSAGE_BOX_CANCEL},
    {5, TextId::MESSAGE_BOX_IGNORE},
    {7, TextId::MESSAGE_BOX_NO},
    {1, TextId::MESSAGE_BOX_OK},
    {4, TextId::MESSAGE_BOX_RETRY},
    {6, TextId::MESSAGE_BOX_YES},
}};

class MessageTable {
public:
    MessageTable();  // holds internal English
    MessageTable(const MessageTable&) = delete;
    MessageTable& operator=(const MessageTable&) = delete;

    // The current text of a row; never null. A number outside the table gives "".
    // Any thread may read while the user-interface thread loads a language: a
    // text stays valid, unchanged, as long as the table exists.
    const char* Text(TextId id) const { return Text(static_cast<int>(id)); }
    const char* Text(int number) const;

    // The current caption of a message-box button id, or null for another id.
    const char* ButtonText(int button_id) const;

    // Makes every row's text its English default.
    void LoadInternalEnglish();

    // Loads the language file at `path`: every row takes the file's value for
    // its key, or its English default. Fails, changing nothing, when the file
    // cannot be read, is empty or is not a valid language file.
    bool LoadLanguageFile(const std::string& path);
    bool LoadLanguage(const LanguageFile& file);

private:
    // Installs `texts` (one NUL-terminated text per row, or null for English).
    void Install(const std::array<const char*, kMessageRowCount>& texts);

    std::array<std::atomic<const char*>, kMessageRowCount> current_;
    std::mutex load_mutex_;
    // Every language text loaded so far. A replaced text is kept, because a
    // reader on another thread may still hold it; a few kilobytes per change.
    std::vector<std::unique_ptr<char[]>> loaded_;  // guarded by load_mutex_
};

// The process-wide table the program shows its texts from.
MessageTable& Messages();

inline const char* UiText(TextId id) { return Messages().Text(id); }

// The text of the exported internal English language file, the translators'
// template: the header, then every row by number (comment rows as their
// comments), line breaks as LF. Loading it gives back exactly internal English.
std::string InternalEnglishLanguageFile();

// Writes InternalEnglishLanguageFile() to `path`, replacing that file.
// Returns false when the file cannot be written completely.
bool ExportInternalEnglish(const std::string& path);

// The author named by the exported file and by the internal entry of the
// language list.
inline constexpr char kInternalLanguageAuthor[] = "wordbay";

}  // namespace wordbay
