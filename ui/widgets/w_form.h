// WForm: a top-level window of the program. Qt's events arrive as virtual
// operations that derived windows override: those of input, painting and
// activation through WFormEvents, those of the window's life here (onCreate,
// onTimer, onClose, ...). Its menu items and keys carry command ids, by which
// the window connects each to what it does (onCommand()). The window's object
// name is its window class name, by which the program and its tests find it.
#pragma once

#include <QAction>
#include <QHash>
#include <QList>
#include <QShortcut>

#include "ui/widgets/w_control.h"
#include "ui/widgets/w_form_events.h"

class QMenu;

class WForm : public WFormEvents, public WControl {
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
    virtual void onTimer(int id);
    // True keeps the window open.
    virtual bool onClose() { return false; }
    virtual void onInitMenuPopup(QMenu* menu);
    virtual void onHelp() {}

    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QHash<int, QAction*> m_actions;
    QMultiHash<int, QAction*> m_allActions;
    QMultiHash<int, QShortcut*> m_accelerators;
    QHash<int, int> m_timers;  // form timer id -> Qt timer id
    bool m_created = false;
    bool m_destroyed = false;
};
