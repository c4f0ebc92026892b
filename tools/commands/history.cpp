// wordbay-cli history: the words the program looked up, newest first, with
// their counts and dictionaries, as text or JSON.
#include <ctime>
#include <ostream>

#include "tools/cli_commands.h"
#include "tools/commands/commands.h"
#include "tools/commands/word_lists.h"
#include "wordlists/data_files.h"
#include "wordlists/history_store.h"

namespace cli {
namespace {

std::string UtcTime(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm utc{};
    char text[32] = "";
    if (gmtime_r(&t, &utc) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

// `text` as a JSON string; bytes from 0x80 pass through (the words are UTF-8).
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace

int RunHistory(const Context& c, const Arguments& args) {
    const std::string path = WordListPath(args, wordlists::kHistoryFileName);
    wordlists::HistoryStore store(path, wordlists::HistoryStore::kMostEntries);
    if (!ReportJournal(c, store.Open(), path)) return kExitFailed;
    const bool json = args.Has("json");
    if (json) c.out << "[";
    bool first = true;
    for (const wordlists::HistoryEntry& e : store.entries()) {
        if (json) {
            c.out << (first ? "\n" : ",\n") << "  {\"word\": " << JsonString(e.key.word)
                  << ", \"count\": " << e.count
                  << ", \"dictionary\": " << JsonString(e.key.dictionary)
                  << ", \"direction\": " << e.key.direction << ", \"time\": \"" << UtcTime(e.time)
                  << "\"}";
        } else {
            c.out << e.key.word << '\t' << e.count << '\t' << e.key.dictionary << '\t'
                  << UtcTime(e.time) << '\n';
        }
        first = false;
    }
    if (json) c.out << (first ? "]\n" : "\n]\n");
    return kExitOk;
}

}  // namespace cli
