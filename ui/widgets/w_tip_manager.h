// WTipManager: the tips of one window's controls (the button bar's, mainly).
// A tip shows when the mouse rests over its control, also while the window is
// not the active one; the texts can be replaced when the interface language
// changes. Tips follow their controls when these move or resize.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

class WTipManager : public QObject {
    Q_OBJECT

public:
    // `window` owns the manager.
    explicit WTipManager(QWidget* window);
    ~WTipManager() override;

    // Gives `control` the tip `text`; adding a control again replaces its text.
    void addTool(QWidget* control, const QString& text);
    void removeTool(QWidget* control);
    // Replaces the text of a control added before; false when it was not.
    bool setToolText(QWidget* control, const QString& text);
    QString toolText(QWidget* control) const;
    // Controls with a tip that still exist.
    int toolCount() const;

private:
    QList<QPointer<QWidget>> m_tools;
};
