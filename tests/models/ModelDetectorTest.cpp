// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/ModelDetector.h"
#include "core/RunToEnd.h"
#include "support/Scratch.h"
#include "support/ScriptedServer.h"

#include <QNetworkAccessManager>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::models;
using test::ScriptedResponse;
using test::ScriptedServer;

namespace {

int portOf(const ScriptedServer &server)
{
    return QUrl(server.baseUrl()).port();
}

} // namespace

TEST(ModelDetector, ListsEachServerThatAnswersWithItsModelsAndSkipsTheRest)
{
    ScriptedServer ollama;
    ollama.script("/api/tags", ScriptedResponse::body(
                                   200, R"({"models":[{"name":"qwen2.5:7b"},{"name":"llama3.2:3b"}]})"));
    // A llama-server lists only its OpenAI side; Ollama's own path is a 404 there.
    ScriptedServer llama;
    llama.script("/v1/models",
                 ScriptedResponse::body(200, R"({"object":"list","data":[{"id":"model.gguf"}]})"));
    // Something else on a usual port, answering with what is no listing.
    ScriptedServer other;
    other.script("/v1/models", ScriptedResponse::body(200, "<html>hello</html>", "text/html"));
    ScriptedServer silent;
    silent.setFallback(ScriptedResponse::silence());

    QNetworkAccessManager network;
    const std::vector<ModelServer> found =
        runToEnd(detectModelServers(network,
                                    {{QStringLiteral("Ollama"), portOf(ollama), true},
                                     {QStringLiteral("llama.cpp"), portOf(llama), false},
                                     {QStringLiteral("LM Studio"), test::freePort(), false},
                                     {QStringLiteral("vLLM"), portOf(other), false},
                                     {QStringLiteral("Slow"), portOf(silent), false}},
                                    QStringLiteral("127.0.0.1"), std::chrono::milliseconds(500)));

    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, QStringLiteral("Ollama"));
    EXPECT_EQ(found[0].baseUrl, QUrl(QStringLiteral("http://127.0.0.1:%1/v1").arg(portOf(ollama))));
    EXPECT_EQ(found[0].models, QStringList({QStringLiteral("qwen2.5:7b"), QStringLiteral("llama3.2:3b")}));
    EXPECT_EQ(found[1].name, QStringLiteral("llama.cpp"));
    EXPECT_EQ(found[1].models, QStringList{QStringLiteral("model.gguf")});
    // The silent one was asked and given up on, not waited for.
    EXPECT_EQ(silent.requests().size(), 1);
}

TEST(ModelDetector, ReadsBothListingShapesAndRefusesWhatIsNeither)
{
    EXPECT_EQ(modelsInListing(R"({"data":[{"id":"a"},{"id":"b"},{"id":"a"},{"id":""}]})"),
              QStringList({QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(modelsInListing(R"({"models":[{"name":"x:1b","size":1}]})"),
              QStringList{QStringLiteral("x:1b")});
    // A server running with nothing pulled is still a server.
    EXPECT_EQ(modelsInListing(R"({"models":[]})"), QStringList());
    for (const char *notListing : {"", "[]", "{}", R"({"data":"x"})", "not json"})
        EXPECT_EQ(modelsInListing(notListing), std::nullopt) << notListing;
}
