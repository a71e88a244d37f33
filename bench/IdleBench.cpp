// tavolen-bench idle: the resident app's memory at rest (RSS and PSS) and
// its time from start to its icon in the tray, beside a minimal Qt Widgets
// program with a tray icon, both under Xvfb with trayer as the tray.

#include "BenchDesktop.h"

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

Idle measure(const QString &program, const QString &windowClass, const QProcessEnvironment &env)
{
    Idle idle;
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    p.start(program, {});
    while (timer.elapsed() < 15000) {
        if (docked(windowClass, env)) {
            idle.toTrayMs = double(timer.nsecsElapsed()) / 1e6;
            break;
        }
        QThread::msleep(5);
    }
    QThread::sleep(5); // at rest: the ready note has gone
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(p.processId()));
    if (rollup.open(QIODevice::ReadOnly)) {
        const QByteArray text = rollup.readAll();
        idle.rssMB = field(text, "Rss");
        idle.pssMB = field(text, "Pss");
    }
    p.terminate();
    p.waitForFinished(5000);
    return idle;
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
    tray.start(QStringLiteral("trayer"), {"--edge", "top", "--align", "right", "--SetDockType", "true"});
    if (!tray.waitForStarted()) {
        std::fprintf(stderr, "tavolen-bench idle: trayer did not start\n");
        return 1;
    }
    QThread::sleep(1);
    const QString dir = QCoreApplication::applicationDirPath();
    const Idle minimal = measure(QDir(dir).filePath(QStringLiteral("tavolen-bench-minimal-tray")),
                                 QStringLiteral("tavolen-bench-minimal-tray"), env);
    const Idle ours =
        measure(QDir(dir).filePath(QStringLiteral("../src/tavolen")), QStringLiteral("tavolen"), env);
    tray.terminate();
    tray.waitForFinished(3000);

    report("idle_start_to_tray", ours.toTrayMs, minimal.toTrayMs, "ms");
    report("idle_rss", ours.rssMB, minimal.rssMB, "MB");
    report("idle_pss", ours.pssMB, minimal.pssMB, "MB");
    return 0;
}
