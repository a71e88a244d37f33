// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/ScriptedServer.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

namespace tavolen::test {

using Fate = RecordedRequest::Fate;

namespace {

// "Name: value" lines, each trimmed; lines without a name are left out.
HeaderList parseHeaders(const QList<QByteArray> &lines)
{
    HeaderList headers;
    for (const QByteArray &line : lines) {
        const QByteArray trimmed = line.trimmed();
        if (const qsizetype colon = trimmed.indexOf(':'); colon > 0)
            headers.append({trimmed.left(colon), trimmed.mid(colon + 1).trimmed()});
    }
    return headers;
}

// One client connection, on the service's thread: reads requests one after
// another (keep-alive), records each, and plays the script for its path.
class ScriptedConnection : public QObject {
public:
    ScriptedConnection(QTcpSocket *socket, std::shared_ptr<ScriptedState> state, QObject *parent)
        : QObject(parent), m_socket(socket), m_state(std::move(state))
    {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, &ScriptedConnection::onReadyRead);
        connect(socket, &QTcpSocket::disconnected, this, &ScriptedConnection::onDisconnected);
        connect(socket, &QTcpSocket::bytesWritten, this, [this](qint64 n) {
            update([n](RecordedRequest &r) { r.bytesSent += n; });
            if (m_pumping && m_response.endlessGap.count() == 0)
                pump();
        });
        connect(&m_pumpTimer, &QTimer::timeout, this, &ScriptedConnection::pump);
        onReadyRead();
    }

private:
    void onReadyRead()
    {
        m_in += m_socket->readAll();
        if (!m_answering)
            takeRequest();
    }

    void onDisconnected()
    {
        m_gone = true;
        if (m_answering)
            update([](RecordedRequest &r) {
                if (r.fate == Fate::Answering)
                    r.fate = Fate::ClientLeft;
            });
        deleteLater();
    }

    // Takes one complete request off the input, if there is one, and answers it.
    void takeRequest()
    {
        const qsizetype headEnd = m_in.indexOf("\r\n\r\n");
        if (headEnd < 0)
            return;
        const QList<QByteArray> lines = m_in.left(headEnd).split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        RecordedRequest request;
        request.method = requestLine.value(0);
        request.path = requestLine.value(1);
        request.headers = parseHeaders(lines.mid(1));
        const qsizetype length = request.header("Content-Length").value_or("0").toLongLong();
        if (m_in.size() < headEnd + 4 + length)
            return;
        request.body = m_in.mid(headEnd + 4, length);
        m_in.remove(0, headEnd + 4 + length);
        {
            QMutexLocker lock(&m_state->mutex);
            m_record = int(m_state->requests.size());
            m_state->requests.append(request);
            auto it = m_state->scripts.find(request.path);
            if (it != m_state->scripts.end() && !it->isEmpty())
                m_response = it->dequeue();
            else if (m_state->fallback)
                m_response = *m_state->fallback;
            else
                m_response = ScriptedResponse::body(request.path.endsWith("/v1/health") ? 200 : 404, "{}");
        }
        m_answering = true;
        if (m_response.notHttp) {
            update([](RecordedRequest &r) { r.fate = Fate::Completed; });
            m_answering = false;
            m_socket->write(*m_response.notHttp);
            m_socket->disconnectFromHost();
        } else if (!m_response.silent) {
            writeHead();
            sendFrom(0);
        }
    }

    void writeHead()
    {
        const ScriptedResponse &r = m_response;
        QByteArray head =
            "HTTP/1.1 " + QByteArray::number(r.status) + (r.status == 200 ? " OK" : " Scripted");
        for (const auto &[name, value] : r.headers)
            head += "\r\n" + name + ": " + value;
        if (r.framing == ScriptedResponse::Framing::Chunked) {
            head += "\r\nTransfer-Encoding: chunked";
        } else {
            qsizetype total = 0;
            for (const auto &piece : r.pieces)
                total += piece.bytes.size();
            head += "\r\nContent-Length: " + QByteArray::number(total);
        }
        m_socket->write(head + "\r\n\r\n");
    }

    void sendFrom(int piece)
    {
        if (piece >= m_response.piecesToSend() && m_response.endAfter < 0 &&
            !m_response.endlessUnit.isEmpty()) {
            startPumping();
            return;
        }
        if (piece >= m_response.piecesToSend()) {
            // An ending before the last piece takes that piece's place, delay included.
            const auto delay = piece < m_response.pieces.size() ? m_response.pieces[piece].delay
                                                                : std::chrono::milliseconds{0};
            QTimer::singleShot(delay, this, [this] {
                if (!m_gone)
                    end();
            });
            return;
        }
        QTimer::singleShot(m_response.pieces[piece].delay, this, [this, piece] {
            if (m_gone)
                return;
            writePiece(m_response.pieces[piece].bytes);
            update([](RecordedRequest &r) { ++r.piecesSent; });
            sendFrom(piece + 1);
        });
    }

    void startPumping()
    {
        // A small send buffer keeps what the kernel holds for the client
        // small, so what the service has sent is close to what the client took.
        m_socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 64 * 1024);
        m_pumping = true;
        m_pumpClock.start();
        const auto gap =
            m_response.endlessGap.count() > 0 ? m_response.endlessGap : std::chrono::milliseconds(50);
        m_pumpTimer.start(gap);
        pump();
    }

    // Writes the endless unit: one per tick with a gap, otherwise as long as
    // the socket has taken the previous ones.
    void pump()
    {
        if (!m_pumping || m_gone)
            return;
        if (m_pumpClock.elapsed() >= m_response.endlessFor.count()) {
            m_pumping = false;
            m_pumpTimer.stop();
            end();
            return;
        }
        if (m_response.endlessGap.count() > 0) {
            writePiece(m_response.endlessUnit);
            return;
        }
        while (m_socket->bytesToWrite() < 256 * 1024)
            writePiece(m_response.endlessUnit);
    }

    void writePiece(const QByteArray &bytes)
    {
        if (m_response.framing != ScriptedResponse::Framing::Chunked)
            m_socket->write(bytes);
        else if (!bytes.isEmpty()) // an empty chunk would end the body
            m_socket->write(QByteArray::number(bytes.size(), 16) + "\r\n" + bytes + "\r\n");
    }

    void end()
    {
        using Ending = ScriptedResponse::Ending;
        if (m_response.ending == Ending::Stall)
            return; // the answer stays open until the client leaves
        // Settled before the socket is touched: closing reports a disconnect.
        update([](RecordedRequest &r) { r.fate = Fate::Completed; });
        m_answering = false;
        if (m_response.ending == Ending::Close) {
            m_socket->disconnectFromHost();
        } else if (m_response.ending == Ending::Reset) {
            // A zero linger turns the close into a reset.
            const linger hard{1, 0};
            ::setsockopt(int(m_socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            m_socket->abort();
        } else {
            if (m_response.framing == ScriptedResponse::Framing::Chunked)
                m_socket->write("0\r\n\r\n");
            takeRequest();
        }
    }

    void update(const std::function<void(RecordedRequest &)> &change)
    {
        QMutexLocker lock(&m_state->mutex);
        if (m_record >= 0 && m_record < m_state->requests.size())
            change(m_state->requests[m_record]);
    }

    QTcpSocket *m_socket;
    std::shared_ptr<ScriptedState> m_state;
    QByteArray m_in;
    ScriptedResponse m_response;
    int m_record = -1;
    bool m_answering = false;
    bool m_gone = false;
    bool m_pumping = false;
    QTimer m_pumpTimer;
    QElapsedTimer m_pumpClock;
};

} // namespace

std::optional<QByteArray> headerValue(const HeaderList &headers, QByteArrayView name)
{
    for (const auto &[key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return std::nullopt;
}

ScriptedServer::ScriptedServer(quint16 port)
{
    m_thread.setObjectName(QStringLiteral("scripted-server"));
    m_thread.start();
    m_home = new QObject;
    m_home->moveToThread(&m_thread);
    QMetaObject::invokeMethod(
        m_home,
        [this, state = m_state, home = m_home, port] {
            auto *listener = new QTcpServer(home);
            QObject::connect(listener, &QTcpServer::newConnection, listener, [listener, state, home] {
                while (QTcpSocket *socket = listener->nextPendingConnection())
                    new ScriptedConnection(socket, state, home);
            });
            if (listener->listen(QHostAddress::LocalHost, port))
                m_port = listener->serverPort();
        },
        Qt::BlockingQueuedConnection);
    // A port asked for may be taken: the test says so and skips.
    if (m_port == 0 && port == 0)
        qFatal("scripted server: cannot listen on 127.0.0.1");
}

ScriptedServer::~ScriptedServer()
{
    // Closes the listener and every connection on the thread they live on.
    QMetaObject::invokeMethod(
        m_home, [home = m_home] { qDeleteAll(home->children()); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_home;
}

ScriptedResponse ScriptedResponse::modelWrites(const QByteArray &text)
{
    QList<QByteArray> chunks;
    for (qsizetype at = 0; at < text.size(); at += 24) {
        const QJsonObject delta{{QStringLiteral("content"), QString::fromUtf8(text.mid(at, 24))}};
        const QJsonObject chunk{
            {QStringLiteral("choices"),
             QJsonArray{QJsonObject{{QStringLiteral("index"), 0}, {QStringLiteral("delta"), delta}}}}};
        chunks << "data: " + QJsonDocument(chunk).toJson(QJsonDocument::Compact) + "\n\n";
    }
    chunks << "data: [DONE]\n\n";
    return stream(chunks);
}

} // namespace tavolen::test
