// The program's command line, read once, before any window exists: the
// program's own options (--help or -h, --version, --translate-selection),
// Qt's options (left to Qt, with one dash or two), and the options a build of
// the program adds for itself. Anything else with two dashes is refused.
#pragma once

#include <QStringList>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// An option a build of the program adds, with the number of values that
// follow it on the command line.
struct AddedOption {
    std::string_view name;
    int values = 0;
};

struct CommandLine {
    bool help = false;
    bool version = false;
    bool translateSelection = false;
    std::string unknown;  // the first option the program does not know

    // Whether the added option `name` was given.
    bool has(std::string_view name) const;
    // The values that followed the added option `name` (those of its last
    // use); fewer than it takes where the command line ends early.
    QStringList values(std::string_view name) const;

    std::map<std::string, QStringList, std::less<>> added;
};

CommandLine readCommandLine(int argc, char** argv, const std::vector<AddedOption>& added = {});
