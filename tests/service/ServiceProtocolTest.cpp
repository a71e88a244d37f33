// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RunningService.h"

#include "protocol/Decoding.h"
#include "service/OfflineEngine.h"
#include "support/ServiceTest.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

using namespace tavolen;
using namespace tavolen::test;
using namespace std::chrono_literals;

namespace {

const QString kScam =
    QStringLiteral("URGENT: you have won a $500 gift card!\nClick here to claim your prize: "
                   "http://win.example.xyz\nAct now, the offer expires today.");
const QString kHarmless = QStringLiteral("Coffee on Friday? The new place by the station.");

// The app's real calls against the real service, in process.
class ServiceProtocol : public ::testing::Test, public AppCalls {
protected:
    ServiceProtocol() { extractor.result = service::ExtractedText{kScam, QStringLiteral("en")}; }

    void start(service::ServiceConfig config = {}, service::Engine *withEngine = nullptr)
    {
        running.reset();
        running = std::make_unique<RunningService>(config, withEngine ? *withEngine : offline, extractor);
        ASSERT_TRUE(running->bindError.isEmpty()) << running->bindError.toStdString();
        useService(*running);
    }

    FakeExtractor extractor;
    service::OfflineEngine offline;
    std::unique_ptr<RunningService> running;
};

TEST_F(ServiceProtocol, TheStreamGivesTheEarlyFieldsOneByOneThenTheSameReadingAsThePlainCall)
{
    start();
    const api::AnalysisOutcome streamed = stream();
    ASSERT_TRUE(streamed.ok()) << caseText(streamed);
    const protocol::AnalysisResult &r = streamed.value().result;
    EXPECT_EQ(r.risk_level, "high");
    EXPECT_EQ(streamed.value().model, "offline");
    EXPECT_EQ(streamed.value().path, "stream");
    EXPECT_EQ(streamed.value().request_id.size(), 36) << "the app's X-Request-Id comes back";
    ASSERT_EQ(partials.size(), 5);
    EXPECT_EQ(partials[0].tone_label, r.tone_label);
    EXPECT_FALSE(partials[0].summary);
    EXPECT_EQ(partials[1].summary, r.summary);
    EXPECT_EQ(partials[3].risk_level, std::optional<QString>(QStringLiteral("high")));
    EXPECT_EQ(partials.back(), (protocol::StreamPartial{r.tone_label, r.summary, r.hidden_meaning,
                                                        r.risk_level, r.risk_reason}));
    EXPECT_TRUE(r.hidden_meaning) << "a known lure says what it is after";

    const api::AnalysisOutcome whole = plain();
    ASSERT_TRUE(whole.ok()) << caseText(whole);
    EXPECT_EQ(whole.value().path, "plain");
    EXPECT_EQ(whole.value().result, r);
    EXPECT_EQ(extractor.calls, 2);
}

TEST_F(ServiceProtocol, TheUploadsInterfaceLanguageChoosesTheLanguageOfTheReadingsOwnWords)
{
    start();
    const api::AnalysisOutcome zh = plain(kJpeg, QStringLiteral("zh-Hans"));
    ASSERT_TRUE(zh.ok()) << caseText(zh);
    EXPECT_EQ(zh.value().result.tone_label, std::optional<QString>(QStringLiteral("施压")));
    EXPECT_TRUE(zh.value().result.recommended_action.contains(QStringLiteral("不要回复")));
    EXPECT_TRUE(
        zh.value().result.summary.startsWith(QStringLiteral("URGENT: you have won a $500 gift card! Click")))
        << "the summary quotes the text as written";
}

TEST_F(ServiceProtocol, TheOfflineSummaryLeavesOnceTheFirstLinesAreRead)
{
    extractor.firstLines = service::ExtractedText{QStringLiteral("Jane @jane\nOpening words of the post."),
                                                  QStringLiteral("en")};
    start();
    const api::AnalysisOutcome outcome = stream();
    ASSERT_TRUE(outcome.ok()) << caseText(outcome);
    ASSERT_EQ(partials.size(), 6);
    EXPECT_EQ(partials[0],
              (protocol::StreamPartial{std::nullopt, QStringLiteral("Opening words of the post."),
                                       std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(partials.back().summary, outcome.value().result.summary)
        << "the whole text's summary replaces it";

    ScriptedEngine model([](auto &, auto &, auto &) -> service::EngineOutcome { return sampleResult(); });
    start({}, &model);
    ASSERT_TRUE(stream().ok());
    EXPECT_TRUE(partials.isEmpty()) << "another engine writes its own summary";
}

TEST_F(ServiceProtocol, FieldsLeaveAsTheEngineProducesThemNotWithTheResult)
{
    std::atomic<bool> seen{false};
    ScriptedEngine engine([&](auto &, auto &onField, auto &) -> service::EngineOutcome {
        onField({QStringLiteral("summary"), QStringLiteral("early")});
        onField({QStringLiteral("best_reply"), QStringLiteral("not an early field")});
        // The reading is finished only once the app has shown the field.
        for (int i = 0; i < 500 && !seen; ++i)
            std::this_thread::sleep_for(10ms);
        return sampleResult();
    });
    // A harmless text: the engine's own reading is not held to a risk floor.
    extractor.result = service::ExtractedText{kHarmless, QStringLiteral("en")};
    start({}, &engine);
    partials.clear();
    const api::AnalysisOutcome outcome = runToEnd(
        api::analyzeStream(context(), kJpeg, QStringLiteral("en"), [&](const protocol::StreamPartial &p) {
            partials.append(p);
            seen = true;
        }));
    ASSERT_TRUE(outcome.ok()) << caseText(outcome);
    EXPECT_TRUE(seen);
    EXPECT_EQ(partials, (QList{protocol::StreamPartial{std::nullopt, QStringLiteral("early"), std::nullopt,
                                                       std::nullopt, std::nullopt}}));
    EXPECT_EQ(outcome.value().result, sampleResult());
    EXPECT_LT(outcome.value().latency_ms, 4000) << "the engine did not wait out its five seconds";
}

TEST_F(ServiceProtocol, RefusalsReachTheAppAsItsOwnErrors)
{
    service::ServiceConfig otherToken;
    otherToken.token = QStringLiteral("tavolen_0000");
    start(otherToken);
    EXPECT_EQ(caseText(plain()), "http 401 This analysis service does not accept this app's key.");
    EXPECT_EQ(caseText(stream()), "http 401") << "a stream's status alone decides";

    service::ServiceConfig small;
    small.maxUploadBytes = 64 * 1024;
    start(small);
    const QByteArray big = kJpeg + QByteArray(100 * 1024, 'j');
    EXPECT_EQ(caseText(plain(big, QStringLiteral("zh-Hans"))), "http 413 截图太大了，请框选小一点的区域。");
    EXPECT_EQ(caseText(stream(big)), "http 413");
    EXPECT_EQ(caseText(plain(QByteArray(20 * 64 * 1024, 'x'))).substr(0, 8), "http 413")
        << "far beyond the limit: refused before it is read";
    EXPECT_TRUE(plain(kJpeg).ok()) << "the next upload is served";

    start();
    EXPECT_EQ(caseText(plain("GIF89a not a jpeg")), "http 415 Only JPEG screenshots can be analysed.");
    extractor.result.reset();
    EXPECT_EQ(caseText(plain()).substr(0, 8), "http 422");
    EXPECT_EQ(caseText(stream()), "http 503 The screenshot could not be decoded, or is too large a picture.")
        << "the picture is read inside the stream";
}

TEST_F(ServiceProtocol, TheDailyAllowanceEndsInTheAppsQuotaErrorAndOnlyReadingsCount)
{
    service::ServiceConfig config;
    config.dailyAllowance = 2;
    start(config);
    extractor.result.reset();
    EXPECT_EQ(caseText(plain()).substr(0, 8), "http 422") << "a refused picture costs nothing";
    extractor.result = service::ExtractedText{kScam, QStringLiteral("en")};
    EXPECT_TRUE(stream().ok());
    EXPECT_TRUE(plain().ok());
    EXPECT_EQ(caseText(plain()), "quota");
    EXPECT_EQ(caseText(stream()), "quota");
    EXPECT_TRUE(partials.isEmpty());

    settings.store.setValue(QStringLiteral("device_id"), QStringLiteral("ANOTHER-DEVICE"));
    EXPECT_TRUE(plain().ok()) << "each device has an allowance of its own";
}

TEST_F(ServiceProtocol, AnEngineFailureIsAnErrorEventInTheStreamAndAnErrorEnvelopeOtherwise)
{
    ScriptedEngine engine([](auto &, auto &onField, auto &) -> service::EngineOutcome {
        onField({QStringLiteral("summary"), QStringLiteral("partial")});
        return service::EngineFailure{QStringLiteral("model_unreachable"), QStringLiteral("模型暂时不可用"),
                                      QStringLiteral("connection refused")};
    });
    start({}, &engine);
    EXPECT_EQ(caseText(stream()), "http 503 模型暂时不可用");
    EXPECT_EQ(partials.size(), 1);
    EXPECT_EQ(caseText(plain()), "http 502 模型暂时不可用");
    ASSERT_TRUE(QTest::qWaitFor([&] { return running->log().size() == 2; }, 2000));
    for (const QString &line : running->log())
        EXPECT_TRUE(line.contains(QStringLiteral("error=model_unreachable detail=\"connection refused\"")))
            << "the operator learns why: " << line.toStdString();

    ScriptedEngine broken([](auto &, auto &, auto &) -> service::EngineOutcome {
        protocol::AnalysisResult r = sampleResult();
        r.summary = QString(QChar(0xD800)); // a lone surrogate cannot travel as UTF-8
        return r;
    });
    start({}, &broken);
    EXPECT_EQ(caseText(plain()).substr(0, 8), "http 502") << "a reading the app cannot read back is not sent";
}

TEST_F(ServiceProtocol, AnAppThatHangsUpCancelsTheEngine)
{
    std::atomic<bool> cancelledSeen{false};
    ScriptedEngine engine([&](auto &, auto &onField, auto &cancelled) -> service::EngineOutcome {
        for (int i = 0; i < 500 && !cancelled; ++i) {
            onField({QStringLiteral("summary"), QString::number(i)});
            std::this_thread::sleep_for(10ms);
        }
        cancelledSeen = cancelled.load();
        return sampleResult();
    });
    start({}, &engine);
    // A client that leaves 300 ms in, once the answer has begun.
    EXPECT_EQ(rawExchange(running->port(), jpegUpload("/v1/analyze-screenshot-stream"), 300).status, 200);
    EXPECT_TRUE(QTest::qWaitFor([&] { return cancelledSeen.load(); }, 3000));
    running.reset(); // before the engine: its reading may still be ending
}

TEST_F(ServiceProtocol, AModelThinkingInSilenceKeepsTheStreamOpenAndStillNoticesAnAppThatLeft)
{
    std::atomic<bool> hungUp{false};
    std::atomic<bool> cancelledSeen{false};
    ScriptedEngine engine([&](auto &, auto &, auto &cancelled) -> service::EngineOutcome {
        // Longer than the app waits for a byte, without a field.
        for (int i = 0; i < (hungUp ? 300 : 150) && !cancelled; ++i)
            std::this_thread::sleep_for(10ms);
        cancelledSeen = cancelled.load();
        return sampleResult();
    });
    extractor.result = service::ExtractedText{kHarmless, QStringLiteral("en")};
    service::ServiceConfig config;
    config.streamHeartbeat = 200ms;
    start(config, &engine);
    timeouts.stream = {600ms, 30s};
    const api::AnalysisOutcome outcome = stream();
    ASSERT_TRUE(outcome.ok()) << caseText(outcome);
    EXPECT_EQ(outcome.value().result, sampleResult());

    hungUp = true;
    rawExchange(running->port(), jpegUpload("/v1/analyze-screenshot-stream"), 300);
    EXPECT_TRUE(QTest::qWaitFor([&] { return cancelledSeen.load(); }, 2500))
        << "while nothing else was written";
    running.reset(); // before the engine: its reading may still be ending
}

TEST_F(ServiceProtocol, ASecondServiceCannotTakeThePortOfARunningOne)
{
    start();
    service::ServiceConfig same;
    same.port = running->port();
    service::EngineSlot engines(borrowed(offline));
    service::HttpService second({same, engines, extractor, running->allowance, {}});
    EXPECT_FALSE(second.bind().isEmpty());
    EXPECT_TRUE(plain().ok());
}

TEST_F(ServiceProtocol, EachRequestIsOneLogLineWithoutTheTextOrTheReading)
{
    start();
    ASSERT_TRUE(plain().ok());
    ASSERT_TRUE(stream().ok());
    // A line is written once its answer has gone out, which may be after the app has it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return running->log().size() >= 2; }, 5000));
    const QStringList log = running->log();
    ASSERT_EQ(log.size(), 2) << log.join('\n').toStdString();
    EXPECT_TRUE(log[0].contains(QStringLiteral(" POST /v1/analyze-screenshot 200 ")));
    EXPECT_TRUE(log[0].contains(QStringLiteral("engine=offline")));
    EXPECT_TRUE(log[1].contains(QStringLiteral(" POST /v1/analyze-screenshot-stream 200 ")));
    for (const QString &line : log) {
        EXPECT_FALSE(line.contains(QStringLiteral("gift card"), Qt::CaseInsensitive)) << line.toStdString();
        EXPECT_FALSE(line.contains(QStringLiteral("scam"), Qt::CaseInsensitive)) << line.toStdString();
    }
}

} // namespace
