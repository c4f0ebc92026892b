// Cutting running text into phrases of up to k words, and the phrase search
// of the text translation: the longest phrase that has a translation wins.
//
// Text is 8-bit in the code page of the dictionary's source list (UTF-8 for a
// UTF-8 list); positions are byte offsets into it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace wordbay {

// How generously a word is taken: 0 letters and digits only; 1 with
// apostrophes; 2 also ending in !, ? or full stops; 3 also in double quotes.
inline constexpr int kMaxWordLevel = 3;

// The word characters of one code page at every level. In UTF-8 and the
// double-byte pages a character of more than one byte (in 932 also a
// half-width katakana) is taken whole: it starts a word when it is a letter
// or a digit and continues one also when it is a combining mark (the vowel
// signs of Devanagari, for one). No trail byte is ever read on its own.
class WordCharacters {
public:
    explicit WordCharacters(std::uint32_t code_page);

    bool StartsWord(std::uint8_t c, int level) const { return (start_[c] >> level) & 1; }
    bool ContinuesWord(std::uint8_t c, int level) const { return (continue_[c] >> level) & 1; }

    // The same for the character at byte `i` of `text`, whose length in
    // bytes CharLength gives (at least 1).
    bool StartsWordAt(std::string_view text, std::size_t i, int level) const;
    bool ContinuesWordAt(std::string_view text, std::size_t i, int level) const;
    std::size_t CharLength(std::string_view text, std::size_t i) const;

private:
    std::uint32_t code_page_;
    bool multi_byte_ = false;
    // Bit n set: the byte is a word character at level n.
    std::array<std::uint8_t, 256> start_{};
    std::array<std::uint8_t, 256> continue_{};
};

struct Phrase {
    std::size_t start = 0;  // first byte of the first word
    std::size_t end = 0;    // one past the last byte of the last word
    int words = 0;
    std::string text;  // tabs and line breaks as spaces, runs of spaces as one
};

// Cuts a phrase of up to `words` words at `level` from `pos` on; nothing when
// no word starts at or after `pos`.
std::optional<Phrase> CutPhrase(std::string_view text, std::size_t pos, int words, int level,
                                const WordCharacters& chars);

// Looks a phrase up; answers whether it has a translation.
using PhraseLookup = std::function<bool(const std::string& phrase)>;

struct PhraseSearch {
    // The phrase found, or the last one tried when none had a translation;
    // empty when the text from `pos` holds no more words.
    std::optional<Phrase> phrase;
    bool found = false;
};

// From `pos`, tries `depth` words down to one, each at levels 3 down to 0,
// and stops at the first phrase that `lookup` finds.
PhraseSearch SearchPhrase(std::string_view text, std::size_t pos, int depth,
                          const WordCharacters& chars, const PhraseLookup& lookup);

}  // namespace wordbay
