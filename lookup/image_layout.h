// The layout of a look-up image file, shared by its reader and its writer.
#pragma once

#include <libdeflate.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lookup::layout {

// The layout. Header fields are little-endian 32- and 64-bit numbers:
//   0 magic, 8 version, 12 length of the source's path, 16 source size,
//   24 and 32 its modification time (seconds, nanoseconds), 40 its CRC-32,
//   44 the two lists' code pages (65001 for a UTF-8 list), 52 per list (24
//   bytes each): texts, their bytes, entries, their count, links, their
//   count; 100 chunk CRCs, 104 their count, 108 where the data begins, 112
//   the image's size, 120 per list (8 bytes each): its prefix part (0 for
//   none) and whether it folds by character; 136 the CRC-32 of the header,
//   the path and the chunk CRCs; 140 the path.
// The data: per list its texts, each with a NUL; its entries sorted by text
// bytes (text offset, length, first link), one more ending the last; its links,
// entry numbers of the other list, in the order the engine gives them; its
// prefix part: the list's four comparison tables (exact, case, accents, both;
// 256 bytes each), each entry's position in list order, and per table the
// entries sorted by their folded texts, ties in list order.
inline constexpr char kMagic[8] = {'W', 'B', 'L', 'O', 'O', 'K', 'U', 'P'};
inline constexpr std::uint32_t kVersion = 3;
inline constexpr std::size_t kHeaderSize = 140;
inline constexpr std::size_t kHeaderCrc = 136;
inline constexpr std::size_t kPrefixFields = 120;
inline constexpr std::uint64_t kTablesSize = 4 * 256;
inline constexpr std::size_t kListFields = 52;
inline constexpr std::size_t kEntrySize = 12;
inline constexpr unsigned kChunkShift = 12;
inline constexpr std::uint64_t kChunkSize = std::uint64_t{1} << kChunkShift;

inline std::uint32_t Get32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline std::uint64_t Get64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
inline void Put32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }
inline void Put64(std::uint8_t* p, std::uint64_t v) { std::memcpy(p, &v, 8); }

inline std::uint64_t Align(std::uint64_t n, std::uint64_t to) { return (n + to - 1) / to * to; }

inline std::uint32_t Crc(const void* data, std::size_t size, std::uint32_t crc = 0) {
    return libdeflate_crc32(crc, data, size);
}

}  // namespace lookup::layout
