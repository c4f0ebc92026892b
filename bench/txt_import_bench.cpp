// The TXT import of the English-German dictionary (the V03 file exported as
// TXT) against what any import must do: read the file, compute the ICU sort
// key of both texts of every line and sort each list's texts by key. Also the
// TXT export, by itself.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/bench_common.h"
#include "engine/lexbase.h"
#include "platform/collation.h"

namespace {

using bench::Clock;
using bench::Seconds;

constexpr std::uint32_t kEnglish = 1033;
constexpr std::uint32_t kGerman = 1031;

double ReadKeyAndSort() {
    const auto start = Clock::now();
    const std::string file = bench::ReadWholeFile(bench::TxtFile());
    // Keys back to back, each text's (offset, length) into them.
    std::string keys[2];
    std::vector<std::pair<std::size_t, std::size_t>> spans[2];
    const std::string_view bytes(file);
    std::size_t line = 0;
    while (line < bytes.size()) {
        const std::size_t tab = bytes.find('\t', line);
        const std::size_t cr = bytes.find('\r', tab);
        if (tab == std::string_view::npos || cr == std::string_view::npos) break;
        const std::string_view texts[2] = {bytes.substr(line, tab - line),
                                           bytes.substr(tab + 1, cr - tab - 1)};
        for (int side = 0; side < 2; ++side) {
            const std::size_t at = keys[side].size();
            platform::AppendSortKey(side == 0 ? kEnglish : kGerman, texts[side], &keys[side]);
            spans[side].emplace_back(at, keys[side].size() - at);
        }
        line = cr + 2;
    }
    for (int side = 0; side < 2; ++side) {
        const std::string_view all(keys[side]);
        std::sort(spans[side].begin(), spans[side].end(), [&](const auto& a, const auto& b) {
            return all.substr(a.first, a.second) < all.substr(b.first, b.second);
        });
    }
    benchmark::DoNotOptimize(spans[0].data());
    benchmark::DoNotOptimize(spans[1].data());
    return Seconds(start);
}

void BM_TxtImport(benchmark::State& state) {
    const std::string& path = bench::TxtFile();
    DB_HANDLE db = DB_CreateHandle()->handle;
    bench::MeasureRatio(
        state, "TXT import", 1.5,
        [&] {
            const auto start = Clock::now();
            if (DB_Load(db, DB_FORMAT_TXT_LOAD, path.c_str(), kEnglish, kGerman)->status != 1) {
                std::abort();
            }
            const double t = Seconds(start);
            DB_Close(db);
            return t;
        },
        ReadKeyAndSort);
    DB_DestroyHandle(db);
}
BENCHMARK(BM_TxtImport)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TxtExport(benchmark::State& state) {
    DB_HANDLE db = bench::LoadedDictionary();
    const std::string out = bench::ScratchFolder() + "/lexbase_bench_export.txt";
    for (auto _ : state) {
        if (DB_Save(db, DB_FORMAT_TXT_SAVE, out.c_str())->status != 1) {
            state.SkipWithError("export failed");
            break;
        }
    }
    std::remove(out.c_str());
}
BENCHMARK(BM_TxtExport)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
