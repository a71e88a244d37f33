// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/ChatEndpoint.h"

#include <QUrl>

namespace tavolen::service::llm {

std::optional<ChatEndpoint> chatEndpoint(const QString &baseUrl)
{
    const QUrl url(baseUrl.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty() ||
        !url.userInfo().isEmpty())
        return std::nullopt;

    QString host = url.host(QUrl::FullyEncoded);
    if (host.contains(u':'))
        host = u'[' + host + u']';
    QString origin = scheme + QStringLiteral("://") + host;
    if (url.port() != -1)
        origin += u':' + QString::number(url.port());

    QString target = url.path(QUrl::FullyEncoded);
    while (target.endsWith(u'/'))
        target.chop(1);
    target += QStringLiteral("/chat/completions");
    if (url.hasQuery())
        target += u'?' + url.query(QUrl::FullyEncoded);
    return ChatEndpoint{origin.toStdString(), target.toStdString()};
}

} // namespace tavolen::service::llm
