// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QScreen>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <memory>
#include <optional>

// The desktop the end-to-end tests act on: X clients, the pointer, and
// windows of another process.
namespace tavolen::e2e {

// Runs an X client to its end and returns its output. Blocks.
inline QByteArray xclient(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    process.waitForFinished(10000);
    return process.readAllStandardOutput();
}

// The clipboard's text as another program reads it. Our event loop keeps
// running meanwhile: on X11 the clipboard's owner (this process) answers.
inline QByteArray clipboardText()
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStringLiteral("xclip"), {"-o", "-selection", "clipboard"});
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000))
        return {};
    return process.readAllStandardOutput();
}

// Runs xdotool and waits for it, keeping this process's event loop running
// meanwhile (the overlay under test lives here).
inline void xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start("xdotool", arguments);
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000))
        process.kill();
}

// Stops a process of the test's own: asks it to end, then insists.
inline void stop(QProcess &process)
{
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
    process.waitForFinished(3000);
}

inline void pressEscape()
{
    xdotool({"key", "Escape"});
}

inline void click(QPoint at) // native pixels
{
    xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

// Presses at `from`, moves in a few steps and releases at `to` (native).
inline void drag(QPoint from, QPoint to)
{
    QStringList steps{"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"};
    for (const QPoint p : {(from + to) / 2, to})
        steps << "mousemove" << QString::number(p.x()) << QString::number(p.y());
    xdotool(steps << "mouseup"
                  << "1");
}

// The window that has the focus according to the window manager.
inline std::optional<quint32> activeWindow()
{
    const QString out = xclient("xprop", {"-root", "_NET_ACTIVE_WINDOW"});
    const auto m = QRegularExpression("window id # (0x[0-9a-f]+)").match(out);
    const quint32 id = m.hasMatch() ? m.captured(1).toUInt(nullptr, 16) : 0;
    return id ? std::optional(id) : std::nullopt;
}

// True while a selection overlay (of any process) is on screen. A test
// that drives another process waits for this, not for a guess of its speed.
inline bool overlayShown()
{
    return !xclient("xdotool", {"search", "--onlyvisible", "--name", "^Tavolen selection$"})
                .trimmed()
                .isEmpty();
}

// True when the window manager has given the focus to a window of the
// installed app (`tavolen`, in any process), such as a clicked panel.
inline bool tavolenHasFocus()
{
    const std::optional<quint32> active = activeWindow();
    if (!active)
        return false;
    const QList<QByteArray> ids = xclient("xdotool", {"search", "--classname", "^tavolen$"}).split('\n');
    return std::any_of(ids.begin(), ids.end(), [&](const QByteArray &id) { return id.toUInt() == *active; });
}

// True when `window` (a client window) is the front-most of the window
// manager's stacking order, which is what the overlay's window list reads.
inline bool inFront(quint32 window)
{
    const QString out = xclient("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"});
    const QStringList ids = out.section(QLatin1Char('#'), 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    return !ids.isEmpty() && ids.back().trimmed().toUInt(nullptr, 16) == window;
}

// The whole desktop as it is on screen now (as the compositor painted it,
// when one runs), at native pixels.
inline QImage screenshot()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

inline const QList<QColor> kWarm{QColor(220, 40, 40), QColor(40, 190, 60), QColor(40, 70, 220),
                                 QColor(230, 200, 30)};
inline const QList<QColor> kCool{QColor(20, 200, 200), QColor(200, 40, 200), QColor(250, 140, 20),
                                 QColor(240, 240, 240)};

// A window of another process, showing four flat colour quadrants.
class ForeignWindow {
public:
    // Opens one with its client area asked at `where` (native pixels) and
    // waits until it is painted and the window manager has framed it.
    // With `text`, lines of it in black cover the quadrants.
    static std::unique_ptr<ForeignWindow> open(QRect where, QList<QColor> quadrants, const QString &text = {})
    {
        std::unique_ptr<ForeignWindow> w(new ForeignWindow);
        w->m_quadrants = quadrants;
        // A foreign application in every respect, unscaled whatever this process uses.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_SCREEN_SCALE_FACTORS");
        w->m_process.setProcessEnvironment(env);
        w->m_process.setStandardErrorFile(QProcess::nullDevice());
        QStringList args;
        for (int v : {where.x(), where.y(), where.width(), where.height()})
            args << QString::number(v);
        for (const QColor &c : quadrants)
            args << c.name();
        if (!text.isEmpty())
            args << QStringLiteral("pattern") << text;
        w->m_process.start(TAVOLEN_PATTERN_HELPER, args);
        // Generous: a loaded two-core machine can take seconds to start a Qt process.
        if (!QTest::qWaitFor([&] { return w->m_process.canReadLine(); }, 30000))
            return nullptr;
        w->m_id = w->m_process.readLine().trimmed().toUInt();
        if (!w->m_id || !QTest::qWaitFor([&] { return w->readGeometry(); }, 10000))
            return nullptr;
        return w;
    }
    ~ForeignWindow()
    {
        thaw();
        stop(m_process);
    }

    quint32 id() const { return m_id; }
    QRect client() const { return m_client; } // native desktop pixels
    QRect frame() const { return m_frame; }   // with the window manager's decorations
    // A point well inside each quadrant, in native desktop pixels.
    QList<QPoint> quadrantCentres() const
    {
        const int qx = m_client.width() / 4;
        const int qy = m_client.height() / 4;
        const QPoint o = m_client.topLeft();
        return {o + QPoint(qx, qy), o + QPoint(3 * qx, qy), o + QPoint(qx, 3 * qy),
                o + QPoint(3 * qx, 3 * qy)};
    }
    void raise() { xdotool({"windowactivate", "--sync", QString::number(m_id)}); }
    // Stops the process (a busy or hung application: nothing is repainted)
    // or lets it go on.
    void freeze() { ::kill(pid_t(m_process.processId()), SIGSTOP); }
    void thaw() { ::kill(pid_t(m_process.processId()), SIGCONT); }

    // Checks an image of the desktop against the pattern, darkened to
    // `brightness`, at every quadrant centre the image covers, within what
    // JPEG does to flat colours. `origin`: the native desktop pixel of the
    // image's top-left. Returns how many were compared.
    int expectShownIn(const QImage &image, QPoint origin, qreal brightness = 1) const
    {
        const QList<Sample> samples = sample(image, origin, brightness);
        for (const Sample &s : samples)
            EXPECT_LE(s.difference(), kTolerance)
                << "at " << s.at.x() << "," << s.at.y() << ": got " << s.got.name().toStdString()
                << ", expected " << s.expected.name().toStdString();
        return int(samples.size());
    }
    // The same check without failing the test, for waiting on the screen.
    bool shownIn(const QImage &image, QPoint origin, qreal brightness = 1) const
    {
        const QList<Sample> samples = sample(image, origin, brightness);
        return !samples.isEmpty() &&
               std::ranges::all_of(samples, [](const Sample &s) { return s.difference() <= kTolerance; });
    }

private:
    static constexpr int kTolerance = 24;
    struct Sample {
        QPoint at;
        QColor got;
        QColor expected;
        int difference() const
        {
            return std::max({std::abs(got.red() - expected.red()), std::abs(got.green() - expected.green()),
                             std::abs(got.blue() - expected.blue())});
        }
    };

    ForeignWindow() = default;
    QList<Sample> sample(const QImage &image, QPoint origin, qreal brightness) const
    {
        QList<Sample> samples;
        const QList<QPoint> centres = quadrantCentres();
        for (qsizetype i = 0; i < centres.size(); ++i) {
            if (!image.rect().contains(centres[i] - origin))
                continue;
            const QColor &c = m_quadrants[i];
            samples.append({centres[i], image.pixelColor(centres[i] - origin),
                            QColor::fromRgbF(float(c.redF() * brightness), float(c.greenF() * brightness),
                                             float(c.blueF() * brightness))});
        }
        return samples;
    }
    bool readGeometry()
    {
        const QString id = QString::number(m_id);
        const auto e = QRegularExpression("= (\\d+), (\\d+), (\\d+), (\\d+)")
                           .match(xclient("xprop", {"-id", id, "_NET_FRAME_EXTENTS"}));
        if (!e.hasMatch())
            return false; // not managed yet
        const QString info = xclient("xwininfo", {"-id", id});
        auto field = [&](const char *name) {
            return QRegularExpression(QString(name) + ":\\s+(-?\\d+)").match(info).captured(1).toInt();
        };
        m_client = QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                         field("Height"));
        m_frame = m_client.adjusted(-e.captured(1).toInt(), -e.captured(3).toInt(), e.captured(2).toInt(),
                                    e.captured(4).toInt());
        return m_client.isValid();
    }

    QProcess m_process;
    QList<QColor> m_quadrants;
    quint32 m_id = 0;
    QRect m_client;
    QRect m_frame;
};

} // namespace tavolen::e2e
