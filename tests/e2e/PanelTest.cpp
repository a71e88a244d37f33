// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/harness/Desktop.h"
#include "e2e/harness/FlowHarness.h"
#include "panel/ResultPanel.h"
#include "panel/views/FullContent.h"
#include "panel/views/ReadingParts.h"
#include "panel/views/ResultContent.h"
#include "panel/views/StreamingContent.h"
#include "platform/PlatformServices.h"
#include "protocol/Records.h"
#include "support/ScriptedServer.h"
#include "support/ServiceAnswers.h"

#include <QAbstractButton>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::e2e;
using Mode = panel::ResultPanel::Mode;

// OneScreenPanel: Xvfb with openbox and no compositor; CompositedPanel: with xcompmgr.

namespace {

template <class View> bool showing(panel::ResultPanel &p)
{
    auto *full = dynamic_cast<panel::views::FullContent *>(p.content());
    return p.mode() == Mode::Full && full && dynamic_cast<View *>(full->contentView());
}

int distance(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// A run over a large window of another program, held after the first
// partial so that each state can be looked at. The focus is on that window.
struct PanelRun {
    explicit PanelRun(QRect region = QRect(200, 150, 400, 200), const QString &text = {})
        : kRegion(region), window(ForeignWindow::open(QRect(100, 100, 1000, 800), kWarm, text)),
          h(FlowHarness::Panel::Real)
    {
        protocol::StreamPartial partial;
        partial.summary = QStringLiteral("Half-way there");
        h.analysis.partials = {partial};
        h.analysis.gate.closed = true;
        h.analysis.streamAnswer = test::envelopeWith(test::sampleResult());
    }
    bool start()
    {
        window->raise();
        if (!QTest::qWaitFor([&] { return activeWindow() == window->id(); }, 5000))
            return false;
        before = screenshot();
        return h.begin() && (drag(kRegion.topLeft(), kRegion.bottomRight() + QPoint(1, 1)), true) &&
               QTest::qWaitFor([&] { return showing<panel::views::StreamingContent>(*h.resultPanel()); },
                               5000);
    }
    QRect card() { return h.resultPanel()->window()->geometry().marginsRemoved(margins); }

    const QRect kRegion;
    std::unique_ptr<ForeignWindow> window;
    FlowHarness h;
    QImage before; // the desktop before the run
    QMargins margins;
};

// The first pixels inside the card's rounded corners show the window below
// it, not black. The X server (or the compositor, another process) shows a
// resized card in its own time: wait until the screen shows the card at its
// present size, then look at its corners.
void expectCornersShowTheDesktop(PanelRun &run)
{
    QImage desktop;
    QList<QPoint> corners;
    QRect card;
    const auto cornerShowsDesktop = [&](QPoint corner) {
        return distance(desktop.pixelColor(corner), run.before.pixelColor(corner)) < 60;
    };
    // The card is read afresh on every look: its content may still be
    // settling into its final height when the run has ended.
    const auto cardShown = [&] {
        card = run.card();
        corners = {card.topLeft() + QPoint(1, 1), card.bottomLeft() + QPoint(1, -1),
                   card.topRight() + QPoint(-1, 1), card.bottomRight() + QPoint(-1, -1)};
        desktop = screenshot();
        return distance(desktop.pixelColor(card.center()), run.before.pixelColor(card.center())) > 150 &&
               std::all_of(corners.begin(), corners.end(), cornerShowsDesktop);
    };
    (void)QTest::qWaitFor(cardShown, 5000);
    EXPECT_GT(distance(desktop.pixelColor(card.center()), run.before.pixelColor(card.center())), 150)
        << "the card itself hides what is below";
    for (const QPoint corner : corners)
        EXPECT_TRUE(cornerShowsDesktop(corner)) << corner.x() << "," << corner.y();
}

// Whether the desktop shows something other than `colour` at `at` now: the
// panel of another process, once the X server has it on screen.
bool coveredWithin(QPoint at, QColor colour, int timeoutMs = 10000)
{
    return QTest::qWaitFor([&] { return distance(screenshot().pixelColor(at), colour) > 150; }, timeoutMs);
}

// `tavolen capture` as a user runs it, with its configuration in `home`;
// what it prints, on either channel, stays readable on `app`.
void startCapture(QProcess &app, const QTemporaryDir &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    // As a desktop session has it (Qt says so on stderr when it is missing).
    static const QTemporaryDir runtime;
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(TAVOLEN_BINARY), {QStringLiteral("capture")});
}

} // namespace

TEST(OneScreenPanel, ShowsBesideTheSelectionWithoutTakingTheFocusAndEscapeClosesIt)
{
    PanelRun run;
    ASSERT_TRUE(run.start());
    panel::ResultPanel &panel = *run.h.resultPanel();
    // The placement rule's position: left-aligned with the selection, 12 below it.
    EXPECT_EQ(run.card().topLeft(), QPoint(200, 150 + 200 + 12));
    QTest::qWait(300);
    EXPECT_EQ(activeWindow(), run.window->id()) << "the panel must not take the focus";
    // Above other windows, on every workspace, in no taskbar or pager.
    const QByteArray hints = xclient(
        "xprop", {"-id", QString::number(panel.window()->winId()), "_NET_WM_STATE", "_NET_WM_DESKTOP"});
    for (const char *hint : {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
                             "_NET_WM_DESKTOP(CARDINAL) = 4294967295"})
        EXPECT_TRUE(hints.contains(hint)) << hint << "\n" << hints.toStdString();

    run.h.analysis.gate.open();
    ASSERT_TRUE(run.h.waitForEnd());
    ASSERT_TRUE(showing<panel::views::ResultContent>(panel));
    EXPECT_EQ(clipboardText(), QByteArray("Sure!"));
    EXPECT_EQ(activeWindow(), run.window->id());
    expectCornersShowTheDesktop(run);

    // Dragged by its background.
    const QRect before = run.card();
    // At a hand's pace, in steps, as a user drags.
    const QPoint from = before.topLeft() + QPoint(150, 6);
    QStringList steps{"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"};
    for (int i = 1; i <= 8; ++i)
        steps << "sleep"
              << "0.05"
              << "mousemove" << QString::number(from.x() + 15 * i) << QString::number(from.y() + 10 * i);
    xdotool(steps << "sleep"
                  << "0.1"
                  << "mouseup"
                  << "1");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return run.card().topLeft() == before.topLeft() + QPoint(120, 80); }, 5000))
        << run.card().x() << "," << run.card().y();

    // A click on the card's background gives it the keyboard; Esc then closes it.
    click(run.card().topLeft() + QPoint(150, 6));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.window()->isActiveWindow(); }, 5000));
    pressEscape();
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel.mode() == Mode::Hidden; }, 5000));
    EXPECT_FALSE(panel.window());
}

TEST(OneScreenPanel, AReadingThatGrowsTallKeepsItsSideAndNeverCoversTheSelection)
{
    // Room below for the streaming card but not for the reading it becomes.
    PanelRun run(QRect(200, 640, 400, 200));
    protocol::AnalysisResult tall = test::sampleResult();
    tall.hidden_meaning = QStringLiteral("It says one thing and means another, at length. ").repeated(12);
    run.h.analysis.streamAnswer = test::envelopeWith(tall);
    ASSERT_TRUE(run.start());
    const QRect first = run.card();
    EXPECT_EQ(first.bottom() + 1, 640 - 12) << "above the selection, its lower edge 12 from it";
    EXPECT_FALSE(first.intersects(run.kRegion));

    run.h.analysis.gate.open();
    ASSERT_TRUE(run.h.waitForEnd());
    ASSERT_TRUE(showing<panel::views::ResultContent>(*run.h.resultPanel()));
    // The window system may apply the result's size a moment later; the card's edge never moves.
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.card().height() > first.height() + 150; }, 5000))
        << run.card().height();
    const QRect result = run.card();
    EXPECT_EQ(result.bottom(), first.bottom());
    EXPECT_EQ(result.left(), first.left());
    EXPECT_FALSE(result.intersects(run.kRegion));
}

TEST(OneScreenPanel, AReopenedCardStaysUnderTheRestingPointerAndFoldingGivesTheKeyboardBack)
{
    PanelRun run;
    ASSERT_TRUE(run.start());
    panel::ResultPanel &panel = *run.h.resultPanel();
    run.h.analysis.gate.open();
    ASSERT_TRUE(run.h.waitForEnd());
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.mode() == Mode::Pill; }, 20000));
    const QPoint pill = run.card().center();
    xdotool({"mousemove", QString::number(pill.x()), QString::number(pill.y())});
    ASSERT_TRUE(QTest::qWaitFor([&] { return showing<panel::views::ResultContent>(panel); }, 5000));

    // A chip clicked: the card has the keyboard, and the pointer resting on it holds it open.
    auto *chip = panel.content()->findChild<QAbstractButton *>(panel::views::part::shortChip);
    ASSERT_TRUE(chip);
    click(chip->mapToGlobal(chip->rect().center()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.window()->isActiveWindow(); }, 5000));
    QTest::qWait(300);
    EXPECT_FALSE(panel.collapseTimer().isActive()) << "nothing counts down while the pointer rests there";
    EXPECT_FALSE(panel.dismissTimer().isActive());

    // Away: it folds, and the window that had the keyboard before the click has it again.
    xdotool({"mousemove", "1200", "1000"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.mode() == Mode::Pill; }, 15000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return activeWindow() == run.window->id(); }, 5000));
}

TEST(CompositedPanel, IsTranslucentWithAShadowAndSoftCornersAndNoTextShowsThroughIt)
{
    // A page of text behind the card: with no blur, whatever shows through
    // the fill would run through the card's own text.
    PanelRun run(QRect(200, 150, 400, 200), QStringLiteral("Repost Backhanded "));
    run.margins = QMargins(18, 18, 18, 18);
    ASSERT_TRUE(run.start());
    run.h.analysis.gate.open();
    ASSERT_TRUE(run.h.waitForEnd());
    ASSERT_TRUE(QTest::qWaitFor([&] { return showing<panel::views::ResultContent>(*run.h.resultPanel()); }));
    EXPECT_EQ(run.card().topLeft(), QPoint(200, 362));
    expectCornersShowTheDesktop(run);
    // The shadow darkens the window just below the card, and fades out.
    QImage desktop = screenshot();
    const auto darkening = [&](int y) {
        int sum = 0;
        for (int x = run.card().left() + 40; x < run.card().right() - 40; ++x)
            sum += run.before.pixelColor(x, y).lightness() - desktop.pixelColor(x, y).lightness();
        return sum / (run.card().width() - 80);
    };
    EXPECT_GT(darkening(run.card().bottom() + 4), darkening(run.card().bottom() + 20));
    EXPECT_GT(darkening(run.card().bottom() + 4), 0);

    // The fill down the card's left margin, over letters and the quadrants'
    // edge alike, is one colour: the card's text has the same contrast
    // everywhere, as on an opaque card.
    const QRect margin = run.card().adjusted(4, 24, 0, -24);
    int spread = 0;
    const auto even = [&] {
        desktop = screenshot();
        int low = 255, high = 0;
        for (int y = margin.top(); y <= margin.bottom(); ++y)
            for (int x = margin.left(); x < margin.left() + 10; ++x) {
                const int v = desktop.pixelColor(x, y).lightness();
                low = std::min(low, v);
                high = std::max(high, v);
            }
        spread = high - low;
        return spread <= 2;
    };
    EXPECT_TRUE(QTest::qWaitFor(even, 5000)) << "lightness varies by " << spread;
}

TEST(OneScreenPanel, TavolenCaptureShowsTheReadingAndStaysUntilItsPanelIsClosed)
{
    using namespace std::chrono_literals;
    test::ScriptedServer service;
    service.script(test::kStream,
                   test::ScriptedResponse::stream({test::fieldLines("summary", "On its way"),
                                                   test::eventLines("result", test::envelopeJson())},
                                                  300ms));
    QTemporaryDir home;
    QSettings(home.filePath(QStringLiteral("tavolen/tavolen.conf")), QSettings::IniFormat)
        .setValue(QStringLiteral("api_base"), service.baseUrl());
    auto window = ForeignWindow::open(QRect(100, 100, 900, 700), kCool);
    ASSERT_TRUE(window);
    window->raise();

    QProcess app;
    startCapture(app, home);
    QByteArray out;
    const auto printed = [&](const QByteArray &state) {
        return QTest::qWaitFor(
            [&] {
                out += app.readAllStandardOutput();
                return out.contains("\"state\":\"" + state + '"');
            },
            10000);
    };
    ASSERT_TRUE(QTest::qWaitFor(overlayShown, 10000));
    const QRect region(300, 200, 300, 150);
    drag(region.topLeft(), region.bottomRight() + QPoint(1, 1));
    ASSERT_TRUE(printed("streaming"));
    ASSERT_TRUE(printed("result"));
    EXPECT_EQ(service.requests(test::kStream).size(), 1);
    EXPECT_EQ(clipboardText(), QByteArray("Sure!"));

    // The reading is on screen where the placement rule puts it, and the process waits for it.
    const QRect card(region.left(), region.bottom() + 1 + 12, 400, 60);
    EXPECT_TRUE(coveredWithin(card.topLeft() + QPoint(150, 20), kCool.at(0)))
        << "the panel covers the window there";
    EXPECT_EQ(app.state(), QProcess::Running);
    click(card.topLeft() + QPoint(150, 6));
    ASSERT_TRUE(QTest::qWaitFor(tavolenHasFocus, 5000)) << "the click gives the panel the keyboard";
    pressEscape();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app.exitCode(), 0);
    // The capture sound was played (or tried, with no sound card here): a
    // user who started Tavolen from a terminal sees nothing there.
    EXPECT_EQ(app.readAllStandardError().toStdString(), "");
}

TEST(ScaledScreenPanel, DrawsEveryLogicalPixelAsTwoByTwoNativeOnes)
{
    platform::PlatformServices services = platform::loadPlatformServices();
    panel::ResultPanel panel(*services.floatingWindows, {});
    const QImage before = screenshot();
    panel.show(panel::PanelState::result(test::sampleResult()), QRectF(50, 40, 200, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.window()));
    // Logical 50, 152 and 400 wide: native 100, 304 and 800.
    const QPoint card(100, 304);
    QImage desktop;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            desktop = screenshot();
            return distance(desktop.pixelColor(card + QPoint(400, 8)),
                            before.pixelColor(card + QPoint(400, 8))) > 100;
        },
        5000))
        << "the panel on screen";
    EXPECT_GT(distance(desktop.pixelColor(card + QPoint(400, 8)), before.pixelColor(card + QPoint(400, 8))),
              100);
    EXPECT_LT(distance(desktop.pixelColor(card + QPoint(806, 60)), before.pixelColor(card + QPoint(806, 60))),
              10);
    EXPECT_GT(distance(desktop.pixelColor(card + QPoint(794, 60)), before.pixelColor(card + QPoint(794, 60))),
              100);

    // The reply card's divider, one logical pixel high, is exactly two native rows.
    const auto dividers = panel.content()->findChildren<QWidget *>();
    const auto divider = std::find_if(dividers.begin(), dividers.end(),
                                      [](QWidget *w) { return w->height() == 1 && w->isVisible(); });
    ASSERT_NE(divider, dividers.end());
    const QPoint at = (*divider)->mapToGlobal(QPoint((*divider)->width() / 2, 0)) * 2;
    // The X server shows the card's content a little after its frame.
    QColor line;
    const auto twoRows = [&] {
        desktop = screenshot();
        line = desktop.pixelColor(at);
        return distance(desktop.pixelColor(at + QPoint(0, 1)), line) <= 8 &&
               distance(desktop.pixelColor(at - QPoint(0, 1)), line) > 8 &&
               distance(desktop.pixelColor(at + QPoint(0, 2)), line) > 8;
    };
    (void)QTest::qWaitFor(twoRows, 5000);
    EXPECT_LE(distance(desktop.pixelColor(at + QPoint(0, 1)), line), 8);
    EXPECT_GT(distance(desktop.pixelColor(at - QPoint(0, 1)), line), 8);
    EXPECT_GT(distance(desktop.pixelColor(at + QPoint(0, 2)), line), 8);
}

TEST(OneScreenPanel, AQuotaAnswerShowsItsTextAndIsNotAskedAgain)
{
    test::ScriptedServer service;
    service.script(test::kStream,
                   test::ScriptedResponse::body(429, test::errorEnvelopeJson("quota_exceeded")));
    service.setFallback(test::ScriptedResponse::body(200, test::envelopeJson()));
    QTemporaryDir home;
    QSettings conf(home.filePath(QStringLiteral("tavolen/tavolen.conf")), QSettings::IniFormat);
    conf.setValue(QStringLiteral("api_base"), service.baseUrl());
    conf.setValue(QStringLiteral("app_lang"), QStringLiteral("en"));
    conf.sync();
    auto window = ForeignWindow::open(QRect(100, 100, 900, 700), kCool);
    ASSERT_TRUE(window);
    window->raise();

    QProcess app;
    startCapture(app, home);
    ASSERT_TRUE(QTest::qWaitFor(overlayShown, 10000));
    const QRect region(300, 200, 300, 150);
    drag(region.topLeft(), region.bottomRight() + QPoint(1, 1));
    QByteArray out;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            out += app.readAllStandardOutput();
            return out.contains("\"state\":\"error\"");
        },
        10000))
        << out.toStdString();
    EXPECT_TRUE(out.contains("You've used today's free analyses.")) << out.toStdString();

    // The error card stands where a reading would, and the plain call is not tried after a quota answer.
    const QRect card(region.left(), region.bottom() + 1 + 12, 400, 40);
    EXPECT_TRUE(coveredWithin(card.topLeft() + QPoint(150, 20), kCool.at(0)));
    EXPECT_EQ(service.requests(test::kStream).size(), 1);
    EXPECT_EQ(service.requests(test::kPlain).size(), 0);
    EXPECT_NE(clipboardText(), QByteArray("Sure!"));

    click(card.topLeft() + QPoint(150, 6));
    ASSERT_TRUE(QTest::qWaitFor(tavolenHasFocus, 5000));
    pressEscape();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.state() == QProcess::NotRunning; }, 10000));
}
