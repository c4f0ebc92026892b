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

}  // namespace forms
