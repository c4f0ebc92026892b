#include "ui/main/main_speech.h"

#include <QWidget>

#include "app/message_table.h"
#include "app/search_controller.h"
#include "speech/pulse_audio_sink.h"
#include "speech/speech_pane.h"
#include "ui/widgets/w_message_box.h"

using wordbay::ListSide;
using wordbay::SlotId;
using wordbay::TextId;

namespace {

constexpr wordbay::SpeechEngine kEngines[] = {
    wordbay::SpeechEngine::kEspeak, wordbay::SpeechEngine::kSapi4, wordbay::SpeechEngine::kSapi5};

speech::EngineSettings& engineOf(speech::ListSpeechSettings& list, wordbay::SpeechEngine engine) {
    switch (engine) {
        case wordbay::SpeechEngine::kEspeak:
            return list.espeak;
        case wordbay::SpeechEngine::kSapi4:
            return list.sapi4;
        default:
            return list.sapi5;
    }
}

speech::SpeechList speechList(ListSide side) {
    return side == ListSide::kPrimary ? speech::SpeechList::kPrimary
                                      : speech::SpeechList::kSecondary;
}

}  // namespace

MainSpeech::MainSpeech(QWidget* window, const MessageBoxButtonTable* buttons,
                       wordbay::SearchController* controller)
    : m_window(window), m_buttons(buttons), m_controller(controller) {}

MainSpeech::~MainSpeech() = default;

speech::SpeechPane* MainSpeech::pane(SlotId slot) {
    auto& pane = m_panes[slot == SlotId::kMain ? 0 : 1];
    if (!pane) pane = std::make_unique<speech::SpeechPane>(speech::PulseAudioSink::Factory());
    return pane.get();
}

void MainSpeech::takeSettings(SlotId id, const wordbay::DictionarySlot& slot) {
    speech::SpeechPane* speech = pane(id);
    speech->Stop();
    const wordbay::DictionarySettings settings = slot.settings();
    for (ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
        speech::ListSpeechSettings& list = speech->settings().of(speechList(side));
        for (wordbay::SpeechEngine engine : kEngines) {
            const wordbay::SpeechVoice& stored = settings.voice(side, engine);
            speech::EngineSettings& e = engineOf(list, engine);
            e.use = stored.use ? 1 : 0;
            e.voice_id = stored.voice_id;
            e.speed = stored.speed;
            e.volume = stored.volume;
            e.pitch = stored.pitch;
        }
    }
    speech->SetLocales(slot.Locale(ListSide::kPrimary), slot.Locale(ListSide::kSecondary));
    speech->SetCodePages(slot.CodePage(ListSide::kPrimary), slot.CodePage(ListSide::kSecondary));
}

void MainSpeech::giveBackSettings(SlotId id) {
    if (!m_panes[id == SlotId::kMain ? 0 : 1]) return;
    // A request that loads a dictionary reads its settings meanwhile.
    if (m_controller->busy() || !m_controller->slot(id).loaded()) return;
    speech::SpeechPane* speech = pane(id);
    m_controller->ChangeSlotSettings(id, [speech](wordbay::DictionarySettings& settings) {
        for (ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
            speech::ListSpeechSettings& list = speech->settings().of(speechList(side));
            for (wordbay::SpeechEngine kind : kEngines) {
                const speech::EngineSettings& e = engineOf(list, kind);
                wordbay::SpeechVoice& stored = settings.voice(side, kind);
                stored.use = e.use != 0;
                stored.voice_id = e.voice_id;
                stored.speed = e.speed;
                stored.volume = e.volume;
                stored.pitch = e.pitch;
            }
        }
    });
}

void MainSpeech::startEngines() {
    if (!m_controller->slot(SlotId::kMain).loaded()) return;
    for (SlotId id : {SlotId::kMain, SlotId::kDual}) {
        if (!m_controller->slot(id).loaded()) continue;
        const speech::EngineStartReport report = pane(id)->StartEngines();
        for (speech::EngineKind failed : report.failed) {
            const TextId message =
                failed == speech::EngineKind::kEspeak  ? TextId::MSG_CANT_ACTIVATE_ESPEAK
                : failed == speech::EngineKind::kSapi5 ? TextId::MSG_CANT_ACTIVATE_SAPI5
                                                       : TextId::MSG_CANT_ACTIVATE_SAPI4;
            messageBox(m_window, QString::fromUtf8(wordbay::UiText(message)),
                       QString::fromUtf8(wordbay::UiText(TextId::MSG_ERROR)), kMbOk | kMbIconStop,
                       m_buttons);
        }
    }
}

void MainSpeech::speak(SlotId slot, ListSide side, const std::string& word) {
    pane(slot)->SpeakWord(speechList(side), word);
}

void MainSpeech::stop() {
    for (auto& pane : m_panes) {
        if (pane) pane->Stop();
    }
}
