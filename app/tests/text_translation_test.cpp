// Phrase cutting, the longest-first phrase search and the fast and step runs
// of the text translation over a small dictionary.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/phrase_cutter.h"
#include "app/text_translator.h"
#include "platform/code_page.h"

namespace wordbay {
namespace {

constexpr std::uint32_t kWindows1252 = 1252;

std::vector<std::string> Tried(std::string_view text, int depth, std::vector<std::string> known,
                               PhraseSearch* out = nullptr) {
    WordCharacters chars(kWindows1252);
    std::vector<std::string> tried;
    const PhraseSearch search = SearchPhrase(text, 0, depth, chars, [&](const std::string& p) {
        tried.push_back(p);
        for (const std::string& k : known) {
            if (k == p) return true;
        }
        return false;
    });
    if (out != nullptr) *out = search;
    return tried;
}

TEST(PhraseCutterTest, CutsWordsAtEachLevel) {
    WordCharacters chars(kWindows1252);
    const std::string text = "  \"Don't!\" he said.";
    EXPECT_EQ(CutPhrase(text, 0, 1, 0, chars)->text, "Don");
    EXPECT_EQ(CutPhrase(text, 0, 1, 1, chars)->text, "Don't");
    EXPECT_EQ(CutPhrase(text, 0, 1, 2, chars)->text, "Don't!");
    EXPECT_EQ(CutPhrase(text, 0, 1, 3, chars)->text, "\"Don't!\"");
    const auto three = CutPhrase(text, 0, 3, 3, chars);
    EXPECT_EQ(three->text, "\"Don't!\" he said.");
    EXPECT_EQ(three->start, 2u);
    EXPECT_EQ(three->end, text.size());
    EXPECT_FALSE(CutPhrase(" ,;- ", 0, 2, 0, chars).has_value());
}

TEST(PhraseCutterTest, LineBreaksAndSpacesBecomeOneSpace) {
    WordCharacters chars(kWindows1252);
    const auto phrase = CutPhrase("good\r\n\t  morning sir", 0, 2, 0, chars);
    ASSERT_TRUE(phrase);
    EXPECT_EQ(phrase->text, "good morning");
    EXPECT_EQ(phrase->words, 2);
}

TEST(PhraseCutterTest, TakesFewerWordsWhenTheTextEnds) {
    WordCharacters chars(kWindows1252);
    const auto phrase = CutPhrase("one two", 0, 5, 0, chars);
    EXPECT_EQ(phrase->words, 2);
    EXPECT_EQ(phrase->text, "one two");
}

TEST(PhraseCutterTest, Utf8WordsAreCutByCharacter) {
    WordCharacters chars(65001);
    // मेरा घर। - the vowel signs are marks inside the words, the danda ends the
    // sentence; kuća keeps its ć, and a malformed byte is no letter.
    const std::string text =
        "\xE0\xA4\xAE\xE0\xA5\x87\xE0\xA4\xB0\xE0\xA4\xBE "
        "\xE0\xA4\x98\xE0\xA4\xB0\xE0\xA5\xA4 ku\xC4\x87"
        "a\xC4!";
    const auto two = CutPhrase(text, 0, 2, 0, chars);
    ASSERT_TRUE(two.has_value());
    EXPECT_EQ(two->text,
              "\xE0\xA4\xAE\xE0\xA5\x87\xE0\xA4\xB0\xE0\xA4\xBE "
              "\xE0\xA4\x98\xE0\xA4\xB0");
    const auto third = CutPhrase(text, two->end, 1, 2, chars);
    ASSERT_TRUE(third.has_value());
    EXPECT_EQ(third->text,
              "ku\xC4\x87"
              "a");
    // The character right after a word, whatever its length, starts no word.
    const auto after = CutPhrase("\xC4\x87\xE0\xA4\x98x", 0, 2, 0, chars);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->text, "\xC4\x87\xE0\xA4\x98x");
    EXPECT_FALSE(CutPhrase("\xE2\x80\x94 \xC4", 0, 1, 0, chars).has_value());  // a dash
}

// Japanese text in code page 932, as a list loaded from an old file keeps it.
// The trail bytes of these characters are ASCII: 0x5C (a backslash) in
// "\xE3\x82\xBD" and "\xE8\xA1\xA8", the letters A and C in "\xE3\x82\xA2\xE3\x82\xA4".
std::string Sjis(std::string_view utf8) { return platform::EncodeFromUtf8(932, utf8); }

TEST(PhraseCutterTest, DoubleByteWordsAreCutByCharacter) {
    WordCharacters chars(932);
    const std::string software = Sjis("\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88");  // sofuto
    const std::string display = Sjis("\xE8\xA1\xA8\xE7\xA4\xBA");               // hyouji
    const std::string ai = Sjis("\xE3\x82\xA2\xE3\x82\xA4");
    ASSERT_EQ(software.size(), 6u);
    ASSERT_EQ(software[1], '\\');
    // An ideographic full stop ends the sentence; a half-width katakana (one
    // byte, 0xB1) is a letter of its own.
    const std::string text = software + " " + display + Sjis("\xE3\x80\x82") + ai + " \xB1";
    const auto two = CutPhrase(text, 0, 2, 0, chars);
    ASSERT_TRUE(two.has_value());
    EXPECT_EQ(two->text, software + " " + display);
    const auto third = CutPhrase(text, two->end, 1, 0, chars);
    ASSERT_TRUE(third.has_value());
    EXPECT_EQ(third->text, ai);  // not "A" or "C" from inside the characters
    const auto last = CutPhrase(text, third->end, 1, 0, chars);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->text, "\xB1");
    // A lead byte cut off at the end is no letter and is not read past.
    EXPECT_FALSE(CutPhrase("\x83", 0, 1, 0, chars).has_value());
}

TEST(PhraseSearchTest, LongestPhraseWithATranslationWins) {
    PhraseSearch search;
    const auto tried = Tried("good morning sir", 3, {"good morning"}, &search);
    ASSERT_TRUE(search.found);
    EXPECT_EQ(search.phrase->text, "good morning");
    EXPECT_EQ(tried.front(), "good morning sir");
}

TEST(PhraseSearchTest, LevelsGoDownBeforeTheWordCount) {
    // Level 2 tries the word with its exclamation mark before 1 and 0.
    auto tried = Tried("stop! now", 1, {});
    EXPECT_EQ(tried, (std::vector<std::string>{"stop!", "stop!", "stop", "stop"}));
    // Level 3 tries the quoted word first.
    tried = Tried("\"yes\" no", 1, {"yes"});
    EXPECT_EQ(tried, (std::vector<std::string>{"\"yes\"", "yes"}));
}

TEST(PhraseSearchTest, UnknownWordIsKeptAndEmptyTextIsUsedUp) {
    PhraseSearch search;
    Tried("zzz qqq", 2, {}, &search);
    EXPECT_FALSE(search.found);
    ASSERT_TRUE(search.phrase);
    EXPECT_EQ(search.phrase->text, "zzz");
    Tried(" ... ", 2, {}, &search);
    EXPECT_FALSE(search.phrase.has_value());
}

// A dictionary in memory: English to German.
// Runs `work` and waits at most ten seconds for it: a run that a fault keeps
// from ending fails the test program at once instead of hanging it until the
// test driver gives up.
void RunBounded(std::function<void()> work) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([work = std::move(work), done] {
        work();
        done->set_value();
    }).detach();
    if (finished.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        std::fprintf(stderr, "A text run did not end within ten seconds.\n");
        std::_Exit(1);
    }
}

class TextRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = DB_CreateHandle()->handle;
        ASSERT_NE(DB_CreateNewDictionary(db_, 1033, 1031)->status, 0);
        for (const auto& [en, de] :
             std::vector<std::pair<const char*, const char*>>{{"good morning", "guten Morgen"},
                                                              {"good", "gut"},
                                                              {"sir", "Herr"},
                                                              {"house", "Haus"},
                                                              {"house", "Gebaeude"}}) {
            ASSERT_NE(DB_AddTranslation(db_, DB_TRANS_PRIMARY_TO_SECONDARY, en, de)->status, 0);
        }
        setup_.main = db_;
        setup_.main_limit = 10;
    }
    void TearDown() override { DB_DestroyHandle(db_); }

    // Records the target pane; step questions go to a callback.
    struct View : TextTranslationView {
        std::string target;
        std::vector<std::string> asked;
        std::function<void()> on_ask;
        void AppendOriginal(std::string_view t) override { target += t; }
        void AppendTranslation(std::string_view t) override {
            target += "[" + std::string(t) + "]";
        }
        void ShowPosition(const Phrase&) override {}
        void AskPhrase(const Phrase& p, const char* const*, int count) override {
            asked.push_back(p.text + "/" + std::to_string(count));
            if (on_ask) on_ask();
        }
        void SetProgress(int) override {}
    };

    std::string Fast(const std::string& text, int depth = 3) {
        TextLookup lookup(setup_);
        View view;
        translator_.RunFast(text, 0, text.size(), depth, chars_, lookup, view);
        return view.target;
    }

    DB_HANDLE db_ = nullptr;
    TextLookupSetup setup_;
    WordCharacters chars_{kWindows1252};
    TextTranslator translator_;
};

TEST_F(TextRunTest, FastCopiesUnknownWordsAndTextBetween) {
    EXPECT_EQ(Fast("Good morning sir, my house!"), "[guten Morgen] [Herr], my [Haus]!");
    EXPECT_EQ(Fast("good\nmorning"), "[guten Morgen]");
    EXPECT_EQ(Fast("good morning", 1), "[gut] morning");
    EXPECT_EQ(Fast(""), "");
}

TEST_F(TextRunTest, WordFormsFindTheBaseWordOfAWordTheListLacks) {
    ::setenv("WORDBAY_HUNSPELL_DIRS", "/nonexistent", 1);
    EXPECT_EQ(Fast("two houses"), "two houses");
    setup_.forms_locale = "en_US";
    setup_.source_code_page = 1252;
    // A phrase is no word: "good mornings" is found word by word.
    EXPECT_EQ(Fast("two houses, good mornings"), "two [Haus], [gut] mornings");
    EXPECT_EQ(Fast("the house's door"), "the [Haus] door");
    ::unsetenv("WORDBAY_HUNSPELL_DIRS");
}

TEST_F(TextRunTest, FastTranslatesOnlyTheRegion) {
    TextLookup lookup(setup_);
    View view;
    const std::string text = "sir house sir";
    translator_.RunFast(text, 4, 9, 3, chars_, lookup, view);
    EXPECT_EQ(view.target, "[Haus]");
}

TEST_F(TextRunTest, StepActionsDecideWhatIsWritten) {
    TextLookup lookup(setup_);
    View view;
    // house: second translation; sir: skip; good morning: original; rest copied.
    std::vector<std::pair<TextAction, std::string>> answers = {
        {TextAction::kInsertTranslation, "Gebaeude"},
        {TextAction::kSkip, ""},
        {TextAction::kInsertOriginal, ""}};
    std::size_t next = 0;
    view.on_ask = [&] {
        if (next == answers.size()) {
            // More questions than the text has phrases: end the run, don't
            // leave it waiting for an answer that never comes.
            ADD_FAILURE() << "asked more than " << answers.size() << " times";
            translator_.Stop();
            return;
        }
        translator_.Act(answers[next].first, answers[next].second);
        ++next;
    };
    const std::string text = "house, sir; good\nmorning.";
    RunBounded([&] { translator_.RunStep(text, 0, text.size(), 3, chars_, lookup, view); });
    EXPECT_EQ(view.asked, (std::vector<std::string>{"house/2", "sir/1", "good morning/1"}));
    // After Skip the text between sir and good morning is not copied.
    EXPECT_EQ(view.target, "[Gebaeude], good morning.");
}

TEST_F(TextRunTest, StopDuringAStepWaitCopiesNothingMore) {
    TextLookup lookup(setup_);
    View view;
    view.on_ask = [&] { translator_.Stop(); };
    const std::string text = "house and more text";
    auto run = std::async(std::launch::async, [&] {
        translator_.RunStep(text, 0, text.size(), 3, chars_, lookup, view);
    });
    ASSERT_EQ(run.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(view.target, "");
    EXPECT_FALSE(translator_.running());
}

TEST_F(TextRunTest, ARunEndsWhenTheDictionariesChangeUnderIt) {
    std::atomic<unsigned> generation{4};
    setup_.generation = &generation;
    setup_.generation_taken = 4;
    TextLookup lookup(setup_);
    View view;
    int asked = 0;
    view.on_ask = [&] {
        // A load replaces the dictionary while the user decides.
        if (++asked == 1) ++generation;
        translator_.Act(TextAction::kInsertOriginal);
    };
    const std::string text = "house sir house";
    RunBounded([&] { translator_.RunStep(text, 0, text.size(), 3, chars_, lookup, view); });
    EXPECT_TRUE(lookup.stale());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(view.target, "house");  // nothing after the change, not even the rest
}

TEST_F(TextRunTest, JapaneseTextOfADoubleByteListIsTranslatedByWord) {
    // A Japanese list in code page 932 from an old file: charset 128 (the
    // Japanese font character set), not UTF-8.
    const std::string software = Sjis("\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88");
    const std::string display = Sjis("\xE8\xA1\xA8\xE7\xA4\xBA");
    DB_HANDLE ja = DB_CreateHandle()->handle;
    ASSERT_NE(DB_CreateNewDictionary(ja, 1033, 1033)->status, 0);
    ASSERT_NE(
        DB_AddTranslation(ja, DB_TRANS_PRIMARY_TO_SECONDARY, software.c_str(), "software")->status,
        0);
    ASSERT_NE(
        DB_AddTranslation(ja, DB_TRANS_PRIMARY_TO_SECONDARY, display.c_str(), "display")->status,
        0);
    DICTIONARY_INFO info{};
    ASSERT_EQ(DB_GetDictionaryInfo(ja, &info)->status, 1);
    info.primary_locale = 1041;
    info.primary_charset = 128;
    ASSERT_EQ(DB_SetDictionaryInfo(ja, &info)->status, 1);
    ASSERT_NE(DB_ResortList(ja, DB_PRIMARY_LIST, 1041)->status, 0);
    setup_.main = ja;
    chars_ = WordCharacters(932);
    EXPECT_EQ(Fast(software + " " + display + Sjis("\xE3\x80\x82")),
              "[software] [display]" + Sjis("\xE3\x80\x82"));
    DB_DestroyHandle(ja);
}

TEST_F(TextRunTest, LinkModeTranslatesThroughTheDualDictionary) {
    DB_HANDLE dual = DB_CreateHandle()->handle;
    ASSERT_NE(DB_CreateNewDictionary(dual, 1031, 1036)->status, 0);
    DB_AddTranslation(dual, DB_TRANS_PRIMARY_TO_SECONDARY, "Haus", "maison");
    setup_.link = true;
    setup_.dual = dual;
    setup_.dual_limit = 10;
    // house goes through Haus; sir has no dual word and stays untranslated.
    EXPECT_EQ(Fast("house sir"), "[maison] sir");
    DB_DestroyHandle(dual);
}

}  // namespace
}  // namespace wordbay
