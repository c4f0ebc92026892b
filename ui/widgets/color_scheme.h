// ColorScheme: the windows follow the desktop's light or dark scheme. The
// desktop says which it prefers through the settings portal
// (org.freedesktop.portal.Settings, "org.freedesktop.appearance"
// "color-scheme": 1 dark, 2 light, 0 no preference), read at start and
// followed when it changes; without a portal the palette Qt chose stands
// (a dark desktop theme gives a dark palette). A dark preference under a
// light palette gives the program a dark palette of its own. The lists, the
// edit boxes, the popup and the tooltip paint with the palette's colours
// unless the user chose colours of their own, which still win.
#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QPalette>

class ColorScheme : public QObject {
    Q_OBJECT

public:
    enum class Preference { kNone = 0, kDark = 1, kLight = 2 };

    // Starts following the desktop for the application (asks the portal
    // without waiting for its answer).
    explicit ColorScheme(QObject* parent = nullptr);

    // Whether the windows are dark now.
    static bool isDark();
    static bool isDark(const QPalette& palette);
    // The program's dark palette.
    static QPalette darkPalette();
    // Applies a preference as the portal would give it.
    void apply(Preference preference);

signals:
    void changed(bool dark);

private slots:
    // The portal's SettingChanged(namespace, key, value).
    void settingChanged(const QDBusMessage& message);

private:
    QPalette m_original;
    bool m_ownDark = false;
};
