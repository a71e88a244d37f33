// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/ModelDetector.h"

#include "core/Log.h"
#include "models/BoundedFetch.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tavolen::models {

namespace {

// A listing of a few hundred models is far below this.
constexpr qint64 kMaxListing = 1024 * 1024;

std::optional<QStringList> listingField(const QJsonObject &object, const char *array, const char *field)
{
    const QJsonValue value = object.value(QLatin1String(array));
    if (!value.isArray())
        return std::nullopt;
    QStringList models;
    for (const QJsonValue &entry : value.toArray()) {
        const QString name = entry.toObject().value(QLatin1String(field)).toString().trimmed();
        if (!name.isEmpty() && !models.contains(name))
            models << name;
    }
    return models;
}

QCoro::Task<std::optional<QStringList>> askListing(QNetworkAccessManager &network, QUrl url,
                                                   std::chrono::milliseconds limit)
{
    // Named first: GCC 12 destroys a temporary made in a co_await's arguments twice.
    QNetworkRequest request(url);
    std::optional<QByteArray> noBody;
    const std::optional<FetchedAnswer> answer =
        co_await fetch(network, std::move(request), std::move(noBody), limit, kMaxListing);
    if (!answer || answer->status != 200 || answer->truncated)
        co_return std::nullopt;
    co_return modelsInListing(answer->body);
}

QCoro::Task<std::optional<ModelServer>> probe(QNetworkAccessManager &network, KnownServer server,
                                              QString host, std::chrono::milliseconds limit)
{
    QUrl root;
    root.setScheme(QStringLiteral("http"));
    root.setHost(host);
    root.setPort(server.port);
    QUrl base = root;
    base.setPath(QStringLiteral("/v1"));
    std::optional<QStringList> models;
    // Ollama's own list names every tag, also models its OpenAI side omits.
    if (server.ollamaApi) {
        QUrl tags = root;
        tags.setPath(QStringLiteral("/api/tags"));
        models = co_await askListing(network, tags, limit);
    }
    if (!models) {
        QUrl list = root;
        list.setPath(QStringLiteral("/v1/models"));
        models = co_await askListing(network, list, limit);
    }
    qCDebug(lcModels) << server.name << "on port" << server.port << (models ? "answers" : "does not answer");
    if (!models)
        co_return std::nullopt;
    co_return ModelServer{server.name, base, *models};
}

} // namespace

std::optional<QStringList> modelsInListing(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    if (std::optional<QStringList> models = listingField(object, "data", "id"))
        return models;
    return listingField(object, "models", "name");
}

QCoro::Task<std::vector<ModelServer>> detectModelServers(QNetworkAccessManager &network,
                                                         std::vector<KnownServer> candidates, QString host,
                                                         std::chrono::milliseconds limit)
{
    // Every probe is under way before the first is awaited.
    std::vector<QCoro::Task<std::optional<ModelServer>>> probes;
    probes.reserve(candidates.size());
    for (const KnownServer &server : candidates)
        probes.push_back(probe(network, server, host, limit));
    std::vector<ModelServer> found;
    for (auto &running : probes)
        if (std::optional<ModelServer> server = co_await std::move(running))
            found.push_back(std::move(*server));
    co_return found;
}

} // namespace tavolen::models
