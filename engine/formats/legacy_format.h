// The version-2 dictionary set: five files in one folder, each a 32-bit
// little-endian uncompressed size followed by one zlib stream.
//   eng.v02  English words, NUL-terminated, addressed by byte offset
//   hrv.v02  Croatian words, likewise
//   ehr.v02  English-to-Croatian index, entries of 12 bytes: word offset in
//            eng.v02, first translation (index into ehp.v02), count
//   ehp.v02  32-bit byte offsets into hrv.v02
//   her.v02  Croatian-to-English index; must be sound, is not used
// English is always the primary list, Croatian the secondary.
#pragma once

#include <string_view>

#include "engine/context.h"

namespace lexbase {

inline constexpr int kLegacyFileCount = 5;

// The file names in reading order: eng, hrv, ehr, ehp, her.
extern const char* const kLegacyFileNames[kLegacyFileCount];

// Imports the set in `folder` into `db`, which holds no dictionary. Every
// offset and index is checked; a missing, damaged or inconsistent file fails
// the import. Progress runs 10, 5, 20, 25, 30, 35, 50, the pair build's
// steps, then 90. On failure false returns, the handle still holds no
// dictionary and no message is written unless memory ran out; the ready flag
// is the caller's.
[[nodiscard]] bool LoadV02(DB_CONTEXT* db, const char* folder);

// The same import from the five files' raw bytes, in the order of
// kLegacyFileNames.
[[nodiscard]] bool ImportLegacyBytes(DB_CONTEXT* db,
                                     const std::string_view (&files)[kLegacyFileCount]);

}  // namespace lexbase
