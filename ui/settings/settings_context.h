// What the settings pages show and edit: the program settings, the settings
// of the current dictionary and the speech of the current pane. Every pointer
// belongs to the main window and must outlive the settings dialog.
#pragma once

#include <string>

namespace wordbay {
struct DictionarySettings;
struct ProgramSettings;
}  // namespace wordbay

namespace speech {
class SpeechPane;
}

struct SettingsContext {
    // The interface page writes the hot keys ("key1".."key3") and the
    // always-on-top and splash options here; the rest it only reads.
    wordbay::ProgramSettings* program = nullptr;
    // The current dictionary's views and direction; null when none is open
    // (the colour pages then show the defaults).
    const wordbay::DictionarySettings* dictionary = nullptr;
    // Names of the current dictionary's two lists (UTF-8), the group titles.
    std::string primaryListName;
    std::string secondaryListName;
    // The current pane's speech: the speech page edits its settings and
    // starts its engines. Null leaves the speech page disabled.
    speech::SpeechPane* speech = nullptr;
    // A note under the hot keys of the interface page (UTF-8), such as how to
    // reach the program on a desktop that hides the keys; empty for none.
    std::string hotKeyNote;
    // Whether the current dictionary looks words up by their base words; the
    // interface page edits it. Null when no dictionary is open.
    bool* wordForms = nullptr;
};
