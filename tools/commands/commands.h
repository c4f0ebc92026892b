// The commands of wordbay-cli, one file each; RunCommand picks one by name.
#pragma once

#include <string>

#include "tools/cli_args.h"
#include "tools/commands/command_support.h"

namespace cli {

int RunInfo(const Context& c, const Arguments& args);
int RunTranslate(const Context& c, const Arguments& args);
int RunLookup(const Context& c, const Arguments& args);
int RunList(const Context& c, const Arguments& args);
int RunIdentical(const Context& c, const Arguments& args);
int RunImport(const Context& c, const Arguments& args);
int RunExport(const Context& c, const Arguments& args);
int RunUpdate(const Context& c, const Arguments& args);
int RunHistory(const Context& c, const Arguments& args);
int RunFavourites(const Context& c, const Arguments& args);
int RunFreedict(const Context& c, const Arguments& args, const std::string& dictd_directory);

}  // namespace cli
