// wordbay-cli identical: the words spelled alike in both lists.
#include <algorithm>
#include <cstdint>
#include <ostream>
#include <vector>

#include "platform/code_page.h"
#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"
#include "tools/progress_bar.h"

namespace cli {

int RunIdentical(const Context& c, const Arguments& args) {
    Handle db;
    DICTIONARY_INFO info{};
    if (!LoadDictionary(c, db.get(), args.positional[0], &info)) return kExitFailed;
    std::vector<const char*> output(std::max<uint32_t>(info.primary_word_count, 1));
    const DB_RESULT* result = nullptr;
    {
        ProgressBar bar(db.get(), c.err, c.progress, "Searching");
        result =
            DB_ListIdenticalWords(db.get(), args.Has("accents"), args.Has("case"), output.data());
    }
    if (result->status == 0) return Fail(c, result);
    const auto cp = PrimaryCodePage(info);
    for (int32_t i = 0; i < result->count; ++i) {
        c.out << platform::DecodeToUtf8(cp, output[i]) << '\n';
    }
    return kExitOk;
}

}  // namespace cli
