#include "e2e/harness/XSession.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace tavolen::e2e {

namespace {

constexpr int kStartTimeoutMs = 15000;

QString quoted(const QString &s)
{
    return QLatin1Char('\'') + QString(s).replace(QLatin1String("'"), QLatin1String("'\\''")) +
           QLatin1Char('\'');
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

// A mode for the dummy driver: it needs no real timings, only ones inside the
// configured sync ranges.
QStringList modeline(const QString &name, QSize size)
{
    const int w = size.width();
    const int h = size.height();
    const double clockMHz = double(w + 160) * double(h + 30) * 60.0 / 1e6;
    QStringList line{name, QString::number(clockMHz, 'f', 2)};
    for (int v : {w, w + 48, w + 80, w + 160, h, h + 3, h + 8, h + 30})
        line << QString::number(v);
    line << QStringLiteral("+hsync") << QStringLiteral("+vsync");
    return line;
}

} // namespace

std::unique_ptr<XSession> XSession::startXvfb(QSize size, QString *error)
{
    std::unique_ptr<XSession> session(new XSession);
    const QString screen = QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height());
    if (!session->startServer(QStringLiteral("Xvfb -screen 0 %1 -nolisten tcp -noreset").arg(screen),
                              error) ||
        !session->startWindowManager(error))
        return nullptr;
    return session;
}

std::unique_ptr<XSession> XSession::startDummy(const QList<Head> &heads, QString *error)
{
    std::unique_ptr<XSession> session(new XSession);
    const QString log = session->m_dir.filePath(QStringLiteral("xorg.log"));
    const QString command = QStringLiteral("Xorg -config %1 -noreset -nolisten tcp -logfile %2")
                                .arg(quoted(QStringLiteral(TAVOLEN_DUMMY_CONF)), quoted(log));
    if (!session->startServer(command, error) || !session->placeHeads(heads, error) ||
        !session->startWindowManager(error))
        return nullptr;
    return session;
}

XSession::~XSession()
{
    stop(m_windowManager);
    stop(m_server);
}

bool XSession::startServer(const QString &command, QString *error)
{
    // The server writes its display number to fd 3 once it accepts clients.
    const QString numberFile = m_dir.filePath(QStringLiteral("display"));
    m_server.setStandardOutputFile(QProcess::nullDevice());
    m_server.setStandardErrorFile(m_dir.filePath(QStringLiteral("server.log")));
    m_server.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("exec %1 -displayfd 3 3>%2").arg(command, quoted(numberFile))});
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!deadline.hasExpired() && m_server.state() != QProcess::NotRunning) {
        QFile file(numberFile);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            if (text.endsWith('\n')) {
                m_display = QLatin1Char(':') + QString::fromLatin1(text.trimmed());
                return true;
            }
        }
        m_server.waitForFinished(20);
    }
    *error = QStringLiteral("X server did not start: %1").arg(command);
    return false;
}

bool XSession::startWindowManager(QString *error)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    m_windowManager.setProcessEnvironment(env);
    m_windowManager.setStandardOutputFile(QProcess::nullDevice());
    m_windowManager.setStandardErrorFile(QProcess::nullDevice());
    m_windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!deadline.hasExpired()) {
        if (run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains("window id"))
            return true;
        QThread::msleep(20);
    }
    *error = QStringLiteral("openbox did not start on %1").arg(m_display);
    return false;
}

bool XSession::placeHeads(const QList<Head> &heads, QString *error)
{
    QStringList layout;
    for (qsizetype i = 0; i < heads.size(); ++i) {
        const Head &head = heads[i];
        const QString output = QStringLiteral("DUMMY%1").arg(i);
        const QString name = QStringLiteral("tv%1x%2").arg(head.size.width()).arg(head.size.height());
        run(QStringLiteral("xrandr"), QStringList{QStringLiteral("--newmode")} + modeline(name, head.size));
        run(QStringLiteral("xrandr"), {QStringLiteral("--addmode"), output, name});
        layout << QStringLiteral("--output") << output << QStringLiteral("--mode") << name
               << QStringLiteral("--pos")
               << QStringLiteral("%1x%2").arg(head.position.x()).arg(head.position.y());
    }
    run(QStringLiteral("xrandr"), layout);
    const QByteArray monitors = run(QStringLiteral("xrandr"), {QStringLiteral("--listactivemonitors")});
    if (!monitors.startsWith(QStringLiteral("Monitors: %1").arg(heads.size()).toLatin1())) {
        *error = QStringLiteral("xrandr could not set up %1 heads: %2")
                     .arg(heads.size())
                     .arg(QString::fromLatin1(monitors));
        return false;
    }
    return true;
}

QByteArray XSession::run(const QString &program, const QStringList &arguments, int timeoutMs) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    process.setProcessEnvironment(env);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

} // namespace tavolen::e2e
