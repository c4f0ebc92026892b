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

#include "forms/suggestions.h"
#include "forms/word_analysis.h"

namespace forms {

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
