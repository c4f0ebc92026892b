#include "ui/main/command_line.h"

#include <algorithm>
#include <iterator>

namespace {

// Qt's own options, which Qt also takes with two dashes.
constexpr std::string_view kQtOptions[] = {"-platform",
                                           "-platformpluginpath",
                                           "-platformtheme",
                                           "-plugin",
                                           "-display",
                                           "-style",
                                           "-stylesheet",
                                           "-geometry",
                                           "-qwindowgeometry",
                                           "-qwindowtitle",
                                           "-qwindowicon",
                                           "-name",
                                           "-title",
                                           "-session",
                                           "-reverse",
                                           "-widgetcount",
                                           "-sync",
                                           "-nograb",
                                           "-dograb",
                                           "-qmljsdebugger",
                                           "-testability"};

// Whether `arg` (with two dashes, perhaps "=value") names one of Qt's options.
bool isQtOption(std::string_view arg) {
    const std::size_t equals = arg.find('=');
    const std::string_view name =
        arg.substr(1, equals == std::string_view::npos ? std::string_view::npos : equals - 1);
    return std::find(std::begin(kQtOptions), std::end(kQtOptions), name) != std::end(kQtOptions);
}

}  // namespace

bool CommandLine::has(std::string_view name) const { return added.find(name) != added.end(); }

QStringList CommandLine::values(std::string_view name) const {
    const auto found = added.find(name);
    return found == added.end() ? QStringList() : found->second;
}

CommandLine readCommandLine(int argc, char** argv, const std::vector<AddedOption>& added) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            continue;
        }
        if (arg == "--version") {
            line.version = true;
            continue;
        }
        if (arg == "--translate-selection") {
            line.translateSelection = true;
            continue;
        }
        const auto option = std::find_if(added.begin(), added.end(),
                                         [arg](const AddedOption& o) { return o.name == arg; });
        if (option != added.end()) {
            QStringList values;
            for (int v = 0; v < option->values && i + 1 < argc; ++v)
                values << QString::fromLocal8Bit(argv[++i]);
            line.added[std::string(arg)] = values;
            continue;
        }
        // Values of Qt's options and Qt's single-dash options are Qt's business.
        if (!arg.starts_with("--") || isQtOption(arg)) continue;
        if (line.unknown.empty()) line.unknown = std::string(arg);
    }
    return line;
}
