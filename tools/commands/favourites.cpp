// wordbay-cli favourites: the starred words as TAB text on standard output,
// or exported to a file (TAB text, or CSV) for flashcard programs.
#include <cerrno>
#include <cstring>
#include <ostream>

#include "platform/file_writer.h"
#include "tools/cli_commands.h"
#include "tools/commands/commands.h"
#include "tools/commands/word_lists.h"
#include "wordlists/card_export.h"
#include "wordlists/data_files.h"
#include "wordlists/favourites_store.h"

namespace cli {

int RunFavourites(const Context& c, const Arguments& args) {
    const bool exporting = !args.positional.empty();
    if (exporting && (args.positional[0] != "export" || args.positional.size() != 2))
        return UsageError(c, "Try \"wordbay-cli favourites export FILE\".");
    const std::string format_name = args.Value("format");
    if (!format_name.empty() && format_name != "tab" && format_name != "csv")
        return UsageError(c, "Unknown format \"" + format_name + "\": tab or csv.");

    const std::string path = WordListPath(args, wordlists::kFavouritesFileName);
    wordlists::FavouritesStore store(path);
    if (!ReportJournal(c, store.Open(), path)) return kExitFailed;
    if (!exporting) {
        c.out << wordlists::ExportCards(store.entries(), format_name == "csv"
                                                             ? wordlists::CardFormat::kCsv
                                                             : wordlists::CardFormat::kTabText);
        return kExitOk;
    }
    const std::string& target = args.positional[1];
    wordlists::CardFormat format = wordlists::CardFormatForName(target);
    if (!format_name.empty())
        format =
            format_name == "csv" ? wordlists::CardFormat::kCsv : wordlists::CardFormat::kTabText;
    const std::string text = wordlists::ExportCards(store.entries(), format);
    errno = 0;
    if (!platform::WriteWholeFile(target.c_str(), text.data(), text.size())) {
        c.err << "wordbay-cli: Can't write " << target;
        if (errno != 0) c.err << ": " << std::strerror(errno);
        c.err << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace cli
