// TrayIcon: the main window's icon in the notification area while the window
// is minimised to the tray. A left click restores the window; a right click
// shows the tray menu (restore, about, exit), whose items report to the main
// window as commands.
#pragma once

#include <QObject>

class QMenu;
class QSystemTrayIcon;
class WForm;

class TrayIcon : public QObject {
    Q_OBJECT

public:
    explicit TrayIcon(WForm* form);
    ~TrayIcon() override;

    // Whether the desktop offers a notification area at all.
    static bool available();
    void show(const QString& tip);
    void hide();
    bool isShown() const;
    // Relabels the menu from the interface language.
    void retranslate();
    QMenu* menu() const { return m_menu; }

signals:
    // The icon was clicked, or its menu's item chosen.
    void restoreRequested();
    void aboutRequested();
    void exitRequested();

private:
    QSystemTrayIcon* m_icon = nullptr;  // made when first shown
    QMenu* m_menu;
};
