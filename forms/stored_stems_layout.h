// The layout of a stored-stems file, shared by its reader and its writer.
#pragma once

#include <libdeflate.h>

#include <cstddef>
#include <cstdint>

namespace forms::stems_layout {

// The layout, little-endian: 0 magic, 8 version, 12 the CRC-32 of the rest
// of the header; 16 the owner, the locale, the .aff's and the .dic's paths
// (each a 32-bit length and its bytes), the two files' stamps (device, inode,
// size, seconds, nanoseconds: 64 bits each), the count of words, the count
// of chunks and a CRC-32 per chunk. The data: per word the 32-bit offset of
// its record from the first record; the records, sorted by word bytes: the
// word, the count of its stems, the stems. Each 4 KiB chunk of the data has
// its CRC checked the first time a look-up reads from it, so that a look-up
// reads a few pages of the file, not all of it.
constexpr char kMagic[8] = {'W', 'B', 'S', 'T', 'E', 'M', 'S', '\0'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kFixedSize = 16;
constexpr unsigned kChunkShift = 12;
constexpr std::uint64_t kChunkSize = std::uint64_t{1} << kChunkShift;

inline std::uint32_t Crc(const char* data, std::size_t size) {
    return static_cast<std::uint32_t>(libdeflate_crc32(0, data, size));
}

}  // namespace forms::stems_layout
