// Reading StarDict dictionaries (exchange/stardict_format.h) whose entries
// are plain text into translation pairs of UTF-8 texts, each entry's text
// split as FreeDict lays it out (exchange/entry_text.h).
#pragma once

#include <string>

#include "exchange/source_dictionary.h"

namespace exchange {

// Reads the StarDict dictionary that `path` names (its ".ifo" file, or any of
// its files) with its name, author and description. Each word of the .idx
// gives the pairs of its plain-text data ('m' fields; phonetic fields are
// skipped, other kinds of data leave no pairs); a first line that repeats the
// word with a pronunciation or tags is not a sense. A synonym of the .syn
// gives its word's pairs too, unless it only drops the word's accents or
// case, which a search that ignores them finds anyway.
//
// False with a message when a file is missing, too large (the data over
// exchange::kMaxInputBytes), not of the version the .ifo must name (2.4.2 or
// 3.0.0), or damaged: counts and sizes that contradict the files, an entry
// whose offset or size points outside the data, a synonym of a word the .idx
// lacks, no plain-text data at all.
bool ReadStarDict(const std::string& path, SourceDictionary* out, std::string* error);

}  // namespace exchange
