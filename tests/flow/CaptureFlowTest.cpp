// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/FlowFakes.h"
#include "support/ScopedSettings.h"
#include "support/ServiceAnswers.h"

#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;
using test::FlowRig;
using test::partial;
using test::sampleResult;
using CV = panel::PanelState::ContentView;

// The capture run through fakes of everything it calls. How the two analysis
// calls' failures combine is shown over real HTTP in CaptureFlowNetworkTest.

namespace {

class CaptureFlowTest : public ::testing::Test {
protected:
    test::ScopedSettings languages{{QStringLiteral("en-US")}};
    FlowRig rig;
};

} // namespace

TEST_F(CaptureFlowTest, StreamedResultIsShownBesideTheSelectionCopiedAndSounded)
{
    rig.analysis.partials = {partial(std::nullopt, std::nullopt, u"high"_qs), partial(u"S1"_qs),
                             partial(u"S2"_qs, std::nullopt, u"high"_qs)};
    rig.analysis.streamAnswer = test::envelopeWith(sampleResult());
    rig.flow.begin();
    EXPECT_EQ(rig.panel.hides, 1) << "a new capture hides the previous panel";
    EXPECT_EQ(rig.analysis.warmUps, 1) << "and warms the service up before the selection";
    rig.selector.complete(capture::Selection{QRectF(10, 20, 300, 200), QGuiApplication::primaryScreen()});
    ASSERT_TRUE(rig.waitForFinish());

    EXPECT_EQ(rig.panel.views(), (std::vector{CV::Loading, CV::Streaming, CV::Streaming, CV::Result}))
        << "a partial without a summary leaves the loading state alone";
    EXPECT_EQ(*rig.panel.shown[2].state.partialValue()->summary, "S2");
    const QPointF screenOrigin = QGuiApplication::primaryScreen()->geometry().topLeft();
    for (const auto &shown : rig.panel.shown)
        EXPECT_EQ(shown.near, QRectF(10, 20, 300, 200).translated(screenOrigin));
    EXPECT_EQ(rig.clipboard.texts, std::vector<QString>{QStringLiteral("Sure!")});
    EXPECT_EQ(rig.sound.events.size(), 1u);
    EXPECT_EQ(rig.analysis.streamJpegs, std::vector<QByteArray>{"jpeg-bytes"});
    EXPECT_TRUE(rig.analysis.plainJpegs.empty());
    EXPECT_EQ(rig.activeWindow.activated, std::vector<platform::ActiveWindow::Id>{42});
    EXPECT_EQ(rig.panel.hides, 1);
}

TEST_F(CaptureFlowTest, WithoutScreenAccessShowsPermissionEveryTimeAndAsksAgain)
{
    rig.access.permitted = false;
    rig.flow.begin();
    rig.flow.begin();
    EXPECT_EQ(rig.access.requests, 2);
    EXPECT_EQ(rig.panel.views(), (std::vector{CV::Permission, CV::Permission}));
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
    QSignalSpy finished(&rig.flow, &flow::CaptureFlow::runFinished);
    rig.flow.begin();
    rig.selector.complete(std::nullopt);
    EXPECT_FALSE(rig.flow.isRunning());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(rig.panel.shown.empty());
    EXPECT_EQ(rig.panel.hides, 1) << "cancelling does not bring the old panel back";
    EXPECT_EQ(rig.activeWindow.activated, std::vector<platform::ActiveWindow::Id>{42});
    EXPECT_TRUE(rig.capturer.rects.empty());
}

TEST_F(CaptureFlowTest, ASelectionEndedByARefusedScreenshotShowsPermissionAtOnce)
{
    rig.flow.begin();
    // The desktop asked the user, who said no: the selection ends unmade.
    rig.access.permitted = false;
    rig.selector.complete(std::nullopt);
    EXPECT_FALSE(rig.flow.isRunning());
    EXPECT_EQ(rig.panel.views(), std::vector{CV::Permission});
    EXPECT_TRUE(rig.capturer.rects.empty());
}

TEST_F(CaptureFlowTest, CaptureFailureEndsAsItsErrorBesideTheSelection)
{
    const std::pair<capture::CaptureFailure, QString> cases[] = {
        {capture::CaptureError::displayNotFound, "Capture failed — try again"},
        {PlatformError{"X server went away"}, "X server went away"},
        {platform::PaletteDisplay{8}, "This screen's colours (8-bit, from a palette) cannot be captured"},
    };
    for (const auto &[failure, text] : cases) {
        FlowRig r;
        r.capturer.answer = failure;
        ASSERT_TRUE(r.runCapture());
        ASSERT_EQ(r.panel.views(), std::vector{CV::Error});
        EXPECT_EQ(r.panel.lastError(), text);
        EXPECT_TRUE(r.panel.shown[0].near);
        EXPECT_EQ(r.activeWindow.activated.size(), 1u);
        EXPECT_TRUE(r.analysis.streamJpegs.empty());
    }
}

TEST_F(CaptureFlowTest, OnlyARespondableResultWithANonEmptyReplyIsCopiedAndSnapSoundCanSilenceIt)
{
    const QString hi = QStringLiteral("Hi");
    const struct {
        std::optional<bool> respondable;
        std::optional<QString> bestReply;
        bool autoCopy;
        std::optional<QVariant> snapSound;
        bool copied, sounded;
    } cases[] = {
        {std::nullopt, hi, false, std::nullopt, true, true},
        {true, hi, false, std::nullopt, true, true},
        {false, hi, true, std::nullopt, false, false},
        {true, QString(), true, std::nullopt, false, false},
        {true, std::nullopt, true, std::nullopt, false, false},
        {true, hi, true, QVariant(QStringLiteral("false")), true, false},
        {true, hi, true, QVariant(false), true, false},
        {true, hi, true, QVariant(QStringLiteral("true")), true, true},
    };
    for (const auto &c : cases) {
        FlowRig r;
        if (c.snapSound)
            r.settings.setValue(QStringLiteral("snap_sound"), *c.snapSound);
        protocol::AnalysisResult result = sampleResult();
        result.respondable = c.respondable;
        result.best_reply = c.bestReply;
        result.auto_copy = c.autoCopy;
        r.analysis.streamAnswer = test::envelopeWith(result);
        ASSERT_TRUE(r.runCapture());
        const auto at = &c - cases;
        EXPECT_EQ(r.clipboard.texts, c.copied ? std::vector{hi} : std::vector<QString>{}) << "case " << at;
        EXPECT_EQ(r.sound.events.size(), c.sounded ? 1u : 0u) << "case " << at;
        EXPECT_EQ(r.panel.views().back(), CV::Result) << "shown either way";
    }
}

TEST_F(CaptureFlowTest, DemoRunHasNoOverlayNoNearRectAndNoActivation)
{
    rig.analysis.streamAnswer = test::envelopeWith(sampleResult());
    ASSERT_TRUE(rig.runDemo());
    EXPECT_EQ(rig.selector.begins, 0);
    EXPECT_TRUE(rig.capturer.rects.empty());
    EXPECT_EQ(rig.analysis.warmUps, 1);
    EXPECT_EQ(rig.analysis.streamJpegs, std::vector<QByteArray>{"demo-jpeg"});
    EXPECT_EQ(rig.panel.views(), (std::vector{CV::Loading, CV::Result}));
    for (const auto &shown : rig.panel.shown)
        EXPECT_FALSE(shown.near);
    EXPECT_TRUE(rig.activeWindow.activated.empty());
    EXPECT_EQ(rig.clipboard.texts.size(), 1u);

    FlowRig failing;
    failing.analysis.streamAnswer = api::AnalysisError(api::APIClientError::quotaExceeded());
    ASSERT_TRUE(failing.runDemo());
    EXPECT_EQ(failing.panel.views(), (std::vector{CV::Loading, CV::Error}));
    EXPECT_FALSE(failing.panel.shown.back().near);

    FlowRig missing;
    missing.demo.sample.reset();
    ASSERT_TRUE(missing.runDemo());
    EXPECT_TRUE(missing.panel.shown.empty());
    EXPECT_FALSE(missing.flow.isRunning());
}

TEST_F(CaptureFlowTest, SelectionArrivingAfterTheFlowIsGoneDoesNothing)
{
    test::FakeSelector selector; // keeps the completion, which fires after the flow died
    auto flow = std::make_unique<flow::CaptureFlow>(rig.wiredTo(selector));
    flow->begin();
    ASSERT_TRUE(selector.selecting());
    flow.reset();
    selector.complete(capture::Selection{QRectF(0, 0, 10, 10), QGuiApplication::primaryScreen()});
    QTest::qWait(150);
    EXPECT_TRUE(rig.capturer.rects.empty());
    EXPECT_TRUE(rig.activeWindow.activated.empty());
}

TEST_F(CaptureFlowTest, OnlyAReadingFromTheBuiltInEngineIsShownAsFromOneThatWritesNoReplies)
{
    for (const char *model : {"offline", "llm:qwen2.5:7b", "m"}) {
        FlowRig run;
        protocol::AnalysisResult reading = sampleResult();
        reading.respondable = false;
        protocol::AnalyzeEnvelope envelope = test::envelopeWith(reading);
        envelope.model = QString::fromLatin1(model);
        run.analysis.streamAnswer = envelope;
        run.flow.begin();
        run.selector.complete(capture::Selection{QRectF(10, 20, 300, 200), QGuiApplication::primaryScreen()});
        ASSERT_TRUE(run.waitForFinish());
        ASSERT_EQ(run.panel.views().back(), CV::Result);
        EXPECT_EQ(run.panel.shown.back().state.engineWritesReplies(), std::strcmp(model, "offline") != 0)
            << model;
    }
}
