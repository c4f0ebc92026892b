#include "tools/cli_commands.h"

#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"

namespace cli {

int RunCommand(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err,
               bool progress, const std::string& dictd_directory) {
    const Context c{in, out, err, progress};
    if (args.command == "info") return RunInfo(c, args);
    if (args.command == "translate") return RunTranslate(c, args);
    if (args.command == "lookup") return RunLookup(c, args);
    if (args.command == "list") return RunList(c, args);
    if (args.command == "identical") return RunIdentical(c, args);
    if (args.command == "import") return RunImport(c, args);
    if (args.command == "export") return RunExport(c, args);
    if (args.command == "update") return RunUpdate(c, args);
    if (args.command == "history") return RunHistory(c, args);
    if (args.command == "favourites") return RunFavourites(c, args);
    if (args.command == "freedict") return RunFreedict(c, args, dictd_directory);
    return UsageError(c, "Unknown command \"" + args.command + "\".");
}

}  // namespace cli
