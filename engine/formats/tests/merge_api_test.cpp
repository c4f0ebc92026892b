// A large merge gives exactly the dictionary that adding its pairs one by one
// gives: the same words in the same order, the same chains in the same order,
// the same count of new pairs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/lexbase.h"
#include "testing/test_support.h"

namespace {

using test_support::ReadFile;

class MergeApiTest : public test_support::ScratchDirTest {
protected:
    void TearDown() override {
        for (DB_HANDLE db : handles_) DB_DestroyHandle(db);
        ScratchDirTest::TearDown();
    }
    DB_HANDLE NewDictionary() {
        handles_.push_back(DB_CreateHandle()->handle);
        EXPECT_EQ(DB_CreateNewDictionary(handles_.back(), 1033, 1031)->status, 1);
        return handles_.back();
    }

    std::vector<DB_HANDLE> handles_;
};

TEST_F(MergeApiTest, ALargeMergeEqualsAddingEachPair) {
    // Words that collate close together: case and accent variants, shared
    // prefixes, repeated pairs, words already in the dictionary.
    std::mt19937 random(5);
    const char* const stems[] = {"house", "House", "h\xf4use", "resume", "r\xe9sum\xe9", "co", "Co",
                                 "co-op", "coop",  "a",        "A",      "zebra"};
    auto word = [&] {
        std::string w = stems[random() % (sizeof stems / sizeof *stems)];
        const int tail = static_cast<int>(random() % 40);
        if (tail < 26) w += static_cast<char>('a' + tail);
        if (random() % 3 == 0) w += std::to_string(random() % 50);
        return w;
    };
    std::vector<std::pair<std::string, std::string>> base, merged;
    for (int i = 0; i < 800; ++i) base.emplace_back(word(), word());
    for (int i = 0; i < 3000; ++i) merged.emplace_back(word(), word());
    merged.push_back(base[3]);

    std::string txt;
    for (const auto& [a, b] : merged) txt += a + "\t" + b + "\r\n";
    const std::string source = Path("more_pairs.txt");
    std::ofstream(source, std::ios::binary) << txt;

    for (const int32_t direction : {DB_TRANS_PRIMARY_TO_SECONDARY, DB_TRANS_SECONDARY_TO_PRIMARY}) {
        SCOPED_TRACE(direction);
        DB_HANDLE by_merge = NewDictionary();
        DB_HANDLE by_pairs = NewDictionary();
        for (const auto& [a, b] : base) {
            ASSERT_NE(DB_AddTranslation(by_merge, 1, a.c_str(), b.c_str())->status, 0);
            ASSERT_NE(DB_AddTranslation(by_pairs, 1, a.c_str(), b.c_str())->status, 0);
        }
        // The pairs in the order the merge reads them: the source's primary
        // words in list order, each word's translations in chain order, which
        // is the order of a text export.
        DB_HANDLE loaded = NewDictionary();
        DB_Close(loaded);
        ASSERT_EQ(DB_Load(loaded, DB_FORMAT_TXT_LOAD, source.c_str(), 0, 0)->status, 1);
        const std::string order = Path("order.txt");
        ASSERT_EQ(DB_Save(loaded, DB_FORMAT_TXT_SAVE, order.c_str())->status, 1);
        int32_t added = 0;
        const std::string lines = ReadFile(order);
        for (std::size_t at = 0; at < lines.size();) {
            const std::size_t tab = lines.find('\t', at);
            const std::size_t end = lines.find("\r\n", tab);
            const std::string w = lines.substr(at, tab - at);
            const std::string t = lines.substr(tab + 1, end - tab - 1);
            if (DB_AddTranslation(by_pairs, direction, w.c_str(), t.c_str())->status == 2) ++added;
            at = end + 2;
        }
        ASSERT_GT(added, 1000);
        const DB_RESULT* r = DB_Update(by_merge, direction, DB_FORMAT_TXT_LOAD, source.c_str());
        ASSERT_EQ(r->status, 2) << r->message;
        EXPECT_EQ(r->added, added);
        EXPECT_EQ(DB_IsChanged(by_merge), 1);
        // Saved, the two are the same bytes: the same words in the same order,
        // the same chains in the same order.
        const std::string merged_file = Path("merged.v03"), pairs_file = Path("pairs.v03");
        ASSERT_EQ(DB_Save(by_merge, DB_FORMAT_V03_SAVE, merged_file.c_str())->status, 1);
        ASSERT_EQ(DB_Save(by_pairs, DB_FORMAT_V03_SAVE, pairs_file.c_str())->status, 1);
        EXPECT_TRUE(ReadFile(merged_file) == ReadFile(pairs_file));
        DB_HANDLE again = NewDictionary();
        DB_Close(again);
        EXPECT_EQ(DB_Load(again, DB_FORMAT_V03_LOAD, merged_file.c_str(), 0, 0)->status, 1);
        // A second merge of the same pairs adds nothing.
        r = DB_Update(by_merge, direction, DB_FORMAT_TXT_LOAD, source.c_str());
        EXPECT_EQ(r->status, 1);
        EXPECT_EQ(r->added, 0);
    }
}

}  // namespace
