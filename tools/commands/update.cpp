// wordbay-cli update: another dictionary's translations merged into a V03
// file, which stays locked against other writers from its load to its save.
#include <memory>
#include <ostream>
#include <string>

#include "platform/file_writer.h"
#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"
#include "tools/progress_bar.h"

namespace cli {

int RunUpdate(const Context& c, const Arguments& args) {
    const std::string& source = args.positional[1];
    const std::string& path = args.positional[0];
    const int32_t format = LoadFormat(args.Value("format"), source, true);
    if (format == 0) return UsageError(c, "update needs --format v03, txt, freelang or v02.");
    // The dictionary stays locked against other writers from its load to the
    // save, so that what they saved meanwhile is not overwritten. The load
    // itself closes the file, which drops the lock of this process: it is
    // taken again after the load, and a file replaced in between is loaded
    // again.
    platform::FileLock lock;
    std::unique_ptr<Handle> db;
    for (;;) {
        if (lock.Acquire(path.c_str()) == platform::OpenResult::kBusy) return LockBusy(c, path);
        db = std::make_unique<Handle>();
        DICTIONARY_INFO info{};
        if (!LoadDictionary(c, db->get(), path, &info)) return kExitFailed;
        bool unchanged = false;
        if (lock.Reacquire(&unchanged) == platform::OpenResult::kBusy) return LockBusy(c, path);
        if (unchanged) break;
    }
    const DB_RESULT* result = nullptr;
    int error = 0;
    {
        ProgressBar bar(db->get(), c.err, c.progress, "Merging");
        result = OnFiles(&error, [&] {
            return DB_Update(
                db->get(),
                args.Has("reverse") ? DB_TRANS_SECONDARY_TO_PRIMARY : DB_TRANS_PRIMARY_TO_SECONDARY,
                format, source.c_str());
        });
    }
    if (result->status == 0) return Fail(c, result, error);
    const int32_t added = result->added;
    if (DB_IsChanged(db->get()) != 0 && !SaveDictionary(c, db->get(), DB_FORMAT_V03_SAVE, path)) {
        return kExitFailed;
    }
    c.out << added << " translations added.\n";
    return kExitOk;
}

}  // namespace cli
