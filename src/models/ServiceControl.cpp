// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/ServiceControl.h"

#include "api/ServiceUrl.h"
#include "core/Log.h"
#include "models/BoundedFetch.h"
#include "protocol/Endpoints.h"
#include "protocol/LocalControl.h"

#include <QCoreApplication>
#include <QFile>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>

namespace tavolen::models {

namespace {

struct ModelTexts {
    Q_DECLARE_TR_FUNCTIONS(ModelTexts)
};

constexpr qint64 kMaxAnswer = 64 * 1024;
constexpr std::chrono::milliseconds kHealthLimit{3000};
// Reading a key from a keyring that asks to be unlocked takes a person.
constexpr std::chrono::milliseconds kReloadLimit{60000};

bool onThisMachine(const QUrl &url)
{
    if (url.host() == QLatin1String("localhost"))
        return true;
    const QHostAddress address(url.host());
    return !address.isNull() && address.isLoopback();
}

} // namespace

std::optional<EngineInfo> engineInfo(const QByteArray &json)
{
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    const QJsonValue engine = object.value(QLatin1String("engine"));
    if (!engine.isString())
        return std::nullopt;
    EngineInfo info;
    info.engine = engine.toString();
    info.model = object.value(QLatin1String("model")).toString();
    info.baseUrl = QUrl(object.value(QLatin1String("base_url")).toString());
    // A service from before replies were announced: only its built-in
    // engine writes none.
    const QJsonValue replies = object.value(QLatin1String("replies"));
    info.writesReplies = replies.isBool() ? replies.toBool() : protocol::engineWritesReplies(info.engine);
    return info;
}

QCoro::Task<std::optional<EngineInfo>> serviceStatus(QNetworkAccessManager &network, QUrl apiBase)
{
    // Named first: GCC 12 destroys a temporary made in a co_await's arguments twice.
    QNetworkRequest request(api::joined(apiBase, QString::fromLatin1(protocol::kHealthPath)));
    std::optional<QByteArray> noBody;
    const std::optional<FetchedAnswer> answer =
        co_await fetch(network, std::move(request), std::move(noBody), kHealthLimit, kMaxAnswer);
    if (!answer || answer->status != 200 || answer->truncated)
        co_return std::nullopt;
    co_return engineInfo(answer->body);
}

QString controlSecretPath(int port, const QProcessEnvironment &env)
{
    const QString runtime = env.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (runtime.isEmpty())
        return {};
    return runtime + QLatin1Char('/') + protocol::controlSecretName(port);
}

namespace {

QByteArray controlSecret(const QUrl &apiBase, const QProcessEnvironment &env)
{
    QFile file(controlSecretPath(api::effectivePort(apiBase), env));
    return file.open(QIODevice::ReadOnly) ? file.read(256).trimmed() : QByteArray();
}

} // namespace

QString reloadObstacle(const QUrl &apiBase, const QProcessEnvironment &env)
{
    if (!onThisMachine(apiBase))
        return ModelTexts::tr("The analysis service at %1 is not on this computer; its own "
                              "administrator chooses its model.")
            .arg(apiBase.toDisplayString());
    if (controlSecret(apiBase, env).isEmpty())
        return ModelTexts::tr("The analysis service on port %1 cannot be asked to change its model: "
                              "it is not running, runs as another user, or is too old. Start or restart it.")
            .arg(api::effectivePort(apiBase));
    return {};
}

QCoro::Task<std::variant<EngineInfo, QString>> reloadService(QNetworkAccessManager &network, QUrl apiBase,
                                                             QProcessEnvironment env)
{
    if (const QString obstacle = reloadObstacle(apiBase, env); !obstacle.isEmpty())
        co_return obstacle;
    const QByteArray secret = controlSecret(apiBase, env);
    QNetworkRequest request(api::joined(apiBase, QString::fromLatin1(protocol::kReloadPath)));
    request.setRawHeader("Authorization", "Bearer " + secret);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    std::optional<QByteArray> emptyObject = QByteArray("{}");
    const std::optional<FetchedAnswer> answer =
        co_await fetch(network, std::move(request), std::move(emptyObject), kReloadLimit, kMaxAnswer);
    if (!answer)
        co_return ModelTexts::tr("The analysis service at %1 does not answer.")
            .arg(apiBase.toDisplayString());
    if (answer->status == 200) {
        if (std::optional<EngineInfo> info = engineInfo(answer->body)) {
            qCInfo(lcModels) << "service reloaded:" << info->engine;
            co_return *info;
        }
    }
    const QJsonObject error =
        QJsonDocument::fromJson(answer->body).object().value(QLatin1String("error")).toObject();
    const QString message = error.value(QLatin1String("message")).toString();
    qCInfo(lcModels) << "reload refused:" << answer->status << error.value(QLatin1String("code")).toString();
    if (answer->status == 409 && !message.isEmpty())
        co_return ModelTexts::tr("The analysis service kept its engine: %1").arg(message);
    co_return ModelTexts::tr("The analysis service refused to change its model (status %1).")
        .arg(answer->status);
}

} // namespace tavolen::models
