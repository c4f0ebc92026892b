// Speed of the V03 load and save on a generated dictionary. The baselines are
// zlib alone on the same blocks: uncompressing them for the load, compressing
// them for the save. Both should stay a small multiple of their baseline; the
// save after a change adds one sort of node addresses per list.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/context.h"
#include "engine/lexbase.h"

namespace {

// A word of 3 to 12 letters made from `n`.
std::string Word(std::uint32_t n) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz\xE4\xE8\xE9\xF6";
    std::string word;
    std::uint32_t x = n * 2654435761u + 12345;
    const std::size_t length = 3 + x % 10;
    for (std::size_t i = 0; i < length; ++i) {
        x = x * 1103515245u + 12345;
        word += kLetters[(x >> 16) % (sizeof kLetters - 1)];
    }
    return word;
}

// Files in memory where there is such a folder: a save flushes its file.
std::string Folder() {
    struct stat status {};
    return ::stat("/dev/shm", &status) == 0 && S_ISDIR(status.st_mode) ? "/dev/shm/" : "/tmp/";
}

// A dictionary of `pairs` translations, about three per primary word, saved
// as a V03 file whose path it returns.
std::string MakeFile(std::int64_t pairs) {
    std::string text;
    for (std::int64_t i = 0; i < pairs; ++i) {
        text += Word(static_cast<std::uint32_t>(i / 3)) + '\t' +
                Word(static_cast<std::uint32_t>(i * 7 + 1000003)) + "\r\n";
    }
    const std::string path = Folder() + "v03_file_bench_" + std::to_string(::getpid()) + "_" +
                             std::to_string(pairs) + ".v03";
    const std::string txt = path + ".txt";
    std::ofstream(txt, std::ios::binary) << text;
    DB_HANDLE db = DB_CreateHandle()->handle;
    if (DB_Load(db, DB_FORMAT_TXT_LOAD, txt.c_str(), 1033, 1050)->status != 1 ||
        DB_Save(db, DB_FORMAT_V03_SAVE, path.c_str())->status != 1) {
        std::abort();
    }
    DB_DestroyHandle(db);
    std::remove(txt.c_str());
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

// The six blocks of a file: where each lies and how large it is unpacked.
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

void BM_UncompressOnly(benchmark::State& state) {
    const std::string path = MakeFile(state.range(0));
    const std::string file = ReadFile(path);
    for (auto _ : state) {
        for (const BlockSpan& block : BlocksOf(file)) {
            std::vector<Bytef> out(block.size);
            uLongf size = block.size;
            uncompress(out.data(), &size,
                       reinterpret_cast<const Bytef*>(file.data()) + block.offset, block.packed);
            benchmark::DoNotOptimize(out.data());
        }
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_V03Load(benchmark::State& state) {
    const std::string path = MakeFile(state.range(0));
    DB_HANDLE db = DB_CreateHandle()->handle;
    for (auto _ : state) {
        if (DB_Load(db, DB_FORMAT_V03_LOAD, path.c_str(), 0, 0)->status != 1) {
            state.SkipWithError("load failed");
            break;
        }
        state.PauseTiming();
        DB_Close(db);
        state.ResumeTiming();
    }
    DB_DestroyHandle(db);
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_CompressOnly(benchmark::State& state) {
    const std::string path = MakeFile(state.range(0));
    const std::string file = ReadFile(path);
    std::vector<std::vector<Bytef>> blocks;
    for (const BlockSpan& block : BlocksOf(file)) {
        std::vector<Bytef> out(block.size);
        uLongf size = block.size;
        uncompress(out.data(), &size, reinterpret_cast<const Bytef*>(file.data()) + block.offset,
                   block.packed);
        blocks.push_back(std::move(out));
    }
    for (auto _ : state) {
        for (const std::vector<Bytef>& block : blocks) {
            uLongf size = compressBound(block.size());
            std::vector<Bytef> out(size);
            compress2(out.data(), &size, block.data(), block.size(), 4);
            benchmark::DoNotOptimize(out.data());
        }
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Saves the loaded dictionary; with `changed`, after renaming one word of
// each list, which makes the save look positions up by node address.
void SaveLoaded(benchmark::State& state, bool changed) {
    const std::string path = MakeFile(state.range(0));
    const std::string out = path + ".out";
    DB_HANDLE db = DB_CreateHandle()->handle;
    if (DB_Load(db, DB_FORMAT_V03_LOAD, path.c_str(), 0, 0)->status != 1) std::abort();
    if (changed) {
        DB_ChangeWord(db, 1, db->lists[0].head->text, "zzzz");
        DB_ChangeWord(db, 2, db->lists[1].head->text, "zzzz");
    }
    for (auto _ : state) {
        if (DB_Save(db, DB_FORMAT_V03_SAVE, out.c_str())->status != 1) {
            state.SkipWithError("save failed");
            break;
        }
    }
    DB_DestroyHandle(db);
    std::remove(path.c_str());
    std::remove(out.c_str());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_V03SaveUntouched(benchmark::State& state) { SaveLoaded(state, false); }
void BM_V03SaveAfterChange(benchmark::State& state) { SaveLoaded(state, true); }

}  // namespace

BENCHMARK(BM_UncompressOnly)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_V03Load)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressOnly)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_V03SaveUntouched)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_V03SaveAfterChange)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
