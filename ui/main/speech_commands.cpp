// Speech in the main window: one speech pane per dictionary pane, its
// settings taken from and given back to the dictionary's settings, the
// engines started on command 1076, and speak and stop on the focused control.
#include <QApplication>
#include <QLineEdit>
#include <mutex>

#include "app/message_table.h"
#include "app/search_controller.h"
#include "platform/locale.h"
#include "speech/pulse_audio_sink.h"
#include "speech/speech_pane.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_form.h"
#include "ui/main/search_edit.h"
#include "ui/popup/popup_form.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_message_box.h"

using wordbay::ListSide;
using wordbay::SlotId;
using wordbay::TextId;

namespace {

constexpr wordbay::SpeechEngine kEngines[] = {wordbay::SpeechEngine::kEspeak,
                                              wordbay::SpeechEngine::kSapi4,
                                              wordbay::SpeechEngine::kSapi5};

speech::EngineSettings& engineOf(speech::ListSpeechSettings& list, wordbay::SpeechEngine engine) {
    switch (engine) {
        case wordbay::SpeechEngine::kEspeak: return list.espeak;
        case wordbay::SpeechEngine::kSapi4: return list.sapi4;
        default: return list.sapi5;
    }
}

speech::SpeechList speechList(ListSide side) {
    return side == ListSide::kPrimary ? speech::SpeechList::kPrimary
                                      : speech::SpeechList::kSecondary;
}

}  // namespace

speech::SpeechPane* MainForm::speechPane(SlotId slot) {
    auto& pane = m_speech[slot == SlotId::kMain ? 0 : 1];
    if (!pane) pane = std::make_unique<speech::SpeechPane>(speech::PulseAudioSink::Factory());
    return pane.get();
}

void MainForm::takeSpeechSettings(SlotId id, const wordbay::DictionarySlot& slot) {
    speech::SpeechPane* pane = speechPane(id);
    pane->Stop();
    for (ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
        speech::ListSpeechSettings& list = pane->settings().of(speechList(side));
        for (wordbay::SpeechEngine engine : kEngines) {
            const wordbay::SpeechVoice& stored = slot.settings().voice(side, engine);
            speech::EngineSettings& e = engineOf(list, engine);
            e.use = stored.use ? 1 : 0;
            e.voice_id = stored.voice_id;
            e.speed = stored.speed;
            e.volume = stored.volume;
            e.pitch = stored.pitch;
        }
    }
    pane->SetLocales(slot.Locale(ListSide::kPrimary), slot.Locale(ListSide::kSecondary));
    pane->SetCodePages(slot.CodePage(ListSide::kPrimary), slot.CodePage(ListSide::kSecondary));
}

void MainForm::giveBackSpeechSettings(SlotId id) {
    if (!m_speech[id == SlotId::kMain ? 0 : 1]) return;
    std::unique_lock<std::mutex> engine(m_controller->engine_lock(), std::try_to_lock);
    if (!engine.owns_lock() || m_controller->busy()) return;
    wordbay::DictionarySlot& slot = m_controller->slot(id);
    if (!slot.loaded()) return;
    speech::SpeechPane* pane = speechPane(id);
    for (ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
        speech::ListSpeechSettings& list = pane->settings().of(speechList(side));
        for (wordbay::SpeechEngine kind : kEngines) {
            const speech::EngineSettings& e = engineOf(list, kind);
            wordbay::SpeechVoice& stored = slot.settings().voice(side, kind);
            stored.use = e.use != 0;
            stored.voice_id = e.voice_id;
            stored.speed = e.speed;
            stored.volume = e.volume;
            stored.pitch = e.pitch;
        }
    }
}

void MainForm::startSpeechEngines() {
    if (!m_settings.use_speech || !mainLoaded()) return;
    for (SlotId id : {SlotId::kMain, SlotId::kDual}) {
        if (!m_controller->slot(id).loaded()) continue;
        const speech::EngineStartReport report = speechPane(id)->StartEngines();
        for (speech::EngineKind failed : report.failed) {
            const TextId message = failed == speech::EngineKind::kEspeak
                                       ? TextId::MSG_CANT_ACTIVATE_ESPEAK
                                   : failed == speech::EngineKind::kSapi5
                                       ? TextId::MSG_CANT_ACTIVATE_SAPI5
                                       : TextId::MSG_CANT_ACTIVATE_SAPI4;
            messageBox(this, QString::fromUtf8(wordbay::UiText(message)),
                       QString::fromUtf8(wordbay::UiText(TextId::MSG_ERROR)),
                       kMbOk | kMbIconStop, &m_buttonTexts);
        }
    }
}

bool MainForm::focusedWord(SlotId* slot, ListSide* side, std::string* word) const {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || !mainLoaded()) return false;
    for (SlotId id : {SlotId::kMain, SlotId::kDual}) {
        const int s = pane(id)->sideOf(focus);
        if (s < 0) continue;
        *slot = id;
        *side = s == 0 ? ListSide::kPrimary : ListSide::kSecondary;
        if (auto* edit = qobject_cast<WEdit*>(focus)) {
            *word = edit->encodedText();
        } else if (auto* list = qobject_cast<WListBox*>(focus)) {
            const int row = list->curSel();
            if (row < 0) return false;
            const char* text = reinterpret_cast<const char*>(list->itemData(row));
            *word = text != nullptr ? text : "";
        }
        return !word->empty();
    }
    if (m_popup && focus == static_cast<QWidget*>(m_popup->edit())) {
        const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
        *slot = SlotId::kMain;
        *side = main.source_side();
        *word = m_popup->edit()->encodedText();
        return !word->empty();
    }
    if (m_popup && focus == static_cast<QWidget*>(m_popup->list())) {
        // The popup lists the translations of the pane it shows.
        const wordbay::SearchOptions o = options();
        *slot = o.dual_mode && o.link ? SlotId::kDual : SlotId::kMain;
        *side = m_controller->slot(*slot).target_side();
        const int row = m_popup->list()->curSel();
        if (row < 0) return false;
        const char* text = reinterpret_cast<const char*>(m_popup->list()->itemData(row));
        *word = text != nullptr ? text : "";
        return !word->empty();
    }
    return false;
}

void MainForm::speakFocusedWord() {
    if (!m_settings.use_speech) return;
    SlotId slot = SlotId::kMain;
    ListSide side = ListSide::kPrimary;
    std::string word;
    if (!focusedWord(&slot, &side, &word)) return;
    speechPane(slot)->SpeakWord(speechList(side), word);
}

void MainForm::stopSpeaking() {
    for (auto& pane : m_speech) {
        if (pane) pane->Stop();
    }
}
