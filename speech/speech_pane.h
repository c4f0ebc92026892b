// The speech of one dictionary pane: its settings record, one engine of each
// kind, and the choice of engine for a word (SAPI5, then eSpeak, then SAPI4:
// the first whose use flag is set for the word's list and that is running).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "speech/audio_sink.h"
#include "speech/speech_engine.h"
#include "speech/speech_settings.h"

namespace speech {

enum class EngineKind { kSapi5, kEspeak, kSapi4 };

// What starting a pane's engines did.
struct EngineStartReport {
    std::vector<EngineKind> failed;  // engines a list uses that would not start
    bool any_used = false;           // some list uses some engine
};

class SpeechPane {
public:
    // A pane with the real engines; eSpeak plays through `sinks`.
    explicit SpeechPane(AudioSinkFactory sinks);
    // A pane with the given engines (tests).
    SpeechPane(std::unique_ptr<SpeechEngine> sapi5, std::unique_ptr<SpeechEngine> espeak,
               std::unique_ptr<SpeechEngine> sapi4);
    ~SpeechPane();
    SpeechPane(const SpeechPane&) = delete;
    SpeechPane& operator=(const SpeechPane&) = delete;

    SpeechSettings& settings() { return settings_; }
    SpeechEngine& engine(EngineKind kind);

    // The locales (Windows LCIDs) of the dictionary's two lists; they give
    // each list's code page and its default eSpeak voice.
    void SetLocales(std::uint32_t primary_lcid, std::uint32_t secondary_lcid);
    // The code pages of the two lists' words where they are not their
    // locales' (UTF-8 lists); 0 goes back to the locale's.
    void SetCodePages(std::uint32_t primary, std::uint32_t secondary);

    // Starts every engine that a list uses and that is not running yet.
    EngineStartReport StartEngines();

    // Speaks one 8-bit word of `list` with that list's settings. False when
    // the chosen engine refused the voice or a parameter (nothing is said);
    // true otherwise, also when no engine applies.
    bool SpeakWord(SpeechList list, std::string_view word);

    // Stops the eSpeak utterance of this pane; harmless when nothing plays.
    void Stop();

private:
    bool SelectEspeakVoice(SpeechList list, const std::string& stored);

    SpeechSettings settings_;
    std::unique_ptr<SpeechEngine> sapi5_;
    std::unique_ptr<SpeechEngine> espeak_;
    std::unique_ptr<SpeechEngine> sapi4_;
    std::uint32_t lcids_[2] = {0, 0};
    std::uint32_t code_pages_[2] = {0, 0};
};

// The eSpeak voice names to try, best first, for a list in locale `lcid`
// that has no stored voice: language and region ("hr-hr"), the language
// ("hr"), then "default".
std::vector<std::string> EspeakVoicesForLocale(std::uint32_t lcid);

}  // namespace speech
