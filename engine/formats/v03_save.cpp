// Saving a V03 file. The file is written under a temporary name of its own,
// flushed and then renamed over the destination, with the destination locked
// against other writers meanwhile, so a failure at any step leaves the old
// file as it was and two saves at once never mix. What the edits left alone is written straight
// from memory: the loaded text block while no text moved, the link block while no link changed, and
// link targets become positions by their index in the other list's node block while its nodes stay
// where they were loaded; only after nodes moved is a table of node addresses sorted and searched
// by halving.
//
// The blocks are compressed side by side, on one thread per core: each is
// handed over as soon as its bytes are ready, so the next one is put
// together while the earlier ones compress. They are written in their order
// once all are compressed; a failure is reported as the first failing step
// in that order, as if the blocks had been done one after the other.
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/formats/replacement.h"
#include "engine/formats/v03_file.h"
#include "engine/formats/v03_image.h"
#include "engine/messages.h"
#include "engine/result.h"
#include "platform/file_writer.h"

namespace lexbase {
namespace {

using v03::PutU16;
using v03::PutU32;
using Block = std::unique_ptr<std::uint8_t, v03::FreeDeleter>;

// Where a node allocated by an edit stands in its list.
struct NodePosition {
    std::uintptr_t address;
    std::uint32_t position;
};

// Positions of the words of one list, by node address. While the list's nodes
// are where they were loaded, a node's position is its index in the node
// block. After edits, the nodes still in the block find theirs in an array
// parallel to the block, and the few made by edits in a sorted table.
class PositionFinder {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    // Prepares the lookups in `list`. Returns null, or the message of the
    // failure: memory ran out, or the list's nodes are not what its count says.
    const char* Build(const WordList& list) {
        list_ = &list;
        if (!list.nodes_moved) return nullptr;
        const std::uint32_t block_count = list.node_block != nullptr ? list.node_block_count : 0;
        in_block_.reset(static_cast<std::uint32_t*>(
            v03::Allocate(std::size_t{block_count} * sizeof(std::uint32_t))));
        if (in_block_ == nullptr) return msg::kMemoryErrorSpaced;
        std::fill(in_block_.get(), in_block_.get() + block_count, kNone);
        std::uint32_t n = 0;
        std::uint32_t alone = 0;
        for (const WordNode* node = list.head; node != nullptr; node = node->next, ++n) {
            if (n == list.word_count) return msg::kDatabaseIsDamaged;
            std::uint32_t index = 0;
            if (InBlock(node, &index)) {
                in_block_.get()[index] = n;
            } else {
                ++alone;
            }
        }
        if (n != list.word_count) return msg::kDatabaseIsDamaged;
        alone_.reset(
            static_cast<NodePosition*>(v03::Allocate(std::size_t{alone} * sizeof(NodePosition))));
        if (alone_ == nullptr) return msg::kMemoryErrorSpaced;
        n = 0;
        alone_count_ = 0;
        for (const WordNode* node = list.head; node != nullptr; node = node->next, ++n) {
            std::uint32_t index = 0;
            if (!InBlock(node, &index) && alone_count_ < alone) {
                alone_.get()[alone_count_++] =
                    NodePosition{reinterpret_cast<std::uintptr_t>(node), n};
            }
        }
        std::sort(
            alone_.get(), alone_.get() + alone_count_,
            [](const NodePosition& a, const NodePosition& b) { return a.address < b.address; });
        return nullptr;
    }

    // The position of `node` in the list; false when it is not one of its words.
    bool Find(const WordNode* node, std::uint32_t* position) const {
        std::uint32_t index = 0;
        if (!list_->nodes_moved) {
            // Untouched nodes are the node block in list order.
            if (!InBlock(node, &index) || index >= list_->word_count) return false;
            *position = index;
            return true;
        }
        if (InBlock(node, &index)) {
            if (in_block_.get()[index] == kNone) return false;  // removed from the list
            *position = in_block_.get()[index];
            return true;
        }
        const auto address = reinterpret_cast<std::uintptr_t>(node);
        const NodePosition* begin = alone_.get();
        const NodePosition* end = begin + alone_count_;
        const NodePosition* found =
            std::lower_bound(begin, end, address,
                             [](const NodePosition& a, std::uintptr_t b) { return a.address < b; });
        if (found == end || found->address != address) return false;
        *position = found->position;
        return true;
    }

private:
    // Whether `node` is an element of the node block, and which.
    bool InBlock(const WordNode* node, std::uint32_t* index) const {
        if (list_->node_block == nullptr) return false;
        const auto address = reinterpret_cast<std::uintptr_t>(node);
        const auto first = reinterpret_cast<std::uintptr_t>(list_->node_block);
        if (address < first) return false;
        const std::uintptr_t offset = address - first;
        if (offset % sizeof(WordNode) != 0) return false;
        const std::uintptr_t i = offset / sizeof(WordNode);
        // Before any edit the block holds exactly the words of the list.
        const std::uint32_t count =
            list_->nodes_moved ? list_->node_block_count : list_->word_count;
        if (i >= count) return false;
        *index = static_cast<std::uint32_t>(i);
        return true;
    }

    const WordList* list_ = nullptr;
    std::unique_ptr<std::uint32_t, v03::FreeDeleter> in_block_;
    std::unique_ptr<NodePosition, v03::FreeDeleter> alone_;
    std::uint32_t alone_count_ = 0;
};

// One block on its way into the file: its bytes, kept alive here when they
// were put together for the save, and the room its compressed form goes to.
struct PackedBlock {
    int block = 0;
    const std::uint8_t* data = nullptr;
    std::uint64_t size = 0;
    Block owned;
    Block packed;
    uLongf packed_size = 0;
    int result = Z_OK;
    const char* write_failure = nullptr;
};

// Compresses the blocks handed to it on helper threads, one per core beyond
// the caller's; Finish() has the caller join in and waits for the rest.
class ParallelCompressor {
public:
    ParallelCompressor() { jobs_.reserve(v03::kBlockCount); }
    ParallelCompressor(const ParallelCompressor&) = delete;
    ParallelCompressor& operator=(const ParallelCompressor&) = delete;
    ~ParallelCompressor() { Finish(); }

    // Queues `job`, whose buffers are ready; the first one starts the helpers.
    void Add(PackedBlock job) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            jobs_.push_back(std::move(job));
        }
        wake_.notify_one();
        if (!started_) Start();
    }

    // Compresses what is left on this thread too, and waits for the helpers.
    // The jobs in the order they were added.
    std::vector<PackedBlock>& Finish() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closed_ = true;
        }
        wake_.notify_all();
        Work();
        for (std::thread& helper : helpers_) helper.join();
        helpers_.clear();
        return jobs_;
    }

private:
    void Start() {
        started_ = true;
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const unsigned wanted = std::min<unsigned>(cores, v03::kBlockCount) - 1;
        for (unsigned t = 0; t < wanted; ++t) {
            try {
                helpers_.emplace_back([this] { Work(); });
            } catch (const std::system_error&) {
                break;  // no more threads to be had: fewer do the work
            }
        }
    }

    // Takes the next job not taken yet; waits for one while more may come.
    void Work() {
        for (;;) {
            PackedBlock* job = nullptr;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return taken_ < jobs_.size() || closed_; });
                if (taken_ == jobs_.size()) return;
                job = &jobs_[taken_++];
            }
            job->result = compress2(job->packed.get(), &job->packed_size, job->data,
                                    static_cast<uLong>(job->size), v03::kCompressionLevel);
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<PackedBlock> jobs_;  // never grows past its reserve: no job moves
    std::size_t taken_ = 0;
    bool closed_ = false;
    bool started_ = false;
    std::vector<std::thread> helpers_;
};

class Saver {
public:
    Saver(DB_CONTEXT* db, const char* file) : db_(db), file_(file) {}
    Saver(const Saver&) = delete;
    Saver& operator=(const Saver&) = delete;

    bool Run();

private:
    bool Fail(const char* message) {
        CopyField(db_->message, sizeof db_->message, message);
        return false;
    }
    bool FailWithFile(const char* format, const char* name) {
        FormatFileMessage(db_, format, name);
        return false;
    }

    bool Write(const void* data, std::size_t size, const char* failure);
    bool WriteBlock(int block, const std::uint8_t* data, std::uint64_t size, const char* failure,
                    Block owned = nullptr);
    bool Prepare();
    bool WritePacked();
    bool WriteTexts(int list);
    bool WriteCounts(int list);
    bool WriteTargets(int list);
    bool WriteTablesAndTrailer();
    void BuildHeader(std::uint8_t* header) const;

    DB_CONTEXT* db_;
    const char* file_;
    platform::FileWriter out_;
    std::uint64_t offset_ = 0;  // running file offset
    std::uint32_t crc_ = 0;     // running CRC-32 of everything written
    std::uint8_t trailer_[v03::kTrailerSize] = {};
    ParallelCompressor compressor_;
};

// Appends bytes to the file and to the CRC. The trailer holds 32-bit offsets,
// which bound the file's size.
bool Saver::Write(const void* data, std::size_t size, const char* failure) {
    if (size > UINT32_MAX - v03::kTrailerSize - v03::kCrcSize - offset_ ||
        !out_.Write(data, size)) {
        return FailWithFile(failure, file_);
    }
    // The same CRC-32 as zlib's, several times faster.
    crc_ = libdeflate_crc32(crc_, data, size);
    offset_ += size;
    return true;
}

// Hands block `block` to the compressor; `owned`, if any, holds `data`.
bool Saver::WriteBlock(int block, const std::uint8_t* data, std::uint64_t size, const char* failure,
                       Block owned) {
    if (size == 0) return true;  // absent: offset and sizes stay 0
    if (size > UINT32_MAX) return Fail(msg::kDatabaseIsDamaged);
    PackedBlock job;
    job.packed_size = compressBound(static_cast<uLong>(size));
    job.packed.reset(static_cast<std::uint8_t*>(v03::Allocate(job.packed_size)));
    if (job.packed == nullptr) return Fail(msg::kMemoryErrorSpaced);
    job.block = block;
    job.data = data;
    job.size = size;
    job.owned = std::move(owned);
    job.write_failure = failure;
    compressor_.Add(std::move(job));
    return true;
}

// Writes the compressed blocks in their order, each noted in the trailer.
bool Saver::WritePacked() {
    for (PackedBlock& job : compressor_.Finish()) {
        if (job.result != Z_OK) return Fail(msg::kCompressionError);
        const auto b = static_cast<std::size_t>(job.block);
        PutU32(trailer_ + v03::kBlockOffset + 4 * b, static_cast<std::uint32_t>(offset_));
        PutU32(trailer_ + v03::kPackedSize + 4 * b, static_cast<std::uint32_t>(job.packed_size));
        PutU32(trailer_ + v03::kUnpackedSize + 4 * b, static_cast<std::uint32_t>(job.size));
        if (!Write(job.packed.get(), job.packed_size, job.write_failure)) return false;
        job.packed.reset();
        job.owned.reset();
    }
    return true;
}

// Block 1 or 2: every word followed by its NUL, in list order.
bool Saver::WriteTexts(int list) {
    const WordList& words = db_->lists[list];
    const std::uint32_t bytes = words.text_bytes;
    if (bytes == 0) return true;
    if (!words.texts_moved && words.text_block != nullptr) {
        return WriteBlock(list, reinterpret_cast<const std::uint8_t*>(words.text_block), bytes,
                          msg::kFileCantWrite);
    }
    Block texts(static_cast<std::uint8_t*>(v03::Allocate(bytes)));
    if (texts == nullptr) return Fail(msg::kMemoryErrorSpaced);
    std::uint32_t used = 0;
    for (const WordNode* node = words.head; node != nullptr; node = node->next) {
        if (std::uint64_t{node->length} + 1 > bytes - used) return Fail(msg::kDatabaseIsDamaged);
        std::memcpy(texts.get() + used, node->text, node->length);
        texts.get()[used + node->length] = '\0';
        used += node->length + 1u;
    }
    if (used != bytes) return Fail(msg::kDatabaseIsDamaged);
    const std::uint8_t* const data = texts.get();
    return WriteBlock(list, data, bytes, msg::kFileCantWrite, std::move(texts));
}

// Block 3 or 4: each word's number of links, always counted afresh.
bool Saver::WriteCounts(int list) {
    const WordList& words = db_->lists[list];
    const std::uint64_t size = std::uint64_t{words.word_count} * 2;
    if (size == 0) return true;
    Block counts(static_cast<std::uint8_t*>(v03::Allocate(size)));
    if (counts == nullptr) return Fail(msg::kMemoryErrorSpaced);
    std::uint32_t n = 0;
    std::uint64_t links = 0;
    for (const WordNode* node = words.head; node != nullptr; node = node->next, ++n) {
        if (n == words.word_count) return Fail(msg::kDatabaseIsDamaged);
        std::uint32_t c = 0;
        for (const TransLink* link = node->links; link != nullptr; link = link->next) {
            // The file counts a word's links in 16 bits.
            if (++c > 0xFFFF) return Fail(msg::kTooManyTranslations);
        }
        PutU16(counts.get() + 2 * std::size_t{n}, static_cast<std::uint16_t>(c));
        links += c;
    }
    if (n != words.word_count || links != words.translation_count) {
        return Fail(msg::kDatabaseIsDamaged);
    }
    const std::uint8_t* const data = counts.get();
    return WriteBlock(2 + list, data, size, msg::kFileCantWriteCounts, std::move(counts));
}

// Block 5 or 6: the position in the other list of every link's target, in
// word order and chain order.
bool Saver::WriteTargets(int list) {
    const WordList& words = db_->lists[list];
    const std::uint32_t count = words.translation_count;
    if (count == 0) return true;
    PositionFinder finder;
    if (const char* failure = finder.Build(db_->lists[1 - list])) return Fail(failure);
    const std::uint64_t size = std::uint64_t{count} * 4;
    Block targets(static_cast<std::uint8_t*>(v03::Allocate(size)));
    if (targets == nullptr) return Fail(msg::kMemoryErrorSpaced);
    std::uint32_t written = 0;
    auto put = [&](const TransLink& link) {
        std::uint32_t position = 0;
        if (written == count || !finder.Find(link.target, &position)) return false;
        PutU32(targets.get() + 4 * std::size_t{written++}, position);
        return true;
    };
    if (!words.links_changed && words.link_block != nullptr) {
        for (std::uint32_t i = 0; i < count; ++i) {
            if (!put(words.link_block[i])) return Fail(msg::kDatabaseIsDamaged);
        }
    } else {
        for (const WordNode* node = words.head; node != nullptr; node = node->next) {
            for (const TransLink* link = node->links; link != nullptr; link = link->next) {
                if (!put(*link)) return Fail(msg::kDatabaseIsDamaged);
            }
        }
    }
    if (written != count) return Fail(msg::kDatabaseIsDamaged);
    const std::uint8_t* const data = targets.get();
    return WriteBlock(4 + list, data, size, msg::kFileCantWrite, std::move(targets));
}

bool Saver::WriteTablesAndTrailer() {
    SetProgress(db_, 95);
    for (int kind = 0; kind < 4; ++kind) {
        for (int list = 0; list < 2; ++list) {
            const WordList& words = db_->lists[list];
            const std::uint8_t* const tables[4] = {words.upper_table, words.lower_table,
                                                   words.accent_free_table,
                                                   words.accent_free_upper_table};
            PutU32(trailer_ + v03::kTableOffset + 16 * static_cast<std::size_t>(list) + 4 * kind,
                   static_cast<std::uint32_t>(offset_));
            if (!Write(tables[kind], v03::kTableSize, msg::kFileCantWrite)) return false;
        }
    }
    SetProgress(db_, 97);
    PutU32(trailer_ + v03::kTotalSize,
           static_cast<std::uint32_t>(offset_ + v03::kTrailerSize + v03::kCrcSize));
    std::memcpy(trailer_ + v03::kTrailerMagic, v03::kMagic, v03::kMagicSize);
    if (!Write(trailer_, sizeof trailer_, msg::kFileCantWrite)) return false;
    std::uint8_t crc[v03::kCrcSize];
    PutU32(crc, crc_);
    if (!out_.Write(crc, sizeof crc)) return FailWithFile(msg::kFileCantWrite, file_);
    return true;
}

void Saver::BuildHeader(std::uint8_t* header) const {
    std::memset(header, 0, v03::kHeaderSize);
    std::memcpy(header, v03::kMagic, v03::kMagicSize);
    // Only the text of each field, so the bytes after its NUL are always zero.
    auto put_text = [&](std::size_t offset, const char* field, std::size_t size) {
        std::memcpy(header + offset, field, strnlen(field, size - 1));
    };
    put_text(v03::kName, db_->name, kLongField);
    put_text(v03::kAuthor, db_->author, kLongField);
    put_text(v03::kDescription, db_->description, kLongField);
    put_text(v03::kListName, db_->primary_list_name, kShortField);
    put_text(v03::kListName + kShortField, db_->secondary_list_name, kShortField);
    for (int list = 0; list < 2; ++list) {
        const WordList& words = db_->lists[list];
        const auto at = static_cast<std::size_t>(list);
        PutU32(header + v03::kLocale + 4 * at, words.locale);
        PutU32(header + v03::kCharset + 4 * at, words.charset);
        PutU32(header + v03::kTextBytes + 8 * at, words.text_bytes);
        PutU32(header + v03::kWordCount + 8 * at, words.word_count);
        PutU32(header + v03::kTranslationCount + 4 * at, words.translation_count);
    }
}

// Puts the six blocks together in their order and hands each to the
// compressor; stops at the first failure.
bool Saver::Prepare() {
    SetProgress(db_, 15);
    if (!WriteTexts(0)) return false;
    SetProgress(db_, 45);
    if (!WriteTexts(1)) return false;
    SetProgress(db_, 75);
    if (!WriteCounts(0)) return false;
    SetProgress(db_, 80);
    if (!WriteCounts(1)) return false;
    SetProgress(db_, 85);
    if (!WriteTargets(0)) return false;
    SetProgress(db_, 90);
    return WriteTargets(1);
}

bool Saver::Run() {
    if (!StartReplacement(db_, &out_, file_, msg::kFileCantOpenForWriting)) return false;

    std::uint8_t header[v03::kHeaderSize];
    BuildHeader(header);
    if (!Write(header, sizeof header, msg::kFileCantWrite)) return false;
    // The blocks before a failed step are written first: a failure to write
    // one of them is what one after the other would have met first.
    const bool prepared = Prepare();
    if (!WritePacked() || !prepared) return false;  // a written block leaves the message be
    if (!WriteTablesAndTrailer()) return false;

    return FinishReplacement(db_, &out_, file_, msg::kFileCantWrite, msg::kFileCantCopy);
}

}  // namespace

bool SaveV03(DB_CONTEXT* db, const char* file) {
    // A failure leaves the temporary file to the writer, which deletes it.
    return Saver(db, file).Run();
}

}  // namespace lexbase
