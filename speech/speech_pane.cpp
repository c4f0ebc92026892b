#include "speech/speech_pane.h"

#include <cctype>

#include "platform/locale.h"
#include "speech/espeak_ng_engine.h"
#include "speech/speech_dispatcher_engine.h"
#include "speech/unavailable_engine.h"

namespace speech {

SpeechPane::SpeechPane(AudioSinkFactory sinks)
    : SpeechPane(std::make_unique<SpeechDispatcherEngine>(),
                 std::make_unique<EspeakNgEngine>(std::move(sinks)),
                 std::make_unique<UnavailableEngine>()) {}

SpeechPane::SpeechPane(std::unique_ptr<SpeechEngine> sapi5, std::unique_ptr<SpeechEngine> espeak,
                       std::unique_ptr<SpeechEngine> sapi4)
    : sapi5_(std::move(sapi5)), espeak_(std::move(espeak)), sapi4_(std::move(sapi4)) {}

SpeechPane::~SpeechPane() {
    // eSpeak's thread must end before anything it uses goes away.
    espeak_->Shutdown();
    sapi5_->Shutdown();
    sapi4_->Shutdown();
}

SpeechEngine& SpeechPane::engine(EngineKind kind) {
    switch (kind) {
        case EngineKind::kSapi5:
            return *sapi5_;
        case EngineKind::kEspeak:
            return *espeak_;
        case EngineKind::kSapi4:
            break;
    }
    return *sapi4_;
}

void SpeechPane::SetLocales(std::uint32_t primary_lcid, std::uint32_t secondary_lcid) {
    lcids_[0] = primary_lcid;
    lcids_[1] = secondary_lcid;
}

void SpeechPane::SetCodePages(std::uint32_t primary, std::uint32_t secondary) {
    code_pages_[0] = primary;
    code_pages_[1] = secondary;
}

EngineStartReport SpeechPane::StartEngines() {
    EngineStartReport report;
    const auto used = [&](EngineSettings ListSpeechSettings::*field) {
        return (settings_.lists[0].*field).use != 0 || (settings_.lists[1].*field).use != 0;
    };
    const struct {
        EngineKind kind;
        EngineSettings ListSpeechSettings::*field;
    } order[] = {{EngineKind::kSapi5, &ListSpeechSettings::sapi5},
                 {EngineKind::kEspeak, &ListSpeechSettings::espeak},
                 {EngineKind::kSapi4, &ListSpeechSettings::sapi4}};
    for (const auto& e : order) {
        if (!used(e.field)) continue;
        report.any_used = true;
        SpeechEngine& eng = engine(e.kind);
        if (!eng.started() && !eng.Start()) report.failed.push_back(e.kind);
    }
    return report;
}

bool SpeechPane::SelectEspeakVoice(SpeechList list, const std::string& stored) {
    if (!stored.empty()) return espeak_->SelectVoice(stored);
    for (const std::string& name : EspeakVoicesForLocale(lcids_[static_cast<int>(list)])) {
        if (espeak_->SelectVoice(name)) return true;
    }
    return false;
}

bool SpeechPane::SpeakWord(SpeechList list, std::string_view word) {
    const ListSpeechSettings& s = settings_.of(list);
    const int i = static_cast<int>(list);
    const std::uint32_t code_page =
        code_pages_[i] != 0 ? code_pages_[i] : platform::CodePageOf(lcids_[i]);
    if (s.sapi5.use != 0 && sapi5_->started()) {
        if (!sapi5_->SelectVoice(s.sapi5.voice_id) || !sapi5_->SetVolume(s.sapi5.volume) ||
            !sapi5_->SetSpeed(SpeechDispatcherEngine::RateFromSpeed(s.sapi5.speed))) {
            return false;
        }
        sapi5_->Speak(word, code_page);
        return true;
    }
    if (s.espeak.use != 0 && espeak_->started()) {
        if (!SelectEspeakVoice(list, s.espeak.voice_id) || !espeak_->SetVolume(s.espeak.volume) ||
            !espeak_->SetSpeed(s.espeak.speed) || !espeak_->SetPitch(s.espeak.pitch)) {
            return false;
        }
        espeak_->Speak(word, code_page);
        return true;
    }
    if (s.sapi4.use != 0 && sapi4_->started()) {
        if (!sapi4_->SelectVoice(s.sapi4.voice_id) || !sapi4_->SetSpeed(s.sapi4.speed) ||
            !sapi4_->SetPitch(s.sapi4.pitch) || !sapi4_->SetVolume(s.sapi4.volume)) {
            return false;
        }
        sapi4_->Speak(word, code_page);
    }
    return true;
}

void SpeechPane::Stop() { espeak_->Stop(); }

std::vector<std::string> EspeakVoicesForLocale(std::uint32_t lcid) {
    std::vector<std::string> names;
    std::string locale = platform::IcuLocaleName(lcid);
    for (char& c : locale) {
        c = c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (!locale.empty()) {
        names.push_back(locale);
        const std::size_t dash = locale.find('-');
        if (dash != std::string::npos && dash > 0) names.push_back(locale.substr(0, dash));
    }
    names.push_back("default");
    return names;
}

}  // namespace speech
