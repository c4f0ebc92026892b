// The engine's own dictionary file, "V03": both word lists, all translations,
// the description and the eight folding tables, compressed with zlib and
// closed by a CRC-32. All integers are unsigned 32-bit little-endian.
//
//   header   440 bytes: magic, five strings, locales, charsets and per list
//            text bytes, word count and translation count (offsets below)
//   blocks   six zlib streams (compress2, level 4), a block of size 0 absent:
//            1, 2  texts of each list, every word followed by a NUL
//            3, 4  per word a 16-bit count of its translations
//            5, 6  per translation, in word and chain order, the position of
//                  its target in the other list
//   tables   eight 256-byte tables: upper, lower, accent-free and accent-free
//            upper, each primary then secondary
//   trailer  128 bytes: block offsets, compressed and uncompressed sizes,
//            table offsets, total size, magic again
//   CRC-32   of every byte before it
//
// Encoding of the texts. A list's words (and the list names) are in the
// ANSI code page of the list's locale, except where the list's charset field
// holds 65001: then they are UTF-8. Windows font character sets are all below
// 256, so no file written before has that value, and every such file reads
// and writes back byte for byte as ever. The tables of a UTF-8 list fold the
// ASCII bytes only (every byte above 127 maps to itself); its searches fold
// whole characters and don't read them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/context.h"
#include "engine/lexbase.h"

namespace lexbase {

namespace v03 {

inline constexpr char kMagic[] = "TQ_DICTIONARY_V03_00";  // 20 bytes in the file, no NUL
inline constexpr std::size_t kMagicSize = 20;

// Header offsets.
inline constexpr std::size_t kHeaderSize = 440;
inline constexpr std::size_t kName = 20;               // 100 bytes, NUL-terminated, zero-filled
inline constexpr std::size_t kAuthor = 120;            // 100
inline constexpr std::size_t kDescription = 220;       // 100
inline constexpr std::size_t kListName = 320;          // 40 per list, primary first
inline constexpr std::size_t kLocale = 400;            // 4 per list
inline constexpr std::size_t kCharset = 408;           // 4 per list
inline constexpr std::size_t kTextBytes = 416;         // 4 per list, 8 apart: text bytes,
inline constexpr std::size_t kWordCount = 420;         //   then word count, per list
inline constexpr std::size_t kTranslationCount = 432;  // 4 per list

// Trailer offsets, from the trailer's start (file size - 132).
inline constexpr std::size_t kTrailerSize = 128;
inline constexpr std::size_t kBlockOffset = 0;    // 4 per block, blocks 1 to 6
inline constexpr std::size_t kPackedSize = 24;    // compressed sizes
inline constexpr std::size_t kUnpackedSize = 48;  // uncompressed sizes
inline constexpr std::size_t kTableOffset = 72;   // 4 per table: primary upper, lower,
                                                  //   accent-free, accent-free upper;
                                                  //   then the secondary four
inline constexpr std::size_t kTotalSize = 104;
inline constexpr std::size_t kTrailerMagic = 108;

inline constexpr std::size_t kBlockCount = 6;
inline constexpr std::size_t kTableSize = 256;
inline constexpr std::size_t kCrcSize = 4;
inline constexpr std::uint64_t kMinFileSize = kHeaderSize + kTrailerSize + kCrcSize;  // 572
inline constexpr std::uint64_t kMinRewriteSize = kHeaderSize + kTrailerSize;          // 568
inline constexpr int kCompressionLevel = 4;

}  // namespace v03

// Validates `file` and loads it into `db`, which holds no dictionary; the
// stored folding tables are taken as they are. Progress passes 10, 14, 15,
// 45, 75, 77, 80, 85, 90, 92, 96 and 98. On success the lists are filled and
// every change flag is clear; the ready flag is the caller's. On failure the
// message buffer says why, db holds no dictionary and false returns.
[[nodiscard]] bool LoadV03(DB_CONTEXT* db, const char* file);

// Writes the open dictionary of `db` to `file` (a link followed): first to a
// temporary file of its own beside it, which then replaces `file` in one step;
// other writers of the file are locked out meanwhile (see
// platform::FileLock), and one that holds it too long makes the save fail. Blocks the edits left
// alone are written straight from memory. Progress passes 15, 45, 75, 80, 85, 90, 95 and 97. On
// failure the message buffer says why, `file` is as it was and no temporary file remains. The
// dictionary and its change flags never change.
[[nodiscard]] bool SaveV03(DB_CONTEXT* db, const char* file);

// Fills *info from the header of `file` after the checks of a load, without
// touching the dictionary of `db`. On failure the message buffer says why.
[[nodiscard]] bool ReadV03Info(DB_CONTEXT* db, const char* file, DICTIONARY_INFO* info);

// Rewrites the description in the header of `file`: names, locales and
// charsets from *info (counts are ignored), and the CRC. Only header bytes 20
// to 415 and the last four bytes change. The new file replaces the old one
// as a save does, so on failure the message buffer says why and the old file
// is as it was.
[[nodiscard]] bool WriteV03Info(DB_CONTEXT* db, const char* file, const DICTIONARY_INFO* info);

// Loads refuse a dictionary whose counts need more than `bytes` of memory in
// this thread, in place of what the machine and the process limits allow
// (0 restores that).
void SetV03MemoryCeilingForTesting(std::uint64_t bytes);

// Makes the n-th allocation of the loads and saves that follow fail (n counts
// from 1; 0 turns it off), so tests can reach every clean-up path. Per thread.
void FailV03AllocationForTesting(int n);

}  // namespace lexbase
