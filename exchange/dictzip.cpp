#include "exchange/dictzip.h"

#include <libdeflate.h>
#include <zlib.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace exchange {
namespace {

constexpr unsigned char kFlagHeaderCrc = 2;
constexpr unsigned char kFlagExtra = 4;
constexpr unsigned char kFlagName = 8;
constexpr unsigned char kFlagComment = 16;
constexpr std::size_t kTrailer = 8;

std::uint32_t Little16(const std::string& bytes, std::size_t at) {
    return std::uint32_t{static_cast<unsigned char>(bytes[at])} |
           std::uint32_t{static_cast<unsigned char>(bytes[at + 1])} << 8;
}

std::uint32_t Little32(const std::string& bytes, std::size_t at) {
    return Little16(bytes, at) | Little16(bytes, at + 2) << 16;
}

void PutLittle16(std::string* out, std::size_t value) {
    *out += static_cast<char>(value & 0xFF);
    *out += static_cast<char>(value >> 8 & 0xFF);
}

void PutLittle32(std::string* out, std::uint32_t value) {
    PutLittle16(out, value & 0xFFFF);
    PutLittle16(out, value >> 16);
}

std::uint32_t Crc32(std::string_view text) {
    uLong crc = crc32(0, nullptr, 0);
    while (!text.empty()) {
        const std::size_t part = std::min<std::size_t>(text.size(), 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(part));
        text.remove_prefix(part);
    }
    return static_cast<std::uint32_t>(crc);
}

// What a gzip header says, as far as reading the text needs it.
struct GzipHeader {
    std::size_t data_start = 0;  // the first byte of the deflate data
    bool chunked = false;        // an "RA" field is there
    std::uint32_t version = 0, chunk_length = 0;
    std::vector<std::uint32_t> chunk_sizes;
};

// Reads the "RA" subfield out of the extra field at [at, end); false when a
// subfield runs past the field or the chunk table contradicts its length.
bool ParseExtraField(const std::string& bytes, std::size_t at, std::size_t end,
                     GzipHeader* header) {
    while (at < end) {
        if (end - at < 4) return false;
        const std::size_t length = Little16(bytes, at + 2);
        if (length > end - at - 4) return false;
        if (bytes[at] == 'R' && bytes[at + 1] == 'A') {
            if (length < 6) return false;
            header->chunked = true;
            header->version = Little16(bytes, at + 4);
            header->chunk_length = Little16(bytes, at + 6);
            const std::size_t count = Little16(bytes, at + 8);
            if (length != 6 + 2 * count) return false;
            for (std::size_t i = 0; i < count; ++i) {
                header->chunk_sizes.push_back(Little16(bytes, at + 10 + 2 * i));
            }
        }
        at += 4 + length;
    }
    return true;
}

// Parses the header of a gzip file of `bytes`; false when it is damaged or
// leaves no room for the trailer.
bool ParseGzipHeader(const std::string& bytes, GzipHeader* header) {
    if (bytes.size() < 10 + kTrailer || bytes[2] != 8) return false;
    const auto flags = static_cast<unsigned char>(bytes[3]);
    const std::size_t limit = bytes.size() - kTrailer;
    std::size_t at = 10;
    if ((flags & kFlagExtra) != 0) {
        if (limit - at < 2) return false;
        const std::size_t length = Little16(bytes, at);
        at += 2;
        if (length > limit - at || !ParseExtraField(bytes, at, at + length, header)) return false;
        at += length;
    }
    for (const unsigned char text_flag : {kFlagName, kFlagComment}) {
        if ((flags & text_flag) == 0) continue;
        const std::size_t zero = bytes.find('\0', at);
        if (zero == std::string::npos || zero >= limit) return false;
        at = zero + 1;
    }
    if ((flags & kFlagHeaderCrc) != 0) at += 2;
    if (at > limit) return false;
    header->data_start = at;
    return true;
}

// Inflates the chunks of a dictzip file one by one, each on its own, as a
// reader that looks up one entry does: the table must describe the data.
bool InflateChunks(const std::string& bytes, const GzipHeader& header, std::size_t max_text,
                   std::string* text) {
    const std::size_t count = header.chunk_sizes.size();
    const std::uint64_t length = Little32(bytes, bytes.size() - 4);
    const std::uint64_t chunk = header.chunk_length;
    if (header.version != 1 || chunk == 0 || count == 0 || length > max_text ||
        length > count * chunk || (length > 0 && length <= (count - 1) * chunk)) {
        return false;
    }
    std::size_t data = 0;
    for (const std::uint32_t size : header.chunk_sizes) data += size;
    if (data > bytes.size() - kTrailer - header.data_start) return false;
    text->assign(static_cast<std::size_t>(length), '\0');
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) return false;
    bool ok = true;
    std::size_t in = header.data_start;
    for (std::size_t i = 0; ok && i < count; ++i) {
        const std::size_t out = i * chunk;
        const std::size_t expected = std::min<std::size_t>(chunk, text->size() - out);
        ok = inflateReset(&z) == Z_OK;
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + in));
        z.avail_in = header.chunk_sizes[i];
        z.next_out = reinterpret_cast<Bytef*>(text->data() + out);
        z.avail_out = static_cast<uInt>(expected);
        const int result = ok ? inflate(&z, Z_SYNC_FLUSH) : Z_DATA_ERROR;
        // A chunk gives exactly its share of the text and uses all its bytes.
        ok = (result == Z_OK || result == Z_STREAM_END ||
              (result == Z_BUF_ERROR && expected == 0)) &&
             z.avail_in == 0 && z.avail_out == 0;
        in += header.chunk_sizes[i];
    }
    inflateEnd(&z);
    return ok;
}

// Inflates a gzip file of one member through libdeflate in one call; false
// for anything else (several members, damage), which zlib then reads.
bool InflateOneMember(const std::string& bytes, std::size_t max_text, std::string* text) {
    const std::size_t length = Little32(bytes, bytes.size() - 4);
    // Deflate gives at most 1032 bytes a byte.
    if (length > max_text || length / 1032 > bytes.size()) return false;
    text->assign(length, '\0');
    libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
    if (inflater == nullptr) return false;
    std::size_t used = 0, made = 0;
    const libdeflate_result result = libdeflate_gzip_decompress_ex(
        inflater, bytes.data(), bytes.size(), text->data(), length, &used, &made);
    libdeflate_free_decompressor(inflater);
    return result == LIBDEFLATE_SUCCESS && used == bytes.size() && made == length;
}

// Inflates every member of a gzip file through zlib, to at most `max_text`
// bytes. 1 done, 0 damaged, -1 too long.
int InflateMembers(const std::string& bytes, std::size_t max_text, std::string* text) {
    text->clear();
    z_stream z{};
    if (inflateInit2(&z, 16 + 15) != Z_OK) return 0;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    char buffer[1 << 16];
    int outcome = 1;
    while (outcome == 1) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        const int result = inflate(&z, Z_NO_FLUSH);
        const std::size_t made = sizeof buffer - z.avail_out;
        if (made > max_text - text->size()) {
            outcome = -1;
        } else {
            text->append(buffer, made);
        }
        if (result == Z_STREAM_END) {
            if (z.avail_in == 0) break;
            if (inflateReset(&z) != Z_OK) outcome = 0;  // the next member
        } else if (result != Z_OK) {
            outcome = 0;
        }
    }
    inflateEnd(&z);
    return outcome;
}

}  // namespace

bool Dictzip(std::string_view text, std::string* packed, std::string* error) {
    const std::size_t chunks =
        std::max<std::size_t>(1, (text.size() + kDictzipChunkLength - 1) / kDictzipChunkLength);
    if (chunks > kDictzipMostChunks) {
        *error =
            "The text is too long for a .dict.dz file: " + std::to_string(text.size()) + " bytes";
        return false;
    }
    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        *error = "Can't start the compression";
        return false;
    }
    std::string data;
    std::vector<std::size_t> sizes;
    // Room for a chunk that does not compress: its bytes, stored-block
    // headers and the flush.
    std::string buffer(deflateBound(&z, kDictzipChunkLength) + 64, '\0');
    const auto run = [&](std::string_view input, int flush) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
        z.avail_in = static_cast<uInt>(input.size());
        z.next_out = reinterpret_cast<Bytef*>(buffer.data());
        z.avail_out = static_cast<uInt>(buffer.size());
        const int result = deflate(&z, flush);
        const std::size_t made = buffer.size() - z.avail_out;
        data.append(buffer.data(), made);
        return (result == Z_OK || result == Z_STREAM_END) && z.avail_in == 0 && z.avail_out > 0
                   ? made
                   : std::string::npos;
    };
    bool ok = true;
    for (std::size_t i = 0; ok && i < chunks; ++i) {
        const std::size_t made =
            run(text.substr(std::min(text.size(), i * kDictzipChunkLength), kDictzipChunkLength),
                Z_FULL_FLUSH);
        ok = made <= 0xFFFF;
        sizes.push_back(made);
    }
    // The final empty block follows the chunks, outside the table, so that
    // every chunk inflates without reaching the end of the stream.
    ok = ok && run({}, Z_FINISH) != std::string::npos;
    deflateEnd(&z);
    if (!ok) {
        *error = "The compression failed";
        return false;
    }
    std::string& out = *packed;
    out.assign("\x1F\x8B\x08\x04\0\0\0\0\0\x03", 10);  // no time, Unix
    PutLittle16(&out, 10 + 2 * chunks);
    out += "RA";
    PutLittle16(&out, 6 + 2 * chunks);
    PutLittle16(&out, 1);
    PutLittle16(&out, kDictzipChunkLength);
    PutLittle16(&out, chunks);
    for (const std::size_t size : sizes) PutLittle16(&out, size);
    out += data;
    PutLittle32(&out, Crc32(text));
    PutLittle32(&out, static_cast<std::uint32_t>(text.size()));
    return true;
}

bool ReadDictText(std::string bytes, const std::string& path, std::size_t max_text,
                  std::string* text, std::string* error) {
    if (bytes.size() < 2 || bytes[0] != '\x1F' || bytes[1] != '\x8B') {
        if (bytes.size() > max_text) {
            *error = "File is too large: " + path;
            return false;
        }
        *text = std::move(bytes);
        return true;
    }
    GzipHeader header;
    if (!ParseGzipHeader(bytes, &header)) {
        *error = "The compressed text is damaged: " + path;
        return false;
    }
    if (Little32(bytes, bytes.size() - 4) > max_text) {
        *error = "The text is too large: " + path;
        return false;
    }
    if (header.chunked) {
        if (!InflateChunks(bytes, header, max_text, text)) {
            *error = "The chunk table does not match the compressed text: " + path;
            return false;
        }
        if (Crc32(*text) != Little32(bytes, bytes.size() - 8)) {
            *error = "The compressed text is damaged: " + path;
            return false;
        }
        return true;
    }
    if (InflateOneMember(bytes, max_text, text)) return true;
    const int outcome = InflateMembers(bytes, max_text, text);
    if (outcome == 1) return true;
    text->clear();
    *error =
        outcome < 0 ? "The text is too large: " + path : "The compressed text is damaged: " + path;
    return false;
}

}  // namespace exchange
