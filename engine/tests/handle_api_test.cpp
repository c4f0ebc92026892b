// Handles, state flags and the message buffer, through lexbase.h only.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/lexbase.h"

namespace {

class Handle {
public:
    Handle() : db_(DB_CreateHandle()->handle) {}
    ~Handle() { DB_DestroyHandle(db_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    DB_HANDLE get() const { return db_; }

private:
    DB_HANDLE db_;
};

void ExpectInvalidHandle(const DB_RESULT* r) {
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->status, 0);
    EXPECT_STREQ(r->message, "Invalid database handle!");
    EXPECT_EQ(r->handle, nullptr);
    EXPECT_EQ(r->word, nullptr);
    EXPECT_EQ(r->count, 0);
}

TEST(HandleTest, NullHandleAnswersWithoutCrashing) {
    DICTIONARY_INFO info{};
    ExpectInvalidHandle(DB_Close(nullptr));
    ExpectInvalidHandle(DB_DestroyHandle(nullptr));
    ExpectInvalidHandle(DB_CreateNewDictionary(nullptr, 1033, 1050));
    ExpectInvalidHandle(DB_GetDictionaryInfo(nullptr, &info));
    ExpectInvalidHandle(DB_SetDictionaryInfo(nullptr, &info));
    EXPECT_EQ(DB_IsReady(nullptr), 0);
    EXPECT_EQ(DB_IsChanged(nullptr), 0);
    EXPECT_EQ(DB_GetExecutionProgress(nullptr), 0);
    EXPECT_EQ(DB_EndLoop(nullptr, 1), 0);
    EXPECT_EQ(DB_GetLastErrorMessage(nullptr), nullptr);
}

TEST(HandleTest, CreateAndDestroyAnswerWithTheirMessages) {
    const DB_RESULT* r = DB_CreateHandle();
    ASSERT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "New handle successfully created.");
    DB_HANDLE db = r->handle;
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(DB_IsReady(db), 0);
    EXPECT_EQ(DB_GetExecutionProgress(db), 0);
    r = DB_DestroyHandle(db);
    EXPECT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "Database handle successfully destroyed.");
    EXPECT_EQ(r->handle, nullptr);
}

TEST(HandleTest, HandlesAreIndependent) {
    Handle a, b;
    ASSERT_NE(a.get(), b.get());
    ASSERT_EQ(DB_CreateNewDictionary(a.get(), 1033, 1050)->status, 1);
    EXPECT_EQ(DB_IsReady(a.get()), 1);
    EXPECT_EQ(DB_IsReady(b.get()), 0);
}

TEST(HandleTest, CloseOnAnEmptyHandleSucceedsAndKeepsTheHandleUsable) {
    Handle h;
    const DB_RESULT* r = DB_Close(h.get());
    EXPECT_EQ(r->status, 1);
    EXPECT_STREQ(r->message, "Dictionary is successfully closed!");
    EXPECT_EQ(r->handle, h.get());
    EXPECT_STREQ(DB_GetLastErrorMessage(h.get()), "Dictionary is successfully closed!");
    EXPECT_EQ(DB_CreateNewDictionary(h.get(), 1033, 1050)->status, 1);
}

TEST(HandleTest, CloseEmptiesTheHandleButKeepsMessageAndHandleField) {
    Handle h;
    ASSERT_EQ(DB_CreateNewDictionary(h.get(), 1033, 1050)->status, 1);
    DICTIONARY_INFO info{};
    std::strcpy(info.name, "Test");
    info.primary_locale = 1033;
    info.secondary_locale = 1050;
    ASSERT_EQ(DB_SetDictionaryInfo(h.get(), &info)->status, 1);
    EXPECT_EQ(DB_IsChanged(h.get()), 1);

    const DB_RESULT* r = DB_Close(h.get());
    EXPECT_EQ(r->handle, h.get());
    EXPECT_EQ(DB_IsReady(h.get()), 0);
    EXPECT_EQ(DB_IsChanged(h.get()), 0);
    r = DB_GetDictionaryInfo(h.get(), &info);
    EXPECT_EQ(r->status, 0);
    EXPECT_STREQ(r->message, "Dictionary is closed!\nLoad dictionary first or create new one!");

    // A new dictionary starts with empty strings again.
    ASSERT_EQ(DB_CreateNewDictionary(h.get(), 1033, 1033)->status, 1);
    ASSERT_EQ(DB_GetDictionaryInfo(h.get(), &info)->status, 1);
    EXPECT_STREQ(info.name, "");
    EXPECT_EQ(info.primary_charset, 0u);
}

TEST(HandleTest, IsChangedEmptiesTheMessage) {
    Handle h;
    DB_Close(h.get());
    ASSERT_STRNE(DB_GetLastErrorMessage(h.get()), "");
    EXPECT_EQ(DB_IsChanged(h.get()), 0);
    EXPECT_STREQ(DB_GetLastErrorMessage(h.get()), "");
}

TEST(HandleTest, CreatingTwiceIsRefused) {
    Handle h;
    ASSERT_EQ(DB_CreateNewDictionary(h.get(), 1033, 1050)->status, 1);
    const DB_RESULT* r = DB_CreateNewDictionary(h.get(), 1033, 1050);
    EXPECT_EQ(r->status, 0);
    EXPECT_STREQ(r->message,
                 "This handle points to already loaded dictionary!\nClose this dictionary first!");
    EXPECT_EQ(DB_IsReady(h.get()), 1);
    EXPECT_EQ(DB_IsChanged(h.get()), 0);
}

TEST(HandleTest, EndLoopWithoutALoopIsHarmless) {
    Handle h;
    EXPECT_EQ(DB_EndLoop(h.get(), 1), 1);
    EXPECT_EQ(DB_EndLoop(h.get(), 0), 1);
    EXPECT_EQ(DB_CreateNewDictionary(h.get(), 1033, 1050)->status, 1);
}

}  // namespace
