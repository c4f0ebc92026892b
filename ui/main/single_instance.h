// SingleInstance: one running program per user. The first start listens on a
// local socket named after the main window class and the user; a later start
// connects to it, sends the command that brings the first one's window to the
// front and ends.
#pragma once

#include <QObject>
#include <QString>

#include "ui/main/command_ids.h"

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `name`: the socket name (see socketName()).
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // "TQ_TALLIS2-<user>", or the name in the environment variable
    // WORDBAY_INSTANCE (separate instances side by side, as tests need), in
    // the user's private runtime folder (wordbay::PrivateRuntimeDir()); a name
    // that holds a "/" is a path and taken as it is.
    static QString socketName();

    // Sends a running instance command `id` (by default: come forward);
    // true when one answered.
    bool notifyRunning(int id = cmd::kActivateInstance);
    // Starts listening; false when that is impossible (another instance took
    // the name meanwhile). A name left behind by a crashed process is taken over.
    bool listen();

signals:
    // A later start sent command `id` (130 come forward, 131 translate the
    // selection).
    void commandReceived(int id);

private:
    void readConnection();

    QString m_name;
    QLocalServer* m_server = nullptr;
};
