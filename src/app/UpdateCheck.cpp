// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/UpdateCheck.h"

#include "api/ReplyWatch.h"
#include "app/UpdateFeed.h"

#include <QCoreApplication>

#include <QNetworkAccessManager>
#include <QNetworkRequest>

#include <memory>

namespace tavolen::app {

namespace {

// The context translators see this file's texts under.
struct UpdateTexts {
    Q_DECLARE_TR_FUNCTIONS(UpdateTexts)
};

} // namespace

QString appVersion()
{
    return QStringLiteral(TAVOLEN_VERSION);
}

QString builtInFeedUrl()
{
    return QStringLiteral(TAVOLEN_UPDATE_FEED);
}

QCoro::Task<UpdateResult> checkForUpdates(QNetworkAccessManager &network, QString feedUrl,
                                          QString currentVersion, FeedLimits limits)
{
    if (feedUrl.trimmed().isEmpty())
        co_return NoSource{};
    const QUrl url(feedUrl.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != u"https" && url.scheme() != u"http"))
        co_return Failed{UpdateTexts::tr("the update feed's address is not a web address.")};

    QNetworkRequest request(url);
    request.setTransferTimeout(int(limits.idle.count()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // The watch owns the reply from here: it aborts a reply still running
    // when this call ends or its caller's task goes, and never deletes one
    // that is being awaited.
    auto watch = std::make_unique<api::ReplyWatch>(network.get(request), limits.maxBytes,
                                                   QDeadlineTimer(limits.total));
    QByteArray body;
    for (;;) {
        body.append(watch->read(limits.maxBytes + 1 - body.size()));
        if (body.size() > limits.maxBytes)
            co_return Failed{
                UpdateTexts::tr("the update feed is larger than %1 bytes.").arg(limits.maxBytes)};
        if (watch->ended())
            break;
        co_await watch->changed();
    }

    if (const std::optional<api::TransportFailure> failure = watch->transportFailure()) {
        if (watch->timedOut())
            co_return Failed{UpdateTexts::tr("the update feed did not answer in time.")};
        co_return Failed{UpdateTexts::tr("the update feed could not be reached (%1).").arg(failure->detail)};
    }
    const std::optional<int> status = watch->status();
    if (!status)
        co_return Failed{UpdateTexts::tr("the update feed did not answer.")};
    if (*status != 200)
        co_return Failed{UpdateTexts::tr("the update feed answered with HTTP %1.").arg(*status)};

    Result<FeedRelease, QString> newest = newestRelease(body);
    if (!newest)
        co_return Failed{newest.error()};
    if (compareVersions(newest.value().version, currentVersion) > 0)
        co_return UpdateAvailable{newest.value().displayVersion, newest.value().url};
    co_return UpToDate{currentVersion};
}

QCoro::Task<UpdateResult> checkForUpdates(QNetworkAccessManager &network)
{
    return checkForUpdates(network, builtInFeedUrl(), appVersion());
}

QString updateResultText(const UpdateResult &result)
{
    struct Text {
        QString operator()(const UpToDate &r) const
        {
            return UpdateTexts::tr("Tavolen %1 is up to date.").arg(r.version);
        }
        QString operator()(const UpdateAvailable &r) const
        {
            return UpdateTexts::tr("Tavolen %1 is available.").arg(r.version);
        }
        QString operator()(const NoSource &) const
        {
            return UpdateTexts::tr("Updates to Tavolen come with your system's package manager.");
        }
        QString operator()(const Failed &r) const
        {
            return UpdateTexts::tr("Could not check for updates: %1").arg(r.reason);
        }
    };
    return std::visit(Text{}, result);
}

QString checkForUpdatesTitle()
{
    return UpdateTexts::tr("Check for Updates…");
}

} // namespace tavolen::app
