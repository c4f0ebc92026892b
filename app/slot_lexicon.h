// SlotLexicon: one list of a loaded dictionary slot as the word-form
// analysis (forms/) sees it: exact translations under the search switches,
// and the list's words for suggestions, in UTF-8.
//
// Use it on the worker thread with the engine lock held, as any job does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/dictionary_slot.h"
#include "forms/lexicon.h"
#include "forms/suggestions.h"

namespace wordbay {

class SlotLexicon : public forms::Lexicon {
public:
    SlotLexicon(const DictionarySlot& slot, ListSide side, bool case_sensitive,
                bool ignore_accents);

    std::vector<std::string> Translations(std::string_view word) override;
    void ForEachWord(const std::function<void(std::string_view)>& visit) override;

    // The ICU locale of the list's language ("en_US"), for the analysis.
    std::string locale() const;

private:
    const DictionarySlot& slot_;
    const ListSide side_;
    const int case_sensitive_;
    const int ignore_accents_;
    std::vector<const char*> output_;
};

// The suggestion indexes of the lists of both slots, each built when first
// needed and dropped when its dictionary changes.
class SuggestionIndexes {
public:
    // The index of `side` of slot `id` for dictionary generation `generation`.
    forms::SuggestionIndex* For(SlotId id, ListSide side, unsigned generation);

private:
    forms::SuggestionIndex indexes_[2][2];
    unsigned generations_[2][2] = {};
};

}  // namespace wordbay
