#include "ui/widgets/w_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QTimerEvent>
#include <QWindow>
#include <utility>

WForm::WForm(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags), WControl(this, 0) {}

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

bool WForm::onPreEvent(QEvent*) { return false; }
void WForm::onMouseMove(Qt::MouseButtons, const QPoint&) {}
bool WForm::onButtonDown(Qt::MouseButton, const QPoint&) { return false; }
void WForm::onButtonUp(Qt::MouseButton, const QPoint&) {}
void WForm::onDoubleClick(Qt::MouseButton, const QPoint&) {}
bool WForm::onKeyDown(int, Qt::KeyboardModifiers) { return false; }
bool WForm::onKeyUp(int, Qt::KeyboardModifiers) { return false; }
bool WForm::onPaint(QPainter&, const QRect&) { return false; }
void WForm::onTimer(int) {}
void WForm::onContextMenu(const QPoint&, QWidget*) {}
void WForm::onSize(int, int) {}
void WForm::onInitMenuPopup(QMenu*) {}

bool WForm::event(QEvent* event) {
    if (onPreEvent(event)) return true;
    return QWidget::event(event);
}

void WForm::mouseMoveEvent(QMouseEvent* event) {
    onMouseMove(event->buttons(), event->position().toPoint());
}

void WForm::mousePressEvent(QMouseEvent* event) {
    if (!onButtonDown(event->button(), event->position().toPoint()))
        QWidget::mousePressEvent(event);
}

void WForm::mouseReleaseEvent(QMouseEvent* event) {
    onButtonUp(event->button(), event->position().toPoint());
}

void WForm::mouseDoubleClickEvent(QMouseEvent* event) {
    onDoubleClick(event->button(), event->position().toPoint());
}

void WForm::keyPressEvent(QKeyEvent* event) {
    if (!onKeyDown(event->key(), event->modifiers())) QWidget::keyPressEvent(event);
}

void WForm::keyReleaseEvent(QKeyEvent* event) {
    if (!onKeyUp(event->key(), event->modifiers())) QWidget::keyReleaseEvent(event);
}

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

void WForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow()) {
            onActivate();
        } else {
            onDeactivate();
        }
    } else if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        const bool minimised = (windowState() & Qt::WindowMinimized) != 0;
        const bool wasMinimised = (change->oldState() & Qt::WindowMinimized) != 0;
        // A form that took the minimise over (hiding in the tray) keeps the
        // minimised state until it is shown again: clearing it now would map
        // the hidden window once more on X11, an empty frame nobody paints.
        if (minimised && !wasMinimised) onMinimize();
    }
}

void WForm::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    onPaint(painter, event->rect());
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

void WForm::contextMenuEvent(QContextMenuEvent* event) {
    // The deepest child under the cursor may be part of a control (a list's
    // viewport): the source is the control itself.
    QWidget* source = this;
    if (QWidget* child = childAt(event->pos())) {
        WControl* control = WControl::find(child);
        source = control != nullptr ? control->widget() : child;
    }
    onContextMenu(event->globalPos(), source);
}

void WForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    onSize(width(), height());
}

void WForm::closeEvent(QCloseEvent* event) {
    if (onClose()) {
        event->ignore();
        return;
    }
    event->accept();
    destroyWindow();
}
