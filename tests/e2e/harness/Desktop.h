#pragma once

#include <QColor>
#include <QImage>
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
void click(QPoint at); // native pixels
// Presses at `from`, moves in a few steps and releases at `to` (native).
void drag(QPoint from, QPoint to);
// The window that has the focus according to the window manager.
std::optional<quint32> activeWindow();

inline const QList<QColor> kWarm{QColor(220, 40, 40), QColor(40, 190, 60), QColor(40, 70, 220),
                                 QColor(230, 200, 30)};
inline const QList<QColor> kCool{QColor(20, 200, 200), QColor(200, 40, 200), QColor(250, 140, 20),
                                 QColor(240, 240, 240)};

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
    // A point well inside each quadrant, in native desktop pixels.
    QList<QPoint> quadrantCentres() const;
    void raise();

    // Checks the JPEG against the pattern at every quadrant centre the JPEG
    // covers, within what JPEG does to flat colours. `origin`: the native
    // desktop pixel of the JPEG's top-left. Returns how many were compared.
    int expectShownIn(const QImage &jpeg, QPoint origin) const;

private:
    ForeignWindow() = default;
    bool readGeometry();

    QProcess m_process;
    QList<QColor> m_quadrants;
    quint32 m_id = 0;
    QRect m_client;
    QRect m_frame;
};

} // namespace tavolen::e2e
