#include "e2e/harness/Desktop.h"
#include "e2e/harness/FlowHarness.h"
#include "e2e/harness/Pixels.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace tavolen::e2e;

// Xorg with the dummy driver: 1920 x 1080 at 0,0 (factor 1) and 1280 x 1024
// native at 1920,0 with factor 2 (640 x 512 logical).

namespace {
constexpr int kBorder = 1920;
}

TEST(SecondScreenScaled, QtSeesTheMixedFactors)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    EXPECT_EQ(screens[0]->devicePixelRatio(), 1.0);
    EXPECT_EQ(screens[1]->devicePixelRatio(), 2.0);
    EXPECT_EQ(screens[1]->geometry(), QRect(kBorder, 0, 640, 512));
}

TEST(SecondScreenScaled, DragOnTheScaledScreenUploadsTwiceItsLogicalSize)
{
    auto window = ForeignWindow::open(QRect(kBorder + 200, 200, 500, 400), kWarm);
    ASSERT_TRUE(window);
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    const QPoint from = window->client().topLeft() + QPoint(60, 50); // native
    drag(from, from + QPoint(200, 100));
    ASSERT_TRUE(h.waitForEnd());
    ASSERT_TRUE(h.uploaded());
    EXPECT_EQ(h.uploaded()->size(), QSize(200, 100)) << "100 x 50 logical";
    EXPECT_EQ(expectShows(*h.uploaded(), from, *window), 1);
}

TEST(SecondScreenScaled, DragOnTheUnscaledScreenStaysOneToOne)
{
    auto window = ForeignWindow::open(QRect(300, 200, 500, 400), kCool);
    ASSERT_TRUE(window);
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    const QPoint from = window->client().topLeft() + QPoint(60, 50);
    drag(from, from + QPoint(200, 100));
    ASSERT_TRUE(h.waitForEnd());
    ASSERT_TRUE(h.uploaded());
    EXPECT_EQ(h.uploaded()->size(), QSize(200, 100));
    EXPECT_EQ(expectShows(*h.uploaded(), from, *window), 1);
}

TEST(SecondScreenScaled, WindowAcrossTheBorderIsCutAtNativeResolution)
{
    auto window = ForeignWindow::open(QRect(kBorder - 250, 300, 600, 300), kWarm);
    ASSERT_TRUE(window);
    const QRect frame = window->frame();
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    click(QPoint(kBorder + 150, window->client().center().y()));
    ASSERT_TRUE(h.waitForEnd());
    ASSERT_TRUE(h.uploaded());
    EXPECT_EQ(h.uploaded()->size(), QSize(frame.right() + 1 - kBorder, frame.height()));
    EXPECT_EQ(expectShows(*h.uploaded(), QPoint(kBorder, frame.top()), *window), 2);
}
