#include "ui/settings/dlg_speech.h"

#include <strings.h>

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

using speech::EngineKind;
using speech::EngineSettings;
using speech::SpeechList;
using wordbay::TextId;

namespace {

// Slider ranges with the labels shown at their ends. SAPI 5's speed is
// stored as rate + 10 and shown as the rate.
struct Range {
    int minimum;
    int maximum;
    const char* minimumText;
    const char* maximumText;
};
constexpr Range kEspeakSpeed = {80, 390, "80", "390"};
constexpr Range kSapi5Speed = {0, 20, "-10", "+10"};
constexpr Range kPercent = {0, 100, "0", "100"};
// The engine interface reports no SAPI 4 ranges; these span its usual values.
constexpr Range kSapi4Speed = {50, 400, "50", "400"};
constexpr Range kSapi4Pitch = {50, 400, "50", "400"};

TextId cantActivate(EngineKind kind) {
    switch (kind) {
        case EngineKind::kSapi5:
            return TextId::MSG_CANT_ACTIVATE_SAPI5;
        case EngineKind::kEspeak:
            return TextId::MSG_CANT_ACTIVATE_ESPEAK;
        case EngineKind::kSapi4:
            break;
    }
    return TextId::MSG_CANT_ACTIVATE_SAPI4;
}

}  // namespace

DlgSpeech::DlgSpeech(const SettingsContext& context, SettingsTarget* target, QWidget* parent)
    : SettingsPage(context, target, parent) {
    setObjectName("DlgSpeech");
    m_groups[0].list = SpeechList::kPrimary;
    m_groups[1].list = SpeechList::kSecondary;
    auto* layout = new QHBoxLayout(this);
    createGroup(0, QString::fromStdString(context.primaryListName));
    createGroup(1, QString::fromStdString(context.secondaryListName));
    layout->addWidget(item(kGroup));
    layout->addWidget(item(kGroup + kSecondaryOffset));
    if (context.speech == nullptr) setEnabled(false);
}

DlgSpeech::~DlgSpeech() = default;

int DlgSpeech::idOf(const Group& group, int primaryId) const {
    return group.list == SpeechList::kPrimary ? primaryId : primaryId + kSecondaryOffset;
}

EngineSettings& DlgSpeech::settingsOf(const Group& group, EngineKind kind) {
    speech::ListSpeechSettings& s = context().speech->settings().of(group.list);
    switch (kind) {
        case EngineKind::kSapi5:
            return s.sapi5;
        case EngineKind::kEspeak:
            return s.espeak;
        case EngineKind::kSapi4:
            break;
    }
    return s.sapi4;
}

void DlgSpeech::createGroup(int side, const QString& title) {
    Group& g = m_groups[side];
    auto* box = addGroup(this, idOf(g, kGroup), title);
    auto* layout = new QGridLayout(box);
    const speech::ListSpeechSettings* s =
        context().speech != nullptr ? &context().speech->settings().of(g.list) : nullptr;
    layout->addWidget(addCheck(box, idOf(g, kUseSapi4), TextId::MSG_ACTIVATE_SAPI4,
                               s != nullptr && s->sapi4.use != 0),
                      0, 0, 1, 4);
    layout->addWidget(addCheck(box, idOf(g, kUseSapi5), TextId::MSG_ACTIVATE_SAPI5,
                               s != nullptr && s->sapi5.use != 0),
                      1, 0, 1, 4);
    layout->addWidget(addCheck(box, idOf(g, kUseEspeak), TextId::MSG_ACTIVATE_ESPEAK,
                               s != nullptr && s->espeak.use != 0),
                      2, 0, 1, 4);
    layout->addWidget(new QLabel(uiText(TextId::MSG_VOICE), box), 3, 0, 1, 4);
    g.voice = addCombo(box, idOf(g, kVoice));
    layout->addWidget(g.voice, 4, 0, 1, 4);
    connectGroup(g);

    const int ids[kSliderCount] = {kSpeed, kVolume, kPitch};
    const TextId captions[kSliderCount] = {TextId::MSG_SPEED, TextId::MSG_VOLUME,
                                           TextId::MSG_PITCH};
    int line = 5;
    for (int i = 0; i < kSliderCount; ++i) {
        SliderRow& r = g.rows[i];
        r.caption = new QLabel(uiText(captions[i]), box);
        r.value = new QLabel(box);
        r.value->setObjectName(QStringLiteral("value%1").arg(idOf(g, ids[i])));
        r.minimum = new QLabel(box);
        r.maximum = new QLabel(box);
        r.slider = new PageSlider(box, idOf(g, ids[i]));
        r.slider->setOrientation(Qt::Horizontal);
        registerItem(idOf(g, ids[i]), r.slider);
        layout->addWidget(r.caption, line, 0, 1, 3);
        layout->addWidget(r.value, line, 3);
        layout->addWidget(r.minimum, line + 1, 0);
        layout->addWidget(r.slider, line + 1, 1, 1, 2);
        layout->addWidget(r.maximum, line + 1, 3);
        line += 2;
        const auto which = static_cast<Slider>(i);
        connect(r.slider, &QSlider::valueChanged, this, [this, &g, which] {
            showValue(g, which);
            // A drag stores its value when the thumb is released; keys and
            // clicks on the track store at once.
            if (!m_filling && !g.rows[which].slider->isSliderDown()) storeSlider(g, which);
        });
        connect(r.slider, &QSlider::sliderReleased, this,
                [this, &g, which] { storeSlider(g, which); });
    }
    layout->setRowStretch(line, 1);
}

// The engines start when the page is shown rather than while the dialog is
// being built, so that a failure message appears over the visible page.
void DlgSpeech::onInitDialog() {
    if (context().speech == nullptr) return;
    for (Group& g : m_groups) rebuild(g);
}

void DlgSpeech::rebuild(Group& g) {
    m_filling = true;
    g.shown = false;
    g.voices.clear();
    g.voice->clear();
    g.voice->setEnabled(false);
    for (SliderRow& r : g.rows) {
        r.slider->setEnabled(false);
        for (QLabel* label : {r.minimum, r.maximum, r.value}) label->clear();
    }
    g.rows[kSpeedSlider].caption->setText(uiText(TextId::MSG_SPEED));
    m_filling = false;

    // The engine in use, in the order a word is spoken with.
    const speech::ListSpeechSettings& s = context().speech->settings().of(g.list);
    if (s.sapi5.use != 0) {
        showEngine(g, EngineKind::kSapi5);
    } else if (s.espeak.use != 0) {
        showEngine(g, EngineKind::kEspeak);
    } else if (s.sapi4.use != 0) {
        showEngine(g, EngineKind::kSapi4);
    }
}

bool DlgSpeech::showEngine(Group& g, EngineKind kind) {
    speech::SpeechEngine& engine = context().speech->engine(kind);
    EngineSettings& es = settingsOf(g, kind);
    if (!engine.started() && !engine.Start()) {
        askUser(this, cantActivate(kind), TextId::MSG_ERROR, kMbOk | kMbIconStop);
        const int box = kind == EngineKind::kSapi5    ? kUseSapi5
                        : kind == EngineKind::kEspeak ? kUseEspeak
                                                      : kUseSapi4;
        if (auto* check = itemAs<QCheckBox>(idOf(g, box))) check->setChecked(false);
        es.use = 0;
        return false;
    }
    m_filling = true;
    g.shown = true;
    g.kind = kind;
    engine.ListVoices(&g.voices);
    int chosen = -1;
    for (std::size_t i = 0; i < g.voices.size(); ++i) {
        g.voice->addItem(QString::fromStdString(g.voices[i].display_name));
        if (chosen < 0 && !es.voice_id.empty() &&
            strcasecmp(g.voices[i].id.c_str(), es.voice_id.c_str()) == 0) {
            chosen = int(i);
        }
    }
    if (kind == EngineKind::kSapi4 && chosen < 0 && !g.voices.empty()) {
        chosen = 0;  // SAPI 4 always speaks with some mode: the first
        engine.SelectVoice(g.voices[0].id);
    }
    g.voice->setCurrentIndex(chosen);
    g.voice->setEnabled(!g.voices.empty());

    const Range speed = kind == EngineKind::kSapi5    ? kSapi5Speed
                        : kind == EngineKind::kEspeak ? kEspeakSpeed
                                                      : kSapi4Speed;
    const Range pitch = kind == EngineKind::kSapi4 ? kSapi4Pitch : kPercent;
    const struct {
        Range range;
        int value;
        bool shown;
    } sliders[kSliderCount] = {{speed, es.speed, true},
                               {kPercent, es.volume, true},
                               {pitch, es.pitch, kind != EngineKind::kSapi5}};
    for (int i = 0; i < kSliderCount; ++i) {
        SliderRow& r = g.rows[i];
        if (!sliders[i].shown) continue;  // SAPI 5 has no pitch
        r.slider->setRange(sliders[i].range.minimum, sliders[i].range.maximum);
        r.slider->setValue(sliders[i].value);
        r.minimum->setText(QString::fromLatin1(sliders[i].range.minimumText));
        r.maximum->setText(QString::fromLatin1(sliders[i].range.maximumText));
        r.slider->setEnabled(true);
        showValue(g, static_cast<Slider>(i));
    }
    g.rows[kSpeedSlider].caption->setText(
        uiText(kind == EngineKind::kSapi5 ? TextId::MSG_SAPI5_SPEED : TextId::MSG_SPEED));
    m_filling = false;
    return true;
}

// The engine boxes and the voice list of group `g` to what they do; nothing
// happens without a pane's speech.
void DlgSpeech::connectGroup(Group& g) {
    const std::pair<int, EngineKind> engines[] = {{kUseSapi4, EngineKind::kSapi4},
                                                  {kUseSapi5, EngineKind::kSapi5},
                                                  {kUseEspeak, EngineKind::kEspeak}};
    for (const auto& [box, kind] : engines) {
        connect(itemAs<QCheckBox>(idOf(g, box)), &QCheckBox::clicked, this,
                [this, &g, kind = kind] {
                    if (context().speech != nullptr) engineTicked(g, kind);
                });
    }
    connect(g.voice, &QComboBox::activated, this, [this, &g](int row) {
        if (context().speech != nullptr) voiceChosen(g, row);
    });
}

// One engine per list: ticking a box unticks the other two and leaves only
// its own flag set; unticking leaves none.
void DlgSpeech::engineTicked(Group& g, EngineKind kind) {
    const struct {
        EngineKind kind;
        int box;
    } boxes[] = {{EngineKind::kSapi4, kUseSapi4},
                 {EngineKind::kSapi5, kUseSapi5},
                 {EngineKind::kEspeak, kUseEspeak}};
    bool ticked = false;
    for (const auto& b : boxes) {
        auto* check = itemAs<QCheckBox>(idOf(g, b.box));
        if (b.kind == kind) {
            ticked = check->isChecked();
        } else {
            check->setChecked(false);
        }
        settingsOf(g, b.kind).use = 0;
    }
    if (ticked) settingsOf(g, kind).use = 1;
    rebuild(g);
}

void DlgSpeech::voiceChosen(Group& g, int row) {
    if (!g.shown || row < 0 || row >= int(g.voices.size())) return;
    EngineSettings& es = settingsOf(g, g.kind);
    const std::string& id = g.voices[std::size_t(row)].id;
    if (id.empty()) {
        es.voice_id.clear();
        return;
    }
    if (g.kind == EngineKind::kSapi4) {
        if (!context().speech->engine(EngineKind::kSapi4).SelectVoice(id)) {
            itemAs<QCheckBox>(idOf(g, kUseSapi4))->setChecked(false);
            es.use = 0;
            rebuild(g);
            return;
        }
    }
    es.voice_id = id.substr(0, speech::kMaxVoiceIdChars);
}

void DlgSpeech::storeSlider(Group& g, Slider which) {
    if (!g.shown) return;
    EngineSettings& es = settingsOf(g, g.kind);
    const int value = g.rows[which].slider->value();
    switch (which) {
        case kSpeedSlider:
            es.speed = value;
            break;
        case kVolumeSlider:
            es.volume = value;
            break;
        case kPitchSlider:
        case kSliderCount:
            es.pitch = value;
            break;
    }
}

void DlgSpeech::showValue(Group& g, Slider which) {
    const int value = g.rows[which].slider->value();
    const bool rate = which == kSpeedSlider && g.shown && g.kind == EngineKind::kSapi5;
    g.rows[which].value->setText(QString::number(rate ? value - 10 : value));
}
