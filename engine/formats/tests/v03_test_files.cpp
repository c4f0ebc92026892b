#include "engine/formats/tests/v03_test_files.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace lexbase::v03_test {

std::uint32_t GetU32(const Bytes& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes.at(offset + i));
    return value;
}

void SetU32(Bytes* bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes->at(offset + i) = static_cast<char>(value >> (8 * i));
}

void FixCrc(Bytes* file) {
    const std::size_t body = file->size() - 4;
    const auto crc =
        crc32(0, reinterpret_cast<const Bytef*>(file->data()), static_cast<uInt>(body));
    SetU32(file, body, static_cast<std::uint32_t>(crc));
}

FileParts SplitFile(const Bytes& file) {
    FileParts parts;
    const std::size_t trailer = file.size() - 132;
    parts.header = file.substr(0, 440);
    for (int b = 0; b < 6; ++b) {
        const std::uint32_t offset = GetU32(file, trailer + 4 * b);
        const std::uint32_t packed = GetU32(file, trailer + 24 + 4 * b);
        uLongf size = GetU32(file, trailer + 48 + 4 * b);
        if (size == 0) continue;
        parts.blocks[b].resize(size);
        const int result = uncompress(reinterpret_cast<Bytef*>(parts.blocks[b].data()), &size,
                                      reinterpret_cast<const Bytef*>(file.data() + offset), packed);
        EXPECT_EQ(result, Z_OK) << "block " << b + 1;
    }
    parts.tables = file.substr(GetU32(file, trailer + 72), 2048);
    return parts;
}

Bytes JoinParts(const FileParts& parts) {
    Bytes file = parts.header;
    Bytes trailer(128, '\0');
    for (int b = 0; b < 6; ++b) {
        const Bytes& block = parts.blocks[b];
        if (block.empty()) continue;
        uLongf packed = compressBound(block.size());
        Bytes out(packed, '\0');
        EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &packed,
                            reinterpret_cast<const Bytef*>(block.data()), block.size(), 4),
                  Z_OK);
        SetU32(&trailer, 4 * b, static_cast<std::uint32_t>(file.size()));
        SetU32(&trailer, 24 + 4 * b, static_cast<std::uint32_t>(packed));
        SetU32(&trailer, 48 + 4 * b, static_cast<std::uint32_t>(block.size()));
        file += out.substr(0, packed);
    }
    const auto tables = static_cast<std::uint32_t>(file.size());
    // Primary upper, lower, accent-free, accent-free upper; then secondary.
    for (int list = 0; list < 2; ++list) {
        for (int kind = 0; kind < 4; ++kind) {
            SetU32(&trailer, 72 + 16 * list + 4 * kind, tables + 256 * (2 * kind + list));
        }
    }
    file += parts.tables;
    SetU32(&trailer, 104, static_cast<std::uint32_t>(file.size() + 132));
    trailer.replace(108, 20, "TQ_DICTIONARY_V03_00");
    file += trailer;
    file += Bytes(4, '\0');
    FixCrc(&file);
    return file;
}

}  // namespace lexbase::v03_test
