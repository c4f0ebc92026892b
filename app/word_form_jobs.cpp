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

bool WordFormJobs::Enabled(SlotId id) const {
    // The main dictionary's source side is where words from running text go.
    return id == SlotId::kMain && c_.slot(id).loaded() && c_.slot(id).settings().word_forms;
}

void WordFormJobs::Show(const WordFormsNote& note) {
    c_.view().ShowWordForms(note);
    shown_ = true;
}

void WordFormJobs::Clear(bool hot_key) {
    c_.SetWordFormsStatus({});
    // The hot-key window is emptied by every hot-key search anyway; the
    // handover to the window is spared while nothing was said.
    if (!shown_) return;
    WordFormsNote cleared;
    cleared.hot_key = hot_key;
    c_.view().ShowWordForms(cleared);
    shown_ = false;
}

void WordFormJobs::PreloadSpellers(const DictionarySlot& slot) {
    if (!slot.loaded() || !slot.settings().word_forms) return;
    for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
        forms::Speller::Preload(platform::IcuLocaleName(slot.Locale(side)));
    }
}

bool WordFormJobs::GoToBaseWord(SlotId id, ListSide side, const std::string& text, bool suggest) {
    if (!Enabled(id) || side != c_.slot(id).source_side()) return false;
    const SearchOptions o = c_.options();
    DictionarySlot& s = c_.slot(id);
    const bool pending = c_.hot_key_pending().load();
    SlotLexicon lexicon(s, side, o.case_sensitive, o.ignore_accents);
    forms::Options options;
    options.suggestions = suggest;
    // One word the user waits for: the speller's suggestions join the list's.
    options.speller_suggestions = true;
    const std::string typed = platform::DecodeToUtf8(s.CodePage(side), text);
    forms::SuggestionIndex* index =
        options.suggestions ? indexes_.For(id, side, c_.generation().load()) : nullptr;
    const forms::Answer a = forms::LookUp(lexicon, lexicon.locale(), typed, options, index);

    if (a.how == forms::How::kSuggestion) {
        Show(NoteOf(a, pending));
        c_.SetWordFormsStatus(Filled(TextId::MSG_NOT_FOUND_WORD, {a.query}) + ". " +
                              UiText(TextId::MSG_DID_YOU_MEAN) + ": " + Joined(a.suggestions));
        return false;
    }
    if (a.how != forms::How::kForm && a.how != forms::How::kExact) return false;

    // The list shows the words from the base word on, the base word selected.
    const std::string head = platform::EncodeFromUtf8(s.CodePage(side), a.headword);
    ResultBuffers& buffers = s.results(side);
    const DB_RESULT* r =
        DB_List(s.handle(), EngineList(side), head.c_str(), o.case_sensitive, o.ignore_accents,
                DB_LIST_PREFIX, buffers.back(), buffers.capacity());
    const int count = r->status != 0 ? r->count : 0;
    c_.Show(id, side, count);
    std::uint32_t flags = 0;
    if (!o.case_sensitive) flags |= platform::kNormIgnoreCase;
    if (o.ignore_accents) flags |= platform::kNormIgnoreNonSpace;
    const char* const* shown = buffers.front();
    int at = -1;
    for (int i = 0; i < count && i < 64 && at < 0; ++i) {
        if (platform::CompareTextIn(s.CodePage(side), s.Locale(side), flags, shown[i], head) == 0)
            at = i;
    }
    if (at < 0) return false;
    c_.view().SelectListEntry(id, side, at);
    Show(NoteOf(a, pending));
    if (a.how == forms::How::kForm) {
        c_.SetWordFormsStatus(Filled(TextId::MSG_FORM_OF, {a.query, a.headword}));
    }
    translate_(id, side);
    return true;
}

void WordFormJobs::OfferFormsBeside(SlotId id, ListSide side, const std::string& text) {
    if (!Enabled(id) || side != c_.slot(id).source_side()) return;
    const SearchOptions o = c_.options();
    DictionarySlot& s = c_.slot(id);
    SlotLexicon lexicon(s, side, o.case_sensitive, o.ignore_accents);
    forms::Options options;
    options.suggestions = false;
    const std::string typed = platform::DecodeToUtf8(s.CodePage(side), text);
    const forms::Answer a = forms::LookUp(lexicon, lexicon.locale(), typed, options, nullptr);
    if (a.forms.empty()) return;
    const bool pending = c_.hot_key_pending().load();
    Show(NoteOf(a, pending));
    std::vector<std::string> words;
    for (const forms::Form& f : a.forms) words.push_back(f.word);
    c_.SetWordFormsStatus(Filled(TextId::MSG_ALSO_FORM_OF, {a.query, Joined(words)}));
}

}  // namespace wordbay
