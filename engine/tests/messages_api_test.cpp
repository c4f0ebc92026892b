// The table of the engine's answers against what the engine answers, through
// lexbase.h and lexbase_messages.h only.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/lexbase.h"
#include "engine/lexbase_messages.h"
#include "engine/tests/api_test_support.h"

namespace {

using lexbase::FindMessage;
using lexbase::Message;
using lexbase::MessageKind;
using lexbase::MessageOf;
using lexbase::MessageText;

TEST(MessagesTest, EveryTextOfTheTableIsFoundAsItselfAndSpelledBack) {
    for (const lexbase::MessageEntry& entry : lexbase::kMessageTable) {
        const std::string text(entry.text);
        const lexbase::MessageEntry* found = FindMessage(text);
        ASSERT_NE(found, nullptr) << text;
        // Answers that read alike give the first of them; a format's own text
        // may also read as an earlier format with a file name ("...%.*s!" as
        // "...%.*s"), which is then an answer of the same kind.
        EXPECT_EQ(MessageText(found->message), found->text);
        if (entry.text.find("%.*s") == std::string_view::npos) {
            EXPECT_EQ(found->text, entry.text) << text;
        } else {
            EXPECT_EQ(found->kind, entry.kind) << text;
        }
    }
    EXPECT_EQ(MessageText(Message::kUnknown), "");
    EXPECT_TRUE(lexbase::IsMessage("Words found.", Message::kWordsFound));
    EXPECT_TRUE(lexbase::IsMessage("Can't open file:\n/x!", Message::kFileCantOpenRewrite));
    EXPECT_FALSE(lexbase::IsMessage("Words found.", Message::kPcreError));
    EXPECT_FALSE(lexbase::IsMessage(nullptr, Message::kWordsFound));
    EXPECT_FALSE(lexbase::IsMessage("", Message::kUnknown));
}

TEST(MessagesTest, AFormatMatchesAroundAnyFileNameAndNothingElse) {
    EXPECT_EQ(FindMessage("Can't open file:\n/tmp/a b.v03")->kind, MessageKind::kSystemFailure);
    EXPECT_EQ(FindMessage("Can't open file:\n")->kind, MessageKind::kSystemFailure);
    EXPECT_EQ(FindMessage("Database CRC error:\n/x.v03")->kind, MessageKind::kPlain);
    EXPECT_EQ(MessageOf("Can't open file: /x"), Message::kUnknown);
    EXPECT_EQ(MessageOf("Words found. "), Message::kUnknown);
    EXPECT_EQ(MessageOf("words found."), Message::kUnknown);
    EXPECT_EQ(MessageOf(""), Message::kUnknown);
    EXPECT_EQ(MessageOf(nullptr), Message::kUnknown);
    // The head and the tail of a format may not overlap in a short text.
    EXPECT_EQ(MessageOf("Can't create file:\n"), Message::kUnknown);
    EXPECT_EQ(MessageOf("Can't create file:\n!"), Message::kTxtCantCreate);
}

class MessagesOfCallsTest : public ScratchHandleTest {};

TEST_F(MessagesOfCallsTest, TheEngineAnswersAreTheTables) {
    EXPECT_EQ(MessageOf(DB_Close(nullptr)->message), Message::kInvalidHandle);
    const std::string missing = Path("missing.v03");
    const DB_RESULT* load = DB_Load(db_, DB_FORMAT_V03_LOAD, missing.c_str(), 0, 0);
    ASSERT_EQ(load->status, 0);
    const lexbase::MessageEntry* entry = FindMessage(load->message);
    ASSERT_NE(entry, nullptr) << load->message;
    EXPECT_EQ(entry->kind, MessageKind::kSystemFailure);

    ASSERT_EQ(DB_CreateNewDictionary(db_, 1033, 1050)->status, 1);
    ASSERT_NE(DB_AddTranslation(db_, 1, "house", "kuca")->status, 0);
    const char* words[4] = {};
    EXPECT_EQ(
        MessageOf(DB_List(db_, DB_PRIMARY_LIST, "h", 0, 0, DB_LIST_PREFIX, words, 4)->message),
        Message::kWordsFound);
    EXPECT_EQ(MessageOf(DB_List(db_, DB_PRIMARY_LIST, "(", 0, 0, DB_LIST_REGEX, words, 4)->message),
              Message::kPcreError);
}

}  // namespace
