// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tavolen-bench capture --wayland: a capture on a headless Wayland desktop
// (sway with XWayland and the desktop portal), where the screen is read
// through the screenshot portal before the overlay shows and the selection is
// cut from that picture, beside grim grabbing the same region (raw and PNG:
// Debian's grim has no JPEG).

#include "BenchDesktop.h"
#include "capture/ScreenCapture.h"
#include "capture/ScreenGeometry.h"
#include "e2e/harness/WaylandRig.h"
#include "platform/PlatformServices.h"
#include "platform/SessionKind.h"
#include "support/TiedProcess.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include <cstdio>
#include <cstring>

using namespace tavolen;

namespace {

constexpr int kRuns = 7;

// Our path in its two halves: before the overlay shows, the desktop's picture
// through the portal (file read and deleted); once the selection is known,
// the region cut from that still and encoded. Milliseconds of each, and the
// JPEG's size.
struct PortalTimes {
    double still = 0;
    double cut = 0;
    qint64 bytes = -1;
};

QCoro::Task<PortalTimes> portalCapture(platform::ScreenGrabber &grabber, capture::ScreenCapture &capture,
                                       QRect region)
{
    PortalTimes times;
    QElapsedTimer timer;
    timer.start();
    const std::optional<QImage> desktop = co_await grabber.desktopStill();
    times.still = double(timer.nsecsElapsed()) / 1e6;
    if (!desktop)
        co_return times;
    QScreen *screen = QGuiApplication::primaryScreen();
    const capture::ScreenMetrics metrics = capture::metricsOf(*screen);
    QImage still = capture::screenStill(*desktop, metrics.nativeRect(), metrics);
    timer.restart();
    // Named, not built inside the co_await: g++ 12 destroys such a temporary twice.
    capture::Selection selection{QRectF(region), screen, std::move(still)};
    const capture::CaptureOutcome outcome = co_await capture.capture(std::move(selection));
    times.cut = double(timer.nsecsElapsed()) / 1e6;
    times.bytes = outcome.ok() ? outcome.value().size() : -1;
    co_return times;
}

// One grim run of `region` in `type`: milliseconds and bytes written.
std::pair<double, qint64> grim(QRect region, const QString &type)
{
    QProcess grim;
    test::tieToThisProcess(grim);
    QElapsedTimer timer;
    timer.start();
    grim.start(QStringLiteral("grim"), {QStringLiteral("-g"),
                                        QStringLiteral("%1,%2 %3x%4")
                                            .arg(region.x())
                                            .arg(region.y())
                                            .arg(region.width())
                                            .arg(region.height()),
                                        QStringLiteral("-t"), type, QStringLiteral("-")});
    grim.waitForFinished(30000);
    const qint64 bytes = grim.readAllStandardOutput().size();
    return {double(timer.nsecsElapsed()) / 1e6, bytes};
}

void benchRegion(const char *stage, QRect region, platform::ScreenGrabber &grabber,
                 capture::ScreenCapture &capture)
{
    QList<double> still;
    QList<double> cut;
    QList<double> raw;
    QList<double> png;
    qint64 ourBytes = 0;
    qint64 pngBytes = 0;
    for (int i = 0, runs = runsOf(kRuns); i < runs; ++i) {
        const PortalTimes ours = QCoro::waitFor(portalCapture(grabber, capture, region));
        still.append(ours.still);
        cut.append(ours.cut);
        ourBytes = ours.bytes;
        // Debian's grim has no JPEG: its raw pixels (no encoding at all) and
        // its default PNG stand beside our JPEG.
        raw.append(grim(region, QStringLiteral("ppm")).first);
        const auto [ms, bytes] = grim(region, QStringLiteral("png"));
        png.append(ms);
        pngBytes = bytes;
    }
    if (ourBytes <= 0 || pngBytes <= 0) {
        std::fprintf(stderr, "%s: a capture failed (ours %lld bytes, grim %lld bytes)\n", stage,
                     static_cast<long long>(ourBytes), static_cast<long long>(pngBytes));
        return;
    }
    const QByteArray name(stage);
    const double whole = median(still) + median(cut);
    report((name + "_portal_still_then_cut_vs_grim_png").constData(), whole, median(png), "ms");
    report((name + "_portal_still_then_cut_vs_grim_ppm").constData(), whole, median(raw), "ms");
    report((name + "_selection_to_jpeg_vs_grim_ppm").constData(), median(cut), median(raw), "ms");
    report((name + "_size_vs_grim_png").constData(), ourBytes / 1024.0, pngBytes / 1024.0, "KB");
}

// Inside the session: content on screen, then both paths timed.
int inSession(int argc, char **argv)
{
    platform::chooseWindowSystem();
    QApplication app(argc, argv);
    showBenchContent();
    platform::PlatformServices services = platform::loadPlatformServices();
    if (!services.screenGrabber->readsStillsOnly()) {
        std::fprintf(stderr,
                     "tavolen-bench capture --wayland: this session is not read through the portal\n");
        return 1;
    }
    capture::ScreenCapture capture(*services.screenGrabber);
    capture.warmUp();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    benchRegion("capture_wayland_region_1600x1000", QRect(160, 40, 1600, 1000), *services.screenGrabber,
                capture);
    benchRegion("capture_wayland_full_1920x1080", screen, *services.screenGrabber, capture);
    return 0;
}

} // namespace

int runWaylandCaptureBench(int argc, char **argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--in-session") == 0)
        return inSession(argc, argv);

    QCoreApplication app(argc, argv);
    if (!e2e::WaylandRig::available()) {
        std::fprintf(stderr, "tavolen-bench capture --wayland: sway is not installed\n");
        return kStageSkipped;
    }
    e2e::WaylandRig rig;
    if (const QString error = rig.start(); !error.isEmpty()) {
        std::fprintf(stderr, "tavolen-bench capture --wayland: %s\n", qPrintable(error));
        return 1;
    }
    QStringList command{rig.stage(QCoreApplication::applicationFilePath()), QStringLiteral("capture"),
                        QStringLiteral("--wayland-in-session")};
    if (smokeRun())
        command << QStringLiteral("--smoke");
    QProcess *child = rig.spawn(command);
    // Its lines as they come, and what it says on errors at the end.
    QObject::connect(child, &QProcess::readyReadStandardOutput, child, [child] {
        const QByteArray lines = child->readAllStandardOutput();
        std::fwrite(lines.constData(), 1, size_t(lines.size()), stdout);
        std::fflush(stdout);
    });
    (void)QTest::qWaitFor([child] { return child->state() == QProcess::NotRunning; }, 300000);
    const QByteArray errors = child->readAllStandardError();
    std::fwrite(errors.constData(), 1, size_t(errors.size()), stderr);
    return child->exitStatus() == QProcess::NormalExit ? child->exitCode() : 1;
}
