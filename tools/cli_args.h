// Command-line parsing for wordbay-cli: a command, its positional arguments,
// switches (--case) and options with a value (--mode regex).
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace cli {

struct Arguments {
    std::string command;
    std::vector<std::string> positional;
    std::set<std::string> switches;             // without the leading "--"
    std::map<std::string, std::string> values;  // option name -> value
    bool help = false;                          // with a command: that command's usage
    bool version = false;

    bool Has(const std::string& name) const { return switches.count(name) != 0; }
    std::string Value(const std::string& name, const std::string& fallback = {}) const;
};

// Parses argv[1..]. Each command accepts its own switches and options and a
// fixed range of positional arguments; "-" is a positional argument and "--"
// ends the options. False with a message for anything else.
bool ParseArguments(const std::vector<std::string>& args, Arguments* out, std::string* error);

// Parses "A,B" into two non-empty parts.
bool SplitPair(const std::string& text, std::string* first, std::string* second);

// Parses a decimal number in [0, max]; false for anything else.
bool ParseNumber(const std::string& text, unsigned long max, unsigned long* value);

// The text of --help: every command's usage, or only that of `command`.
std::string UsageText(const std::string& command = {});

}  // namespace cli
