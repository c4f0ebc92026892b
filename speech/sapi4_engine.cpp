#include "speech/sapi4_engine.h"

namespace speech {

bool Sapi4Engine::Start() {
    last_error_ = "Error creating TTSEnumerator (CoCreateInstance)";
    return false;
}

bool Sapi4Engine::ListVoices(std::vector<SpeechVoice>* voices) {
    voices->clear();
    return false;
}

bool Sapi4Engine::SelectVoice(std::string_view /*name*/) { return false; }

bool Sapi4Engine::SelectMode(int /*index*/) {
    // The mode list is empty, so every index lies beyond it.
    last_error_ = "Mode index out of bounds.";
    return false;
}

}  // namespace speech
