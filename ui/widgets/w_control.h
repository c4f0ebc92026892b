// The root of the widget framework. Every window, dialog and control of the
// program is a WControl beside its Qt widget: it carries the control's command
// id and reports what happens to the control as a command (notification code,
// id, control, parameter) to the command handler of the form or dialog that
// owns it, the way the program's windows exchange commands everywhere.
#pragma once

#include <QtGlobal>

#include "app/message_box_style.h"

class QWidget;
class WControl;

// Notification codes carried by commands.
inline constexpr int kMenuCommand = 0;         // a menu item was chosen
inline constexpr int kAcceleratorCommand = 1;  // an accelerator key was pressed
inline constexpr int kButtonClicked = 0;       // a button was pressed and released
inline constexpr int kListSelChange = 1;       // the user changed a list's current row
inline constexpr int kListSetFocus = 4;        // a list gained the keyboard focus
inline constexpr int kListKillFocus = 5;       // a list lost the keyboard focus
inline constexpr int kEditChange = 0x300;      // the text of an edit box changed
inline constexpr int kEditEnter = 0x401;       // Enter was released in an edit box
inline constexpr int kListDragStart = 0x485;   // drag started; parameter = row
inline constexpr int kListDragMove = 0x486;    // dragged to another row; parameter = previous row
inline constexpr int kListDragEnd = 0x487;     // drag ended; parameter = row
inline constexpr int kListDragCancel = 0x488;  // drag cancelled

// Standard button ids: the results of dialogs and of the program's message box.
using wordbay::kIdAbort;
using wordbay::kIdCancel;
using wordbay::kIdIgnore;
using wordbay::kIdNo;
using wordbay::kIdOk;
using wordbay::kIdRetry;
using wordbay::kIdYes;
inline constexpr int kIdHelp = 9;

// Receives the commands of the controls it owns, of its menu items and of its
// accelerators. Implemented by WForm and WDialog.
class CommandTarget {
public:
    // code: the notification code; id: the command or control id; control: the
    // control that sent it, or null for menu items and accelerators; param: the
    // parameter some notifications carry (a row), else 0.
    virtual void command(int code, int id, WControl* control, qintptr param) = 0;

protected:
    ~CommandTarget() = default;
};

class WControl {
public:
    // `widget` is the Qt widget this object is part of (normally `this` of the
    // derived class); `id` its command id.
    WControl(QWidget* widget, int id);
    virtual ~WControl();
    WControl(const WControl&) = delete;
    WControl& operator=(const WControl&) = delete;

    QWidget* widget() const { return m_widget; }
    int controlId() const { return m_id; }
    void setControlId(int id) { m_id = id; }

    // Commands go to `target` when one is set, else to the nearest form or
    // dialog among the widget's ancestors. The target must outlive the control.
    void setCommandTarget(CommandTarget* target) { m_target = target; }
    CommandTarget* commandTarget() const;

    // Delivers command (code, id, this, param) at once. Nothing happens when the
    // control has no target.
    void sendCommand(int code, qintptr param = 0);
    // Delivers it from the event loop, after the current event is handled; it is
    // dropped when the control is destroyed first.
    void postCommand(int code, qintptr param = 0);

    // The control of `widget`, or of its nearest ancestor that is one; null
    // when there is none.
    static WControl* find(QWidget* widget);

private:
    QWidget* m_widget;
    int m_id;
    CommandTarget* m_target = nullptr;
};
