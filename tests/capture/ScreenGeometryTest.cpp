// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/ScreenGeometry.h"
#include "capture/SelectionTargets.h"

#include <gtest/gtest.h>

using namespace tavolen::capture;

namespace {
// As Qt reports screens on X11: position native, size logical.
const ScreenMetrics kLeft{QRect(0, 0, 1920, 1080), 1.0};
const ScreenMetrics kRightRetina{QRect(1920, 0, 1280, 720), 2.0};
} // namespace

TEST(ScreenGeometry, GrabRectScalesBySelectionsOwnScreenAddsItsNativeOffsetAndIsClipped)
{
    const ScreenMetrics below{QRect(0, 1080, 800, 600), 1.0};
    const ScreenMetrics oneAndHalf{QRect(0, 0, 1000, 800), 1.5};
    const struct {
        QRectF selected;
        ScreenMetrics screen;
        QRect grabbed;
    } cases[] = {
        {{0, 0, 100, 50}, kRightRetina, {1920, 0, 200, 100}}, // 100 x 50 on a 2x screen is 200 x 100 pixels
        {{10, 20, 100, 50}, kRightRetina, {1940, 40, 200, 100}},
        {{10, 20, 100, 50}, kLeft, {10, 20, 100, 50}},
        {{5, 0, 40, 30}, below, {5, 1080, 40, 30}},
        {{0.5, 0.5, 10, 10}, oneAndHalf, {0, 0, 16, 16}}, // 0.75 .. 15.75 widens to 0 .. 16
        {{2, 2, 10, 10}, oneAndHalf, {3, 3, 15, 15}},     // exact products are not widened
        {{1900, 1000, 100, 100}, kLeft, {1900, 1000, 20, 80}},
        {{-10, -10, 30, 30}, kRightRetina, {1920, 0, 40, 40}},
        {{2000, 0, 50, 50}, kLeft, {}},
        {{10, 10, 0, 50}, kLeft, {}},
    };
    for (const auto &c : cases) {
        const QRect grabbed = nativeGrabRect(c.selected, c.screen);
        EXPECT_EQ(grabbed.isEmpty() ? QRect() : grabbed, c.grabbed) << &c - cases;
    }
    EXPECT_EQ(kRightRetina.nativeRect(), QRect(1920, 0, 2560, 1440));
}

TEST(ScreenGeometry, OddWindowOnAScaledScreenMapsBackToTheSameNativePixels)
{
    // Cutting at the border and picking per screen are seen in the two-screen e2e tests.
    const QRect window(2000, 300, 333, 211);
    EXPECT_EQ(nativeToLocal(window, kRightRetina), QRectF(40, 150, 166.5, 105.5));
    EXPECT_EQ(nativeGrabRect(nativeToLocal(window, kRightRetina), kRightRetina), window);
}

TEST(ScreenGeometry, EachScreenIsCutFromTheDesktopPictureAtThePicturesOwnDensity)
{
    // Two 1920x1080 outputs side by side, the picture at twice their density
    // (the compositor renders it at the highest output scale).
    const QRect desktop(0, 0, 3840, 1080);
    EXPECT_EQ(screenPartOf(QSize(7680, 2160), desktop, QRect(1920, 0, 1920, 1080)),
              QRect(3840, 0, 3840, 2160));
    // A desktop that does not start at the origin, and a picture one pixel short.
    EXPECT_EQ(screenPartOf(QSize(3839, 1080), QRect(-1920, 0, 3840, 1080), QRect(0, 0, 1920, 1080)),
              QRect(1919, 0, 1920, 1080));
    // Qt scaling its own windows by 2 on an X server (XWayland) of two 3840
    // wide outputs: geometries keep native positions with logical sizes.
    const ScreenMetrics left{QRect(0, 0, 1920, 1080), 2.0};
    const ScreenMetrics right{QRect(3840, 0, 1920, 1080), 2.0};
    const QRect native = left.nativeRect() | right.nativeRect();
    QImage picture(7680, 2160, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixelColor(3840, 0, Qt::red);
    const QImage still = screenStill(picture, native, right);
    EXPECT_EQ(still.size(), QSize(3840, 2160));
    EXPECT_EQ(still.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(still.devicePixelRatio(), 2.0) << "picture pixels per logical pixel";

    // A selection's native pixels on such a still: whole pixels, widened, inside.
    EXPECT_EQ(partOfStill(QRect(10, 10, 100, 50), 2.0, QSize(3840, 2160)), QRect(20, 20, 200, 100));
    EXPECT_EQ(partOfStill(QRect(10, 10, 100, 50), 1.5, QSize(3840, 2160)), QRect(15, 15, 150, 75));
    EXPECT_EQ(partOfStill(QRect(1900, 10, 100, 50), 2.0, QSize(3840, 2160)), QRect(3800, 20, 40, 100));
}

TEST(SelectionTargets, WindowsBelow80By60LogicalPixelsCannotBePicked)
{
    const QList<QRect> windows{QRect(0, 0, 80, 60), QRect(0, 0, 79, 60),      QRect(0, 0, 80, 59),
                               QRect(0, 0, 81, 61), QRect(2000, 0, 160, 120), QRect(2000, 0, 158, 120)};
    EXPECT_EQ(pickableWindows(windows, {kLeft, kRightRetina}),
              (QList<QRect>{QRect(0, 0, 80, 60), QRect(0, 0, 81, 61), QRect(2000, 0, 160, 120)}));
}
