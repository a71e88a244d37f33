#include "support/FlowFakes.h"
#include "support/ResultFixtures.h"
#include "support/ScopedSettings.h"

#include "api/Decoding.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;
using panel::PanelState;
using test::FlowRig;

namespace {

api::AnalysisResult sampleResult()
{
    return *api::decodeAnalysisResult(test::fullResultJson());
}

api::AnalyzeEnvelope envelopeWith(api::AnalysisResult result)
{
    api::AnalyzeEnvelope e;
    e.result = std::move(result);
    return e;
}

api::StreamPartial partial(std::optional<QString> summary, std::optional<QString> risk = std::nullopt)
{
    api::StreamPartial p;
    p.summary = std::move(summary);
    p.risk_level = std::move(risk);
    return p;
}

std::vector<PanelState::ContentView> views(const test::RecordingPanel &panel)
{
    std::vector<PanelState::ContentView> out;
    for (const auto &s : panel.shown)
        out.push_back(s.state.contentView());
    return out;
}

using CV = PanelState::ContentView;

class CaptureFlowTest : public ::testing::Test {
protected:
    test::ScopedSettings languages{{QStringLiteral("en-US")}};
    FlowRig rig;
};

} // namespace

TEST_F(CaptureFlowTest, StreamedResultIsShownCopiedAndSounded)
{
    rig.analysis.partials = {partial(std::nullopt, QStringLiteral("high")), partial(QStringLiteral("S1")),
                             partial(QStringLiteral("S2"), QStringLiteral("high"))};
    rig.analysis.streamAnswer = envelopeWith(sampleResult());
    ASSERT_TRUE(rig.runCapture(QRectF(10, 20, 300, 200)));

    // A partial without a summary leaves the loading state alone.
    EXPECT_EQ(views(rig.panel), (std::vector{CV::Loading, CV::Streaming, CV::Streaming, CV::Result}));
    EXPECT_EQ(*rig.panel.shown[2].state.partialValue()->summary, "S2");
    const QPointF screenOrigin = QGuiApplication::primaryScreen()->geometry().topLeft();
    for (const auto &shown : rig.panel.shown)
        EXPECT_EQ(shown.near, QRectF(10, 20, 300, 200).translated(screenOrigin));
    EXPECT_EQ(rig.pasteboard.texts, std::vector<QString>{QStringLiteral("Sure!")});
    EXPECT_EQ(rig.pasteboard.marker, QStringLiteral("org.nspasteboard.TransientType"));
    EXPECT_EQ(rig.sound.events.size(), 1u);
    EXPECT_EQ(rig.analysis.plainJpegs.size(), 0u);
    EXPECT_EQ(rig.analysis.streamJpegs, std::vector<QByteArray>{"jpeg-bytes"});
    EXPECT_EQ(rig.activeWindow.activated, std::vector<platform::ActiveWindow::Id>{42});
    EXPECT_FALSE(rig.flow.isRunning());
}

TEST_F(CaptureFlowTest, NewCaptureHidesThePreviousPanelAndWarmsUpBeforeSelecting)
{
    rig.flow.begin();
    EXPECT_EQ(rig.panel.hides, 1);
    EXPECT_EQ(rig.analysis.warmUps, 1);
    EXPECT_TRUE(rig.selector.selecting());
    rig.selector.complete(std::nullopt);
    EXPECT_EQ(rig.panel.hides, 1) << "cancelling does not bring the old panel back";
}

TEST_F(CaptureFlowTest, WithoutScreenAccessShowsPermissionEveryTimeAndAsksAgain)
{
    rig.access.permitted = false;
    rig.flow.begin();
    rig.flow.begin();
    EXPECT_EQ(rig.access.requests, 2);
    EXPECT_EQ(views(rig.panel), (std::vector{CV::Permission, CV::Permission}));
    EXPECT_FALSE(rig.panel.shown[0].near);
    EXPECT_EQ(rig.selector.begins, 0);
    EXPECT_EQ(rig.analysis.warmUps, 0);
    EXPECT_FALSE(rig.flow.isRunning());
}

TEST_F(CaptureFlowTest, PressesWhileARunIsInProgressChangeNothing)
{
    rig.flow.begin();
    rig.flow.begin(); // while selecting
    rig.flow.demo();
    EXPECT_EQ(rig.selector.begins, 1);
    EXPECT_EQ(rig.panel.hides, 1);

    rig.capturer.gate.closed = true;
    rig.selector.complete(capture::Selection{QRectF(0, 0, 50, 50), QGuiApplication::primaryScreen()});
    QTest::qWait(150); // past the settle delay, now capturing
    ASSERT_EQ(rig.capturer.rects.size(), 1u);
    rig.flow.begin();
    EXPECT_EQ(rig.selector.begins, 1);

    rig.analysis.gate.closed = true;
    rig.capturer.gate.open();
    QTest::qWait(20); // now analysing
    ASSERT_EQ(rig.analysis.streamJpegs.size(), 1u);
    const auto shownBefore = rig.panel.shown.size();
    rig.flow.begin();
    rig.flow.demo();
    EXPECT_EQ(rig.selector.begins, 1);
    EXPECT_EQ(rig.panel.shown.size(), shownBefore);
    EXPECT_EQ(rig.panel.hides, 1);

    rig.analysis.gate.open();
    ASSERT_TRUE(rig.waitForFinish());
    rig.flow.begin();
    EXPECT_EQ(rig.selector.begins, 2) << "a finished run accepts the next press";
}

TEST_F(CaptureFlowTest, CancelledSelectionRestoresFocusAndShowsNoPanel)
{
    QSignalSpy finished(&rig.flow, &capture::CaptureFlow::runFinished);
    rig.flow.begin();
    rig.selector.complete(std::nullopt);
    EXPECT_FALSE(rig.flow.isRunning());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(rig.panel.shown.empty());
    EXPECT_EQ(rig.activeWindow.activated, std::vector<platform::ActiveWindow::Id>{42});
    EXPECT_TRUE(rig.capturer.rects.empty());
}

TEST_F(CaptureFlowTest, CaptureFailureEndsAsErrorBesideTheSelection)
{
    rig.capturer.answer = capture::CaptureFailure(capture::CaptureError::displayNotFound);
    ASSERT_TRUE(rig.runCapture());
    ASSERT_EQ(views(rig.panel), std::vector{CV::Error});
    EXPECT_EQ(*rig.panel.shown[0].state.errorMessage(), QStringLiteral("Capture failed — try again"));
    EXPECT_TRUE(rig.panel.shown[0].near);
    EXPECT_EQ(rig.activeWindow.activated.size(), 1u);
    EXPECT_TRUE(rig.analysis.streamJpegs.empty());

    rig.capturer.answer = capture::CaptureFailure(PlatformError{QStringLiteral("X server went away")});
    rig.panel.shown.clear();
    ASSERT_TRUE(rig.runCapture());
    EXPECT_EQ(*rig.panel.shown.back().state.errorMessage(), QStringLiteral("X server went away"));
}

TEST_F(CaptureFlowTest, QuotaAnswerFromTheStreamSkipsThePlainCall)
{
    rig.analysis.streamAnswer = api::AnalysisError(api::APIClientError::quotaExceeded());
    rig.analysis.plainAnswer = envelopeWith(sampleResult());
    ASSERT_TRUE(rig.runCapture());
    EXPECT_TRUE(rig.analysis.plainJpegs.empty());
    ASSERT_EQ(views(rig.panel), (std::vector{CV::Loading, CV::Error}));
    EXPECT_EQ(*rig.panel.shown[1].state.errorMessage(), QStringLiteral("You've used today's free analyses."));
}

TEST_F(CaptureFlowTest, OtherStreamFailuresFallBackToThePlainCallOnce)
{
    for (const api::AnalysisError &streamError :
         {api::AnalysisError(api::APIClientError::http(503)),
          api::AnalysisError(api::APIClientError::decode()),
          api::AnalysisError(PlatformError{QStringLiteral("Connection refused")})}) {
        FlowRig r;
        r.analysis.partials = {partial(QStringLiteral("early"))};
        r.analysis.streamAnswer = streamError;
        r.analysis.plainAnswer = envelopeWith(sampleResult());
        ASSERT_TRUE(r.runCapture());
        EXPECT_EQ(r.analysis.plainJpegs, std::vector<QByteArray>{"jpeg-bytes"});
        EXPECT_EQ(views(r.panel), (std::vector{CV::Loading, CV::Streaming, CV::Result}))
            << "the streamed reading stays until the fallback replaces it";
        EXPECT_EQ(r.pasteboard.texts.size(), 1u);
    }
}

TEST_F(CaptureFlowTest, WhenBothCallsFailThePlainCallsErrorIsShown)
{
    rig.analysis.streamAnswer =
        api::AnalysisError(api::APIClientError::http(500, QStringLiteral("stream broke")));
    rig.analysis.plainAnswer = api::AnalysisError(api::APIClientError::http(502, QStringLiteral("服务繁忙")));
    ASSERT_TRUE(rig.runCapture());
    EXPECT_EQ(*rig.panel.shown.back().state.errorMessage(), QString::fromUtf8("服务繁忙"));
    EXPECT_TRUE(rig.pasteboard.texts.empty());
    EXPECT_FALSE(rig.flow.isRunning());
}

TEST_F(CaptureFlowTest, FallbackReadsTheInterfaceLanguageAgain)
{
    rig.analysis.streamAnswer = api::AnalysisError(api::APIClientError::decode());
    rig.analysis.plainAnswer = api::AnalysisError(api::APIClientError::decode());
    languages.store.setValue(QStringLiteral("app_lang"), QStringLiteral("zh"));
    ASSERT_TRUE(rig.runCapture());
    EXPECT_EQ(rig.analysis.plainLangs, std::vector<QString>{QStringLiteral("zh-Hans")});
    EXPECT_EQ(*rig.panel.shown.back().state.errorMessage(), QStringLiteral("返回格式异常"));
}

TEST_F(CaptureFlowTest, OnlyARespondableResultWithANonEmptyReplyIsCopied)
{
    struct Case {
        std::optional<bool> respondable;
        std::optional<QString> bestReply;
        bool autoCopy;
        bool copied;
    };
    const Case cases[] = {
        {std::nullopt, QStringLiteral("Hi"), false, true},
        {true, QStringLiteral("Hi"), false, true},
        {false, QStringLiteral("Hi"), true, false},
        {true, QString(), true, false},
        {true, std::nullopt, true, false},
    };
    for (const Case &c : cases) {
        FlowRig r;
        api::AnalysisResult result = sampleResult();
        result.respondable = c.respondable;
        result.best_reply = c.bestReply;
        result.auto_copy = c.autoCopy;
        r.analysis.streamAnswer = envelopeWith(result);
        ASSERT_TRUE(r.runCapture());
        EXPECT_EQ(r.pasteboard.texts.size(), c.copied ? 1u : 0u);
        EXPECT_EQ(r.sound.events.size(), c.copied ? 1u : 0u);
        EXPECT_EQ(r.panel.shown.back().state.contentView(), CV::Result) << "shown either way";
    }
}

TEST_F(CaptureFlowTest, SnapSoundSettingSilencesOnlyWhenFalse)
{
    for (const auto &[stored, plays] :
         std::vector<std::pair<std::optional<QVariant>, bool>>{{std::nullopt, true},
                                                               {QVariant(QStringLiteral("false")), false},
                                                               {QVariant(false), false},
                                                               {QVariant(QStringLiteral("true")), true}}) {
        FlowRig r;
        if (stored)
            r.settings.setValue(QStringLiteral("snap_sound"), *stored);
        r.analysis.streamAnswer = envelopeWith(sampleResult());
        ASSERT_TRUE(r.runCapture());
        EXPECT_EQ(r.sound.events.size(), plays ? 1u : 0u);
        EXPECT_EQ(r.pasteboard.texts.size(), 1u) << "the copy does not depend on the sound";
    }
}

TEST_F(CaptureFlowTest, DemoRunHasNoOverlayNoNearRectAndNoActivation)
{
    rig.analysis.streamAnswer = envelopeWith(sampleResult());
    ASSERT_TRUE(rig.runDemo());
    EXPECT_EQ(rig.selector.begins, 0);
    EXPECT_TRUE(rig.capturer.rects.empty());
    EXPECT_EQ(rig.analysis.warmUps, 1);
    EXPECT_EQ(rig.analysis.streamJpegs, std::vector<QByteArray>{"demo-jpeg"});
    EXPECT_EQ(views(rig.panel), (std::vector{CV::Loading, CV::Result}));
    for (const auto &shown : rig.panel.shown)
        EXPECT_FALSE(shown.near);
    EXPECT_TRUE(rig.activeWindow.activated.empty());
    EXPECT_EQ(rig.pasteboard.texts.size(), 1u);
}

TEST_F(CaptureFlowTest, DemoFailureShowsErrorAndMissingSampleShowsNothing)
{
    rig.analysis.streamAnswer = api::AnalysisError(api::APIClientError::quotaExceeded());
    ASSERT_TRUE(rig.runDemo());
    EXPECT_EQ(views(rig.panel), (std::vector{CV::Loading, CV::Error}));
    EXPECT_FALSE(rig.panel.shown.back().near);

    FlowRig r;
    r.demo.sample.reset();
    ASSERT_TRUE(r.runDemo());
    EXPECT_TRUE(r.panel.shown.empty());
    EXPECT_FALSE(r.flow.isRunning());
}

TEST_F(CaptureFlowTest, SelectionArrivingAfterTheFlowIsGoneDoesNothing)
{
    // An overlay that keeps the completion, so it can fire after the flow died.
    struct KeepingSelector final : capture::Selector {
        capture::SelectionCompletion pending;
        void begin(capture::SelectionCompletion c) override { pending = std::move(c); }
    } selector;
    auto flow = std::make_unique<capture::CaptureFlow>(
        capture::CaptureFlow::Services{selector, rig.capturer, rig.analysis, rig.panel, nullptr, rig.access,
                                       rig.activeWindow, rig.pasteboard, rig.sound, rig.settings});
    flow->begin();
    ASSERT_TRUE(selector.pending);
    flow.reset();
    selector.pending(capture::Selection{QRectF(0, 0, 10, 10), QGuiApplication::primaryScreen()});
    QTest::qWait(150);
    EXPECT_TRUE(rig.capturer.rects.empty());
    EXPECT_TRUE(rig.activeWindow.activated.empty());
}
