// WFormEvents: the event side of a top-level window. Qt's input, paint,
// size, activation and minimise events arrive as virtual operations
// (onButtonDown, onKeyDown, onPaint, onActivate, onMinimize, ...) that the
// window overrides; WForm adds the window's life, commands and timers.
#pragma once

#include <QWidget>

class QPainter;

class WFormEvents : public QWidget {
    Q_OBJECT

public:
    explicit WFormEvents(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

protected:
    // Sees every event first; true consumes it.
    virtual bool onPreEvent(QEvent* event);
    virtual void onMouseMove(Qt::MouseButtons buttons, const QPoint& pos);
    // True when handled (the default handling is skipped).
    virtual bool onButtonDown(Qt::MouseButton button, const QPoint& pos);
    virtual void onButtonUp(Qt::MouseButton button, const QPoint& pos);
    virtual void onDoubleClick(Qt::MouseButton button, const QPoint& pos);
    virtual bool onKeyDown(int key, Qt::KeyboardModifiers modifiers);
    virtual bool onKeyUp(int key, Qt::KeyboardModifiers modifiers);
    virtual void onActivate() {}
    virtual void onDeactivate() {}
    // True when the form painted itself.
    virtual bool onPaint(QPainter& painter, const QRect& rect);
    // A context menu was asked for at `globalPos` over `source` (the control
    // under the cursor, or the form).
    virtual void onContextMenu(const QPoint& globalPos, QWidget* source);
    virtual void onSize(int width, int height);
    // True when the form took care of the minimise itself (for example by
    // hiding in the tray). The window stays minimised while hidden; showing it
    // again with showNormal() restores it.
    virtual bool onMinimize() { return false; }

    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};
