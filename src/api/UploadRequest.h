// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>

#include <chrono>

namespace tavolen {
class SettingsStore;
}

namespace tavolen::api {

// This installation's identifier in `settings`; generated and stored there
// on first use.
QString deviceId(SettingsStore &settings);

// A request ready to send; nothing is sent while building it.
struct UploadRequest {
    QNetworkRequest request;
    QByteArray body;
    QByteArray boundary;
};

// The multipart upload shared by the plain and the streaming call, to `path`
// of the service that `settings` names, with the service's headers and
// `idleTimeout` as its transfer time-out.
UploadRequest multipartRequest(SettingsStore &settings, const QString &path, const QByteArray &imageData,
                               const QString &uiLang, std::chrono::milliseconds idleTimeout);

} // namespace tavolen::api
