// The operations the program asks of a speech engine. Each pane owns one
// engine of each kind, created stopped and started on demand; the program
// talks to them only through this interface, so tests can substitute fakes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace speech {

struct SpeechVoice {
    std::string id;            // what SelectVoice takes and the settings store
    std::string display_name;  // what the settings page shows
};

class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;

    // Starts the engine, replacing an earlier start. False when it cannot run.
    virtual bool Start() = 0;
    virtual void Shutdown() = 0;
    virtual bool started() const = 0;

    // The voices the engine offers; false when it has none or is stopped.
    virtual bool ListVoices(std::vector<SpeechVoice>* voices) = 0;
    virtual bool SelectVoice(std::string_view id) = 0;

    // Parameters in the engine's own units; false when the engine refuses one.
    virtual bool SetSpeed(int speed) = 0;
    virtual bool SetVolume(int volume) = 0;
    virtual bool SetPitch(int pitch) = 0;

    // Speaks 8-bit `text` of Windows code page `code_page`. Returns once the
    // utterance is under way; false when it could not be started.
    virtual bool Speak(std::string_view text, std::uint32_t code_page) = 0;

    // Ends the utterance in progress, if the engine can; harmless when idle.
    virtual void Stop() = 0;
};

}  // namespace speech
