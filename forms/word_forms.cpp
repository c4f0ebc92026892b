#include "forms/word_forms.h"

#include <algorithm>
#include <memory>

#include "forms/selection.h"
#include "forms/speller.h"

namespace forms {
namespace {

bool SameFolded(std::string_view a, std::string_view b) { return LowerCase(a) == LowerCase(b); }

std::vector<std::string> Suggest(Lexicon& lexicon, std::string_view locale, const std::string& word,
                                 const Options& options, SuggestionIndex* index) {
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
    std::vector<std::string> suggestions;
    for (Pick& p : picks) {
        if (suggestions.size() >= options.max_suggestions) break;
        suggestions.push_back(std::move(p.word));
    }
    return suggestions;
}

// The language's installed speller and the list's suggestion index.
class SpellerTools : public LanguageTools {
public:
    explicit SpellerTools(SuggestionIndex* index) : index_(index) {}

    std::vector<std::string> SpellerStems(std::string_view locale, std::string_view word) override {
        if (const std::shared_ptr<Speller> speller = Speller::Of(locale))
            return speller->Stems(word);
        return {};
    }
    std::vector<std::string> Suggestions(Lexicon& lexicon, std::string_view locale,
                                         const std::string& word, const Options& options) override {
        return Suggest(lexicon, locale, word, options, index_);
    }

private:
    SuggestionIndex* index_;
};

}  // namespace

std::vector<std::string> BaseCandidates(std::string_view locale, std::string_view word,
                                        const Options& options) {
    SpellerTools tools(nullptr);
    return BaseCandidates(locale, word, options, tools);
}

Answer LookUp(Lexicon& lexicon, std::string_view locale, std::string_view selection,
              const Options& options, SuggestionIndex* index) {
    SpellerTools tools(index);
    return Analyse(lexicon, locale, selection, options, tools);
}

}  // namespace forms
