// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QNetworkRequest>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <optional>

class QNetworkAccessManager;

namespace tavolen::models {

// What came back from a small request: the status and the body, or nothing
// when no HTTP answer arrived in time.
struct FetchedAnswer {
    int status = 0;
    QByteArray body;
    // Set when the body was longer than allowed (it is then cut).
    bool truncated = false;
};

// GET (or POST with `body`) and read at most `maxBytes` of the answer within
// `limit`, however the peer spreads its bytes. Local servers are asked with
// short limits, so that one that is not there costs a moment, not a wait.
QCoro::Task<std::optional<FetchedAnswer>> fetch(QNetworkAccessManager &network, QNetworkRequest request,
                                                std::optional<QByteArray> body,
                                                std::chrono::milliseconds limit, qint64 maxBytes);

} // namespace tavolen::models
