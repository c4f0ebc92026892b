#include "ui/main/hot_key_portal.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QStringList>

namespace {

constexpr char kService[] = "org.freedesktop.portal.Desktop";
constexpr char kPath[] = "/org/freedesktop/portal/desktop";
constexpr char kInterface[] = "org.freedesktop.portal.GlobalShortcuts";
constexpr char kRequestInterface[] = "org.freedesktop.portal.Request";

// One shortcut of BindShortcuts: its id and its properties, a (sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& out, const PortalShortcut& s) {
    out.beginStructure();
    out << s.id << s.properties;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, PortalShortcut& s) {
    in.beginStructure();
    in >> s.id >> s.properties;
    in.endStructure();
    return in;
}

}  // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace {

// A handle in a result: an object path, though some portals send a string.
QString pathOf(const QVariant& value) {
    if (value.canConvert<QDBusObjectPath>()) {
        const QString path = value.value<QDBusObjectPath>().path();
        if (!path.isEmpty()) return path;
    }
    return value.toString();
}

struct KeyName {
    std::uint32_t vk;
    const char* name;
};
// The keys of the hot-key table by their key names; the modifiers apart.
constexpr KeyName kKeyNames[] = {
    {0x09, "Tab"},    {0x1B, "Escape"},      {0x0D, "Return"},      {0x08, "BackSpace"},
    {0x20, "space"},  {0x2D, "Insert"},      {0x24, "Home"},        {0x21, "Page_Up"},
    {0x2E, "Delete"}, {0x23, "End"},         {0x22, "Page_Down"},   {0x13, "Pause"},
    {0x25, "Left"},   {0x27, "Right"},       {0x26, "Up"},          {0x28, "Down"},
    {0x6B, "KP_Add"}, {0x6D, "KP_Subtract"}, {0x6A, "KP_Multiply"}, {0x6F, "KP_Divide"},
};

QString keyName(std::uint32_t vk) {
    if (vk >= 'A' && vk <= 'Z') return QString(QChar(static_cast<char16_t>(vk - 'A' + 'a')));
    if (vk >= '0' && vk <= '9') return QString(QChar(static_cast<char16_t>(vk)));
    if (vk >= 0x70 && vk <= 0x7B) return QStringLiteral("F%1").arg(vk - 0x70 + 1);
    for (const KeyName& k : kKeyNames) {
        if (k.vk == vk) return QString::fromLatin1(k.name);
    }
    return {};
}

}  // namespace

HotKeyPortal::HotKeyPortal(QObject* parent) : QObject(parent) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

HotKeyPortal::~HotKeyPortal() { stop(); }

QString HotKeyPortal::triggerFor(std::uint32_t key1, std::uint32_t key2, std::uint32_t key3) {
    // The desktop's order of modifiers.
    const struct {
        std::uint32_t vk;
        const char* name;
    } modifiers[] = {
        {0x11, "CTRL"}, {0x12, "ALT"}, {0x10, "SHIFT"}, {0x5B, "LOGO"}, {0x5C, "LOGO"}};
    const std::uint32_t keys[] = {key1, key2, key3};
    QStringList parts;
    QString key;
    for (const auto& m : modifiers) {
        for (const std::uint32_t k : keys) {
            const QString name = QString::fromLatin1(m.name);
            if (k == m.vk && !parts.contains(name)) parts << name;
        }
    }
    for (const std::uint32_t k : keys) {
        if (k == 0) continue;
        bool modifier = false;
        for (const auto& m : modifiers) modifier = modifier || k == m.vk;
        if (modifier) continue;
        const QString name = keyName(k);
        if (name.isEmpty() || (!key.isEmpty() && key != name)) return {};
        key = name;
    }
    if (key.isEmpty()) return {};
    parts << key;
    return parts.join(QLatin1Char('+'));
}

QString HotKeyPortal::requestPath(const QString& token) const {
    // ":1.42" becomes "1_42".
    QString sender = QDBusConnection::sessionBus().baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("%1/request/%2/%3").arg(QLatin1String(kPath), sender, token);
}

void HotKeyPortal::watchResponse(const QString& path, const char* slot) {
    m_pending = path;
    QDBusConnection::sessionBus().connect(QString(), path, QLatin1String(kRequestInterface),
                                          QStringLiteral("Response"), this, slot);
}

void HotKeyPortal::forgetResponse(const QString& path, const char* slot) {
    QDBusConnection::sessionBus().disconnect(QString(), path, QLatin1String(kRequestInterface),
                                             QStringLiteral("Response"), this, slot);
    if (m_pending == path) m_pending.clear();
}

void HotKeyPortal::start(const QString& trigger) {
    if (m_started) return;
    m_started = true;
    m_trigger = trigger;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        emit unavailable(QStringLiteral("no session bus"));
        return;
    }
    const QDBusConnectionInterface* names = bus.interface();
    const QString service = QLatin1String(kService);
    const bool present =
        names != nullptr && (names->isServiceRegistered(service).value() ||
                             names->activatableServiceNames().value().contains(service));
    if (!present) {
        emit unavailable(QStringLiteral("no desktop portal"));
        return;
    }
    // The portal may lack the interface (GNOME before 48): ask for its version.
    QDBusMessage ask = QDBusMessage::createMethodCall(
        service, QLatin1String(kPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    ask << QLatin1String(kInterface) << QStringLiteral("version");
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (w->isError()) {
            emit unavailable(QStringLiteral("no global shortcuts on the desktop portal"));
            return;
        }
        createSession();
    });
}

void HotKeyPortal::createSession() {
    request(QStringLiteral("CreateSession"), {},
            {{QStringLiteral("session_handle_token"),
              QStringLiteral("wordbay_session%1").arg(m_tokens + 1)}},
            SLOT(sessionCreated(uint, QVariantMap)));
}

void HotKeyPortal::request(const QString& method, const QVariantList& arguments,
                           QVariantMap options, const char* slot) {
    const QString token = QStringLiteral("wordbay%1").arg(++m_tokens);
    const QString path = requestPath(token);
    // Subscribed before the call, or a quick answer would be missed.
    watchResponse(path, slot);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), QLatin1String(kPath), QLatin1String(kInterface), method);
    options.insert(QStringLiteral("handle_token"), token);
    call.setArguments(QVariantList(arguments) << options);
    callAwaitingResponse(call, path, slot);
}

void HotKeyPortal::callAwaitingResponse(const QDBusMessage& call, const QString& path,
                                        const char* slot) {
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, path, slot](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (!w->isError()) return;
                forgetResponse(path, slot);
                emit unavailable(w->error().message());
            });
}

void HotKeyPortal::sessionCreated(uint response, const QVariantMap& results) {
    forgetResponse(m_pending, SLOT(sessionCreated(uint, QVariantMap)));
    m_session = pathOf(results.value(QStringLiteral("session_handle")));
    if (response != 0 || m_session.isEmpty()) {
        emit unavailable(QStringLiteral("the desktop refused a shortcut session"));
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(QLatin1String(kService), QLatin1String(kPath), QLatin1String(kInterface),
                QStringLiteral("Activated"), this,
                SLOT(shortcutActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));

    QVariantMap properties{{QStringLiteral("description"), QString::fromLatin1(kDescription)}};
    if (!m_trigger.isEmpty()) properties.insert(QStringLiteral("preferred_trigger"), m_trigger);
    const QList<PortalShortcut> shortcuts{{QString::fromLatin1(kShortcutId), properties}};
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts),
             QString()},
            {}, SLOT(shortcutsBound(uint, QVariantMap)));
}

void HotKeyPortal::shortcutsBound(uint response, const QVariantMap&) {
    forgetResponse(m_pending, SLOT(shortcutsBound(uint, QVariantMap)));
    if (response != 0) {
        // 1: the user cancelled the desktop's dialog; 2: any other failure.
        emit unavailable(QStringLiteral("the desktop did not bind the shortcut"));
        return;
    }
    m_bound = true;
    emit bound();
}

void HotKeyPortal::shortcutActivated(const QDBusObjectPath& session, const QString& id, qulonglong,
                                     const QVariantMap&) {
    if (m_bound && session.path() == m_session && id == QLatin1String(kShortcutId))
        emit activated();
}

void HotKeyPortal::stop() {
    m_started = false;
    m_bound = false;
    if (m_session.isEmpty()) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.disconnect(QLatin1String(kService), QLatin1String(kPath), QLatin1String(kInterface),
                   QStringLiteral("Activated"), this,
                   SLOT(shortcutActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    bus.asyncCall(QDBusMessage::createMethodCall(QLatin1String(kService), m_session,
                                                 QStringLiteral("org.freedesktop.portal.Session"),
                                                 QStringLiteral("Close")));
    m_session.clear();
}
