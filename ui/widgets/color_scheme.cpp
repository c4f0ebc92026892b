#include "ui/widgets/color_scheme.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kSettings = QStringLiteral("org.freedesktop.portal.Settings");
const QString kAppearance = QStringLiteral("org.freedesktop.appearance");
const QString kColorScheme = QStringLiteral("color-scheme");
// Below this lightness (0..255) a window colour is dark.
constexpr int kDarkLightness = 128;

// The portal's value: a number, perhaps wrapped in one more variant (the
// older Read call).
ColorScheme::Preference preferenceOf(QVariant value) {
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const uint number = value.toUInt(&ok);
    if (!ok || number > 2) return ColorScheme::Preference::kNone;
    return static_cast<ColorScheme::Preference>(number);
}

}  // namespace

ColorScheme::ColorScheme(QObject* parent) : QObject(parent), m_original(QApplication::palette()) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    bus.connect(kPortalService, kPortalPath, kSettings, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QDBusMessage)));
    QDBusMessage ask = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kSettings,
                                                      QStringLiteral("ReadOne"));
    ask << kAppearance << kColorScheme;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusMessage reply = w->reply();
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            apply(preferenceOf(reply.arguments().first()));
            return;
        }
        // Portals before ReadOne answer Read, with the value in two variants.
        QDBusMessage read = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kSettings,
                                                           QStringLiteral("Read"));
        read << kAppearance << kColorScheme;
        auto* older =
            new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(read), this);
        connect(
            older, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* o) {
                o->deleteLater();
                const QDBusMessage answer = o->reply();
                if (answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty())
                    apply(preferenceOf(answer.arguments().first()));
            });
    });
}

void ColorScheme::settingChanged(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() == 3 && arguments[0].toString() == kAppearance &&
        arguments[1].toString() == kColorScheme)
        apply(preferenceOf(arguments[2]));
}

bool ColorScheme::isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < kDarkLightness;
}

bool ColorScheme::isDark() { return isDark(QApplication::palette()); }

void ColorScheme::apply(Preference preference) {
    const bool wasDark = isDark();
    if (preference == Preference::kDark && !isDark(m_original)) {
        QApplication::setPalette(darkPalette());
        m_ownDark = true;
    } else if (m_ownDark && preference != Preference::kDark) {
        // Back to the palette Qt chose (a light desktop).
        QApplication::setPalette(m_original);
        m_ownDark = false;
    }
    if (isDark() != wasDark) emit changed(isDark());
}

QPalette ColorScheme::darkPalette() {
    const QColor window(0x2d, 0x2d, 0x30);
    const QColor base(0x1e, 0x1e, 0x1e);
    const QColor text(0xe8, 0xe8, 0xe8);
    const QColor dim(0x80, 0x80, 0x80);
    const QColor highlight(0x2f, 0x65, 0xca);
    QPalette p(window);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(0x2a, 0x2a, 0x2d));
    p.setColor(QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x40));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, dim);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3e));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(0xff, 0x6b, 0x6b));
    p.setColor(QPalette::Light, QColor(0x55, 0x55, 0x5a));
    p.setColor(QPalette::Midlight, QColor(0x45, 0x45, 0x4a));
    p.setColor(QPalette::Mid, QColor(0x25, 0x25, 0x28));
    p.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x1a));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(0x6c, 0xa0, 0xf0));
    p.setColor(QPalette::LinkVisited, QColor(0xa0, 0x8c, 0xe8));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, dim);
    }
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    return p;
}
