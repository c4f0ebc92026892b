// wordbay-cli info: a dictionary file's description and counts.
#include <ostream>

#include "platform/code_page.h"
#include "platform/locale.h"
#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"

namespace cli {

int RunInfo(const Context& c, const Arguments& args) {
    Handle db;
    DICTIONARY_INFO info{};
    int error = 0;
    const DB_RESULT* result = OnFiles(
        &error, [&] { return DB_GetDictionaryInfoA(db.get(), args.positional[0].c_str(), &info); });
    if (result->status == 0) return Fail(c, result, error);
    const auto cp1 = PrimaryCodePage(info);
    const auto cp2 = SecondaryCodePage(info);
    const auto text = [](std::uint32_t cp, const char* field, std::size_t size) {
        return platform::DecodeToUtf8(cp, FieldText(field, size));
    };
    c.out << "Name:         " << text(cp1, info.name, sizeof info.name) << '\n'
          << "Author:       " << text(cp1, info.author, sizeof info.author) << '\n'
          << "Description:  " << text(cp1, info.description, sizeof info.description) << '\n'
          << "Primary:      " << text(cp1, info.primary_list_name, sizeof info.primary_list_name)
          << " (locale " << info.primary_locale << ", "
          << platform::IcuLocaleName(info.primary_locale) << ", charset " << info.primary_charset
          << ")\n"
          << "  words " << info.primary_word_count << ", translations "
          << info.primary_translation_count << '\n'
          << "Secondary:    "
          << text(cp2, info.secondary_list_name, sizeof info.secondary_list_name) << " (locale "
          << info.secondary_locale << ", " << platform::IcuLocaleName(info.secondary_locale)
          << ", charset " << info.secondary_charset << ")\n"
          << "  words " << info.secondary_word_count << ", translations "
          << info.secondary_translation_count << '\n'
          << "Memory:       " << info.memory_size << " bytes\n";
    return kExitOk;
}

}  // namespace cli
