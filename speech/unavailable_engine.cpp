#include "speech/unavailable_engine.h"

namespace speech {

bool UnavailableEngine::Start() {
    last_error_ = "Error creating TTSEnumerator (CoCreateInstance)";
    return false;
}

bool UnavailableEngine::ListVoices(std::vector<SpeechVoice>* voices) {
    voices->clear();
    return false;
}

bool UnavailableEngine::SelectVoice(std::string_view /*name*/) { return false; }

bool UnavailableEngine::SelectMode(int /*index*/) {
    // The mode list is empty, so every index lies beyond it.
    last_error_ = "Mode index out of bounds.";
    return false;
}

}  // namespace speech
