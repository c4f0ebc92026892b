#include "ui/widgets/w_control.h"

#include <QMetaObject>
#include <QWidget>

WControl::WControl(QWidget* widget, int id) : m_widget(widget), m_id(id) {}

WControl::~WControl() = default;

CommandTarget* WControl::commandTarget() const {
    if (m_target != nullptr) return m_target;
    for (QWidget* w = m_widget->parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* target = dynamic_cast<CommandTarget*>(w)) return target;
    }
    return nullptr;
}

void WControl::sendCommand(int code, qintptr param) {
    if (CommandTarget* target = commandTarget()) target->command(code, m_id, this, param);
}

void WControl::postCommand(int code, qintptr param) {
    // The widget is the context object: Qt drops the call when it is destroyed.
    QMetaObject::invokeMethod(
        m_widget, [this, code, param] { sendCommand(code, param); }, Qt::QueuedConnection);
}

WControl* WControl::find(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (auto* control = dynamic_cast<WControl*>(w)) return control;
    }
    return nullptr;
}
