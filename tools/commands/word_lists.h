// What the history and favourites commands share: the data folder they read
// and how they report a file they could not read.
#pragma once

#include <string>

#include "tools/cli_args.h"
#include "tools/commands/command_support.h"
#include "wordlists/journal.h"

namespace cli {

// The file `name` in the data folder: --data-dir, else the program's folder
// in the user's data folder.
std::string WordListPath(const Arguments& args, const char* name);

// Says what went wrong with the journal `status` on standard error. False
// when the file could not be read at all (nothing to show from it); dropped
// damaged records only warn.
bool ReportJournal(const Context& c, const wordlists::JournalStatus& status,
                   const std::string& path);

}  // namespace cli
