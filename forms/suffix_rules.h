// Suffix rules: candidate base words of an inflected word, made by taking
// off an ending and putting back what the base ends with ("houses" ->
// house, "walked" -> walk, "Hunde" -> hund, "kućama" -> kuća). They serve
// a language that has no speller data, and catch what the speller's data
// leaves out; each candidate counts only when the dictionary holds it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace forms {

// The candidates for `word` (UTF-8, lower case) in `language` ("en", "de",
// "hr"; other languages get the plural rules of most European languages),
// most likely first, without repeats and without `word` itself.
std::vector<std::string> SuffixCandidates(std::string_view language, std::string_view word);

// The few candidates that are worth offering beside a word the dictionary
// holds as it stands: English plurals ("rivers" -> river), German umlaut
// plurals and comparisons and participles ("Bücher" -> buch, "älter" -> alt,
// "gemacht" -> machen). The other rules would cut whole words into others
// ("number" -> numb).
// `noun` says the word was written with a capital, as German nouns are: its
// plural endings are then worth trying too ("Augen" -> auge).
std::vector<std::string> WholeWordCandidates(std::string_view language, std::string_view word,
                                             bool noun);

}  // namespace forms
