#include "e2e/harness/Desktop.h"
#include "e2e/harness/FlowHarness.h"
#include "e2e/harness/Pixels.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::e2e;

// Xvfb 1280 x 1024 with openbox, scale factor 1.

TEST(OneScreen, ClickOnAWindowUploadsItsWholeFrameWithItsPixels)
{
    auto window = ForeignWindow::open(QRect(200, 150, 400, 300), kWarm);
    ASSERT_TRUE(window);
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    click(window->quadrantCentres().front());
    ASSERT_TRUE(h.waitForEnd());

    const auto jpeg = h.uploaded();
    ASSERT_TRUE(jpeg && !jpeg->isNull());
    EXPECT_EQ(jpeg->size(), window->frame().size());
    EXPECT_EQ(expectShows(*jpeg, window->frame().topLeft(), *window), 4);
    EXPECT_EQ(h.near(), QRectF(window->frame()));
}

TEST(OneScreen, DragUploadsExactlyTheDraggedRegion)
{
    auto window = ForeignWindow::open(QRect(200, 150, 400, 300), kWarm);
    ASSERT_TRUE(window);
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    const QPoint from = window->client().topLeft() + QPoint(50, 40);
    const QPoint to = from + QPoint(300, 220);
    drag(from, to);
    ASSERT_TRUE(h.waitForEnd());

    const auto jpeg = h.uploaded();
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->size(), QSize(300, 220));
    EXPECT_GE(expectShows(*jpeg, from, *window), 3);
    EXPECT_EQ(h.near(), QRectF(QPointF(from), QSizeF(300, 220)));
}

TEST(OneScreen, EscapeCancelsAndGivesTheFocusBack)
{
    auto window = ForeignWindow::open(QRect(300, 200, 300, 200), kWarm);
    ASSERT_TRUE(window);
    window->raise();
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeWindow() == window->id(); }, 5000));

    FlowHarness h;
    ASSERT_TRUE(h.begin());
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(h.waitForEnd());
    EXPECT_FALSE(h.uploaded());
    EXPECT_TRUE(h.panel.shown.empty());
    EXPECT_TRUE(h.overlay().windows().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return activeWindow() == window->id(); }, 5000));
}

TEST(OneScreen, ClickOnTheBareDesktopCancels)
{
    auto window = ForeignWindow::open(QRect(100, 100, 300, 200), kWarm);
    ASSERT_TRUE(window);
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    click(QPoint(1100, 900));
    ASSERT_TRUE(h.waitForEnd());
    EXPECT_FALSE(h.uploaded());
    EXPECT_TRUE(h.panel.shown.empty());
}

TEST(OneScreen, ThisAppsOwnWindowsAreNeverPicked)
{
    auto window = ForeignWindow::open(QRect(200, 150, 400, 300), kWarm);
    ASSERT_TRUE(window);
    // Our own window, in front of the foreign one and reaching past it.
    QWidget own;
    own.setWindowTitle(QStringLiteral("own"));
    own.setGeometry(window->client().center().x(), window->client().center().y(), 500, 400);
    own.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&own));
    QTest::qWait(200); // let openbox frame and stack it

    FlowHarness h;
    ASSERT_TRUE(h.begin());
    click(window->client().center() + QPoint(20, 20)); // on our window, over the foreign one
    ASSERT_TRUE(h.waitForEnd());
    const auto jpeg = h.uploaded();
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->size(), window->frame().size()) << "the click passes through our window";

    FlowHarness second;
    ASSERT_TRUE(second.begin());
    click(own.geometry().bottomRight() - QPoint(20, 20)); // on our window, nothing foreign beneath
    ASSERT_TRUE(second.waitForEnd());
    EXPECT_FALSE(second.uploaded());
}

TEST(OneScreen, OverlappingWindowsPickTheFrontMost)
{
    auto a = ForeignWindow::open(QRect(150, 150, 400, 300), kWarm);
    auto b = ForeignWindow::open(QRect(350, 300, 420, 320), kCool);
    ASSERT_TRUE(a && b);
    const QPoint overlap = (a->client().intersected(b->client())).center();

    b->raise();
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    click(overlap);
    ASSERT_TRUE(h.waitForEnd());
    ASSERT_TRUE(h.uploaded());
    EXPECT_EQ(h.uploaded()->size(), b->frame().size());
    EXPECT_EQ(expectShows(*h.uploaded(), b->frame().topLeft(), *b), 4);

    a->raise();
    FlowHarness again;
    ASSERT_TRUE(again.begin());
    click(overlap);
    ASSERT_TRUE(again.waitForEnd());
    ASSERT_TRUE(again.uploaded());
    EXPECT_EQ(again.uploaded()->size(), a->frame().size());
}

TEST(OneScreen, BeginWhileSelectingChangesNothing)
{
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    const auto windows = h.overlay().windows();
    int secondCalls = 0;
    h.overlay().begin([&](std::optional<capture::Selection>) { ++secondCalls; });
    h.flow().begin();
    EXPECT_EQ(h.overlay().windows(), windows);
    EXPECT_EQ(h.panel.hides, 1);

    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(h.waitForEnd());
    QTest::qWait(50);
    EXPECT_EQ(secondCalls, 0);
}
