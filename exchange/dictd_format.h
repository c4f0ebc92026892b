// What the dictd format's reader and writer share: the base-64 numbers of an
// ".index" line and the search key that dictd looks a headword up by.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace exchange {

// Decodes a dictd base-64 number ("B7" -> 123); false for an empty text, a
// byte outside the alphabet (A-Z a-z 0-9 + /) or a value beyond 2^48.
bool DecodeDictdNumber(std::string_view text, std::uint64_t* value);

// The base-64 form of `value` ("B7" for 123, "A" for 0).
std::string EncodeDictdNumber(std::uint64_t value);

// The key dictd looks `headword` (UTF-8) up by in a UTF-8 database, as it
// turns a query into one: letters and digits lowercased, white space a
// space, everything else (and malformed UTF-8) left out. As FreeDict's
// indexes do, a run of spaces becomes one ("10 base - 2" -> "10 base 2",
// as a user types it) and spaces at either end go.
std::string DictdKey(std::string_view headword);

// Whether an index headword names one of the database's own entries
// ("00-database-short", or "00databaseshort" as dictd's index keeps it).
bool IsDatabaseEntry(std::string_view headword);

}  // namespace exchange
