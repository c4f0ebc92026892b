// Drives the modal windows a command opens: each step of the script gets the
// next modal window once it shows. Polls, because they open in nested event
// loops; lives on the test's stack for as long as the flow runs.
#pragma once

#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <vector>

class ModalScript {
public:
    using Step = std::function<void(QWidget*)>;

    explicit ModalScript(std::vector<Step> steps);
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Every step has run.
    bool done() const { return m_next == m_steps.size(); }
    // The texts of the message boxes met so far, in order.
    const QStringList& texts() const { return m_texts; }

private:
    void poll();

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QPointer<QWidget> m_last;
    QStringList m_texts;
    QTimer m_poll;
};

// A step that presses button `id` of a message box.
ModalScript::Step press(int id);

// A step that clicks the accept button of a dialog after `prepare`.
ModalScript::Step accept(std::function<void(QWidget*)> prepare);

// A step that types `path` into a file dialog's name box and accepts it, as
// a user does (the name box has the focus, so selectFile() would leave it
// empty).
ModalScript::Step typeFileName(const QString& path);

// Selects the first row of the table `name` of `dialog` that has a cell
// reading `text`.
void selectRowWith(QWidget* dialog, const char* name, const QString& text);

// A step that closes the window, as its close box does.
ModalScript::Step closeIt();

// A step that ticks the box `id` of the settings dialog's current page.
ModalScript::Step tickSettingsBox(int id);

class QAbstractButton;
// Clicks `button` once the step that found it has returned: a click that
// opens a modal window must not run inside the script's own poll.
void clickLater(QAbstractButton* button);
