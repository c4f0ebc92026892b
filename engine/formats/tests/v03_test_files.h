// Test helpers for V03 files: a second,
// independent reader and writer of the layout that splits a file into its
// parts and puts parts together again, so tests can craft damaged files whose
// CRC is right.
#pragma once

#include <cstdint>
#include <string>

namespace lexbase::v03_test {

using Bytes = std::string;

std::uint32_t GetU32(const Bytes& bytes, std::size_t offset);
void SetU32(Bytes* bytes, std::size_t offset, std::uint32_t value);

// Stores the CRC-32 of all bytes but the last four in the last four.
void FixCrc(Bytes* file);

// A V03 file taken apart: the 440 header bytes, the six blocks uncompressed
// (empty when absent) and the 2,048 bytes of tables in file order.
struct FileParts {
    Bytes header;
    Bytes blocks[6];
    Bytes tables;
};

FileParts SplitFile(const Bytes& file);

// Writes the parts as a file: header, each non-empty block compressed at
// level 4, tables, trailer, CRC. The header is taken as it is.
Bytes JoinParts(const FileParts& parts);

}  // namespace lexbase::v03_test
