// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/harness/WaylandRig.h"

#include "support/TiedProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace tavolen::e2e {

namespace {

// sway will not run as root; nobody owns nothing else a rig could disturb.
constexpr uid_t kRigUid = 65534;
constexpr gid_t kRigGid = 65534;
// Every process of a rig inherits this variable, naming the rig's directory:
// what stop() looks for to find the ones that left the process group (sway
// runs its `exec` commands in sessions of their own, xclip and wl-copy fork
// to serve their selection).
constexpr char kMarker[] = "TAVOLEN_WAYLAND_RIG";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool giveToRigUser(const QString &path, bool asRoot)
{
    return !asRoot || ::chown(QFile::encodeName(path).constData(), kRigUid, kRigGid) == 0;
}

// Waits for `process` to end, keeping this process's event loop running (the
// app under test may live here and have to answer, e.g. as clipboard owner).
bool finishWithin(QProcess &process, int timeoutMs)
{
    for (QDeadlineTimer deadline(timeoutMs); process.state() != QProcess::NotRunning;) {
        if (deadline.hasExpired())
            return false;
        process.waitForFinished(20);
        QCoreApplication::processEvents();
    }
    return true;
}

void stopProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
    process.waitForFinished(3000);
}

// The processes whose environment holds `entry`, but for zombies.
QList<pid_t> processesWith(const QByteArray &entry)
{
    QList<pid_t> found;
    for (const QString &name : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const pid_t pid = pid_t(name.toInt(&isPid));
        if (!isPid || pid == ::getpid())
            continue;
        const QByteArray stat = readFile("/proc/" + name + "/stat");
        const qsizetype close = stat.lastIndexOf(')');
        if (close < 0 || stat.mid(close + 2, 1) == "Z")
            continue;
        if (readFile("/proc/" + name + "/environ").split('\0').contains(entry))
            found.append(pid);
    }
    return found;
}

} // namespace

WaylandRig::WaylandRig() : m_asRoot(::geteuid() == 0)
{}

WaylandRig::~WaylandRig()
{
    stop();
}

bool WaylandRig::available()
{
    return !QStandardPaths::findExecutable("sway").isEmpty();
}

QString WaylandRig::start(int timeoutMs)
{
    stop();
    // Under /tmp whatever TMPDIR says: the rig's user must reach it, and the
    // sockets inside must keep their paths short.
    m_dir = std::make_unique<QTemporaryDir>("/tmp/tavolen-wayland-XXXXXX");
    if (!m_dir->isValid())
        return "Wayland rig: cannot create its directory: " + m_dir->errorString();
    const QString root = m_dir->path();
    const QString script = root + "/wayland-rig.sh";
    if (!QFile::copy(TAVOLEN_WAYLAND_RIG_SCRIPT, script))
        return QString("Wayland rig: cannot copy %1").arg(TAVOLEN_WAYLAND_RIG_SCRIPT);
    for (const QString sub : {"run", "home"})
        if (!QDir(root).mkdir(sub) ||
            !QFile::setPermissions(root + '/' + sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return "Wayland rig: cannot create " + root + '/' + sub;
    for (const QString &path : {root, script, root + "/run", root + "/home"})
        if (!giveToRigUser(path, m_asRoot))
            return "Wayland rig: cannot hand over " + path + " to uid 65534";

    QProcessEnvironment env;
    env.insert("PATH", "/usr/local/bin:/usr/bin:/bin");
    env.insert("LANG", "C.UTF-8");
    env.insert("HOME", root + "/home");
    env.insert("XDG_RUNTIME_DIR", root + "/run");
    env.insert(kMarker, root);
    m_environment = env;

    m_launcher.setStandardOutputFile(root + "/launcher.log");
    m_launcher.setStandardErrorFile(root + "/launcher.log", QIODevice::Append);
    // A process group of its own, so that stop() can end it whole. Not tied
    // to this process like the others: a SIGKILL would leave its bus daemon
    // running. It ends with this process all the same, through its standard
    // input, and stops everything it started on the way.
    m_launcher.setChildProcessModifier([] { ::setsid(); });
    prepare(m_launcher, {"sh", script, root}, {});
    m_launcher.start();
    if (!m_launcher.waitForStarted(10000))
        return failure("the launcher did not start: " + m_launcher.errorString());
    const QString error = waitUntilReady(timeoutMs);
    if (!error.isEmpty())
        return error;

    const QList<QByteArray> lines = readFile(root + "/env").split('\n');
    for (const QByteArray &line : lines)
        if (const qsizetype eq = line.indexOf('='); eq > 0)
            m_environment.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    return {};
}

QString WaylandRig::waitUntilReady(int timeoutMs)
{
    const QString root = dir();
    for (QDeadlineTimer deadline(timeoutMs); !QFile::exists(root + "/env");) {
        if (QFile::exists(root + "/failed"))
            return failure(QString::fromUtf8(readFile(root + "/failed").trimmed()));
        if (m_launcher.state() == QProcess::NotRunning)
            return failure("the launcher ended");
        if (deadline.hasExpired())
            return failure(QString("not ready within %1 ms").arg(timeoutMs));
        m_launcher.waitForFinished(50);
    }
    return {};
}

QString WaylandRig::failure(const QString &reason) const
{
    const QString step = QString::fromUtf8(readFile(dir() + "/step").trimmed());
    QString report = QString("Wayland rig: %1, at step \"%2\"").arg(reason, step);
    const auto log = QRegularExpression("log/([\\w-]+)\\.log").match(step);
    if (log.hasMatch())
        report += "\n--- " + log.captured(0) + ":\n" + logTail(log.captured(1));
    report += "\n--- launcher.log:\n" + QString::fromUtf8(readFile(dir() + "/launcher.log").right(2000));
    return report;
}

QString WaylandRig::logTail(const QString &name, int lines) const
{
    const QList<QByteArray> all = readFile(dir() + "/log/" + name + ".log").split('\n');
    return QString::fromUtf8(all.mid(std::max<qsizetype>(0, all.size() - lines - 1)).join('\n'));
}

void WaylandRig::prepare(QProcess &process, const QStringList &argv, const QProcessEnvironment &extra) const
{
    QProcessEnvironment env = m_environment;
    for (const QString &name : extra.keys())
        env.insert(name, extra.value(name));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir());
    if (m_asRoot) {
        // The kernel forgets a parent-death signal on the change of user;
        // setpriv sets it again.
        process.setProgram("setpriv");
        process.setArguments(
            QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", "--pdeathsig=keep", "--"} + argv);
    } else {
        process.setProgram(argv.value(0));
        process.setArguments(argv.mid(1));
    }
}

QString WaylandRig::stage(const QString &file)
{
    const QString copy = dir() + '/' + QFileInfo(file).fileName();
    QFile::remove(copy);
    if (!QFile::copy(file, copy) || !giveToRigUser(copy, m_asRoot))
        return {};
    return copy;
}

int WaylandRig::run(const QStringList &argv, QByteArray *out, int timeoutMs, const QByteArray &input)
{
    QProcess process;
    prepare(process, argv, {});
    test::tieToThisProcess(process);
    if (!out)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(5000))
        return -1;
    process.write(input);
    process.closeWriteChannel();
    if (!finishWithin(process, timeoutMs)) {
        process.kill();
        process.waitForFinished(3000);
        return -1;
    }
    if (out)
        *out = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QProcess *WaylandRig::spawn(const QStringList &argv, const QProcessEnvironment &extra)
{
    auto &process = m_spawned.emplace_back(std::make_unique<QProcess>());
    prepare(*process, argv, extra);
    test::tieToThisProcess(*process);
    process->start();
    return process.get();
}

bool WaylandRig::xdotool(const QStringList &arguments)
{
    return run(QStringList{"xdotool"} + arguments) == 0;
}

bool WaylandRig::moveTo(QPoint at)
{
    return xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
}

bool WaylandRig::press()
{
    return xdotool({"mousedown", "1"});
}

bool WaylandRig::release()
{
    return xdotool({"mouseup", "1"});
}

bool WaylandRig::drag(QPoint from, QPoint to)
{
    bool ok = moveTo(from) && press();
    // Several steps, as a hand moves: drag thresholds need motion while pressed.
    for (int i = 1; ok && i <= 4; ++i)
        ok = moveTo(from + (to - from) * i / 4);
    return release() && ok;
}

QImage WaylandRig::grimRegion(const QRect &region)
{
    QByteArray png;
    const QString geometry =
        QString("%1,%2 %3x%4").arg(region.x()).arg(region.y()).arg(region.width()).arg(region.height());
    if (run({"grim", "-g", geometry, "-"}, &png) != 0)
        return {};
    return QImage::fromData(png, "PNG");
}

std::optional<QByteArray> WaylandRig::pasteText(int timeoutMs)
{
    QByteArray text;
    if (run({"wl-paste", "--no-newline"}, &text, timeoutMs) != 0)
        return std::nullopt;
    return text;
}

void WaylandRig::stop()
{
    // The programs under test first: they may still talk to the rig.
    for (auto &process : m_spawned)
        stopProcess(*process);
    m_spawned.clear();
    if (!m_dir)
        return;
    if (m_launcher.state() != QProcess::NotRunning) {
        QFile(dir() + "/stop").open(QIODevice::WriteOnly);
        m_launcher.closeWriteChannel();
        if (!m_launcher.waitForFinished(5000))
            ::kill(-pid_t(m_launcher.processId()), SIGKILL);
        m_launcher.waitForFinished(3000);
    }
    killLeftovers();
    m_dir.reset();
    m_environment = {};
}

void WaylandRig::killLeftovers()
{
    const QByteArray entry = QByteArray(kMarker) + '=' + QFile::encodeName(dir());
    for (QDeadlineTimer deadline(5000); !deadline.hasExpired(); QThread::msleep(50)) {
        const QList<pid_t> left = processesWith(entry);
        if (left.isEmpty())
            return;
        for (pid_t pid : left)
            ::kill(pid, SIGKILL);
    }
}

} // namespace tavolen::e2e
