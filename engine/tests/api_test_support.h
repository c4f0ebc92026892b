// What the engine's tests share on top of testing/test_support.h: the result
// check and the fixtures of the handle. Tests of the C interface stay clients
// of lexbase.h alone: this header adds nothing of the engine's insides.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "engine/lexbase.h"
#include "testing/test_support.h"

// Checks the status and the message of one call's result, compared with the
// literal text so that a changed message is caught.
#define EXPECT_RESULT(call, status_, message_)                \
    do {                                                      \
        const DB_RESULT* r_ = (call);                         \
        EXPECT_EQ(r_->status, status_);                       \
        EXPECT_EQ(std::string_view(r_->message), (message_)); \
    } while (0)

// A fixture with a scratch folder and a fresh handle, destroyed afterwards.
class ScratchHandleTest : public test_support::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        db_ = DB_CreateHandle()->handle;
    }
    void TearDown() override {
        DB_DestroyHandle(db_);
        ScratchDirTest::TearDown();
    }

    DB_HANDLE db_ = nullptr;
};

// A fixture with a handle that holds a new, empty dictionary: English and, as
// its fixture chooses, Croatian or English again.
class NewDictionaryTest : public ::testing::Test {
protected:
    explicit NewDictionaryTest(std::uint32_t secondary_locale = 1050)
        : secondary_locale_(secondary_locale) {}
    void SetUp() override {
        db_ = DB_CreateHandle()->handle;
        ASSERT_EQ(DB_CreateNewDictionary(db_, 1033, secondary_locale_)->status, 1);
    }
    void TearDown() override { DB_DestroyHandle(db_); }

    DB_HANDLE db_ = nullptr;

private:
    std::uint32_t secondary_locale_;
};
