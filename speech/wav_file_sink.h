// Writes an utterance's samples to a WAV file (16-bit mono PCM) instead of
// playing them; tests listen through it.
#pragma once

#include <cstdio>
#include <string>

#include "speech/audio_sink.h"

namespace speech {

class WavFileSink final : public AudioSink {
public:
    explicit WavFileSink(std::string path) : path_(std::move(path)) {}
    ~WavFileSink() override;
    WavFileSink(const WavFileSink&) = delete;
    WavFileSink& operator=(const WavFileSink&) = delete;

    bool Open(int sample_rate) override;
    bool Write(std::span<const std::int16_t> samples) override;
    // Completes the header; an aborted utterance keeps what was written.
    void Close(bool abort) override;

    // A factory whose every utterance rewrites the file at `path`.
    static AudioSinkFactory Factory(std::string path);

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    std::uint32_t data_bytes_ = 0;
};

}  // namespace speech
