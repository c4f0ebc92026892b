// Helpers of the dialog tests: answering the program's message boxes that a
// dialog opens while the test waits in the event loop.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <functional>

#include "ui/widgets/w_message_box.h"

namespace dialog_tests {

// Waits (in the event loop) for the next visible message box, remembers its
// texts and answers it with `button`.
class BoxAnswer {
public:
    explicit BoxAnswer(int button) : m_button(button) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
        m_timer.start();
    }
    ~BoxAnswer() { m_timer.stop(); }

    // The text and caption of the box answered, empty until one showed.
    QString text() const { return m_text; }
    QString caption() const { return m_caption; }
    int count() const { return m_count; }
    // Answers the next box too.
    void arm() { m_timer.start(); }

private:
    void poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<WMessageBox*>(w);
            if (box == nullptr || !box->isVisible()) continue;
            m_timer.stop();
            m_caption = box->windowTitle();
            m_text.clear();
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                if (!label->text().isEmpty()) m_text = label->text();
            }
            ++m_count;
            box->button(m_button)->click();
            return;
        }
    }

    int m_button;
    QTimer m_timer;
    QString m_text;
    QString m_caption;
    int m_count = 0;
};

}  // namespace dialog_tests
