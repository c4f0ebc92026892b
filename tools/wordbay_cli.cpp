// wordbay-cli with the engine: looks up, lists, converts and merges
// dictionaries from a terminal or a script, over the lexbase C interface.
// The lean wordbay-cli (tools/front/) answers what a look-up image can and
// hands everything else to this program, with the same arguments.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/cli_args.h"
#include "tools/cli_commands.h"
#include "tools/standard_output.h"

int main(int argc, char** argv) {
    cli::StdoutBuffer& out = cli::TakeStandardOutput();
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::Arguments parsed;
    std::string error;
    if (!cli::ParseArguments(args, &parsed, &error)) {
        std::cerr << "wordbay-cli: " << error << '\n';
        return cli::kExitUsage;
    }
    if (parsed.version) {
        std::cout << cli::kVersionText;
        return cli::Finish(&out, cli::kExitOk);
    }
    if (parsed.help) {
        std::cout << cli::UsageText(parsed.command);
        return cli::Finish(&out, cli::kExitOk);
    }
    return cli::Finish(&out,
                       cli::RunCommand(parsed, std::cin, std::cout, std::cerr, isatty(2) != 0));
}
