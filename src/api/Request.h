#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;

namespace tavolen::api {

inline constexpr auto kPlainPath = "v1/analyze-screenshot";
inline constexpr auto kStreamPath = "v1/analyze-screenshot-stream";
inline constexpr auto kHealthPath = "v1/health";

// The service's base URL: "api_base" when it holds an http(s) URL with a host,
// otherwise the built-in default. Read afresh on every use.
QUrl base();
// The built-in default base URL (a build setting).
QUrl defaultBase();
// base() with the endpoint path appended, exactly one "/" between them.
QUrl endpoint(const QString &path);
// This installation's identifier; generated and stored on first use.
QString deviceId();

// A request ready to send; nothing is sent while building it.
struct UploadRequest {
    QNetworkRequest request;
    QByteArray body;
    QByteArray boundary;
};

// The multipart upload shared by the plain and the streaming call.
UploadRequest multipartRequest(const QString &path, const QByteArray &imageData, const QString &uiLang,
                               std::chrono::milliseconds timeout);

// The one HTTP client of the process; no disk cache, nothing written to disk.
QNetworkAccessManager &network();

// Wakes the service before an upload; returns at once, never reports anything.
void warmUp();

} // namespace tavolen::api
