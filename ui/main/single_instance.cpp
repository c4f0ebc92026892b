#include "ui/main/single_instance.h"

#include <pwd.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>

#include "app/runtime_dir.h"
#include "ui/main/command_ids.h"

namespace {

constexpr int kConnectTimeoutMs = 1000;

}  // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), m_name(name) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketName() {
    const QByteArray given = qgetenv("WORDBAY_INSTANCE");
    QString name = QString::fromLocal8Bit(given);
    if (name.isEmpty()) {
        const passwd* pw = getpwuid(getuid());
        const QString user =
            pw != nullptr ? QString::fromLocal8Bit(pw->pw_name) : QString::number(getuid());
        name = QStringLiteral("TQ_TALLIS2-") + user;
    }
    if (name.contains(QLatin1Char('/'))) return name;
    // A bare name would be a socket in the shared /tmp, where another user
    // could create it first.
    const std::string dir = wordbay::PrivateRuntimeDir();
    if (dir.empty()) return name;
    return QString::fromLocal8Bit(dir.c_str()) + QLatin1Char('/') + name;
}

bool SingleInstance::notifyRunning(int id) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(QByteArray::number(id) + '\n');
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Nobody answered a moment ago: the socket file is a crashed run's.
        if (m_server->serverError() != QAbstractSocket::AddressInUseError) return false;
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::readConnection);
    return true;
}

void SingleInstance::readConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                bool ok = false;
                const int id = socket->readLine().trimmed().toInt(&ok);
                if (ok) emit commandReceived(id);
            }
        });
    }
}
