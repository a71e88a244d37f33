// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/LlmEngine.h"

#include "EngineCalls.h"
#include "ModelAnswers.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <thread>

using namespace tavolen::test;
using tavolen::protocol::FieldEvent;
using json = nlohmann::json;

TEST(LlmEngineStream, EarlyFieldsArriveBeforeTheModelHasFinished)
{
    // The model writes the first two fields, then waits until the test has
    // seen them reported before it writes the rest.
    const std::string answer = modelReadingJson();
    const std::size_t afterSummary = answer.find("\"hidden_meaning\"");
    Latch rest;
    std::atomic<bool> restWritten{false};
    FakeModelServer server;
    server.answer([&](const httplib::Request &, httplib::Response &response) {
        response.set_chunked_content_provider("text/event-stream", [&](size_t, httplib::DataSink &sink) {
            const auto write = [&sink](const std::string &text) {
                for (const std::string &piece : piecesOf(text, 5)) {
                    const std::string event = contentEvent(piece);
                    sink.write(event.data(), event.size());
                }
            };
            write(answer.substr(0, afterSummary));
            rest.waitFor(5s);
            restWritten = true;
            write(answer.substr(afterSummary));
            sink.write("data: [DONE]\n\n", 14);
            sink.done();
            return true;
        });
    });

    std::vector<bool> writtenWhenReported;
    const EngineCall call = analyzeWith(settingsFor(server), englishPost(), false, [&](const FieldEvent &e) {
        writtenWhenReported.push_back(restWritten);
        if (e.field == QStringLiteral("summary"))
            rest.open();
    });

    ASSERT_TRUE(call.reading()) << call.code().toStdString();
    ASSERT_EQ(call.events.size(), 4u);
    EXPECT_EQ(call.events[0].field, QStringLiteral("tone_label"));
    EXPECT_EQ(call.events[1].field, QStringLiteral("summary"));
    EXPECT_EQ(writtenWhenReported, (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(call.events[1].value, call.reading()->summary);
    EXPECT_EQ(call.events[2], (FieldEvent{QStringLiteral("risk_level"), QStringLiteral("low")}));
}

TEST(LlmEngineStream, TheReadingIsTheModelsObjectEvenInsideAFence)
{
    FakeModelServer server;
    server.answer(modelWrites("```json\n" + modelReadingJson() + "\n```"));
    const EngineCall call = analyzeWith(settingsFor(server));
    ASSERT_TRUE(call.reading()) << call.failure()->detail.toStdString();
    EXPECT_EQ(call.reading()->best_reply, QStringLiteral("Yes, it opens at 9 on Sundays!\nSee you there?"));
    EXPECT_EQ(call.reading()->full_translation, QStringLiteral("玛拉问那家新咖啡馆周日开不开门。"));
}

TEST(LlmEngineStream, BrokenJsonFromTheModelIsAFailure)
{
    FakeModelServer server;
    std::string broken = modelReadingJson();
    broken.replace(broken.find("\"tone\":"), 7, "\"tone\" ");
    server.answer(modelWrites(broken));
    EngineCall call = analyzeWith(settingsFor(server));
    EXPECT_EQ(call.code(), QStringLiteral("model_output_invalid"));
    EXPECT_EQ(call.events.size(), 4u) << "fields before the fault were already reported";

    // Cut off before the object closes, and no object at all.
    server.answer(modelWrites(modelReadingJson().substr(0, 300)));
    EXPECT_EQ(analyzeWith(settingsFor(server)).code(), QStringLiteral("model_output_invalid"));
    server.answer(modelWrites("I cannot help with that."));
    call = analyzeWith(settingsFor(server));
    EXPECT_EQ(call.code(), QStringLiteral("model_output_invalid"));
    EXPECT_TRUE(call.failure()->message_zh && !call.failure()->message_zh->isEmpty());
}

TEST(LlmEngineStream, TheRequestNamesTheModelAsksForAStreamAndCarriesTheKey)
{
    FakeModelServer server;
    server.answer(modelWrites(modelReadingJson()));
    analyzeWith(settingsFor(server));
    const std::vector<ReceivedRequest> requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const ReceivedRequest &r = requests[0];
    EXPECT_EQ(r.target, "/v1/chat/completions");
    EXPECT_EQ(r.header("Authorization"), "Bearer sk-test-123");
    const json body = json::parse(r.body);
    EXPECT_EQ(body["model"], "test-model");
    EXPECT_EQ(body["stream"], true);
    ASSERT_EQ(body["messages"].size(), 2u);
    EXPECT_EQ(body["messages"][0]["role"], "system");
    const std::string prompt = body["messages"][0]["content"];
    EXPECT_NE(prompt.find("\"tone_label\""), std::string::npos);
    EXPECT_LT(prompt.find("\"summary\""), prompt.find("\"risk_reason\""));
    EXPECT_NE(prompt.find("English"), std::string::npos);
    EXPECT_EQ(body["messages"][1]["role"], "user");
    ASSERT_TRUE(body["messages"][1]["content"].is_string()) << "no image without vision";
    EXPECT_NE(body["messages"][1]["content"].get<std::string>().find("Is the new café open on Sundays?"),
              std::string::npos);
}

TEST(LlmEngineStream, TheScreenshotIsSentOnlyToAVisionModelAndGlossesFollowTheInterfaceLanguage)
{
    FakeModelServer server;
    server.answer(modelWrites(modelReadingJson()));
    auto settings = settingsFor(server);
    settings.vision = true;
    settings.api_key.clear();
    auto input = englishPost();
    input.uiLanguage = QStringLiteral("zh-Hans");
    analyzeWith(settings, input);

    const ReceivedRequest r = server.requests().at(0);
    EXPECT_EQ(r.header("Authorization"), std::nullopt);
    const json body = json::parse(r.body);
    EXPECT_NE(body["messages"][0]["content"].get<std::string>().find("Simplified Chinese"),
              std::string::npos);
    const json &parts = body["messages"][1]["content"];
    ASSERT_TRUE(parts.is_array());
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0]["type"], "text");
    EXPECT_EQ(parts[1]["type"], "image_url");
    EXPECT_EQ(parts[1]["image_url"]["url"],
              "data:image/jpeg;base64," + QByteArray("\xFF\xD8jpeg\xFF\xD9").toBase64().toStdString());
}

TEST(LlmEngineStream, AnErrorTheEndpointSendsInTheStreamIsAFailure)
{
    FakeModelServer server;
    server.answer(streamOf({contentEvent("{\"tone_label\": \"x\""),
                            "data: {\"error\": {\"message\": \"upstream overloaded\"}}\n\n"}));
    const EngineCall call = analyzeWith(settingsFor(server));
    EXPECT_EQ(call.code(), QStringLiteral("model_unavailable"));
    EXPECT_TRUE(call.failure()->detail.contains(QStringLiteral("error in its stream")));
    EXPECT_FALSE(call.failure()->detail.contains(QStringLiteral("upstream overloaded")))
        << "the endpoint's words may quote the screenshot";
}

TEST(LlmEngineStream, OneEngineServesSeveralWorkersAtOnceWithoutMixingThemUp)
{
    // The model's summary repeats the post it was given.
    FakeModelServer server;
    server.answer([](const httplib::Request &request, httplib::Response &response) {
        const std::string post = json::parse(request.body)["messages"][1]["content"];
        json reading = json::parse(modelReadingJson());
        const std::size_t from = post.find("<<<SCREENSHOT_TEXT\n") + 19;
        reading["summary"] = post.substr(from, post.find("\nSCREENSHOT_TEXT>>>") - from);
        modelWrites(reading.dump())(request, response);
    });
    tavolen::service::llm::LlmEngine engine(settingsFor(server));
    std::vector<QString> summaries(6);
    std::vector<QString> reported(6);
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < summaries.size(); ++i)
        workers.emplace_back([&, i] {
            auto input = englishPost();
            input.text = QStringLiteral("Post number %1").arg(i);
            const auto outcome = engine.analyze(
                input,
                [&](const FieldEvent &e) {
                    if (e.field == QStringLiteral("summary"))
                        reported[i] = *e.value;
                },
                std::atomic<bool>{false});
            if (const auto *reading = std::get_if<tavolen::protocol::AnalysisResult>(&outcome))
                summaries[i] = reading->summary;
        });
    for (std::thread &worker : workers)
        worker.join();
    for (std::size_t i = 0; i < summaries.size(); ++i) {
        EXPECT_EQ(summaries[i], QStringLiteral("Post number %1").arg(i));
        EXPECT_EQ(reported[i], summaries[i]);
    }
}
