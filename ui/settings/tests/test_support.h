// What the settings suites share: a target that records what the pages tell
// the main window, fake speech engines, and answering the program's message
// box.
#pragma once

#include <QApplication>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "speech/speech_engine.h"
#include "ui/settings/settings_target.h"
#include "ui/widgets/w_message_box.h"

// Stands in for the main window: each call as a line of text.
class RecordingTarget : public SettingsTarget {
public:
    void hotKeysSwitched() override { sent << QStringLiteral("hot keys"); }
    void hotKeyChosen(int which, const char* name) override {
        sent << QStringLiteral("key %1 '%2'").arg(which).arg(QLatin1String(name));
    }
    void hotKeyTargetChosen(wordbay::HotKeyTarget target) override {
        static const char* const kNames[] = {"main", "popup", "tooltip"};
        sent << QStringLiteral("calls %1").arg(QLatin1String(kNames[int(target)]));
    }
    void interfaceOptionToggled(InterfaceOption option) override {
        static const char* const kNames[] = {"minimize to tray", "main on top", "popup on top",
                                             "tooltip on top",   "snap popup",  "snap tooltip"};
        sent << QLatin1String(kNames[int(option)]);
    }
    void viewChanged(int viewId, int value) override {
        sent << QStringLiteral("view %1 %2").arg(viewId).arg(value);
    }
    QStringList sent;
};

// Answers the next message box that shows by pressing button `id`, and
// remembers its text.
inline void answerNextBox(int id, QString* text = nullptr) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, id, text] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<WMessageBox*>(w);
            if (box == nullptr || !box->isVisible()) continue;
            timer->stop();
            timer->deleteLater();
            if (text != nullptr) *text = box->windowTitle();
            box->button(id)->click();
            return;
        }
    });
    timer->start();
}

// A speech engine that may refuse to start and records what it was asked.
class FakeEngine : public speech::SpeechEngine {
public:
    explicit FakeEngine(bool starts, std::vector<speech::SpeechVoice> voices = {})
        : m_starts(starts), m_voices(std::move(voices)) {}

    bool Start() override {
        ++starts;
        m_started = m_starts;
        return m_starts;
    }
    void Shutdown() override { m_started = false; }
    bool started() const override { return m_started; }
    bool ListVoices(std::vector<speech::SpeechVoice>* voices) override {
        *voices = m_voices;
        return !voices->empty();
    }
    bool SelectVoice(std::string_view id) override {
        selected = std::string(id);
        return true;
    }
    bool SetSpeed(int) override { return true; }
    bool SetVolume(int) override { return true; }
    bool SetPitch(int) override { return true; }
    bool Speak(std::string_view, std::uint32_t) override { return true; }
    void Stop() override {}

    int starts = 0;
    std::string selected;

private:
    bool m_starts;
    bool m_started = false;
    std::vector<speech::SpeechVoice> m_voices;
};
