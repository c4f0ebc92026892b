// The encoding of a list's words and what follows from it. A list whose
// `charset` is platform::kUtf8Charset keeps its words in UTF-8, any other in
// the ANSI code page of its locale. Where one character may take more than
// one byte (UTF-8, the double-byte East Asian pages), folding and comparing
// under a fold go character by character: the list's 256-byte tables fold
// only the ASCII bytes there, and no byte of a longer character may ever be
// folded on its own.
#pragma once

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
    // already); reads no further than it must.
    bool StartsWith(std::string_view text, std::u32string_view prefix) const;

    // The number of bytes of the first character of `text` (not empty).
    std::size_t FirstCharBytes(std::string_view text) const;

    // The encodings, in the list's code page, of every character that folds
    // as `ch` does; a character the code page lacks is left out.
    std::vector<std::string> EncodedVariants(char32_t ch) const;

private:
    std::string Encode(char32_t ch) const;  // empty when the code page lacks it

    std::uint32_t code_page_;
    std::uint32_t flags_;  // platform::kNormIgnoreCase | kNormIgnoreNonSpace
};

}  // namespace lexbase
