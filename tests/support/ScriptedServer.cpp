#include "support/ScriptedServer.h"

#include "support/ScriptedConnection.h"

#include <QMutexLocker>
#include <QTcpServer>
#include <QTest>

namespace tavolen::test {

ScriptedServer::ScriptedServer()
{
    m_thread.setObjectName(QStringLiteral("scripted-server"));
    m_thread.start();
    m_home = new QObject;
    m_home->moveToThread(&m_thread);
    const std::shared_ptr<ScriptedState> state = m_state;
    QObject *home = m_home;
    QMetaObject::invokeMethod(
        m_home,
        [this, state, home] {
            auto *listener = new QTcpServer(home);
            QObject::connect(listener, &QTcpServer::newConnection, listener, [listener, state, home] {
                while (QTcpSocket *socket = listener->nextPendingConnection())
                    new ScriptedConnection(socket, state, home);
            });
            if (listener->listen(QHostAddress::LocalHost, 0))
                m_port = listener->serverPort();
        },
        Qt::BlockingQueuedConnection);
    if (m_port == 0)
        qFatal("scripted server: cannot listen on 127.0.0.1");
}

ScriptedServer::~ScriptedServer()
{
    QObject *home = m_home;
    // Closes the listener and every connection on the thread they live on.
    QMetaObject::invokeMethod(
        m_home, [home] { qDeleteAll(home->children()); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_home;
}

QString ScriptedServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

void ScriptedServer::script(const QByteArray &path, ScriptedResponse response)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->scripts[path].enqueue(std::move(response));
}

void ScriptedServer::setFallback(ScriptedResponse response)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->fallback = std::move(response);
}

QList<RecordedRequest> ScriptedServer::requests() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->requests;
}

QList<RecordedRequest> ScriptedServer::requests(const QByteArray &path) const
{
    QList<RecordedRequest> out;
    for (RecordedRequest &r : requests())
        if (r.path == path)
            out.append(std::move(r));
    return out;
}

bool ScriptedServer::waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout) const
{
    QDeadlineTimer deadline(timeout);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QTest::qWait(5);
    }
    return true;
}

std::optional<RecordedRequest> ScriptedServer::waitForFate(int index, std::chrono::milliseconds timeout) const
{
    std::optional<RecordedRequest> found;
    waitUntil(
        [&] {
            const QList<RecordedRequest> all = requests();
            if (index < all.size() && all[index].fate != RecordedRequest::Fate::Answering)
                found = all[index];
            return found.has_value();
        },
        timeout);
    return found;
}

} // namespace tavolen::test
