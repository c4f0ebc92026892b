// LookUpCounter: decides which look-ups the history counts. A look-up
// counts once its translations have stayed on screen for a second, or at
// once when the user acted on them (Enter, Down into the list, a click on a
// word, the hot key): the words that type-ahead translates on the way to the
// one the user wants are replaced before their second is up, and never
// count. The window that shows translations feeds it and asks, on a timer,
// what is due; times are in milliseconds of any steady clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wordbay {

// A word whose translations are on screen.
struct ShownLookUp {
    std::string word;        // UTF-8
    std::string dictionary;  // the dictionary's file name
    int direction = 1;       // 1 from the primary list, 2 from the secondary
    std::vector<std::string> translations;

    bool SameWord(const ShownLookUp& other) const {
        return word == other.word && dictionary == other.dictionary && direction == other.direction;
    }
};

class LookUpCounter {
public:
    static constexpr std::int64_t kSettleMs = 1000;
    // How long an act waits for the translations it asked for.
    static constexpr std::int64_t kActWaitMs = 3000;

    // The translations of `look_up` show from `now`. Showing the same word
    // again changes nothing; another word starts its second anew (the word
    // before it, still uncounted, never counts). Answers the look-up when it
    // counts at once (an act waited for it).
    std::optional<ShownLookUp> Shown(const ShownLookUp& look_up, std::int64_t now);
    // The user acted on the translations: the word on screen counts now, if
    // it has not yet; otherwise the next word shown within kActWaitMs does.
    std::optional<ShownLookUp> Acted(std::int64_t now);
    // A new search starts (typing, the hot key): the word on screen, counted
    // or not, is done with (the next word shown is a new look-up, even the
    // same word), and an act waiting for its translations is forgotten.
    void NewSearch();
    // The word on screen once its second is up; each look-up once.
    std::optional<ShownLookUp> Due(std::int64_t now);
    // When Due() will answer, or -1 when nothing waits.
    std::int64_t deadline() const;
    // The word on screen, counted or not.
    const std::optional<ShownLookUp>& current() const { return current_; }

private:
    std::optional<ShownLookUp> Count();

    std::optional<ShownLookUp> current_;
    bool counted_ = false;
    std::int64_t since_ = 0;
    std::optional<std::int64_t> act_at_;
};

}  // namespace wordbay
