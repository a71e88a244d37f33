// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RunningService.h"

#include "api/Api.h"
#include "core/RunToEnd.h"
#include "service/EngineFactory.h"
#include "support/ScopedSettings.h"
#include "support/ServiceAnswers.h"
#include "support/ServiceTest.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <thread>

using namespace tavolen;
using namespace tavolen::test;

// ModelService: the service as configured for a language model, with the
// app's own calls at one end and a scripted chat-completions endpoint at
// the other.

namespace {

// Streams `answer` as a model writes it: a few characters a chunk.
class ScriptedModel {
public:
    explicit ScriptedModel(std::string answer)
    {
        m_server.Post("/v1/chat/completions",
                      [this, answer](const httplib::Request &req, httplib::Response &res) {
                          {
                              const std::lock_guard lock(m_mutex);
                              m_requests.push_back(req.body);
                          }
                          res.set_chunked_content_provider(
                              "text/event-stream", [answer](std::size_t, httplib::DataSink &sink) {
                                  for (std::size_t at = 0; at < answer.size(); at += 7) {
                                      const nlohmann::json chunk = {
                                          {"choices", {{{"delta", {{"content", answer.substr(at, 7)}}}}}}};
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
    ~ScriptedModel()
    {
        m_server.stop();
        m_thread.join();
    }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/v1").arg(m_port); }
    std::vector<std::string> requests() const
    {
        const std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
};

} // namespace

// The service configured for the scripted model, which answers `answer`;
// the app's settings point at the service.
struct ServiceWithModel {
    explicit ServiceWithModel(std::string answer) : model(std::move(answer))
    {
        config.llm.base_url = model.baseUrl();
        config.llm.model = QStringLiteral("scripted-model");
        engine = service::makeEngine(config, error);
        extractor.result = service::ExtractedText{QStringLiteral("Coffee on Friday?"), QStringLiteral("en")};
        if (engine)
            running = std::make_unique<RunningService>(config, *engine, extractor);
        if (running)
            settings.store.setValue(QStringLiteral("api_base"), running->baseUrl());
    }
    // The app's streaming call on a screenshot.
    api::AnalysisOutcome stream()
    {
        return runToEnd(api::analyzeStream(
            {&network, &settings.store, {}}, QByteArray("\xFF\xD8\xFF\xE0 pixels \xFF\xD9", 12),
            QStringLiteral("en"), [this](const protocol::StreamPartial &p) { partials.append(p); }));
    }

    ScriptedModel model;
    service::ServiceConfig config;
    QString error;
    std::unique_ptr<service::Engine> engine;
    FakeExtractor extractor;
    std::unique_ptr<RunningService> running;
    ScopedSettings settings;
    QNetworkAccessManager network;
    QList<protocol::StreamPartial> partials;
};

TEST(ModelService, WithAModelConfiguredTheAppReceivesTheModelsReadingFieldByField)
{
    ServiceWithModel s(resultJson().toStdString());
    ASSERT_TRUE(s.engine) << s.error.toStdString();
    const api::AnalysisOutcome outcome = s.stream();
    ASSERT_TRUE(outcome.ok()) << caseText(outcome);
    EXPECT_EQ(outcome.value().result, sampleResult()) << "the model's reading, unchanged";
    EXPECT_EQ(outcome.value().model, "llm:scripted-model");
    ASSERT_FALSE(s.partials.isEmpty()) << "the early fields came on their own";
    EXPECT_EQ(s.partials.back().summary, sampleResult().summary);

    ASSERT_EQ(s.model.requests().size(), 1u);
    EXPECT_NE(s.model.requests().front().find("Coffee on Friday?"), std::string::npos)
        << "the model reads the text taken from the picture";
}

TEST(ModelService, AModelAnswerThatIsNotAReadingReachesTheAppAsAnErrorNotAGuess)
{
    ServiceWithModel s(R"({"tone_label":"Warm","summary":"Half a thought, then)");
    ASSERT_TRUE(s.engine) << s.error.toStdString();
    const api::AnalysisOutcome outcome = s.stream();
    EXPECT_EQ(caseText(outcome).rfind("http 503 ", 0), 0u)
        << "the stream's error event, with its message: " << caseText(outcome);
    ASSERT_EQ(s.partials.size(), 1) << "what the model did finish still went out";
    EXPECT_EQ(s.partials.front().tone_label, "Warm");
}

TEST(ModelService, WithoutAModelTheOfflineEngineReads)
{
    QString error;
    EXPECT_EQ(service::makeEngine(service::ServiceConfig{}, error)->name(), "offline");
    service::ServiceConfig onlyAnEngine;
    onlyAnEngine.engine = QStringLiteral("llm");
    EXPECT_EQ(service::makeEngine(onlyAnEngine, error), nullptr);
    EXPECT_FALSE(error.isEmpty()) << "asking for a model without naming one is a configuration error";
}
