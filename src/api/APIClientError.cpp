// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/APIClientError.h"

namespace tavolen::api {

APIClientError APIClientError::http(int status, std::optional<QString> message)
{
    return APIClientError(Http{status, std::move(message)});
}

APIClientError APIClientError::transport(TransportFailure failure)
{
    return APIClientError(Transport{std::move(failure)});
}

APIClientError APIClientError::quotaExceeded()
{
    return APIClientError(QuotaExceeded{});
}

APIClientError APIClientError::decode()
{
    return APIClientError(Decode{});
}

const char *kindName(TransportFailure::Kind kind)
{
    using K = TransportFailure::Kind;
    switch (kind) {
    case K::connectionRefused:
        return "refused";
    case K::hostNotFound:
        return "host not found";
    case K::idleTimeout:
        return "idle time-out";
    case K::deadline:
        return "deadline";
    case K::tls:
        return "tls";
    case K::connectionClosed:
        return "closed";
    case K::proxy:
        return "proxy";
    case K::noResponse:
        return "no response";
    case K::other:
        break;
    }
    return "other";
}

bool isQuotaExceeded(const AnalysisError &error)
{
    const auto *client = std::get_if<APIClientError>(&error);
    return client && client->isQuotaExceeded();
}

QString logSummary(const AnalysisOutcome &outcome)
{
    if (outcome.ok())
        return QStringLiteral("ok");
    const auto *client = std::get_if<APIClientError>(&outcome.error());
    if (!client)
        return QStringLiteral("platform error");
    struct Summary {
        QString operator()(const APIClientError::Http &h) const
        {
            return QStringLiteral("http %1").arg(h.status);
        }
        QString operator()(const APIClientError::Transport &t) const
        {
            return QStringLiteral("transport %1 (%2)")
                .arg(QLatin1String(kindName(t.failure.kind)), t.failure.detail);
        }
        QString operator()(const APIClientError::QuotaExceeded &) const { return QStringLiteral("quota"); }
        QString operator()(const APIClientError::Decode &) const
        {
            return QStringLiteral("unreadable answer");
        }
    };
    return std::visit(Summary{}, client->value());
}

} // namespace tavolen::api
