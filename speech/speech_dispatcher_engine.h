// The engine of the settings' first choice ("sapi5"), served by
// speech-dispatcher: its voices are the server's synthesis voices (id = voice
// name, display name = name and language), and speaking is asynchronous
// inside the server. Without a reachable server the engine does not start.
#pragma once

#include "speech/speech_engine.h"

namespace speech {

class SpeechDispatcherEngine final : public SpeechEngine {
public:
    // `autospawn` lets the library start a server that is installed but not
    // running.
    explicit SpeechDispatcherEngine(bool autospawn = true) : autospawn_(autospawn) {}
    ~SpeechDispatcherEngine() override;
    SpeechDispatcherEngine(const SpeechDispatcherEngine&) = delete;
    SpeechDispatcherEngine& operator=(const SpeechDispatcherEngine&) = delete;

    bool Start() override;
    void Shutdown() override;
    bool started() const override { return connection_ != nullptr; }

    bool ListVoices(std::vector<SpeechVoice>* voices) override;
    // An empty id keeps the server's default voice.
    bool SelectVoice(std::string_view id) override;
    // Rate -10..10, clamped.
    bool SetSpeed(int rate) override;
    // Percent 0..100, clamped.
    bool SetVolume(int percent) override;
    // Stored only: the pitch has no effect on this engine.
    bool SetPitch(int pitch) override;
    bool Speak(std::string_view text, std::uint32_t code_page) override;
    // Speech runs to its end once handed to the server.
    void Stop() override {}

    // The rate a stored speed (rate + 10) stands for, clamped to -10..10.
    static int RateFromSpeed(int speed);

private:
    bool autospawn_;
    // The SPDConnection; libspeechd's type is an unnamed struct that a
    // header cannot declare ahead.
    void* connection_ = nullptr;
    std::vector<SpeechVoice> voices_;
    std::string current_voice_;
};

}  // namespace speech
