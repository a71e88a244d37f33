#include "api/AnalysisService.h"
#include "support/FlowFakes.h"
#include "support/ServiceAnswers.h"
#include "support/ServiceTest.h"

#include <QGuiApplication>

using namespace tavolen;
using namespace tavolen::test;
using namespace std::chrono_literals;
using CV = panel::PanelState::ContentView;
using Ending = ScriptedResponse::Ending;

namespace {

const QByteArray kJpeg("\xFF\xD8 captured \xFF\xD9");
const QByteArray kStream = "/v1/analyze-screenshot-stream";
const QByteArray kPlain = "/v1/analyze-screenshot";

QByteArray field(const QByteArray &name, const QByteArray &value)
{
    return eventLines("field", fieldJson(name, '"' + value + '"'));
}

// The capture flow with only the overlay, the capture and the panel faked:
// the analysis goes over HTTP to the scripted service.
class CaptureFlowNetwork : public ServiceTest {
protected:
    CaptureFlowNetwork()
    {
        capturer.answer = kJpeg;
        api::timeouts().stream = 800ms;
        api::timeouts().plain = 800ms;
    }

    bool capture()
    {
        flow.begin();
        if (!selector.selecting())
            return false;
        selector.complete(capture::Selection{QRectF(10, 20, 300, 200), QGuiApplication::primaryScreen()});
        if (!flow.isRunning())
            return true;
        return server.waitUntil([this] { return !flow.isRunning(); }, 10s);
    }

    std::vector<CV> views() const
    {
        std::vector<CV> out;
        for (const auto &s : panel.shown)
            out.push_back(s.state.contentView());
        return out;
    }
    QString errorShown() const
    {
        const QString *message = panel.shown.empty() ? nullptr : panel.shown.back().state.errorMessage();
        return message ? *message : QStringLiteral("(no error)");
    }
    QByteArray uploadedImage(const QByteArray &path, int index = 0) const
    {
        const auto requests = server.requests(path);
        if (index >= requests.size())
            return {};
        const auto parts = requests[index].parts();
        return parts && parts->size() == 2 ? parts->at(1).body : QByteArray();
    }

    FakeSelector selector;
    FakeCapturer capturer;
    api::NetworkAnalysisService analysis;
    RecordingPanel panel;
    FakeScreenAccess access;
    FakeActiveWindow activeWindow;
    FakePasteboard pasteboard;
    FakeSound sound;
    capture::CaptureFlow flow{{selector, capturer, analysis, panel, nullptr, access, activeWindow, pasteboard,
                               sound, settings.store}};
};

TEST_F(CaptureFlowNetwork, StreamedReadingIsShownAndNoPlainCallIsMade)
{
    server.script(kStream, ScriptedResponse::stream({field("risk_level", "high"), field("summary", "first"),
                                                     eventLines("result", envelopeJson())},
                                                    30ms));
    ASSERT_TRUE(capture());
    EXPECT_EQ(views(), (std::vector{CV::Loading, CV::Streaming, CV::Result}));
    EXPECT_EQ(pasteboard.texts, std::vector<QString>{QStringLiteral("B")});
    EXPECT_EQ(uploadedImage(kStream), kJpeg);
    EXPECT_TRUE(server.requests(kPlain).isEmpty());
    ASSERT_TRUE(server.waitUntil([this] { return server.requests("/v1/health").size() == 1; }))
        << "the run warms the service up";
    const auto warmUp = server.requests("/v1/health").front();
    EXPECT_EQ(warmUp.method, "GET");
    EXPECT_TRUE(warmUp.body.isEmpty());
    EXPECT_FALSE(warmUp.header("Authorization")) << "the health check carries no credentials";
    EXPECT_FALSE(warmUp.header("X-Device-Id"));
}

TEST_F(CaptureFlowNetwork, FailedStreamFallsBackToOnePlainCallWithTheSameJpeg)
{
    server.script(kStream, ScriptedResponse::body(500, errorEnvelopeJson("busy", "stream message")));
    server.script(kPlain, ScriptedResponse::body(200, envelopeJson()));
    ASSERT_TRUE(capture());
    EXPECT_EQ(views(), (std::vector{CV::Loading, CV::Result}));
    EXPECT_EQ(server.requests(kPlain).size(), 1);
    EXPECT_EQ(uploadedImage(kPlain), kJpeg);
}

TEST_F(CaptureFlowNetwork, StallAfterPartialsTimesOutThenThePlainAnswerIsShown)
{
    server.script(kStream, ScriptedResponse::stream({field("summary", "so far")}).endWith(Ending::Stall));
    server.script(kPlain, ScriptedResponse::body(200, envelopeJson()));
    ASSERT_TRUE(capture());
    EXPECT_EQ(views(), (std::vector{CV::Loading, CV::Streaming, CV::Result}));
    EXPECT_EQ(server.requests(kPlain).size(), 1);
    EXPECT_EQ(pasteboard.texts.size(), 1u);
}

TEST_F(CaptureFlowNetwork, QuotaAnswerOfTheStreamIsFinal)
{
    server.script(kStream, ScriptedResponse::body(429, errorEnvelopeJson("quota")));
    ASSERT_TRUE(capture());
    EXPECT_EQ(views(), (std::vector{CV::Loading, CV::Error}));
    EXPECT_EQ(errorShown(), QStringLiteral("You've used today's free analyses."));
    EXPECT_TRUE(server.requests(kPlain).isEmpty());
    EXPECT_TRUE(pasteboard.texts.empty());
}

TEST_F(CaptureFlowNetwork, WhenBothCallsFailThePlainCallsFailureIsShown)
{
    server.script(kStream,
                  ScriptedResponse::stream({eventLines("error", R"({"code":"x","message_zh":"stream"})")}));
    server.script(kPlain, ScriptedResponse::body(503, errorEnvelopeJson("down", "服务维护中")));
    ASSERT_TRUE(capture());
    EXPECT_EQ(views(), (std::vector{CV::Loading, CV::Error}));
    EXPECT_EQ(errorShown(), QStringLiteral("服务维护中"));

    // The plain call's own quota answer after a failed stream is shown too.
    panel.shown.clear();
    server.script(kStream, ScriptedResponse::stream({field("summary", "S")}));
    server.script(kPlain, ScriptedResponse::body(429, {}));
    settings.store.setValue(QStringLiteral("app_lang"), QStringLiteral("zh"));
    ASSERT_TRUE(capture());
    EXPECT_EQ(views(), (std::vector{CV::Loading, CV::Streaming, CV::Error}));
    EXPECT_EQ(errorShown(), QStringLiteral("今天的免费次数用完了，明天再试试。"));
    EXPECT_EQ(server.requests(kPlain).size(), 2);
}

} // namespace
