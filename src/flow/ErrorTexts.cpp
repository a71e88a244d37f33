// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flow/ErrorTexts.h"

#include <QCoreApplication>

namespace tavolen::flow::texts {

namespace {

using Kind = api::TransportFailure::Kind;

struct ErrorTexts {
    Q_DECLARE_TR_FUNCTIONS(ErrorTexts)
};

// One sentence a failure, %1 being the service's address. The address is
// what lets a user tell a typo in the settings from a service that is down.
const char *sentenceFor(Kind kind)
{
    switch (kind) {
    case Kind::connectionRefused:
        return QT_TRANSLATE_NOOP(
            "ErrorTexts",
            "The analysis service at %1 refused the connection. It may be down; try again later.");
    case Kind::hostNotFound:
        return QT_TRANSLATE_NOOP(
            "ErrorTexts",
            "Couldn't find the analysis service at %1. Check the address and your internet connection.");
    case Kind::idleTimeout:
        return QT_TRANSLATE_NOOP("ErrorTexts", "The analysis service at %1 stopped answering. Try again.");
    case Kind::deadline:
        return QT_TRANSLATE_NOOP("ErrorTexts", "The analysis took too long and was stopped. Try again.");
    case Kind::tls:
        return QT_TRANSLATE_NOOP(
            "ErrorTexts",
            "Couldn't connect securely to %1. Check the address (http or https) and the system's "
            "certificates.");
    case Kind::connectionClosed:
        return QT_TRANSLATE_NOOP("ErrorTexts",
                                 "The analysis service closed the connection before it answered. Try again.");
    case Kind::proxy:
        return QT_TRANSLATE_NOOP("ErrorTexts",
                                 "The proxy couldn't reach the analysis service. Check your proxy settings.");
    case Kind::noResponse:
        return QT_TRANSLATE_NOOP("ErrorTexts", "No response");
    case Kind::other:
        break;
    }
    return QT_TRANSLATE_NOOP("ErrorTexts", "Couldn't reach the analysis service at %1.");
}

} // namespace

QString transportFailure(const api::TransportFailure &failure)
{
    // The built-in service runs on this machine: when nothing answers there,
    // the likeliest cause is that it was never started.
    if (failure.localService && failure.kind == Kind::connectionRefused)
        return ErrorTexts::tr(
                   "Nothing answered at %1: the local analysis service may not be running. Start it with "
                   "tavolen-service, then try again.")
            .arg(failure.address);
    QString text = ErrorTexts::tr(sentenceFor(failure.kind));
    if (text.contains(QLatin1String("%1")))
        text = text.arg(failure.address.isEmpty() ? ErrorTexts::tr("its address") : failure.address);
    // A failure we have no sentence for keeps the network library's own
    // words, for whoever has to look into it.
    if (failure.kind == Kind::other && !failure.detail.isEmpty())
        text += ErrorTexts::tr(" (%1)").arg(failure.detail);
    return text;
}

QString clientError(const api::APIClientError &error)
{
    struct Describe {
        QString operator()(const api::APIClientError::Http &h) const
        {
            if (h.message)
                return *h.message;
            return ErrorTexts::tr("That didn't work — try again");
        }
        QString operator()(const api::APIClientError::Transport &t) const
        {
            return transportFailure(t.failure);
        }
        QString operator()(const api::APIClientError::QuotaExceeded &) const
        {
            return ErrorTexts::tr("You've used today's free analyses.");
        }
        QString operator()(const api::APIClientError::Decode &) const
        {
            return ErrorTexts::tr("Unexpected response");
        }
    };
    return std::visit(Describe{}, error.value());
}

QString analysisError(const api::AnalysisError &error)
{
    if (const auto *client = std::get_if<api::APIClientError>(&error))
        return clientError(*client);
    return std::get<PlatformError>(error).description;
}

} // namespace tavolen::flow::texts
