// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>

#include <chrono>

namespace tavolen::api {

// This installation's identifier; generated and stored on first use.
QString deviceId();

// A request ready to send; nothing is sent while building it.
struct UploadRequest {
    QNetworkRequest request;
    QByteArray body;
    QByteArray boundary;
};

// The multipart upload shared by the plain and the streaming call, with the
// service's headers and `idleTimeout` as its transfer time-out.
UploadRequest multipartRequest(const QString &path, const QByteArray &imageData, const QString &uiLang,
                               std::chrono::milliseconds idleTimeout);

} // namespace tavolen::api
