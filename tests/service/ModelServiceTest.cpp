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
    explicit ScriptedModel(std::string answer = resultJson().toStdString())
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

TEST(ModelService, WithAModelConfiguredTheAppReceivesTheModelsReadingFieldByField)
{
    ScriptedModel model;
    service::ServiceConfig config;
    config.llm.base_url = model.baseUrl();
    config.llm.model = QStringLiteral("scripted-model");
    QString error;
    const std::unique_ptr<service::Engine> engine = service::makeEngine(config, error);
    ASSERT_TRUE(engine) << error.toStdString();

    FakeExtractor extractor;
    extractor.result = service::ExtractedText{QStringLiteral("Coffee on Friday?"), QStringLiteral("en")};
    RunningService running(config, *engine, extractor);
    ASSERT_TRUE(running.bindError.isEmpty());
    ScopedSettings settings;
    settings.store.setValue(QStringLiteral("api_base"), running.baseUrl());

    QList<api::StreamPartial> partials;
    const api::AnalysisOutcome outcome =
        runToEnd(api::analyzeStream(QByteArray("\xFF\xD8\xFF\xE0 pixels \xFF\xD9", 12), QStringLiteral("en"),
                                    [&](const api::StreamPartial &p) { partials.append(p); }));
    ASSERT_TRUE(outcome.ok()) << describe(outcome.error()).toStdString();
    EXPECT_EQ(outcome.value().result, sampleResult()) << "the model's reading, unchanged";
    EXPECT_EQ(outcome.value().model, "llm:scripted-model");
    ASSERT_FALSE(partials.isEmpty()) << "the early fields came on their own";
    EXPECT_EQ(partials.back().summary, sampleResult().summary);

    ASSERT_EQ(model.requests().size(), 1u);
    EXPECT_NE(model.requests().front().find("Coffee on Friday?"), std::string::npos)
        << "the model reads the text taken from the picture";
}

TEST(ModelService, AModelAnswerThatIsNotAReadingReachesTheAppAsAnErrorNotAGuess)
{
    ScriptedModel model(R"({"tone_label":"Warm","summary":"Half a thought, then)");
    service::ServiceConfig config;
    config.llm.base_url = model.baseUrl();
    config.llm.model = QStringLiteral("scripted-model");
    QString error;
    const std::unique_ptr<service::Engine> engine = service::makeEngine(config, error);
    FakeExtractor extractor;
    extractor.result = service::ExtractedText{QStringLiteral("Coffee on Friday?"), QStringLiteral("en")};
    RunningService running(config, *engine, extractor);
    ScopedSettings settings;
    settings.store.setValue(QStringLiteral("api_base"), running.baseUrl());

    QList<api::StreamPartial> partials;
    const api::AnalysisOutcome outcome =
        runToEnd(api::analyzeStream(QByteArray("\xFF\xD8\xFF\xE0 pixels \xFF\xD9", 12), QStringLiteral("en"),
                                    [&](const api::StreamPartial &p) { partials.append(p); }));
    EXPECT_EQ(caseText(outcome).rfind("http 503 ", 0), 0u)
        << "the stream's error event, with its message: " << caseText(outcome);
    ASSERT_EQ(partials.size(), 1) << "what the model did finish still went out";
    EXPECT_EQ(partials.front().tone_label, "Warm");
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
