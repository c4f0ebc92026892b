// The favourites as files that flashcard programs import:
//
// - TAB text: one favourite a line, "word TAB translations TAB dictionary TAB
//   date", the translations joined by "; ", the date as YYYY-MM-DD (local
//   time), UTF-8, LF line ends, no header line;
// - CSV (RFC 4180): a header line "word,translations,dictionary,date", then
//   the same fields, quoted where they hold a comma, a quote or a line break,
//   CR LF line ends.
//
// A TAB or a line break inside a field of the TAB text becomes a space, as
// the format has no way to write one.
#pragma once

#include <string>
#include <vector>

#include "wordlists/favourites_store.h"

namespace wordlists {

enum class CardFormat { kTabText, kCsv };

// The file's text, oldest favourite first (the order a deck is learned in).
std::string ExportCards(const std::vector<Favourite>& newest_first, CardFormat format);

// CSV for a name ending in ".csv" (any case), else TAB text.
CardFormat CardFormatForName(const std::string& file_name);

// YYYY-MM-DD of `time` (seconds since 1970) in local time.
std::string LocalDate(std::int64_t time);

}  // namespace wordlists
