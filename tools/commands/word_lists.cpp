#include "tools/commands/word_lists.h"

#include <cstring>
#include <ostream>

#include "wordlists/data_files.h"

namespace cli {

std::string WordListPath(const Arguments& args, const char* name) {
    const std::string dir = args.Value("data-dir", wordlists::UserDataDir());
    return dir + "/" + name;
}

bool ReportJournal(const Context& c, const wordlists::JournalStatus& status,
                   const std::string& path) {
    using Problem = wordlists::JournalStatus::Problem;
    switch (status.problem) {
        case Problem::kNone:
        case Problem::kWriteFailed:
            break;
        case Problem::kNotRegular:
            c.err << "wordbay-cli: " << path << " is not a regular file: not read.\n";
            return false;
        case Problem::kTooLarge:
            c.err << "wordbay-cli: " << path << " is too large to be a word list: not read.\n";
            return false;
        case Problem::kUnreadable:
            c.err << "wordbay-cli: Can't read " << path;
            if (status.error != 0) c.err << ": " << std::strerror(status.error);
            c.err << '\n';
            return false;
        case Problem::kNotAJournal:
            c.err << "wordbay-cli: " << path << " holds no word list records: not read.\n";
            return false;
    }
    if (status.dropped > 0) {
        c.err << "wordbay-cli: " << path << ": " << status.dropped
              << " damaged record(s) left out.\n";
    }
    return true;
}

}  // namespace cli
