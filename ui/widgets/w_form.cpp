#include "ui/widgets/w_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QShortcut>
#include <QTimerEvent>
#include <QWindow>
#include <utility>

WForm::WForm(QWidget* parent, Qt::WindowFlags flags)
    : WFormEvents(parent, flags), WControl(this, 0) {}

WForm::~WForm() = default;

bool WForm::createWindow() {
    if (m_created) return true;
    if (onCreate() < 0) return false;
    m_created = true;
    return true;
}

void WForm::destroyWindow() {
    if (m_destroyed) return;
    m_destroyed = true;
    for (const int qtId : std::as_const(m_timers)) killTimer(qtId);
    m_timers.clear();
    onDestroy();
}

QAction* WForm::addCommand(int id, const QString& text) {
    auto* action = new QAction(text, this);
    action->setData(id);
    if (!m_actions.contains(id)) m_actions.insert(id, action);
    m_allActions.insert(id, action);
    return action;
}

QShortcut* WForm::addAccelerator(const QKeySequence& key, int id) {
    auto* shortcut = new QShortcut(key, this);
    shortcut->setContext(Qt::WindowShortcut);
    m_accelerators.insert(id, shortcut);
    return shortcut;
}

QList<QAction*> WForm::commandActions(int id) const { return m_allActions.values(id); }

QList<QShortcut*> WForm::accelerators(int id) const { return m_accelerators.values(id); }

void WForm::watchMenu(QMenu* menu) {
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { onInitMenuPopup(menu); });
}

void WForm::setFormTimer(int id, int ms) {
    killFormTimer(id);
    const int qtId = startTimer(ms);
    if (qtId != 0) m_timers.insert(id, qtId);
}

void WForm::killFormTimer(int id) {
    const auto it = m_timers.find(id);
    if (it == m_timers.end()) return;
    killTimer(it.value());
    m_timers.erase(it);
}

void WForm::onTimer(int) {}
void WForm::onInitMenuPopup(QMenu*) {}

void WForm::setStaysOnTop(bool on) {
    Qt::WindowFlags flags = windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == on) return;
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (testAttribute(Qt::WA_WState_Created) && windowHandle() != nullptr) {
        overrideWindowFlags(flags);
        windowHandle()->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
}

void WForm::timerEvent(QTimerEvent* event) {
    for (auto it = m_timers.cbegin(); it != m_timers.cend(); ++it) {
        if (it.value() == event->timerId()) {
            onTimer(it.key());
            return;
        }
    }
    QWidget::timerEvent(event);
}

void WForm::closeEvent(QCloseEvent* event) {
    if (onClose()) {
        event->ignore();
        return;
    }
    event->accept();
    destroyWindow();
}
