// The C interface of the format list and of merging another dictionary file
// into the open one.
#include "engine/context.h"
#include "engine/formats/format_list.h"
#include "engine/formats/merge.h"
#include "engine/lexbase.h"
#include "engine/messages.h"
#include "engine/result.h"

using lexbase::kInvalidHandleResult;
using lexbase::SetResult;
namespace msg = lexbase::msg;

extern "C" {

const DB_RESULT* DB_GetPluginList(DB_HANDLE db, int32_t which) {
    if (db == nullptr) return &kInvalidHandleResult;
    db->result.count = static_cast<int32_t>(lexbase::FillFormatList(db, which));
    db->result.items = db->formats;
    return SetResult(db, 1, msg::kPluginsFound);
}

const DB_RESULT* DB_Update(DB_HANDLE db, int32_t direction, int32_t format, const char* file_name) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    // Every addition would fail on a wrong direction; say so instead of
    // reporting an update that added nothing.
    if (!lexbase::IsListNumber(direction)) return SetResult(db, 0, msg::kBadDirection);
    if (file_name == nullptr || file_name[0] == '\0') {
        return SetResult(db, 0, msg::kUpdateNeedFileName);
    }
    lexbase::SetProgress(db, 0);
    const DB_RESULT* created = DB_CreateHandle();
    if (created->status == 0 || created->handle == nullptr) {
        return SetResult(db, 0, msg::kUpdateCantCreateHandle);
    }
    DB_HANDLE other = created->handle;
    other->message[0] = '\0';  // only a message of the load itself is passed on
    const DB_RESULT* loaded = DB_Load(other, format, file_name, 0, 0);
    if (loaded->status == 0) {
        // The load's own message tells the user why.
        lexbase::CopyField(db->message, sizeof db->message, other->message);
        DB_DestroyHandle(other);
        return SetResult(db, 0, nullptr);
    }
    const lexbase::MergeOutcome merged = lexbase::MergeDictionary(db, other, direction);
    DB_DestroyHandle(other);
    db->result.added = merged.added;
    if (merged.failed) return SetResult(db, 0, nullptr);  // the failed addition's message
    return SetResult(db, merged.added > 0 ? 2 : 1,
                     merged.added > 0 ? msg::kUpdatedWithNew : msg::kUpdatedNothingNew);
}

}  // extern "C"
