// The engine behind the settings' third choice ("sapi4"), which has no engine
// on this system: starting fails and keeps the first error text of its
// start-up, so the user hears the other engines and sees that this one
// cannot be activated.
#pragma once

#include "speech/speech_engine.h"

namespace speech {

class UnavailableEngine final : public SpeechEngine {
public:
    bool Start() override;
    void Shutdown() override {}
    bool started() const override { return false; }

    bool ListVoices(std::vector<SpeechVoice>* voices) override;
    bool SelectVoice(std::string_view name) override;
    bool SetSpeed(int) override { return false; }
    bool SetVolume(int) override { return false; }
    bool SetPitch(int) override { return false; }
    bool Speak(std::string_view, std::uint32_t) override { return false; }
    void Stop() override {}

    // Selects a mode by its position in the mode list.
    bool SelectMode(int index);

    // The text of the last failure; never shown to the user.
    const std::string& last_error() const { return last_error_; }

private:
    std::string last_error_;
};

}  // namespace speech
