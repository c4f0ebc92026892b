#include "ui/widgets/w_form_events.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/widgets/w_control.h"

WFormEvents::WFormEvents(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {}

bool WFormEvents::onPreEvent(QEvent*) { return false; }
void WFormEvents::onMouseMove(Qt::MouseButtons, const QPoint&) {}
bool WFormEvents::onButtonDown(Qt::MouseButton, const QPoint&) { return false; }
void WFormEvents::onButtonUp(Qt::MouseButton, const QPoint&) {}
void WFormEvents::onDoubleClick(Qt::MouseButton, const QPoint&) {}
bool WFormEvents::onKeyDown(int, Qt::KeyboardModifiers) { return false; }
bool WFormEvents::onKeyUp(int, Qt::KeyboardModifiers) { return false; }
bool WFormEvents::onPaint(QPainter&, const QRect&) { return false; }
void WFormEvents::onContextMenu(const QPoint&, QWidget*) {}
void WFormEvents::onSize(int, int) {}

bool WFormEvents::event(QEvent* event) {
    if (onPreEvent(event)) return true;
    return QWidget::event(event);
}

void WFormEvents::mouseMoveEvent(QMouseEvent* event) {
    onMouseMove(event->buttons(), event->position().toPoint());
}

void WFormEvents::mousePressEvent(QMouseEvent* event) {
    if (!onButtonDown(event->button(), event->position().toPoint()))
        QWidget::mousePressEvent(event);
}

void WFormEvents::mouseReleaseEvent(QMouseEvent* event) {
    onButtonUp(event->button(), event->position().toPoint());
}

void WFormEvents::mouseDoubleClickEvent(QMouseEvent* event) {
    onDoubleClick(event->button(), event->position().toPoint());
}

void WFormEvents::keyPressEvent(QKeyEvent* event) {
    if (!onKeyDown(event->key(), event->modifiers())) QWidget::keyPressEvent(event);
}

void WFormEvents::keyReleaseEvent(QKeyEvent* event) {
    if (!onKeyUp(event->key(), event->modifiers())) QWidget::keyReleaseEvent(event);
}

void WFormEvents::changeEvent(QEvent* event) {
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

void WFormEvents::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    onPaint(painter, event->rect());
}

void WFormEvents::contextMenuEvent(QContextMenuEvent* event) {
    // The deepest child under the cursor may be part of a control (a list's
    // viewport): the source is the control itself.
    QWidget* source = this;
    if (QWidget* child = childAt(event->pos())) {
        WControl* control = WControl::find(child);
        source = control != nullptr ? control->widget() : child;
    }
    onContextMenu(event->globalPos(), source);
}

void WFormEvents::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    onSize(width(), height());
}
