// StatusDisplay: what the controller reports about its work: the titles of
// the windows, the status line, the progress of a long engine call (every
// 200 ms while it runs), the message boxes, and the questions a request asks
// on its way, whose answers go back to the controller.
#pragma once

#include <functional>
#include <string>

#include "app/window_updates.h"
#include "ui/widgets/w_message_box.h"

class QTimer;
class QWidget;
class StatusSignals;
class StatusStrip;

namespace wordbay {
class SearchController;
}  // namespace wordbay

class StatusDisplay {
public:
    // `window` owns the message boxes (whose buttons `buttonTexts` names)
    // and the file dialogs, and takes the main title; `otherTitles` gives
    // the other windows theirs.
    StatusDisplay(QWidget* window, StatusStrip* status, const MessageBoxButtonTable* buttonTexts,
                  wordbay::SearchController* controller,
                  std::function<void(const wordbay::WindowTitles&)> otherTitles);
    ~StatusDisplay();
    StatusDisplay(const StatusDisplay&) = delete;
    StatusDisplay& operator=(const StatusDisplay&) = delete;

    // Applies the status updates of `updates` from now on.
    void listenTo(StatusSignals* updates);

    void setTitles(const wordbay::WindowTitles& titles);
    void setStatus(const std::string& text);
    void beginProgress();
    void endProgress();
    void showMessage(const wordbay::Message& message);
    // Asks the user and gives the answer back to the request that asked.
    void ask(int ticket, const wordbay::Message& question);
    void chooseSaveFile(int ticket, const wordbay::SaveFileChoice& choice);

private:
    QWidget* m_window;
    StatusStrip* m_status;
    const MessageBoxButtonTable* m_buttonTexts;
    wordbay::SearchController* m_controller;
    std::function<void(const wordbay::WindowTitles&)> m_otherTitles;
    QTimer* m_progressTimer;
};
