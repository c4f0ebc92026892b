#include "wordlists/history_store.h"

#include <sys/stat.h>

#include "testing/test_support.h"

namespace wordlists {
namespace {

class HistoryStoreTest : public test_support::ScratchDirTest {
protected:
    static WordKey Key(const std::string& word, int direction = 1) {
        return {word, "Engleski_Hrvatski.v03", direction};
    }
    static std::vector<std::string> Words(const HistoryStore& store) {
        std::vector<std::string> words;
        for (const HistoryEntry& e : store.entries()) words.push_back(e.key.word);
        return words;
    }
};

TEST_F(HistoryStoreTest, RepeatsFoldIntoTheNewestEntryWithACount) {
    HistoryStore store(Path("h"));
    store.Open();
    store.Add(Key("house"), 100);
    store.Add(Key("dog"), 101);
    store.Add(Key("house"), 102);
    store.Add(Key("house", 2), 103);  // the other direction is another entry
    store.Add({"dog", "English_German.v03", 1}, 104);
    ASSERT_TRUE(store.Flush());

    HistoryStore again(Path("h"));
    again.Open();
    ASSERT_EQ(again.entries().size(), 4u);
    EXPECT_EQ(again.entries()[0].key.dictionary, "English_German.v03");
    EXPECT_EQ(again.entries()[1].key, Key("house", 2));
    EXPECT_EQ(again.entries()[2].key, Key("house"));
    EXPECT_EQ(again.entries()[2].count, 2);
    EXPECT_EQ(again.entries()[2].time, 102);
    EXPECT_EQ(again.entries()[3].key, Key("dog"));
}

TEST_F(HistoryStoreTest, NothingIsWrittenBeforeTheFlush) {
    HistoryStore store(Path("h"));
    store.Open();
    store.Add(Key("a"), 1);
    EXPECT_TRUE(store.HasPending());
    EXPECT_FALSE(test_support::FileExists(Path("h")));
    ASSERT_TRUE(store.Flush());
    EXPECT_FALSE(store.HasPending());
}

TEST_F(HistoryStoreTest, TheLimitKeepsTheNewestAndZeroRecordsNothing) {
    HistoryStore store(Path("h"), 3);
    store.Open();
    for (int i = 0; i < 5; ++i) store.Add(Key("w" + std::to_string(i)), i);
    EXPECT_EQ(Words(store), (std::vector<std::string>{"w4", "w3", "w2"}));
    store.SetLimit(2);
    EXPECT_EQ(Words(store), (std::vector<std::string>{"w4", "w3"}));
    ASSERT_TRUE(store.Flush());
    HistoryStore reread(Path("h"), 2);
    reread.Open();
    EXPECT_EQ(Words(reread), (std::vector<std::string>{"w4", "w3"}));

    HistoryStore off(Path("h"), 0);
    off.Open();
    off.Add(Key("new"), 9);
    EXPECT_EQ(Words(off), (std::vector<std::string>{"w4", "w3"}));
    EXPECT_FALSE(off.HasPending());
}

TEST_F(HistoryStoreTest, RemovalsAndClearingLast) {
    HistoryStore store(Path("h"));
    store.Open();
    store.Add(Key("a"), 1);
    store.Add(Key("b"), 2);
    store.Add(Key("c"), 3);
    store.Remove(Key("b"));
    ASSERT_TRUE(store.Flush());
    HistoryStore again(Path("h"));
    again.Open();
    EXPECT_EQ(Words(again), (std::vector<std::string>{"c", "a"}));
    again.Clear();
    again.Add(Key("d"), 4);
    ASSERT_TRUE(again.Flush());
    HistoryStore third(Path("h"));
    third.Open();
    EXPECT_EQ(Words(third), (std::vector<std::string>{"d"}));
}

// Years of look-ups keep the file small: it is rewritten with one record per
// entry once it has grown past twice the entries, the counts kept.
TEST_F(HistoryStoreTest, TheJournalIsCompactedWithItsCounts) {
    HistoryStore store(Path("h"), 100);
    store.Open();
    for (int round = 0; round < 50; ++round) {
        for (int i = 0; i < 90; ++i) store.Add(Key("w" + std::to_string(i)), round * 1000 + i);
        ASSERT_TRUE(store.Flush());
    }
    struct stat status {};
    ASSERT_EQ(::stat(Path("h").c_str(), &status), 0);
    EXPECT_LT(status.st_size, 80 * 600);
    HistoryStore again(Path("h"), 100);
    again.Open();
    ASSERT_EQ(again.entries().size(), 90u);
    EXPECT_EQ(again.entries()[0].key.word, "w89");
    EXPECT_EQ(again.entries()[0].count, 50);
    EXPECT_EQ(again.entries()[0].time, 49089);
    EXPECT_EQ(again.entries()[89].key.word, "w0");
}

TEST_F(HistoryStoreTest, RecordsOfWrongShapeAreLeftOut) {
    Journal journal(Path("h"), "history", kMaxJournalBytes);
    journal.Load();
    journal.Append({"L", "1", "1", "1", "d.v03", "good"});
    journal.Append({"L", "x", "1", "1", "d.v03", "bad time"});
    journal.Append({"L", "1", "-3", "1", "d.v03", "bad count"});
    journal.Append({"L", "1", "1", "7", "d.v03", "bad direction"});
    journal.Append({"L", "1", "1"});
    journal.Append({"Z", "from a later version"});
    ASSERT_TRUE(journal.Flush());
    HistoryStore store(Path("h"));
    store.Open();
    EXPECT_EQ(Words(store), (std::vector<std::string>{"good"}));
}

}  // namespace
}  // namespace wordlists
