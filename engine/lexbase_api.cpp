// The C interface of the engine frame: handles, state, progress and the
// description of the open dictionary. Each function checks its handle first,
// then the state, then its arguments in order, and ends through SetResult.
#include <sys/mman.h>

#include <cstring>
#include <new>

#include "engine/char_text.h"
#include "engine/context.h"
#include "engine/lexbase.h"
#include "engine/messages.h"
#include "engine/result.h"

using lexbase::kDestroyedHandleResult;
using lexbase::kInvalidHandleResult;
using lexbase::SetResult;
namespace msg = lexbase::msg;

extern "C" {

// A handle is mostly the bucket indexes of its two lists, 4 MB: its memory
// comes straight from the system, whose fresh pages read as zeros (every
// field's empty value) and cost nothing until a dictionary's words fill
// them. A handle without a dictionary, or with a small one, stays small.
const DB_RESULT* DB_CreateHandle(void) {
    void* memory = ::mmap(nullptr, sizeof(DB_CONTEXT), PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return &kInvalidHandleResult;
    auto* db = ::new (memory) DB_CONTEXT;  // the zeros stay: no field is written
    db->result.handle = db;
    return SetResult(db, 1, msg::kHandleCreated);
}

const DB_RESULT* DB_Close(DB_HANDLE db) {
    if (db == nullptr) return &kInvalidHandleResult;
    // A handle without a dictionary owns nothing; resetting it is harmless.
    lexbase::ResetContext(db);
    return SetResult(db, 1, msg::kClosed);
}

const DB_RESULT* DB_DestroyHandle(DB_HANDLE db) {
    if (db == nullptr) return &kInvalidHandleResult;
    DB_Close(db);
    db->~DB_CONTEXT();
    ::munmap(static_cast<void*>(db), sizeof(DB_CONTEXT));
    return &kDestroyedHandleResult;
}

int32_t DB_IsReady(DB_HANDLE db) { return db == nullptr ? 0 : db->ready; }

int32_t DB_IsChanged(DB_HANDLE db) {
    if (db == nullptr) return 0;
    db->message[0] = '\0';
    return db->changed;
}

const char* DB_GetLastErrorMessage(DB_HANDLE db) { return db == nullptr ? nullptr : db->message; }

int32_t DB_GetExecutionProgress(DB_HANDLE db) {
    if (db == nullptr) return 0;
    const std::uint64_t low = db->progress_low.load(std::memory_order_relaxed);
    const std::uint64_t high = db->progress_high.load(std::memory_order_relaxed);
    const std::uint64_t current = db->progress_current.load(std::memory_order_relaxed);
    if (high == 0) return 0;
    if (current >= high) return 100;
    if (low >= high || current <= low) return 0;
    return static_cast<int32_t>((current - low) * 100 / (high - low));
}

int32_t DB_EndLoop(DB_HANDLE db, int32_t /*ignored*/) {
    if (db == nullptr) return 0;
    db->loop_flag.store(0, std::memory_order_relaxed);
    return 1;
}

const DB_RESULT* DB_CreateNewDictionary(DB_HANDLE db, uint32_t primary_locale,
                                        uint32_t secondary_locale) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (db->ready) return SetResult(db, 0, msg::kAlreadyOpen);
    lexbase::BuildFoldingTables(&db->lists[0], primary_locale);
    lexbase::BuildFoldingTables(&db->lists[1], secondary_locale);
    db->lists[0].charset = lexbase::ChosenCharset(0, false, primary_locale, 0);
    db->lists[1].charset = lexbase::ChosenCharset(0, false, secondary_locale, 0);
    if (!lexbase::BuildRegexTables(&db->lists[0]) || !lexbase::BuildRegexTables(&db->lists[1])) {
        lexbase::ResetContext(db);
        return SetResult(db, 0, msg::kMemoryError);
    }
    db->ready = 1;
    return SetResult(db, 1, msg::kNewCreated);
}

const DB_RESULT* DB_GetDictionaryInfo(DB_HANDLE db, DICTIONARY_INFO* info) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (info == nullptr) return SetResult(db, 0, msg::kInfoNeedPointer);
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    const lexbase::WordList& p = db->lists[0];
    const lexbase::WordList& s = db->lists[1];
    std::memset(info, 0, sizeof *info);
    info->primary_word_count = p.word_count;
    info->secondary_word_count = s.word_count;
    info->primary_index_size = p.word_count * 4;
    info->secondary_index_size = s.word_count * 4;
    info->primary_translation_count = p.translation_count;
    info->secondary_translation_count = s.translation_count;
    info->memory_size = (p.translation_count + s.translation_count) * 12 +
                        (p.word_count + s.word_count) * 20 + p.text_bytes + s.text_bytes;
    lexbase::CopyDescriptionTexts(*db, info);
    info->primary_locale = p.locale;
    info->secondary_locale = s.locale;
    info->primary_charset = p.charset;
    info->secondary_charset = s.charset;
    return SetResult(db, 1, msg::kInfoExtracted);
}

const DB_RESULT* DB_SetDictionaryInfo(DB_HANDLE db, const DICTIONARY_INFO* info) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (info == nullptr) return SetResult(db, 0, msg::kInfoNeedRecord);
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    lexbase::CopyDescriptionTexts(*info, db);
    db->lists[0].locale = info->primary_locale;
    db->lists[1].locale = info->secondary_locale;
    const std::uint32_t wanted[2] = {info->primary_charset, info->secondary_charset};
    for (int i = 0; i < 2; ++i) {
        lexbase::WordList& list = db->lists[i];
        list.charset =
            lexbase::ChosenCharset(list.charset, list.word_count > 0, list.locale, wanted[i]);
    }
    db->changed = 1;
    return SetResult(db, 1, msg::kInfoSaved);
}

}  // extern "C"
