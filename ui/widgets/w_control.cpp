#include "ui/widgets/w_control.h"

#include <QWidget>

WControl::WControl(QWidget* widget, int id) : m_widget(widget), m_id(id) {}

WControl::~WControl() = default;

WControl* WControl::find(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (auto* control = dynamic_cast<WControl*>(w)) return control;
    }
    return nullptr;
}
