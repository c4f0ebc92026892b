// The commands of wordbay-cli, over the lexbase C interface only.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/cli_args.h"

namespace cli {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // an engine failure, or nothing found
inline constexpr int kExitUsage = 2;
inline constexpr int kExitIncomplete = 3;  // a regular expression left words unsearched

// Where freedict looks for databases given by name.
inline constexpr const char* kDictdDirectory = "/usr/share/dictd";

// Runs one parsed command; "in" serves translate's batch mode. "progress"
// enables the progress bar on "err".
int RunCommand(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err,
               bool progress, const std::string& dictd_directory = kDictdDirectory);

}  // namespace cli
