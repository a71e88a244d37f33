#include "api/ReplyWatch.h"

#include <QCoreApplication>

namespace tavolen::api {

ReplyWatch::ReplyWatch(QNetworkReply *reply) : m_reply(reply)
{
    connect(reply, &QNetworkReply::metaDataChanged, this, &ReplyWatch::notify);
    connect(reply, &QNetworkReply::readyRead, this, &ReplyWatch::notify);
    connect(reply, &QNetworkReply::errorOccurred, this, &ReplyWatch::notify);
    connect(reply, &QNetworkReply::finished, this, &ReplyWatch::notify);
    connect(reply, &QObject::destroyed, this, &ReplyWatch::notify);
}

ReplyWatch::~ReplyWatch()
{
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    // A reply that has failed is finishing already; one still going is
    // stopped here, which closes its connection.
    if (m_reply->isRunning() && m_reply->error() == QNetworkReply::NoError)
        m_reply->abort();
    m_reply->deleteLater();
}

void ReplyWatch::notify()
{
    // One wake-up per wait: the resumption is queued, and a second queued
    // call could arrive after the waiting coroutine has moved on.
    if (m_notified)
        return;
    m_notified = true;
    Q_EMIT activity();
}

QByteArray ReplyWatch::read(qint64 max)
{
    if (!m_reply || !m_reply->isOpen())
        return {};
    QByteArray bytes = m_reply->read(max);
    m_bytesRead += bytes.size();
    return bytes;
}

std::optional<int> ReplyWatch::status() const
{
    if (!m_reply)
        return std::nullopt;
    const QVariant v = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!v.isValid())
        return std::nullopt;
    return v.toInt();
}

bool ReplyWatch::ended() const
{
    return !m_reply || m_reply->isFinished() || m_reply->error() != QNetworkReply::NoError;
}

std::optional<QString> ReplyWatch::transportFailure() const
{
    if (!m_reply)
        return QCoreApplication::translate("QNetworkReply", "Operation canceled");
    const int e = m_reply->error();
    if (e == QNetworkReply::NoError) {
        // Qt 6.4 finishes a body cut short of its Content-Length without an
        // error; we say what it says when it notices a closed connection.
        if (cutShort())
            return QCoreApplication::translate("QHttp", "Connection closed");
        return std::nullopt;
    }
    const std::optional<int> code = status();
    // With a status in, Qt also names statuses of 400 and up as errors (400
    // as an invalid operation, 407 as a proxy error). What remains are the
    // failures of the connection itself and of the framing.
    const bool transport = !code ||
                           (e == QNetworkReply::ProxyAuthenticationRequiredError ? *code != 407 : e < 200) ||
                           e == QNetworkReply::ProtocolFailure;
    if (!transport)
        return std::nullopt;
    return m_reply->errorString();
}

bool ReplyWatch::timedOut() const
{
    if (!m_reply)
        return false;
    // Qt 6.4 reports an expired transfer time-out as a cancellation, newer Qt
    // as a time-out. We abort a reply only once we have stopped waiting for
    // it, so a cancellation seen while waiting is the time-out.
    const auto e = m_reply->error();
    return e == QNetworkReply::TimeoutError || e == QNetworkReply::OperationCanceledError;
}

bool ReplyWatch::cutShort() const
{
    if (!m_reply || !m_reply->isFinished() || m_reply->bytesAvailable() > 0)
        return false;
    // A compressed body's length says nothing about the bytes we read.
    if (!m_reply->rawHeader("Content-Encoding").isEmpty())
        return false;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    return length.isValid() && m_bytesRead < length.toLongLong();
}

} // namespace tavolen::api
