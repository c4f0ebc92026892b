// Small dictionaries for the tests, built through the engine's own API.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/lexbase.h"

namespace wordbay::testing {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Writes a V03 dictionary of `pairs` (primary word, secondary word) with the
// two list names to `path`.
inline void WriteDictionary(const std::string& path, const Pairs& pairs,
                            const std::string& primary_name = "English",
                            const std::string& secondary_name = "Croatian",
                            std::uint32_t primary_locale = 1033,
                            std::uint32_t secondary_locale = 1050) {
    DB_HANDLE db = DB_CreateHandle()->handle;
    ASSERT_NE(db, nullptr);
    ASSERT_NE(DB_CreateNewDictionary(db, primary_locale, secondary_locale)->status, 0);
    for (const auto& [word, translation] : pairs) {
        ASSERT_NE(
            DB_AddTranslation(db, DB_TRANS_PRIMARY_TO_SECONDARY, word.c_str(), translation.c_str())
                ->status,
            0);
    }
    DICTIONARY_INFO info{};
    ASSERT_NE(DB_GetDictionaryInfo(db, &info)->status, 0);
    std::strncpy(info.primary_list_name, primary_name.c_str(), 39);
    std::strncpy(info.secondary_list_name, secondary_name.c_str(), 39);
    std::strncpy(info.name, (primary_name + " - " + secondary_name).c_str(), 99);
    ASSERT_NE(DB_SetDictionaryInfo(db, &info)->status, 0);
    const DB_RESULT* saved = DB_Save(db, DB_FORMAT_V03_SAVE, path.c_str());
    ASSERT_NE(saved->status, 0) << saved->message;
    DB_DestroyHandle(db);
}

// The description stored in the dictionary file `path` (all zero when none
// loads).
inline DICTIONARY_INFO StoredInfo(const std::string& path) {
    DICTIONARY_INFO info{};
    DB_HANDLE db = DB_CreateHandle()->handle;
    const DB_RESULT* r = DB_GetDictionaryInfoA(db, path.c_str(), &info);
    EXPECT_NE(r->status, 0) << path << ": " << r->message;
    DB_DestroyHandle(db);
    return info;
}

}  // namespace wordbay::testing
