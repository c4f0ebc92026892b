// The C interface of dictionary files: loading and saving in every format,
// and the description read from and written into a V03 file. Each function
// checks its handle, state and arguments in its own fixed order, hands the
// work to the format's loader or writer and ends through SetResult.
#include <cstdint>

#include "engine/context.h"
#include "engine/formats/format_loaders.h"
#include "engine/lexbase.h"
#include "engine/messages.h"
#include "engine/result.h"

using lexbase::kInvalidHandleResult;
using lexbase::SetProgress;
using lexbase::SetResult;
namespace msg = lexbase::msg;

namespace {

bool IsEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

enum class Dispatch { kDone, kFailed, kUnknownFormat };

Dispatch Run(bool succeeded) { return succeeded ? Dispatch::kDone : Dispatch::kFailed; }

// No exception leaves the library: memory that runs out inside a format's
// own containers fails the call like any other allocation; a failed load
// leaves no dictionary behind.
template <typename Work>
Dispatch Guarded(DB_HANDLE db, bool loading, Work work) noexcept {
    try {
        return work();
    } catch (...) {
        if (loading) lexbase::ResetContext(db);
        lexbase::CopyField(db->message, sizeof db->message, msg::kMemoryErrorSpaced);
        return Dispatch::kFailed;
    }
}

Dispatch LoadFormatUnguarded(DB_HANDLE db, int32_t format, const char* file,
                             uint32_t primary_locale, uint32_t secondary_locale) {
    switch (format) {
        case DB_FORMAT_V03_LOAD:
            return Run(lexbase::LoadV03(db, file));
        case DB_FORMAT_V02_LOAD:
            return Run(lexbase::LoadV02(db, file));
        case DB_FORMAT_FREELANG_LOAD:
        case DB_FORMAT_FREELANG_DIR_LOAD:
            return Run(lexbase::LoadFreelang(db, file, primary_locale, secondary_locale));
        case DB_FORMAT_TXT_LOAD:
            return Run(lexbase::LoadTxt(db, file, primary_locale, secondary_locale));
        default:
            return Dispatch::kUnknownFormat;
    }
}

Dispatch LoadFormat(DB_HANDLE db, int32_t format, const char* file, uint32_t primary_locale,
                    uint32_t secondary_locale) {
    return Guarded(db, true, [&] {
        return LoadFormatUnguarded(db, format, file, primary_locale, secondary_locale);
    });
}

Dispatch SaveFormatUnguarded(DB_HANDLE db, int32_t format, const char* file) {
    switch (format) {
        case DB_FORMAT_V03_SAVE:
            return Run(lexbase::SaveV03(db, file));
        case DB_FORMAT_FREELANG_SAVE:
            return Run(lexbase::SaveFreelang(db, file));
        case DB_FORMAT_TXT_SAVE:
            return Run(lexbase::SaveTxt(db, file));
        default:
            return Dispatch::kUnknownFormat;
    }
}

Dispatch SaveFormat(DB_HANDLE db, int32_t format, const char* file) {
    return Guarded(db, false, [&] { return SaveFormatUnguarded(db, format, file); });
}

}  // namespace

extern "C" {

const DB_RESULT* DB_Load(DB_HANDLE db, int32_t format, const char* file_name,
                         uint32_t primary_locale, uint32_t secondary_locale) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (db->ready) return SetResult(db, 0, msg::kLoadAlreadyOpen);
    if (format == 0) return SetResult(db, 0, msg::kLoadFormatZero);
    if (IsEmpty(file_name)) return SetResult(db, 0, msg::kLoadNeedFileName);
    SetProgress(db, 0);
    // The imports that fail without a reason of their own must not leave the
    // message of an earlier call, which may read like success.
    db->message[0] = '\0';
    const Dispatch outcome = LoadFormat(db, format, file_name, primary_locale, secondary_locale);
    SetProgress(db, 100);
    switch (outcome) {
        case Dispatch::kDone:
            db->ready = 1;
            return SetResult(db, 1, msg::kLoaded);
        case Dispatch::kUnknownFormat:
            return SetResult(db, 0, msg::kLoadBadFormat);
        case Dispatch::kFailed:
            break;
    }
    if (db->message[0] == '\0') lexbase::FormatFileMessage(db, msg::kImportFailed, file_name);
    return SetResult(db, 0, nullptr);  // the loader's message is in the buffer
}

const DB_RESULT* DB_Save(DB_HANDLE db, int32_t format, const char* file_name) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (IsEmpty(file_name)) return SetResult(db, 0, msg::kSaveNeedFileName);
    if (format == 0) return SetResult(db, 0, msg::kSaveFormatZero);
    SetProgress(db, 0);
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    const Dispatch outcome = SaveFormat(db, format, file_name);
    SetProgress(db, 100);
    switch (outcome) {
        case Dispatch::kDone:
            db->changed = 0;
            return SetResult(db, 1, msg::kSaved);
        case Dispatch::kUnknownFormat:
            return SetResult(db, 0, msg::kSaveBadFormat);
        case Dispatch::kFailed:
            break;
    }
    return SetResult(db, 0, nullptr);  // the writer's message is in the buffer
}

const DB_RESULT* DB_GetDictionaryInfoA(DB_HANDLE db, const char* file_name, DICTIONARY_INFO* info) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (IsEmpty(file_name)) return SetResult(db, 0, msg::kGetInfoNeedFileName);
    if (info == nullptr) return SetResult(db, 0, msg::kGetInfoNeedInfo);
    if (!lexbase::ReadV03Info(db, file_name, info)) return SetResult(db, 0, nullptr);
    return SetResult(db, 1, msg::kInfoExtracted);
}

const DB_RESULT* DB_SetDictionaryInfoA(DB_HANDLE db, const char* file_name,
                                       const DICTIONARY_INFO* info) {
    if (db == nullptr) return &kInvalidHandleResult;
    db->message[0] = '\0';
    if (IsEmpty(file_name)) return SetResult(db, 0, msg::kSetInfoNeedFileName);
    if (info == nullptr) return SetResult(db, 0, msg::kSetInfoNeedInfo);
    if (!lexbase::WriteV03Info(db, file_name, info)) return SetResult(db, 0, nullptr);
    return SetResult(db, 1, msg::kInfoSaved);
}

}  // extern "C"
