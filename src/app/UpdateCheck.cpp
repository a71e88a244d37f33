// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/UpdateCheck.h"

#include "api/ReplyWatch.h"
#include "app/UpdateFeed.h"
#include "core/L.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>

#include <memory>

namespace tavolen::app {

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
        co_return Failed{L::text(QStringLiteral("the update feed's address is not a web address."),
                                 QStringLiteral("更新源的地址不是网址。"))};

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
            co_return Failed{L::text(QStringLiteral("the update feed is larger than %1 bytes."),
                                     QStringLiteral("更新源超过 %1 字节。"))
                                 .arg(limits.maxBytes)};
        if (watch->ended())
            break;
        co_await watch->changed();
    }

    if (const std::optional<api::TransportFailure> failure = watch->transportFailure()) {
        if (watch->timedOut())
            co_return Failed{L::text(QStringLiteral("the update feed did not answer in time."),
                                     QStringLiteral("更新源未及时响应。"))};
        co_return Failed{L::text(QStringLiteral("the update feed could not be reached (%1)."),
                                 QStringLiteral("无法连接更新源（%1）。"))
                             .arg(failure->detail)};
    }
    const std::optional<int> status = watch->status();
    if (!status)
        co_return Failed{
            L::text(QStringLiteral("the update feed did not answer."), QStringLiteral("更新源没有响应。"))};
    if (*status != 200)
        co_return Failed{L::text(QStringLiteral("the update feed answered with HTTP %1."),
                                 QStringLiteral("更新源返回了 HTTP %1。"))
                             .arg(*status)};

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
            return L::text(QStringLiteral("Tavolen %1 is up to date."),
                           QStringLiteral("Tavolen %1 已是最新版本。"))
                .arg(r.version);
        }
        QString operator()(const UpdateAvailable &r) const
        {
            return L::text(QStringLiteral("Tavolen %1 is available."), QStringLiteral("Tavolen %1 已发布。"))
                .arg(r.version);
        }
        QString operator()(const NoSource &) const
        {
            return L::text(QStringLiteral("No update source is set for this build."),
                           QStringLiteral("此版本未设置更新来源。"));
        }
        QString operator()(const Failed &r) const
        {
            return L::text(QStringLiteral("Could not check for updates: %1"),
                           QStringLiteral("无法检查更新：%1"))
                .arg(r.reason);
        }
    };
    return std::visit(Text{}, result);
}

QString checkForUpdatesTitle()
{
    return L::text(QStringLiteral("Check for Updates\u2026"), QStringLiteral("检查更新\u2026"));
}

} // namespace tavolen::app
