#include "tools/cli_args.h"

#include <cstddef>

namespace cli {
namespace {

// What a command takes: its positional arguments, switches and options.
struct CommandForm {
    const char* name;
    std::size_t min_positional;
    std::size_t max_positional;
    std::set<std::string> switches;
    std::set<std::string> options;
    const char* usage;  // the command's lines of --help
};

// The --help texts of the commands with the most to say.
constexpr char kImportUsage[] =
    "  import --format txt|freelang|v02|stardict|dictd SOURCE OUT.v03\n"
    "       [--locales P,S] [--names A,B] [--encoding utf-8]\n"
    "      Build a dictionary from another format. P and S are Windows locale\n"
    "      identifiers (1033 English, 1050 Croatian, ...) or ISO 639 language\n"
    "      codes (eng, hrv, hi, ...); A and B list names. --encoding utf-8 keeps\n"
    "      both lists of a TXT import in UTF-8. SOURCE of a StarDict dictionary\n"
    "      is its .ifo file, of a dictd database its .index file; their entries'\n"
    "      plain text is split into translations at commas. A FreeDict-style\n"
    "      name (eng-hrv.ifo) gives the languages when --locales doesn't.\n";
constexpr char kExportUsage[] =
    "  export --format txt|freelang|stardict|dictd FILE.v03 OUT [--reverse]\n"
    "       [--encoding utf-8]\n"
    "      Write a dictionary in another format; --encoding utf-8 writes a TXT\n"
    "      file in UTF-8 with LF line ends instead of the lists' code pages.\n"
    "      stardict writes OUT.ifo, OUT.idx and OUT.dict.dz (and OUT.syn, the\n"
    "      words' forms without accents), dictd OUT.index and OUT.dict.dz, for\n"
    "      e-book readers, sdcv and dictd; OUT may end in .ifo or .index.\n"
    "      --reverse writes the other direction: the secondary words with\n"
    "      their translations.\n";

// Every command, in the order --help lists them.
const std::vector<CommandForm> kCommands = {
    {"info",
     1,
     1,
     {},
     {},
     "  info FILE.v03\n"
     "      Show a dictionary's description and counts without loading it.\n"},
    {"translate",
     2,
     2,
     {"reverse", "case", "accents"},
     {},
     "  translate FILE.v03 WORD|- [--reverse] [--case] [--accents]\n"
     "      Print the translations of WORD, one a line. With \"-\", read one word\n"
     "      a line from standard input and print one line per word, its\n"
     "      translations separated by TABs (an empty line when there is none).\n"},
    {"lookup",
     2,
     2,
     {"reverse", "case", "accents", "json"},
     {},
     "  lookup FILE.v03 WORD|- [--reverse] [--case] [--accents] [--json]\n"
     "      Look WORD up as the hot key does: as it stands, else its base words\n"
     "      (\"walked\": form of walk), else suggestions within two edits. Prints\n"
     "      what translate prints, with the base word named; with \"-\", one line\n"
     "      per line of standard input. --json: one object per word, {\"query\",\n"
     "      \"headword\", \"how\": \"exact|form|suggestion|none\", \"translations\",\n"
     "      \"forms\": [{\"word\", \"translations\"}], \"suggestions\"}.\n"},
    // The pattern is optional for palindromes only; the command checks that.
    {"list",
     1,
     2,
     {"secondary", "case", "accents"},
     {"mode", "limit"},
     "  list FILE.v03 PATTERN|- [--mode MODE] [--secondary] [--case] [--accents]\n"
     "       [--limit N]\n"
     "      List matching words. MODE: prefix (default), wildcards, regex,\n"
     "      palindrome (no PATTERN needed), anagram1, anagram2, anagram3.\n"
     "      With \"-\", read one pattern a line from standard input and print\n"
     "      one line per pattern, its words separated by TABs.\n"},
    {"identical",
     1,
     1,
     {"case", "accents"},
     {},
     "  identical FILE.v03 [--case] [--accents]\n"
     "      List the primary words that the secondary list also holds.\n"},
    {"import", 2, 2, {}, {"format", "locales", "names", "encoding"}, kImportUsage},
    {"export", 2, 2, {"reverse"}, {"format", "encoding"}, kExportUsage},
    {"update",
     2,
     2,
     {"reverse"},
     {"format"},
     "  update FILE.v03 SOURCE --format v03|txt|freelang|v02 [--reverse]\n"
     "      Add the translations of SOURCE that FILE lacks and save FILE.\n"},
    {"history",
     0,
     0,
     {"json"},
     {"data-dir"},
     "  history [--json] [--data-dir DIR]\n"
     "      The words the program looked up, newest first: word, count,\n"
     "      dictionary and the last look-up's time (UTC), TAB-separated, or\n"
     "      a JSON array. DIR is the program's data folder (by default\n"
     "      $XDG_DATA_HOME/wordbay).\n"},
    {"favourites",
     0,
     2,
     {},
     {"format", "data-dir"},
     "  favourites [export FILE] [--format tab|csv] [--data-dir DIR]\n"
     "      The starred words, oldest first: word, translations, dictionary\n"
     "      and date, TAB-separated (flashcard programs import it), or CSV.\n"
     "      With export, written to FILE (CSV for a name ending in .csv).\n"},
    {"freedict",
     2,
     2,
     {"swap"},
     {"txt-code-page"},
     "  freedict INDEX_OR_NAME OUT.v03 [--swap] [--txt-code-page N]\n"
     "      Convert an installed FreeDict dictd database (e.g. eng-hrv, found in\n"
     "      /usr/share/dictd) into a dictionary; --swap exchanges the languages.\n"
     "      A list whose texts don't all fit its language's code page is kept\n"
     "      in UTF-8. With --txt-code-page, OUT is a plain-text dictionary with\n"
     "      both languages in Windows code page N (e.g. 1250, 65001 for UTF-8)\n"
     "      instead.\n"},
};

const std::vector<CommandForm>& Commands() { return kCommands; }

const CommandForm* FindCommand(const std::string& name) {
    for (const auto& command : Commands()) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

constexpr char kStatusText[] =
    "Words are read and printed as UTF-8. Exit status: 0 success, 1 failure or\n"
    "nothing found, 2 wrong usage, 3 a regular expression too costly to try on\n"
    "some words (the words found are printed).\n";

}  // namespace

std::string Arguments::Value(const std::string& name, const std::string& fallback) const {
    const auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

bool ParseArguments(const std::vector<std::string>& args, Arguments* out, std::string* error) {
    *out = Arguments{};
    if (args.empty()) {
        *error = "No command given. Try \"wordbay-cli --help\".";
        return false;
    }
    if (args[0] == "--version" || args[0] == "-V") {
        out->version = true;
        return true;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out->help = true;
        // "help COMMAND" asks for that command's usage.
        if (args.size() > 1 && args[0] == "help") {
            if (FindCommand(args[1]) == nullptr) {
                *error = "Unknown command \"" + args[1] + "\". Try \"wordbay-cli --help\".";
                return false;
            }
            out->command = args[1];
        }
        return true;
    }
    const CommandForm* form = FindCommand(args[0]);
    if (form == nullptr) {
        *error = "Unknown command \"" + args[0] + "\". Try \"wordbay-cli --help\".";
        return false;
    }
    out->command = args[0];
    bool options_ended = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options_ended || arg == "-" || arg.empty() || arg[0] != '-') {
            out->positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_ended = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            out->help = true;
            return true;
        }
        std::string name = arg.substr(arg[1] == '-' ? 2 : 1);
        std::string value;
        const auto equals = name.find('=');
        const bool inline_value = equals != std::string::npos;
        if (inline_value) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (form->switches.count(name) != 0 && !inline_value) {
            out->switches.insert(name);
        } else if (form->options.count(name) != 0) {
            if (!inline_value) {
                if (i + 1 >= args.size()) {
                    *error = "Option --" + name + " needs a value.";
                    return false;
                }
                value = args[++i];
            }
            out->values[name] = value;
        } else {
            *error = "Unknown option \"" + arg + "\" for " + out->command + ".";
            return false;
        }
    }
    if (out->positional.size() < form->min_positional ||
        out->positional.size() > form->max_positional) {
        *error = "Wrong number of arguments for " + out->command + ". Try \"wordbay-cli " +
                 out->command + " --help\".";
        return false;
    }
    return true;
}

bool SplitPair(const std::string& text, std::string* first, std::string* second) {
    const auto comma = text.find(',');
    if (comma == std::string::npos || comma == 0 || comma + 1 == text.size()) return false;
    *first = text.substr(0, comma);
    *second = text.substr(comma + 1);
    return second->find(',') == std::string::npos;
}

bool ParseNumber(const std::string& text, unsigned long max, unsigned long* value) {
    if (text.empty() || text.size() > 10) return false;
    unsigned long v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<unsigned long>(c - '0');
    }
    if (v > max) return false;
    *value = v;
    return true;
}

std::string UsageText(const std::string& command) {
    if (const CommandForm* form = FindCommand(command)) {
        return std::string("Usage:\n") + form->usage + "\n" + kStatusText;
    }
    std::string text =
        "Usage: wordbay-cli COMMAND ARGUMENTS [OPTIONS]\n"
        "       wordbay-cli COMMAND --help\n"
        "       wordbay-cli --version\n"
        "\n"
        "Commands:\n";
    for (const auto& form : Commands()) text += form.usage;
    return text + "\n" + kStatusText;
}

}  // namespace cli
