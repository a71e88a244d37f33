// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tavolen-bench panel: the time from showing a state to its frame painted,
// for a streamed update on a visible panel and for a full result, beside
// one 60 Hz frame (16.7 ms); and the app's memory with the panel shown and
// after it is dismissed.

#include "BenchDesktop.h"
#include "panel/ResultPanel.h"
#include "platform/PlatformServices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>

using namespace tavolen;

namespace {

constexpr double kFrameMs = 1000.0 / 60;
constexpr int kRuns = 60;
const QRectF kSelection(300, 200, 700, 300);

protocol::AnalysisResult benchResult()
{
    protocol::AnalysisResult r;
    r.summary =
        QStringLiteral("Your manager moved Friday's review to Monday and wants the draft by Thursday noon.");
    r.tone_label = QStringLiteral("Friendly · a little urgent");
    r.hidden_meaning =
        QStringLiteral("The deadline got tighter, not looser: the weekend is for her, not for you.");
    r.full_translation = QStringLiteral("Hi! Small change: the review moves to Monday.");
    r.risk_level = QStringLiteral("medium");
    r.risk_reason = QStringLiteral("Agreeing without a question commits you to a shorter week.");
    r.best_reply =
        QStringLiteral("Sure, Thursday noon works. Anything in particular you want me to focus on?");
    r.short_reply = QStringLiteral("Thursday noon works");
    r.alternative_reply = QStringLiteral("I can do Thursday end of day; would that leave you enough time?");
    r.alternative_reply_label = QStringLiteral("Push back");
    r.best_reply_gloss = QStringLiteral("好的，周四中午没问题。有什么需要我重点准备的吗？");
    return r;
}

// Notes when the new content has been painted.
class PaintWatch final : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

// show(), then everything up to the frame on screen: layout, paint, and the
// backing store flushed to the X server (in the same pass as the paint).
double timeShow(panel::ResultPanel &panel, const panel::PanelState &state)
{
    QElapsedTimer timer;
    timer.start();
    panel.show(state, kSelection);
    PaintWatch watch;
    panel.content()->installEventFilter(&watch);
    while (!watch.painted && timer.elapsed() < 2000)
        QCoreApplication::processEvents();
    return watch.painted ? double(timer.nsecsElapsed()) / 1e6 : -1;
}

} // namespace

int runPanelBench(int argc, char **argv)
{
    auto xvfb = BenchXvfb::startForThisProcess(QSize(1920, 1080), "panel");
    if (!xvfb)
        return 1;
    QApplication app(argc, argv);
    platform::PlatformServices services = platform::loadPlatformServices();
    QTest::qWait(500);
    const double idleMB = residentMB();

    panel::ResultPanel panel(*services.floatingWindows, {});
    const protocol::AnalysisResult result = benchResult();
    QList<double> updates;
    QList<double> results;
    QList<double> firstShows;
    double warmMB = 0;
    for (int run = 0, runs = runsOf(kRuns); run < runs; ++run) {
        if (run == 10)
            warmMB = residentMB();
        panel.hide();
        QTest::qWait(5);
        firstShows << timeShow(panel, panel::PanelState::loading());
        // Each streamed update carries one more field, as a real stream grows.
        protocol::StreamPartial partial;
        partial.tone_label = result.tone_label;
        partial.summary = result.summary;
        updates << timeShow(panel, panel::PanelState::streaming(partial));
        partial.hidden_meaning = result.hidden_meaning;
        partial.risk_level = result.risk_level;
        partial.risk_reason = result.risk_reason;
        updates << timeShow(panel, panel::PanelState::streaming(partial));
        results << timeShow(panel, panel::PanelState::result(result));
        QCoreApplication::processEvents();
    }
    QTest::qWait(1000);
    const double shownMB = residentMB();
    panel.hide();
    QTest::qWait(2000);
    const double dismissedMB = residentMB();

    report("panel_first_show_to_painted", median(firstShows), kFrameMs, "ms");
    report("panel_streaming_update_to_painted", median(updates), kFrameMs, "ms");
    report("panel_result_to_painted", median(results), kFrameMs, "ms");
    std::sort(updates.begin(), updates.end());
    report("panel_streaming_update_to_painted_p95", updates.at(int(updates.size() * 0.95)), kFrameMs, "ms");
    report("panel_rss_shown_vs_idle", shownMB, idleMB, "MB");
    report("panel_rss_dismissed_vs_idle", dismissedMB, idleMB, "MB");
    // Fifty more runs (two hundred shows) should cost nothing once fonts and caches are loaded.
    report("panel_rss_after_60_runs_vs_after_10", shownMB, warmMB, "MB");
    return 0;
}
