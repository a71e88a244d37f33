// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReloadingService.h"
#include "ServiceWithModel.h"

#include "service/OfflineEngine.h"
#include "support/ServiceAnswers.h"

#include <QJsonDocument>
#include <QNetworkInterface>
#include <QTest>

#include <gtest/gtest.h>

#include <future>
#include <thread>

using namespace tavolen;
using namespace tavolen::test;

// ServiceReload: the engine swapped while the service serves, through its
// control endpoint, against a scripted model endpoint on loopback.

TEST(ServiceReload, SwitchesFromOfflineToTheModelAndServesWithIt)
{
    FakeModelServer model;
    model.answer(modelWrites(resultJson().toStdString()));
    service::OfflineEngine offline;
    ReloadingService s(offline);
    EXPECT_EQ(s.analyze().value("model"), "offline");

    s.write(QStringLiteral("model.toml"), modelToml(model.baseUrl()));
    const RawAnswer answer = s.reload();
    ASSERT_EQ(answer.status, 200) << answer.body.toStdString();
    EXPECT_EQ(answer.body, R"({"engine":"llm:qwen2.5:7b","model":"qwen2.5:7b","base_url":")" +
                               model.baseUrl().toUtf8() + R"(","replies":true})");
    const QJsonObject health = s.health(), reloaded = QJsonDocument::fromJson(answer.body).object();
    EXPECT_EQ(health.value("status"), "ok");
    for (const char *field : {"engine", "model", "base_url", "replies"})
        EXPECT_EQ(health.value(field), reloaded.value(field)) << "health says the same: " << field;

    EXPECT_EQ(s.analyze().value("model"), "llm:qwen2.5:7b") << "the next upload is read by the model";
    ASSERT_EQ(authorizations(model).size(), 1u);
    EXPECT_EQ(authorizations(model).front(), "") << "no key was chosen, so none is sent";

    s.write(QStringLiteral("model.toml"), "engine = \"offline\"\n");
    EXPECT_EQ(s.reload().body, R"({"engine":"offline","model":null,"base_url":null,"replies":false})")
        << "and back, the model's settings left behind";
    EXPECT_EQ(s.analyze().value("model"), "offline");
}

TEST(ServiceReload, RequestsInFlightFinishOnTheOldEngine)
{
    std::atomic<bool> reading{false};
    std::atomic<bool> release{false};
    ScriptedEngine old([&](const service::AnalysisInput &, const service::FieldSink &,
                           const std::atomic<bool> &cancelled) -> service::EngineOutcome {
        reading = true;
        while (!release && !cancelled)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return sampleResult();
    });
    ReloadingService s(old);
    std::future<QJsonObject> inFlight = std::async(std::launch::async, [&] { return s.analyze(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return reading.load(); }, 10000));

    s.write(QStringLiteral("model.toml"), "engine = \"offline\"\n");
    ASSERT_EQ(s.reload().status, 200) << "the reload does not wait for readings to end";
    EXPECT_EQ(s.health().value("engine"), "offline");
    EXPECT_EQ(s.analyze().value("model"), "offline") << "a new upload is read by the new engine";

    release = true;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return inFlight.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 10000));
    EXPECT_EQ(inFlight.get().value("model"), "scripted") << "the upload already running kept its engine";
}

TEST(ServiceReload, AWrongOrMissingSecretIsForbiddenAndSwapsNothing)
{
    FakeModelServer model;
    model.answer(modelWrites(resultJson().toStdString()));
    service::OfflineEngine offline;
    ReloadingService s(offline);
    s.write(QStringLiteral("model.toml"), modelToml(model.baseUrl()));
    const QByteArray secret = ReloadingService::kSecret;
    const QList<std::pair<const char *, QByteArray>> cases = {
        {"no Authorization header", {}},
        {"another secret", "Bearer " + QByteArray(64, 'f')},
        {"the secret short of its last digit", "Bearer " + secret.chopped(1)},
        {"the secret and one more digit", "Bearer " + secret + "0"},
        {"the secret in another scheme", "Basic " + secret},
        {"the secret without a scheme", secret},
        {"the app's upload token", "Bearer " + QByteArray(protocol::kApiToken)},
    };
    for (const auto &[what, authorization] : cases) {
        const RawAnswer answer = s.reload(authorization);
        EXPECT_EQ(answer.status, 403) << what;
        EXPECT_EQ(answer.body, R"({"error":{"code":"forbidden"}})") << what;
    }
    EXPECT_EQ(s.health().value("engine"), "offline");
    EXPECT_TRUE(s.notes().isEmpty()) << "no reload was even begun";
    EXPECT_EQ(s.reload().status, 200) << "while the right secret still works";
}

TEST(ServiceReload, AFailedReloadAnswers409AndTheOldEngineServesOn)
{
    FakeModelServer model;
    model.answer(modelWrites(resultJson().toStdString()));
    service::OfflineEngine offline;
    ReloadingService s(offline);
    const QByteArray key = "sk-not-for-any-log-4242";
    struct Case {
        const char *what;
        QByteArray modelToml;
        int keyFileMode; // 0: no key file
        const char *says;
    };
    const QList<Case> cases = {
        {"model.toml is not TOML", "engine = \n", 0, "model.toml:1"},
        {"a model half chosen", "engine = \"llm\"\n[llm]\nbase_url = \"http://127.0.0.1:1/v1\"\n", 0,
         "llm.model"},
        {"the key file is missing", modelToml(model.baseUrl(), "file"), 0, "does not exist"},
        {"others may read the key file", modelToml(model.baseUrl(), "file"), 0644, "mode 0644"},
        {"the key pasted in model.toml", modelToml(model.baseUrl(), key), 0, "model.toml:5: llm.api_key"},
    };
    for (const Case &c : cases) {
        QFile::remove(s.dir.filePath(QStringLiteral("llm-api-key")));
        if (c.keyFileMode)
            s.write(QStringLiteral("llm-api-key"), key + "\n", c.keyFileMode);
        s.write(QStringLiteral("model.toml"), c.modelToml);
        const RawAnswer answer = s.reload();
        EXPECT_EQ(answer.status, 409) << c.what;
        const QJsonObject body = QJsonDocument::fromJson(answer.body).object();
        EXPECT_EQ(body.value("error").toObject().value("code"), "reload_failed") << c.what;
        const QString message = body.value("error").toObject().value("message").toString();
        EXPECT_TRUE(message.contains(QLatin1String(c.says))) << c.what << ": " << message.toStdString();
        EXPECT_EQ(body.value("engine"), "offline") << c.what;
        EXPECT_FALSE(answer.body.contains(key)) << c.what;
        EXPECT_EQ(s.health().value("engine"), "offline") << c.what;
    }
    for (const QString &line : s.running->log() + s.notes())
        EXPECT_FALSE(line.contains(QLatin1String(key))) << "nothing of the key reaches the log";

    // The same key file, closed to others, is read and sent to the model alone.
    s.write(QStringLiteral("llm-api-key"), key + "\n", 0600);
    s.write(QStringLiteral("model.toml"), modelToml(model.baseUrl(), "file"));
    ASSERT_EQ(s.reload().status, 200);
    EXPECT_EQ(s.analyze().value("model"), "llm:qwen2.5:7b");
    ASSERT_EQ(authorizations(model).size(), 1u);
    EXPECT_EQ(authorizations(model).front(), "Bearer " + key.toStdString()) << "without its line break";
}

TEST(ServiceReload, OnlyALoopbackPeerMayAsk)
{
    QHostAddress outside;
    for (const QHostAddress &a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            outside = a;
    if (outside.isNull())
        GTEST_SKIP() << "this machine has no address but loopback to ask from";
    service::OfflineEngine offline;
    ReloadingService s(offline, QStringLiteral("0.0.0.0"));
    // From the machine's own outside address, which is not loopback.
    const RawAnswer answer = exchangeLooping(s.running->port(),
                                             QByteArray("POST /v1/control/reload HTTP/1.1\r\nHost: x\r\n"
                                                        "Content-Length: 0\r\nAuthorization: Bearer ") +
                                                 ReloadingService::kSecret + "\r\n\r\n",
                                             15000, outside);
    EXPECT_EQ(answer.status, 403) << answer.head.toStdString();
    EXPECT_TRUE(s.notes().isEmpty());
    EXPECT_EQ(s.reload().status, 200) << "from loopback the same request is taken";
}

TEST(ServiceReload, WithoutASecretThereIsNoControlEndpoint)
{
    service::OfflineEngine offline;
    FakeExtractor extractor;
    RunningService running({}, offline, extractor);
    const RawAnswer answer = rawExchange(
        running.port(), "POST /v1/control/reload HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(answer.status, 404);
}
