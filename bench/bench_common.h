// What the benchmarks share: the English-German FreeDict dictionary as a V03
// file and as a TXT export (made on the first run, reused later), a loaded
// handle of it, words sampled from it, and the ratio measurement that times
// an operation of the engine against its baseline in the same iterations and
// collects the results for the summary printed after the run.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/lexbase.h"

namespace bench {

// The V03 file of the English-German dictionary, converted with wordbay-cli
// into the cache folder when it is not there yet. Aborts when that fails.
const std::string& DictionaryFile();

// The same dictionary exported as TXT (primary TAB secondary CR LF).
const std::string& TxtFile();

// A folder for files that a benchmark writes and deletes again: /dev/shm when
// there is one, so that a save's flush costs no disk.
std::string ScratchFolder();

// One handle with the dictionary loaded, shared by the search benchmarks.
DB_HANDLE LoadedDictionary();

// `count` words of `list`, spread evenly over its order, in a fixed order.
std::vector<std::string> SampleWords(DB_HANDLE db, std::int32_t list, std::size_t count);

// The whole file as bytes.
std::string ReadWholeFile(const std::string& path);

// Resident memory of the process in bytes.
std::uint64_t ResidentBytes();

using Clock = std::chrono::steady_clock;
inline double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Runs the benchmark's iterations; each runs `baseline` and then `ours`, which
// return the seconds their measured part took. The iteration time is ours
// (register with UseManualTime); counters give the baseline and the ratio of
// the medians, which joins the summary under `operation` with its goal.
void MeasureRatio(benchmark::State& state, const std::string& operation, double goal,
                  const std::function<double()>& ours, const std::function<double()>& baseline);

// Adds a row to the summary directly (for measurements that are no timings).
void RecordRatio(const std::string& operation, double ours, double baseline, double goal,
                 const std::string& unit);

}  // namespace bench
