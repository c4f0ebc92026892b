// What the tests of the C interface share. They stay clients of lexbase.h
// alone: this header adds nothing of the engine's insides.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "engine/lexbase.h"

// Checks the status and the message of one call's result, compared with the
// literal text so that a changed message is caught.
#define EXPECT_RESULT(call, status_, message_)                \
    do {                                                      \
        const DB_RESULT* r_ = (call);                         \
        EXPECT_EQ(r_->status, status_);                       \
        EXPECT_EQ(std::string_view(r_->message), (message_)); \
    } while (0)
