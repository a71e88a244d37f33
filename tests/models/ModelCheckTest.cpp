// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/ModelCheck.h"
#include "core/RunToEnd.h"
#include "support/Scratch.h"
#include "support/ScriptedServer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::models;
using namespace std::chrono_literals;
using test::ScriptedResponse;
using test::ScriptedServer;
using Kind = CheckFailure::Kind;

namespace {

QByteArray chunk(const QByteArray &delta)
{
    return R"(data: {"choices":[{"index":0,"delta":)" + delta + "}]}\n\n";
}

struct Check {
    ScriptedServer server;
    QNetworkAccessManager network;
    ModelEndpoint endpoint{QUrl(server.baseUrl() + QStringLiteral("/v1")), QStringLiteral("qwen2.5:7b"), {}};

    CheckOutcome run(std::chrono::milliseconds limit = 5s)
    {
        return runToEnd(checkModel(network, endpoint, limit));
    }
};

} // namespace

TEST(ModelCheck, TimesTheFirstTokenNotTheRoleChunkAndAsksAsTheServiceWould)
{
    Check check;
    check.endpoint.apiKey = QStringLiteral("sk-test");
    ScriptedResponse answer = ScriptedResponse::stream({chunk(R"({"role":"assistant"})")});
    answer.then(300ms, chunk(R"({"content":"OK"})")).then(0ms, "data: [DONE]\n\n");
    check.server.script("/v1/chat/completions", answer);

    const CheckOutcome outcome = check.run();
    ASSERT_TRUE(std::holds_alternative<std::chrono::milliseconds>(outcome));
    EXPECT_GE(std::get<std::chrono::milliseconds>(outcome), 300ms);

    const auto requests = check.server.requests("/v1/chat/completions");
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].header("Authorization"), QByteArray("Bearer sk-test"));
    const QJsonObject body = QJsonDocument::fromJson(requests[0].body).object();
    EXPECT_EQ(body.value(QLatin1String("model")).toString(), QStringLiteral("qwen2.5:7b"));
    EXPECT_TRUE(body.value(QLatin1String("stream")).toBool());
}

TEST(ModelCheck, NamesEachWayAModelCanFail)
{
    struct Case {
        const char *name;
        ScriptedResponse answer;
        Kind kind;
        int status;
        QString serverMessage;
    };
    const QList<Case> cases{
        {"wrong key", ScriptedResponse::body(401, R"({"error":{"message":"Incorrect API key provided"}})"),
         Kind::KeyRefused, 401, QStringLiteral("Incorrect API key provided")},
        {"unknown model", ScriptedResponse::body(404, R"({"error":"model 'qwen9' not found"})"),
         Kind::NoSuchModel, 404, QStringLiteral("model 'qwen9' not found")},
        {"server fault", ScriptedResponse::body(500, "oops", "text/plain"), Kind::ServerError, 500, {}},
        {"not streamed", ScriptedResponse::body(200, R"({"choices":[]})"), Kind::NotStreamed, 200, {}},
        {"silent", ScriptedResponse::silence(), Kind::TimedOut, 0, {}},
    };
    for (const Case &c : cases) {
        Check check;
        check.server.script("/v1/chat/completions", c.answer);
        const CheckOutcome outcome = check.run(1500ms);
        ASSERT_TRUE(std::holds_alternative<CheckFailure>(outcome)) << c.name;
        const CheckFailure &failure = std::get<CheckFailure>(outcome);
        EXPECT_EQ(failure.kind, c.kind) << c.name;
        EXPECT_EQ(failure.status, c.status) << c.name;
        EXPECT_EQ(failure.serverMessage, c.serverMessage) << c.name;
        EXPECT_FALSE(describe(failure, check.endpoint).isEmpty());
    }
}

TEST(ModelCheck, AnAddressWithNothingBehindItOrNoHttpIsSaidSo)
{
    QNetworkAccessManager network;
    const QUrl closed(QStringLiteral("http://127.0.0.1:%1/v1").arg(test::freePort()));
    const CheckOutcome refused = runToEnd(checkModel(network, {closed, QStringLiteral("m"), {}}, 5s));
    ASSERT_TRUE(std::holds_alternative<CheckFailure>(refused));
    EXPECT_EQ(std::get<CheckFailure>(refused).kind, Kind::Unreachable);

    for (const char *bad : {"ftp://127.0.0.1/v1", "127.0.0.1:11434", ""}) {
        const CheckOutcome outcome =
            runToEnd(checkModel(network, {QUrl(QString::fromLatin1(bad)), QStringLiteral("m"), {}}));
        ASSERT_TRUE(std::holds_alternative<CheckFailure>(outcome)) << bad;
        EXPECT_EQ(std::get<CheckFailure>(outcome).kind, Kind::BadAddress) << bad;
    }
}
