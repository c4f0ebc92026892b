// Imports and exports in the formats other dictionary programs read, as the
// program and wordbay-cli offer them: a StarDict or dictd dictionary built
// into an engine handle, and an open dictionary written in either format,
// in either direction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/lexbase.h"
#include "exchange/book_writers.h"
#include "exchange/pair_import.h"

namespace exchange {

enum class Format { kStarDict, kDictd };

// The numbers of these formats in the program's format lists, beside the
// engine's DB_FORMAT_ numbers (which they never meet: the engine never sees
// them).
inline constexpr std::int32_t kStarDictLoad = 101;
inline constexpr std::int32_t kDictdLoad = 102;
inline constexpr std::int32_t kStarDictSave = 111;
inline constexpr std::int32_t kDictdSave = 112;

// The format of a format number of the lists, or none for an engine format.
std::optional<Format> FormatOfNumber(std::int32_t number);

// The records of these formats for the import (direction 1) or export
// (direction 2) list, shaped as the engine's (DB_GetPluginList).
std::vector<DB_FORMAT_RECORD> FormatRecords(std::int32_t direction);

// The extension of the file that names a dictionary of `format`, without
// the dot: "ifo", "index".
const char* FileExtension(Format format);

// What an import kept of the pairs it read.
struct ImportReport {
    std::size_t kept = 0;
    std::size_t dropped = 0;   // pairs the dictionary can't hold (see `reasons`)
    std::size_t repeated = 0;  // pairs another entry repeated, kept once
    std::string reasons;       // "3 with an empty word, ..." when some were dropped
};

// Reads the dictionary `path` of `format` (StarDict: any of its files;
// dictd: its .index, .dict.dz or base name) and builds it in `db`, which
// holds no dictionary, through the engine's TXT import from a file that
// lives in memory only. The lists take the two locales (LCIDs; both 0: the
// user's), each list in its locale's code page where every text fits it,
// else in UTF-8. The dictionary is named by `texts`; an empty text is taken
// from the dictionary itself (its name, author, description) or made up
// (list names "Unknown"). False with a message
// (the reader's, or the engine's) when it can't be read or built; `db` then
// holds no dictionary.
bool ImportDictionary(DB_HANDLE db, Format format, const std::string& path,
                      std::uint32_t primary_locale, std::uint32_t secondary_locale,
                      const ImportTexts& texts, ImportReport* report, std::string* error);

// The language codes that a dictionary's file name carries, as FreeDict
// names its databases ("freedict-eng-hrv.index", "eng-hrv.ifo" -> "eng",
// "hrv"); false when it carries none.
bool LanguageCodesOfPath(const std::string& path, std::string* from, std::string* to);

// Writes the open dictionary of `db` in `format` to `path` (StarDict: NAME.ifo
// and its files; dictd: NAME.index and NAME.dict.dz), the words of the list
// that `direction` translates from as its headwords. The dictionary does not
// change. False with a message when it can't be read or written; the old
// files then stay as they were.
bool ExportDictionary(DB_HANDLE db, Format format, std::int32_t direction, const std::string& path,
                      WriteReport* report, std::string* error);

}  // namespace exchange
