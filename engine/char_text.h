// The encoding of a list's words and what follows from it. A list whose
// `charset` is platform::kUtf8Charset keeps its words in UTF-8, any other in
// the ANSI code page of its locale. Where one character may take more than
// one byte (UTF-8, the double-byte East Asian pages), folding and comparing
// under a fold go character by character: the list's 256-byte tables fold
// only the ASCII bytes there, and no byte of a longer character may ever be
// folded on its own.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fold.h"
#include "engine/word_list.h"

namespace lexbase {

// The code page of the list's words.
std::uint32_t CodePageOfList(const WordList& list);

// Whether the list's words fold and compare character by character.
bool ComparesByChar(const WordList& list);

// The collation order of two texts of `list` (CompareStringA with no flags).
int CollateWords(const WordList& list, std::string_view a, std::string_view b);

// The charset a list takes when the caller asks for `wanted`. The words of a
// list are never converted: a list that holds words keeps its encoding (UTF-8
// stays UTF-8, and an 8-bit list does not turn into one), taking `wanted`
// only where that leaves the encoding alone. An empty list takes `wanted`,
// or UTF-8 when its locale has no 8-bit code page or only a double-byte one.
std::uint32_t ChosenCharset(std::uint32_t current, bool has_words, std::uint32_t locale,
                            std::uint32_t wanted);

// Folds texts of one list into code points under one fold. Cheap to make;
// used by one thread.
class CharFold {
public:
    CharFold(const WordList& list, Fold fold);

    std::uint32_t code_page() const { return code_page_; }

    // The folded characters of `text`, written over *out.
    void Apply(std::string_view text, std::u32string* out) const;

    // Whether the folded characters of `text` begin with `prefix` (folded
    // already); reads no further than it must. Inline, for the walks: a run
    // of ASCII at the start of a UTF-8 text folds without a call.
    bool StartsWith(std::string_view text, std::u32string_view prefix) const {
        const std::size_t ascii = AsciiMatch(text, prefix);
        if (ascii == kMismatch) return false;
        return ascii == prefix.size() || MatchedBytes(text, prefix, ascii) >= 0;
    }

    // Whether the folded characters of `text` are `folded`; reads no further
    // than it must, and folds no character into a string of its own.
    bool Equals(std::string_view text, std::u32string_view folded) const {
        if (text.size() < folded.size()) return false;  // no character takes less than a byte
        const std::size_t ascii = AsciiMatch(text, folded);
        if (ascii == kMismatch) return false;
        if (ascii == folded.size()) return text.size() == ascii;
        return MatchedBytes(text, folded, ascii) == static_cast<std::ptrdiff_t>(text.size());
    }

    // Writes the first `count` folded characters of `text`, as StartsWith
    // reads them, to out[0 ..]; returns how many there were (fewer when the
    // text is shorter).
    std::size_t FoldedPrefix(std::string_view text, std::size_t count, char32_t* out) const;

    // The number of bytes of the first character of `text` (not empty).
    std::size_t FirstCharBytes(std::string_view text) const;

    // The encodings, in the list's code page, of every character that folds
    // as `ch` does; a character the code page lacks is left out.
    std::vector<std::string> EncodedVariants(char32_t ch) const;

private:
    std::string Encode(char32_t ch) const;  // empty when the code page lacks it
    static constexpr std::size_t kMismatch = static_cast<std::size_t>(-1);

    // In UTF-8: how many leading characters of `prefix` the ASCII bytes at
    // the start of `text` match (those bytes are as many characters), up to
    // the first byte above 127; kMismatch when one of them differs. In any
    // other code page 0: the whole match is MatchedBytes' work.
    std::size_t AsciiMatch(std::string_view text, std::u32string_view prefix) const {
        if (!utf8_) return 0;
        const std::size_t n = std::min(text.size(), prefix.size());
        for (std::size_t i = 0; i < n; ++i) {
            char32_t got = static_cast<std::uint8_t>(text[i]);
            if (got >= 0x80) return i;
            if (fold_case_ && got - U'A' < 26) got += 0x20;  // FoldChar of ASCII: case only
            if (got != prefix[i]) return kMismatch;
        }
        return n == prefix.size() ? n : kMismatch;  // else the text ended first
    }

    // The bytes of `text` whose folded characters begin with `prefix`, or -1
    // when they don't, going on from `start` characters matched already (in
    // UTF-8 as many ASCII bytes; else 0). Outside UTF-8: the length of `text`
    // when its folded characters are `prefix` and no more, else 0.
    std::ptrdiff_t MatchedBytes(std::string_view text, std::u32string_view prefix,
                                std::size_t start) const;

    std::uint32_t code_page_;
    std::uint32_t flags_;  // platform::kNormIgnoreCase | kNormIgnoreNonSpace
    bool utf8_;
    bool fold_case_;
};

}  // namespace lexbase
