// WStatic: a text label of the program (list captions, status cells). The
// owner sees its events first and hears of mouse moves over it.
#pragma once

#include <QLabel>

#include "ui/widgets/w_control.h"

class WStatic : public QLabel, public WControl {
    Q_OBJECT

public:
    explicit WStatic(QWidget* parent = nullptr, int id = 0);
    WStatic(const QString& text, QWidget* parent = nullptr, int id = 0);
    ~WStatic() override;

protected:
    // Sees every event first; true consumes it.
    virtual bool onPreEvent(QEvent* event);
    virtual void onMouseMove(Qt::MouseButtons buttons, const QPoint& pos);

    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
