#include "app/look_up_counter.h"

#include <gtest/gtest.h>

namespace wordbay {
namespace {

ShownLookUp Word(const std::string& word) { return {word, "d.v03", 1, {"t"}}; }

std::string WordOf(const std::optional<ShownLookUp>& look_up) {
    return look_up ? look_up->word : "-";
}

// Typing "house" with automatic translation shows "ho" and "hous" (words of
// their own) on the way: only "house", left on screen, counts.
TEST(LookUpCounterTest, OnlyTheWordLeftOnScreenForASecondCounts) {
    LookUpCounter counter;
    counter.NewSearch();
    EXPECT_FALSE(counter.Shown(Word("ho"), 0));
    counter.NewSearch();
    EXPECT_FALSE(counter.Shown(Word("hous"), 300));
    EXPECT_EQ(WordOf(counter.Due(1200)), "-");  // replaced before its second
    counter.NewSearch();
    EXPECT_FALSE(counter.Shown(Word("house"), 600));
    EXPECT_EQ(counter.deadline(), 1600);
    EXPECT_EQ(WordOf(counter.Due(1599)), "-");
    EXPECT_EQ(WordOf(counter.Due(1600)), "house");
    EXPECT_EQ(WordOf(counter.Due(5000)), "-");  // once
    EXPECT_EQ(counter.deadline(), -1);
}

TEST(LookUpCounterTest, AnActCountsAtOnceButNeverTwice) {
    LookUpCounter counter;
    counter.NewSearch();
    counter.Shown(Word("house"), 0);
    EXPECT_EQ(WordOf(counter.Acted(100)), "house");  // Enter
    // Enter translates the same word again: still the same look-up.
    EXPECT_EQ(WordOf(counter.Shown(Word("house"), 120)), "-");
    EXPECT_EQ(WordOf(counter.Due(2000)), "-");

    // A click on another word of the list: acted before its translation shows.
    EXPECT_EQ(WordOf(counter.Acted(3000)), "-");
    EXPECT_EQ(WordOf(counter.Shown(Word("home"), 3010)), "home");
    // An act whose translations never came is forgotten.
    EXPECT_EQ(WordOf(counter.Acted(4000)), "-");
    EXPECT_EQ(WordOf(counter.Shown(Word("hose"), 7500)), "-");
    EXPECT_EQ(WordOf(counter.Due(8500)), "hose");
}

// The hot key on the word already on screen is a look-up of its own.
TEST(LookUpCounterTest, ANewSearchForTheSameWordCountsAgain) {
    LookUpCounter counter;
    counter.NewSearch();
    counter.Acted(0);
    EXPECT_EQ(WordOf(counter.Shown(Word("house"), 10)), "house");
    counter.NewSearch();
    counter.Acted(500);
    EXPECT_EQ(WordOf(counter.Shown(Word("house"), 510)), "house");
    // Typing forgets an act that waits.
    counter.Acted(600);
    counter.NewSearch();
    EXPECT_EQ(WordOf(counter.Shown(Word("hou"), 700)), "-");
}

}  // namespace
}  // namespace wordbay
