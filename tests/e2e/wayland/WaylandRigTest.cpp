// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Wayland rig itself: what the Wayland end-to-end tests rely on it for.
#include "e2e/wayland/WaylandDesktop.h"

#include <QColor>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using namespace tavolen::e2e;

class WaylandRigTest : public WaylandDesktop {
protected:
    // What the pattern window printed since the last call, after waiting up
    // to `timeoutMs` for `until` to appear.
    static QByteArray patternOutput(const QByteArray &until = {}, int timeoutMs = 0)
    {
        QByteArray out;
        for (QDeadlineTimer deadline(timeoutMs); pattern().waitForReadyRead(50) || !deadline.hasExpired();) {
            out += pattern().readAllStandardOutput();
            if (!until.isEmpty() && out.contains(until))
                break;
        }
        return out + pattern().readAllStandardOutput();
    }
};

TEST_F(WaylandRigTest, GrimGrabsTheOutputAndRegionsOfIt)
{
    const QImage whole = rig().grimRegion(QRect(QPoint(), kOutput));
    EXPECT_EQ(whole.size(), kOutput);
    EXPECT_TRUE(showsPattern(whole));

    // A region across the four quadrants' meeting point: each corner of the
    // picture lies in another quadrant, so an offset or a scaled grab shows.
    const QRect region(kOutput.width() / 2 - 100, kOutput.height() / 2 - 50, 200, 100);
    const QImage piece = rig().grimRegion(region);
    ASSERT_EQ(piece.size(), region.size());
    const QList<QPoint> corners{{10, 10}, {189, 10}, {10, 89}, {189, 89}};
    for (qsizetype i = 0; i < corners.size(); ++i)
        EXPECT_TRUE(near(piece.pixelColor(corners[i]), kQuadrants[i]))
            << "corner " << i << ": " << piece.pixelColor(corners[i]).name().toStdString();
}

TEST_F(WaylandRigTest, ScreenshotPortalAnswersANonInteractiveCall)
{
    const QDateTime called = QDateTime::currentDateTime().addSecs(-1);
    QByteArray out;
    ASSERT_EQ(rig().run({rig().stage(TAVOLEN_PORTAL_SCREENSHOT_HELPER)}, &out, 30000), 0)
        << out.toStdString() << "\n--- portal:\n"
        << rig().logTail("portal").toStdString() << "\n--- portal-wlr:\n"
        << rig().logTail("portal-wlr").toStdString();

    const QList<QByteArray> response = out.trimmed().split(' ');
    ASSERT_EQ(response.size(), 2) << out.toStdString();
    EXPECT_EQ(response[0], "0") << "0: success";
    const QUrl uri(QString::fromUtf8(response[1]));
    const QString path = uri.toLocalFile();
    ASSERT_TRUE(QFileInfo::exists(path)) << response[1].toStdString();
    EXPECT_GE(QFileInfo(path).lastModified(), called) << "a picture from an earlier call";
    const QImage picture(path);
    EXPECT_EQ(picture.size(), kOutput);
    EXPECT_TRUE(showsPattern(picture));
}

TEST_F(WaylandRigTest, PointerPressesAndDragsReachAnXWaylandWindow)
{
    patternOutput(); // its window id, and anything from earlier
    ASSERT_TRUE(rig().drag({400, 300}, {1200, 700}));
    EXPECT_EQ(patternOutput("release", 5000), "press 400 300\nrelease 1200 700\n");

    ASSERT_TRUE(rig().moveTo({1500, 900}));
    ASSERT_TRUE(rig().press());
    ASSERT_TRUE(rig().release());
    EXPECT_EQ(patternOutput("release", 5000), "press 1500 900\nrelease 1500 900\n");
}

// After the suite above: one rig at a time.
TEST(WaylandRigStart, ARigThatIsNotReadyInTimeSaysWhereItStoodAndLeavesNothing)
{
    if (!WaylandRig::available())
        GTEST_SKIP() << "sway is not installed";
    WaylandRig rig;
    const QString error = rig.start(50);
    EXPECT_TRUE(error.startsWith("Wayland rig: not ready within 50 ms, at step \"")) << error.toStdString();
    const QString dir = rig.dir();
    ASSERT_FALSE(dir.isEmpty());
    rig.stop();
    EXPECT_FALSE(QFileInfo::exists(dir));
    EXPECT_TRUE(rig.dir().isEmpty());
}

} // namespace
