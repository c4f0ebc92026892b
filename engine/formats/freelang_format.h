// The Freelang database file: records of 84 bytes back to back, no header.
// Bytes 0 to 30 hold the word, NUL-terminated and zero-padded; bytes 31 to 83
// hold its translations, joined by ", ", NUL-terminated and zero-padded.
//
// Reading rules of the import:
//   - a record with an empty word or an empty translation field is skipped;
//   - bytes 30 and 83 are forced to 0, so each field ends inside its bytes;
//   - the translation field is cut at every comma at positions 1 to 50 that
//     is followed by a space and a byte other than 0; the scan resumes three
//     bytes after the comma, so ", , " cuts once;
//   - each translation gives one pair (word, translation), in record order
//     and within a record in field order.
// A Freelang installation keeps its databases in a folder named "language";
// the dict.ini in the folder above it names the languages of the file names.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/context.h"

namespace lexbase {

inline constexpr std::size_t kFreelangRecordSize = 84;

// Imports the Freelang file `file` into `db`, which holds no dictionary. The
// description comes from a file name of the form A_B.ext and, when the file
// lies in a folder named "language", from the dict.ini beside that folder.
// Nonzero locales given replace the ones found. On failure false returns,
// the handle still holds no dictionary and no message is written unless
// memory ran out; the ready flag is the caller's.
[[nodiscard]] bool LoadFreelang(DB_CONTEXT* db, const char* file, std::uint32_t primary_locale,
                                std::uint32_t secondary_locale);

// The same import from the file's bytes in memory; `file` names the
// dictionary and locates dict.ini.
[[nodiscard]] bool ImportFreelangBytes(DB_CONTEXT* db, std::string_view bytes, const char* file,
                                       std::uint32_t primary_locale,
                                       std::uint32_t secondary_locale);

// Writes one record per primary word, in list order: the word cut to 30
// bytes, its translations in chain order joined by ", " within 52 bytes (a
// translation that does not fit is cut; none starts once 3 bytes or fewer are
// left). Fails with "Can't create file:\n<file>!" or "Can't write to
// file:\n<file>" when the file can't be created or written.
[[nodiscard]] bool SaveFreelang(DB_CONTEXT* db, const char* file);

// The locale of a Freelang language name ("french" 1036); 1033 when unknown.
std::uint32_t FreelangLanguageLocale(std::string_view name);

}  // namespace lexbase
