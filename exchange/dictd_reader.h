// Reading dictd databases (an ".index" file of headword, base-64 offset and
// base-64 length, and a ".dict" or dictzip ".dict.dz" text) into
// translation pairs of UTF-8 texts. Each entry's text is split as FreeDict
// lays it out (exchange/entry_text.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/source_dictionary.h"

namespace exchange {

struct IndexEntry {
    std::string headword;  // the first field: the key dictd looks the entry up by
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::string original;  // the fourth field, the headword as written; often absent
};

// Parses the text of an ".index" file. Lines that do not have three fields
// with valid numbers are skipped, as are the database's own entries (headwords
// starting with "00database" or "00-database-").
std::vector<IndexEntry> ParseIndex(std::string_view text);

// The base of the dictd database that `path` names: its ".index",
// ".dict.dz" or ".dict" file, or the base itself.
std::string DictdBase(const std::string& path);

// Finds the index and dictionary files for a name ("eng-hrv",
// "freedict-eng-hrv", or a path to the ".index" file). The base is the path
// without ".index"; false with a message when the files are missing.
bool LocateDictd(const std::string& index_or_name, const std::string& search_dir, std::string* base,
                 std::string* error);

// The two language codes of a FreeDict base name ("freedict-eng-hrv" ->
// "eng", "hrv"); false when the name has no such pair.
bool LanguageCodes(const std::string& base, std::string* from, std::string* to);

// Reads every pair of the dictd database at "base" (base.index and
// base.dict.dz or base.dict) and its name (the "00-database-short" entry) and
// description ("00-database-info"). An entry whose first line is its headword
// (with a pronunciation and tags, as FreeDict writes it) takes its headword
// from there, unless the index keeps it whole in a fourth field; any other
// entry is all senses of its index headword. Entries at the same offset are
// read once, a pair repeated by another entry is kept once, and an entry
// beyond the text is left out. False with a message when a file can't be
// read, is too large or is damaged.
bool ReadDictd(const std::string& base, SourceDictionary* out, std::string* error);

}  // namespace exchange
