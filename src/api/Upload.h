// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/ReplyWatch.h"
#include "api/UploadRequest.h"

#include <qcoro/qcorotask.h>

#include <chrono>
#include <memory>

namespace tavolen::api {

// The most redirects within the service's origin that one call follows.
inline constexpr int kMaxRedirects = 5;

// Sends the upload and waits for the answer's head. The body goes out once
// per request: the HTTP layer may not send it again on its own. A redirect
// to the same origin (301, 302, 307 or 308 with a Location) is followed with
// the same upload; any other answer, a redirect elsewhere included, is
// returned as it is, so nothing of the upload reaches another origin.
// The returned watch has its head in, or has ended; `total` bounds the whole
// exchange, redirects included.
// `network` must outlive the call.
QCoro::Task<std::unique_ptr<ReplyWatch>> sendUpload(QNetworkAccessManager &network, UploadRequest upload,
                                                    qint64 readAhead, std::chrono::milliseconds total);

} // namespace tavolen::api
