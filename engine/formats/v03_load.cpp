// Loading a V03 file: each block is decompressed in one call into one
// allocation, and the nodes and links of a list are built in one array each;
// nothing is allocated per word. The six blocks are inflated side by side on
// as many threads as there are cores before the lists are built from them. Every count, size and
// position read from the file is checked before it is used, so that a damaged file fails with a
// message and never leads to a read outside the mapping or a buffer.
#include <libdeflate.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/arena.h"
#include "engine/formats/v03_file.h"
#include "engine/formats/v03_image.h"
#include "engine/messages.h"
#include "engine/result.h"

namespace lexbase {
namespace {

using v03::GetU16;
using v03::GetU32;
// Frees a block of texts or counts (malloc'd) or of nodes or links (in the arena).
struct BlockDeleter {
    void operator()(void* block) const {
        if (arena::Holds(block)) {
            arena::FreeBlock(block);
        } else {
            std::free(block);
        }
    }
};
using Block = std::unique_ptr<std::uint8_t, BlockDeleter>;

// deflate expands nothing beyond 1032 to 1: a block that claims more than
// that is damaged, and refusing it keeps a small file from asking for
// gigabytes.
constexpr std::uint64_t kMaxExpansion = 1032;

// What a load may take: real dictionaries inflate about 4 to 1 and take some
// 25 bytes of memory for each byte of their file. A file whose declared
// sizes and counts ask for more than this many bytes per byte it holds, and
// more than the room every file gets, is damaged or made to exhaust memory:
// its blocks may each inflate as far as deflate allows, but the whole of
// them can't be that dictionary. So no file of 100 KB takes over 256 MB.
constexpr std::uint64_t kLoadBytesPerFileByte = 256;
constexpr std::uint64_t kLoadRoomOfEveryFile = std::uint64_t{128} << 20;

struct InflateJob {
    z_stream* stream;
    int result;
};

void RunInflate(void* argument) {
    auto* job = static_cast<InflateJob*>(argument);
    job->result = inflate(job->stream, Z_FINISH);
}

// Inflates a whole stream into a small scratch buffer, only to learn how
// much it yields; stops once it yields more than `limit`.
struct CountJob {
    z_stream* stream;
    std::uint64_t limit;
    int result;
};

void RunCount(void* argument) {
    auto* job = static_cast<CountJob*>(argument);
    std::uint8_t scratch[1 << 14];
    do {
        job->stream->next_out = scratch;
        job->stream->avail_out = sizeof scratch;
        job->result = inflate(job->stream, Z_NO_FLUSH);
    } while (job->result == Z_OK && job->stream->total_out <= job->limit);
}

// One block inflated ahead of the step that uses it.
struct Inflation {
    enum State { kNotRun, kDone, kBadStream, kUnreadable, kNoMemory };
    Block buffer;                 // the allocation that receives the block
    std::uint8_t* out = nullptr;  // where in it the block goes
    const std::uint8_t* in = nullptr;
    std::uint64_t packed = 0;
    std::uint64_t size = 0;
    State state = kNotRun;
    // A block of texts is cut into these nodes right after its inflation,
    // while other blocks still inflate; `cut_ok` tells how that went.
    WordNode* nodes = nullptr;
    std::uint32_t words = 0;
    bool cut = false;
    bool cut_ok = false;
};

// Cuts `bytes` bytes of texts, each ended by a NUL, into the `count` nodes of
// a list in their order. False unless they are exactly that many words of 1
// to 65,535 bytes.
bool CutTexts(char* text, std::size_t bytes, std::uint32_t count, WordNode* nodes) {
    if (bytes == 0 || text[bytes - 1] != '\0') return false;
    char* const end = text + bytes;
    std::size_t n = 0;
    for (; text < end; ++n) {
        const auto* nul = static_cast<char*>(std::memchr(text, '\0', end - text));
        const auto length = static_cast<std::size_t>(nul - text);
        // Stored words are 1 to 65,535 bytes; a count short of the texts is damage.
        if (n == count || length == 0 || length > 0xFFFF) return false;
        nodes[n] = WordNode{static_cast<std::uint16_t>(length),
                            0,
                            n > 0 ? &nodes[n - 1] : nullptr,
                            text,
                            nullptr,
                            nullptr};
        if (n > 0) nodes[n - 1].next = &nodes[n];
        text += length + 1;
    }
    return n == count;
}

// Inflates one zlib stream that must yield exactly `job->size` bytes.
struct DeflateJob {
    libdeflate_decompressor* decompressor;
    Inflation* inflation;
    libdeflate_result result;
    std::size_t produced;
};

void RunDeflate(void* argument) {
    auto* job = static_cast<DeflateJob*>(argument);
    job->result = libdeflate_zlib_decompress(
        job->decompressor, job->inflation->in, static_cast<std::size_t>(job->inflation->packed),
        job->inflation->out, static_cast<std::size_t>(job->inflation->size), &job->produced);
}

// Runs the waiting inflations, the largest first, on up to one thread per
// core; the calling thread takes its share. Each thread guards its own reads
// of the mapping.
void InflateAll(const platform::MappedFile& file, Inflation* jobs, int count) {
    std::vector<Inflation*> order;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].out != nullptr) order.push_back(&jobs[i]);
    }
    std::sort(order.begin(), order.end(),
              [](const Inflation* a, const Inflation* b) { return a->size > b->size; });
    std::atomic<std::size_t> next{0};
    auto work = [&file, &order, &next] {
        libdeflate_decompressor* const decompressor = libdeflate_alloc_decompressor();
        for (std::size_t i = next++; i < order.size(); i = next++) {
            Inflation* const inflation = order[i];
            if (decompressor == nullptr) {
                inflation->state = Inflation::kNoMemory;
                continue;
            }
            DeflateJob job{decompressor, inflation, LIBDEFLATE_BAD_DATA, 0};
            if (!file.Guarded(RunDeflate, &job)) {
                inflation->state = Inflation::kUnreadable;
            } else if (job.result != LIBDEFLATE_SUCCESS || job.produced != inflation->size) {
                inflation->state = Inflation::kBadStream;
            } else {
                inflation->state = Inflation::kDone;
                if (inflation->nodes != nullptr) {
                    inflation->cut = true;
                    inflation->cut_ok = CutTexts(reinterpret_cast<char*>(inflation->out),
                                                 static_cast<std::size_t>(inflation->size),
                                                 inflation->words, inflation->nodes);
                }
            }
        }
        if (decompressor != nullptr) libdeflate_free_decompressor(decompressor);
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < std::min(cores, order.size()); ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: fewer do the work
        }
    }
    work();
    for (std::thread& helper : helpers) helper.join();
}

thread_local std::uint64_t tls_memory_ceiling = 0;  // 0: the machine's

// The most memory a load may ask for: what the machine has, and no more than
// the process may map.
std::uint64_t MemoryCeiling() {
    if (tls_memory_ceiling != 0) return tls_memory_ceiling;
    std::uint64_t ceiling = UINT64_MAX;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page_size = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && page_size > 0) {
        ceiling = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
    }
    rlimit address_space{};
    if (::getrlimit(RLIMIT_AS, &address_space) == 0 && address_space.rlim_cur != RLIM_INFINITY) {
        // The arena's address space counts against the limit whole, in use or
        // not; what is not in use is no memory anyone has.
        const arena::Usage arena = arena::CurrentUsage();
        const std::uint64_t unused = arena.reserved - std::min(arena.in_use, arena.reserved);
        const std::uint64_t limit = address_space.rlim_cur;
        ceiling = std::min<std::uint64_t>(ceiling, limit > unused ? limit - unused : 0);
    }
    return ceiling;
}

// The arrays the check that the links mirror each other works in. The
// secondary links are distributed by their primary word, in secondary order,
// into one array; each primary word's chain, sorted, must then equal its
// stretch of it.
struct MirrorScratch {
    using Array = std::unique_ptr<std::uint32_t, v03::FreeDeleter>;
    Array backward;  // per link: the secondary words, grouped by primary word
    Array place;     // per primary word + 1: where its group begins, then ends
    Array chain;     // one primary word's targets, sorted

    bool Allocate(std::uint32_t links, std::uint32_t primary_words) {
        backward.reset(static_cast<std::uint32_t*>(v03::Allocate(std::size_t{links} * 4)));
        place.reset(static_cast<std::uint32_t*>(
            v03::Allocate((std::size_t{primary_words} + 1) * sizeof(std::uint32_t))));
        // A chain is at most 65,535 links long: its count has 16 bits.
        chain.reset(static_cast<std::uint32_t*>(v03::Allocate(0xFFFF * sizeof(std::uint32_t))));
        return backward != nullptr && place != nullptr && chain != nullptr;
    }
};

// One list's links as the file stores them: per word a 16-bit count, then
// the targets' positions in word and chain order.
struct StoredLinks {
    const std::uint8_t* counts;
    const std::uint8_t* positions;
    std::uint32_t words;
    std::uint32_t links;
};

// Whether every primary word's targets are, sorted, the secondary words that
// link back to it, taken straight from the blocks as stored. False also for
// counts or positions that don't fit, which the load refuses on its own.
bool StoredLinksMirror(const StoredLinks& primary, const StoredLinks& secondary,
                       MirrorScratch* scratch) {
    if (primary.links != secondary.links) return false;
    std::uint32_t* const place = scratch->place.get();
    std::uint32_t* const backward = scratch->backward.get();
    std::fill(place, place + primary.words + 1, 0u);
    // Calls f(word, position) for every link of `side`; false where they don't fit.
    const auto for_each_link = [](const StoredLinks& side, std::uint32_t targets, auto f) {
        std::uint32_t k = 0;
        for (std::uint32_t w = 0; w < side.words; ++w) {
            const std::uint32_t c = GetU16(side.counts + 2 * std::size_t{w});
            if (c > side.links - k) return false;
            for (const std::uint32_t end = k + c; k < end; ++k) {
                const std::uint32_t position = GetU32(side.positions + 4 * std::size_t{k});
                if (position >= targets) return false;
                f(w, position);
            }
        }
        return k == side.links;
    };
    if (!for_each_link(secondary, primary.words,
                       [place](std::uint32_t, std::uint32_t p) { ++place[p + 1]; })) {
        return false;
    }
    for (std::uint32_t p = 0; p < primary.words; ++p) place[p + 1] += place[p];
    for_each_link(secondary, primary.words, [place, backward](std::uint32_t s, std::uint32_t p) {
        backward[place[p]++] = s;
    });
    std::uint32_t* const sorted = scratch->chain.get();
    std::uint32_t begin = 0;
    std::uint32_t k = 0;
    for (std::uint32_t p = 0; p < primary.words; ++p) {
        const std::uint32_t c = GetU16(primary.counts + 2 * std::size_t{p});
        if (c > primary.links - k || place[p] - begin != c) return false;
        for (std::uint32_t i = 0; i < c; ++i) {
            sorted[i] = GetU32(primary.positions + 4 * std::size_t{k + i});
        }
        k += c;
        // Most words have a few translations, which sort fastest by insertion.
        if (c <= 16) {
            for (std::uint32_t i = 1; i < c; ++i) {
                const std::uint32_t v = sorted[i];
                std::uint32_t j = i;
                for (; j > 0 && sorted[j - 1] > v; --j) sorted[j] = sorted[j - 1];
                sorted[j] = v;
            }
        } else {
            std::sort(sorted, sorted + c);
        }
        if (!std::equal(sorted, sorted + c, backward + begin)) return false;
        begin = place[p];
    }
    return k == primary.links;
}

class Loader {
public:
    Loader(DB_CONTEXT* db, const char* file, const v03::Image* image)
        : db_(db), file_(file), image_(image) {}
    Loader(const Loader&) = delete;
    Loader& operator=(const Loader&) = delete;

    bool Run();

private:
    std::uint32_t TextBytes(int list) const { return image_->Header(v03::kTextBytes + 8 * list); }
    std::uint32_t WordCount(int list) const { return image_->Header(v03::kWordCount + 8 * list); }
    std::uint32_t LinkCount(int list) const {
        return image_->Header(v03::kTranslationCount + 4 * list);
    }
    std::uint32_t UnpackedSize(int block) const {
        return image_->Trailer(v03::kUnpackedSize + 4 * static_cast<std::size_t>(block));
    }

    bool Fail(const char* message) {
        CopyField(db_->message, sizeof db_->message, message);
        return false;
    }
    bool FailWithFile(const char* format) {
        FormatFileMessage(db_, format, file_);
        return false;
    }

    std::uint64_t Need() const;
    bool FitsInMemory();
    bool FitsTheFile();
    bool BoundsHold(int block) const;
    void Prepare(int block, std::size_t room, std::size_t at);
    void InflateAhead();
    bool FailMismatch(int block);
    bool Unpack(int block, Block* out);
    bool UnpackInto(int block, std::uint8_t* out);
    bool InflateBlock(int block, std::uint8_t* out, bool* exact);
    bool LoadTexts(int list);
    bool LoadLinks(int list);
    bool LoadCounts(int list);
    void StartMirrorCheck();
    bool CheckLinksMirror();
    bool LoadTables();

    DB_CONTEXT* db_;
    const char* file_;
    const v03::Image* image_;
    Inflation ahead_[6];
    Block nodes_ahead_[2];                    // the node blocks the texts are cut into ahead
    bool nodes_lacking_[2] = {false, false};  // their allocation failed
    // The mirror check of the stored links, run beside the building of the
    // nodes; its verdict counts at its own turn.
    enum class Mirror { kUnchecked, kHolds, kBroken };
    std::thread mirror_thread_;
    Mirror mirror_ = Mirror::kUnchecked;
    MirrorScratch mirror_scratch_;

public:
    ~Loader() {
        if (mirror_thread_.joinable()) mirror_thread_.join();
    }
};

// The memory the header's counts ask for: texts, nodes, links and counts of
// both lists, and the check that the links mirror each other.
std::uint64_t Loader::Need() const {
    std::uint64_t need = 0;
    for (int list = 0; list < 2; ++list) {
        const std::uint64_t words = WordCount(list);
        const std::uint64_t links = LinkCount(list);
        need += TextBytes(list) + (words + 1) * sizeof(WordNode) + (links + 1) * sizeof(TransLink) +
                2 * words;
    }
    return need + 4 * std::uint64_t{LinkCount(1)} + 4 * (std::uint64_t{WordCount(0)} + 1) +
           4 * 0xFFFF;
}

// Whether the memory the header's counts ask for can be had at all. A small
// file may claim many millions of words (one-letter words compress 1000 to 1);
// such a load fails at once instead of after taking gigabytes.
bool Loader::FitsInMemory() {
    return Need() <= MemoryCeiling() ? true : Fail(msg::kMemoryErrorSpaced);
}

// Whether what the counts ask for is a dictionary this file can hold; see
// kLoadBytesPerFileByte.
bool Loader::FitsTheFile() {
    const std::uint64_t allowed = kLoadRoomOfEveryFile + kLoadBytesPerFileByte * image_->size();
    if (Need() <= allowed) return true;
    // A block that claims more than deflate can give says so, as its own
    // step would.
    for (std::size_t b = 0; b < v03::kBlockCount; ++b) {
        const std::uint64_t packed = image_->Trailer(v03::kPackedSize + 4 * b);
        if (UnpackedSize(static_cast<int>(b)) > packed * kMaxExpansion) {
            return Fail(msg::kUncompressError);
        }
    }
    return Fail(msg::kDamagedDatabase);
}

// Whether block `block`'s packed bytes lie in the file and its unpacked size
// is one deflate can yield from them.
bool Loader::BoundsHold(int block) const {
    const auto b = static_cast<std::size_t>(block);
    const std::uint64_t offset = image_->Trailer(v03::kBlockOffset + 4 * b);
    const std::uint64_t packed = image_->Trailer(v03::kPackedSize + 4 * b);
    const std::uint64_t size = UnpackedSize(block);
    return size > 0 && offset <= image_->size() && packed <= image_->size() - offset &&
           size <= packed * kMaxExpansion;
}

// Sets block `block` up to be inflated into a new allocation of `room` bytes
// (in the arena for a block of links), at `at`. A failed allocation is
// reported when the block's turn comes.
void Loader::Prepare(int block, std::size_t room, std::size_t at) {
    Inflation& job = ahead_[block];
    if (!BoundsHold(block)) return;  // the step itself reports why
    job.buffer.reset(
        static_cast<std::uint8_t*>(block >= 4 ? v03::AllocateInArena(room) : v03::Allocate(room)));
    if (job.buffer == nullptr) {
        job.state = Inflation::kNoMemory;
        return;
    }
    const auto b = static_cast<std::size_t>(block);
    job.in = image_->file.data() + image_->Trailer(v03::kBlockOffset + 4 * b);
    job.packed = image_->Trailer(v03::kPackedSize + 4 * b);
    job.size = UnpackedSize(block);
    job.out = job.buffer.get() + at;
}

// Inflates every block whose recorded size agrees with the header, all at
// once. The steps that follow take the results in the order they always had,
// so that a damaged file fails with the message it always failed with.
void Loader::InflateAhead() {
    for (int list = 0; list < 2; ++list) {
        const std::uint32_t bytes = TextBytes(list);
        const std::uint32_t words = WordCount(list);
        if (UnpackedSize(list) == bytes && words > 0 && words <= bytes / 2) {
            Prepare(list, bytes, 0);
            if (ahead_[list].out != nullptr) {
                nodes_ahead_[list].reset(static_cast<std::uint8_t*>(
                    v03::AllocateInArena((std::size_t{words} + 1) * sizeof(WordNode))));
                nodes_lacking_[list] = nodes_ahead_[list] == nullptr;
                ahead_[list].nodes = reinterpret_cast<WordNode*>(nodes_ahead_[list].get());
                ahead_[list].words = words;
            }
        }
        const std::uint32_t links = LinkCount(list);
        if (links > 0 && UnpackedSize(4 + list) == std::uint64_t{links} * 4) {
            const std::size_t room = (std::size_t{links} + 1) * sizeof(TransLink);
            Prepare(4 + list, room, room - 4 * std::size_t{links});
        }
        if (words > 0 && UnpackedSize(2 + list) == std::uint64_t{words} * 2) {
            Prepare(2 + list, std::size_t{words} * 2, 0);
        }
    }
    InflateAll(image_->file, ahead_, 6);
}

// The block's recorded size disagrees with what the header's counts make of
// it. A stream that does not yield its recorded size fails as its
// decompression would; one that does is a damaged header.
bool Loader::FailMismatch(int block) {
    const auto b = static_cast<std::size_t>(block);
    if (UnpackedSize(block) == 0 || image_->Trailer(v03::kBlockOffset + 4 * b) == 0) {
        return Fail(msg::kDamagedDatabase);
    }
    bool exact = false;
    if (!InflateBlock(block, nullptr, &exact)) return false;
    return Fail(exact ? msg::kDamagedDatabase : msg::kUncompressError);
}

// Decompresses block `block` (0 to 5), whose size the caller has checked and
// found non-zero, into a new allocation.
bool Loader::Unpack(int block, Block* out) {
    Inflation& job = ahead_[block];
    switch (job.state) {
        case Inflation::kNotRun:
            break;
        case Inflation::kDone:
            *out = std::move(job.buffer);
            return true;
        case Inflation::kBadStream:
            return Fail(msg::kUncompressError);
        case Inflation::kUnreadable:
            return FailWithFile(msg::kFileCantMap);
        case Inflation::kNoMemory:
            return Fail(msg::kMemoryErrorSpaced);
    }
    out->reset(static_cast<std::uint8_t*>(v03::Allocate(UnpackedSize(block))));
    if (*out == nullptr) return Fail(msg::kMemoryErrorSpaced);
    return UnpackInto(block, out->get());
}

// The same into `out`, which has room for the block's unpacked size.
bool Loader::UnpackInto(int block, std::uint8_t* out) {
    bool exact = false;
    if (!InflateBlock(block, out, &exact)) return false;
    // The stream must end exactly at the recorded size.
    return exact || Fail(msg::kUncompressError);
}

// Inflates block `block` under the mapping's guard: into `out`, which has
// room for the block's unpacked size, or, when `out` is null, only to count
// what it yields. Fails, with the message set, when the block lies outside
// the file, claims more than deflate can give or is no longer in the file;
// otherwise *exact says whether the stream ended at exactly the recorded size.
bool Loader::InflateBlock(int block, std::uint8_t* out, bool* exact) {
    const auto b = static_cast<std::size_t>(block);
    const std::uint64_t offset = image_->Trailer(v03::kBlockOffset + 4 * b);
    const std::uint64_t packed = image_->Trailer(v03::kPackedSize + 4 * b);
    const std::uint64_t size = UnpackedSize(block);
    if (packed > image_->size() - offset) return FailWithFile(msg::kFileInvalidFormat);
    if (size > packed * kMaxExpansion) return Fail(msg::kUncompressError);

    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return Fail(msg::kMemoryErrorSpaced);
    stream.next_in = const_cast<Bytef*>(image_->file.data() + offset);
    stream.avail_in = static_cast<uInt>(packed);
    int result = Z_OK;
    bool readable = false;
    if (out != nullptr) {
        stream.next_out = out;
        stream.avail_out = static_cast<uInt>(size);
        InflateJob job{&stream, Z_OK};
        readable = image_->file.Guarded(RunInflate, &job);
        result = job.result;
    } else {
        CountJob job{&stream, size, Z_OK};
        readable = image_->file.Guarded(RunCount, &job);
        result = job.result;
    }
    const uLong produced = stream.total_out;
    inflateEnd(&stream);
    if (!readable) return FailWithFile(msg::kFileCantMap);
    *exact = result == Z_STREAM_END && produced == size;
    return true;
}

// Block 1 or 2: the texts, cut at every NUL into the nodes of the list.
bool Loader::LoadTexts(int list) {
    WordList* const words = &db_->lists[list];
    const std::uint32_t bytes = TextBytes(list);
    const std::uint32_t count = WordCount(list);
    if (UnpackedSize(list) != bytes) return FailMismatch(list);
    if (bytes == 0 || count == 0) {
        return bytes == 0 && count == 0 ? true : Fail(msg::kDamagedDatabase);
    }
    // Every word takes at least two bytes: one of text and its NUL.
    if (count > bytes / 2) return Fail(msg::kDamagedDatabase);
    const Inflation& ahead = ahead_[list];
    Block texts;
    if (!Unpack(list, &texts)) return false;
    if (texts.get()[bytes - 1] != '\0') return Fail(msg::kDamagedDatabase);
    words->text_block = reinterpret_cast<char*>(texts.release());
    if (nodes_lacking_[list]) return Fail(msg::kMemoryErrorSpaced);
    if (nodes_ahead_[list] == nullptr) {
        nodes_ahead_[list].reset(static_cast<std::uint8_t*>(
            v03::AllocateInArena((std::size_t{count} + 1) * sizeof(WordNode))));
        if (nodes_ahead_[list] == nullptr) return Fail(msg::kMemoryErrorSpaced);
    }
    auto* const nodes = reinterpret_cast<WordNode*>(nodes_ahead_[list].release());
    words->node_block = nodes;
    words->node_block_count = count;
    // Cut while the other blocks inflated, or else now.
    const bool cut = ahead.cut && ahead.nodes == nodes
                         ? ahead.cut_ok
                         : CutTexts(words->text_block, bytes, count, nodes);
    return cut ? true : Fail(msg::kDamagedDatabase);
}

// Block 5 or 6: every link of the list, chained one after the other; the
// counts cut the chain into the words' own chains later.
bool Loader::LoadLinks(int list) {
    WordList* const words = &db_->lists[list];
    const std::uint32_t count = LinkCount(list);
    const int block = 4 + list;
    if (UnpackedSize(block) != std::uint64_t{count} * 4) return FailMismatch(block);
    if (count == 0) return true;
    const std::size_t room = (std::size_t{count} + 1) * sizeof(TransLink);
    // The positions, four bytes a link, are unpacked into the end of the link
    // block and turned into links from the front: link i ends before position
    // i + 1 begins, and position i is read before link i is written.
    Block block_bytes;
    if (ahead_[block].state != Inflation::kNotRun) {
        if (!Unpack(block, &block_bytes)) return false;
    } else {
        block_bytes.reset(static_cast<std::uint8_t*>(v03::AllocateInArena(room)));
        if (block_bytes == nullptr) return Fail(msg::kMemoryErrorSpaced);
    }
    auto* links = reinterpret_cast<TransLink*>(block_bytes.get());
    words->link_block = reinterpret_cast<TransLink*>(block_bytes.release());
    words->link_block_count = count;
    const std::uint8_t* const positions =
        reinterpret_cast<std::uint8_t*>(links) + room - 4 * std::size_t{count};
    if (ahead_[block].state == Inflation::kNotRun &&
        !UnpackInto(block, const_cast<std::uint8_t*>(positions))) {
        return false;
    }
    WordNode* const targets = db_->lists[1 - list].node_block;
    const std::uint32_t target_count = WordCount(1 - list);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t position = GetU32(positions + 4 * std::size_t{i});
        if (position >= target_count) return Fail(msg::kDamagedDatabase);
        links[i] = TransLink{&links[i + 1], &targets[position]};
    }
    links[count - 1].next = nullptr;
    return true;
}

// Block 3 or 4: each word's number of links. They must add up to exactly the
// links loaded, so that every word's chain ends where the next one begins.
bool Loader::LoadCounts(int list) {
    WordList* const words = &db_->lists[list];
    const std::uint32_t count = WordCount(list);
    const std::uint32_t links = LinkCount(list);
    const int block = 2 + list;
    const std::uint32_t size = UnpackedSize(block);
    if (size == 0) return links == 0 ? true : Fail(msg::kDamagedDatabase);
    if (size != std::uint64_t{count} * 2) return FailMismatch(block);
    Block counts;
    if (!Unpack(block, &counts)) return false;
    std::uint32_t k = 0;
    for (std::uint32_t w = 0; w < count; ++w) {
        const std::uint16_t c = GetU16(counts.get() + 2 * std::size_t{w});
        if (c == 0) continue;
        if (c > links - k) return Fail(msg::kDamagedDatabase);
        words->node_block[w].links = &words->link_block[k];
        k += c;
        words->link_block[k - 1].next = nullptr;
    }
    if (k != links) return Fail(msg::kDamagedDatabase);
    return true;
}

// Checks the stored links on another thread while the texts are cut into
// nodes, when all four blocks of links were inflated ahead; the links are
// built from the positions in place, so the check is over before that begins.
void Loader::StartMirrorCheck() {
    for (int block = 2; block < 6; ++block) {
        if (ahead_[block].state != Inflation::kDone) return;
    }
    if (LinkCount(0) == 0 || LinkCount(0) != LinkCount(1)) return;
    if (!mirror_scratch_.Allocate(LinkCount(0), WordCount(0))) return;  // failed at its turn
    const StoredLinks primary{ahead_[2].out, ahead_[4].out, WordCount(0), LinkCount(0)};
    const StoredLinks secondary{ahead_[3].out, ahead_[5].out, WordCount(1), LinkCount(1)};
    auto check = [this, primary, secondary] {
        mirror_ = StoredLinksMirror(primary, secondary, &mirror_scratch_) ? Mirror::kHolds
                                                                          : Mirror::kBroken;
    };
    try {
        mirror_thread_ = std::thread(check);
    } catch (const std::system_error&) {
        check();
    }
}

// Every translation is two links, one each way. A file whose links do not
// mirror each other is refused: a link without its partner would keep
// pointing at a word that an edit may later free. The check ran on the stored
// blocks, from which the links were then built as they are; the blocks of
// links that got this far were all inflated ahead, so an unchecked file is
// one whose check found no memory.
bool Loader::CheckLinksMirror() {
    if (LinkCount(1) != LinkCount(0)) return Fail(msg::kDamagedDatabase);
    if (LinkCount(0) == 0) return true;
    switch (mirror_) {
        case Mirror::kHolds:
            return true;
        case Mirror::kBroken:
            return Fail(msg::kDamagedDatabase);
        case Mirror::kUnchecked:
            break;
    }
    return Fail(msg::kMemoryErrorSpaced);
}

bool Loader::LoadTables() {
    for (int list = 0; list < 2; ++list) {
        WordList* const words = &db_->lists[list];
        std::uint8_t* const tables[4] = {words->upper_table, words->lower_table,
                                         words->accent_free_table, words->accent_free_upper_table};
        for (int kind = 0; kind < 4; ++kind) {
            const std::uint64_t offset = image_->TableOffset(list, kind);
            if (offset > image_->size() - v03::kTableSize) {
                return FailWithFile(msg::kFileInvalidFormat);
            }
            if (!image_->file.Read(offset, tables[kind], v03::kTableSize)) {
                return FailWithFile(msg::kFileCantMap);
            }
        }
    }
    return true;
}

bool Loader::Run() {
    if (!FitsInMemory() || !FitsTheFile()) return false;
    InflateAhead();
    StartMirrorCheck();
    SetProgress(db_, 15);
    if (!LoadTexts(0)) return false;
    SetProgress(db_, 45);
    if (!LoadTexts(1)) return false;
    // The prefix indexes need the words alone: they are built while the
    // links are checked.
    for (int list = 0; list < 2; ++list) {
        WordList* const words = &db_->lists[list];
        words->word_count = WordCount(list);
        words->text_bytes = TextBytes(list);
        if (words->word_count > 0) {
            words->head = &words->node_block[0];
            words->tail = &words->node_block[words->word_count - 1];
        }
        RebuildIndex(words);
    }
    if (mirror_thread_.joinable()) mirror_thread_.join();
    SetProgress(db_, 75);
    if (!LoadLinks(0)) return false;
    SetProgress(db_, 77);
    if (!LoadLinks(1)) return false;
    SetProgress(db_, 80);
    if (!LoadCounts(0)) return false;
    SetProgress(db_, 85);
    if (!LoadCounts(1)) return false;
    if (!CheckLinksMirror()) return false;

    SetProgress(db_, 90);
    if (!LoadTables()) return false;
    // The regex tables classify bytes in the code page of the list's locale.
    for (int list = 0; list < 2; ++list) {
        db_->lists[list].locale = image_->Header(v03::kLocale + 4 * list);
        db_->lists[list].charset = image_->Header(v03::kCharset + 4 * list);
    }
    if (!BuildRegexTables(&db_->lists[0])) return Fail(msg::kMemoryErrorSpaced);
    SetProgress(db_, 92);
    if (!BuildRegexTables(&db_->lists[1])) return Fail(msg::kMemoryErrorSpaced);
    // A file that shrank or grew while it was read is not the file validated.
    if (!image_->file.SizeUnchanged()) return FailWithFile(msg::kFileCantMap);

    for (int list = 0; list < 2; ++list) db_->lists[list].translation_count = LinkCount(list);
    v03::CopyDescription(image_->header, db_);

    SetProgress(db_, 96);
    SetProgress(db_, 98);
    return true;
}

}  // namespace

void SetV03MemoryCeilingForTesting(std::uint64_t bytes) { tls_memory_ceiling = bytes; }

bool LoadV03(DB_CONTEXT* db, const char* file) {
    bool loaded = false;
    {
        v03::Image image;
        if (!v03::OpenImage(db, file, v03::Purpose::kLoad, &image)) return false;
        loaded = Loader(db, file, &image).Run();
    }  // the file is unmapped and closed here, on every path
    if (!loaded) {
        FreeListContents(&db->lists[0]);
        FreeListContents(&db->lists[1]);
    }
    return loaded;
}

}  // namespace lexbase
