// WForm: a top-level window of the program. Qt's events arrive as virtual
// operations (onCreate, onButtonDown, onTimer, onClose, ...) that derived
// windows override. Its menu items and keys carry command ids, by which the
// window connects each to what it does (onCommand()). The window's object
// name is its window class name, by which the program and its tests find it.
#pragma once

#include <QAction>
#include <QHash>
#include <QList>
#include <QShortcut>
#include <QWidget>

#include "ui/widgets/w_control.h"

class QMenu;
class QPainter;

class WForm : public QWidget, public WControl {
    Q_OBJECT

public:
    explicit WForm(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~WForm() override;

    // Runs onCreate() once. False when it answered a negative result: the
    // window is not usable and the caller deletes it.
    bool createWindow();
    // Runs onDestroy() once: when a close is accepted, or when called. A derived
    // window whose onDestroy() must run calls this in its own destructor too.
    void destroyWindow();
    bool isCreated() const { return m_created; }

    // Keeps the window above all others, or not. A window already on the
    // screen keeps its native window: recreating it would leave the modal
    // dialogs that are transient for it below it.
    void setStaysOnTop(bool on);

    // An action for command `id` with `text`, owned by the form. The first
    // action of an id is the one commandAction() returns, for check marks and
    // enabling.
    QAction* addCommand(int id, const QString& text = QString());
    QAction* commandAction(int id) const { return m_actions.value(id); }
    // A window-wide key for command `id`.
    QShortcut* addAccelerator(const QKeySequence& key, int id);
    // Runs `slot` (in `receiver`'s context) whenever command `id` is chosen:
    // from each action and each key of that id the form has by then.
    template <typename Slot>
    void onCommand(int id, const QObject* receiver, Slot slot) {
        for (QAction* action : commandActions(id))
            connect(action, &QAction::triggered, receiver, [slot] { slot(); });
        for (QShortcut* key : accelerators(id))
            connect(key, &QShortcut::activated, receiver, [slot] { slot(); });
    }
    // Every action and every key of command `id`.
    QList<QAction*> commandActions(int id) const;
    QList<QShortcut*> accelerators(int id) const;
    // Calls onInitMenuPopup(menu) whenever `menu` is about to show.
    void watchMenu(QMenu* menu);

    // Form timers by the program's own ids: onTimer(id) every `ms`
    // milliseconds. Setting an id that runs restarts it.
    void setFormTimer(int id, int ms);
    void killFormTimer(int id);
    bool isFormTimerActive(int id) const { return m_timers.contains(id); }

    // Calls onHelp(); the message box's Help button comes here.
    void requestHelp() { onHelp(); }

protected:
    // 0 or more: the window is ready; negative: creation failed.
    virtual int onCreate() { return 0; }
    virtual void onDestroy() {}
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
    virtual void onTimer(int id);
    // A context menu was asked for at `globalPos` over `source` (the control
    // under the cursor, or the form).
    virtual void onContextMenu(const QPoint& globalPos, QWidget* source);
    virtual void onSize(int width, int height);
    // True keeps the window open.
    virtual bool onClose() { return false; }
    virtual void onInitMenuPopup(QMenu* menu);
    virtual void onHelp() {}
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
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QHash<int, QAction*> m_actions;
    QMultiHash<int, QAction*> m_allActions;
    QMultiHash<int, QShortcut*> m_accelerators;
    QHash<int, int> m_timers;  // form timer id -> Qt timer id
    bool m_created = false;
    bool m_destroyed = false;
};
