#include "speech/pulse_audio_sink.h"

#include <pulse/simple.h>

namespace speech {

PulseAudioSink::~PulseAudioSink() { Close(true); }

bool PulseAudioSink::Open(int sample_rate) {
    Close(true);
    if (sample_rate <= 0) return false;
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_S16LE;
    spec.rate = static_cast<std::uint32_t>(sample_rate);
    spec.channels = 1;
    // Three buffers of 100 ms: playback starts while synthesis still runs,
    // and a write blocks for about one buffer at most.
    const std::uint32_t buffer_bytes = static_cast<std::uint32_t>(sample_rate) * 2 / 10;
    pa_buffer_attr attr{};
    attr.maxlength = buffer_bytes * 3;
    attr.tlength = buffer_bytes * 3;
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    int error = 0;
    stream_ = pa_simple_new(nullptr, "wordbay", PA_STREAM_PLAYBACK, nullptr, "speech", &spec,
                            nullptr, &attr, &error);
    return stream_ != nullptr;
}

bool PulseAudioSink::Write(std::span<const std::int16_t> samples) {
    if (stream_ == nullptr) return false;
    if (samples.empty()) return true;
    int error = 0;
    return pa_simple_write(stream_, samples.data(), samples.size_bytes(), &error) == 0;
}

void PulseAudioSink::Close(bool abort) {
    if (stream_ == nullptr) return;
    int error = 0;
    if (abort) {
        pa_simple_flush(stream_, &error);
    } else {
        pa_simple_drain(stream_, &error);
    }
    pa_simple_free(stream_);
    stream_ = nullptr;
}

AudioSinkFactory PulseAudioSink::Factory() {
    return [] { return std::make_unique<PulseAudioSink>(); };
}

}  // namespace speech
