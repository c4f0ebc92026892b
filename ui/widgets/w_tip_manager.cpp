#include "ui/widgets/w_tip_manager.h"

#include <QWidget>

WTipManager::WTipManager(QWidget* window) : QObject(window) {}

WTipManager::~WTipManager() = default;

void WTipManager::addTool(QWidget* control, const QString& text) {
    if (control == nullptr) return;
    if (!m_tools.contains(control)) m_tools.append(control);
    control->setAttribute(Qt::WA_AlwaysShowToolTips);
    control->setToolTip(text);
}

void WTipManager::removeTool(QWidget* control) {
    if (control == nullptr || !m_tools.removeAll(control)) return;
    control->setToolTip(QString());
}

bool WTipManager::setToolText(QWidget* control, const QString& text) {
    if (control == nullptr || !m_tools.contains(control)) return false;
    control->setToolTip(text);
    return true;
}

QString WTipManager::toolText(QWidget* control) const {
    if (control == nullptr || !m_tools.contains(control)) return QString();
    return control->toolTip();
}

int WTipManager::toolCount() const {
    int count = 0;
    for (const auto& tool : m_tools) count += tool != nullptr ? 1 : 0;
    return count;
}
