#include "api/ReplyWatch.h"

#include <QCoreApplication>

namespace tavolen::api {

ReplyWatch::ReplyWatch(QNetworkReply *reply) : m_reply(reply)
{
    m_sinceProgress.start();
    const auto progress = [this] { m_sinceProgress.restart(); };
    connect(reply, &QNetworkReply::uploadProgress, this, progress);
    connect(reply, &QNetworkReply::downloadProgress, this, progress);
    connect(reply, &QNetworkReply::readyRead, this, progress);
    connect(reply, &QNetworkReply::metaDataChanged, this, &ReplyWatch::notify);
    connect(reply, &QNetworkReply::readyRead, this, &ReplyWatch::notify);
    connect(reply, &QNetworkReply::errorOccurred, this, [this] {
        // Qt reports progress once more as the reply finishes; the idle
        // stretch that matters is the one that ended in the failure.
        m_idleAtFailure = std::chrono::milliseconds(m_sinceProgress.elapsed());
        notify();
    });
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

bool ReplyWatch::timedOut(std::chrono::milliseconds limit) const
{
    if (!m_reply)
        return false;
    const auto e = m_reply->error();
    if (e == QNetworkReply::TimeoutError)
        return true;
    // Qt 6.4 reports an expired transfer time-out as a cancellation. We never
    // cancel a reply we still wait for, so a cancellation after an idle
    // stretch close to the limit is the time-out (with slack for timer jitter).
    return e == QNetworkReply::OperationCanceledError && m_idleAtFailure >= limit * 3 / 4;
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
