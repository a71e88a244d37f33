// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/ReplyWatch.h"

#include <QCoreApplication>
#include <QHostAddress>

namespace tavolen::api {

namespace {

// The error Qt 6.4 reports for an answer with this status once its body is
// in (QHttpThreadDelegate): the status named as an error, not a failure of
// the transfer. NoError for statuses below 400.
QNetworkReply::NetworkError errorNamingStatus(int status)
{
    switch (status) {
    case 400:
    case 418:
        return QNetworkReply::ProtocolInvalidOperationError;
    case 401:
        return QNetworkReply::AuthenticationRequiredError;
    case 403:
        return QNetworkReply::ContentAccessDenied;
    case 404:
        return QNetworkReply::ContentNotFoundError;
    case 405:
        return QNetworkReply::ContentOperationNotPermittedError;
    case 407:
        return QNetworkReply::ProxyAuthenticationRequiredError;
    case 409:
        return QNetworkReply::ContentConflictError;
    case 410:
        return QNetworkReply::ContentGoneError;
    case 500:
        return QNetworkReply::InternalServerError;
    case 501:
        return QNetworkReply::OperationNotImplementedError;
    case 503:
        return QNetworkReply::ServiceUnavailableError;
    default:
        if (status > 500)
            return QNetworkReply::UnknownServerError;
        if (status >= 400)
            return QNetworkReply::UnknownContentError;
        return QNetworkReply::NoError;
    }
}

// Statuses whose answers have no body, whatever Content-Length says.
bool hasNoBody(int status)
{
    return (status >= 100 && status < 200) || status == 204 || status == 304;
}

TransportFailure::Kind kindOf(QNetworkReply::NetworkError e)
{
    using K = TransportFailure::Kind;
    switch (e) {
    case QNetworkReply::ConnectionRefusedError:
        return K::connectionRefused;
    case QNetworkReply::HostNotFoundError:
        return K::hostNotFound;
    case QNetworkReply::SslHandshakeFailedError:
        return K::tls;
    case QNetworkReply::RemoteHostClosedError:
        return K::connectionClosed;
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return K::proxy;
    default:
        return K::other;
    }
}

bool isLoopback(const QString &host)
{
    return host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
           QHostAddress(host).isLoopback();
}

} // namespace

TransportFailure failureAt(const QUrl &url, TransportFailure::Kind kind, QString detail)
{
    TransportFailure f;
    f.kind = kind;
    f.address = url.port() < 0 ? url.host() : QStringLiteral("%1:%2").arg(url.host()).arg(url.port());
    f.localService = isLoopback(url.host());
    f.detail = std::move(detail);
    return f;
}

namespace {

TransportFailure connectionClosed(const QUrl &url)
{
    return failureAt(url, TransportFailure::Kind::connectionClosed, QStringLiteral("Connection closed"));
}

} // namespace

void limitReadAhead(QNetworkReply *reply, qint64 bytes)
{
    // Qt 6.4 hands the limit to the transfer only once the transfer exists,
    // which is after the queued start that post() or get() arranged: set
    // now, it is lost. Queued behind that start it arrives before the body
    // does; the head, when the transfer surely exists, sends it once more.
    const auto apply = [reply, bytes] { reply->setReadBufferSize(bytes); };
    QTimer::singleShot(0, reply, apply);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, apply, Qt::SingleShotConnection);
}

ReplyWatch::ReplyWatch(QNetworkReply *reply, qint64 readAhead, QDeadlineTimer deadline) : m_reply(reply)
{
    limitReadAhead(reply, readAhead);
    connect(reply, &QNetworkReply::metaDataChanged, this, &ReplyWatch::notify);
    connect(reply, &QNetworkReply::readyRead, this, &ReplyWatch::notify);
    connect(reply, &QNetworkReply::errorOccurred, this, &ReplyWatch::notify);
    connect(reply, &QNetworkReply::finished, this, &ReplyWatch::notify);
    connect(reply, &QObject::destroyed, this, &ReplyWatch::notify);

    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &ReplyWatch::expire);
    if (!deadline.isForever())
        m_deadline.start(std::max<qint64>(0, deadline.remainingTime()));
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

void ReplyWatch::expire()
{
    if (!m_reply || m_reply->isFinished())
        return;
    m_deadlinePassed = true;
    m_reply->abort();
    notify();
}

QByteArray ReplyWatch::read(qint64 max)
{
    if (!m_reply || !m_reply->isOpen() || max <= 0)
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

std::optional<TransportFailure> ReplyWatch::transportFailure() const
{
    if (!m_reply)
        return failureAt(QUrl(), TransportFailure::Kind::connectionClosed,
                         QStringLiteral("Operation canceled"));
    const QUrl url = m_reply->url();
    const QNetworkReply::NetworkError e = m_reply->error();
    if (e == QNetworkReply::NoError) {
        // Qt 6.4 finishes a body cut short of its Content-Length without an
        // error; it is what Qt reports when it notices a closed connection.
        if (cutShort())
            return connectionClosed(url);
        return std::nullopt;
    }
    const std::optional<int> code = status();
    if (code && e == errorNamingStatus(*code))
        return std::nullopt;
    // Qt wanted to send the upload again, which our body refuses: for a 307
    // or 308 (which we follow ourselves, so the status decides), or after the
    // connection closed before the answer was whole.
    if (e == QNetworkReply::ContentReSendError) {
        if (code && *code >= 300 && *code < 400)
            return std::nullopt;
        return connectionClosed(url);
    }
    if (timedOut())
        return failureAt(
            url, m_deadlinePassed ? TransportFailure::Kind::deadline : TransportFailure::Kind::idleTimeout,
            m_reply->errorString());
    return failureAt(url, kindOf(e), m_reply->errorString());
}

TransportFailure ReplyWatch::failure(TransportFailure::Kind kind) const
{
    return failureAt(m_reply ? m_reply->url() : QUrl(), kind);
}

bool ReplyWatch::timedOut() const
{
    if (!m_reply)
        return false;
    // Qt 6.4 reports an expired transfer time-out as a cancellation, newer Qt
    // as a time-out. Otherwise we abort a reply only at the deadline or once
    // we have stopped waiting for it, so a cancellation seen while waiting is
    // a time-out.
    const auto e = m_reply->error();
    return e == QNetworkReply::TimeoutError || e == QNetworkReply::OperationCanceledError;
}

bool ReplyWatch::cutShort() const
{
    if (!m_reply || !m_reply->isFinished() || m_reply->bytesAvailable() > 0)
        return false;
    const std::optional<int> code = status();
    if (!code || hasNoBody(*code))
        return false;
    // A compressed body's length says nothing about the bytes we read.
    if (!m_reply->rawHeader("Content-Encoding").isEmpty())
        return false;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    return length.isValid() && m_bytesRead < length.toLongLong();
}

} // namespace tavolen::api
