// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

namespace tavolen::e2e {

// A headless Wayland desktop of the test's own: sway (with XWayland),
// PipeWire and the desktop portal with its wlroots and GTK backends, on a
// private D-Bus session bus, all in a fresh directory. sway refuses to run as
// root, so when the test is root the rig runs as the unprivileged user
// 65534; the programs the test runs inside the session run as that user too.
// Everything waits a bounded time; stop() (or the destructor) ends every
// process of the rig and removes its directory. Should this process die
// first, what it runs in the session dies with it, and the rig stops itself
// once its launcher's input closes.
class WaylandRig {
public:
    WaylandRig();
    ~WaylandRig();
    WaylandRig(const WaylandRig &) = delete;
    WaylandRig &operator=(const WaylandRig &) = delete;

    // Whether sway is installed at all: without it there is no rig to start.
    static bool available();

    // Starts the rig and waits until the compositor, XWayland and the portal
    // answer. What went wrong (the step, its reason and its log), or nothing.
    QString start(int timeoutMs = 45000);
    void stop();

    // The session's environment: WAYLAND_DISPLAY, SWAYSOCK, DISPLAY (of
    // XWayland), DBUS_SESSION_BUS_ADDRESS, XDG_RUNTIME_DIR, HOME and PATH.
    QProcessEnvironment environment() const { return m_environment; }
    QString value(const QString &name) const { return m_environment.value(name); }
    // The rig's directory; readable by the rig's user, removed by stop().
    QString dir() const { return m_dir ? m_dir->path() : QString(); }
    // A copy of `file` inside the rig's directory that the rig's user can run
    // or read (the build tree need not be readable by it).
    QString stage(const QString &file);

    // Runs argv[0] with its arguments inside the session, feeding it `input`,
    // and returns its exit code, or -1 if it did not start, crashed or took
    // longer than `timeoutMs` (it is killed then). This process's event loop
    // keeps running meanwhile.
    int run(const QStringList &argv, QByteArray *out = nullptr, int timeoutMs = 10000,
            const QByteArray &input = {});
    // Starts a long-running program inside the session, with `extra`
    // variables on top of the session's. The rig owns it and stops it first
    // in stop(). Its output channels are the caller's to read.
    QProcess *spawn(const QStringList &argv, const QProcessEnvironment &extra = {});

    // The pointer, for X11 clients (the app runs on XWayland): desktop pixels
    // of the 1920x1080 output. Through XTEST inside XWayland, because the
    // headless seat has no pointer device: sway's own `seat cursor` commands
    // move its cursor but no client hears of them.
    bool moveTo(QPoint at);
    bool press();
    bool release();
    // Presses at `from`, moves in steps and releases at `to`.
    bool drag(QPoint from, QPoint to);

    // The output's pixels in `region`, as grim grabs them; null if grim failed.
    QImage grimRegion(const QRect &region);
    // The Wayland clipboard's text, or nothing if it is empty or no owner answered.
    std::optional<QByteArray> pasteText(int timeoutMs = 3000);

    // The last lines of a rig program's log (sway, pipewire, portal, portal-wlr, portal-gtk).
    QString logTail(const QString &name, int lines = 20) const;

private:
    QString waitUntilReady(int timeoutMs);
    QString failure(const QString &reason) const;
    void prepare(QProcess &process, const QStringList &argv, const QProcessEnvironment &extra) const;
    bool xdotool(const QStringList &arguments);
    void killLeftovers();

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_launcher;
    QProcessEnvironment m_environment;
    std::vector<std::unique_ptr<QProcess>> m_spawned;
    bool m_asRoot = false;
};

} // namespace tavolen::e2e
