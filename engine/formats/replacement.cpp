#include "engine/formats/replacement.h"

#include "engine/messages.h"
#include "engine/result.h"

namespace lexbase {

bool StartReplacement(DB_CONTEXT* db, platform::FileWriter* out, const char* file,
                      const char* cant_create) {
    switch (out->CreateBeside(file)) {
        case platform::OpenResult::kOpened:
            return true;
        case platform::OpenResult::kBusy:
            FormatFileMessage(db, msg::kFileLocked, file);
            return false;
        case platform::OpenResult::kFailed:
            break;
    }
    FormatFileMessage(db, cant_create, file);
    return false;
}

bool FinishReplacement(DB_CONTEXT* db, platform::FileWriter* out, const char* file,
                       const char* cant_write, const char* cant_replace) {
    if (!out->Finish()) {
        FormatFileMessage(db, cant_write, file);
        return false;
    }
    if (!out->Commit()) {
        FormatFileMessage(db, cant_replace, file);
        return false;
    }
    return true;
}

}  // namespace lexbase
