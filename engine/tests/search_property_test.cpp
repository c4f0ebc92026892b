// Listing and translation on random small dictionaries against a brute-force
// scan of every word under the same fold: the key look-up may narrow the
// scan, but must never lose a match.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/context.h"
#include "engine/lexbase.h"

namespace lexbase {
namespace {

using Pointers = std::vector<const char*>;

// The table of the folding selection, taken straight from the list.
const std::uint8_t* FoldTable(const WordList& list, bool case_sensitive, bool ignore_accents,
                              const std::uint8_t* identity) {
    if (case_sensitive) return ignore_accents ? list.accent_free_table : identity;
    return ignore_accents ? list.accent_free_upper_table : list.lower_table;
}

bool Same(const std::uint8_t* t, char a, char b) {
    return t[static_cast<std::uint8_t>(a)] == t[static_cast<std::uint8_t>(b)];
}

bool Wild(std::string_view p, std::string_view w, const std::uint8_t* t) {
    if (p.empty()) return w.empty();
    if (p[0] == '*') {
        for (std::size_t i = 0; i <= w.size(); ++i) {
            if (Wild(p.substr(1), w.substr(i), t)) return true;
        }
        return false;
    }
    return !w.empty() && (p[0] == '?' || Same(t, p[0], w[0])) && Wild(p.substr(1), w.substr(1), t);
}

bool Prefix(std::string_view p, std::string_view w, const std::uint8_t* t) {
    if (w.size() < p.size()) return false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (!Same(t, p[i], w[i])) return false;
    }
    return true;
}

class SearchPropertyTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int c = 0; c < 256; ++c) identity_[c] = static_cast<std::uint8_t>(c);
        db_ = DB_CreateHandle()->handle;
        ASSERT_EQ(DB_CreateNewDictionary(db_, 1033, 1033)->status, 1);
    }
    void TearDown() override { DB_DestroyHandle(db_); }

    std::string RandomText(std::size_t max_length, std::string_view bytes) {
        std::string text(1 + random_() % max_length, ' ');
        for (char& c : text) c = bytes[random_() % bytes.size()];
        return text;
    }

    // Adds and deletes random words and links, leaving estimated ordinals.
    void FillRandomly() {
        DB_Close(db_);
        ASSERT_EQ(DB_CreateNewDictionary(db_, 1033, 1033)->status, 1);
        const int steps = 1 + random_() % 80;
        for (int i = 0; i < steps; ++i) {
            const std::string word = RandomText(4, kLetters);
            if (random_() % 5 == 0) {
                DB_DeleteWord(db_, DB_PRIMARY_LIST, word.c_str());
            } else if (random_() % 3 == 0) {
                const std::string translation = RandomText(3, "xyz");
                DB_AddTranslation(db_, DB_TRANS_PRIMARY_TO_SECONDARY, word.c_str(),
                                  translation.c_str());
            } else {
                DB_AddWord(db_, DB_PRIMARY_LIST, word.c_str());
            }
        }
    }

    // Checks prefix and wildcard listing and translation for random keys
    // under all four folds.
    void CheckAgainstBruteForce() {
        const WordList& list = db_->lists[0];
        Pointers out(list.word_count + 1);
        for (int k = 0; k < 20; ++k) {
            const std::string prefix = RandomText(3, kLetters);
            const std::string wildcards = RandomText(4, kPatternBytes);
            for (int fold = 0; fold < 4; ++fold) {
                const bool case_sensitive = fold & 1, ignore_accents = fold & 2;
                const std::uint8_t* t = FoldTable(list, case_sensitive, ignore_accents, identity_);
                SCOPED_TRACE("prefix '" + prefix + "' wildcards '" + wildcards + "' fold " +
                             std::to_string(fold));
                Pointers want_prefix, want_wild, want_translations;
                for (WordNode* n = list.head; n != nullptr; n = n->next) {
                    const std::string_view w(n->text, n->length);
                    if (Prefix(prefix, w, t)) want_prefix.push_back(n->text);
                    if (Wild(wildcards, w, t)) want_wild.push_back(n->text);
                    // Every variant of the word's length; the word is unique when exact.
                    if (w.size() == prefix.size() && Prefix(prefix, w, t)) {
                        for (TransLink* l = n->links; l != nullptr; l = l->next) {
                            want_translations.push_back(l->target->text);
                        }
                    }
                }
                const auto max = static_cast<std::int32_t>(out.size());
                const DB_RESULT* r = DB_List(db_, 1, prefix.c_str(), case_sensitive, ignore_accents,
                                             DB_LIST_PREFIX, out.data(), max);
                EXPECT_EQ(Pointers(out.begin(), out.begin() + r->count), want_prefix);
                r = DB_List(db_, 1, wildcards.c_str(), case_sensitive, ignore_accents,
                            DB_LIST_WILDCARDS, out.data(), max);
                EXPECT_EQ(Pointers(out.begin(), out.begin() + r->count), want_wild);
                r = DB_Translate(db_, 1, prefix.c_str(), case_sensitive, ignore_accents, out.data(),
                                 max);
                EXPECT_EQ(Pointers(out.begin(), out.begin() + r->count), want_translations);
            }
        }
    }

    static constexpr std::string_view kLetters = "aAbB\xE4\xC4\xE1z";
    static constexpr std::string_view kPatternBytes = "aAbB\xE4\xC4\xE1z*?*";
    std::mt19937 random_{29};
    std::uint8_t identity_[256];
    DB_HANDLE db_ = nullptr;
};

TEST_F(SearchPropertyTest, EditedDictionariesListWhatABruteForceScanFinds) {
    for (int round = 0; round < 60; ++round) {
        FillRandomly();
        CheckAgainstBruteForce();
        if (HasFailure()) return;
    }
}

TEST_F(SearchPropertyTest, ResortedDictionariesListWhatABruteForceScanFinds) {
    for (int round = 0; round < 60; ++round) {
        FillRandomly();
        DB_ResortList(db_, DB_PRIMARY_LIST, 1033);
        // As after a load: the rebuilt ordinals are positions and trusted.
        db_->lists[0].nodes_moved = round % 2;
        CheckAgainstBruteForce();
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace lexbase
