// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tavolen-bench idle: the resident app's memory at rest (RSS and PSS) and
// its time from start to its icon in the tray, beside a minimal Qt Widgets
// program with a tray icon, both under Xvfb with trayer as the tray. Then
// the app's memory after its first whole capture against after ten more.

#include "BenchDesktop.h"
#include "capture/SelectionOverlay.h"
#include "support/ScriptedServer.h"
#include "support/ServiceAnswers.h"
#include "support/TiedProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

struct Idle {
    double toTrayMs = -1;
    double rssMB = 0;
    double pssMB = 0;
};

QByteArray run(const QString &program, const QStringList &arguments, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    tavolen::test::tieToThisProcess(p);
    p.start(program, arguments);
    p.waitForFinished(5000);
    return p.readAllStandardOutput();
}

// A small window of the program's class: its icon docked in the tray.
bool docked(const QString &windowClass, const QProcessEnvironment &env)
{
    const QList<QByteArray> ids =
        run(QStringLiteral("xdotool"), {"search", "--classname", windowClass}, env).trimmed().split('\n');
    for (const QByteArray &id : ids) {
        if (id.isEmpty())
            continue;
        const auto m =
            QRegularExpression(QStringLiteral("Geometry: (\\d+)x(\\d+)"))
                .match(QString::fromLatin1(
                    run(QStringLiteral("xdotool"), {"getwindowgeometry", QString::fromLatin1(id)}, env)));
        if (m.hasMatch() && m.captured(1).toInt() <= 64 && m.captured(2).toInt() <= 64)
            return true;
    }
    return false;
}

// Kilobytes of a line "Name:   N kB" of /proc/PID/smaps_rollup, in MB.
double field(const QByteArray &rollup, const char *name)
{
    const auto m = QRegularExpression(QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(name)),
                                      QRegularExpression::MultilineOption)
                       .match(QString::fromLatin1(rollup));
    return m.hasMatch() ? m.captured(1).toDouble() / 1024 : 0;
}

// The process's memory totals (/proc/PID/smaps_rollup); empty when unreadable.
QByteArray rollupOf(const QProcess &p)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(p.processId()));
    return rollup.open(QIODevice::ReadOnly) ? rollup.readAll() : QByteArray();
}

Idle measure(const QString &program, const QString &windowClass, const QProcessEnvironment &env,
             const QStringList &arguments = {})
{
    Idle idle;
    QProcess p;
    p.setProcessEnvironment(env);
    tavolen::test::tieToThisProcess(p);
    QElapsedTimer timer;
    timer.start();
    p.start(program, arguments);
    while (timer.elapsed() < 15000) {
        if (docked(windowClass, env)) {
            idle.toTrayMs = double(timer.nsecsElapsed()) / 1e6;
            break;
        }
        QThread::msleep(5);
    }
    QThread::sleep(smokeRun() ? 1 : 5); // at rest: the ready note has gone
    const QByteArray rollup = rollupOf(p);
    idle.rssMB = field(rollup, "Rss");
    idle.pssMB = field(rollup, "Pss");
    p.terminate();
    p.waitForFinished(5000);
    return idle;
}

double residentOf(const QProcess &p)
{
    return field(rollupOf(p), "Rss");
}

// One whole loop as a user runs it: the hot key, a drag, the upload, the
// reading in its panel; returns once the service has been asked and the
// panel has had time to show the result.
bool captureOnce(tavolen::test::ScriptedServer &service, const QProcessEnvironment &env)
{
    using namespace tavolen;
    const qsizetype before = service.requests(test::kStream).size();
    service.script(test::kStream,
                   test::ScriptedResponse::stream({test::eventLines("result", test::envelopeJson())}));
    run(QStringLiteral("xdotool"), {"key", "alt+shift+s"}, env);
    QThread::msleep(700);
    run(QStringLiteral("xdotool"),
        {"mousemove", "300", "300", "mousedown", "1", "mousemove", "400", "360", "mousemove", "500", "420",
         "mouseup", "1"},
        env);
    QElapsedTimer waited;
    waited.start();
    while (service.requests(test::kStream).size() == before) {
        if (waited.elapsed() > 10000)
            return false;
        QThread::msleep(20);
    }
    QThread::msleep(1500);
    return true;
}

struct AfterCaptures {
    double afterFirstMB = 0;
    double afterMoreMB = 0;
    double laterMB = 0; // once the overlay's kept windows and grab memory have gone
};

constexpr int kMoreCaptures = 10;

AfterCaptures measureCaptures(const QString &program, QProcessEnvironment env)
{
    tavolen::test::ScriptedServer service;
    QTemporaryDir home;
    QSettings conf(home.filePath(QStringLiteral("tavolen/tavolen.conf")), QSettings::IniFormat);
    conf.setValue(QStringLiteral("onboard_done"), true);
    conf.setValue(QStringLiteral("api_base"), service.baseUrl());
    conf.sync();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    QProcess p;
    p.setProcessEnvironment(env);
    tavolen::test::tieToThisProcess(p);
    p.start(program, {});
    QThread::sleep(5);
    AfterCaptures result;
    if (captureOnce(service, env)) {
        QThread::sleep(2);
        result.afterFirstMB = residentOf(p);
        for (int i = 0, more = runsOf(kMoreCaptures); i < more; ++i) {
            if (!captureOnce(service, env))
                std::fprintf(stderr, "tavolen-bench idle: capture %d did not reach the service\n", i + 2);
        }
        QThread::sleep(2);
        result.afterMoreMB = residentOf(p);
        const auto overlayGone = tavolen::capture::SelectionOverlay::kKeepWarm + std::chrono::seconds(3);
        if (!smokeRun())
            QThread::sleep(std::chrono::duration_cast<std::chrono::seconds>(overlayGone).count());
        result.laterMB = residentOf(p);
    } else {
        std::fprintf(stderr, "tavolen-bench idle: the first capture did not reach the service\n");
    }
    p.terminate();
    p.waitForFinished(5000);
    return result;
}

} // namespace

int runIdleBench(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    auto xvfb = BenchXvfb::start(QSize(1920, 1080));
    if (!xvfb) {
        std::fprintf(stderr, "tavolen-bench idle: Xvfb did not start\n");
        return 1;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), xvfb->display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QTemporaryDir home;
    QSettings(home.filePath(QStringLiteral("tavolen/tavolen.conf")), QSettings::IniFormat)
        .setValue(QStringLiteral("onboard_done"), true);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());

    QProcess tray;
    tray.setProcessEnvironment(env);
    tavolen::test::tieToThisProcess(tray);
    tray.start(QStringLiteral("trayer"), {"--edge", "top", "--align", "right", "--SetDockType", "true"});
    if (!tray.waitForStarted()) {
        std::fprintf(stderr, "tavolen-bench idle: trayer did not start\n");
        return 1;
    }
    QThread::sleep(1);
    const QString dir = QCoreApplication::applicationDirPath();
    const QString minimalTray = QDir(dir).filePath(QStringLiteral("tavolen-bench-minimal-tray"));
    const Idle minimal = measure(minimalTray, QStringLiteral("tavolen-bench-minimal-tray"), env);
    const Idle noted =
        measure(minimalTray, QStringLiteral("tavolen-bench-minimal-tray"), env, {QStringLiteral("--note")});
    const QString tavolen = QDir(dir).filePath(QStringLiteral("../src/tavolen"));
    const Idle ours = measure(tavolen, QStringLiteral("tavolen"), env);
    const AfterCaptures captures = measureCaptures(tavolen, env);
    tray.terminate();
    tray.waitForFinished(3000);

    report("idle_start_to_tray", ours.toTrayMs, minimal.toTrayMs, "ms");
    report("idle_rss", ours.rssMB, minimal.rssMB, "MB");
    report("idle_pss", ours.pssMB, minimal.pssMB, "MB");
    // Against the same program that once showed a line of text, as our ready note does.
    report("idle_rss_vs_tray_with_a_note", ours.rssMB, noted.rssMB, "MB");
    report("idle_pss_vs_tray_with_a_note", ours.pssMB, noted.pssMB, "MB");
    // Both with a reading's panel on screen, at rest.
    report("rss_after_11_captures_vs_after_first", captures.afterMoreMB, captures.afterFirstMB, "MB");
    report("rss_a_minute_after_captures_vs_at_rest", captures.laterMB, ours.rssMB, "MB");
    return 0;
}
