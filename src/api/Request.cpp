#include "api/Request.h"

#include "core/Services.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUuid>

namespace tavolen::api {

namespace {

// Compiled into the client; the service tells our uploads apart by it.
constexpr auto kApiToken = "tavolen_ac7e888992e16208c7c2ab2254a678024402284466e9fa66";
constexpr std::chrono::seconds kWarmUpTimeout{5};

QString canonicalUuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

bool usableBase(const QUrl &url)
{
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

} // namespace

QUrl defaultBase()
{
    return QUrl(QStringLiteral(TAVOLEN_DEFAULT_API_BASE));
}

QUrl base()
{
    const auto stored = settings().value(QStringLiteral("api_base"));
    if (stored && stored->typeId() == QMetaType::QString) {
        const QString text = stored->toString();
        if (!text.isEmpty()) {
            const QUrl url(text, QUrl::StrictMode);
            if (usableBase(url))
                return url;
        }
    }
    return defaultBase();
}

QUrl endpoint(const QString &path)
{
    QUrl url = base();
    QString basePath = url.path();
    while (basePath.endsWith(QLatin1Char('/')))
        basePath.chop(1);
    QString tail = path;
    while (tail.startsWith(QLatin1Char('/')))
        tail.remove(0, 1);
    url.setPath(basePath + QLatin1Char('/') + tail);
    return url;
}

QString deviceId()
{
    const auto stored = settings().value(QStringLiteral("device_id"));
    if (stored)
        return stored->toString();
    const QString id = canonicalUuid();
    settings().setValue(QStringLiteral("device_id"), id);
    return id;
}

UploadRequest multipartRequest(const QString &path, const QByteArray &imageData, const QString &uiLang,
                               std::chrono::milliseconds timeout)
{
    UploadRequest out;
    out.boundary = "Boundary-" + canonicalUuid().toLatin1();

    out.request.setUrl(endpoint(path));
    out.request.setTransferTimeout(int(timeout.count()));
    out.request.setRawHeader("X-Request-Id", canonicalUuid().toLatin1());
    out.request.setRawHeader("Accept-Language", uiLang.toUtf8());
    out.request.setRawHeader("Authorization", QByteArray("Bearer ") + kApiToken);
    out.request.setRawHeader("X-Device-Id", deviceId().toUtf8());
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
    return out;
}

QNetworkAccessManager &network()
{
    // Parented to the application so it goes before the event loop does.
    static QNetworkAccessManager *manager = [] {
        auto *m = new QNetworkAccessManager(QCoreApplication::instance());
        m->setCache(nullptr);
        return m;
    }();
    return *manager;
}

void warmUp()
{
    QNetworkRequest request(endpoint(QString::fromLatin1(kHealthPath)));
    request.setTransferTimeout(int(std::chrono::milliseconds(kWarmUpTimeout).count()));
    QNetworkReply *reply = network().get(request);
    // The answer, its status and any failure are of no interest.
    QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}

} // namespace tavolen::api
