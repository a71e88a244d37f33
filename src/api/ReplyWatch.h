// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/TransportFailure.h"

#include <QDeadlineTimer>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <qcoro/qcorosignal.h>

#include <optional>

namespace tavolen::api {

// A failure of the request to `url`, with the address worded as the user
// configured it.
TransportFailure failureAt(const QUrl &url, TransportFailure::Kind kind, QString detail = {});

// Bounds what Qt buffers of `reply` ahead of our reads, so that a fast peer
// waits for us instead of filling memory.
void limitReadAhead(QNetworkReply *reply, qint64 bytes);

// Owns one reply for the length of a call and lets a coroutine wait for its
// next news (head, bytes, failure, end) without blocking. When the watch
// goes, a reply still running is aborted (never deleted while awaited) and
// then deleted later, which releases its connection.
class ReplyWatch : public QObject {
    Q_OBJECT
public:
    // `readAhead`: the most Qt may buffer ahead of our reads. `deadline`: the
    // reply is aborted, and counts as timed out, when it expires.
    ReplyWatch(QNetworkReply *reply, qint64 readAhead, QDeadlineTimer deadline);
    ~ReplyWatch() override;

    QNetworkReply *reply() const { return m_reply.data(); }

    // Await the result: resumes once something has happened since the call.
    // Callers check the reply's state before every wait, so nothing is missed.
    auto changed()
    {
        m_notified = false;
        return qCoro(this, &ReplyWatch::activity);
    }

    // Reads what has arrived, at most `max` bytes; counted for cutShort().
    QByteArray read(qint64 max);

    // The HTTP status, once the head is in.
    std::optional<int> status() const;
    // The reply is gone or has ended, with or without a failure.
    bool ended() const;
    // How the transfer itself failed (connection, framing, time-out,
    // deadline); nullopt when it did not, also when Qt merely names a status
    // of 400 or more as an error.
    std::optional<TransportFailure> transportFailure() const;
    // A failure of `kind` at this reply's address, for what the reply itself
    // cannot tell (no HTTP answer at all, a stalled stream).
    TransportFailure failure(TransportFailure::Kind kind) const;
    // The transfer failed because it stayed idle for its transfer time-out,
    // or because the call's deadline passed.
    bool timedOut() const;

Q_SIGNALS:
    void activity();

private:
    void notify();
    void expire();
    // Ended without an error before the Content-Length was reached.
    bool cutShort() const;

    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    bool m_deadlinePassed = false;
    qint64 m_bytesRead = 0;
    bool m_notified = false;
};

} // namespace tavolen::api
