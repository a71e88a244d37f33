// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts the X session named by --x-session before the QApplication exists,
// so that this process, the app under test, sees exactly those screens.
#include "e2e/harness/Desktop.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using tavolen::e2e::stop;
using tavolen::e2e::xclient;

constexpr int kStartTimeoutMs = 15000;

QString quoted(QString s)
{
    return '\'' + s.replace("'", "'\\''") + '\'';
}

// Whether a compositing manager has announced itself on DISPLAY's first screen.
bool composited()
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    bool owned = false;
    if (!xcb_connection_has_error(c)) {
        const char name[] = "_NET_WM_CM_S0";
        xcb_intern_atom_reply_t *atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
        xcb_get_selection_owner_reply_t *owner =
            atom ? xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr)
                 : nullptr;
        owned = owner && owner->owner != XCB_WINDOW_NONE;
        std::free(owner);
        std::free(atom);
    }
    xcb_disconnect(c);
    return owned;
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
    return line << "+hsync"
                << "+vsync";
}

// An X server of the test's own, on a display number the server picks itself
// (-displayfd), with openbox as its window manager; DISPLAY names it once it
// has started. Stopped on destruction.
class XSession {
public:
    ~XSession()
    {
        for (QProcess *process : {&m_compositor, &m_windowManager, &m_server})
            stop(*process);
    }

    // Starts the server, lays out `heads` with xrandr when there are several
    // (Xvfb shows Qt only one screen, whatever its options), then openbox.
    // What went wrong, or nothing.
    QString start(const QString &command, const QList<QRect> &heads = {})
    {
        // The server writes its display number to fd 3 once it accepts clients.
        const QString numberFile = m_dir.filePath("display");
        m_server.setStandardOutputFile(QProcess::nullDevice());
        m_server.setStandardErrorFile(m_dir.filePath("server.log"));
        m_server.start("/bin/sh",
                       {"-c", QString("exec %1 -displayfd 3 3>%2").arg(command, quoted(numberFile))});
        for (QDeadlineTimer deadline(kStartTimeoutMs); qEnvironmentVariableIsEmpty("DISPLAY");) {
            if (deadline.hasExpired() || m_server.state() == QProcess::NotRunning)
                return "X server did not start: " + command;
            QFile file(numberFile);
            if (file.open(QIODevice::ReadOnly) && file.peek(64).endsWith('\n'))
                qputenv("DISPLAY", ':' + file.readAll().trimmed());
            else
                m_server.waitForFinished(20);
        }
        if (heads.size() > 1 && !placeHeads(heads))
            return QString("xrandr could not set up %1 heads").arg(heads.size());
        m_windowManager.setStandardOutputFile(QProcess::nullDevice());
        m_windowManager.setStandardErrorFile(QProcess::nullDevice());
        m_windowManager.start("openbox", {"--sm-disable"});
        for (QDeadlineTimer deadline(kStartTimeoutMs); !deadline.hasExpired(); QThread::msleep(20))
            if (xclient("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id"))
                return {};
        return "openbox did not start on " + qEnvironmentVariable("DISPLAY");
    }

    // Starts xcompmgr, so that translucent windows show what lies beneath
    // them. What went wrong, or nothing.
    QString startCompositor()
    {
        m_compositor.setStandardOutputFile(QProcess::nullDevice());
        m_compositor.setStandardErrorFile(QProcess::nullDevice());
        m_compositor.start("xcompmgr", {});
        for (QDeadlineTimer deadline(kStartTimeoutMs); !deadline.hasExpired(); QThread::msleep(20))
            if (composited())
                return {};
        return "xcompmgr did not start compositing " + qEnvironmentVariable("DISPLAY");
    }

    QString logFile() const { return m_dir.filePath("xorg.log"); }

private:
    static bool placeHeads(const QList<QRect> &heads)
    {
        QStringList layout;
        for (qsizetype i = 0; i < heads.size(); ++i) {
            const QRect &head = heads[i];
            const QString output = QString("DUMMY%1").arg(i);
            const QString name = QString("tv%1x%2").arg(head.width()).arg(head.height());
            xclient("xrandr", QStringList{"--newmode"} + modeline(name, head.size()));
            xclient("xrandr", {"--addmode", output, name});
            layout << "--output" << output << "--mode" << name << "--pos"
                   << QString("%1x%2").arg(head.x()).arg(head.y());
        }
        xclient("xrandr", layout);
        return xclient("xrandr", {"--listactivemonitors"})
            .startsWith(QString("Monitors: %1").arg(heads.size()).toLatin1());
    }

    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_windowManager;
    QProcess m_compositor;
};

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QByteArray name = "single";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--x-session=", 12) == 0)
            name = QByteArray(argv[i] + 12);

    qunsetenv("DISPLAY");
    XSession session;
    QString error = "unknown --x-session";
    if (name.startsWith("single"))
        // No backing store, as on many desktops: what a window does not
        // repaint stays as the last window above it left it.
        error = session.start(QString("Xvfb -screen 0 1280x1024x%1 -bs -nolisten tcp -noreset")
                                  .arg(name.endsWith("-16bit")   ? 16
                                       : name.endsWith("-30bit") ? 30
                                                                 : 24));
    else if (name.startsWith("dual"))
        error = session.start(QString("Xorg -config %1 -noreset -nolisten tcp -logfile %2")
                                  .arg(quoted(TAVOLEN_DUMMY_CONF), quoted(session.logFile())),
                              {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)});
    if (error.isEmpty() && name.endsWith("-composited"))
        error = session.startCompositor();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", name.constData(), qPrintable(error));
        return 1;
    }

    qputenv("QT_QPA_PLATFORM", "xcb");
    // The X server we started is the session, even inside a Wayland desktop.
    qputenv("TAVOLEN_SESSION", "x11");
    if (name == "single-scaled")
        qputenv("QT_SCREEN_SCALE_FACTORS", "2");
    else if (name == "dual-second-scaled")
        qputenv("QT_SCREEN_SCALE_FACTORS", "DUMMY0=1;DUMMY1=2");
    else
        qunsetenv("QT_SCREEN_SCALE_FACTORS");

    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
