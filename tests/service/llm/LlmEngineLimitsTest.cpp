// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/LlmEngine.h"

#include "EngineCalls.h"
#include "ModelAnswers.h"

#include <atomic>
#include <cstdlib>
#include <memory>
#include <thread>

using namespace tavolen::test;

namespace {

// Sends the head and `first`, then nothing until the server shuts down.
FakeModelServer::Script stallAfter(FakeModelServer &server, std::string first)
{
    return [&server, first](const httplib::Request &, httplib::Response &response) {
        response.set_chunked_content_provider("text/event-stream",
                                              [&server, first](size_t, httplib::DataSink &sink) {
                                                  sink.write(first.data(), first.size());
                                                  server.shutdown().waitFor(20s);
                                                  return false;
                                              });
    };
}

// Sends nothing at all, not even a head, until the server shuts down.
FakeModelServer::Script silence(FakeModelServer &server)
{
    return [&server](const httplib::Request &, httplib::Response &) { server.shutdown().waitFor(20s); };
}

// Sends `opener`, then `unit` again and again (as fast as it is taken, or
// one every `gap`) until the client goes, or for five seconds, so that an
// engine that never stops fails the test instead of hanging it; counts the
// bytes it got out.
struct EndlessLog {
    std::atomic<std::size_t> sent{0};
    Latch over; // the server has stopped sending
};

FakeModelServer::Script endless(std::string opener, std::string unit, std::shared_ptr<EndlessLog> log,
                                std::chrono::milliseconds gap = 0ms)
{
    const auto provide = [=](size_t, httplib::DataSink &sink) {
        sink.write(opener.data(), opener.size());
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (std::chrono::steady_clock::now() < end && sink.write(unit.data(), unit.size())) {
            log->sent += unit.size();
            if (gap > 0ms)
                std::this_thread::sleep_for(gap);
        }
        log->over.open();
        return false;
    };
    return [provide](const httplib::Request &, httplib::Response &response) {
        response.set_chunked_content_provider("text/event-stream", provide);
    };
}

} // namespace

TEST(LlmEngineLimits, EachEndpointStatusIsItsOwnFailureNamingTheStatusButNotTheEndpointsWords)
{
    const std::vector<std::pair<int, const char *>> cases{
        {401, "model_unauthorized"}, {403, "model_unauthorized"},     {404, "model_not_found"},
        {429, "model_rate_limited"}, {400, "model_request_rejected"}, {500, "model_unavailable"},
        {503, "model_unavailable"}};
    FakeModelServer server;
    for (const auto &[status, code] : cases) {
        const std::string body = R"({"error": {"message": "The model `test-model` said no"}})";
        server.answer(statusAnswer(status, body));
        const EngineCall call = analyzeWith(settingsFor(server));
        ASSERT_TRUE(call.failure()) << status;
        EXPECT_EQ(call.code(), QString::fromLatin1(code)) << status;
        // Nothing of what the endpoint wrote, nor the key.
        EXPECT_EQ(call.failure()->detail,
                  QStringLiteral("model endpoint answered %1 (%2 bytes)").arg(status).arg(body.size()));
        EXPECT_TRUE(call.failure()->message_zh && !call.failure()->message_zh->isEmpty()) << status;
    }
}

TEST(LlmEngineLimits, TheMessageIsInTheUploadsInterfaceLanguage)
{
    FakeModelServer server;
    server.answer(statusAnswer(401, "{}"));
    auto input = englishPost();
    const QString english = *analyzeWith(settingsFor(server), input).failure()->message_zh;
    input.uiLanguage = QStringLiteral("zh-Hans");
    const QString chinese = *analyzeWith(settingsFor(server), input).failure()->message_zh;
    EXPECT_TRUE(english.contains(QStringLiteral("API key")));
    EXPECT_TRUE(chinese.contains(QStringLiteral("密钥")));
}

TEST(LlmEngineLimits, AnEndlessStreamEndsAtTheSizeLimitInsteadOfFillingMemory)
{
    struct Case {
        std::string opener, unit;
        tavolen::service::llm::LlmLimits limits;
        const char *bound; // in the failure's detail
    };
    constexpr std::size_t lots = std::size_t(1) << 30;
    const std::vector<Case> cases{
        // Chunks that never say anything, text that never ends, a line that never breaks.
        {"", ": keep-alive\n\n", {256 * 1024, lots, lots}, "streamed more than 262144 bytes"},
        {contentEvent("{\"summary\": \""),
         contentEvent("na"),
         {lots, 16 * 1024, lots},
         "wrote more than 16384 bytes"},
        {"data: {", "xxxxxxxxxxxxxxxx", {lots, lots, 64 * 1024}, "a line longer than 65536 bytes"}};
    FakeModelServer server;
    for (const Case &c : cases) {
        const auto log = std::make_shared<EndlessLog>();
        server.answer(endless(c.opener, c.unit, log));
        auto settings = settingsFor(server);
        settings.limits = c.limits;
        const EngineCall call = analyzeWith(settings);
        ASSERT_EQ(call.code(), QStringLiteral("model_output_too_large")) << c.bound;
        EXPECT_TRUE(call.failure()->detail.contains(QString::fromLatin1(c.bound)))
            << call.failure()->detail.toStdString();
        EXPECT_LT(call.took, 5s) << c.bound;
        // What the kernel buffers on loopback comes on top of the limit; an
        // unbounded reader would take gigabytes in the call's ten seconds.
        ASSERT_TRUE(log->over.waitFor(6s));
        EXPECT_LT(log->sent.load(), std::size_t(64 * 1024 * 1024)) << c.bound;
    }
}

TEST(LlmEngineLimits, AnEndpointThatFallsSilentTimesOutAndCancellingEndsItsCallQuickly)
{
    FakeModelServer server;
    for (const auto &stall : {silence(server), stallAfter(server, contentEvent("{\"tone_label\": \"x\","))}) {
        server.answer(stall);
        auto settings = settingsFor(server);
        settings.timeouts = {2s, 300ms, 30s};
        const EngineCall silent = analyzeWith(settings);
        EXPECT_EQ(silent.code(), QStringLiteral("model_timeout")) << silent.failure()->detail.toStdString();
        EXPECT_GE(silent.took, 250ms);
        EXPECT_LT(silent.took, 2s);

        settings.timeouts = {5s, 30s, 60s};
        std::atomic<bool> cancelled{false};
        std::thread canceller([&] {
            std::this_thread::sleep_for(200ms);
            cancelled = true;
        });
        const EngineCall call = analyzeWith(settings, englishPost(), cancelled);
        canceller.join();
        EXPECT_EQ(call.code(), QStringLiteral("cancelled"));
        EXPECT_LT(call.took, 1500ms);
    }
}

TEST(LlmEngineLimits, ASlowButSteadyStreamStopsAtTheOverallDeadline)
{
    FakeModelServer server;
    server.answer(endless("", contentEvent(" "), std::make_shared<EndlessLog>(), 50ms));
    auto settings = settingsFor(server);
    settings.timeouts = {2s, 1s, 600ms};
    const EngineCall call = analyzeWith(settings);
    EXPECT_EQ(call.code(), QStringLiteral("model_timeout"));
    EXPECT_TRUE(call.failure()->detail.contains(QStringLiteral("in all")));
    EXPECT_LT(call.took, 1500ms);
}

TEST(LlmEngineLimits, NoServerIsAnUnreachableModel)
{
    QString closedUrl;
    {
        FakeModelServer gone;
        closedUrl = gone.baseUrl();
    }
    auto settings = settingsFor(FakeModelServer{});
    settings.base_url = closedUrl;
    const EngineCall call = analyzeWith(settings);
    EXPECT_EQ(call.code(), QStringLiteral("model_unreachable"));
    EXPECT_LT(call.took, 2s);
}

TEST(LlmEngineLimits, HttpsReadsFromATrustedEndpointOnlyAndNeverFromAPlainOne)
{
    FakeModelServer tls(FakeModelServer::Transport::Tls);
    tls.answer(modelWrites(modelReadingJson()));
    const auto settings = settingsFor(tls);
    ASSERT_TRUE(settings.base_url.startsWith(QStringLiteral("https://")));

    // The loopback certificate is not among the system's trusted ones.
    EngineCall call = analyzeWith(settings);
    EXPECT_EQ(call.code(), QStringLiteral("model_unreachable"));
    EXPECT_TRUE(call.failure() && call.failure()->detail.contains(QStringLiteral("TLS")));

    ::setenv("SSL_CERT_FILE", loopbackCertificateFile().c_str(), 1);
    call = analyzeWith(settings);
    ::unsetenv("SSL_CERT_FILE");
    ASSERT_TRUE(call.reading()) << call.failure()->detail.toStdString();
    EXPECT_EQ(call.events.size(), 4u);
    EXPECT_EQ(tls.requests().back().header("Authorization"), "Bearer sk-test-123");

    // https to a server that only speaks plain http.
    FakeModelServer plain;
    auto toPlain = settings;
    toPlain.base_url = plain.baseUrl().replace(QStringLiteral("http://"), QStringLiteral("https://"));
    call = analyzeWith(toPlain);
    EXPECT_EQ(call.code(), QStringLiteral("model_unreachable"));
    EXPECT_TRUE(call.failure()->detail.contains(QStringLiteral("TLS")))
        << call.failure()->detail.toStdString();
}

TEST(LlmEngineLimits, AWrongBaseUrlOrKeyIsAConfigurationFailureAndARedirectIsNotFollowed)
{
    FakeModelServer server;
    auto settings = settingsFor(server);
    settings.base_url = QStringLiteral("ftp://127.0.0.1/v1");
    EXPECT_EQ(analyzeWith(settings).code(), QStringLiteral("model_misconfigured"));
    settings = settingsFor(server);
    settings.api_key = QStringLiteral("sk-1\r\nX-Injected: yes");
    EXPECT_EQ(analyzeWith(settings).code(), QStringLiteral("model_misconfigured"));
    EXPECT_TRUE(server.requests().empty());

    server.answer([](const httplib::Request &, httplib::Response &response) {
        response.set_redirect("https://elsewhere.example/v1/chat/completions", 308);
    });
    const EngineCall call = analyzeWith(settingsFor(server));
    EXPECT_EQ(call.code(), QStringLiteral("model_misconfigured"));
    EXPECT_TRUE(call.failure()->detail.contains(QStringLiteral("https://elsewhere.example")));
    EXPECT_EQ(server.requests().size(), 1u);
}
