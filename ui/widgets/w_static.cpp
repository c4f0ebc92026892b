#include "ui/widgets/w_static.h"

#include <QMouseEvent>

WStatic::WStatic(QWidget* parent, int id) : QLabel(parent), WControl(this, id) {
    setTextFormat(Qt::PlainText);
}

WStatic::WStatic(const QString& text, QWidget* parent, int id) : WStatic(parent, id) {
    setText(text);
}

WStatic::~WStatic() = default;

bool WStatic::onPreEvent(QEvent*) { return false; }
void WStatic::onMouseMove(Qt::MouseButtons, const QPoint&) {}

bool WStatic::event(QEvent* event) {
    if (onPreEvent(event)) return true;
    return QLabel::event(event);
}

void WStatic::mouseMoveEvent(QMouseEvent* event) {
    onMouseMove(event->buttons(), event->position().toPoint());
    QLabel::mouseMoveEvent(event);
}
