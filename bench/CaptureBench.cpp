// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tavolen-bench capture: the time from "selection known" to "JPEG bytes
// ready" on a 3840 x 2160 screen of text and images, beside maim doing the
// same grab-and-encode; and the app's memory around one capture run.

#include "BenchDesktop.h"
#include "app/CaptureStack.h"
#include "capture/ScreenCapture.h"
#include "core/MemorySettingsStore.h"
#include "core/Settings.h"
#include "panel/ConsolePanelPresenter.h"
#include "platform/PlatformServices.h"
#include "support/TiedProcess.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include <cstdio>
#include <cstring>

using namespace tavolen;

namespace {

constexpr QSize kScreen(3840, 2160);
const QRect kRegion(1100, 600, 1600, 1000); // across the photo and the text

struct Sample {
    double ms = 0;
    qint64 bytes = 0;
};

QCoro::Task<std::optional<capture::CaptureOutcome>> captureTask(capture::ScreenCapture &c, QRect r)
{
    capture::Selection selection{QRectF(r), QGuiApplication::primaryScreen(), {}};
    co_return co_await c.capture(std::move(selection));
}

Sample timeCapture(capture::ScreenCapture &capture, QRect region)
{
    QElapsedTimer timer;
    timer.start();
    const auto outcome = QCoro::waitFor(captureTask(capture, region));
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    return {elapsed, outcome && outcome->ok() ? outcome->value().size() : -1};
}

// A fresh process: the app's start-up (with or without its warm-up), a pause
// standing for the user's selection, then one capture.
int childFirst(QRect region, bool warmUp)
{
    platform::PlatformServices services = platform::loadPlatformServices();
    capture::ScreenCapture capture(*services.screenGrabber);
    if (warmUp)
        capture.warmUp();
    QTest::qWait(500);
    const Sample s = timeCapture(capture, region);
    std::printf("%.3f %lld\n", s.ms, static_cast<long long>(s.bytes));
    return 0;
}

// The app as it runs: two runs, each with the overlay, a drag, the capture
// and a refused upload; memory read before and five seconds after each.
int childRss()
{
    MemorySettingsStore settings;
    settings.setValue(QStringLiteral("api_base"), QStringLiteral("http://127.0.0.1:9"));
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    panel::ConsolePanelPresenter panel(&sink);
    app::CaptureStack stack(settings, panel);
    QTest::qWait(1000);
    const double before = residentMB();
    const int settleMs = smokeRun() ? 0 : 5000;
    bool ended = false;
    QObject::connect(&stack.flow(), &flow::CaptureFlow::runFinished, [&] { ended = true; });
    auto run = [&] {
        ended = false;
        stack.flow().begin();
        QTest::qWait(300);
        test::executeTied(QStringLiteral("xdotool"),
                          {QStringLiteral("mousemove"), QStringLiteral("1200"), QStringLiteral("700"),
                           QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("mousemove"),
                           QStringLiteral("2000"), QStringLiteral("1200"), QStringLiteral("mouseup"),
                           QStringLiteral("1")});
        (void)QTest::qWaitFor([&] { return ended; }, 20000);
        QTest::qWait(settleMs);
    };
    run();
    const double afterFirst = residentMB();
    run();
    std::printf("%.1f %.1f %.1f %d\n", before, afterFirst, residentMB(), int(ended));
    return 0;
}

QList<Sample> children(const QStringList &args, int runs)
{
    QList<Sample> samples;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.setStandardErrorFile(QProcess::nullDevice());
        test::tieToThisProcess(child);
        child.start(QCoreApplication::applicationFilePath(), args);
        child.waitForFinished(60000);
        const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
        if (parts.size() >= 2)
            samples.append({parts[0].toDouble(), parts[1].toLongLong()});
    }
    return samples;
}

QList<Sample> maim(QRect r, int runs)
{
    const QString out = QDir::temp().filePath(QStringLiteral("tavolen-bench-maim.jpg"));
    QList<Sample> samples;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        test::executeTied(QStringLiteral("maim"),
                          {QStringLiteral("-g"),
                           QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()),
                           QStringLiteral("-f"), QStringLiteral("jpg"), QStringLiteral("-m"),
                           QStringLiteral("8"), out});
        samples.append({double(timer.nsecsElapsed()) / 1e6, QFileInfo(out).size()});
    }
    QFile::remove(out);
    return samples;
}

double medianMs(const QList<Sample> &s)
{
    QList<double> v;
    for (const Sample &x : s)
        v.append(x.ms);
    return median(v);
}

double medianKB(const QList<Sample> &s)
{
    QList<double> v;
    for (const Sample &x : s)
        v.append(double(x.bytes) / 1024.0);
    return median(v);
}

QStringList regionArgs(QRect r)
{
    return {QString::number(r.x()), QString::number(r.y()), QString::number(r.width()),
            QString::number(r.height())};
}

void benchRegion(const char *name, QRect region, capture::ScreenCapture &warmCapture)
{
    const QList<Sample> reference = maim(region, runsOf(7));
    const QList<Sample> first =
        children(QStringList{QStringLiteral("capture"), QStringLiteral("--child-first")} + regionArgs(region),
                 runsOf(5));
    const QList<Sample> cold =
        children(QStringList{QStringLiteral("capture"), QStringLiteral("--child-first")} +
                     regionArgs(region) + QStringList{QStringLiteral("--no-warm-up")},
                 runsOf(5));
    timeCapture(warmCapture, region); // the first in this process is not a warm one
    QList<Sample> warm;
    for (int i = 0, runs = runsOf(9); i < runs; ++i)
        warm.append(timeCapture(warmCapture, region));

    const QByteArray stage(name);
    report((stage + "_first_after_startup").constData(), medianMs(first), medianMs(reference), "ms");
    report((stage + "_first_without_warmup").constData(), medianMs(cold), medianMs(reference), "ms");
    report((stage + "_warm").constData(), medianMs(warm), medianMs(reference), "ms");
    report((stage + "_jpeg_size").constData(), medianKB(warm), medianKB(reference), "KB");
}

int parent(int argc, char **argv)
{
    auto xvfb = BenchXvfb::startForThisProcess(kScreen, "capture");
    if (!xvfb)
        return 1;
    QApplication app(argc, argv);
    showBenchContent();

    platform::PlatformServices services = platform::loadPlatformServices();
    capture::ScreenCapture capture(*services.screenGrabber);
    benchRegion("capture_region_1600x1000", kRegion, capture);
    benchRegion("capture_full_3840x2160", QRect(QPoint(0, 0), kScreen), capture);

    QProcess rss;
    test::tieToThisProcess(rss);
    QStringList rssArguments{QStringLiteral("capture"), QStringLiteral("--child-rss")};
    if (smokeRun())
        rssArguments << QStringLiteral("--smoke");
    rss.start(QCoreApplication::applicationFilePath(), rssArguments);
    rss.waitForFinished(60000);
    const QList<QByteArray> mb = rss.readAllStandardOutput().trimmed().split(' ');
    if (mb.size() == 4 && mb[3] == "1") {
        // The first run also pays for one-time set-up (fonts for the hint,
        // the network stack); the second shows what a run leaves behind.
        report("capture_rss_5s_after_first_run_vs_idle", mb[1].toDouble(), mb[0].toDouble(), "MB");
        report("capture_rss_5s_after_second_run_vs_first", mb[2].toDouble(), mb[1].toDouble(), "MB");
    } else
        std::fprintf(stderr, "tavolen-bench capture: the memory run did not finish\n");
    return 0;
}

} // namespace

int runWaylandCaptureBench(int argc, char **argv);

int runCaptureBench(int argc, char **argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--wayland") == 0)
        return runWaylandCaptureBench(argc - 1, argv + 1);
    if (argc >= 2 && std::strcmp(argv[1], "--wayland-in-session") == 0) {
        argv[1] = const_cast<char *>("--in-session");
        return runWaylandCaptureBench(argc, argv);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--child-first") == 0 && argc >= 6) {
        QApplication app(argc, argv);
        const QRect region(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
        return childFirst(region, !(argc >= 7 && std::strcmp(argv[6], "--no-warm-up") == 0));
    }
    if (argc >= 2 && std::strcmp(argv[1], "--child-rss") == 0) {
        QApplication app(argc, argv);
        return childRss();
    }
    return parent(argc, argv);
}
