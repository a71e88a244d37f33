// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReloadingService.h"

#include "service/ConfigLoader.h"
#include "support/Scratch.h"

#include <QJsonDocument>
#include <QTest>

#include <future>

namespace tavolen::test {

RawAnswer exchangeLooping(int port, const QByteArray &request, int timeoutMs, const QHostAddress &host)
{
    std::future<RawAnswer> answer =
        std::async(std::launch::async, [=] { return rawExchange(port, request, timeoutMs, host); });
    // Past the exchange's own limit it has ended, answered or not.
    (void)QTest::qWaitFor(
        [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        timeoutMs + 1000);
    return answer.get();
}

ReloadingService::ReloadingService(service::Engine &first, const QString &host)
{
    extractor.result = service::ExtractedText{QStringLiteral("Coffee on Friday?"), QStringLiteral("en")};
    running = std::make_unique<RunningService>(service::ServiceConfig{}, first, extractor, nullptr,
                                               [this, host](service::HttpService::Parts &parts) {
                                                   parts.config.host = host;
                                                   parts.reload = [this](service::ReloadDone done) {
                                                       reloader->reload(std::move(done));
                                                   };
                                                   parts.controlSecret = QLatin1String(kSecret);
                                               });
    const QString config = dir.filePath(QStringLiteral("service.toml"));
    reloader = std::make_unique<service::EngineReloader>(
        running->engines,
        // Not the environment of the test run: only the test's files count.
        [config] { return service::loadConfig(config, QProcessEnvironment()); }, dir.path(),
        [this](const QString &line) { m_notes << line; });
}

ReloadingService::~ReloadingService()
{
    // Nothing may wait for a reload once the loop stops turning.
    reloader->abandon();
    running.reset();
}

RawAnswer ReloadingService::reload(const QByteArray &authorization)
{
    // As the app asks: with an empty JSON object, which is not read.
    QByteArray request = "POST /v1/control/reload HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                         "Content-Type: application/json\r\nContent-Length: 2\r\n";
    if (!authorization.isEmpty())
        request += "Authorization: " + authorization + "\r\n";
    return exchangeLooping(running->port(), request + "\r\n{}");
}

QJsonObject ReloadingService::health()
{
    return QJsonDocument::fromJson(
               exchangeLooping(running->port(), "GET /v1/health HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n").body)
        .object();
}

QJsonObject ReloadingService::analyze()
{
    return QJsonDocument::fromJson(exchangeLooping(running->port(), jpegUpload()).body).object();
}

} // namespace tavolen::test
