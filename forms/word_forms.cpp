#include "forms/word_forms.h"

#include <algorithm>
#include <memory>

#include "forms/irregular.h"
#include "forms/selection.h"
#include "forms/speller.h"
#include "forms/stored_stems.h"
#include "forms/suffix_rules.h"

namespace forms {
namespace {

// A selection beyond this many bytes is not looked up at all: no list holds
// such a word, and the engine need not be asked.
constexpr std::size_t kMaxLookupBytes = 1024;
// Base-word candidates looked up at most, for one word.
constexpr std::size_t kMaxCandidates = 48;

std::string Language(std::string_view locale) {
    return std::string(locale.substr(0, locale.find_first_of("_-@.")));
}

bool SameFolded(std::string_view a, std::string_view b) { return LowerCase(a) == LowerCase(b); }

void AddUnique(std::vector<std::string>* list, std::string word) {
    if (word.empty()) return;
    if (std::find(list->begin(), list->end(), word) == list->end())
        list->push_back(std::move(word));
}

// The speller's stems of `word`: kept ones where they hold the word, else
// the speller's own (loading it); none without a speller.
std::vector<std::string> SpellerStems(std::string_view locale, std::string_view word,
                                      const Options& options) {
    std::vector<std::string> stems;
    if (options.stored_stems != nullptr && options.stored_stems->Find(word, &stems)) return stems;
    if (const std::shared_ptr<Speller> speller = Speller::Of(locale)) return speller->Stems(word);
    return {};
}

// Finds the word as it stands: as selected, without its wrapping, and in
// lower case (a capital at the start of a sentence).
bool FindExact(Lexicon& lexicon, const ShedWord& shed, Answer* answer) {
    std::vector<std::string> tries;
    AddUnique(&tries, shed.trimmed);
    AddUnique(&tries, shed.bare);
    AddUnique(&tries, LowerCase(shed.bare));
    for (const std::string& word : tries) {
        if (word.size() > kMaxLookupBytes) continue;
        std::vector<std::string> translations = lexicon.Translations(word);
        if (translations.empty()) continue;
        answer->headword = word;
        answer->how = How::kExact;
        answer->translations = std::move(translations);
        return true;
    }
    return false;
}

// Looks the base-word candidates up: the first found becomes the headword
// when there is none yet, the others are offered beside it.
void FindForms(Lexicon& lexicon, const std::vector<std::string>& candidates, const Options& options,
               Answer* answer) {
    std::size_t tried = 0;
    for (const std::string& candidate : candidates) {
        if (++tried > kMaxCandidates || answer->forms.size() >= options.max_forms) break;
        if (!answer->headword.empty() && SameFolded(candidate, answer->headword)) continue;
        const bool seen = std::any_of(answer->forms.begin(), answer->forms.end(),
                                      [&](const Form& f) { return SameFolded(f.word, candidate); });
        if (seen) continue;
        std::vector<std::string> translations = lexicon.Translations(candidate);
        if (translations.empty()) continue;
        if (answer->how == How::kNone) {
            answer->headword = candidate;
            answer->how = How::kForm;
            answer->translations = std::move(translations);
        } else {
            answer->forms.push_back({candidate, std::move(translations)});
        }
    }
}

void Suggest(Lexicon& lexicon, std::string_view locale, const std::string& word,
             const Options& options, SuggestionIndex* index, Answer* answer) {
    struct Pick {
        std::string word;
        int distance;
        int speller_rank;  // place among the speller's suggestions, or a large number
    };
    std::vector<Pick> picks;
    if (index != nullptr) {
        if (!index->built()) index->Build(lexicon);
        for (auto& near : index->Find(word, 2, options.max_suggestions * 3)) {
            picks.push_back({std::move(near.word), near.distance, 1000});
        }
    }
    const std::u32string folded_word = FoldedChars(word);
    if (options.speller && options.speller_suggestions) {
        if (const std::shared_ptr<Speller> speller = Speller::Of(locale)) {
            int rank = 0;
            for (const std::string& s : speller->Suggest(word)) {
                ++rank;
                auto same = std::find_if(picks.begin(), picks.end(),
                                         [&](const Pick& p) { return SameFolded(p.word, s); });
                if (same != picks.end()) {
                    same->speller_rank = std::min(same->speller_rank, rank);
                    continue;
                }
                if (lexicon.Translations(s).empty()) continue;
                picks.push_back({s, BoundedEditDistance(folded_word, FoldedChars(s), 3), rank});
            }
        }
    }
    std::stable_sort(picks.begin(), picks.end(), [](const Pick& a, const Pick& b) {
        if (a.distance != b.distance) return a.distance < b.distance;
        // Then the speller's order, then the list's (closest length, shorter).
        return a.speller_rank < b.speller_rank;
    });
    for (Pick& p : picks) {
        if (answer->suggestions.size() >= options.max_suggestions) break;
        answer->suggestions.push_back(std::move(p.word));
    }
    if (!answer->suggestions.empty()) answer->how = How::kSuggestion;
}

}  // namespace

const char* HowName(How how) {
    switch (how) {
        case How::kExact:
            return "exact";
        case How::kForm:
            return "form";
        case How::kSuggestion:
            return "suggestion";
        case How::kNone:
            break;
    }
    return "none";
}

std::vector<std::string> BaseCandidates(std::string_view locale, std::string_view word,
                                        const Options& options) {
    std::vector<std::string> out;
    if (word.empty() || CharCount(word) > kMaxWordChars) return out;
    const std::string language = Language(locale);
    const std::string lower = LowerCase(word);
    for (const std::string& base : IrregularFormsOf(language).BasesOf(lower)) {
        AddUnique(&out, base);
    }
    if (options.speller) {
        for (std::string& stem : SpellerStems(locale, word, options)) {
            if (!SameFolded(stem, word)) AddUnique(&out, std::move(stem));
        }
    }
    for (std::string& base : SuffixCandidates(language, lower)) AddUnique(&out, std::move(base));
    // German writes its nouns with a capital: "Häuser" is a form of Haus.
    if (language == "de" && StartsUpper(word)) {
        for (std::string& candidate : out) {
            if (!StartsUpper(candidate)) candidate = Capitalized(candidate);
        }
    }
    return out;
}

Answer LookUp(Lexicon& lexicon, std::string_view locale, std::string_view selection,
              const Options& options, SuggestionIndex* index) {
    Answer answer;
    if (selection.size() > 16 * kMaxLookupBytes) return answer;
    const ShedWord shed = Shed(selection);
    answer.query = shed.bare.empty() ? shed.trimmed : shed.bare;
    if (shed.trimmed.empty()) return answer;
    const bool exact = FindExact(lexicon, shed, &answer);
    const bool is_word = CharCount(shed.bare) <= kMaxWordChars && !shed.bare.empty();
    if (!options.forms || !is_word) return answer;

    std::vector<std::string> candidates;
    if (shed.base != shed.bare) AddUnique(&candidates, shed.base);
    if (exact) {
        // Beside an exact hit only what the language's data says is a form:
        // an ending taken off a whole word ("number" -> numb) would mislead.
        const std::string lower = LowerCase(shed.base);
        // A German noun keeps its capital in its base word ("Häuser" -> Haus).
        const bool capital = StartsUpper(shed.base);
        const bool noun = capital && Language(locale) == "de";
        for (const std::string& base : IrregularFormsOf(Language(locale)).BasesOf(lower)) {
            AddUnique(&candidates, noun ? Capitalized(base) : base);
        }
        if (options.speller) {
            for (std::string& stem : SpellerStems(locale, shed.base, options)) {
                AddUnique(&candidates, noun ? Capitalized(stem) : std::move(stem));
            }
        }
        for (std::string& base : WholeWordCandidates(Language(locale), lower, capital)) {
            AddUnique(&candidates, noun ? Capitalized(base) : std::move(base));
        }
    } else {
        for (std::string& base : BaseCandidates(locale, shed.base, options)) {
            AddUnique(&candidates, std::move(base));
        }
    }
    FindForms(lexicon, candidates, options, &answer);
    if (answer.how == How::kNone && options.suggestions) {
        Suggest(lexicon, locale, shed.bare, options, index, &answer);
    }
    return answer;
}

}  // namespace forms
