// Start-up and shut-down of the program: one instance per user, the fatal
// checks (installed locales, engine handles), the main window placed and
// shown, the event loop, and the order in which everything ends.
#pragma once

#include <functional>
#include <vector>

#include "ui/main/command_line.h"

class MainForm;

// What a build of the program adds to its start: options of its own, read by
// the program's one command-line parser, and what they do once the main
// window shows. The shipped program adds nothing.
struct StartupAdditions {
    std::vector<AddedOption> options;
    std::function<void(MainForm* form, const CommandLine& line)> windowShown;
};

// Runs the program; returns the process exit code: 0 after a normal end and
// after handing over to an instance already running, -1 after a fatal error,
// 2 for an option it does not know.
int runWordbay(int argc, char** argv, const StartupAdditions& additions = {});
