// MainSpeech: the speech of the main window. One speech pane per dictionary
// pane: its voices are taken from the dictionary's settings when the
// dictionary is shown and given back after the settings dialog changed them;
// the engines start, a word is spoken and the speaking stops on command.
#pragma once

#include <memory>
#include <string>

#include "app/dictionary_slot.h"
#include "ui/widgets/w_message_box.h"

class QWidget;

namespace speech {
class SpeechPane;
}  // namespace speech

namespace wordbay {
class SearchController;
}  // namespace wordbay

class MainSpeech {
public:
    // `window` owns the error boxes, whose buttons `buttons` names; the
    // dictionaries' settings are read and written through `controller`.
    MainSpeech(QWidget* window, const MessageBoxButtonTable* buttons,
               wordbay::SearchController* controller);
    ~MainSpeech();
    MainSpeech(const MainSpeech&) = delete;
    MainSpeech& operator=(const MainSpeech&) = delete;

    // The speech pane of dictionary `slot`, made on first use.
    speech::SpeechPane* pane(wordbay::SlotId slot);
    // The voices of `slot`'s dictionary go into its pane, which stops first.
    void takeSettings(wordbay::SlotId id, const wordbay::DictionarySlot& slot);
    // The pane's voices go back into the dictionary's settings; nothing while
    // a job has the dictionaries.
    void giveBackSettings(wordbay::SlotId id);
    // Starts the engines of every loaded dictionary; says which failed.
    void startEngines();
    void speak(wordbay::SlotId slot, wordbay::ListSide side, const std::string& word);
    void stop();

private:
    QWidget* m_window;
    const MessageBoxButtonTable* m_buttons;
    wordbay::SearchController* m_controller;
    std::unique_ptr<speech::SpeechPane> m_panes[2];
};
