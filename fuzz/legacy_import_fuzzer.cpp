// Feeds arbitrary bytes to the legacy set import. The input holds five
// chunks, each a 16-bit little-endian length and that many bytes. When the
// first byte is even the chunks are the files' decompressed contents, packed
// here into sound envelopes so the offset and index checks are reached;
// otherwise they are the raw files, envelope and all.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/formats/legacy_format.h"
#include "engine/lexbase.h"

namespace {

std::string Envelope(std::string_view content) {
    uLongf size = compressBound(content.size());
    std::string out(4 + size, '\0');
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(content.size() >> (8 * i));
    if (compress(reinterpret_cast<Bytef*>(&out[4]), &size,
                 reinterpret_cast<const Bytef*>(content.data()), content.size()) != Z_OK) {
        return std::string();
    }
    out.resize(4 + size);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool pack = (data[0] & 1) == 0;
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string files[lexbase::kLegacyFileCount];
    for (std::string& file : files) {
        std::size_t length = 0;
        if (rest.size() >= 2) {
            length = static_cast<std::uint8_t>(rest[0]) | static_cast<std::uint8_t>(rest[1]) << 8;
            rest.remove_prefix(2);
        }
        length = length < rest.size() ? length : rest.size();
        file = std::string(rest.substr(0, length));
        rest.remove_prefix(length);
        if (pack) file = Envelope(file);
    }
    const std::string_view views[lexbase::kLegacyFileCount] = {files[0], files[1], files[2],
                                                               files[3], files[4]};
    DB_HANDLE db = DB_CreateHandle()->handle;
    (void)lexbase::ImportLegacyBytes(db, views);
    DB_DestroyHandle(db);
    return 0;
}
