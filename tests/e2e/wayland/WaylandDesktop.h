// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A Wayland desktop for a test suite: the rig, with a foreign X11 window
// showing four coloured quadrants tiled over the whole output.
#include "e2e/harness/WaylandRig.h"

#include <QColor>
#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace tavolen::e2e {

// The pattern's quadrants: top left, top right, bottom left, bottom right.
inline const QList<QColor> kQuadrants{QColor(220, 40, 40), QColor(40, 190, 60), QColor(40, 70, 220),
                                      QColor(230, 200, 30)};
inline const QSize kOutput(1920, 1080);

inline bool near(QColor a, QColor b, int tolerance = 8)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue())}) <= tolerance;
}

// Whether `image`, a picture of the output from `origin` on, shows the pattern
// at each quadrant's centre it covers.
inline bool showsPattern(const QImage &image, QPoint origin = {})
{
    const int qx = kOutput.width() / 4;
    const int qy = kOutput.height() / 4;
    const QList<QPoint> centres{{qx, qy}, {3 * qx, qy}, {qx, 3 * qy}, {3 * qx, 3 * qy}};
    int compared = 0;
    for (qsizetype i = 0; i < centres.size(); ++i) {
        const QPoint at = centres[i] - origin;
        if (!image.rect().contains(at))
            continue;
        if (!near(image.pixelColor(at), kQuadrants[i]))
            return false;
        ++compared;
    }
    return compared > 0;
}

// Whether `image`, a picture of the whole output, shows nothing but the
// pattern: no window of ours is left on it anywhere.
inline bool showsOnlyPattern(const QImage &image)
{
    if (image.size() != kOutput)
        return false;
    const QPoint middle(kOutput.width() / 2, kOutput.height() / 2);
    for (int y = 12; y < kOutput.height() - 12; y += 24)
        for (int x = 12; x < kOutput.width() - 12; x += 24) {
            // The colour borders blur a little in the compositor's scaling.
            if (std::abs(x - middle.x()) < 8 || std::abs(y - middle.y()) < 8)
                continue;
            if (!near(image.pixelColor(x, y),
                      kQuadrants[(y > middle.y() ? 2 : 0) + (x > middle.x() ? 1 : 0)]))
                return false;
        }
    return true;
}

class WaylandDesktop : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!WaylandRig::available())
            return;
        s_rig = new WaylandRig;
        s_error = s_rig->start();
        if (!s_error.isEmpty())
            return;
        // A foreign X11 application through XWayland: sway tiles it over the
        // whole output.
        const QString helper = s_rig->stage(TAVOLEN_PATTERN_HELPER);
        QStringList argv{helper, "0", "0", "800", "600"};
        for (const QColor &c : kQuadrants)
            argv << c.name();
        QProcessEnvironment xcb;
        xcb.insert("QT_QPA_PLATFORM", "xcb");
        s_pattern = s_rig->spawn(argv, xcb);
        // Generous: a loaded two-core machine can take seconds to start a Qt process.
        for (QDeadlineTimer deadline(30000); !showsPattern(s_rig->grimRegion(QRect(QPoint(), kOutput)));
             QThread::msleep(100))
            if (deadline.hasExpired() || s_pattern->state() == QProcess::NotRunning) {
                s_error = "the pattern window did not show on the output: " +
                          QString::fromUtf8(s_pattern->readAllStandardError().right(2000));
                return;
            }
    }
    static void TearDownTestSuite()
    {
        delete s_rig;
        s_rig = nullptr;
        s_pattern = nullptr;
    }
    void SetUp() override
    {
        if (!WaylandRig::available())
            GTEST_SKIP() << "sway is not installed";
        ASSERT_TRUE(s_error.isEmpty()) << s_error.toStdString();
    }

    static WaylandRig &rig() { return *s_rig; }
    static QProcess &pattern() { return *s_pattern; }

private:
    static inline WaylandRig *s_rig = nullptr;
    static inline QProcess *s_pattern = nullptr;
    static inline QString s_error;
};

} // namespace tavolen::e2e
