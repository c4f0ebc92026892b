#include "forms/word_analysis.h"

#include <algorithm>

#include "forms/irregular.h"
#include "forms/selection.h"
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
// the speller's own.
std::vector<std::string> SpellerStems(std::string_view locale, std::string_view word,
                                      const Options& options, LanguageTools& tools) {
    std::vector<std::string> stems;
    if (options.stored_stems != nullptr && options.stored_stems->Find(word, &stems)) return stems;
    return tools.SpellerStems(locale, word);
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
                                        const Options& options, LanguageTools& tools) {
    std::vector<std::string> out;
    if (word.empty() || CharCount(word) > kMaxWordChars) return out;
    const std::string language = Language(locale);
    const std::string lower = LowerCase(word);
    for (const std::string& base : IrregularFormsOf(language).BasesOf(lower)) {
        AddUnique(&out, base);
    }
    if (options.speller) {
        for (std::string& stem : SpellerStems(locale, word, options, tools)) {
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

Answer Analyse(Lexicon& lexicon, std::string_view locale, std::string_view selection,
               const Options& options, LanguageTools& tools) {
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
            for (std::string& stem : SpellerStems(locale, shed.base, options, tools)) {
                AddUnique(&candidates, noun ? Capitalized(stem) : std::move(stem));
            }
        }
        for (std::string& base : WholeWordCandidates(Language(locale), lower, capital)) {
            AddUnique(&candidates, noun ? Capitalized(base) : std::move(base));
        }
    } else {
        for (std::string& base : BaseCandidates(locale, shed.base, options, tools)) {
            AddUnique(&candidates, std::move(base));
        }
    }
    FindForms(lexicon, candidates, options, &answer);
    if (answer.how == How::kNone && options.suggestions) {
        answer.suggestions = tools.Suggestions(lexicon, locale, shed.bare, options);
        if (!answer.suggestions.empty()) answer.how = How::kSuggestion;
    }
    return answer;
}

}  // namespace forms
