#include "capture/ScreenGeometry.h"

#include <gtest/gtest.h>

using namespace tavolen::capture;

namespace {
// As Qt reports screens on X11: position native, size logical.
const ScreenMetrics kLeft{QRect(0, 0, 1920, 1080), 1.0};
const ScreenMetrics kRightRetina{QRect(1920, 0, 1280, 720), 2.0};
} // namespace

TEST(ScreenGeometry, NativeAreaKeepsThePositionAndScalesOnlyTheSize)
{
    EXPECT_EQ(kRightRetina.nativeRect(), QRect(1920, 0, 2560, 1440));
    EXPECT_EQ(kLeft.nativeRect(), QRect(0, 0, 1920, 1080));
}

TEST(ScreenGeometry, GrabRectScalesBySelectionsOwnScreenAndAddsItsNativeOffset)
{
    EXPECT_EQ(nativeGrabRect(QRectF(0, 0, 100, 50), kRightRetina), QRect(1920, 0, 200, 100))
        << "100 x 50 selected on a 2x screen is 200 x 100 pixels";
    EXPECT_EQ(nativeGrabRect(QRectF(10, 20, 100, 50), kRightRetina), QRect(1940, 40, 200, 100));
    EXPECT_EQ(nativeGrabRect(QRectF(10, 20, 100, 50), kLeft), QRect(10, 20, 100, 50));
}

TEST(ScreenGeometry, SelectionAtTheTopEdgeStartsAtTheScreensFirstRow)
{
    const ScreenMetrics below{QRect(0, 1080, 800, 600), 1.0};
    EXPECT_EQ(nativeGrabRect(QRectF(5, 0, 40, 30), below).top(), 1080);
}

TEST(ScreenGeometry, FractionalEdgesWidenToWholePixels)
{
    const ScreenMetrics oneAndHalf{QRect(0, 0, 1000, 800), 1.5};
    // 0.75 .. 15.75 becomes 0 .. 16.
    EXPECT_EQ(nativeGrabRect(QRectF(0.5, 0.5, 10, 10), oneAndHalf), QRect(0, 0, 16, 16));
    EXPECT_EQ(nativeGrabRect(QRectF(2, 2, 10, 10), oneAndHalf), QRect(3, 3, 15, 15))
        << "exact products are not widened";
}

TEST(ScreenGeometry, GrabRectIsClippedToTheScreen)
{
    EXPECT_EQ(nativeGrabRect(QRectF(1900, 1000, 100, 100), kLeft), QRect(1900, 1000, 20, 80));
    EXPECT_EQ(nativeGrabRect(QRectF(-10, -10, 30, 30), kRightRetina), QRect(1920, 0, 40, 40));
    EXPECT_TRUE(nativeGrabRect(QRectF(2000, 0, 50, 50), kLeft).isEmpty());
    EXPECT_TRUE(nativeGrabRect(QRectF(10, 10, 0, 50), kLeft).isEmpty());
}

TEST(ScreenGeometry, WindowSpanningTwoScreensIsCutAtTheBorderAndMadeLocal)
{
    const QRect window(1800, 100, 400, 200); // native: 120 px left of the border, 280 right of it
    EXPECT_EQ(nativeToLocal(window, kLeft), QRectF(1800, 100, 120, 200));
    EXPECT_EQ(nativeToLocal(window, kRightRetina), QRectF(0, 50, 140, 100));
    EXPECT_TRUE(nativeToLocal(QRect(0, 0, 50, 50), kRightRetina).isEmpty());
}

TEST(ScreenGeometry, LocalRectMapsBackToTheSameNativePixels)
{
    const QRect window(2000, 300, 333, 211);
    EXPECT_EQ(nativeGrabRect(nativeToLocal(window, kRightRetina), kRightRetina), window);
}

TEST(ScreenGeometry, LogicalSizeUsesTheScreenHoldingTheWindowsCentre)
{
    const QList<ScreenMetrics> screens{kLeft, kRightRetina};
    EXPECT_EQ(logicalSize(QRect(2000, 0, 160, 120), screens), QSizeF(80, 60));
    EXPECT_EQ(logicalSize(QRect(100, 0, 160, 120), screens), QSizeF(160, 120));
    EXPECT_EQ(logicalSize(QRect(-500, -500, 160, 120), screens), QSizeF(160, 120))
        << "off every screen: the first screen's factor";
}
