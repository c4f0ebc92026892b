#include "app/word_form_jobs.h"

#include "forms/speller.h"
#include "forms/word_forms.h"
#include "platform/code_page.h"
#include "platform/collation.h"
#include "platform/locale.h"

namespace wordbay {
namespace {

// Fills the "%s" places of an interface text in order.
std::string Filled(TextId id, std::initializer_list<std::string_view> values) {
    std::string text = UiText(id);
    std::size_t at = 0;
    for (const std::string_view value : values) {
        at = text.find("%s", at);
        if (at == std::string::npos) break;
        text.replace(at, 2, value);
        at += value.size();
    }
    return text;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words) out += (out.empty() ? "" : ", ") + w;
    return out;
}

WordFormsNote NoteOf(const forms::Answer& a, bool hot_key) {
    WordFormsNote note;
    note.query = a.query;
    note.hot_key = hot_key;
    if (a.how == forms::How::kForm) note.base = a.headword;
    for (const forms::Form& f : a.forms) note.forms.push_back({f.word, f.translations});
    note.suggestions = a.suggestions;
    return note;
}

}  // namespace

bool WordFormJobs::Enabled(const ListWords& r) const {
    // The main dictionary's source side is where words from running text go.
    const DictionarySlot& s = d_->slot(r.slot);
    return r.slot == SlotId::kMain && s.loaded() && r.side == s.source_side() &&
           s.settings().word_forms;
}

void WordFormJobs::Show(WordFormsNote note) {
    window_->ShowWordForms(std::move(note));
    shown_ = true;
}

void WordFormJobs::Clear(bool hot_key) {
    report_->SetWordFormsStatus({});
    // The hot-key window is emptied by every hot-key search anyway; the
    // handover to the window is spared while nothing was said.
    if (!shown_) return;
    WordFormsNote cleared;
    cleared.hot_key = hot_key;
    window_->ShowWordForms(std::move(cleared));
    shown_ = false;
}

void WordFormJobs::PreloadSpellers(const DictionarySlot& slot) {
    if (!slot.loaded() || !slot.settings().word_forms) return;
    // The language looked up from; the other one's dictionary, memory held
    // all day for a direction seldom used, loads when a look-up first needs it.
    forms::Speller::Preload(platform::IcuLocaleName(slot.Locale(slot.source_side())));
}

bool WordFormJobs::GoToBaseWord(const ListWords& r, bool suggest) {
    if (!Enabled(r)) return false;
    const SearchOptions& o = r.options;
    DictionarySlot& s = d_->slot(r.slot);
    const bool pending = r.hot_key.pending;
    SlotLexicon lexicon(s, r.side, o.case_sensitive, o.ignore_accents);
    forms::Options options;
    options.suggestions = suggest;
    // One word the user waits for: the speller's suggestions join the list's.
    options.speller_suggestions = true;
    const std::string typed = platform::DecodeToUtf8(s.CodePage(r.side), r.text);
    forms::SuggestionIndex* index =
        options.suggestions ? indexes_.For(r.slot, r.side, d_->changes().load()) : nullptr;
    const forms::Answer a = forms::LookUp(lexicon, lexicon.locale(), typed, options, index);

    if (a.how == forms::How::kSuggestion) {
        Show(NoteOf(a, pending));
        report_->SetWordFormsStatus(Filled(TextId::MSG_NOT_FOUND_WORD, {a.query}) + ". " +
                                    UiText(TextId::MSG_DID_YOU_MEAN) + ": " +
                                    Joined(a.suggestions));
        return false;
    }
    if (a.how != forms::How::kForm && a.how != forms::How::kExact) return false;

    // The list shows the words from the base word on, the base word selected.
    const std::string head = platform::EncodeFromUtf8(s.CodePage(r.side), a.headword);
    const std::shared_ptr<PointerArray> array = s.ResultArray(r.side, s.ResultRoom(r.side));
    const DB_RESULT* res =
        DB_List(s.handle(), EngineList(r.side), head.c_str(), o.case_sensitive, o.ignore_accents,
                DB_LIST_PREFIX, array->data(), static_cast<std::int32_t>(array->size()));
    const WordList words = s.Words(array, res->status != 0 ? res->count : 0, r.epoch);
    lists_->Show(r.slot, r.side, words);
    std::uint32_t flags = 0;
    if (!o.case_sensitive) flags |= platform::kNormIgnoreCase;
    if (o.ignore_accents) flags |= platform::kNormIgnoreNonSpace;
    int at = -1;
    for (int i = 0; i < words.count() && i < 64 && at < 0; ++i) {
        if (platform::CompareTextIn(s.CodePage(r.side), s.Locale(r.side), flags, words[i], head) ==
            0)
            at = i;
    }
    if (at < 0) return false;
    panes_->SelectListEntry(r.slot, r.side, at, r.epoch);
    Show(NoteOf(a, pending));
    if (a.how == forms::How::kForm) {
        report_->SetWordFormsStatus(Filled(TextId::MSG_FORM_OF, {a.query, a.headword}));
    }
    translate_({r.slot, r.side, words[at], o, r.hot_key, r.epoch});
    return true;
}

void WordFormJobs::OfferFormsBeside(const ListWords& r) {
    if (!Enabled(r)) return;
    const SearchOptions& o = r.options;
    DictionarySlot& s = d_->slot(r.slot);
    SlotLexicon lexicon(s, r.side, o.case_sensitive, o.ignore_accents);
    forms::Options options;
    options.suggestions = false;
    const std::string typed = platform::DecodeToUtf8(s.CodePage(r.side), r.text);
    const forms::Answer a = forms::LookUp(lexicon, lexicon.locale(), typed, options, nullptr);
    if (a.forms.empty()) return;
    Show(NoteOf(a, r.hot_key.pending));
    std::vector<std::string> words;
    for (const forms::Form& f : a.forms) words.push_back(f.word);
    report_->SetWordFormsStatus(Filled(TextId::MSG_ALSO_FORM_OF, {a.query, Joined(words)}));
}

}  // namespace wordbay
