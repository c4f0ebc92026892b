// The ".dict.dz" form of dictd and StarDict texts: gzip whose extra field
// "RA" lists the compressed size of every chunk of the text, each chunk
// compressed so that it inflates on its own, so that a reader inflates only
// the chunks an entry lies in.
//
// Header (little-endian): 1F 8B 08, flags 04 (FEXTRA), modification time (4),
// extra flags, system; XLEN (2); "RA", LEN (2) = 6 + 2 x CHCNT, VER (2) = 1,
// CHLEN (2, the text bytes of every chunk but the last), CHCNT (2), then
// CHCNT compressed sizes (2 each). Then the deflate data and the trailer:
// CRC-32 and the text's length (4 each).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace exchange {

// The text bytes of every chunk but the last: what dictd's reader inflates
// a chunk into at most.
inline constexpr std::size_t kDictzipChunkLength = 58315;
// The most chunks the extra field can list.
inline constexpr std::size_t kDictzipMostChunks = (65535 - 10) / 2;

// Compresses `text` (at least one byte) into *packed. False with the reason
// when it is longer than the chunk table can describe (about 1.9 GB).
bool Dictzip(std::string_view text, std::string* packed, std::string* error);

// The text of a ".dict" or ".dict.dz" file from its bytes: a file that does
// not begin as gzip is the text itself; a gzip file (of one member or more)
// is inflated, to at most `max_text` bytes, and a dictzip file's chunk table
// must describe its data. False with a message that names `path` otherwise.
bool ReadDictText(std::string bytes, const std::string& path, std::size_t max_text,
                  std::string* text, std::string* error);

}  // namespace exchange
