// What the V03 load, save and description functions share: a validated file
// mapped into memory with its header and trailer, little-endian fields, and
// the allocation that tests can make fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/context.h"
#include "engine/formats/v03_file.h"
#include "engine/malloc_block.h"
#include "engine/result.h"
#include "platform/mapped_file.h"

namespace lexbase::v03 {

inline std::uint32_t GetU32(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t{p[3]} << 24;
}

inline std::uint16_t GetU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline void PutU32(std::uint8_t* p, std::uint32_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value >> 16);
    p[3] = static_cast<std::uint8_t>(value >> 24);
}

inline void PutU16(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

// malloc, or null when the test hook says so.
void* Allocate(std::size_t size);

// The same from the arena, for node and link blocks (arena::FreeBlock frees it).
void* AllocateInArena(std::size_t size);

using FreeDeleter = lexbase::FreeDeleter;

// Copies the description of a header into `out` (the open dictionary or a
// DICTIONARY_INFO). The header's fields need not be terminated; CopyField
// stops at the field's size less one.
template <typename Description>
void CopyDescription(const std::uint8_t* header, Description* out) {
    const auto* text = reinterpret_cast<const char*>(header);
    CopyField(out->name, sizeof out->name, text + kName);
    CopyField(out->author, sizeof out->author, text + kAuthor);
    CopyField(out->description, sizeof out->description, text + kDescription);
    CopyField(out->primary_list_name, sizeof out->primary_list_name, text + kListName);
    CopyField(out->secondary_list_name, sizeof out->secondary_list_name,
              text + kListName + kShortField);
}

// Which caller validates a file: the rewrite of the description opens it for
// writing, refuses files below 568 bytes rather than 572 and ends its open and
// size messages with "!"; only the load reports progress 14.
enum class Purpose { kLoad, kReadInfo, kRewriteInfo };

// A file that passed validation, still mapped.
struct Image {
    platform::MappedFile file;
    std::uint8_t header[kHeaderSize];
    std::uint8_t trailer[kTrailerSize];

    std::uint64_t size() const { return file.size(); }
    std::uint32_t Header(std::size_t offset) const { return GetU32(header + offset); }
    std::uint32_t Trailer(std::size_t offset) const { return GetU32(trailer + offset); }
    // Offset of table `kind` (0 upper, 1 lower, 2 accent-free, 3 accent-free
    // upper) of `list` (0 primary, 1 secondary).
    std::uint32_t TableOffset(int list, int kind) const {
        return Trailer(kTableOffset + 16 * static_cast<std::size_t>(list) + 4 * kind);
    }
};

// Opens, maps and checks `file`: size, CRC, both magics, the total size and
// that every block and table offset lies inside the file. Progress 10, and 14
// after the CRC for a load. On failure the message buffer holds the message
// with the file name and false returns; the image is closed when it goes.
[[nodiscard]] bool OpenImage(DB_CONTEXT* db, const char* file, Purpose purpose, Image* image);

// The CRC-32 of `count` bytes at `offset` of the mapping, continuing from
// `crc`. False when the file no longer holds them.
[[nodiscard]] bool CrcOfMapping(const platform::MappedFile& file, std::uint64_t offset,
                                std::uint64_t count, std::uint32_t* crc);

}  // namespace lexbase::v03
