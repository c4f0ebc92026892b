#include "speech/speech_dispatcher_engine.h"

#include <libspeechd.h>
#include <strings.h>

#include <algorithm>
#include <cstdlib>

#include "platform/code_page.h"

namespace speech {
namespace {

SPDConnection* Conn(void* connection) { return static_cast<SPDConnection*>(connection); }

}  // namespace

SpeechDispatcherEngine::~SpeechDispatcherEngine() { Shutdown(); }

int SpeechDispatcherEngine::RateFromSpeed(int speed) {
    // Widened first: a stored speed near INT_MIN must not overflow.
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(speed) - 10, -10, 10));
}

bool SpeechDispatcherEngine::Start() {
    Shutdown();
    char* error = nullptr;
    connection_ = spd_open2("wordbay", "speech", nullptr, SPD_MODE_THREADED, nullptr,
                            autospawn_ ? 1 : 0, &error);
    std::free(error);
    return connection_ != nullptr;
}

void SpeechDispatcherEngine::Shutdown() {
    if (connection_ == nullptr) return;
    spd_close(Conn(connection_));
    connection_ = nullptr;
    voices_.clear();
    current_voice_.clear();
}

bool SpeechDispatcherEngine::ListVoices(std::vector<SpeechVoice>* voices) {
    voices->clear();
    if (connection_ == nullptr) return false;
    SPDVoice** list = spd_list_synthesis_voices(Conn(connection_));
    for (int i = 0; list != nullptr && list[i] != nullptr; ++i) {
        if (list[i]->name == nullptr) continue;
        std::string display = list[i]->name;
        if (list[i]->language != nullptr && list[i]->language[0] != '\0') {
            display += " (";
            display += list[i]->language;
            display += ")";
        }
        voices->push_back({list[i]->name, std::move(display)});
    }
    if (list != nullptr) free_spd_voices(list);
    voices_ = *voices;
    return !voices->empty();
}

bool SpeechDispatcherEngine::SelectVoice(std::string_view id) {
    if (connection_ == nullptr) return false;
    if (id.empty()) return true;
    const std::string name(id);
    if (strcasecmp(name.c_str(), current_voice_.c_str()) == 0) return true;
    if (voices_.empty()) {
        std::vector<SpeechVoice> listed;
        ListVoices(&listed);
    }
    const auto it = std::find_if(voices_.begin(), voices_.end(), [&](const SpeechVoice& v) {
        return strcasecmp(v.id.c_str(), name.c_str()) == 0;
    });
    if (it == voices_.end()) return false;
    if (spd_set_synthesis_voice(Conn(connection_), it->id.c_str()) != 0) return false;
    current_voice_ = it->id;
    return true;
}

bool SpeechDispatcherEngine::SetSpeed(int rate) {
    if (connection_ == nullptr) return false;
    // The server's rate runs -100..100.
    return spd_set_voice_rate(Conn(connection_), std::clamp(rate, -10, 10) * 10) == 0;
}

bool SpeechDispatcherEngine::SetVolume(int percent) {
    if (connection_ == nullptr) return false;
    // The server's volume runs -100..100.
    return spd_set_volume(Conn(connection_), std::clamp(percent, 0, 100) * 2 - 100) == 0;
}

bool SpeechDispatcherEngine::SetPitch(int /*pitch*/) { return connection_ != nullptr; }

bool SpeechDispatcherEngine::Speak(std::string_view text, std::uint32_t code_page) {
    if (connection_ == nullptr) return false;
    const std::string utf8 = platform::DecodeToUtf8(code_page, text);
    return spd_say(Conn(connection_), SPD_TEXT, utf8.c_str()) >= 0;
}

}  // namespace speech
