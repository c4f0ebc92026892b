// The C interface of searching: word listing in its seven modes, the words
// spelled alike in both lists, and translation lookup. Each function checks
// the handle, then its arguments and the state in its own fixed order, runs
// the search and ends through SetResult with the number of results in count.
#include "engine/context.h"
#include "engine/lexbase.h"
#include "engine/messages.h"
#include "engine/result.h"
#include "engine/search_range.h"
#include "engine/translation_lookup.h"
#include "engine/word_listing.h"

using lexbase::FoldOf;
using lexbase::IsListNumber;
using lexbase::kInvalidHandleResult;
using lexbase::SearchOutcome;
using lexbase::SetResult;
namespace msg = lexbase::msg;

namespace {

bool IsEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

const DB_RESULT* Finish(DB_HANDLE db, SearchOutcome outcome) {
    db->result.count = outcome.count;
    return SetResult(db, outcome.status, outcome.message);
}

}  // namespace

extern "C" {

const DB_RESULT* DB_List(DB_HANDLE db, int32_t list, const char* pattern, int32_t case_sensitive,
                         int32_t ignore_accents, uint32_t mode, const char** output,
                         int32_t max_results) {
    if (db == nullptr) return &kInvalidHandleResult;
    db->result.count = 0;
    if (mode != DB_LIST_PALINDROME && IsEmpty(pattern)) {
        return SetResult(db, 0, msg::kSearchEmptyPattern);
    }
    if (output == nullptr) return SetResult(db, 0, msg::kListNeedOutput);
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    if (!IsListNumber(list)) return SetResult(db, 0, msg::kBadList);
    if (mode > DB_LIST_ANAGRAM_EXACT) return SetResult(db, 0, msg::kListBadMode);
    return Finish(db, lexbase::ListWords(db, list, pattern, FoldOf(case_sensitive, ignore_accents),
                                         mode, output, max_results));
}

const DB_RESULT* DB_ListIdenticalWords(DB_HANDLE db, int32_t ignore_accents, int32_t case_sensitive,
                                       const char** output) {
    if (db == nullptr) return &kInvalidHandleResult;
    db->result.count = 0;
    if (output == nullptr) return SetResult(db, 0, msg::kIdenticalNeedOutput);
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    return Finish(db,
                  lexbase::ListIdenticalWords(db, FoldOf(case_sensitive, ignore_accents), output));
}

const DB_RESULT* DB_Translate(DB_HANDLE db, int32_t direction, const char* word,
                              int32_t case_sensitive, int32_t ignore_accents, const char** output,
                              int32_t max_results) {
    if (db == nullptr) return &kInvalidHandleResult;
    db->result.count = 0;
    if (IsEmpty(word)) return SetResult(db, 0, msg::kSearchEmptyPattern);
    if (output == nullptr) return SetResult(db, 0, msg::kTranslateNeedOutput);
    if (!db->ready) return SetResult(db, 0, msg::kDictionaryClosed);
    if (!IsListNumber(direction)) return SetResult(db, 0, msg::kTranslateBadDirection);
    return Finish(
        db, lexbase::Translate(db, direction, word, FoldOf(case_sensitive, ignore_accents), output,
                               max_results));
}

}  // extern "C"
