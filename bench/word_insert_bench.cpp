// Adding a word must cost what the stretch of its two-byte prefix costs, not
// what the list costs. Each benchmark adds 100,000 distinct words one by one
// to an empty list and compares the time per word of the last 10,000 with
// that of the first 10,000 of the same run (`growth`).
//
// Two word sets separate the two causes of growth:
// - prefix batches: about 78 words per prefix, one prefix after another, so
//   that the first and the last 10,000 words meet stretches of the same size
//   while the list has grown tenfold. `growth` near 1 shows that the size of
//   the list itself does not matter.
// - random words: the realistic case. Each two-byte prefix (with its case and
//   accent variants) gathers about n / 676 words, so the stretch a word walks
//   grows with the list and `growth` with it: the last words pass about 75
//   words each, where a walk from the head of the list would pass 50,000.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/lexbase.h"

namespace {

constexpr std::size_t kWords = 100'000;
constexpr std::size_t kSample = 10'000;
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz";

std::string RandomTail(std::mt19937* random, std::size_t min_length) {
    std::string tail;
    const std::size_t length = min_length + (*random)() % 7;
    for (std::size_t i = 0; i < length; ++i) tail += kLetters[(*random)() % 26];
    return tail;
}

// Prefixes of a letter or digit and a letter or digit, each with its batch of
// words in random order. Prefixes come in descending order of both bytes, so
// that a new prefix lands in front of the words of its first byte: the walk
// to a new prefix stays short too.
std::vector<std::string> PrefixBatches() {
    static const char kBytes[] = "zyxwvutsrqponmlkjihgfedcba9876543210";
    constexpr std::size_t kPrefixes = (sizeof kBytes - 1) * (sizeof kBytes - 1);
    constexpr std::size_t kBatch = (kWords + kPrefixes - 1) / kPrefixes;
    std::mt19937 random(11);
    std::vector<std::string> words;
    for (std::size_t p = 0; words.size() < kWords; ++p) {
        const std::string prefix = {kBytes[p % (sizeof kBytes - 1)],
                                    kBytes[p / (sizeof kBytes - 1)]};
        std::unordered_set<std::string> batch;
        while (batch.size() < kBatch) batch.insert(prefix + RandomTail(&random, 2));
        std::vector<std::string> sorted(batch.begin(), batch.end());
        std::sort(sorted.begin(), sorted.end());  // then shuffled: a fixed order per seed
        std::shuffle(sorted.begin(), sorted.end(), random);
        for (std::string& w : sorted) {
            if (words.size() < kWords) words.push_back(std::move(w));
        }
    }
    return words;
}

// Words of 3 to 9 letters, a tenth of them capitalised and some accented.
std::vector<std::string> RandomWords() {
    std::mt19937 random(7);
    std::unordered_set<std::string> seen;
    std::vector<std::string> words;
    while (words.size() < kWords) {
        std::string w = RandomTail(&random, 3);
        if (random() % 10 == 0) w[0] = static_cast<char>(w[0] & ~0x20);
        if (random() % 8 == 0) w[random() % w.size()] = "\xE4\xE8\xE9\xF6"[random() % 4];
        if (seen.insert(w).second) words.push_back(std::move(w));
    }
    return words;
}

void AddWords(benchmark::State& state, const std::vector<std::string>& words) {
    using Clock = std::chrono::steady_clock;
    double first_ns = 0, last_ns = 0;
    for (auto _ : state) {
        DB_HANDLE db = DB_CreateHandle()->handle;
        DB_CreateNewDictionary(db, 1033, 1033);
        Clock::time_point sample_start{};
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (i == 0 || i == words.size() - kSample) sample_start = Clock::now();
            benchmark::DoNotOptimize(DB_AddWord(db, DB_PRIMARY_LIST, words[i].c_str()));
            if (i + 1 == kSample || i + 1 == words.size()) {
                const double ns =
                    std::chrono::duration<double, std::nano>(Clock::now() - sample_start).count();
                (i + 1 == kSample ? first_ns : last_ns) += ns / kSample;
            }
        }
        state.PauseTiming();
        DB_DestroyHandle(db);
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["first_10k_ns_per_word"] = first_ns / runs;
    state.counters["last_10k_ns_per_word"] = last_ns / runs;
    state.counters["growth"] = last_ns / first_ns;
}

void BM_AddWordsInPrefixBatches(benchmark::State& state) {
    static const std::vector<std::string> words = PrefixBatches();
    AddWords(state, words);
}
BENCHMARK(BM_AddWordsInPrefixBatches)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AddRandomWords(benchmark::State& state) {
    static const std::vector<std::string> words = RandomWords();
    AddWords(state, words);
}
BENCHMARK(BM_AddRandomWords)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
