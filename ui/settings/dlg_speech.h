// DlgSpeech: the speech page of the settings dialog. It edits the speech
// settings of the current pane directly (nothing is forwarded): for each list
// the engine in use (SAPI 4, SAPI 5 or eSpeak; at most one), its voice and its
// speed, volume and pitch. Showing an engine starts it when it is not running;
// a start that fails says so, unticks the engine and clears its use flag.
//
// A list without a stored voice shows no voice chosen and keeps speaking with
// the engine's own choice (for eSpeak the voice of the list's language).
#pragma once

#include <vector>

#include "speech/speech_engine.h"
#include "speech/speech_pane.h"
#include "ui/settings/settings_page.h"

class QLabel;

class DlgSpeech : public SettingsPage {
    Q_OBJECT

public:
    // Control ids of the primary list's group; the secondary group's ids are
    // kSecondaryOffset higher.
    static constexpr int kGroup = 7501;
    static constexpr int kUseSapi4 = 7502;
    static constexpr int kUseSapi5 = 7503;
    static constexpr int kUseEspeak = 7504;
    static constexpr int kVoice = 7505;
    static constexpr int kSpeed = 7506;
    static constexpr int kVolume = 7507;
    static constexpr int kPitch = 7508;
    static constexpr int kSecondaryOffset = 20;

    DlgSpeech(const SettingsContext& context, SettingsTarget* target, QWidget* parent = nullptr);
    ~DlgSpeech() override;

protected:
    void onInitDialog() override;

private:
    enum Slider { kSpeedSlider, kVolumeSlider, kPitchSlider, kSliderCount };
    struct SliderRow {
        QLabel* caption = nullptr;
        QLabel* minimum = nullptr;
        QLabel* maximum = nullptr;
        QLabel* value = nullptr;
        PageSlider* slider = nullptr;
    };
    struct Group {
        speech::SpeechList list;
        bool shown = false;  // an engine is shown
        speech::EngineKind kind = speech::EngineKind::kEspeak;
        std::vector<speech::SpeechVoice> voices;
        PageCombo* voice = nullptr;
        SliderRow rows[kSliderCount];
    };

    void createGroup(int side, const QString& title);
    void rebuild(Group& group);
    bool showEngine(Group& group, speech::EngineKind kind);
    void connectGroup(Group& group);
    void engineTicked(Group& group, speech::EngineKind kind);
    void voiceChosen(Group& group, int row);
    void storeSlider(Group& group, Slider which);
    void showValue(Group& group, Slider which);
    int idOf(const Group& group, int primaryId) const;
    speech::EngineSettings& settingsOf(const Group& group, speech::EngineKind kind);

    Group m_groups[2];
    bool m_filling = false;  // the page sets controls; their changes store nothing
};
