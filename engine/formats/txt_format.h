// The plain-text dictionary file, the engine's exchange format: one pair per
// line, the primary word, a TAB, the secondary word and CR LF, bytes in the
// code pages of the two lists, with no header. The import also reads lines
// that end in LF alone, and UTF-8 files (see LoadTxt).
//
// Reading rules of the import:
//   - a line begins at the start of the file and after every LF;
//   - a line that is empty or begins with CR or TAB carries no pair;
//   - the first TAB of the line ends the primary word, unless CR or LF follows
//     it (then the line carries no pair), and the secondary word runs from
//     there to the next CR or LF; a second TAB coming first means no pair;
//     whatever follows the CR up to the next LF is ignored;
//   - a last byte LF is ignored; any other last byte is read as if a CR
//     followed it, so the last line needs no line end.
// A word ends at a NUL byte in it; a pair with an empty word or a word longer
// than 65,535 bytes is skipped.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/context.h"

namespace lexbase {

// Imports the TXT file `file` into `db`, which holds no dictionary. The lists
// get `primary_locale` and `secondary_locale` (both 1024 when both are 0,
// DB_LOCALE_UTF8 taken out) and charset 1, or DB_CHARSET_UTF8 for a list
// whose locale asks for UTF-8 (DB_LOCALE_UTF8, or a language without an 8-bit
// code page) and for one whose texts, in a UTF-8 file, don't all fit its code
// page. A file that starts with a byte-order mark (which is no part of the
// first word) is UTF-8; otherwise each column is UTF-8 when its texts are
// valid UTF-8 with a byte above 127, else in its list's code page. UTF-8
// texts go into each list's encoding. 8-bit texts for a UTF-8 list are read in the
// ANSI code page of its locale; the description comes from a file name of the form A_B.ext
// ("A - B", lists A and B), otherwise "Unknown - Unknown". Progress follows
// the pair build. On failure false returns, the message buffer says why and
// the handle still holds no dictionary; the ready flag is the caller's.
[[nodiscard]] bool LoadTxt(DB_CONTEXT* db, const char* file, std::uint32_t primary_locale,
                           std::uint32_t secondary_locale);

// The same import from the file's bytes already in memory; `file` only names
// the dictionary and the messages.
[[nodiscard]] bool ImportTxtBytes(DB_CONTEXT* db, std::string_view bytes, const char* file,
                                  std::uint32_t primary_locale, std::uint32_t secondary_locale);

// Writes every translation of the open dictionary to `file` as "primary TAB
// secondary CR LF", walking the primary list in order and each word's
// translations in chain order; the bytes of the words are written unchanged.
// Progress rises with the words done. Fails, with the message "Can't create
// file:\n<file>!" or "Can't write to file:\n<file>", when the file can't be
// created or written; the dictionary is never changed.
[[nodiscard]] bool SaveTxt(DB_CONTEXT* db, const char* file);

}  // namespace lexbase
