// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ServiceWithModel.h"

#include "core/RunToEnd.h"
#include "service/EngineFactory.h"

#include <QDeadlineTimer>
#include <QTest>

#include <nlohmann/json.hpp>

#include <algorithm>

namespace tavolen::test {

ScriptedModel::ScriptedModel(std::string answer) : m_answer(std::move(answer))
{
    m_server.Post("/v1/chat/completions", [this](const httplib::Request &req, httplib::Response &res) {
        std::string answer;
        {
            const std::lock_guard lock(m_mutex);
            m_requests.push_back(req.body);
            m_authorizations.push_back(req.get_header_value("Authorization"));
            answer = m_answer;
            if (m_status != 200) {
                res.status = m_status;
                res.set_content(answer, "application/json");
                return;
            }
        }
        res.set_chunked_content_provider("text/event-stream", [answer](std::size_t, httplib::DataSink &sink) {
            // Never inside a UTF-8 character: each chunk is JSON of its own.
            for (std::size_t at = 0, end = 0; at < answer.size(); at = end) {
                end = std::min(answer.size(), at + 7);
                while (end < answer.size() && (static_cast<unsigned char>(answer[end]) & 0xC0) == 0x80)
                    ++end;
                const nlohmann::json chunk = {
                    {"choices", {{{"delta", {{"content", answer.substr(at, end - at)}}}}}}};
                const std::string line = "data: " + chunk.dump() + "\n\n";
                sink.write(line.data(), line.size());
            }
            sink.write("data: [DONE]\n\n", 14);
            sink.done();
            return true;
        });
    });
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
}

ScriptedModel::~ScriptedModel()
{
    m_server.stop();
    m_thread.join();
}

QString ScriptedModel::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/v1").arg(m_port);
}

void ScriptedModel::answer(std::string text)
{
    const std::lock_guard lock(m_mutex);
    m_answer = std::move(text);
    m_status = 200;
}

void ScriptedModel::fail(int status, std::string body)
{
    const std::lock_guard lock(m_mutex);
    m_answer = std::move(body);
    m_status = status;
}

std::vector<std::string> ScriptedModel::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<std::string> ScriptedModel::authorizations() const
{
    const std::lock_guard lock(m_mutex);
    return m_authorizations;
}

ServiceWithModel::ServiceWithModel(std::string answer, service::TextExtractor *extractor)
    : model(std::move(answer))
{
    config.llm.base_url = model.baseUrl();
    config.llm.model = QStringLiteral("scripted-model");
    engine = service::makeEngine(config, error);
    fakeExtractor.result = service::ExtractedText{QStringLiteral("Coffee on Friday?"), QStringLiteral("en")};
    if (engine)
        running = std::make_unique<RunningService>(config, *engine, extractor ? *extractor : fakeExtractor);
    if (running)
        settings.store.setValue(QStringLiteral("api_base"), running->baseUrl());
}

api::AnalysisOutcome ServiceWithModel::stream(const QByteArray &jpeg)
{
    partials.clear();
    return runToEnd(api::analyzeStream({&network, &settings.store, {}}, jpeg, QStringLiteral("en"),
                                       [this](const protocol::StreamPartial &p) { partials.append(p); }));
}

api::AnalysisOutcome ServiceWithModel::plain(const QByteArray &jpeg)
{
    return runToEnd(api::analyze({&network, &settings.store, {}}, jpeg, QStringLiteral("en")));
}

bool ServiceWithModel::waitForLogLines(qsizetype count) const
{
    const QDeadlineTimer deadline(10'000);
    while (running->log().size() < count && !deadline.hasExpired())
        QTest::qWait(10);
    return running->log().size() >= count;
}

} // namespace tavolen::test
