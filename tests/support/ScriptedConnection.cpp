#include "support/ScriptedConnection.h"

#include <QMutexLocker>
#include <QTimer>

#include <sys/socket.h>

namespace tavolen::test {

using Fate = RecordedRequest::Fate;

ScriptedConnection::ScriptedConnection(QTcpSocket *socket, std::shared_ptr<ScriptedState> state,
                                       QObject *parent)
    : QObject(parent), m_socket(socket), m_state(std::move(state))
{
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, this, &ScriptedConnection::onReadyRead);
    connect(socket, &QTcpSocket::disconnected, this, &ScriptedConnection::onDisconnected);
    onReadyRead();
}

void ScriptedConnection::onReadyRead()
{
    m_in += m_socket->readAll();
    if (!m_answering)
        takeRequest();
}

void ScriptedConnection::onDisconnected()
{
    m_gone = true;
    if (m_answering)
        update([](RecordedRequest &r) {
            if (r.fate == Fate::Answering)
                r.fate = Fate::ClientLeft;
        });
    deleteLater();
}

bool ScriptedConnection::takeRequest()
{
    const qsizetype headEnd = m_in.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return false;
    const QList<QByteArray> lines = m_in.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    RecordedRequest request;
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.append({lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed()});
    }
    const qsizetype length = request.header("Content-Length").value_or("0").toLongLong();
    if (m_in.size() < headEnd + 4 + length)
        return false;
    request.body = m_in.mid(headEnd + 4, length);
    m_in.remove(0, headEnd + 4 + length);

    {
        QMutexLocker lock(&m_state->mutex);
        m_record = int(m_state->requests.size());
        m_state->requests.append(request);
    }
    m_response = nextScript(request.path);
    m_answering = true;

    if (m_response.notHttp) {
        update([](RecordedRequest &r) { r.fate = Fate::Completed; });
        m_answering = false;
        m_socket->write(*m_response.notHttp);
        m_socket->disconnectFromHost();
        return true;
    }
    if (m_response.silent)
        return true;
    QTimer::singleShot(m_response.headDelay, this, [this] {
        if (m_gone)
            return;
        writeHead();
        sendFrom(0);
    });
    return true;
}

ScriptedResponse ScriptedConnection::nextScript(const QByteArray &path)
{
    QMutexLocker lock(&m_state->mutex);
    auto it = m_state->scripts.find(path);
    if (it != m_state->scripts.end() && !it->isEmpty())
        return it->dequeue();
    if (m_state->fallback)
        return *m_state->fallback;
    if (path.endsWith("/v1/health"))
        return ScriptedResponse::body(200, "{}");
    return ScriptedResponse::body(404, "{}");
}

void ScriptedConnection::writeHead()
{
    const ScriptedResponse &r = m_response;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status) + ' ' + r.reason + "\r\n";
    for (const auto &[name, value] : r.headers)
        head += name + ": " + value + "\r\n";
    switch (r.framing) {
    case ScriptedResponse::Framing::ContentLength: {
        qsizetype total = 0;
        for (const auto &piece : r.pieces)
            total += piece.bytes.size();
        head += "Content-Length: " + QByteArray::number(total) + "\r\n";
        break;
    }
    case ScriptedResponse::Framing::Chunked:
        head += "Transfer-Encoding: chunked\r\n";
        break;
    case ScriptedResponse::Framing::UntilClose:
        head += "Connection: close\r\n";
        break;
    }
    m_socket->write(head + "\r\n");
}

void ScriptedConnection::sendFrom(int piece)
{
    if (piece >= m_response.piecesToSend()) {
        // An ending before the last piece takes that piece's place, delay included.
        const auto delay =
            piece < m_response.pieces.size() ? m_response.pieces[piece].delay : std::chrono::milliseconds{0};
        QTimer::singleShot(delay, this, [this] {
            if (!m_gone)
                end();
        });
        return;
    }
    QTimer::singleShot(m_response.pieces[piece].delay, this, [this, piece] {
        if (m_gone)
            return;
        const QByteArray &bytes = m_response.pieces[piece].bytes;
        if (m_response.framing != ScriptedResponse::Framing::Chunked)
            m_socket->write(bytes);
        else if (!bytes.isEmpty()) // an empty chunk would end the body
            m_socket->write(QByteArray::number(bytes.size(), 16) + "\r\n" + bytes + "\r\n");
        update([](RecordedRequest &r) { ++r.piecesSent; });
        sendFrom(piece + 1);
    });
}

void ScriptedConnection::end()
{
    using Ending = ScriptedResponse::Ending;
    using Framing = ScriptedResponse::Framing;
    if (m_response.ending == Ending::Stall)
        return; // the answer stays open until the client leaves
    // Settled before the socket is touched: closing reports a disconnect.
    update([](RecordedRequest &r) { r.fate = Fate::Completed; });
    m_answering = false;
    switch (m_response.ending) {
    case Ending::Stall:
        break;
    case Ending::Close:
        m_socket->disconnectFromHost();
        return;
    case Ending::Reset: {
        // A zero linger turns the close into a reset.
        const linger hard{1, 0};
        ::setsockopt(int(m_socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        m_socket->abort();
        return;
    }
    case Ending::Complete:
        if (m_response.framing == Framing::Chunked)
            m_socket->write("0\r\n\r\n");
        if (m_response.framing == Framing::UntilClose) {
            m_socket->disconnectFromHost();
            return;
        }
        break;
    }
    takeRequest();
}

void ScriptedConnection::update(const std::function<void(RecordedRequest &)> &change)
{
    QMutexLocker lock(&m_state->mutex);
    if (m_record >= 0 && m_record < m_state->requests.size())
        change(m_state->requests[m_record]);
}

} // namespace tavolen::test
