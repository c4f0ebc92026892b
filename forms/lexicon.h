// Lexicon: what the word-form analysis asks of one word list of a dictionary.
//
// The analysis (word_forms.h) finds base words and suggestions; only this
// small interface knows where the words come from: the loaded engine, the
// look-up image, or a table in a test. Words cross it as UTF-8; an adapter
// over an 8-bit list converts them, and a word its code page can't hold is
// simply not in the list.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

class Lexicon {
public:
    virtual ~Lexicon() = default;

    // The translations of `word` (UTF-8) as the list holds it, under the
    // search switches in force (case, accents); empty when the word is not in
    // the list or has no translation.
    virtual std::vector<std::string> Translations(std::string_view word) = 0;

    // Calls `visit` once with every word of the list, in UTF-8 (the words
    // that suggestions are chosen from). A lexicon that can't list its words
    // visits none.
    virtual void ForEachWord(const std::function<void(std::string_view)>& visit) = 0;
};

}  // namespace forms
