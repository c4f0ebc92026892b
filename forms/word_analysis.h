// The analysis of a word met in running text (word_forms.h), with what
// needs more than the list and the language's tables left to the caller:
// the speller and suggestions. A process that answers from a look-up image
// runs the very same analysis without loading their libraries, and leaves
// the word to one that has them when the analysis asks for them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "forms/lexicon.h"

namespace forms {

class StoredStems;

// How the answer was found.
enum class How { kExact, kForm, kSuggestion, kNone };
// "exact", "form", "suggestion", "none".
const char* HowName(How how);

// A base word found beside the headword, with its translations.
struct Form {
    std::string word;
    std::vector<std::string> translations;
};

struct Answer {
    std::string query;     // the word as it was looked up, shed of its wrapping
    std::string headword;  // the entry whose translations are given ("" if none)
    How how = How::kNone;
    std::vector<std::string> translations;  // of the headword
    std::vector<Form> forms;                // base words offered beside it
    std::vector<std::string> suggestions;   // for a word found neither way
};

struct Options {
    bool forms = true;        // look for base words
    bool suggestions = true;  // suggest near words when nothing is found
    bool speller = true;      // use the language's speller where installed
    // Ask the speller for suggestions too. Its search takes tens of
    // milliseconds a word: worth it for one word the user waits for, not
    // for a batch.
    bool speller_suggestions = false;
    std::size_t max_suggestions = 10;
    std::size_t max_forms = 3;  // base words offered beside the headword
    // The speller's stems kept from an earlier run (stored_stems.h): a word
    // they hold gets its stems from them without the speller being loaded.
    // The caller checks they belong to this list and speller.
    const StoredStems* stored_stems = nullptr;
};

// What the analysis asks beyond the list, the language's tables and the
// kept stems.
class LanguageTools {
public:
    virtual ~LanguageTools() = default;
    // The stems the language's speller gives for `word`; none without one.
    virtual std::vector<std::string> SpellerStems(std::string_view locale,
                                                  std::string_view word) = 0;
    // Near words of the list for `word`, found neither as it stands nor by a
    // form: best first, at most options.max_suggestions.
    virtual std::vector<std::string> Suggestions(Lexicon& lexicon, std::string_view locale,
                                                 const std::string& word,
                                                 const Options& options) = 0;
};

// BaseCandidates and LookUp of word_forms.h, asking `tools` for the speller
// and the suggestions.
std::vector<std::string> BaseCandidates(std::string_view locale, std::string_view word,
                                        const Options& options, LanguageTools& tools);
Answer Analyse(Lexicon& lexicon, std::string_view locale, std::string_view selection,
               const Options& options, LanguageTools& tools);

}  // namespace forms
