#include "app/slot_lexicon.h"

#include "platform/code_page.h"
#include "platform/locale.h"

namespace wordbay {

SlotLexicon::SlotLexicon(const DictionarySlot& slot, ListSide side, bool case_sensitive,
                         bool ignore_accents)
    : slot_(slot)
    , side_(side)
    , case_sensitive_(case_sensitive ? 1 : 0)
    , ignore_accents_(ignore_accents ? 1 : 0)
    , output_(256) {}

std::vector<std::string> SlotLexicon::Translations(std::string_view word) {
    std::vector<std::string> out;
    if (!slot_.loaded()) return out;
    bool lossy = false;
    const std::string encoded = platform::EncodeFromUtf8(slot_.CodePage(side_), word, &lossy);
    // A word its code page can't hold is in no list of that language.
    if (lossy || encoded.empty()) return out;
    const DB_RESULT* r =
        DB_Translate(slot_.handle(), EngineDirection(side_), encoded.c_str(), case_sensitive_,
                     ignore_accents_, output_.data(), static_cast<int32_t>(output_.size()));
    if (r->status == 0) return out;
    const std::uint32_t target_page = slot_.CodePage(Other(side_));
    for (int32_t i = 0; i < r->count; ++i) {
        out.push_back(platform::DecodeToUtf8(target_page, output_[i]));
    }
    return out;
}

void SlotLexicon::ForEachWord(const std::function<void(std::string_view)>& visit) {
    if (!slot_.loaded()) return;
    std::vector<const char*> words(slot_.WordCount(side_) + 1);
    const DB_RESULT* r = DB_List(slot_.handle(), EngineList(side_), "*", 1, 0, DB_LIST_WILDCARDS,
                                 words.data(), static_cast<int32_t>(words.size()));
    if (r->status == 0) return;
    const std::uint32_t page = slot_.CodePage(side_);
    for (int32_t i = 0; i < r->count; ++i) visit(platform::DecodeToUtf8(page, words[i]));
}

std::string SlotLexicon::locale() const { return platform::IcuLocaleName(slot_.Locale(side_)); }

forms::SuggestionIndex* SuggestionIndexes::For(SlotId id, ListSide side, unsigned generation) {
    const int s = static_cast<int>(id);
    const int l = static_cast<int>(side);
    if (generations_[s][l] != generation) {
        indexes_[s][l] = forms::SuggestionIndex();
        generations_[s][l] = generation;
    }
    return &indexes_[s][l];
}

}  // namespace wordbay
