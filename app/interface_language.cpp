#include "app/interface_language.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace wordbay {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

bool HasTxtExtension(std::string_view name) {
    return name.size() > 4 && SameIgnoringCase(name.substr(name.size() - 4), ".txt");
}

}  // namespace

std::vector<LanguageEntry> ListLanguages(const std::string& language_dir) {
    std::vector<LanguageEntry> entries;
    entries.push_back({"English [internal]", kInternalLanguageAuthor, "Internal English language",
                       "1.0", "------------", true});

    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(language_dir, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (HasTxtExtension(name) && it->is_regular_file(error)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::optional<LanguageFileInfo> info =
            ReadLanguageHeader(LanguagePath(language_dir, name));
        if (!info) continue;
        entries.push_back(
            {info->language, info->author, info->description, info->version, name, false});
    }
    return entries;
}

std::size_t CurrentLanguageEntry(const std::vector<LanguageEntry>& entries,
                                 std::string_view current_file_name) {
    if (current_file_name.empty()) return 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].internal && SameIgnoringCase(entries[i].file_name, current_file_name)) {
            return i;
        }
    }
    return 0;
}

std::string LanguagePath(const std::string& language_dir, std::string_view file_name) {
    std::string path = language_dir;
    path += '/';
    path += file_name;
    return path;
}

std::string LanguageLoadFailure(const MessageTable& table, std::string_view path) {
    std::string text = table.Text(TextId::MSG_CANT_LOAD_INTERFACE_LANGUAGE);
    text += "\n\n";
    text += path;
    text += "\n\n";
    text += table.Text(TextId::MSG_LOADING_DEFAULT_LANGUAGE);
    return text;
}

std::optional<std::string> LoadStartupLanguage(MessageTable* table, const std::string& language_dir,
                                               std::string* language_name) {
    table->LoadInternalEnglish();
    if (language_name->empty()) return std::nullopt;
    const std::string path = LanguagePath(language_dir, *language_name);
    if (table->LoadLanguageFile(path)) return std::nullopt;
    language_name->clear();
    return LanguageLoadFailure(*table, path);
}

std::optional<std::string> ApplyLanguageChoice(MessageTable* table, const std::string& language_dir,
                                               const std::string& chosen,
                                               std::string* language_name) {
    if (chosen.empty()) {
        table->LoadInternalEnglish();
        language_name->clear();
        return std::nullopt;
    }
    const std::string path = LanguagePath(language_dir, chosen);
    if (!table->LoadLanguageFile(path)) return LanguageLoadFailure(*table, path);
    *language_name = chosen;
    return std::nullopt;
}

}  // namespace wordbay
