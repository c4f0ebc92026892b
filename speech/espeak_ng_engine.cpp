#include "speech/espeak_ng_engine.h"

#include <espeak-ng/speak_lib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "platform/code_page.h"
#include "platform/collation.h"

namespace speech {
namespace {

// Guards every call into eSpeak and the two values below.
std::mutex& LibraryMutex() {
    static std::mutex mutex;
    return mutex;
}
int g_sample_rate = 0;  // what espeak_Initialize returned; 0 before

int OnSynth(short* samples, int count, espeak_EVENT* events) {
    if (events == nullptr || events->user_data == nullptr) return 0;
    return static_cast<EspeakNgEngine*>(events->user_data)->Deliver(samples, count);
}

// Widens UTF-16 to wchar_t (UTF-32 here), joining surrogate pairs.
std::wstring ToWide(std::u16string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        out.push_back(static_cast<wchar_t>(c));
    }
    return out;
}

}  // namespace

EspeakNgEngine::EspeakNgEngine(AudioSinkFactory sinks, std::string data_dir)
    : sinks_(std::move(sinks)), data_dir_(std::move(data_dir)) {}

EspeakNgEngine::~EspeakNgEngine() { Shutdown(); }

std::string EspeakNgEngine::DefaultDataDir() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const std::filesystem::path dir = exe.parent_path() / "speak";
    if (std::filesystem::exists(dir / "espeak-ng-data" / "phontab", error)) return dir.string();
    return {};
}

bool EspeakNgEngine::Start() {
    Shutdown();
    std::lock_guard lock(LibraryMutex());
    if (g_sample_rate == 0) {
        // DONT_EXIT: missing data is a failed start, not the end of the program.
        const int rate = espeak_Initialize(
            AUDIO_OUTPUT_SYNCHRONOUS, 100, data_dir_.empty() ? nullptr : data_dir_.c_str(),
            espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_DONT_EXIT);
        if (rate <= 0) return false;
        g_sample_rate = rate;
        espeak_SetSynthCallback(OnSynth);
    }
    sample_rate_ = g_sample_rate;
    initialised_ = true;
    return true;
}

void EspeakNgEngine::Shutdown() {
    if (!initialised_) return;
    Stop();
    initialised_ = false;
    voice_.clear();
    speed_ = volume_ = pitch_ = -1;
}

bool EspeakNgEngine::ListVoices(std::vector<SpeechVoice>* voices) {
    voices->clear();
    if (!initialised_) return false;
    {
        std::lock_guard lock(LibraryMutex());
        const espeak_VOICE** list = espeak_ListVoices(nullptr);
        for (int i = 0; list != nullptr && list[i] != nullptr; ++i) {
            if (list[i]->name == nullptr) continue;
            voices->push_back({list[i]->name, list[i]->name});
        }
    }
    std::stable_sort(voices->begin(), voices->end(),
                     [](const SpeechVoice& a, const SpeechVoice& b) {
                         return platform::CompareText(0, 0, a.id, b.id) < 0;
                     });
    return !voices->empty();
}

bool EspeakNgEngine::SelectVoice(std::string_view name) {
    if (!initialised_ || name.empty()) return false;
    const std::string copy(name);
    std::lock_guard lock(LibraryMutex());
    if (espeak_SetVoiceByName(copy.c_str()) != EE_OK) return false;
    voice_ = copy;
    return true;
}

std::string EspeakNgEngine::CurrentVoiceName() {
    if (!initialised_) return {};
    std::lock_guard lock(LibraryMutex());
    const espeak_VOICE* voice = espeak_GetCurrentVoice();
    return voice != nullptr && voice->name != nullptr ? voice->name : std::string();
}

bool EspeakNgEngine::SetSpeed(int words_per_minute) {
    if (!initialised_) return false;
    std::lock_guard lock(LibraryMutex());
    if (espeak_SetParameter(espeakRATE, words_per_minute, 0) != EE_OK) return false;
    speed_ = words_per_minute;
    return true;
}

bool EspeakNgEngine::SetVolume(int percent) {
    if (!initialised_) return false;
    std::lock_guard lock(LibraryMutex());
    if (espeak_SetParameter(espeakVOLUME, percent, 0) != EE_OK) return false;
    volume_ = percent;
    return true;
}

bool EspeakNgEngine::SetPitch(int pitch) {
    if (!initialised_) return false;
    std::lock_guard lock(LibraryMutex());
    if (espeak_SetParameter(espeakPITCH, pitch, 0) != EE_OK) return false;
    pitch_ = pitch;
    return true;
}

bool EspeakNgEngine::ApplySettingsLocked() {
    if (!voice_.empty() && espeak_SetVoiceByName(voice_.c_str()) != EE_OK) return false;
    if (speed_ >= 0 && espeak_SetParameter(espeakRATE, speed_, 0) != EE_OK) return false;
    if (volume_ >= 0 && espeak_SetParameter(espeakVOLUME, volume_, 0) != EE_OK) return false;
    if (pitch_ >= 0 && espeak_SetParameter(espeakPITCH, pitch_, 0) != EE_OK) return false;
    return true;
}

bool EspeakNgEngine::Speak(std::string_view text, std::uint32_t code_page) {
    Stop();
    if (!initialised_) return false;
    std::wstring wide = ToWide(platform::DecodeToUtf16(code_page, text));
    stop_ = false;
    thread_ = std::thread(&EspeakNgEngine::SpeakOnThread, this, std::move(wide));
    return true;
}

void EspeakNgEngine::SpeakOnThread(std::wstring text) {
    std::unique_ptr<AudioSink> sink = sinks_ ? sinks_() : nullptr;
    // No output (no sound server): the utterance is dropped silently.
    if (sink == nullptr || !sink->Open(sample_rate_)) return;
    {
        std::lock_guard lock(LibraryMutex());
        if (!stop_ && ApplySettingsLocked()) {
            sink_ = sink.get();
            sink_failed_ = false;
            espeak_Synth(text.c_str(), (text.size() + 1) * sizeof(wchar_t), 0, POS_CHARACTER, 0,
                         espeakCHARS_WCHAR | espeakPHONEMES | espeakKEEP_NAMEDATA, nullptr, this);
            sink_ = nullptr;
        }
    }
    sink->Close(stop_ || sink_failed_);
}

int EspeakNgEngine::Deliver(const short* samples, int count) {
    if (stop_) return 1;
    if (samples == nullptr || count <= 0 || sink_ == nullptr) return 0;
    if (!sink_->Write({samples, static_cast<std::size_t>(count)})) {
        // The output is gone; synthesising the rest would be wasted.
        sink_failed_ = true;
        return 1;
    }
    return stop_ ? 1 : 0;
}

void EspeakNgEngine::Stop() {
    if (!initialised_) return;
    stop_ = true;
    // The synthesis ran on the joined thread and the callback aborted it, so
    // nothing is left for espeak_Cancel, which in synchronous mode waits on
    // eSpeak's queue thread and hangs once the library has been restarted.
    if (thread_.joinable()) thread_.join();
}

void EspeakNgEngine::WaitUntilDone() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace speech
