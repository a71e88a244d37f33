#pragma once

#include "e2e/harness/Desktop.h"

#include <QImage>

#include <gtest/gtest.h>

namespace tavolen::e2e {

inline const QList<QColor> kWarm{QColor(220, 40, 40), QColor(40, 190, 60), QColor(40, 70, 220),
                                 QColor(230, 200, 30)};
inline const QList<QColor> kCool{QColor(20, 200, 200), QColor(200, 40, 200), QColor(250, 140, 20),
                                 QColor(240, 240, 240)};

// Checks the JPEG against the window's pattern at every quadrant centre the
// JPEG covers. `origin`: the native desktop pixel of the JPEG's top-left.
// Returns how many points were compared.
inline int expectShows(const QImage &jpeg, QPoint origin, const ForeignWindow &window)
{
    int compared = 0;
    for (const QPoint &p : window.quadrantCentres()) {
        const QPoint inJpeg = p - origin;
        if (!jpeg.rect().contains(inJpeg))
            continue;
        ++compared;
        const QColor actual = jpeg.pixelColor(inJpeg);
        EXPECT_TRUE(sameColour(actual, *window.colourAt(p)))
            << "at " << p.x() << "," << p.y() << ": got " << actual.name().toStdString() << ", painted "
            << window.colourAt(p)->name().toStdString();
    }
    return compared;
}

inline QString num(int v)
{
    return QString::number(v);
}

// Presses at `from`, moves in a few steps and releases at `to` (native).
inline void drag(QPoint from, QPoint to)
{
    const QPoint mid = (from + to) / 2;
    xdotool({QStringLiteral("mousemove"), num(from.x()), num(from.y()), QStringLiteral("mousedown"),
             QStringLiteral("1"), QStringLiteral("mousemove"), num(mid.x()), num(mid.y()),
             QStringLiteral("mousemove"), num(to.x()), num(to.y()), QStringLiteral("mouseup"),
             QStringLiteral("1")});
}

inline void click(QPoint at)
{
    xdotool({QStringLiteral("mousemove"), num(at.x()), num(at.y()), QStringLiteral("click"),
             QStringLiteral("1")});
}

} // namespace tavolen::e2e
