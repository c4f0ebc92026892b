// Word forms: what the hot key does with a word met in running text. The
// word is shed of what a selection drags along and looked up as it stands;
// when it is not in the list, or is also a form of another word ("spoke",
// "left"), its base words are found (irregular forms, the language's
// speller stems, suffix rules) and looked up; a word found neither way gets
// suggestions within two edits from the list and from the speller.
//
// The analysis asks the dictionary only through a Lexicon, so that the same
// code serves the loaded engine, the look-up image and the tests. It runs
// on whatever thread calls it; a speller's first use may wait for its load.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "forms/lexicon.h"
#include "forms/suggestions.h"

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

// The base-word candidates of `word` (UTF-8) in `locale` ("en_US"),
// likeliest first, without `word` itself: irregular forms, speller stems,
// then suffix rules. Each is only a candidate until the list holds it.
std::vector<std::string> BaseCandidates(std::string_view locale, std::string_view word,
                                        const Options& options);

// Looks `selection` up as the hot key does. `index` (may be null) is the
// list's suggestion index, built on first need and kept by the caller for
// as long as the list stays unchanged.
Answer LookUp(Lexicon& lexicon, std::string_view locale, std::string_view selection,
              const Options& options, SuggestionIndex* index);

}  // namespace forms
