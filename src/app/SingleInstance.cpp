// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace tavolen::app {

namespace {

constexpr auto kPath = "/Tavolen";
constexpr auto kInterface = "app.tavolen.Tavolen";
constexpr int kSendTimeoutMs = 2000;

QByteArray commandFor(SingleInstance::Request request)
{
    switch (request) {
    case SingleInstance::Request::Capture:
        return QByteArrayLiteral("Capture");
    case SingleInstance::Request::ShowSettings:
        return QByteArrayLiteral("ShowSettings");
    case SingleInstance::Request::ShowReady:
        break;
    }
    return QByteArrayLiteral("ShowReady");
}

} // namespace

QString SingleInstance::socketPath(const QString &name)
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(dir).filePath(name + QStringLiteral(".socket"));
}

// What the bus calls: one method a request.
class BusEndpoint final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.tavolen.Tavolen")
public:
    explicit BusEndpoint(SingleInstance *owner) : m_owner(owner) {}

public Q_SLOTS:
    Q_SCRIPTABLE void ShowReady() { Q_EMIT m_owner->requested(SingleInstance::Request::ShowReady); }
    Q_SCRIPTABLE void Capture() { Q_EMIT m_owner->requested(SingleInstance::Request::Capture); }
    Q_SCRIPTABLE void ShowSettings() { Q_EMIT m_owner->requested(SingleInstance::Request::ShowSettings); }

private:
    SingleInstance *m_owner;
};

SingleInstance::Transport SingleInstance::availableTransport()
{
    return QDBusConnection::sessionBus().isConnected() ? Transport::SessionBus : Transport::LocalSocket;
}

// Each instance has a bus connection of its own, so that a name it owns is
// owned by it alone (and two of them in one process are told apart).
// Each instance has a bus connection of its own, so that a name it owns is
// owned by it alone (and two of them in one process are told apart).
SingleInstance::SingleInstance(QString name, Transport transport, QObject *parent)
    : QObject(parent), m_name(std::move(name)), m_transport(transport),
      m_connectionName(QStringLiteral("tavolen-instance-%1").arg(quintptr(this), 0, 16))
{}

SingleInstance::~SingleInstance()
{
    if (m_transport == Transport::SessionBus)
        QDBusConnection::disconnectFromBus(m_connectionName); // its names go with it
}

bool SingleInstance::claim(std::chrono::milliseconds patience)
{
    const QDeadlineTimer deadline(patience);
    while (!tryClaim()) {
        if (deadline.hasExpired())
            return false;
        // Only at start-up, before anything is on screen: a short, bounded wait.
        QThread::msleep(100);
        QCoreApplication::processEvents();
    }
    return true;
}

bool SingleInstance::tryClaim()
{
    if (m_transport == Transport::SessionBus) {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
        if (!bus.isConnected())
            return false;
        const auto reply =
            bus.interface()->registerService(m_name, QDBusConnectionInterface::DontQueueService,
                                             QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered)
            return false;
        m_busObject = std::make_unique<BusEndpoint>(this);
        bus.registerObject(QString::fromLatin1(kPath), m_busObject.get(),
                           QDBusConnection::ExportScriptableSlots);
        return true;
    }
    const QString path = socketPath(m_name);
    // Someone answers: another instance runs. No one: a crashed one may have
    // left its socket behind, which is taken over. (Listening first would not
    // tell: Qt replaces an existing socket file when it listens.)
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(path);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path))
        return false;
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server->nextPendingConnection()) {
            // The request may be in before these connections are made, and
            // the sender may have gone already: read what is there each time.
            const auto drain = [this, client] {
                while (client->canReadLine())
                    serve(client->readLine(64).trimmed());
                // One short line a request; anything longer is not ours.
                if (client->bytesAvailable() > 64)
                    client->abort();
            };
            connect(client, &QLocalSocket::readyRead, this, drain);
            connect(client, &QLocalSocket::disconnected, this, [client, drain] {
                drain();
                client->deleteLater();
            });
            drain();
        }
    });
    return true;
}

void SingleInstance::serve(const QByteArray &command)
{
    if (command == commandFor(Request::Capture))
        Q_EMIT requested(Request::Capture);
    else if (command == commandFor(Request::ShowSettings))
        Q_EMIT requested(Request::ShowSettings);
    else if (command == commandFor(Request::ShowReady))
        Q_EMIT requested(Request::ShowReady);
}

bool SingleInstance::send(Request request, QString name, Transport transport)
{
    if (transport == Transport::SessionBus) {
        // A connection of its own, waited on with the event loop running: the
        // receiver may be this very process (as in tests).
        QDBusConnection bus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("tavolen-request"));
        const QDBusMessage call =
            QDBusMessage::createMethodCall(name, QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
                                           QString::fromLatin1(commandFor(request)));
        return bus.call(call, QDBus::BlockWithGui, kSendTimeoutMs).type() == QDBusMessage::ReplyMessage;
    }
    QLocalSocket socket;
    socket.connectToServer(socketPath(name));
    if (!socket.waitForConnected(kSendTimeoutMs))
        return false;
    socket.write(commandFor(request) + '\n');
    // A graceful close: what was written is delivered before the connection ends.
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(kSendTimeoutMs);
}

} // namespace tavolen::app

#include "SingleInstance.moc"
