// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/UploadRequest.h"

#include "api/ServiceUrl.h"
#include "core/Settings.h"
#include "protocol/Endpoints.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

namespace tavolen::api {

namespace {

QString canonicalUuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

} // namespace

QString deviceId(SettingsStore &settings)
{
    if (const std::optional<QString> stored = keys::deviceId.stored(settings))
        return *stored;
    const QString id = canonicalUuid();
    keys::deviceId.set(settings, id);
    return id;
}

UploadRequest multipartRequest(SettingsStore &settings, const QString &path, const QByteArray &imageData,
                               const QString &uiLang, std::chrono::milliseconds idleTimeout)
{
    UploadRequest out;
    out.boundary = "Boundary-" + canonicalUuid().toLatin1();

    out.request.setUrl(endpoint(settings, path));
    out.request.setTransferTimeout(int(idleTimeout.count()));
    // Redirects are ours to follow: Qt would follow them to any host, with
    // the token, the device id and (on 307 and 308) the screenshot.
    out.request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // HTTP/1.1 only: the single attempt and the read-ahead bound are what we
    // rely on from Qt 6.4, and its HTTP/2 path handles both its own way.
    out.request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    out.request.setRawHeader("X-Request-Id", canonicalUuid().toLatin1());
    out.request.setRawHeader("Accept-Language", uiLang.toUtf8());
    out.request.setRawHeader("Authorization", QByteArray("Bearer ") + protocol::kApiToken);
    out.request.setRawHeader("X-Device-Id", deviceId(settings).toUtf8());
    out.request.setRawHeader("Content-Type", "multipart/form-data; boundary=" + out.boundary);

    // Three members of fixed types: serialising them cannot fail.
    const QJsonObject meta{{QStringLiteral("ui_language"), uiLang},
                           {QStringLiteral("user_style"), QStringLiteral("natural")},
                           {QStringLiteral("regenerate"), false}};
    const QByteArray metaBytes = QJsonDocument(meta).toJson(QJsonDocument::Compact);

    const QByteArray &b = out.boundary;
    QByteArray &body = out.body;
    body.reserve(imageData.size() + metaBytes.size() + 320);
    body += "--" + b + "\r\n";
    body += "Content-Disposition: form-data; name=\"meta\"\r\n\r\n";
    body += metaBytes;
    body += "\r\n--" + b + "\r\n";
    body += "Content-Disposition: form-data; name=\"image\"; filename=\"screenshot.jpg\"\r\n";
    body += "Content-Type: image/jpeg\r\n\r\n";
    body += imageData;
    body += "\r\n--" + b + "--\r\n";
    out.request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    return out;
}

} // namespace tavolen::api
