// wordbay-cli: looks up, lists, converts and merges dictionaries from a
// terminal or a script. This process answers the look-ups that a
// dictionary's look-up image can answer without loading the engine or ICU's
// libraries (binding those takes as long as the whole look-up); it hands
// every other command, with its arguments and its standard input untouched,
// to the program with the engine (tools/wordbay_cli.cpp).
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tools/cli_args.h"
#include "tools/cli_commands.h"
#include "tools/front/image_answers.h"
#include "tools/standard_output.h"

namespace {

// The folder this program runs from.
std::string OwnFolder() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    const std::string self(path, static_cast<std::size_t>(n));
    const std::size_t slash = self.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : self.substr(0, slash);
}

// Runs the program with the engine in this process's place: beside this one
// (the build tree) or where it is installed; returns only when neither runs.
int HandOver(char** argv) {
    const std::string folder = OwnFolder();
    const std::string places[] = {folder + "/" WORDBAY_ENGINE_TOOL,
                                  folder + "/" WORDBAY_ENGINE_TOOL_DIR "/" WORDBAY_ENGINE_TOOL};
    int error = ENOENT;
    for (const std::string& place : places) {
        ::execv(place.c_str(), argv);
        if (errno != ENOENT) error = errno;
    }
    std::cerr << "wordbay-cli: Can't run " << places[1] << ": " << std::strerror(error) << '\n';
    return cli::kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::Arguments parsed;
    std::string error;
    if (!cli::ParseArguments(args, &parsed, &error) || parsed.help) return HandOver(argv);
    cli::StdoutBuffer* out = nullptr;
    if (parsed.version) {
        out = &cli::TakeStandardOutput();
        std::cout << cli::kVersionText;
        return cli::Finish(out, cli::kExitOk);
    }
    const cli::front::Reply reply = cli::front::AnswerFromImage(parsed);
    if (!reply.answered) return HandOver(argv);
    out = &cli::TakeStandardOutput();
    std::cout << reply.out;
    std::cout.flush();
    std::cerr << reply.err;
    return cli::Finish(out, reply.status);
}
