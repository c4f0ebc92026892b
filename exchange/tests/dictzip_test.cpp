#include "exchange/dictzip.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace exchange {
namespace {

// Text that hardly compresses, so that chunks keep their size.
std::string Noise(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string text(size, '\0');
    for (char& c : text) c = static_cast<char>(' ' + random() % 90);
    return text;
}

std::uint32_t Little16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

std::string Packed(std::string_view text) {
    std::string packed, error;
    EXPECT_TRUE(Dictzip(text, &packed, &error)) << error;
    return packed;
}

bool Read(const std::string& bytes, std::string* text, std::string* error,
          std::size_t max_text = 1 << 24) {
    return ReadDictText(bytes, "x.dict.dz", max_text, text, error);
}

TEST(DictzipTest, TextOfEverySizeComesBack) {
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, kDictzipChunkLength - 1, kDictzipChunkLength,
          kDictzipChunkLength + 1, 3 * kDictzipChunkLength + 17}) {
        SCOPED_TRACE(size);
        const std::string text = Noise(size, static_cast<unsigned>(size));
        std::string back, error;
        ASSERT_TRUE(Read(Packed(text), &back, &error)) << error;
        EXPECT_EQ(back, text);
    }
}

// dictd and sdcv inflate only the chunks an entry lies in: each chunk of the
// table must inflate on its own into exactly its share of the text, without
// reaching the end of the stream.
TEST(DictzipTest, EveryChunkInflatesOnItsOwn) {
    const std::string text = Noise(2 * kDictzipChunkLength + 100, 7);
    const std::string packed = Packed(text);
    ASSERT_EQ(packed.substr(0, 4), std::string("\x1F\x8B\x08\x04", 4));
    ASSERT_EQ(packed.substr(12, 2), "RA");
    EXPECT_EQ(Little16(packed, 16), 1u);  // version
    EXPECT_EQ(Little16(packed, 18), kDictzipChunkLength);
    const std::size_t count = Little16(packed, 20);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(Little16(packed, 10), 10 + 2 * count);  // XLEN
    std::size_t at = 22 + 2 * count;
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        const std::size_t size = Little16(packed, 22 + 2 * i);
        std::string out(kDictzipChunkLength, '\0');
        z_stream z{};
        ASSERT_EQ(inflateInit2(&z, -15), Z_OK);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + at));
        z.avail_in = static_cast<uInt>(size);
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        EXPECT_EQ(inflate(&z, Z_PARTIAL_FLUSH), Z_OK);
        EXPECT_EQ(z.avail_in, 0u);
        out.resize(z.total_out);
        inflateEnd(&z);
        EXPECT_EQ(out, text.substr(i * kDictzipChunkLength, kDictzipChunkLength));
        at += size;
    }
}

TEST(DictzipTest, ATextBeyondTheChunkTableIsRefused) {
    // One byte more than the table can list, without building it: a view
    // of that length over a small buffer is never read.
    const std::string small(16, 'x');
    std::string packed, error;
    const std::string_view huge(small.data(), kDictzipChunkLength * kDictzipMostChunks + 1);
    EXPECT_FALSE(Dictzip(huge, &packed, &error));
    EXPECT_EQ(error.rfind("The text is too long for a .dict.dz file", 0), 0u) << error;
}

TEST(DictzipTest, PlainTextAndGzipAreReadToo) {
    std::string text, error;
    ASSERT_TRUE(Read("house\ndom\n", &text, &error));
    EXPECT_EQ(text, "house\ndom\n");
    EXPECT_FALSE(Read("0123456789", &text, &error, 5));
    EXPECT_EQ(error, "File is too large: x.dict.dz");
}

TEST(DictzipTest, DamagedFilesFailWithAMessage) {
    const std::string good = Packed(Noise(kDictzipChunkLength + 50, 3));
    const auto changed = [&](std::size_t at, char byte, std::size_t count = 1) {
        std::string bytes = good;
        for (std::size_t i = 0; i < count; ++i) bytes[at + i] = byte;
        return bytes;
    };
    const auto table_damaged = "The chunk table does not match the compressed text: x.dict.dz";
    const auto damaged = "The compressed text is damaged: x.dict.dz";
    const struct {
        const char* what;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"version 2", changed(16, 2), table_damaged},
        {"chunk length 0", changed(18, 0, 2), table_damaged},
        {"a chunk size too large", changed(23, '\x7F'), table_damaged},
        {"a chunk size too small", changed(22, static_cast<char>(good[22] - 1)), table_damaged},
        {"the length in the trailer", changed(good.size() - 2, 5), table_damaged},
        {"the CRC in the trailer", changed(good.size() - 8, static_cast<char>(~good.back())),
         damaged},
        {"a chunk table of another length than its count", changed(14, 9), damaged},
        {"not deflate", changed(2, 7), damaged},
        {"a gzip header alone", good.substr(0, 12), damaged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text, error;
        EXPECT_FALSE(Read(c.bytes, &text, &error));
        EXPECT_EQ(error, c.message);
    }
    std::string text, error;
    EXPECT_FALSE(Read(good, &text, &error, 100));
    EXPECT_EQ(error, "The text is too large: x.dict.dz");
}

TEST(DictzipTest, EveryTruncationFails) {
    const std::string good = Packed("house\ndom, kuća\n");
    for (std::size_t n = 2; n < good.size(); ++n) {
        SCOPED_TRACE(n);
        std::string text, error;
        EXPECT_FALSE(Read(good.substr(0, n), &text, &error));
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace exchange
