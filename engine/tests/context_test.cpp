// Progress arithmetic, the message buffer and closing, inside the engine.
#include "engine/context.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/messages.h"
#include "engine/result.h"

namespace lexbase {
namespace {

class ContextTest : public ::testing::Test {
protected:
    void SetUp() override { db_ = DB_CreateHandle()->handle; }
    void TearDown() override { DB_DestroyHandle(db_); }
    void Progress(std::uint32_t low, std::uint32_t high, std::uint32_t current) {
        db_->progress_low = low;
        db_->progress_high = high;
        db_->progress_current = current;
    }
    DB_CONTEXT* db_ = nullptr;
};

TEST_F(ContextTest, ProgressPercentage) {
    Progress(0, 100, 45);
    EXPECT_EQ(DB_GetExecutionProgress(db_), 45);
    Progress(0, 0, 45);
    EXPECT_EQ(DB_GetExecutionProgress(db_), 0);
    Progress(0, 100, 150);
    EXPECT_EQ(DB_GetExecutionProgress(db_), 100);
    Progress(50, 40, 30);  // low above high
    EXPECT_EQ(DB_GetExecutionProgress(db_), 0);
    Progress(10, 20, 15);
    EXPECT_EQ(DB_GetExecutionProgress(db_), 50);
    Progress(0, 3, 2);  // rounded down
    EXPECT_EQ(DB_GetExecutionProgress(db_), 66);
    // Large word counts do not overflow the multiplication.
    Progress(0, 4'000'000'000u, 3'000'000'000u);
    EXPECT_EQ(DB_GetExecutionProgress(db_), 75);
}

TEST_F(ContextTest, WordLoopsCountUpToTheirTotal) {
    StartProgress(db_, 4);
    EXPECT_EQ(DB_GetExecutionProgress(db_), 0);
    AdvanceProgress(db_);
    EXPECT_EQ(DB_GetExecutionProgress(db_), 25);
    SetProgress(db_, 92);
    EXPECT_EQ(DB_GetExecutionProgress(db_), 92);
}

TEST_F(ContextTest, MessagesAreCutAt520Characters) {
    const std::string long_text(700, 'm');
    const DB_RESULT* r = SetResult(db_, 0, long_text.c_str());
    EXPECT_EQ(std::string(r->message), std::string(520, 'm'));
    // A null message keeps what the buffer holds.
    r = SetResult(db_, 1, nullptr);
    EXPECT_EQ(r->status, 1);
    EXPECT_EQ(std::string(r->message).size(), 520u);
}

TEST_F(ContextTest, FileNamesInMessagesAreCut) {
    const std::string name(600, 'f');
    FormatFileMessage(db_, "Can't open file:\n%.*s", name.c_str());
    const std::string text = SetResult(db_, 0, nullptr)->message;
    EXPECT_EQ(text.size(), 520u);
    EXPECT_EQ(text.substr(0, 17), "Can't open file:\n");
    FormatFileMessage(db_, "Can't open file:\n%.*s!", "a.v03");
    EXPECT_STREQ(SetResult(db_, 0, nullptr)->message, "Can't open file:\na.v03!");
}

TEST_F(ContextTest, ResultFieldsSurviveLaterCalls) {
    db_->result.count = 7;
    SetResult(db_, 1, "x");
    EXPECT_EQ(db_->result.count, 7);
    EXPECT_EQ(db_->result.handle, db_);
}

TEST_F(ContextTest, ClosingFreesEditedWordsAndLinks) {
    ASSERT_EQ(DB_CreateNewDictionary(db_, 1033, 1050)->status, 1);
    const std::uint64_t in_arena = arena::CurrentUsage().in_use;
    // An edited dictionary: single allocations hanging from both lists.
    WordNode* p = NewWordNode("dog");
    WordNode* s = NewWordNode("pas");
    p->links = NewTransLink(s);
    s->links = NewTransLink(p);
    db_->lists[0].head = db_->lists[0].tail = p;
    db_->lists[1].head = db_->lists[1].tail = s;
    for (auto& list : db_->lists) {
        list.word_count = 1;
        list.translation_count = 1;
        list.texts_moved = list.nodes_moved = list.links_changed = 1;
    }
    DB_Close(db_);  // the sanitizer build reports anything left behind in the heap
    EXPECT_EQ(arena::CurrentUsage().in_use, in_arena);
    EXPECT_EQ(db_->lists[0].head, nullptr);
    EXPECT_EQ(db_->lists[1].regex_tables, nullptr);
    EXPECT_EQ(db_->lists[0].locale, 0u);
    EXPECT_STREQ(db_->message, msg::kClosed);
}

}  // namespace
}  // namespace lexbase
