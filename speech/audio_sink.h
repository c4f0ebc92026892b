// Where synthesised samples go: 16-bit signed mono PCM at the rate the
// synthesiser reports. One sink serves one utterance and is used from the
// thread that speaks it only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace speech {

class AudioSink {
public:
    virtual ~AudioSink() = default;

    // Prepares playback at `sample_rate`. False when the output cannot be
    // opened; the utterance is then dropped.
    virtual bool Open(int sample_rate) = 0;
    // Queues samples; may block while the output is full. False on failure.
    virtual bool Write(std::span<const std::int16_t> samples) = 0;
    // Ends the utterance: plays what is queued, or discards it when `abort`.
    virtual void Close(bool abort) = 0;
};

// Makes the sink of the next utterance.
using AudioSinkFactory = std::function<std::unique_ptr<AudioSink>()>;

}  // namespace speech
