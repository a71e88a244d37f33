// Starts the X session named by --x-session before the QApplication exists,
// so that this process, the app under test, sees exactly those screens.
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

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
    QStringList line{name, QString::number(double(w + 160) * double(h + 30) * 60.0 / 1e6, 'f', 2)};
    for (int v : {w, w + 48, w + 80, w + 160, h, h + 3, h + 8, h + 30})
        line << QString::number(v);
    return line << QStringLiteral("+hsync") << QStringLiteral("+vsync");
}

// An X server of the test's own, on a display number the server picks itself
// (-displayfd), with openbox as its window manager. Stopped on destruction.
class XSession {
public:
    ~XSession()
    {
        stop(m_windowManager);
        stop(m_server);
    }

    // Starts the server, lays out `heads` with xrandr when there are several
    // (Xvfb shows Qt only one screen, whatever its options), then openbox.
    // What went wrong, or nothing.
    QString start(const QString &command, const QList<QRect> &heads = {})
    {
        // The server writes its display number to fd 3 once it accepts clients.
        const QString numberFile = m_dir.filePath(QStringLiteral("display"));
        m_server.setStandardOutputFile(QProcess::nullDevice());
        m_server.setStandardErrorFile(m_dir.filePath(QStringLiteral("server.log")));
        m_server.start(QStringLiteral("/bin/sh"),
                       {QStringLiteral("-c"),
                        QStringLiteral("exec %1 -displayfd 3 3>%2").arg(command, quoted(numberFile))});
        for (QDeadlineTimer deadline(kStartTimeoutMs); m_display.isEmpty();) {
            if (deadline.hasExpired() || m_server.state() == QProcess::NotRunning)
                return QStringLiteral("X server did not start: %1").arg(command);
            QFile file(numberFile);
            if (file.open(QIODevice::ReadOnly) && file.peek(64).endsWith('\n'))
                m_display = QLatin1Char(':') + QString::fromLatin1(file.readAll().trimmed());
            else
                m_server.waitForFinished(20);
        }
        if (heads.size() > 1 && !placeHeads(heads))
            return QStringLiteral("xrandr could not set up %1 heads").arg(heads.size());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        m_windowManager.setProcessEnvironment(env);
        m_windowManager.setStandardOutputFile(QProcess::nullDevice());
        m_windowManager.setStandardErrorFile(QProcess::nullDevice());
        m_windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        for (QDeadlineTimer deadline(kStartTimeoutMs); !deadline.hasExpired(); QThread::msleep(20))
            if (run(QStringLiteral("xprop"),
                    {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                    .contains("window id"))
                return {};
        return QStringLiteral("openbox did not start on %1").arg(m_display);
    }

    QString display() const { return m_display; } // ":N"
    QString logFile() const { return m_dir.filePath(QStringLiteral("xorg.log")); }

private:
    bool placeHeads(const QList<QRect> &heads)
    {
        QStringList layout;
        for (qsizetype i = 0; i < heads.size(); ++i) {
            const QRect &head = heads[i];
            const QString output = QStringLiteral("DUMMY%1").arg(i);
            const QString name = QStringLiteral("tv%1x%2").arg(head.width()).arg(head.height());
            run(QStringLiteral("xrandr"),
                QStringList{QStringLiteral("--newmode")} + modeline(name, head.size()));
            run(QStringLiteral("xrandr"), {QStringLiteral("--addmode"), output, name});
            layout << QStringLiteral("--output") << output << QStringLiteral("--mode") << name
                   << QStringLiteral("--pos") << QStringLiteral("%1x%2").arg(head.x()).arg(head.y());
        }
        run(QStringLiteral("xrandr"), layout);
        return run(QStringLiteral("xrandr"), {QStringLiteral("--listactivemonitors")})
            .startsWith(QStringLiteral("Monitors: %1").arg(heads.size()).toLatin1());
    }

    // Runs an X client on this display and returns what it printed; empty
    // when it failed. Blocks; usable before the QApplication.
    QByteArray run(const QString &program, const QStringList &arguments) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        process.setProcessEnvironment(env);
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(program, arguments);
        if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0)
            return {};
        return process.readAllStandardOutput();
    }

    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_windowManager;
    QString m_display;
};

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QByteArray name = "single";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--x-session=", 12) == 0)
            name = QByteArray(argv[i] + 12);

    XSession session;
    QString error = QStringLiteral("unknown --x-session");
    if (name.startsWith("single"))
        error = session.start(QStringLiteral("Xvfb -screen 0 1280x1024x24 -nolisten tcp -noreset"));
    else if (name.startsWith("dual"))
        error = session.start(QStringLiteral("Xorg -config %1 -noreset -nolisten tcp -logfile %2")
                                  .arg(quoted(QStringLiteral(TAVOLEN_DUMMY_CONF)), quoted(session.logFile())),
                              {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)});
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", name.constData(), qPrintable(error));
        return 1;
    }

    qputenv("DISPLAY", session.display().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (name == "single-scaled")
        qputenv("QT_SCREEN_SCALE_FACTORS", "2");
    else if (name == "dual-second-scaled")
        qputenv("QT_SCREEN_SCALE_FACTORS", "DUMMY0=1;DUMMY1=2");
    else
        qunsetenv("QT_SCREEN_SCALE_FACTORS");

    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
