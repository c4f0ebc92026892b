// Speech settings of one dictionary pane: for each of its two word lists, the
// use flag, voice and parameters of each of the three engines. The dictionary
// settings file fills the record (sections "espeak", "sapi4", "sapi5"); a
// missing key keeps the default set here.
#pragma once

#include <string>

namespace speech {

// The word list a word belongs to; indexes SpeechSettings::lists.
enum class SpeechList { kPrimary = 0, kSecondary = 1 };

// Longest voice text the settings file keeps (characters, without the zero).
inline constexpr int kMaxVoiceIdChars = 259;

// One engine's settings for one list. `speed`, `volume` and `pitch` are in
// the units of that engine: eSpeak words per minute, percent and 0..100;
// SAPI5 speed is rate + 10 (0..20) and its pitch is stored only.
struct EngineSettings {
    int use = 0;
    std::string voice_id;  // eSpeak voice name, SAPI5 token id, SAPI4 mode name
    int speed = 0;
    int volume = 100;
    int pitch = 0;
};

struct ListSpeechSettings {
    EngineSettings espeak{1, {}, 170, 100, 50};
    EngineSettings sapi4{0, {}, 170, 100, 150};
    EngineSettings sapi5{0, {}, 10, 100, 0};
};

struct SpeechSettings {
    SpeechSettings() { lists[1].sapi4.speed = 180; }

    ListSpeechSettings& of(SpeechList list) { return lists[static_cast<int>(list)]; }
    const ListSpeechSettings& of(SpeechList list) const { return lists[static_cast<int>(list)]; }

    ListSpeechSettings lists[2];  // primary, secondary
};

}  // namespace speech
