#include "e2e/harness/Desktop.h"
#include "e2e/harness/FlowHarness.h"
#include "e2e/harness/Pixels.h"

#include <gtest/gtest.h>

using namespace tavolen::e2e;

// Xvfb 1280 x 1024 native pixels; this process scales by 2 (640 x 512 logical).

TEST(ScaledScreen, DragOf100By50LogicalPixelsUploads200By100)
{
    auto window = ForeignWindow::open(QRect(300, 250, 500, 400), kWarm);
    ASSERT_TRUE(window);
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    const QPoint from = window->client().topLeft() + QPoint(100, 100); // native
    drag(from, from + QPoint(200, 100));
    ASSERT_TRUE(h.waitForEnd());

    const auto jpeg = h.uploaded();
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->size(), QSize(200, 100));
    EXPECT_EQ(h.near(), QRectF(from.x() / 2.0, from.y() / 2.0, 100, 50));
    EXPECT_EQ(expectShows(*jpeg, from, *window), 1);
}

TEST(ScaledScreen, ClickUploadsTheWindowAtNativeResolution)
{
    auto window = ForeignWindow::open(QRect(300, 250, 500, 400), kWarm);
    ASSERT_TRUE(window);
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    click(window->client().center());
    ASSERT_TRUE(h.waitForEnd());

    const auto jpeg = h.uploaded();
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->size(), window->frame().size());
    EXPECT_EQ(expectShows(*jpeg, window->frame().topLeft(), *window), 4);
}
