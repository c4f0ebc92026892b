// Searching the English-German dictionary against bare loops over the same
// words:
// - a regular expression over the whole primary list (DB_List mode 2) against
//   pcre2_match over the words in a flat array, with the same compiled tables;
// - the type-ahead prefix list of the first 1 to 4 letters of 1,000 real words
//   against copying the matching pointers out of an array sorted beforehand;
// - DB_Translate of 10,000 real words, folded (case ignored) and exact,
//   against a std::unordered_map from the (folded) word to its translations.
// Case is ignored in the folded searches, as a user types.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "bench/bench_common.h"
#include "engine/context.h"
#include "engine/lexbase.h"

namespace {

using bench::Clock;
using bench::Seconds;

const lexbase::WordList& Primary() { return bench::LoadedDictionary()->lists[0]; }

std::vector<const char*>& Output() {
    static std::vector<const char*> output(
        std::max(Primary().word_count, bench::LoadedDictionary()->lists[1].word_count) + 40);
    return output;
}

std::int32_t Capacity() { return static_cast<std::int32_t>(Output().size()); }

std::string Fold(std::string_view text, const std::uint8_t* table) {
    std::string folded(text);
    for (char& c : folded) c = static_cast<char>(table[static_cast<std::uint8_t>(c)]);
    return folded;
}

// ---- Regular expression over the whole list ------------------------------

constexpr const char* kExpression = "^[bcd].*(ing|er)$";

void BM_RegexScan(benchmark::State& state) {
    DB_HANDLE db = bench::LoadedDictionary();
    const lexbase::WordList& list = Primary();
    // The words back to back, NUL-terminated, with their offsets and lengths.
    std::string flat;
    std::vector<std::pair<std::size_t, int>> words;
    for (const lexbase::WordNode* node = list.head; node != nullptr; node = node->next) {
        words.emplace_back(flat.size(), node->length);
        flat.append(node->text, node->length);
        flat += '\0';
    }
    pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
    pcre2_set_character_tables(context, list.regex_tables);
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code =
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kExpression), PCRE2_ZERO_TERMINATED,
                      PCRE2_CASELESS, &error, &offset, context);
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    std::vector<const char*> found(words.size());
    std::int64_t matches = 0;
    bench::MeasureRatio(
        state, "regex scan of the whole list", 1.3,
        [&] {
            const auto start = Clock::now();
            const DB_RESULT* result = DB_List(db, DB_PRIMARY_LIST, kExpression, 0, 0, DB_LIST_REGEX,
                                              Output().data(), Capacity());
            const double t = Seconds(start);
            if (result->count != matches) state.SkipWithError("different matches");
            return t;
        },
        [&] {
            const auto start = Clock::now();
            std::int64_t n = 0;
            for (const auto& [at, length] : words) {
                const auto* subject = reinterpret_cast<PCRE2_SPTR>(flat.data() + at);
                if (pcre2_match(code, subject, static_cast<PCRE2_SIZE>(length), 0, 0, data,
                                nullptr) >= 0) {
                    found[n++] = flat.data() + at;
                }
            }
            matches = n;
            return Seconds(start);
        });
    state.counters["matches"] = static_cast<double>(matches);
    pcre2_match_data_free(data);
    pcre2_code_free(code);
    pcre2_compile_context_free(context);
}
BENCHMARK(BM_RegexScan)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(9);

// ---- Type-ahead prefix lists ----------------------------------------------

void BM_TypeAhead(benchmark::State& state) {
    const auto letters = static_cast<std::size_t>(state.range(0));
    DB_HANDLE db = bench::LoadedDictionary();
    const lexbase::WordList& list = Primary();
    const std::uint8_t* lower = list.lower_table;
    // The prefixes typed: the first letters of real words long enough.
    std::vector<std::string> prefixes;
    for (const std::string& word : bench::SampleWords(db, DB_PRIMARY_LIST, 1000)) {
        if (word.size() >= letters) prefixes.push_back(word.substr(0, letters));
    }
    // The baseline's array: every word by its case-folded text.
    std::vector<std::pair<std::string, const char*>> sorted;
    for (const lexbase::WordNode* node = list.head; node != nullptr; node = node->next) {
        sorted.emplace_back(Fold({node->text, node->length}, lower), node->text);
    }
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::string> folded;
    for (const std::string& prefix : prefixes) folded.push_back(Fold(prefix, lower));
    std::int64_t ours_found = 0, base_found = 0;
    const double keystrokes = static_cast<double>(prefixes.size());
    bench::MeasureRatio(
        state, "prefix list, " + std::to_string(letters) + " letter(s), per keystroke", 2.0,
        [&] {
            ours_found = 0;
            const auto start = Clock::now();
            for (const std::string& prefix : prefixes) {
                ours_found += DB_List(db, DB_PRIMARY_LIST, prefix.c_str(), 0, 0, DB_LIST_PREFIX,
                                      Output().data(), Capacity())
                                  ->count;
            }
            return Seconds(start) / keystrokes;
        },
        [&] {
            base_found = 0;
            const auto start = Clock::now();
            const char** out = Output().data();
            for (const std::string& key : folded) {
                auto it = std::lower_bound(
                    sorted.begin(), sorted.end(), key,
                    [](const auto& entry, const std::string& k) { return entry.first < k; });
                std::int32_t n = 0;
                for (; it != sorted.end() && it->first.compare(0, key.size(), key) == 0; ++it) {
                    out[n++] = it->second;
                }
                base_found += n;
            }
            return Seconds(start) / keystrokes;
        });
    if (ours_found != base_found) state.SkipWithError("different matches");
    state.counters["words_per_list"] = static_cast<double>(ours_found) / keystrokes;
}
BENCHMARK(BM_TypeAhead)
    ->ArgName("letters")
    ->DenseRange(1, 4)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(15);

// ---- Translation ------------------------------------------------------------

void Translate(benchmark::State& state, bool folded) {
    DB_HANDLE db = bench::LoadedDictionary();
    const lexbase::WordList& list = Primary();
    const std::uint8_t* lower = list.lower_table;
    const std::vector<std::string> words = bench::SampleWords(db, DB_PRIMARY_LIST, 10'000);
    // The baseline's map: (folded) text to its translations, variants in list order.
    std::vector<std::vector<const char*>> translations;
    std::unordered_map<std::string, std::size_t> map;
    for (const lexbase::WordNode* node = list.head; node != nullptr; node = node->next) {
        const std::string key =
            folded ? Fold({node->text, node->length}, lower) : std::string(node->text);
        auto [it, added] = map.emplace(key, translations.size());
        if (added) translations.emplace_back();
        for (const lexbase::TransLink* link = node->links; link != nullptr; link = link->next) {
            translations[it->second].push_back(link->target->text);
        }
    }
    std::vector<std::string> keys;
    for (const std::string& word : words) keys.push_back(folded ? Fold(word, lower) : word);
    std::int64_t ours_found = 0, base_found = 0;
    const int case_sensitive = folded ? 0 : 1;
    bench::MeasureRatio(
        state, folded ? "DB_Translate x 10,000, case folded" : "DB_Translate x 10,000, exact", 3.0,
        [&] {
            ours_found = 0;
            const auto start = Clock::now();
            for (const std::string& word : words) {
                ours_found += DB_Translate(db, DB_TRANS_PRIMARY_TO_SECONDARY, word.c_str(),
                                           case_sensitive, 0, Output().data(), Capacity())
                                  ->count;
            }
            return Seconds(start);
        },
        [&] {
            base_found = 0;
            const auto start = Clock::now();
            const char** out = Output().data();
            std::string key;
            for (const std::string& word : words) {
                // The look-up folds its word, as the engine must.
                key = word;
                if (folded) {
                    for (char& c : key) c = static_cast<char>(lower[static_cast<std::uint8_t>(c)]);
                }
                const auto it = map.find(key);
                if (it == map.end()) continue;
                const std::vector<const char*>& found = translations[it->second];
                std::copy(found.begin(), found.end(), out);
                base_found += static_cast<std::int64_t>(found.size());
            }
            return Seconds(start);
        });
    if (ours_found != base_found) state.SkipWithError("different translations");
}

void BM_TranslateExact(benchmark::State& state) { Translate(state, false); }
BENCHMARK(BM_TranslateExact)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(9);

void BM_TranslateFolded(benchmark::State& state) { Translate(state, true); }
BENCHMARK(BM_TranslateFolded)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(9);

// ---- Other whole-list modes, for their speed alone ---------------------------

void WholeList(benchmark::State& state, const char* pattern, std::uint32_t mode) {
    DB_HANDLE db = bench::LoadedDictionary();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            DB_List(db, DB_PRIMARY_LIST, pattern, 0, 1, mode, Output().data(), Capacity()));
    }
    state.SetItemsProcessed(state.iterations() * Primary().word_count);
}

void BM_AnagramScan(benchmark::State& state) { WholeList(state, "dictionary", 5); }
BENCHMARK(BM_AnagramScan)->Unit(benchmark::kMillisecond);

void BM_LeadingWildcardScan(benchmark::State& state) { WholeList(state, "*i?g", 1); }
BENCHMARK(BM_LeadingWildcardScan)->Unit(benchmark::kMillisecond);

void BM_IdenticalWords(benchmark::State& state) {
    DB_HANDLE db = bench::LoadedDictionary();
    for (auto _ : state) benchmark::DoNotOptimize(DB_ListIdenticalWords(db, 1, 0, Output().data()));
    state.SetItemsProcessed(state.iterations() * Primary().word_count);
}
BENCHMARK(BM_IdenticalWords)->Unit(benchmark::kMillisecond);

}  // namespace
