// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/AnalysisService.h"
#include "capture/ScreenCapture.h"
#include "support/EventLoopWatch.h"
#include "support/FlowFakes.h"
#include "support/ServiceTest.h"

using namespace tavolen;
using namespace tavolen::test;
using namespace std::chrono_literals;
using CV = panel::PanelState::ContentView;
using Ending = ScriptedResponse::Ending;

// The capture flow's fallback rules with the real calls: only the overlay,
// the capture and the panel are faked.

namespace {

const QByteArray kJpeg("\xFF\xD8 captured \xFF\xD9");

class CaptureFlowNetwork : public ServiceTest {
protected:
    api::NetworkAnalysisService analysis{network, settings.store};
};

TEST_F(CaptureFlowNetwork, StreamFirstThenThePlainCallOnceExceptAfterTheQuotaAnswer)
{
    // A stalled stream gives up within a second.
    api::NetworkAnalysisService quick{network, settings.store, {{800ms, 30s}, {800ms, 30s}}};
    const auto result = [] { return ScriptedResponse::body(200, envelopeJson()); };
    const QString quota = QStringLiteral("You've used today's free analyses.");
    const struct {
        const char *what;
        ScriptedResponse stream;
        std::optional<ScriptedResponse> plain;
        std::vector<CV> views;
        QString copiedOrError;
        bool zh = false;
    } rows[] = {
        {"streamed result",
         ScriptedResponse::stream({fieldLines("risk_level", "high"), fieldLines("summary", "first"),
                                   eventLines("result", envelopeJson())},
                                  30ms),
         std::nullopt,
         {CV::Loading, CV::Streaming, CV::Result},
         "Sure!"},
        {"stream fails with a status",
         ScriptedResponse::body(500, errorEnvelopeJson("busy", "stream message")),
         result(),
         {CV::Loading, CV::Result},
         "Sure!"},
        {"stream stalls after a partial",
         ScriptedResponse::stream({fieldLines("summary", "so far")}).endWith(Ending::Stall),
         result(),
         {CV::Loading, CV::Streaming, CV::Result},
         "Sure!"},
        {"quota answer of the stream is final",
         ScriptedResponse::body(429, errorEnvelopeJson("quota")),
         std::nullopt,
         {CV::Loading, CV::Error},
         quota},
        {"both fail: the plain call's message",
         ScriptedResponse::stream({eventLines("error", R"({"code":"x","message_zh":"stream"})")}),
         ScriptedResponse::body(503, errorEnvelopeJson("down", "服务维护中")),
         {CV::Loading, CV::Error},
         "服务维护中"},
        {"stream ends without result, then the plain call's quota answer",
         ScriptedResponse::stream({fieldLines("summary", "S")}),
         ScriptedResponse::body(429, {}),
         {CV::Loading, CV::Streaming, CV::Error},
         "今天的免费次数用完了，明天再试试。",
         true},
    };
    for (const auto &row : rows) {
        settings.setAppLang(row.zh ? "zh" : "en");
        server.script(kStream, row.stream);
        if (row.plain)
            server.script(kPlain, *row.plain);
        const qsizetype plainBefore = server.requests(kPlain).size();
        FlowRig rig(&quick);
        rig.capturer.answer = kJpeg;
        ASSERT_TRUE(rig.runCapture()) << row.what;
        EXPECT_EQ(rig.panel.views(), row.views) << row.what;
        EXPECT_EQ(server.requests(kPlain).size() - plainBefore, row.plain ? 1 : 0) << row.what;
        const bool result = row.views.back() == CV::Result;
        EXPECT_EQ(result ? rig.clipboard.texts.back() : rig.panel.lastError(), row.copiedOrError) << row.what;
        EXPECT_EQ(rig.clipboard.texts.size(), result ? 1u : 0u) << row.what;
    }

    for (const RecordedRequest &upload : server.requests(kStream) + server.requests(kPlain)) {
        EXPECT_EQ(upload.method, "POST");
        EXPECT_EQ(upload.jpeg(), kJpeg) << "both calls upload the captured JPEG";
    }
    EXPECT_EQ(server.requests(kPlain).back().header("Accept-Language"), "zh-Hans");

    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests("/v1/health").size() == std::ssize(rows); }))
        << "every run warms the service up";
    for (const RecordedRequest &warmUp : server.requests("/v1/health")) {
        EXPECT_EQ(warmUp.method, "GET");
        EXPECT_TRUE(warmUp.body.isEmpty());
        EXPECT_FALSE(warmUp.header("Authorization")) << "the health check carries no credentials";
        EXPECT_FALSE(warmUp.header("X-Device-Id"));
    }
}

TEST_F(CaptureFlowNetwork, WithTheLocalServiceStoppedThePanelSaysWhichAddressDidNotAnswerInTheUsersLanguage)
{
    const QString base = refusingBaseUrl();
    useService(base);
    const QString address = QUrl(base).authority();
    const struct {
        const char *lang;
        QString text;
    } rows[] = {
        {"en", "Nothing answered at " + address +
                   ": the local analysis service may not be running. Start it with tavolen-service, then try "
                   "again."},
        {"zh", address + " 没有响应：本机分析服务可能没有运行。请先启动 tavolen-service，再试一次。"},
    };
    for (const auto &row : rows) {
        settings.setAppLang(row.lang);
        FlowRig rig(&analysis);
        rig.capturer.answer = kJpeg;
        ASSERT_TRUE(rig.runCapture()) << row.lang;
        EXPECT_EQ(rig.panel.views().back(), CV::Error);
        EXPECT_EQ(rig.panel.lastError(), row.text) << row.lang;
        EXPECT_FALSE(rig.panel.lastError().contains("Connection refused")) << "no developer's words";
    }
}

TEST_F(CaptureFlowNetwork, TheGuiThreadKeepsRunningThroughACaptureAndAStream)
{
    // A slow grab of a large screen, then a burst of a thousand partials.
    FakeGrabber grabber;
    grabber.grabTime = 300ms;
    capture::ScreenCapture screenCapture(grabber);
    QByteArray burst;
    for (int i = 0; i < 1000; ++i)
        burst += fieldLines("summary", QByteArray::number(i));
    server.script(kStream, ScriptedResponse::stream({burst, eventLines("result", envelopeJson())}));

    FlowRig rig(&analysis, &screenCapture);
    EventLoopWatch loop;
    ASSERT_TRUE(rig.runCapture(QRectF(QPointF(0, 0), QGuiApplication::primaryScreen()->size())));
    EXPECT_LT(loop.longestStall(), 100ms);
    EXPECT_EQ(rig.panel.views().size(), 1002u) << "loading, every partial, the result";
    EXPECT_EQ(rig.panel.views().back(), CV::Result);
}

} // namespace
