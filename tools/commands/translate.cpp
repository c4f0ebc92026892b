// wordbay-cli translate: the translations of a word, or of each line of
// standard input, answered from the look-up image where it can.
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"
#include "tools/commands/word_translator.h"

namespace cli {
int RunTranslate(const Context& c, const Arguments& args) {
    WordTranslator translator(c, args);
    if (!translator.Start()) return kExitFailed;
    std::vector<std::string> translations;
    const DB_RESULT* result = nullptr;
    bool failed = false;

    if (args.positional[1] != "-") {
        if (!translator.Answer(args.positional[1], &translations, &result, &failed)) {
            if (failed) return kExitFailed;
            c.err << "wordbay-cli: "
                  << (result != nullptr ? result->message : "Translations not found.") << '\n';
            translator.Finish();
            return kExitFailed;
        }
        for (const auto& t : translations) c.out << t << '\n';
        c.out << std::flush;
        translator.Finish();
        return kExitOk;
    }
    std::string line;
    while (std::getline(c.in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && translator.Answer(line, &translations, &result, &failed)) {
            for (std::size_t i = 0; i < translations.size(); ++i) {
                c.out << (i == 0 ? "" : "\t") << translations[i];
            }
        }
        if (failed) return kExitFailed;
        c.out << '\n';
    }
    c.out << std::flush;
    translator.Finish();
    return kExitOk;
}

}  // namespace cli
