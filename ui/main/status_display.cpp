#include "ui/main/status_display.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include "app/search_controller.h"
#include "ui/main/command_ids.h"
#include "ui/main/status_strip.h"
#include "ui/main/worker_updates.h"

StatusDisplay::StatusDisplay(QWidget* window, StatusStrip* status,
                             const MessageBoxButtonTable* buttonTexts,
                             wordbay::SearchController* controller,
                             std::function<void(const wordbay::WindowTitles&)> otherTitles)
    : m_window(window)
    , m_status(status)
    , m_buttonTexts(buttonTexts)
    , m_controller(controller)
    , m_otherTitles(std::move(otherTitles))
    , m_progressTimer(new QTimer(window)) {
    m_progressTimer->setInterval(cmd::kProgressPeriodMs);
    QObject::connect(m_progressTimer, &QTimer::timeout, window, [this] {
        const int percent = m_controller->progress();
        if (percent >= 0) m_status->setProgress(percent);
    });
}

// The timer belongs to the window, which may outlive this part.
StatusDisplay::~StatusDisplay() { delete m_progressTimer; }

void StatusDisplay::listenTo(StatusSignals* updates) {
    QObject::connect(updates, &StatusSignals::titlesSet, m_window,
                     [this](const wordbay::WindowTitles& titles) { setTitles(titles); });
    QObject::connect(updates, &StatusSignals::statusSet, m_window,
                     [this](const std::string& text) { setStatus(text); });
    QObject::connect(updates, &StatusSignals::progressBegun, m_window, [this] { beginProgress(); });
    QObject::connect(updates, &StatusSignals::progressEnded, m_window, [this] { endProgress(); });
    QObject::connect(updates, &StatusSignals::beeped, m_window, [] { QApplication::beep(); });
    QObject::connect(updates, &StatusSignals::messageShown, m_window,
                     [this](const wordbay::Message& message) { showMessage(message); });
    QObject::connect(
        updates, &StatusSignals::questionAsked, m_window,
        [this](int ticket, const wordbay::Message& question) { ask(ticket, question); });
    QObject::connect(updates, &StatusSignals::saveFileAsked, m_window,
                     [this](int ticket, const wordbay::SaveFileChoice& choice) {
                         chooseSaveFile(ticket, choice);
                     });
}

void StatusDisplay::setTitles(const wordbay::WindowTitles& titles) {
    m_window->setWindowTitle(QString::fromStdString(titles.main_window));
    m_otherTitles(titles);
}

void StatusDisplay::setStatus(const std::string& text) {
    m_status->setStatusText(QString::fromStdString(text));
}

void StatusDisplay::beginProgress() {
    m_status->beginProgress();
    m_progressTimer->start();
}

void StatusDisplay::endProgress() {
    m_progressTimer->stop();
    m_status->endProgress();
}

void StatusDisplay::showMessage(const wordbay::Message& message) {
    messageBox(m_window, QString::fromStdString(message.text),
               QString::fromStdString(message.caption), message.style, m_buttonTexts);
}

void StatusDisplay::ask(int ticket, const wordbay::Message& question) {
    const int answer =
        messageBox(m_window, QString::fromStdString(question.text),
                   QString::fromStdString(question.caption), question.style, m_buttonTexts);
    m_controller->dictionaries().Answer(ticket, answer);
}

void StatusDisplay::chooseSaveFile(int ticket, const wordbay::SaveFileChoice& choice) {
    const QString ext = QString::fromStdString(choice.extension);
    const QString filter =
        QStringLiteral("%1 (*.%2)").arg(QString::fromStdString(choice.filter_name), ext);
    QString chosen =
        QFileDialog::getSaveFileName(m_window, QString::fromStdString(choice.title),
                                     QString::fromStdString(choice.start_path), filter);
    if (!chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty()) chosen += QLatin1Char('.') + ext;
    m_controller->dictionaries().Answer(ticket, 0, chosen.toStdString());
}
