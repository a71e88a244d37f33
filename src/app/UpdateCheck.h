// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <variant>

class QNetworkAccessManager;

namespace tavolen::app {

struct UpToDate {
    QString version; // ours
};
struct UpdateAvailable {
    QString version; // the newer one, as the feed shows it
    QUrl url;        // its page or download; empty when the feed gave none we would open
};
struct NoSource {};
struct Failed {
    QString reason; // in the interface language
};
using UpdateResult = std::variant<UpToDate, UpdateAvailable, NoSource, Failed>;

// How much of a feed we take, and for how long.
struct FeedLimits {
    qint64 maxBytes = 1024 * 1024;
    std::chrono::milliseconds idle{15000};
    std::chrono::milliseconds total{30000};
};

// This build's version and its update feed (empty when it has none).
QString appVersion();
QString builtInFeedUrl();

// Reads the feed at `feedUrl` and compares its newest release with
// `currentVersion`, over `network` (which must outlive the check). An empty
// URL is NoSource without any request.
QCoro::Task<UpdateResult> checkForUpdates(QNetworkAccessManager &network, QString feedUrl,
                                          QString currentVersion, FeedLimits limits = {});
// The same for this build's feed and version.
QCoro::Task<UpdateResult> checkForUpdates(QNetworkAccessManager &network);

// The result as one sentence, and the menu item that asks for it.
QString updateResultText(const UpdateResult &result);
QString checkForUpdatesTitle();

} // namespace tavolen::app
