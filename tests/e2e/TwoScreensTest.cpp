// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/OverlayWindow.h"
#include "capture/SelectionView.h"
#include "e2e/harness/Desktop.h"
#include "e2e/harness/FlowHarness.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::e2e;

// Xorg with the dummy driver: 1920 x 1080 at 0,0 and 1280 x 1024 native at
// 1920,0. TwoScreens: factor 1 on both. SecondScreenScaled: factor 2 on the
// second (640 x 512 logical).

namespace {

constexpr int kBorder = 1920;

// Clicks either side of the border on a window spanning it: each JPEG is the
// frame's part on the screen under the pointer, at native pixels.
void expectCutAtTheBorder(int width)
{
    auto window = ForeignWindow::open(QRect(kBorder - 250, 300, width, 300), kWarm);
    ASSERT_TRUE(window);
    const QRect frame = window->frame();
    ASSERT_TRUE(frame.left() < kBorder && frame.right() > kBorder);
    const QRect left(frame.topLeft(), QPoint(kBorder - 1, frame.bottom()));
    const QRect right(QPoint(kBorder, frame.top()), frame.bottomRight());
    for (const QRect &part : {left, right}) {
        FlowHarness h;
        ASSERT_TRUE(h.select([&] { click(QPoint(part.center().x(), window->client().center().y())); }));
        EXPECT_EQ(h.expectUploadOf(part, *window), 2);
        if (part == left) { // the left screen is unscaled in both sessions
            EXPECT_EQ(h.near(), QRectF(left));
        }
    }
}

// A drag of 200 x 100 native pixels on a window at `where` gives a JPEG of
// exactly those pixels, whatever the screen's factor.
void expectDragUploads(QRect where)
{
    auto window = ForeignWindow::open(where, kCool);
    ASSERT_TRUE(window);
    const QPoint from = window->client().topLeft() + QPoint(40, 30);
    FlowHarness h;
    ASSERT_TRUE(h.select([&] { drag(from, from + QPoint(200, 100)); }));
    EXPECT_EQ(h.expectUploadOf(QRect(from, QSize(200, 100)), *window), 1);
}

} // namespace

TEST(TwoScreens, WindowAcrossTheBorderIsCutToTheScreenUnderThePointer)
{
    expectCutAtTheBorder(500);
}

TEST(TwoScreens, EachScreenHasAnOverlayAndOnlyTheOneUnderThePointerAHighlight)
{
    auto window = ForeignWindow::open(QRect(kBorder - 250, 300, 500, 300), kWarm);
    ASSERT_TRUE(window);
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    const auto views = h.overlay().windows();
    ASSERT_EQ(views.size(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(views[i]->geometry(), QGuiApplication::screens()[i]->geometry());
    const auto highlighted = [&] {
        return std::pair{views[0]->view()->model().hoverRect().has_value(),
                         views[1]->view()->model().hoverRect().has_value()};
    };
    const int y = window->client().center().y();
    for (const auto &[x, expected] :
         {std::pair{kBorder - 100, std::pair{true, false}}, std::pair{kBorder + 100, std::pair{false, true}},
          std::pair{kBorder - 100, std::pair{true, false}},
          std::pair{kBorder + 600, std::pair{false, false}}}) {
        xdotool({"mousemove", QString::number(x), QString::number(y)});
        EXPECT_TRUE(QTest::qWaitFor([&] { return highlighted() == expected; }, 3000))
            << "pointer at " << x << ": " << highlighted().first << " " << highlighted().second;
    }
    pressEscape();
    ASSERT_TRUE(h.waitForEnd());
    EXPECT_TRUE(h.overlay().windows().isEmpty());
}

TEST(SecondScreenScaled, OnlyTheScaledScreensSelectionsAreTwiceTheirLogicalSize)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    ASSERT_EQ(screens[0]->devicePixelRatio(), 1.0);
    ASSERT_EQ(screens[1]->geometry(), QRect(kBorder, 0, 640, 512));
    expectDragUploads(QRect(kBorder + 200, 200, 500, 400)); // 100 x 50 logical
    expectDragUploads(QRect(300, 200, 500, 400));
}

TEST(SecondScreenScaled, WindowAcrossTheBorderIsCutAtNativeResolution)
{
    expectCutAtTheBorder(600);
}
