// HotKeyPortal: the hot key on a Wayland desktop that offers global
// shortcuts through its desktop portal (org.freedesktop.portal.GlobalShortcuts
// on the session bus). It creates a session, binds one shortcut, "Translate
// selection", with the configured key combination as the preferred trigger,
// and reports each activation of it. Every call is asynchronous: a desktop
// that asks the user to confirm the shortcut never blocks the window.
#pragma once

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

class HotKeyPortal : public QObject {
    Q_OBJECT

public:
    static constexpr char kShortcutId[] = "translate-selection";
    static constexpr char kDescription[] = "Translate selection";

    explicit HotKeyPortal(QObject* parent = nullptr);
    ~HotKeyPortal() override;

    // Starts registering the shortcut; `trigger` is the preferred trigger in
    // the desktop's notation ("CTRL+SHIFT+t"), empty to let the desktop ask.
    // Ends in bound() or unavailable().
    void start(const QString& trigger);
    // Closes the session: the desktop forgets the shortcut.
    void stop();
    bool isBound() const { return m_bound; }

    // The preferred trigger of a combination of up to three Windows
    // virtual-key codes (0 = none): modifiers first, then the one other key
    // by its key name ("CTRL+ALT+t", "SHIFT+F5"). Empty when the combination
    // has no key besides modifiers (the desktop cannot take that) or two.
    static QString triggerFor(std::uint32_t key1, std::uint32_t key2, std::uint32_t key3);

signals:
    void bound();
    // No portal, no GlobalShortcuts on it, or the desktop refused.
    void unavailable(const QString& why);
    void activated();

private slots:
    void sessionCreated(uint response, const QVariantMap& results);
    void shortcutsBound(uint response, const QVariantMap& results);
    void shortcutActivated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                           const QVariantMap& options);

private:
    void createSession();
    // The path of the Request object a call with `token` will answer on.
    QString requestPath(const QString& token) const;
    void watchResponse(const QString& path, const char* slot);
    void forgetResponse(const QString& path, const char* slot);
    // Calls `method` of the portal with `arguments` and then `options`
    // (given a request token); its answer goes to `slot`.
    void request(const QString& method, const QVariantList& arguments, QVariantMap options,
                 const char* slot);
    // Makes a call whose answer comes as the Response of Request `path` to
    // `slot`; a call that fails at once ends in unavailable().
    void callAwaitingResponse(const QDBusMessage& call, const QString& path, const char* slot);

    QString m_trigger;
    QString m_session;
    QString m_pending;  // the Request path being waited on
    bool m_bound = false;
    bool m_started = false;
    int m_tokens = 0;
};
