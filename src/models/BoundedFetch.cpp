// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/BoundedFetch.h"

#include "api/ReplyWatch.h"

#include <QNetworkAccessManager>

namespace tavolen::models {

QCoro::Task<std::optional<FetchedAnswer>> fetch(QNetworkAccessManager &network, QNetworkRequest request,
                                                std::optional<QByteArray> body,
                                                std::chrono::milliseconds limit, qint64 maxBytes)
{
    // Nothing here carries a key elsewhere than where it was sent.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(int(limit.count()));
    QNetworkReply *reply = body ? network.post(request, *body) : network.get(request);
    api::ReplyWatch watch(reply, 64 * 1024, QDeadlineTimer(limit));
    FetchedAnswer answer;
    while (true) {
        if (watch.reply()) {
            const QByteArray more = watch.read(maxBytes + 1 - answer.body.size());
            answer.body += more;
            if (answer.body.size() > maxBytes) {
                answer.body.truncate(maxBytes);
                answer.truncated = true;
                watch.reply()->abort();
                break;
            }
        }
        if (watch.ended())
            break;
        co_await watch.changed();
    }
    const std::optional<int> status = watch.status();
    if (!status || (watch.transportFailure() && !answer.truncated))
        co_return std::nullopt;
    answer.status = *status;
    co_return answer;
}

} // namespace tavolen::models
