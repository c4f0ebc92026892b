// The C interface of dictionary editing. Each function checks the handle, the
// open dictionary and its arguments in its own fixed order, then runs the
// operation and ends through SetResult.
#include <cstring>

#include "engine/context.h"
#include "engine/editing.h"
#include "engine/lexbase.h"
#include "engine/messages.h"
#include "engine/result.h"
#include "engine/word_insert.h"

using lexbase::EditOutcome;
using lexbase::IsListNumber;
using lexbase::kInvalidHandleResult;
using lexbase::kMaxWordBytes;
using lexbase::SetResult;
namespace msg = lexbase::msg;

namespace {

bool IsEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

bool IsTooLong(const char* text) { return strnlen(text, kMaxWordBytes + 1) > kMaxWordBytes; }

const DB_RESULT* Finish(DB_HANDLE db, EditOutcome outcome) {
    return SetResult(db, outcome.status, outcome.message);
}

}  // namespace

extern "C" {

const DB_RESULT* DB_AddWord(DB_HANDLE db, int32_t list, const char* word) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    if (IsEmpty(word)) return SetResult(db, 0, msg::kAddEmptyWord3);
    if (IsTooLong(word)) return SetResult(db, 0, msg::kWordTooLong3);
    if (!IsListNumber(list)) return SetResult(db, 0, msg::kBadList);
    return Finish(db, lexbase::AddWord(db, list, word));
}

const DB_RESULT* DB_AddTranslation(DB_HANDLE db, int32_t direction, const char* word,
                                   const char* translation) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    if (IsEmpty(word)) return SetResult(db, 0, msg::kAddEmptyWord3);
    if (IsTooLong(word)) return SetResult(db, 0, msg::kWordTooLong3);
    if (IsEmpty(translation)) return SetResult(db, 0, msg::kAddEmptyWord4);
    if (IsTooLong(translation)) return SetResult(db, 0, msg::kWordTooLong4);
    if (!IsListNumber(direction)) return SetResult(db, 0, msg::kBadDirection);
    return Finish(db, lexbase::AddTranslation(db, direction, word, translation));
}

const DB_RESULT* DB_DeleteWord(DB_HANDLE db, int32_t list, const char* word) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    if (IsEmpty(word)) return SetResult(db, 0, msg::kDeleteEmptyWord3);
    if (!IsListNumber(list)) return SetResult(db, 0, msg::kBadList);
    return Finish(db, lexbase::DeleteWord(db, list, word));
}

const DB_RESULT* DB_DeleteTranslation(DB_HANDLE db, int32_t direction, const char* word,
                                      const char* translation) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    if (IsEmpty(word)) return SetResult(db, 0, msg::kDeleteEmptyWord3);
    if (IsEmpty(translation)) return SetResult(db, 0, msg::kDeleteEmptyWord4);
    if (!IsListNumber(direction)) return SetResult(db, 0, msg::kBadDirection);
    return Finish(db, lexbase::DeleteTranslation(db, direction, word, translation));
}

const DB_RESULT* DB_ChangeWord(DB_HANDLE db, int32_t list, const char* old_word,
                               const char* new_word) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    if (IsEmpty(old_word) || IsEmpty(new_word)) return SetResult(db, 0, msg::kChangeEmptyWord);
    if (IsTooLong(new_word)) return SetResult(db, 0, msg::kWordTooLong4);
    if (!IsListNumber(list)) return SetResult(db, 0, msg::kBadList);
    return Finish(db, lexbase::ChangeWord(db, list, old_word, new_word));
}

const DB_RESULT* DB_SwapTranslations(DB_HANDLE db, int32_t list, const char* word,
                                     const char* translation1, const char* translation2) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    if (IsEmpty(word)) return SetResult(db, 0, msg::kSearchEmptyWord3);
    if (IsEmpty(translation1)) return SetResult(db, 0, msg::kSearchEmptyWord4);
    // An empty second translation is merely absent; a null one can't be read.
    if (translation2 == nullptr) return SetResult(db, 0, msg::kSearchEmptyWord5);
    if (!IsListNumber(list)) return SetResult(db, 0, msg::kBadList);
    return Finish(db, lexbase::SwapTranslations(db, list, word, translation1, translation2));
}

const DB_RESULT* DB_ResortList(DB_HANDLE db, int32_t list, uint32_t locale) {
    if (db == nullptr) return &kInvalidHandleResult;
    lexbase::SetProgress(db, 0);
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    if (!IsListNumber(list)) return SetResult(db, 0, msg::kBadList);
    return Finish(db, lexbase::ResortList(db, list, locale));
}

}  // extern "C"
