#include "app/phrase_cutter.h"

#include <unicode/uchar.h>

#include "platform/code_page.h"
#include "platform/collation.h"

namespace wordbay {
namespace {

// Levels at which a byte may start or continue a word beyond letters and
// digits, as bit masks (bit n: level n).
constexpr std::uint8_t kFromLevel1 = 0b1110;
constexpr std::uint8_t kFromLevel2 = 0b1100;
constexpr std::uint8_t kFromLevel3 = 0b1000;
constexpr std::uint8_t kAllLevels = 0b1111;

// The first byte at or after `pos` that starts a word at `level`.
std::optional<std::size_t> FindWordStart(std::string_view text, std::size_t pos, int level,
                                         const WordCharacters& chars) {
    for (std::size_t i = pos; i < text.size(); i += chars.CharLength(text, i)) {
        if (chars.StartsWordAt(text, i, level)) return i;
    }
    return std::nullopt;
}

// One past the word that starts at `start`.
std::size_t WordEnd(std::string_view text, std::size_t start, int level,
                    const WordCharacters& chars) {
    std::size_t i = start + chars.CharLength(text, start);
    while (i < text.size() && chars.ContinuesWordAt(text, i, level)) i += chars.CharLength(text, i);
    return i;
}

std::string Normalise(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (char c : raw) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out.push_back(c);
    }
    return out;
}

// A character of more than one byte (or any byte above 127 of a multi-byte
// code page) is a letter or digit, or with `marks` also a combining mark.
bool IsWordChar(char32_t ch, bool marks) {
    const auto c = static_cast<UChar32>(ch);
    return u_isalnum(c) || (marks && (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0);
}

}  // namespace

std::size_t WordCharacters::CharLength(std::string_view text, std::size_t i) const {
    if (!multi_byte_ || static_cast<std::uint8_t>(text[i]) < 0x80) return 1;
    std::size_t bytes = 1;
    platform::DecodeCharAt(code_page_, text, i, &bytes);
    return bytes;
}

bool WordCharacters::StartsWordAt(std::string_view text, std::size_t i, int level) const {
    const auto c = static_cast<std::uint8_t>(text[i]);
    if (!multi_byte_ || c < 0x80) return StartsWord(c, level);
    std::size_t bytes = 1;
    return IsWordChar(platform::DecodeCharAt(code_page_, text, i, &bytes), false);
}

bool WordCharacters::ContinuesWordAt(std::string_view text, std::size_t i, int level) const {
    const auto c = static_cast<std::uint8_t>(text[i]);
    if (!multi_byte_ || c < 0x80) return ContinuesWord(c, level);
    std::size_t bytes = 1;
    return IsWordChar(platform::DecodeCharAt(code_page_, text, i, &bytes), true);
}

WordCharacters::WordCharacters(std::uint32_t code_page)
    : code_page_(code_page), multi_byte_(platform::IsMultiByteCodePage(code_page)) {
    for (int c = 0; c < 256; ++c) {
        if (platform::IsCharAlphaNumeric(code_page, static_cast<std::uint8_t>(c))) {
            start_[c] = kAllLevels;
            continue_[c] = kAllLevels;
        }
    }
    start_['\''] |= kFromLevel1;
    continue_['\''] |= kFromLevel1;
    for (unsigned char c : {'!', '?', '.'}) continue_[c] |= kFromLevel2;
    start_['"'] |= kFromLevel3;
    continue_['"'] |= kFromLevel3;
}

std::optional<Phrase> CutPhrase(std::string_view text, std::size_t pos, int words, int level,
                                const WordCharacters& chars) {
    const std::optional<std::size_t> first = FindWordStart(text, pos, level, chars);
    if (!first) return std::nullopt;
    Phrase phrase;
    phrase.start = *first;
    phrase.end = WordEnd(text, *first, level, chars);
    phrase.words = 1;
    while (phrase.words < words && phrase.end < text.size()) {
        // The character right after a word never starts the next one.
        const std::optional<std::size_t> next =
            FindWordStart(text, phrase.end + chars.CharLength(text, phrase.end), level, chars);
        if (!next) break;
        phrase.end = WordEnd(text, *next, level, chars);
        ++phrase.words;
    }
    phrase.text = Normalise(text.substr(phrase.start, phrase.end - phrase.start));
    return phrase;
}

PhraseSearch SearchPhrase(std::string_view text, std::size_t pos, int depth,
                          const WordCharacters& chars, const PhraseLookup& lookup) {
    PhraseSearch result;
    for (int words = depth < 1 ? 1 : depth; words >= 1; --words) {
        for (int level = kMaxWordLevel; level >= 0; --level) {
            std::optional<Phrase> phrase = CutPhrase(text, pos, words, level, chars);
            if (!phrase) {
                // Without a plain one-word phrase the text is used up.
                if (words == 1 && level == 0) result.phrase.reset();
                continue;
            }
            const bool found = lookup(phrase->text);
            result.phrase = std::move(phrase);
            if (found) {
                result.found = true;
                return result;
            }
        }
    }
    return result;
}

}  // namespace wordbay
