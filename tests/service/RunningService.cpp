// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RunningService.h"

#include "protocol/Decoding.h"

#include <QElapsedTimer>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace tavolen::test {

RawAnswer rawExchange(int port, const QByteArray &request, int timeoutMs, const QHostAddress &host)
{
    QTcpSocket socket;
    socket.connectToHost(host, quint16(port));
    if (!socket.waitForConnected(timeoutMs))
        return {};
    socket.write(request);
    QByteArray in;
    QElapsedTimer clock;
    clock.start();
    RawAnswer answer;
    while (clock.elapsed() < timeoutMs) {
        socket.waitForReadyRead(50);
        in += socket.readAll();
        const qsizetype headEnd = in.indexOf("\r\n\r\n");
        if (headEnd >= 0) {
            answer.head = in.left(headEnd);
            const qsizetype lengthAt = answer.head.toLower().indexOf("content-length:");
            if (lengthAt >= 0) {
                const qsizetype length =
                    answer.head.mid(lengthAt + 15).split('\r').first().trimmed().toLongLong();
                if (in.size() >= headEnd + 4 + length) {
                    answer.body = in.mid(headEnd + 4, length);
                    break;
                }
            }
        }
        if (socket.state() != QAbstractSocket::ConnectedState) {
            in += socket.readAll();
            break;
        }
    }
    if (answer.head.isEmpty())
        return {};
    if (answer.body.isEmpty()) // no length: the body runs to the close
        answer.body = in.mid(answer.head.size() + 4);
    answer.status = answer.head.mid(9, 3).toInt();
    return answer;
}

QByteArray multipartBody(const QByteArray &boundary, const QList<std::pair<QByteArray, QByteArray>> &parts)
{
    QByteArray body;
    for (const auto &[name, content] : parts) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"";
        if (name == "image")
            body += "; filename=\"screenshot.jpg\"\r\nContent-Type: image/jpeg";
        body += "\r\n\r\n" + content + "\r\n";
    }
    return body + "--" + boundary + "--\r\n";
}

QByteArray uploadRequest(const QByteArray &path, const QByteArray &contentType, const QByteArray &body,
                         const QByteArray &token)
{
    return "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nAuthorization: Bearer " +
           token + "\r\nX-Device-Id: RAW\r\nContent-Type: " + contentType +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

std::pair<int, QString> refusal(int port, const QByteArray &request)
{
    const RawAnswer answer = rawExchange(port, request);
    const std::optional<protocol::APIErrorEnvelope> envelope = protocol::decodeAPIErrorEnvelope(answer.body);
    EXPECT_TRUE(envelope) << answer.head.toStdString() << "\n" << answer.body.toStdString();
    EXPECT_EQ(answer.head.toLower().count("\r\nconnection:"), 1) << answer.head.toStdString();
    return {answer.status, envelope ? envelope->error.code : QString()};
}

} // namespace tavolen::test
