// Speaks through libespeak-ng in synchronous mode: eSpeak hands its samples to
// a callback on the thread that speaks, which queues them to an AudioSink.
// Every utterance runs on its own thread; speaking stops the previous
// utterance first and stopping waits for its thread to end.
//
// eSpeak is one instance per process, so the library is initialised by the
// first started engine and stays so until the process ends (its queue thread
// hangs when the library is terminated and initialised again), and every
// call into it is made under one process-wide lock. Each engine keeps its own
// voice and parameters and applies them just before it synthesises, so two
// panes with different voices do not hear each other's settings.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "speech/audio_sink.h"
#include "speech/speech_engine.h"

namespace speech {

class EspeakNgEngine final : public SpeechEngine {
public:
    // `data_dir` holds "espeak-ng-data"; empty uses the system's data.
    explicit EspeakNgEngine(AudioSinkFactory sinks, std::string data_dir = DefaultDataDir());
    ~EspeakNgEngine() override;
    EspeakNgEngine(const EspeakNgEngine&) = delete;
    EspeakNgEngine& operator=(const EspeakNgEngine&) = delete;

    bool Start() override;
    void Shutdown() override;
    bool started() const override { return initialised_; }

    // eSpeak's voices sorted by name in the user's collation; id and display
    // name are both the voice name.
    bool ListVoices(std::vector<SpeechVoice>* voices) override;
    bool SelectVoice(std::string_view name) override;
    bool SetSpeed(int words_per_minute) override;
    bool SetVolume(int percent) override;
    bool SetPitch(int pitch) override;
    bool Speak(std::string_view text, std::uint32_t code_page) override;
    void Stop() override;

    // Waits until the utterance in progress has been spoken to its end.
    void WaitUntilDone();

    // The name of the voice eSpeak has selected, empty when stopped.
    std::string CurrentVoiceName();

    // "<program dir>/speak" when it holds eSpeak data, else empty.
    static std::string DefaultDataDir();

    // Receives samples from eSpeak on the speaking thread. Returns 1 to make
    // eSpeak abort the utterance.
    int Deliver(const short* samples, int count);

private:
    void SpeakOnThread(std::wstring text);
    bool ApplySettingsLocked();

    AudioSinkFactory sinks_;
    std::string data_dir_;
    bool initialised_ = false;
    int sample_rate_ = 0;
    std::string voice_;
    int speed_ = -1;
    int volume_ = -1;
    int pitch_ = -1;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    AudioSink* sink_ = nullptr;  // the speaking thread's sink while it synthesises
    bool sink_failed_ = false;
};

}  // namespace speech
