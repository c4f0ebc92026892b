#include "app/text_translator.h"

#include <algorithm>
#include <chrono>

#include "forms/selection.h"
#include "forms/word_forms.h"
#include "platform/code_page.h"

namespace wordbay {
namespace {

constexpr std::int64_t kProgressPeriodMs = 300;

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Holds the engine lock of a run, when it has one.
class EngineGuard {
public:
    explicit EngineGuard(std::mutex* lock) : lock_(lock) {
        if (lock_ != nullptr) lock_->lock();
    }
    ~EngineGuard() {
        if (lock_ != nullptr) lock_->unlock();
    }
    EngineGuard(const EngineGuard&) = delete;
    EngineGuard& operator=(const EngineGuard&) = delete;

private:
    std::mutex* lock_;
};

std::size_t Capacity(std::int32_t limit) { return static_cast<std::size_t>(std::max(limit, 1)); }

}  // namespace

TextLookup::TextLookup(const TextLookupSetup& setup)
    : setup_(setup)
    , results_(Capacity(setup.main_limit) + 1)
    , dual_words_(setup.link ? Capacity(setup.dual_limit) + 1 : 0) {}

bool TextLookup::Main(const std::string& phrase) {
    const EngineGuard guard(setup_.engine_lock);
    if (setup_.generation != nullptr && *setup_.generation != setup_.generation_taken) {
        stale_ = true;
    }
    if (stale_) {
        count_ = 0;
        return false;
    }
    const DB_RESULT* r = DB_Translate(setup_.main, setup_.main_direction, phrase.c_str(),
                                      setup_.case_sensitive, setup_.ignore_accents, results_.data(),
                                      static_cast<int32_t>(results_.size()) - 1);
    count_ =
        r->status != 0 ? std::clamp<int>(r->count, 0, static_cast<int>(results_.size()) - 1) : 0;
    if (count_ == 0 && !setup_.forms_locale.empty()) BaseWords(phrase);
    return count_ > 0;
}

bool TextLookup::BaseWords(const std::string& word) {
    if (word.find(' ') != std::string::npos) return false;
    const std::string utf8 = platform::DecodeToUtf8(setup_.source_code_page, word);
    forms::Options options;
    options.suggestions = false;
    std::vector<std::string> candidates;
    const forms::ShedWord shed = forms::Shed(utf8);
    if (shed.base != shed.bare) candidates.push_back(shed.base);
    for (std::string& c : forms::BaseCandidates(setup_.forms_locale, shed.base, options)) {
        candidates.push_back(std::move(c));
    }
    // A few tries are enough: the likeliest candidates come first.
    constexpr std::size_t kMaxTries = 24;
    for (std::size_t i = 0; i < candidates.size() && i < kMaxTries; ++i) {
        bool lossy = false;
        const std::string encoded =
            platform::EncodeFromUtf8(setup_.source_code_page, candidates[i], &lossy);
        if (lossy || encoded.empty()) continue;
        const DB_RESULT* r = DB_Translate(
            setup_.main, setup_.main_direction, encoded.c_str(), setup_.case_sensitive,
            setup_.ignore_accents, results_.data(), static_cast<int32_t>(results_.size()) - 1);
        if (r->status == 0) continue;
        count_ = std::clamp<int>(r->count, 0, static_cast<int>(results_.size()) - 1);
        if (count_ > 0) return true;
    }
    return false;
}

bool TextLookup::Link() {
    if (!setup_.link || setup_.dual == nullptr) return false;
    const EngineGuard guard(setup_.engine_lock);
    if (stale_ || (setup_.generation != nullptr && *setup_.generation != setup_.generation_taken)) {
        stale_ = true;
        return false;
    }
    const std::int32_t direction = setup_.dual_list == DB_PRIMARY_LIST
                                       ? DB_TRANS_PRIMARY_TO_SECONDARY
                                       : DB_TRANS_SECONDARY_TO_PRIMARY;
    const std::int32_t room = static_cast<std::int32_t>(dual_words_.size()) - 1;
    for (int i = 0; i < count_; ++i) {
        // The dual words go to their own array: the main results must stay
        // intact while they are walked.
        const DB_RESULT* listed =
            DB_List(setup_.dual, setup_.dual_list, results_[i], setup_.case_sensitive,
                    setup_.ignore_accents, DB_LIST_WILDCARDS, dual_words_.data(), room);
        if (listed->status == 0 || listed->count < 1) continue;
        const char* dual_word = dual_words_[0];
        const DB_RESULT* r = DB_Translate(setup_.dual, direction, dual_word, setup_.case_sensitive,
                                          setup_.ignore_accents, results_.data(), 1);
        count_ = r->status != 0 && r->count > 0 ? 1 : 0;
        return true;
    }
    return false;
}

void TextTranslator::Stop() {
    done_ = true;
    stopped_ = true;
    Act(TextAction::kStop);
}

void TextTranslator::Act(TextAction action, std::string chosen) {
    {
        std::lock_guard lock(mutex_);
        action_ = action;
        chosen_ = std::move(chosen);
        signalled_ = true;
    }
    signal_.notify_one();
}

std::string_view TextTranslator::Begin(std::string_view text, std::size_t* from, std::size_t* to) {
    *to = std::min(*to, text.size());
    *from = std::min(*from, *to);
    done_ = false;
    stopped_ = false;
    std::lock_guard lock(mutex_);
    signalled_ = false;
    last_progress_ms_ = 0;
    return text.substr(0, *to);
}

PhraseSearch TextTranslator::NextPhrase(std::string_view region, std::size_t pos, int depth,
                                        const WordCharacters& chars, TextLookup& lookup) {
    PhraseSearch search = SearchPhrase(region, pos, depth, chars,
                                       [&lookup](const std::string& p) { return lookup.Main(p); });
    if (lookup.stale()) {
        // The dictionaries changed under the run: it ends, copying nothing more.
        stopped_ = true;
        search.phrase.reset();
    }
    if (!search.phrase) done_ = true;
    return search;
}

TextAction TextTranslator::WaitAction(std::string* chosen) {
    std::unique_lock lock(mutex_);
    signal_.wait(lock, [this] { return signalled_; });
    signalled_ = false;
    *chosen = std::move(chosen_);
    return action_;
}

void TextTranslator::ReportProgress(std::size_t end, std::size_t from, std::size_t to,
                                    TextTranslationView& view, bool force) {
    const std::int64_t now = NowMs();
    if (!force && now - last_progress_ms_ < kProgressPeriodMs) return;
    last_progress_ms_ = now;
    const std::size_t length = to > from ? to - from : 1;
    view.SetProgress(static_cast<int>((std::min(end, to) - from) * 100 / length));
}

void TextTranslator::RunFast(std::string_view text, std::size_t from, std::size_t to, int depth,
                             const WordCharacters& chars, TextLookup& lookup,
                             TextTranslationView& view) {
    const std::string_view region = Begin(text, &from, &to);
    std::size_t pos = from;
    while (!done_) {
        const PhraseSearch search = NextPhrase(region, pos, depth, chars, lookup);
        if (!search.phrase) break;
        const Phrase& phrase = *search.phrase;
        bool translated = search.found;
        if (translated && lookup.link()) translated = lookup.Link();
        view.ShowPosition(phrase);
        view.AppendOriginal(region.substr(pos, phrase.start - pos));
        if (translated && lookup.count() > 0) {
            view.AppendTranslation(lookup.results()[0]);
        } else {
            view.AppendOriginal(phrase.text);
        }
        ReportProgress(phrase.end, from, to, view, false);
        pos = phrase.end;
    }
    if (!stopped_) view.AppendOriginal(region.substr(pos));
}

void TextTranslator::RunStep(std::string_view text, std::size_t from, std::size_t to, int depth,
                             const WordCharacters& chars, TextLookup& lookup,
                             TextTranslationView& view) {
    const std::string_view region = Begin(text, &from, &to);
    std::size_t pos = from;
    std::size_t last_end = from;
    while (!done_) {
        const PhraseSearch search = NextPhrase(region, pos, depth, chars, lookup);
        if (!search.phrase) break;
        const Phrase& phrase = *search.phrase;
        // Copy what lies between phrases only after a phrase was written.
        TextAction previous;
        {
            std::lock_guard lock(mutex_);
            previous = action_;
        }
        if (search.found && lookup.link()) lookup.Link();
        const int count = search.found ? lookup.count() : 0;
        view.AskPhrase(phrase, lookup.results(), count);
        if (previous == TextAction::kInsertTranslation || previous == TextAction::kInsertOriginal) {
            view.AppendOriginal(region.substr(last_end, phrase.start - last_end));
        }
        last_end = phrase.end;
        std::string chosen;
        const TextAction action = WaitAction(&chosen);
        if (action == TextAction::kStop) {
            done_ = true;
            stopped_ = true;
            break;
        }
        if (action == TextAction::kInsertTranslation) {
            view.AppendTranslation(chosen);
        } else if (action == TextAction::kInsertOriginal) {
            view.AppendOriginal(phrase.text);
        }
        ReportProgress(phrase.end, from, to, view, false);
        pos = phrase.end;
    }
    if (!stopped_) view.AppendOriginal(region.substr(last_end));
}

}  // namespace wordbay
