#include "capture/OverlayWindow.h"
#include "e2e/harness/Desktop.h"
#include "e2e/harness/FlowHarness.h"
#include "e2e/harness/Pixels.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::e2e;

// Xorg with the dummy driver: 1920 x 1080 at 0,0 and 1280 x 1024 at 1920,0.
// Scale factor 1 on both.

namespace {
constexpr int kBorder = 1920;
}

TEST(TwoScreens, EachScreenGetsItsOwnOverlay)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    const auto windows = h.overlay().windows();
    ASSERT_EQ(windows.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(windows[i]->overlayScreen(), screens[i]);
        EXPECT_EQ(windows[i]->geometry(), screens[i]->geometry());
        EXPECT_TRUE(windows[i]->isVisible());
    }
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(h.waitForEnd());
    EXPECT_TRUE(h.overlay().windows().isEmpty());
}

TEST(TwoScreens, WindowAcrossTheBorderIsCutToTheScreenUnderThePointer)
{
    auto window = ForeignWindow::open(QRect(kBorder - 250, 300, 500, 300), kWarm);
    ASSERT_TRUE(window);
    const QRect frame = window->frame();
    ASSERT_LT(frame.left(), kBorder);
    ASSERT_GT(frame.right(), kBorder);

    FlowHarness left;
    ASSERT_TRUE(left.begin());
    click(QPoint(kBorder - 100, window->client().center().y()));
    ASSERT_TRUE(left.waitForEnd());
    ASSERT_TRUE(left.uploaded());
    EXPECT_EQ(left.uploaded()->size(), QSize(kBorder - frame.left(), frame.height()));
    EXPECT_EQ(expectShows(*left.uploaded(), frame.topLeft(), *window), 2);
    EXPECT_EQ(left.near(), QRectF(frame.left(), frame.top(), kBorder - frame.left(), frame.height()));

    FlowHarness right;
    ASSERT_TRUE(right.begin());
    click(QPoint(kBorder + 100, window->client().center().y()));
    ASSERT_TRUE(right.waitForEnd());
    ASSERT_TRUE(right.uploaded());
    EXPECT_EQ(right.uploaded()->size(), QSize(frame.right() + 1 - kBorder, frame.height()));
    EXPECT_EQ(expectShows(*right.uploaded(), QPoint(kBorder, frame.top()), *window), 2);
}

TEST(TwoScreens, DragOnTheSecondScreenUploadsThatRegion)
{
    auto window = ForeignWindow::open(QRect(kBorder + 200, 200, 400, 300), kCool);
    ASSERT_TRUE(window);
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    const QPoint from = window->client().topLeft() + QPoint(40, 30);
    drag(from, from + QPoint(320, 240));
    ASSERT_TRUE(h.waitForEnd());
    ASSERT_TRUE(h.uploaded());
    EXPECT_EQ(h.uploaded()->size(), QSize(320, 240));
    EXPECT_EQ(expectShows(*h.uploaded(), from, *window), 4);
    EXPECT_EQ(h.near(), QRectF(QPointF(from), QSizeF(320, 240)));
}
