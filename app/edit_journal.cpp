#include "app/edit_journal.h"

#include <algorithm>
#include <cstring>

#include "app/dictionary_slot.h"

namespace wordbay {
namespace {

// A word's translations are at most 65,535 (their count has 16 bits).
constexpr std::size_t kMostTranslations = 0xFFFF;

std::vector<std::string> TranslationsOf(DB_HANDLE db, ListSide side, const std::string& word) {
    std::vector<const char*> out(64);
    for (;;) {
        const DB_RESULT* r = DB_Translate(db, EngineDirection(side), word.c_str(), 1, 0, out.data(),
                                          static_cast<std::int32_t>(out.size()));
        if (r->status == 0) return {};
        const auto count = static_cast<std::size_t>(r->count);
        if (count < out.size() || out.size() > kMostTranslations) {
            return std::vector<std::string>(out.begin(), out.begin() + count);
        }
        out.resize(std::min(out.size() * 16, kMostTranslations + 1));
    }
}

using Edit = EditJournal::Edit;
using Kind = EditJournal::Kind;

Edit NewEdit(Kind kind, ListSide side = ListSide::kPrimary, std::vector<std::string> words = {}) {
    Edit edit;
    edit.kind = kind;
    edit.side = side;
    edit.words = std::move(words);
    return edit;
}

}  // namespace

WordState ReadWordState(DB_HANDLE db, ListSide side, const std::string& word) {
    WordState state;
    // Changing a word into itself answers whether the list holds it, and
    // changes nothing.
    state.exists = !word.empty() &&
                   DB_ChangeWord(db, EngineList(side), word.c_str(), word.c_str())->status != 0;
    if (state.exists) state.translations = TranslationsOf(db, side, word);
    return state;
}

bool SameDescription(const DICTIONARY_INFO& a, const DICTIONARY_INFO& b) {
    const auto same = [](const char* x, const char* y, std::size_t size) {
        return strncmp(x, y, size) == 0;
    };
    return same(a.name, b.name, sizeof a.name) && same(a.author, b.author, sizeof a.author) &&
           same(a.description, b.description, sizeof a.description) &&
           same(a.primary_list_name, b.primary_list_name, sizeof a.primary_list_name) &&
           same(a.secondary_list_name, b.secondary_list_name, sizeof a.secondary_list_name) &&
           a.primary_locale == b.primary_locale && a.secondary_locale == b.secondary_locale &&
           a.primary_charset == b.primary_charset && a.secondary_charset == b.secondary_charset;
}

void EditJournal::Touch(DB_HANDLE db, Edit* edit, ListSide side, const std::string& word) {
    WordRef ref{side, word};
    if (first_.find(ref) == first_.end()) first_.emplace(ref, ReadWordState(db, side, word));
    if (std::find(edit->touched.begin(), edit->touched.end(), ref) == edit->touched.end()) {
        edit->touched.push_back(std::move(ref));
    }
}

void EditJournal::TouchWithPartners(DB_HANDLE db, Edit* edit, ListSide side,
                                    const std::string& word) {
    Touch(db, edit, side, word);
    for (const std::string& partner : ReadWordState(db, side, word).translations) {
        Touch(db, edit, Other(side), partner);
    }
}

void EditJournal::AddTranslation(DB_HANDLE db, const std::string& primary,
                                 const std::string& secondary) {
    Edit edit = NewEdit(Kind::kAddTranslation, ListSide::kPrimary, {primary, secondary});
    Touch(db, &edit, ListSide::kPrimary, primary);
    Touch(db, &edit, ListSide::kSecondary, secondary);
    edits_.push_back(std::move(edit));
}

void EditJournal::DeleteTranslation(DB_HANDLE db, const std::string& primary,
                                    const std::string& secondary) {
    Edit edit = NewEdit(Kind::kDeleteTranslation, ListSide::kPrimary, {primary, secondary});
    Touch(db, &edit, ListSide::kPrimary, primary);
    Touch(db, &edit, ListSide::kSecondary, secondary);
    edits_.push_back(std::move(edit));
}

void EditJournal::DeleteWord(DB_HANDLE db, ListSide side, const std::string& word) {
    Edit edit = NewEdit(Kind::kDeleteWord, side, {word});
    Touch(db, &edit, side, word);
    edits_.push_back(std::move(edit));
}

void EditJournal::ChangeWord(DB_HANDLE db, ListSide side, const std::string& old_word,
                             const std::string& new_word) {
    Edit edit = NewEdit(Kind::kChangeWord, side, {old_word, new_word});
    // The translations of both words name them: their own lists change.
    TouchWithPartners(db, &edit, side, old_word);
    TouchWithPartners(db, &edit, side, new_word);
    edits_.push_back(std::move(edit));
}

void EditJournal::SwapTranslations(DB_HANDLE db, ListSide side, const std::string& word,
                                   const std::string& first, const std::string& second) {
    Edit edit = NewEdit(Kind::kSwapTranslations, side, {word, first, second});
    Touch(db, &edit, side, word);
    edits_.push_back(std::move(edit));
}

void EditJournal::SetDescription(const DICTIONARY_INFO& before, const DICTIONARY_INFO& after) {
    if (SameDescription(before, after)) return;
    if (!described_) {
        described_ = true;
        first_description_ = before;
    }
    Edit edit = NewEdit(Kind::kSetDescription);
    edit.info = after;
    edits_.push_back(std::move(edit));
}

void EditJournal::Resort(ListSide side, std::uint32_t locale) {
    Edit edit = NewEdit(Kind::kResort, side);
    edit.locale = locale;
    edits_.push_back(std::move(edit));
}

void EditJournal::Drop() {
    if (!edits_.empty()) edits_.pop_back();
}

void EditJournal::Clear() {
    edits_.clear();
    first_.clear();
    described_ = false;
    first_description_ = DICTIONARY_INFO{};
    mergeable_ = true;
}

}  // namespace wordbay
