// Plays samples through the sound server with the PulseAudio simple API.
// With no sound server Open fails and the utterance is dropped.
#pragma once

#include "speech/audio_sink.h"

struct pa_simple;

namespace speech {

class PulseAudioSink final : public AudioSink {
public:
    PulseAudioSink() = default;
    ~PulseAudioSink() override;
    PulseAudioSink(const PulseAudioSink&) = delete;
    PulseAudioSink& operator=(const PulseAudioSink&) = delete;

    bool Open(int sample_rate) override;
    bool Write(std::span<const std::int16_t> samples) override;
    void Close(bool abort) override;

    static AudioSinkFactory Factory();

private:
    pa_simple* stream_ = nullptr;
};

}  // namespace speech
