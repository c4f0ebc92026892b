// FileWatch: notices when another program saves the main dictionary's file
// (another copy of the program, wordbay-cli, a sync tool renaming a new file
// over it). The window looks every half second; a look costs one stat of the
// file. While nothing is edited the caller has the dictionary loaded again
// in the background (MergingSave::Reload); while it is edited the status
// line says that the file changed, and the next save merges.
#pragma once

#include <mutex>

#include "platform/file_writer.h"

namespace wordbay {

class FileWatch {
public:
    // What a look found.
    enum class Finding {
        kNothing,  // the file is as loaded, or still being written
        kChanged,  // another program saved it: load it again, or say so
    };

    // User-interface thread. `loaded` is the file's stamp when the dictionary
    // was loaded or last saved; `now` its stamp now. A new state must hold
    // for two looks in a row (a writer may still be at it), and one that
    // failed to load is not tried again.
    Finding Look(const platform::FileStamp& loaded, const platform::FileStamp& now);

    // The worker could not load the file in the state `stamp` (any thread).
    void LoadFailed(const platform::FileStamp& stamp);

private:
    platform::FileStamp seen_;  // what Look() saw last time (user-interface thread)
    mutable std::mutex mutex_;
    platform::FileStamp failed_;  // a state of the file that failed to load
};

}  // namespace wordbay
