// The text of a dictionary entry as FreeDict lays it out and dictd and
// StarDict readers show it, read into translation pairs and written from
// them: a headword line (the headword, a pronunciation /.../ and tags <n>),
// then sense lines, each a comma-separated list of translations.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace exchange {

struct TranslationPair {
    std::string word;         // headword, UTF-8
    std::string translation;  // one translation, UTF-8
};

// Takes the translations out of one entry's text: the first line is the
// headword with pronunciation (/.../) and tags (<n>); the lines after it hold
// senses, possibly numbered ("1. "), each a comma-separated list of
// translations with tags and [labels]. Notes, examples, "Synonyms:" and
// "see:" lines are not translations. Each translation gives one pair, a
// translation the entry repeats only once.
std::vector<TranslationPair> ParseEntry(std::string_view entry);

// The same, appending the entry's pairs to *pairs.
void AppendEntryPairs(std::string_view entry, std::vector<TranslationPair>* pairs);

// The pairs of `senses`, sense lines without a headword line, for `headword`,
// appended to *pairs.
void AppendSensePairs(std::string_view headword, std::string_view senses,
                      std::vector<TranslationPair>* pairs);

// The first line of `text` that holds more than blanks, trimmed; *rest (may
// be null) gets the text after it. Empty when there is none.
std::string_view FirstLine(std::string_view text, std::string_view* rest = nullptr);

// `text` without blanks (spaces, TABs, line ends) at either end.
std::string_view TrimBlanks(std::string_view text);

// The headword of an entry's first line, without pronunciation and tags.
std::string ParseHeadword(std::string_view line);

// Splits one sense line into its translations, stripped of tags, labels,
// numbering and surrounding spaces; commas inside parentheses do not split.
std::vector<std::string> SplitTranslations(std::string_view line);

// Sense lines that read back (AppendSensePairs) as exactly `translations`,
// in their order: one line of them separated by ", " where that reads back,
// else one line each. *exact (may be null) says whether the text reads back
// as given; a translation that the layout can't carry (a line break in it,
// a leading "Note:", a repeat) makes it false.
std::string SenseText(const std::vector<std::string>& translations, bool* exact = nullptr);

}  // namespace exchange
