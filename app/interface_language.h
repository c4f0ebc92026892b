// Choosing the interface language: the list of languages the language folder
// offers, loading the stored language at start-up and switching languages on
// the user's command. The dialog around the list belongs to the user interface;
// these functions hold what it decides.
//
// The chosen language is remembered by its file name inside the language
// folder; the empty name stands for internal English. Everything here runs on
// the user-interface thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/message_table.h"

namespace wordbay {

// One row of the language list.
struct LanguageEntry {
    std::string language;
    std::string author;
    std::string description;
    std::string version;
    std::string file_name;  // "------------" for internal English
    bool internal = false;
};

// The entries of the language list: internal English first, then every valid
// language file "*.txt" (extension in any case) of `language_dir`, sorted by
// file name. Unreadable and invalid files are left out; a missing folder gives
// internal English alone.
std::vector<LanguageEntry> ListLanguages(const std::string& language_dir);

// The index of the entry to select for the current language: the file entry
// whose name equals `current_file_name` without regard to ASCII case, else 0
// (internal English).
std::size_t CurrentLanguageEntry(const std::vector<LanguageEntry>& entries,
                                 std::string_view current_file_name);

// The file a language name stands for: `language_dir`, "/" and the name.
std::string LanguagePath(const std::string& language_dir, std::string_view file_name);

// The message shown when the language file at `path` cannot be loaded:
// MSG_CANT_LOAD_INTERFACE_LANGUAGE, the path and MSG_LOADING_DEFAULT_LANGUAGE,
// separated by blank lines, in the current language of `table`.
std::string LanguageLoadFailure(const MessageTable& table, std::string_view path);

// Start-up: loads internal English, then the file *language_name names, if
// any. When that file cannot be loaded, internal English stays, *language_name
// is cleared and the message to show (caption MSG_ERROR) is returned.
std::optional<std::string> LoadStartupLanguage(MessageTable* table, const std::string& language_dir,
                                               std::string* language_name);

// The user's choice from the language dialog: the empty name loads internal
// English and clears *language_name; a file name loads that file and, on
// success, becomes *language_name. When the file cannot be loaded nothing
// changes and the message to show (caption MSG_ERROR) is returned. On success
// the caller re-applies every text and shows MSG_INTERFACE_LNG_CHANGED.
std::optional<std::string> ApplyLanguageChoice(MessageTable* table, const std::string& language_dir,
                                               const std::string& chosen,
                                               std::string* language_name);

}  // namespace wordbay
