// Reading FreeDict dictionaries in the dictd format (an ".index" file of
// headword, base-64 offset and base-64 length, and a gzip-compressed ".dict.dz"
// text) into translation pairs of UTF-8 texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct IndexEntry {
    std::string headword;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

struct TranslationPair {
    std::string word;         // headword, UTF-8
    std::string translation;  // one translation, UTF-8
};

// Decodes a dictd base-64 number ("B7" -> 123); false for an empty text, a
// byte outside the alphabet or a value beyond 2^48.
bool DecodeDictdNumber(std::string_view text, std::uint64_t* value);

// Parses the text of an ".index" file. Lines that do not have three fields
// with valid numbers are skipped, as are the database's own entries (headwords
// starting with "00database" or "00-database-").
std::vector<IndexEntry> ParseIndex(std::string_view text);

// Takes the translations out of one entry's text: the first line is the
// headword with pronunciation (/.../) and tags (<n>); the lines after it hold
// senses, possibly numbered ("1. "), each a comma-separated list of
// translations with tags and [labels]. Notes, examples, "Synonyms:" and
// "see:" lines are not translations. Each translation gives one pair.
std::vector<TranslationPair> ParseEntry(std::string_view entry);

// The same, appending the entry's pairs to *pairs.
void AppendEntryPairs(std::string_view entry, std::vector<TranslationPair>* pairs);

// The headword of an entry's first line, without pronunciation and tags.
std::string ParseHeadword(std::string_view line);

// Splits one sense line into its translations, stripped of tags, labels,
// numbering and surrounding spaces; commas inside parentheses do not split.
std::vector<std::string> SplitTranslations(std::string_view line);

// Finds the index and dictionary files for a name ("eng-hrv",
// "freedict-eng-hrv", or a path to the ".index" file). The base is the path
// without ".index"; false with a message when the files are missing.
bool LocateDictd(const std::string& index_or_name, const std::string& search_dir, std::string* base,
                 std::string* error);

// The two language codes of a FreeDict base name ("freedict-eng-hrv" ->
// "eng", "hrv"); false when the name has no such pair.
bool LanguageCodes(const std::string& base, std::string* from, std::string* to);

// Reads every pair of the dictd database at "base" (base.index and
// base.dict.dz or base.dict). Entries at the same offset are read once, and a
// pair repeated by another entry is kept once; "repeated" (may be null) gets
// how many such repeats were left out.
bool ReadDictd(const std::string& base, std::vector<TranslationPair>* pairs, std::string* error,
               std::size_t* repeated = nullptr);

}  // namespace cli
