#include "capture/SelectionTargets.h"

#include <gtest/gtest.h>

using namespace tavolen::capture;

namespace {
const ScreenMetrics kLeft{QRect(0, 0, 1920, 1080), 1.0};
const ScreenMetrics kRightRetina{QRect(1920, 0, 1280, 720), 2.0};
} // namespace

TEST(SelectionTargets, WindowsBelow80By60LogicalPixelsCannotBePicked)
{
    const QList<QRect> windows{QRect(0, 0, 80, 60), QRect(0, 0, 79, 60), QRect(0, 0, 80, 59),
                               QRect(0, 0, 81, 61)};
    EXPECT_EQ(pickableWindows(windows, {kLeft}), (QList<QRect>{QRect(0, 0, 80, 60), QRect(0, 0, 81, 61)}));
}

TEST(SelectionTargets, MinimumIsMeasuredInTheWindowsScreensLogicalPixels)
{
    const QList<QRect> windows{QRect(2000, 0, 160, 120), QRect(2000, 0, 158, 120)};
    EXPECT_EQ(pickableWindows(windows, {kLeft, kRightRetina}), (QList<QRect>{QRect(2000, 0, 160, 120)}));
}

TEST(SelectionTargets, EachScreenGetsItsOwnPartsInFrontToBackOrder)
{
    const QList<QRect> windows{QRect(100, 100, 300, 200), QRect(1800, 0, 400, 200),
                               QRect(2400, 100, 200, 200)};
    EXPECT_EQ(targetsOnScreen(windows, kLeft),
              (QList<QRectF>{QRectF(100, 100, 300, 200), QRectF(1800, 0, 120, 200)}));
    EXPECT_EQ(targetsOnScreen(windows, kRightRetina),
              (QList<QRectF>{QRectF(0, 0, 140, 100), QRectF(240, 50, 100, 100)}));
}
