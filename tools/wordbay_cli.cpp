// wordbay-cli: looks up, lists, converts and merges dictionaries from a
// terminal or a script, over the lexbase C interface.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/cli_args.h"
#include "tools/cli_commands.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::Arguments parsed;
    std::string error;
    if (!cli::ParseArguments(args, &parsed, &error)) {
        std::cerr << "wordbay-cli: " << error << '\n';
        return cli::kExitUsage;
    }
    if (parsed.help) {
        std::cout << cli::UsageText();
        return cli::kExitOk;
    }
    const int status = cli::RunCommand(parsed, std::cin, std::cout, std::cerr, isatty(2) != 0);
    std::cout.flush();
    return std::cout.fail() ? cli::kExitFailed : status;
}
