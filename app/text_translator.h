// Translation of running text phrase by phrase, fast (the first translation
// of every phrase, without stopping) or step by step (the user chooses for
// every phrase). The run is the body of the text window's worker; the window
// stops it and answers its questions from the user-interface thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "app/phrase_cutter.h"
#include "engine/lexbase.h"

namespace wordbay {

// The dictionaries a run looks phrases up in.
struct TextLookupSetup {
    DB_HANDLE main = nullptr;
    std::int32_t main_direction = DB_TRANS_PRIMARY_TO_SECONDARY;
    std::int32_t main_limit = 0;  // the larger word count of the main lists
    // Link mode: each translation is looked up in the dual dictionary's list
    // `dual_list` and the first dual word found is translated further.
    bool link = false;
    DB_HANDLE dual = nullptr;
    std::int32_t dual_list = DB_PRIMARY_LIST;
    std::int32_t dual_limit = 0;  // the larger word count of the dual lists
    bool case_sensitive = false;
    bool ignore_accents = false;
    // Word forms: a single word the main dictionary lacks is looked up by its
    // base words, in the language of this ICU locale ("" for none) and the
    // code page of the main dictionary's source list.
    std::string forms_locale;
    std::uint32_t source_code_page = 0;
    // Held around every engine call when set: the handles are shared with
    // the main window's worker, and a handle serves one call at a time.
    std::mutex* engine_lock = nullptr;
    // When set, the handles are valid only while this counter, read under
    // the engine lock, still equals `generation_taken`.
    const std::atomic<unsigned>* generation = nullptr;
    unsigned generation_taken = 0;
};

// The look-ups of one run. Results point into the engines' storage and stay
// valid while neither dictionary changes.
class TextLookup {
public:
    explicit TextLookup(const TextLookupSetup& setup);

    // The translations of `phrase` in the main dictionary; true when any.
    bool Main(const std::string& phrase);
    // Replaces the results by the dual dictionary's answer for the first of
    // them that the dual dictionary holds; false, results untouched, when it
    // holds none.
    bool Link();

    // True once the dictionaries changed under the run: it must end.
    bool stale() const { return stale_; }

    const char* const* results() const { return results_.data(); }
    int count() const { return count_; }
    bool link() const { return setup_.link; }

private:
    // Looks the base words of `word` up when word forms are on.
    bool BaseWords(const std::string& word);

    TextLookupSetup setup_;
    std::vector<const char*> results_;
    std::vector<const char*> dual_words_;
    int count_ = 0;
    bool stale_ = false;
};

// What a run shows in the text window. The worker calls these.
class TextTranslationView {
public:
    virtual ~TextTranslationView() = default;
    // Appends source text (in the source list's code page) to the target pane.
    virtual void AppendOriginal(std::string_view text) = 0;
    // Appends a translation (in the target list's code page).
    virtual void AppendTranslation(std::string_view text) = 0;
    // Fast mode: the phrase being translated (caret to its start).
    virtual void ShowPosition(const Phrase& phrase) = 0;
    // Step mode: the phrase and its translations, for the user to choose.
    virtual void AskPhrase(const Phrase& phrase, const char* const* translations, int count) = 0;
    virtual void SetProgress(int percent) = 0;
};

enum class TextAction : int {
    kStop = 0,
    kInsertTranslation = 1,
    kInsertOriginal = 2,
    kSkip = 3,
};

class TextTranslator {
public:
    // User-interface thread: ends the run; a step wait ends at once and the
    // rest of the text is not copied.
    void Stop();
    // User-interface thread: answers the step wait; `chosen` is the
    // translation to insert for kInsertTranslation (the user may have looked
    // an edited phrase up again, so it need not be one the run found).
    void Act(TextAction action, std::string chosen = {});

    // Worker: translates text[from, to). `text` is the whole source text.
    void RunFast(std::string_view text, std::size_t from, std::size_t to, int depth,
                 const WordCharacters& chars, TextLookup& lookup, TextTranslationView& view);
    void RunStep(std::string_view text, std::size_t from, std::size_t to, int depth,
                 const WordCharacters& chars, TextLookup& lookup, TextTranslationView& view);

    bool running() const { return !done_; }

private:
    // Starts a run over text[from, to) (both clamped to the text); answers
    // the text up to the region's end.
    std::string_view Begin(std::string_view text, std::size_t* from, std::size_t* to);
    // The next phrase from `pos`; none when the run ends there (text used up,
    // or the dictionaries changed, which also counts as a stop).
    PhraseSearch NextPhrase(std::string_view region, std::size_t pos, int depth,
                            const WordCharacters& chars, TextLookup& lookup);
    TextAction WaitAction(std::string* chosen);
    void ReportProgress(std::size_t end, std::size_t from, std::size_t to,
                        TextTranslationView& view, bool force);

    std::atomic<bool> done_{true};
    std::atomic<bool> stopped_{false};
    std::mutex mutex_;
    std::condition_variable signal_;
    bool signalled_ = false;                 // the auto-reset action event
    TextAction action_ = TextAction::kStop;  // kept between runs
    std::string chosen_;
    std::int64_t last_progress_ms_ = 0;
};

}  // namespace wordbay
