// The root of the widget framework. Every window, dialog and control of the
// program is a WControl beside its Qt widget: it carries the control's id,
// by which the menu, key and button tables, the interface-language file and
// the tests know it. What happens to a control it tells through its Qt
// signals.
#pragma once

#include "app/message_box_style.h"

class QWidget;

// Standard button ids: the results of dialogs and of the program's message box.
using wordbay::kIdAbort;
using wordbay::kIdCancel;
using wordbay::kIdIgnore;
using wordbay::kIdNo;
using wordbay::kIdOk;
using wordbay::kIdRetry;
using wordbay::kIdYes;
inline constexpr int kIdHelp = 9;

class WControl {
public:
    // `widget` is the Qt widget this object is part of (normally `this` of the
    // derived class); `id` its control id.
    WControl(QWidget* widget, int id);
    virtual ~WControl();
    WControl(const WControl&) = delete;
    WControl& operator=(const WControl&) = delete;

    QWidget* widget() const { return m_widget; }
    int controlId() const { return m_id; }
    void setControlId(int id) { m_id = id; }

    // The control of `widget`, or of its nearest ancestor that is one; null
    // when there is none.
    static WControl* find(QWidget* widget);

private:
    QWidget* m_widget;
    int m_id;
};
