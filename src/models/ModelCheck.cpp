// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/ModelCheck.h"

#include "api/ReplyWatch.h"
#include "api/ServiceUrl.h"
#include "core/Log.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>

namespace tavolen::models {

namespace {

struct ModelTexts {
    Q_DECLARE_TR_FUNCTIONS(ModelTexts)
};

// One streamed chunk is small; a line past this is not a completion stream.
constexpr qint64 kMaxLine = 64 * 1024;
constexpr qint64 kMaxErrorBody = 16 * 1024;

QByteArray requestBody(const QString &model)
{
    const QJsonObject message{{QStringLiteral("role"), QStringLiteral("user")},
                              {QStringLiteral("content"), QStringLiteral("Reply with the word OK.")}};
    const QJsonObject body{{QStringLiteral("model"), model},
                           {QStringLiteral("messages"), QJsonArray{message}},
                           {QStringLiteral("stream"), true},
                           {QStringLiteral("max_tokens"), 4}};
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

// Whether a "data:" line's chunk carries text (an answer or, for a
// reasoning model, its thinking); a chunk that only names the role does not.
bool carriesToken(const QByteArray &payload)
{
    const QJsonArray choices =
        QJsonDocument::fromJson(payload).object().value(QLatin1String("choices")).toArray();
    for (const QJsonValue &choice : choices) {
        const QJsonObject delta = choice.toObject().value(QLatin1String("delta")).toObject();
        for (const char *field : {"content", "reasoning_content", "reasoning"})
            if (!delta.value(QLatin1String(field)).toString().isEmpty())
                return true;
    }
    return false;
}

QString serverMessage(const QByteArray &body)
{
    const QJsonObject object = QJsonDocument::fromJson(body).object();
    const QJsonValue error = object.value(QLatin1String("error"));
    QString message =
        error.isObject() ? error.toObject().value(QLatin1String("message")).toString() : error.toString();
    message = message.simplified();
    return message.size() > 200 ? message.left(199) + QChar(0x2026) : message;
}

CheckFailure failed(CheckFailure::Kind kind, int status = 0)
{
    return CheckFailure{kind, status, {}};
}

CheckFailure::Kind kindOf(int status)
{
    if (status == 401 || status == 403)
        return CheckFailure::Kind::KeyRefused;
    if (status == 404)
        return CheckFailure::Kind::NoSuchModel;
    return CheckFailure::Kind::ServerError;
}

} // namespace

QCoro::Task<CheckOutcome> checkModel(QNetworkAccessManager &network, ModelEndpoint endpoint,
                                     std::chrono::milliseconds limit)
{
    if (!api::usableBase(endpoint.baseUrl))
        co_return failed(CheckFailure::Kind::BadAddress);
    QNetworkRequest request(api::joined(endpoint.baseUrl, QStringLiteral("chat/completions")));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setRawHeader("Accept", "text/event-stream");
    if (!endpoint.apiKey.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + endpoint.apiKey.toUtf8());
    // The key goes to this address and nowhere else.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(int(limit.count()));

    QElapsedTimer clock;
    clock.start();
    api::ReplyWatch watch(network.post(request, requestBody(endpoint.model)), 64 * 1024,
                          QDeadlineTimer(limit));
    QByteArray pending;
    std::optional<std::chrono::milliseconds> firstChunk;
    while (true) {
        if (const std::optional<int> status = watch.status(); status && *status != 200) {
            // The error's own words, if it says more than its status.
            while (!watch.ended() && pending.size() < kMaxErrorBody) {
                pending += watch.read(kMaxErrorBody - pending.size());
                if (!watch.ended())
                    co_await watch.changed();
            }
            pending += watch.read(kMaxErrorBody - pending.size());
            qCInfo(lcModels) << "model check: status" << *status;
            co_return CheckFailure{kindOf(*status), *status, serverMessage(pending)};
        }
        pending += watch.read(kMaxLine);
        qsizetype newline;
        while ((newline = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(newline).trimmed();
            pending.remove(0, newline + 1);
            if (!line.startsWith("data:"))
                continue;
            const QByteArray payload = line.mid(5).trimmed();
            const auto now = std::chrono::milliseconds(clock.elapsed());
            if (payload == "[DONE]") {
                if (firstChunk)
                    co_return *firstChunk;
                continue;
            }
            if (!firstChunk && !QJsonDocument::fromJson(payload).isNull())
                firstChunk = now;
            if (carriesToken(payload)) {
                qCInfo(lcModels) << "model check: first token after" << now.count() << "ms";
                co_return now;
            }
        }
        if (pending.size() > kMaxLine)
            co_return failed(CheckFailure::Kind::NotStreamed, 200);
        if (watch.ended())
            break;
        co_await watch.changed();
    }
    if (watch.timedOut())
        co_return failed(CheckFailure::Kind::TimedOut);
    if (!watch.status())
        co_return failed(CheckFailure::Kind::Unreachable);
    // A stream that ended with chunks but no text still shows the model runs.
    if (firstChunk)
        co_return *firstChunk;
    co_return failed(CheckFailure::Kind::NotStreamed, 200);
}

QString describe(const CheckFailure &failure, const ModelEndpoint &endpoint)
{
    const QString address = endpoint.baseUrl.toDisplayString();
    QString words;
    switch (failure.kind) {
    case CheckFailure::Kind::BadAddress:
        words = ModelTexts::tr("“%1” is not an http or https address.").arg(address);
        break;
    case CheckFailure::Kind::Unreachable:
        words = ModelTexts::tr("Nothing answers at %1. Is the model server running?").arg(address);
        break;
    case CheckFailure::Kind::TimedOut:
        words = ModelTexts::tr("%1 did not start answering in time.").arg(address);
        break;
    case CheckFailure::Kind::KeyRefused:
        words = ModelTexts::tr("%1 refused the API key (status %2).").arg(address).arg(failure.status);
        break;
    case CheckFailure::Kind::NoSuchModel:
        words = ModelTexts::tr("%1 has no model named “%2”.").arg(address, endpoint.model);
        break;
    case CheckFailure::Kind::ServerError:
        words = ModelTexts::tr("%1 answered with status %2.").arg(address).arg(failure.status);
        break;
    case CheckFailure::Kind::NotStreamed:
        words = ModelTexts::tr("%1 answered, but not with a streamed chat completion.").arg(address);
        break;
    }
    if (!failure.serverMessage.isEmpty())
        words += QLatin1Char(' ') + ModelTexts::tr("It says: %1").arg(failure.serverMessage);
    return words;
}

} // namespace tavolen::models
