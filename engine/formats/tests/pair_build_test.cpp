// Building a dictionary from word pairs: order, distinct words, links in both
// directions, the index and tables, progress, and the clean-up after a failure.
#include "engine/formats/pair_build.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/lexbase.h"
#include "platform/collation.h"

namespace lexbase {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;
// Each word of a list in list order with its translations in chain order.
using Entries = std::vector<std::pair<std::string, std::vector<std::string>>>;

Entries Dump(const WordList& list) {
    Entries out;
    for (const WordNode* node = list.head; node != nullptr; node = node->next) {
        std::vector<std::string> targets;
        for (const TransLink* link = node->links; link != nullptr; link = link->next) {
            targets.emplace_back(link->target->text, link->target->length);
        }
        out.emplace_back(std::string(node->text, node->length), targets);
    }
    return out;
}

class PairBuildTest : public ::testing::Test {
protected:
    void SetUp() override { db_ = DB_CreateHandle()->handle; }
    void TearDown() override {
        FailBuildAllocationForTesting(0);
        DB_DestroyHandle(db_);
    }

    // Builds from `pairs` with English primary and Croatian secondary lists.
    bool Build(const Pairs& pairs) {
        texts_ = pairs;  // the texts must outlive the build
        EXPECT_TRUE(array_.Reserve(texts_.size()));
        for (const auto& [p, s] : texts_) EXPECT_TRUE(array_.Add(p, s));
        db_->lists[0].locale = 1033;
        db_->lists[1].locale = 1050;
        return BuildFromPairs(db_, array_.data(), array_.size());
    }
    const WordList& primary() const { return db_->lists[0]; }
    const WordList& secondary() const { return db_->lists[1]; }

    DB_CONTEXT* db_ = nullptr;
    Pairs texts_;
    PairArray array_;
};

TEST_F(PairBuildTest, WordsAreSortedAndTranslationsKeepSourceOrder) {
    ASSERT_TRUE(Build({{"b", "x"}, {"a", "y"}, {"a", "z"}}));
    EXPECT_EQ(Dump(primary()), (Entries{{"a", {"y", "z"}}, {"b", {"x"}}}));
    EXPECT_EQ(Dump(secondary()), (Entries{{"x", {"b"}}, {"y", {"a"}}, {"z", {"a"}}}));
    EXPECT_EQ(primary().word_count, 2u);
    EXPECT_EQ(secondary().word_count, 3u);
    EXPECT_EQ(primary().text_bytes, 4u);
    EXPECT_EQ(secondary().text_bytes, 6u);
    EXPECT_EQ(primary().translation_count, 3u);
    EXPECT_EQ(secondary().translation_count, 3u);
}

TEST_F(PairBuildTest, RepeatedTextsAndTextsWithEqualKeysGroupInByteOrder) {
    // Control bytes are ignorable: "\x02" and "\x01" get equal keys and order
    // by their bytes; repeats of a text keep their source order.
    ASSERT_TRUE(Build({{"\x02", "x"}, {"\x02", "w"}, {"\x01", "y"}, {"b", "v"}, {"\x02", "z"}}));
    EXPECT_EQ(Dump(primary()), (Entries{{"\x01", {"y"}}, {"\x02", {"x", "w", "z"}}, {"b", {"v"}}}));
}

// Each list is the pairs sorted by the key of their text, then its bytes,
// then their source order, however far apart a text's pairs lie.
TEST_F(PairBuildTest, ScatteredRepeatsGroupAsAStableSortByKeyGroupsThem) {
    Pairs pairs;
    for (int i = 0; i < 5000; ++i) {
        pairs.emplace_back((i % 3 == 0 ? "W" : "w") + std::to_string(i * 7919 % 1300),
                           "t" + std::to_string(i % 977) + (i % 5 == 0 ? "\x01" : ""));
    }
    ASSERT_TRUE(Build(pairs));
    const auto expected = [&](bool secondary) {
        std::vector<std::pair<std::string, std::size_t>> keyed;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            std::string key;
            const std::string& text = secondary ? pairs[i].second : pairs[i].first;
            platform::AppendSortKey(secondary ? 1050 : 1033, text, &key);
            keyed.emplace_back(key + '\0' + text, i);
        }
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        Entries out;
        for (const auto& [key, i] : keyed) {
            const std::string& text = secondary ? pairs[i].second : pairs[i].first;
            if (out.empty() || out.back().first != text)
                out.emplace_back(text, Entries::value_type::second_type{});
            out.back().second.push_back(secondary ? pairs[i].first : pairs[i].second);
        }
        return out;
    };
    EXPECT_EQ(Dump(primary()), expected(false));
    EXPECT_EQ(Dump(secondary()), expected(true));
}

TEST_F(PairBuildTest, ListsLieInTheirBlocksInListOrder) {
    ASSERT_TRUE(Build({{"cc", "x"}, {"a", "y"}, {"bb", "x"}, {"a", "x"}}));
    const WordList& p = primary();
    EXPECT_EQ(std::string(p.text_block, p.text_bytes), std::string("a\0bb\0cc\0", 8));
    EXPECT_EQ(p.head, &p.node_block[0]);
    EXPECT_EQ(p.tail, &p.node_block[2]);
    for (std::uint32_t i = 0; i < p.word_count; ++i) {
        const WordNode& node = p.node_block[i];
        EXPECT_EQ(node.flags, 0);
        EXPECT_EQ(node.prev, i == 0 ? nullptr : &p.node_block[i - 1]);
        EXPECT_EQ(node.next, i + 1 == p.word_count ? nullptr : &p.node_block[i + 1]);
    }
    // The links of a word follow one another in the block, words in list order.
    EXPECT_EQ(p.node_block[0].links, &p.link_block[0]);
    EXPECT_EQ(p.link_block[0].next, &p.link_block[1]);
    EXPECT_EQ(p.link_block[1].next, nullptr);
    EXPECT_EQ(p.node_block[1].links, &p.link_block[2]);
    EXPECT_EQ(p.node_block[2].links, &p.link_block[3]);
    EXPECT_EQ(Dump(secondary()), (Entries{{"x", {"cc", "bb", "a"}}, {"y", {"a"}}}));
}

TEST_F(PairBuildTest, CaseVariantsStaySeparateAndTieByPosition) {
    ASSERT_TRUE(Build({{"a", "x"}, {"A", "x"}}));
    const Entries p = Dump(primary());
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(Dump(secondary()), (Entries{{"x", {"a", "A"}}}));

    DB_Close(db_);
    ASSERT_TRUE(Build({{"A", "x"}, {"a", "x"}}));
    EXPECT_EQ(Dump(secondary()), (Entries{{"x", {"A", "a"}}}));
    EXPECT_EQ(Dump(primary()), p);  // the list order comes from collation, not the source
}

TEST_F(PairBuildTest, RepeatedPairGivesTwoLinks) {
    ASSERT_TRUE(Build({{"a", "x"}, {"a", "x"}}));
    EXPECT_EQ(Dump(primary()), (Entries{{"a", {"x", "x"}}}));
    EXPECT_EQ(Dump(secondary()), (Entries{{"x", {"a", "a"}}}));
    EXPECT_EQ(primary().translation_count, 2u);
    EXPECT_EQ(secondary().translation_count, 2u);
}

// A control character weighs nothing in collation, so "a" and "a\x01" share a
// key; interleaved pairs must still give each text one word.
TEST_F(PairBuildTest, TextsWithEqualKeysStayDistinctWords) {
    std::string key_a, key_b;
    platform::AppendSortKey(1033, "a", &key_a);
    platform::AppendSortKey(1033, "a\x01", &key_b);
    ASSERT_EQ(key_a, key_b);
    ASSERT_TRUE(Build({{"a", "x"}, {"a\x01", "y"}, {"a", "z"}}));
    const Entries p = Dump(primary());
    ASSERT_EQ(p.size(), 2u);
    const std::vector<std::string> x_z = {"x", "z"}, y = {"y"};
    for (const auto& [word, targets] : p) EXPECT_EQ(targets, word == "a" ? x_z : y);
}

TEST_F(PairBuildTest, OrderIndexAndTablesFollowTheLocales) {
    const Pairs pairs = {{"zebra", "zebra"},       {"apple", "jabuka"}, {"Apple", "Jabuka"},
                         {"\xE4pple", "\xE8izma"}, {"ap", "cipela"},    {"banana", "banana"},
                         {"b", "\xE6up"},          {"Zulu", "cesta"},   {"ant", "\xC8ovjek"}};
    ASSERT_TRUE(Build(pairs));
    for (const WordList* list : {&primary(), &secondary()}) {
        SCOPED_TRACE(list->locale);
        for (const WordNode* n = list->head; n != nullptr && n->next != nullptr; n = n->next) {
            EXPECT_LE(platform::CompareText(list->locale, 0, n->text, n->next->text), 0)
                << n->text << " before " << n->next->text;
        }
        ASSERT_NE(list->regex_tables, nullptr);
    }
    for (const auto& [p, s] : pairs) {
        WordNode* found = FindWord(&db_->lists[0], p);
        ASSERT_NE(found, nullptr) << p;
        EXPECT_EQ(std::string(found->links->target->text), s);
        EXPECT_NE(FindWord(&db_->lists[1], s), nullptr) << s;
    }
    EXPECT_EQ(primary().locale, 1033u);
    EXPECT_EQ(primary().upper_table[0xE4], 0xC4);
    // In Croatian (code page 1250) 0xE8 is c with caron.
    EXPECT_EQ(secondary().upper_table[0xE8], 0xC8);
    EXPECT_EQ(secondary().accent_free_table[0xE8], 'c');
}

TEST(PairArrayTest, RefusesWordsTheListsCannotHold) {
    PairArray pairs;
    ASSERT_TRUE(pairs.Reserve(3));
    EXPECT_FALSE(pairs.Add("", "x"));
    EXPECT_FALSE(pairs.Add("a", ""));
    EXPECT_FALSE(pairs.Add(std::string(kMaxWordBytes + 1, 'w'), "x"));
    EXPECT_FALSE(pairs.Add(std::string("a\0b", 3), "x"));
    EXPECT_TRUE(pairs.Add("a", "x"));
    EXPECT_TRUE(pairs.Add("b", "y"));
    EXPECT_TRUE(pairs.Add("c", "z"));
    EXPECT_FALSE(pairs.Add("d", "w"));  // the reserved room is used up
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs.data()[0].position, 0);
    EXPECT_EQ(pairs.data()[2].position, 2);
}

// Fails each allocation of the build in turn: every failure leaves a fresh,
// reusable handle, and the progress reached never falls back from one
// allocation to the next. Leaks show in the sanitizer build.
TEST_F(PairBuildTest, FailedAllocationLeavesTheHandleEmpty) {
    const Pairs pairs = {{"b", "x"}, {"a", "y"}, {"a", "z"}, {"c", "y"}};
    std::uint32_t last_progress = 0;
    int n = 1;
    for (;; ++n) {
        SCOPED_TRACE(n);
        FailBuildAllocationForTesting(n);
        if (Build(pairs)) break;
        EXPECT_STREQ(db_->message, "Memory allocation error !");
        for (const WordList* list : {&primary(), &secondary()}) {
            EXPECT_EQ(list->head, nullptr);
            EXPECT_EQ(list->text_block, nullptr);
            EXPECT_EQ(list->node_block, nullptr);
            EXPECT_EQ(list->link_block, nullptr);
            EXPECT_EQ(list->word_count, 0u);
            EXPECT_EQ(list->locale, 0u);
        }
        const std::uint32_t progress = db_->progress_current.load();
        EXPECT_GE(progress, last_progress);
        last_progress = progress;
    }
    EXPECT_GT(n, 10);  // two views, two key blocks, three blocks for each list
    FailBuildAllocationForTesting(0);
    EXPECT_EQ(Dump(primary()), (Entries{{"a", {"y", "z"}}, {"b", {"x"}}, {"c", {"y"}}}));
}

TEST_F(PairBuildTest, ProgressStepsForwardThroughTheBuild) {
    Pairs pairs;
    for (int i = 0; i < 20000; ++i) {
        pairs.emplace_back("w" + std::to_string(i * 7919 % 20000), "t" + std::to_string(i % 977));
    }
    std::atomic<bool> done{false};
    std::vector<int> seen;
    std::thread watcher([&] {
        while (!done.load()) {
            const int p = DB_GetExecutionProgress(db_);
            if (seen.empty() || seen.back() != p) seen.push_back(p);
        }
    });
    const bool built = Build(pairs);
    done = true;
    watcher.join();
    ASSERT_TRUE(built);
    const std::set<int> steps = {0, 28, 30, 52, 60, 80, 85, 88, 89, 92, 93, 94, 96, 97};
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_TRUE(steps.count(seen[i])) << seen[i];
        if (i > 0) {
            EXPECT_GT(seen[i], seen[i - 1]);
        }
    }
    EXPECT_EQ(DB_GetExecutionProgress(db_), 97);
    EXPECT_EQ(primary().word_count, 20000u);
    EXPECT_EQ(secondary().word_count, 977u);
}

}  // namespace
}  // namespace lexbase
