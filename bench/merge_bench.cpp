// Merging another dictionary must cost what its pairs cost: 25,000, 50,000,
// 100,000 and 200,000 pairs are merged into the loaded English-German
// dictionary, and the time of each size is compared with that of 25,000
// (`growth`, against the 2, 4 and 8 that linear time gives). The pairs are a
// fixed mix: half give a known English word a new translation, half bring two
// new words.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_common.h"
#include "engine/lexbase.h"

namespace {

std::string NewWord(std::mt19937* random) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz";
    std::string word = "q";
    const std::size_t length = 4 + (*random)() % 7;
    for (std::size_t i = 0; i < length; ++i) word += kLetters[(*random)() % 26];
    return word;
}

// A TXT file of `count` pairs in the scratch folder.
std::string PairsFile(std::size_t count) {
    static const std::vector<std::string> known =
        bench::SampleWords(bench::LoadedDictionary(), DB_PRIMARY_LIST, 20000);
    std::mt19937 random(static_cast<unsigned>(count));
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string word = i % 2 == 0 ? known[random() % known.size()] : NewWord(&random);
        text += word + "\t" + NewWord(&random) + "\r\n";
    }
    const std::string path = bench::ScratchFolder() + "/merge_" + std::to_string(count) + ".txt";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::map<std::int64_t, double>& Medians() {
    static std::map<std::int64_t, double> medians;
    return medians;
}

void BM_Merge(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::string pairs = PairsFile(count);
    std::vector<double> times;
    for (auto _ : state) {
        DB_HANDLE db = DB_CreateHandle()->handle;
        DB_Load(db, DB_FORMAT_V03_LOAD, bench::DictionaryFile().c_str(), 0, 0);
        const auto start = bench::Clock::now();
        const DB_RESULT* r =
            DB_Update(db, DB_TRANS_PRIMARY_TO_SECONDARY, DB_FORMAT_TXT_LOAD, pairs.c_str());
        const double seconds = bench::Seconds(start);
        if (r->status == 0) state.SkipWithError(r->message);
        state.SetIterationTime(seconds);
        times.push_back(seconds);
        state.PauseTiming();
        DB_DestroyHandle(db);
        state.ResumeTiming();
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    Medians()[state.range(0)] = median;
    state.counters["pairs_per_s"] = static_cast<double>(count) / median;
    const auto first = Medians().find(25000);
    if (first != Medians().end() && state.range(0) != 25000) {
        state.counters["growth"] = median / first->second;
        bench::RecordRatio("merge of " + std::to_string(count) + " pairs against 25,000", median,
                           first->second, 10.0 * static_cast<double>(count) / 200000, "");
    }
    std::remove(pairs.c_str());
}
BENCHMARK(BM_Merge)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
