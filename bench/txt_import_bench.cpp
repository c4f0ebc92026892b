// Speed of the TXT import and export on a generated dictionary. The baseline
// computes the collation key of every text once, the part of the import that
// the platform supplies; the import should stay a small multiple of it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "engine/context.h"
#include "engine/formats/txt_format.h"
#include "engine/lexbase.h"
#include "platform/collation.h"

namespace {

// A word of 3 to 12 letters made from `n`, with some case and accent variants.
std::string Word(std::uint32_t n) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz\xE4\xE8\xE9\xF6";
    std::string word;
    std::uint32_t x = n * 2654435761u + 12345;
    const std::size_t length = 3 + x % 10;
    for (std::size_t i = 0; i < length; ++i) {
        x = x * 1103515245u + 12345;
        word += kLetters[(x >> 16) % (sizeof kLetters - 1)];
    }
    if (n % 17 == 0) word[0] = static_cast<char>(word[0] & ~0x20);
    return word;
}

// `pairs` lines; about three translations per primary word.
std::string MakeFile(std::int64_t pairs) {
    std::string text;
    for (std::int64_t i = 0; i < pairs; ++i) {
        text += Word(static_cast<std::uint32_t>(i / 3));
        text += '\t';
        text += Word(static_cast<std::uint32_t>(i * 7 + 1000003));
        text += "\r\n";
    }
    return text;
}

void BM_SortKeysOnly(benchmark::State& state) {
    const std::string file = MakeFile(state.range(0));
    for (auto _ : state) {
        std::string key;
        std::size_t line = 0;
        while (line < file.size()) {
            const std::size_t tab = file.find('\t', line);
            const std::size_t cr = file.find('\r', tab);
            key.clear();
            platform::AppendSortKey(1033, std::string_view(file).substr(line, tab - line), &key);
            key.clear();
            platform::AppendSortKey(1050, std::string_view(file).substr(tab + 1, cr - tab - 1),
                                    &key);
            benchmark::DoNotOptimize(key.data());
            line = cr + 2;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_TxtImport(benchmark::State& state) {
    const std::string file = MakeFile(state.range(0));
    DB_HANDLE db = DB_CreateHandle()->handle;
    for (auto _ : state) {
        if (!lexbase::ImportTxtBytes(db, file, "english_croatian.txt", 1033, 1050)) {
            state.SkipWithError("import failed");
            break;
        }
        state.PauseTiming();
        DB_Close(db);
        state.ResumeTiming();
    }
    DB_DestroyHandle(db);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_TxtExport(benchmark::State& state) {
    const std::string file = MakeFile(state.range(0));
    DB_HANDLE db = DB_CreateHandle()->handle;
    if (!lexbase::ImportTxtBytes(db, file, "english_croatian.txt", 1033, 1050)) {
        state.SkipWithError("import failed");
    }
    const std::string out = "/tmp/txt_export_bench_" + std::to_string(::getpid()) + ".txt";
    for (auto _ : state) {
        if (!lexbase::SaveTxt(db, out.c_str())) {
            state.SkipWithError("export failed");
            break;
        }
    }
    std::remove(out.c_str());
    DB_DestroyHandle(db);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_SortKeysOnly)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TxtImport)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TxtExport)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
