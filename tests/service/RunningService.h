// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/Api.h"
#include "core/RunToEnd.h"
#include "protocol/Endpoints.h"
#include "service/Engine.h"
#include "service/HttpService.h"
#include "service/MemoryAllowanceStore.h"
#include "service/TextExtractor.h"
#include "support/ScopedSettings.h"

#include <QByteArray>
#include <QFile>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QStringList>

#include <mutex>

namespace tavolen::test {

// Hands back a fixed text for any picture, or refuses it as undecodable.
class FakeExtractor : public service::TextExtractor {
public:
    std::optional<service::ExtractedText> extract(const QByteArray &, const std::atomic<bool> &,
                                                  const service::TextSoFar &onPart) override
    {
        ++calls;
        if (onPart && firstLines)
            onPart(*firstLines);
        return result;
    }
    std::optional<service::ExtractedText> result = service::ExtractedText{};
    // Handed to the caller as the text read so far, when set.
    std::optional<service::ExtractedText> firstLines;
    std::atomic<int> calls{0};
};

// An engine whose every call runs the test's script.
class ScriptedEngine : public service::Engine {
public:
    using Script = std::function<service::EngineOutcome(
        const service::AnalysisInput &, const service::FieldSink &, const std::atomic<bool> &)>;
    explicit ScriptedEngine(Script script) : m_script(std::move(script)) {}
    QString name() const override { return QStringLiteral("scripted"); }
    service::EngineOutcome analyze(const service::AnalysisInput &input, const service::FieldSink &onField,
                                   const std::atomic<bool> &cancelled) override
    {
        return m_script(input, onField, cancelled);
    }

private:
    Script m_script;
};

// Enough of a JPEG for the service, which leaves reading it to the extractor.
inline const QByteArray kJpeg("\xFF\xD8\xFF\xE0 jpeg \xFF\xD9", 12);

// The test's own engine, handed to the service without giving it away: the
// test destroys it, after the service.
inline std::shared_ptr<service::Engine> borrowed(service::Engine &engine)
{
    return std::shared_ptr<service::Engine>(std::shared_ptr<service::Engine>(), &engine);
}

// The real service on an ephemeral loopback port, serving on threads of
// its own until destroyed; its log lines are kept. `adjust` may set the parts
// a test needs beyond the usual ones (a reload, a control secret).
class RunningService {
public:
    // The allowance is counted in `store` when given, else in `allowance`;
    // `adjust` changes the rest of the service's parts before it starts.
    RunningService(service::ServiceConfig config, service::Engine &engine, service::TextExtractor &extractor,
                   service::AllowanceStore *store = nullptr,
                   const std::function<void(service::HttpService::Parts &)> &adjust = {})
        : engines(borrowed(engine))
    {
        config.host = QStringLiteral("127.0.0.1");
        config.port = 0;
        // Stopping waits for idle connections to time out.
        config.keepAliveSeconds = 1;
        if (config.token.isEmpty())
            config.token = QString::fromLatin1(protocol::kApiToken);
        service::HttpService::Parts parts{config, engines, extractor, store ? *store : allowance,
                                          [this](const QString &line) {
                                              const std::lock_guard lock(m_mutex);
                                              m_log << line;
                                          }};
        if (adjust)
            adjust(parts);
        m_service = std::make_unique<service::HttpService>(std::move(parts));
        bindError = m_service->bind();
        if (bindError.isEmpty())
            m_service->start();
    }
    ~RunningService() { m_service->stop(); }

    int port() const { return m_service->port(); }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port()); }
    QStringList log() const
    {
        const std::lock_guard lock(m_mutex);
        return m_log;
    }

    service::EngineSlot engines;
    QString bindError;
    service::MemoryAllowanceStore allowance;

private:
    mutable std::mutex m_mutex;
    QStringList m_log;
    std::unique_ptr<service::HttpService> m_service;
};

// The app's own calls, with settings of the test's own pointed at `service`.
struct AppCalls {
    void useService(const RunningService &service)
    {
        settings.store.setValue(QStringLiteral("api_base"), service.baseUrl());
    }
    api::CallContext context() { return {&network, &settings.store, timeouts}; }
    api::AnalysisOutcome plain(const QByteArray &jpeg = kJpeg, const QString &lang = QStringLiteral("en"))
    {
        return runToEnd(api::analyze(context(), jpeg, lang));
    }
    // The streamed call; its early fields land in `partials`.
    api::AnalysisOutcome stream(const QByteArray &jpeg = kJpeg, const QString &lang = QStringLiteral("en"))
    {
        partials.clear();
        return runToEnd(api::analyzeStream(context(), jpeg, lang,
                                           [this](const protocol::StreamPartial &p) { partials.append(p); }));
    }

    ScopedSettings settings;
    QNetworkAccessManager network;
    api::Timeouts timeouts;
    QList<protocol::StreamPartial> partials;
};

// The most this process has held resident since it started (or since
// /proc/self/clear_refs was told "5"), in KiB.
inline long peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// One HTTP exchange over a plain socket, for requests the app never makes.
struct RawAnswer {
    int status = 0; // 0: no answer
    QByteArray head;
    QByteArray body;
};
// `host`: where to reach the service, loopback unless said.
RawAnswer rawExchange(int port, const QByteArray &request, int timeoutMs = 5000,
                      const QHostAddress &host = QHostAddress(QHostAddress::LocalHost));

// A multipart body as the app builds it, with parts of the test's choosing.
QByteArray multipartBody(const QByteArray &boundary, const QList<std::pair<QByteArray, QByteArray>> &parts);
// A complete upload request to `path` with the app's headers.
QByteArray uploadRequest(const QByteArray &path, const QByteArray &contentType, const QByteArray &body,
                         const QByteArray &token = protocol::kApiToken);
// An upload to `path` of a form with these parts, as the app sends it.
inline QByteArray formUpload(const QByteArray &path, const QList<std::pair<QByteArray, QByteArray>> &parts)
{
    return uploadRequest(path, "multipart/form-data; boundary=B", multipartBody("B", parts));
}
// The app's upload of kJpeg to `path` ("/v1/analyze-screenshot" or its stream).
inline QByteArray jpegUpload(const QByteArray &path = "/v1/analyze-screenshot")
{
    return formUpload(path, {{"meta", R"({"ui_language":"en"})"}, {"image", kJpeg}});
}
// The status and error code of the answer to `request`, after checking that
// its body is the error envelope and its head says "Connection: close" once.
std::pair<int, QString> refusal(int port, const QByteArray &request);

} // namespace tavolen::test
