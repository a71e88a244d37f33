#pragma once

#include <QColor>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QStringList>

#include <memory>
#include <optional>

namespace tavolen::e2e {

// Runs xdotool on the test's display and waits for it, keeping this
// process's event loop running meanwhile (the overlay under test lives here).
void xdotool(const QStringList &arguments);
// Runs an X client to its end and returns its output.
QByteArray xclient(const QString &program, const QStringList &arguments);

// A window of another process, showing four flat colour quadrants.
class ForeignWindow {
public:
    // Opens one with its client area asked at `where` (native pixels) and
    // waits until it is painted and the window manager has framed it.
    static std::unique_ptr<ForeignWindow> open(QRect where, QList<QColor> quadrants);
    ~ForeignWindow();

    quint32 id() const { return m_id; }
    QRect client() const { return m_client; } // native desktop pixels
    QRect frame() const { return m_frame; }   // with the window manager's decorations
    // The colour painted at a native desktop point, if it is in the client area.
    std::optional<QColor> colourAt(QPoint native) const;
    // A point well inside each quadrant, in native desktop pixels.
    QList<QPoint> quadrantCentres() const;
    void raise();

private:
    ForeignWindow() = default;
    bool readGeometry();

    QProcess m_process;
    QList<QColor> m_quadrants;
    quint32 m_id = 0;
    QRect m_client;
    QRect m_frame;
};

// The window that has the focus according to the window manager.
std::optional<quint32> activeWindow();

// True when `actual` is within `tolerance` of `expected` in every channel
// (JPEG moves flat colours a little).
bool sameColour(QColor actual, QColor expected, int tolerance = 24);

} // namespace tavolen::e2e
