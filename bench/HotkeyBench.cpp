// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tavolen-bench hotkey: the time from Alt+Shift+S sent by xdotool to the
// selection overlay on screen at 1920 x 1080, for the first press and
// steadily after, beside the same press mapping a plain override-redirect
// window (what any program reacting to a key could do at best).

#include "BenchDesktop.h"
#include "app/CaptureStack.h"
#include "capture/OverlayWindow.h"
#include "core/MemorySettingsStore.h"
#include "platform/PlatformServices.h"
#include "support/TiedProcess.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <cstdio>

using namespace tavolen;

namespace {

constexpr int kRuns = 20;

QElapsedTimer g_clock;
double g_pressedAt = 0; // when the hot key's call ran, on g_clock

double now()
{
    return double(g_clock.nsecsElapsed()) / 1e6;
}

struct Timing {
    double total; // from sending the key
    double inApp; // from the hot key's call
};

// Sends the key and waits until `shown` says the reaction is on screen.
Timing timePress(const std::function<bool()> &shown)
{
    QProcess xdotool;
    xdotool.setProcessChannelMode(QProcess::ForwardedChannels);
    test::tieToThisProcess(xdotool);
    const double sent = now();
    g_pressedAt = -1;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("alt+shift+s")});
    Timing timing{-1, -1};
    for (;;) {
        if (shown()) {
            const double done = now();
            timing = {done - sent, g_pressedAt >= 0 ? done - g_pressedAt : -1};
            break;
        }
        if (now() - sent > 5000)
            break;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    // Waited for after the timing: the key arrives before xdotool has ended.
    xdotool.waitForFinished(5000);
    return timing;
}

bool overlayShown(app::CaptureStack &stack)
{
    const QList<capture::OverlayWindow *> windows = stack.overlay().windows();
    return !windows.isEmpty() && windows.front()->windowHandle() &&
           windows.front()->windowHandle()->isExposed();
}

void closeOverlay(app::CaptureStack &stack)
{
    test::executeTied(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
    if (!QTest::qWaitFor([&] { return !stack.overlay().isSelecting(); }, 5000))
        std::fprintf(stderr, "tavolen-bench hotkey: the overlay did not close\n");
    QTest::qWait(100);
}

} // namespace

int runHotkeyBench(int argc, char **argv)
{
    auto xvfb = BenchXvfb::startForThisProcess(QSize(1920, 1080), "hotkey");
    if (!xvfb)
        return 1;
    QApplication app(argc, argv);
    g_clock.start();
    QList<double> steady, steadyInApp;
    Timing first{};
    double afterFirstMB = 0;
    double afterAllMB = 0;
    {
        MemorySettingsStore settings;
        app::CaptureStack stack(settings);
        stack.platform().hotKey->start([&stack] {
            g_pressedAt = now();
            stack.flow().begin();
        });
        QTest::qWait(500);
        first = timePress([&] { return overlayShown(stack); });
        closeOverlay(stack);
        QTest::qWait(500);
        afterFirstMB = residentMB();
        for (int i = 0, runs = runsOf(kRuns); i < runs; ++i) {
            const Timing t = timePress([&] { return overlayShown(stack); });
            steady << t.total;
            steadyInApp << t.inApp;
            closeOverlay(stack);
        }
        QTest::qWait(500);
        afterAllMB = residentMB();
    }
    QList<double> reference, referenceInApp;
    {
        QWidget plain(nullptr, Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
        plain.setGeometry(100, 100, 200, 100);
        platform::PlatformServices services = platform::loadPlatformServices();
        services.hotKey->start([&plain] {
            g_pressedAt = now();
            plain.show();
        });
        QTest::qWait(300);
        for (int i = 0, runs = runsOf(kRuns); i <= runs; ++i) {
            const Timing t =
                timePress([&] { return plain.windowHandle() && plain.windowHandle()->isExposed(); });
            if (i > 0) { // the first is this widget's creation
                reference << t.total;
                referenceInApp << t.inApp;
            }
            plain.hide();
            QTest::qWait(100);
        }
    }
    // From xdotool's start (its own start-up included), and from our hot key's call.
    report("hotkey_first_press_to_overlay", first.total, median(reference), "ms");
    report("hotkey_steady_press_to_overlay", median(steady), median(reference), "ms");
    report("hotkey_first_call_to_overlay", first.inApp, median(referenceInApp), "ms");
    report("hotkey_steady_call_to_overlay", median(steadyInApp), median(referenceInApp), "ms");
    // Each overlay's windows and still go with it: memory after many selections stays where the first left
    // it.
    report("hotkey_rss_after_21_overlays_vs_after_first", afterAllMB, afterFirstMB, "MB");
    return 0;
}
