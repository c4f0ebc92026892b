// The V03 load and save of the English-German dictionary against zlib alone
// on the same six blocks: uncompressing them for the load, compressing them
// at the file's level for the save. Also the resident memory a load adds,
// against what the data needs at least: the texts, 24 bytes per word, 16 per
// link and the two prefix indexes.
#include <malloc.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_common.h"
#include "engine/context.h"
#include "engine/lexbase.h"

namespace {

using bench::Clock;
using bench::Seconds;

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

// The blocks of a file: where each lies and how large it is unpacked.
struct BlockSpan {
    std::uint32_t offset, packed, size;
};

std::vector<BlockSpan> BlocksOf(const std::string& file) {
    const std::size_t trailer = file.size() - 132;
    std::vector<BlockSpan> blocks;
    for (int b = 0; b < 6; ++b) {
        const BlockSpan span{U32(file, trailer + 4 * b), U32(file, trailer + 24 + 4 * b),
                             U32(file, trailer + 48 + 4 * b)};
        if (span.size > 0) blocks.push_back(span);
    }
    return blocks;
}

// The file in memory and its blocks unpacked, made once.
struct Blocks {
    std::string file;
    std::vector<BlockSpan> spans;
    std::vector<std::string> unpacked;
};

const Blocks& FileBlocks() {
    static const Blocks blocks = [] {
        Blocks b;
        b.file = bench::ReadWholeFile(bench::DictionaryFile());
        b.spans = BlocksOf(b.file);
        for (const BlockSpan& span : b.spans) {
            std::string out(span.size, '\0');
            uLongf size = span.size;
            uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                       reinterpret_cast<const Bytef*>(b.file.data()) + span.offset, span.packed);
            b.unpacked.push_back(std::move(out));
        }
        return b;
    }();
    return blocks;
}

// Uncompressing every block into a new allocation of its size.
double UncompressBlocks() {
    const Blocks& blocks = FileBlocks();
    const auto start = Clock::now();
    for (const BlockSpan& span : blocks.spans) {
        auto* out = static_cast<Bytef*>(std::malloc(span.size));
        uLongf size = span.size;
        uncompress(out, &size, reinterpret_cast<const Bytef*>(blocks.file.data()) + span.offset,
                   span.packed);
        benchmark::DoNotOptimize(out);
        std::free(out);
    }
    return Seconds(start);
}

// Compressing every block at level 4 into a new allocation.
double CompressBlocks() {
    const Blocks& blocks = FileBlocks();
    const auto start = Clock::now();
    for (const std::string& block : blocks.unpacked) {
        uLongf size = compressBound(block.size());
        auto* out = static_cast<Bytef*>(std::malloc(size));
        compress2(out, &size, reinterpret_cast<const Bytef*>(block.data()), block.size(), 4);
        benchmark::DoNotOptimize(out);
        std::free(out);
    }
    return Seconds(start);
}

void BM_V03Load(benchmark::State& state) {
    const std::string& path = bench::DictionaryFile();
    DB_HANDLE db = DB_CreateHandle()->handle;
    bench::MeasureRatio(
        state, "V03 load", 1.0,
        [&] {
            const auto start = Clock::now();
            if (DB_Load(db, DB_FORMAT_V03_LOAD, path.c_str(), 0, 0)->status != 1) std::abort();
            const double t = Seconds(start);
            DB_Close(db);
            return t;
        },
        UncompressBlocks);
    DB_DestroyHandle(db);
}
BENCHMARK(BM_V03Load)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(7);

// Saves the loaded dictionary; with `edited`, after one word of each list was
// renamed and one translation added, which makes the save rebuild the blocks
// from the lists.
void SaveLoaded(benchmark::State& state, bool edited) {
    const std::string out = bench::ScratchFolder() + "/lexbase_bench_save.v03";
    DB_HANDLE db = DB_CreateHandle()->handle;
    if (DB_Load(db, DB_FORMAT_V03_LOAD, bench::DictionaryFile().c_str(), 0, 0)->status != 1) {
        std::abort();
    }
    if (edited) {
        DB_ChangeWord(db, 1, db->lists[0].head->text, "zzzz benchmark");
        DB_ChangeWord(db, 2, db->lists[1].head->text, "zzzz benchmark");
        DB_AddTranslation(db, 1, "house", "Benchmarkhaus");
    }
    bench::MeasureRatio(
        state, edited ? "V03 save after edits" : "V03 save, unchanged", 1.0,
        [&] {
            const auto start = Clock::now();
            if (DB_Save(db, DB_FORMAT_V03_SAVE, out.c_str())->status != 1) {
                std::abort();
            }
            return Seconds(start);
        },
        CompressBlocks);
    DB_DestroyHandle(db);
    std::remove(out.c_str());
}

void BM_V03SaveUnchanged(benchmark::State& state) { SaveLoaded(state, false); }
BENCHMARK(BM_V03SaveUnchanged)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_V03SaveAfterEdits(benchmark::State& state) { SaveLoaded(state, true); }
BENCHMARK(BM_V03SaveAfterEdits)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// Resident growth of one load against the least the data needs; then with
// the hash indexes that enough translations in both directions build.
void BM_MemoryAfterLoad(benchmark::State& state) {
    double grown = 0, needed = 0, indexed = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const std::uint64_t before = bench::ResidentBytes();
        DB_HANDLE db = DB_CreateHandle()->handle;
        if (DB_Load(db, DB_FORMAT_V03_LOAD, bench::DictionaryFile().c_str(), 0, 0)->status != 1) {
            std::abort();
        }
        malloc_trim(0);
        grown = static_cast<double>(bench::ResidentBytes() - before);
        DICTIONARY_INFO info{};
        DB_GetDictionaryInfo(db, &info);
        const char* out[64];
        for (int i = 0; i < 1000; ++i) {
            DB_Translate(db, DB_TRANS_PRIMARY_TO_SECONDARY, "house", 1, 0, out, 64);
            DB_Translate(db, DB_TRANS_SECONDARY_TO_PRIMARY, "Haus", 1, 0, out, 64);
        }
        malloc_trim(0);
        indexed = static_cast<double>(bench::ResidentBytes() - before);
        const double words =
            static_cast<double>(info.primary_word_count) + info.secondary_word_count;
        const double links =
            static_cast<double>(info.primary_translation_count) + info.secondary_translation_count;
        needed = static_cast<double>(db->lists[0].text_bytes) + db->lists[1].text_bytes +
                 24 * words + 16 * links + 2 * sizeof db->lists[0].bucket_index;
        DB_DestroyHandle(db);
    }
    state.counters["resident_MB"] = grown / 1e6;
    state.counters["needed_MB"] = needed / 1e6;
    state.counters["ratio"] = grown / needed;
    state.counters["with_indexes_MB"] = indexed / 1e6;
    bench::RecordRatio("memory after load", grown / 1e6, needed / 1e6, 1.2, "MB");
    bench::RecordRatio("  the same with both translation indexes", indexed / 1e6, needed / 1e6, 1.2,
                       "MB");
}
BENCHMARK(BM_MemoryAfterLoad)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
