// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/Network.h"

#include "api/ReplyWatch.h"
#include "api/ServiceUrl.h"
#include "protocol/Endpoints.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <chrono>

namespace tavolen::api {

namespace {
constexpr std::chrono::milliseconds kWarmUpTimeout{5000};
// A health answer is a few bytes; past this the service is not well.
constexpr qint64 kWarmUpMaxBody = 64 * 1024;
} // namespace

void warmUp(const CallContext &context)
{
    QNetworkRequest request(endpoint(*context.settings, QString::fromLatin1(protocol::kHealthPath)));
    request.setTransferTimeout(int(kWarmUpTimeout.count()));
    // It carries no credentials, but it has no business elsewhere either.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    QNetworkReply *reply = context.network->get(request);
    limitReadAhead(reply, kWarmUpMaxBody);
    // The answer, its status and any failure are of no interest, but an
    // answer without end must not be held, nor kept for ever: its bytes are
    // dropped as they come, and it is cut off past a small size or after the
    // time-out, however steadily it trickles.
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, seen = qint64(0)]() mutable {
        seen += reply->skip(reply->bytesAvailable());
        if (seen > kWarmUpMaxBody)
            reply->abort();
    });
    QTimer::singleShot(kWarmUpTimeout, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}

} // namespace tavolen::api
