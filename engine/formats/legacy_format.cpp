#include "engine/formats/legacy_format.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "engine/formats/file_input.h"
#include "engine/formats/pair_build.h"
#include "engine/result.h"

namespace lexbase {

const char* const kLegacyFileNames[kLegacyFileCount] = {"eng.v02", "hrv.v02", "ehr.v02", "ehp.v02",
                                                        "her.v02"};

namespace {

enum FileIndex { kEnglish, kCroatian, kIndex, kTargets, kReverseIndex };

constexpr std::size_t kMinFileSize = 14;
constexpr std::size_t kEntrySize = 12;
// Deflate never packs more than 1032 bytes into one; a stored size beyond
// that ratio (with room for the stream's own overhead) is a damaged file.
constexpr std::uint64_t kMaxRatio = 1032;
constexpr std::uint64_t kSlack = 4096;
constexpr std::uint32_t kProgressBefore[kLegacyFileCount] = {10, 5, 20, 25, 30};

// One decompressed file.
struct Block {
    MallocBlock<unsigned char> data;
    std::size_t size = 0;
};

std::uint32_t Le32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Unpacks one file's envelope; false when it is short, its stored size is
// absurd, or the stream does not yield exactly the stored size.
bool Decompress(std::string_view raw, Block* out) {
    if (raw.size() < kMinFileSize) return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(raw.data());
    const std::uint32_t stored = Le32(bytes);
    const std::uint64_t source = raw.size() - 4;
    if (stored == 0 || stored > source * kMaxRatio + kSlack || source > ULONG_MAX) return false;
    out->data.reset(static_cast<unsigned char*>(std::malloc(stored)));
    if (out->data == nullptr) return false;
    uLongf length = stored;
    if (uncompress(out->data.get(), &length, bytes + 4, static_cast<uLong>(source)) != Z_OK ||
        length != stored) {
        out->data.reset();
        return false;
    }
    out->size = stored;
    return true;
}

// Reads the whole file `path` into `raw`: a regular file only.
bool ReadWhole(const std::string& path, WholeFile* raw) {
    ReadBounds bounds;
    bounds.min_size = kMinFileSize;
    return ReadWholeFile(path.c_str(), bounds, raw) == ReadStatus::kRead;
}

// The positions of every NUL of a text block, in order, so that the text at
// any offset is found by halving instead of a scan that a hostile file could
// make as long as the block for every one of its entries.
class TextIndex {
public:
    bool Build(const Block& block) {
        block_ = &block;
        const auto* bytes = block.data.get();
        std::size_t count = 0;
        for (std::size_t i = 0; i < block.size; ++i) count += bytes[i] == '\0';
        nuls_.reset(
            static_cast<std::size_t*>(std::malloc((count > 0 ? count : 1) * sizeof(std::size_t))));
        if (nuls_ == nullptr) return false;
        count_ = 0;
        for (std::size_t i = 0; i < block.size; ++i) {
            if (bytes[i] == '\0') nuls_.get()[count_++] = i;
        }
        return true;
    }

    // The NUL-terminated text at `offset`; false when the offset is outside
    // the block or no NUL follows.
    bool TextAt(std::uint32_t offset, std::string_view* text) const {
        if (offset >= block_->size) return false;
        const std::size_t* begin = nuls_.get();
        const std::size_t* end = begin + count_;
        const std::size_t* nul = std::lower_bound(begin, end, std::size_t{offset});
        if (nul == end) return false;
        *text = std::string_view(reinterpret_cast<const char*>(block_->data.get()) + offset,
                                 *nul - offset);
        return true;
    }

private:
    const Block* block_ = nullptr;
    MallocBlock<std::size_t> nuls_;
    std::size_t count_ = 0;
};

// Supplies file i of the set, decompressed.
using FetchFile = bool (*)(const void* source, int which, Block* out);

bool CollectPairs(const Block (&files)[kLegacyFileCount], PairArray* pairs) {
    const Block& index = files[kIndex];
    const std::size_t entries = index.size / kEntrySize;
    const std::size_t targets = files[kTargets].size / 4;
    if (!pairs->Reserve(targets)) return false;
    TextIndex english, croatian;
    if (!english.Build(files[kEnglish]) || !croatian.Build(files[kCroatian])) return false;
    std::size_t running = 0;
    for (std::size_t e = 0; e < entries; ++e) {
        const unsigned char* entry = index.data.get() + e * kEntrySize;
        const std::uint32_t word_offset = Le32(entry);
        const std::uint64_t first = Le32(entry + 4);
        const std::uint32_t count = Le32(entry + 8);
        if (count == 0) continue;
        std::string_view word;
        if (!english.TextAt(word_offset, &word)) return false;
        for (std::uint64_t i = 0; i < count; ++i) {
            if (first + i >= targets || running >= targets) return false;
            const std::uint32_t target = Le32(files[kTargets].data.get() + (first + i) * 4);
            std::string_view translation;
            if (!croatian.TextAt(target, &translation)) return false;
            pairs->Add(word, translation);  // skips empty and over-long texts
            ++running;
        }
    }
    return true;
}

bool ImportSet(DB_CONTEXT* db, FetchFile fetch, const void* source) {
    Block files[kLegacyFileCount];
    for (int i = 0; i < kLegacyFileCount; ++i) {
        SetProgress(db, kProgressBefore[i]);
        if (!fetch(source, i, &files[i])) return false;
    }
    // The reverse index is only checked.
    const std::size_t reverse_entries = files[kReverseIndex].size / kEntrySize;
    files[kReverseIndex] = Block();
    SetProgress(db, 35);
    if (files[kIndex].size / kEntrySize == 0 || reverse_entries == 0 ||
        files[kTargets].size / 4 == 0) {
        return false;
    }
    PairArray pairs;
    if (!CollectPairs(files, &pairs) || pairs.size() == 0) return false;
    SetProgress(db, 50);
    files[kIndex] = Block();
    files[kTargets] = Block();
    db->lists[0].locale = 1033;
    db->lists[1].locale = 1050;
    if (!BuildFromPairs(db, pairs.data(), pairs.size())) return false;  // lists are empty again
    SetProgress(db, 90);
    CopyField(db->name, sizeof db->name, "Reriraro-voduzuza tallis");
    CopyField(db->author, sizeof db->author, "Tomislav Baric");
    CopyField(db->description, sizeof db->description, "Reriraro-voduzuza tallis");
    CopyField(db->primary_list_name, sizeof db->primary_list_name, "Engleski");
    CopyField(db->secondary_list_name, sizeof db->secondary_list_name, "Hrvatski");
    db->lists[0].charset = 0;
    db->lists[1].charset = 238;
    return true;
}

bool FetchFromFolder(const void* source, int which, Block* out) {
    const std::string path =
        std::string(static_cast<const char*>(source)) + "/" + kLegacyFileNames[which];
    WholeFile raw;
    return ReadWhole(path, &raw) && Decompress(std::string_view(raw.block.get(), raw.size), out);
}

bool FetchFromBytes(const void* source, int which, Block* out) {
    return Decompress(static_cast<const std::string_view*>(source)[which], out);
}

}  // namespace

bool LoadV02(DB_CONTEXT* db, const char* folder) { return ImportSet(db, FetchFromFolder, folder); }

bool ImportLegacyBytes(DB_CONTEXT* db, const std::string_view (&files)[kLegacyFileCount]) {
    return ImportSet(db, FetchFromBytes, files);
}

}  // namespace lexbase
