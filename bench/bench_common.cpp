#include "bench/bench_common.h"

#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "engine/context.h"

namespace bench {
namespace {

bool Exists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

void Die(const std::string& why) {
    std::fprintf(stderr, "lexbase_bench: %s\n", why.c_str());
    std::exit(1);
}

std::string DataFolder() {
    const std::string folder = BENCH_DATA_DIR;
    if (!Exists(folder) && ::mkdir(folder.c_str(), 0755) != 0) Die("can't create " + folder);
    return folder;
}

struct Row {
    std::string operation;
    double ours;
    double baseline;
    double goal;
    std::string unit;  // empty: seconds
};

std::vector<Row>& Rows() {
    static std::vector<Row> rows;
    return rows;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// "12.3 ms", "4.56 us" and so on for a time; the value and unit otherwise.
std::string Show(double value, const std::string& unit) {
    char text[64];
    if (!unit.empty()) {
        std::snprintf(text, sizeof text, "%.1f %s", value, unit.c_str());
    } else if (value >= 1) {
        std::snprintf(text, sizeof text, "%.3f s", value);
    } else if (value >= 1e-3) {
        std::snprintf(text, sizeof text, "%.2f ms", value * 1e3);
    } else if (value >= 1e-6) {
        std::snprintf(text, sizeof text, "%.2f us", value * 1e6);
    } else {
        std::snprintf(text, sizeof text, "%.0f ns", value * 1e9);
    }
    return text;
}

void PrintSummary() {
    if (Rows().empty()) return;
    std::printf("\nRatios to the baselines (medians of the iterations)\n");
    std::printf("%-44s %12s %12s %7s %6s  %s\n", "operation", "ours", "baseline", "ratio", "goal",
                "result");
    for (const Row& row : Rows()) {
        const double ratio = row.baseline > 0 ? row.ours / row.baseline : 0;
        std::printf("%-44s %12s %12s %7.2f %6.2f  %s\n", row.operation.c_str(),
                    Show(row.ours, row.unit).c_str(), Show(row.baseline, row.unit).c_str(), ratio,
                    row.goal, ratio <= row.goal ? "met" : "missed");
    }
}

}  // namespace

const std::string& DictionaryFile() {
    static const std::string path = [] {
        const std::string file = DataFolder() + "/eng-deu.v03";
        if (!Exists(file)) {
            std::fprintf(stderr, "lexbase_bench: converting eng-deu into %s\n", file.c_str());
            const std::string command =
                std::string("'") + WORDBAY_CLI + "' freedict eng-deu '" + file + "' >/dev/null";
            if (std::system(command.c_str()) != 0 || !Exists(file)) {
                Die("converting the FreeDict eng-deu database failed (is dict-freedict-eng-deu "
                    "installed?)");
            }
        }
        return file;
    }();
    return path;
}

const std::string& TxtFile() {
    static const std::string path = [] {
        const std::string file = DataFolder() + "/eng_deu.txt";
        if (!Exists(file)) {
            DB_HANDLE db = DB_CreateHandle()->handle;
            if (DB_Load(db, DB_FORMAT_V03_LOAD, DictionaryFile().c_str(), 0, 0)->status != 1 ||
                DB_Save(db, DB_FORMAT_TXT_SAVE, file.c_str())->status != 1) {
                Die("exporting the dictionary as TXT failed");
            }
            DB_DestroyHandle(db);
        }
        return file;
    }();
    return path;
}

std::string ScratchFolder() {
    struct stat status {};
    return ::stat("/dev/shm", &status) == 0 && S_ISDIR(status.st_mode) ? "/dev/shm" : "/tmp";
}

DB_HANDLE LoadedDictionary() {
    static DB_HANDLE db = [] {
        DB_HANDLE handle = DB_CreateHandle()->handle;
        if (DB_Load(handle, DB_FORMAT_V03_LOAD, DictionaryFile().c_str(), 0, 0)->status != 1) {
            Die("loading " + DictionaryFile() + " failed");
        }
        return handle;
    }();
    return db;
}

std::vector<std::string> SampleWords(DB_HANDLE db, std::int32_t list, std::size_t count) {
    std::vector<const char*> all;
    for (const lexbase::WordNode* node = db->lists[list - 1].head; node != nullptr;
         node = node->next) {
        all.push_back(node->text);
    }
    std::vector<std::string> sample;
    if (all.empty()) return sample;
    // A stride prime to the count mixes the order, as typed words would be.
    const std::size_t stride = all.size() / count;
    for (std::size_t i = 0; i < count; ++i) {
        sample.emplace_back(all[(i * 7919 % count) * stride % all.size()]);
    }
    return sample;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::uint64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

void RecordRatio(const std::string& operation, double ours, double baseline, double goal,
                 const std::string& unit) {
    for (Row& row : Rows()) {
        if (row.operation == operation) {
            row = Row{operation, ours, baseline, goal, unit};
            return;
        }
    }
    Rows().push_back(Row{operation, ours, baseline, goal, unit});
}

void MeasureRatio(benchmark::State& state, const std::string& operation, double goal,
                  const std::function<double()>& ours, const std::function<double()>& baseline) {
    std::vector<double> our_times, base_times;
    for (auto _ : state) {
        base_times.push_back(baseline());
        const double t = ours();
        our_times.push_back(t);
        state.SetIterationTime(t);
    }
    const double o = Median(our_times), b = Median(base_times);
    state.counters["baseline_ms"] = b * 1e3;
    state.counters["ratio"] = b > 0 ? o / b : 0;
    RecordRatio(operation, o, b, goal, "");
}

}  // namespace bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench::PrintSummary();
    return 0;
}
