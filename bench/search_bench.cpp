// Speed of listing and translation on a generated dictionary of 100,000
// pairs, imported as a file would be (exact index ordinals).
//
// - Prefix searches must cost the stretch of their key, not the list: each
//   run reports `speedup`, the time of one walk over the whole list (the
//   palindrome mode, which tests every word cheaply) divided by the time of
//   one prefix search, in the same run.
// - The same searches after one edit: the ordinals are then estimates and
//   the key look-up checks its stretch before trusting it; `edited` should
//   stay close to `loaded`.
// - Whole-list modes (regular expression, anagram, leading wildcard) and
//   translation report words or lookups per second.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/context.h"
#include "engine/formats/txt_format.h"
#include "engine/lexbase.h"

namespace {

constexpr std::int64_t kPairs = 100'000;

// A word of 3 to 12 letters made from `n`, some capitalised, some accented.
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

// A dictionary imported from generated text; `edited` adds one word after,
// which turns the ordinals into estimates.
DB_HANDLE MakeDictionary(bool edited) {
    std::string text;
    for (std::int64_t i = 0; i < kPairs; ++i) {
        text += Word(static_cast<std::uint32_t>(i));
        text += '\t';
        text += Word(static_cast<std::uint32_t>(i * 7 + 1000003));
        text += "\r\n";
    }
    DB_HANDLE db = DB_CreateHandle()->handle;
    if (!lexbase::ImportTxtBytes(db, text, "en_hr.txt", 1033, 1033)) return db;
    db->ready = 1;
    if (edited) DB_AddWord(db, DB_PRIMARY_LIST, "benchmark");
    return db;
}

DB_HANDLE Dictionary(bool edited) {
    static DB_HANDLE loaded = MakeDictionary(false);
    static DB_HANDLE changed = MakeDictionary(true);
    return edited ? changed : loaded;
}

// Two-letter keys taken from the words themselves, so every search finds something.
std::vector<std::string> Keys() {
    std::vector<std::string> keys;
    for (std::uint32_t i = 0; i < 1000; ++i) keys.push_back(Word(i * 97).substr(0, 2));
    return keys;
}

void BM_PrefixSearch(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    DB_HANDLE db = Dictionary(state.range(0) != 0);
    const std::vector<std::string> keys = Keys();
    std::vector<const char*> out(kPairs);
    const auto max = static_cast<std::int32_t>(out.size());

    const auto scan_start = Clock::now();
    DB_List(db, DB_PRIMARY_LIST, nullptr, 0, 0, DB_LIST_PALINDROME, out.data(), max);
    const double full_scan = std::chrono::duration<double>(Clock::now() - scan_start).count();

    double searching = 0;
    std::int64_t searches = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (const std::string& key : keys) {
            benchmark::DoNotOptimize(
                DB_List(db, DB_PRIMARY_LIST, key.c_str(), 0, 1, DB_LIST_PREFIX, out.data(), max));
        }
        searching += std::chrono::duration<double>(Clock::now() - start).count();
        searches += static_cast<std::int64_t>(keys.size());
    }
    state.SetItemsProcessed(searches);
    state.counters["speedup"] = full_scan / (searching / static_cast<double>(searches));
}
BENCHMARK(BM_PrefixSearch)->ArgName("edited")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One whole-list walk in `mode` with `pattern` per iteration; items are words.
void WholeList(benchmark::State& state, const char* pattern, std::uint32_t mode) {
    DB_HANDLE db = Dictionary(false);
    std::vector<const char*> out(kPairs);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DB_List(db, DB_PRIMARY_LIST, pattern, 0, 1, mode, out.data(),
                                         static_cast<std::int32_t>(out.size())));
    }
    state.SetItemsProcessed(state.iterations() * db->lists[0].word_count);
}

void BM_RegexScan(benchmark::State& state) { WholeList(state, "^[bcd].*(ing|er)$", 2); }
BENCHMARK(BM_RegexScan)->Unit(benchmark::kMillisecond);

void BM_AnagramScan(benchmark::State& state) { WholeList(state, "dictionary", 5); }
BENCHMARK(BM_AnagramScan)->Unit(benchmark::kMillisecond);

void BM_LeadingWildcardScan(benchmark::State& state) { WholeList(state, "*i?g", 1); }
BENCHMARK(BM_LeadingWildcardScan)->Unit(benchmark::kMillisecond);

void BM_TranslateFolded(benchmark::State& state) {
    DB_HANDLE db = Dictionary(state.range(0) != 0);
    std::vector<std::string> words;
    for (std::uint32_t i = 0; i < 1000; ++i) words.push_back(Word(i * 101));
    const char* out[64];
    for (auto _ : state) {
        for (const std::string& w : words) {
            benchmark::DoNotOptimize(DB_Translate(db, 1, w.c_str(), 0, 1, out, 64));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(words.size()));
}
BENCHMARK(BM_TranslateFolded)->ArgName("edited")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_IdenticalWords(benchmark::State& state) {
    DB_HANDLE db = Dictionary(false);
    std::vector<const char*> out(db->lists[0].word_count);
    for (auto _ : state) benchmark::DoNotOptimize(DB_ListIdenticalWords(db, 1, 0, out.data()));
    state.SetItemsProcessed(state.iterations() * db->lists[0].word_count);
}
BENCHMARK(BM_IdenticalWords)->Unit(benchmark::kMillisecond);

}  // namespace
