#include "forms/selection.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "forms/char_classes.h"

namespace forms {
namespace {

constexpr char32_t kSoftHyphen = 0x00AD;
constexpr char32_t kReplacement = 0xFFFD;

// Decodes UTF-8, a broken sequence becoming U+FFFD.
std::u32string Decode(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::int32_t length = static_cast<std::int32_t>(text.size());
    std::int32_t i = 0;
    while (i < length) {
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        out.push_back(c < 0 ? kReplacement : static_cast<char32_t>(c));
    }
    return out;
}

std::string Encode(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        char buffer[U8_MAX_LENGTH];
        std::int32_t n = 0;
        UBool error = false;
        U8_APPEND(reinterpret_cast<std::uint8_t*>(buffer), n, U8_MAX_LENGTH,
                  static_cast<UChar32>(c), error);
        if (!error) out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

bool IsBreak(char32_t c) { return c == U'\n' || c == U'\r'; }
bool IsBlank(char32_t c) { return (CharClasses(c) & kBlankChar) != 0; }
bool IsLetter(char32_t c) { return (CharClasses(c) & kLetterChar) != 0; }
bool IsHyphen(char32_t c) { return c == U'-' || c == 0x2010; }
bool IsApostrophe(char32_t c) { return c == U'\'' || c == 0x2019; }

// Punctuation, quotes and symbols that surround a word: anything that is
// neither a letter, a digit nor a combining mark.
bool IsWrapping(char32_t c) { return (CharClasses(c) & kWrappingChar) != 0; }

// Joins a word broken at a line end ("hou-\n  ses" -> "houses"), drops soft
// hyphens and zero-width characters, and turns the other controls and line
// breaks into blanks.
std::u32string JoinLines(const std::u32string& in) {
    std::u32string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char32_t c = in[i];
        if (IsHyphen(c) && !out.empty() && IsLetter(out.back())) {
            std::size_t j = i + 1;
            while (j < in.size() && (in[j] == U' ' || in[j] == U'\t')) ++j;
            if (j < in.size() && IsBreak(in[j])) {
                while (j < in.size() && IsBlank(in[j])) ++j;
                if (j < in.size() && IsLetter(in[j])) {
                    i = j - 1;
                    continue;
                }
            }
        }
        if (c == kSoftHyphen || c == 0x200B || c == 0xFEFF || c == 0x2060) continue;
        out.push_back(IsBlank(c) ? U' ' : c);
    }
    return out;
}

// Trims blanks and reduces every run of them to one space.
std::u32string Squeeze(const std::u32string& in) {
    std::u32string out;
    for (const char32_t c : in) {
        if (c == U' ') {
            if (!out.empty() && out.back() != U' ') out.push_back(c);
        } else {
            out.push_back(c);
        }
    }
    while (!out.empty() && out.back() == U' ') out.pop_back();
    return out;
}

std::u32string StripWrapping(std::u32string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsWrapping(text[begin])) ++begin;
    while (end > begin && IsWrapping(text[end - 1])) --end;
    return std::u32string(text.substr(begin, end - begin));
}

// "John's" -> "John", "houses'" -> "houses"; a word that would be left with
// fewer than two letters keeps its ending ("'s" alone, "I's").
std::u32string ShedPossessive(const std::u32string& word) {
    const std::size_t n = word.size();
    if (n >= 4 && IsApostrophe(word[n - 2]) && (word[n - 1] == U's' || word[n - 1] == U'S')) {
        return word.substr(0, n - 2);
    }
    if (n >= 3 && IsApostrophe(word[n - 1]) && (word[n - 2] == U's' || word[n - 2] == U'S')) {
        return word.substr(0, n - 1);
    }
    return word;
}

}  // namespace

ShedWord Shed(std::string_view selection) {
    ShedWord shed;
    const std::u32string trimmed = Squeeze(JoinLines(Decode(selection)));
    if (trimmed.empty()) return shed;
    shed.trimmed = Encode(trimmed);
    const std::u32string bare = StripWrapping(trimmed);
    if (bare.empty()) {
        shed.trimmed.clear();
        return shed;
    }
    shed.bare = Encode(bare);
    shed.base = Encode(ShedPossessive(bare));
    return shed;
}

std::string LowerCase(std::string_view text) {
    std::u32string chars = Decode(text);
    for (char32_t& c : chars) c = LowerChar(c);
    return Encode(chars);
}

std::string Capitalized(std::string_view text) {
    std::u32string chars = Decode(text);
    if (!chars.empty()) chars[0] = UpperChar(chars[0]);
    return Encode(chars);
}

bool StartsUpper(std::string_view text) {
    const std::u32string chars = Decode(text.substr(0, std::min<std::size_t>(text.size(), 4)));
    return !chars.empty() && (CharClasses(chars[0]) & kUpperChar) != 0;
}

std::size_t CharCount(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    }
    return n;
}

}  // namespace forms
