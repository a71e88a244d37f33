#include "capture/SelectionModel.h"

#include <gtest/gtest.h>

using namespace tavolen::capture;
using Kind = SelectionModel::Release::Kind;

namespace {
const QRectF kFront(100, 100, 200, 150);
const QRectF kBack(50, 50, 400, 300);
const QRectF kAtRightEdge(700, 0, 300, 200); // reaches past the 800-wide screen

SelectionModel model()
{
    return SelectionModel({kFront, kBack, kAtRightEdge}, QSizeF(800, 600));
}
} // namespace

TEST(SelectionModel, HighlightsTheFrontMostWindowUnderThePointer)
{
    SelectionModel m = model();
    EXPECT_TRUE(m.hover(QPointF(150, 150)));
    EXPECT_EQ(m.hoverRect(), kFront);
    EXPECT_TRUE(m.hover(QPointF(60, 60)));
    EXPECT_EQ(m.hoverRect(), kBack);
    EXPECT_FALSE(m.hover(QPointF(70, 70))) << "same window: no redraw needed";
    EXPECT_TRUE(m.hover(QPointF(600, 500)));
    EXPECT_EQ(m.hoverRect(), std::nullopt);
}

TEST(SelectionModel, HighlightIsClippedToTheScreenAndPointerOffTheScreenClearsIt)
{
    SelectionModel m = model();
    m.hover(QPointF(750, 10));
    EXPECT_EQ(m.hoverRect(), QRectF(700, 0, 100, 200));
    EXPECT_TRUE(m.hover(QPointF(-5, 10)));
    EXPECT_EQ(m.hoverRect(), std::nullopt);
}

TEST(SelectionModel, ClickReportsTheHighlightedWindow)
{
    SelectionModel m = model();
    m.hover(QPointF(150, 150));
    m.press(QPointF(150, 150));
    const auto released = m.release();
    EXPECT_EQ(released.kind, Kind::Selected);
    EXPECT_EQ(released.rect, kFront);
}

TEST(SelectionModel, ClickWithoutAWindowCancels)
{
    SelectionModel m = model();
    m.hover(QPointF(600, 500));
    m.press(QPointF(600, 500));
    EXPECT_EQ(m.release().kind, Kind::Cancelled);
}

TEST(SelectionModel, DragOfEightByEightReportsItsRectangleInAnyDirection)
{
    SelectionModel m = model();
    m.hover(QPointF(150, 150));
    m.press(QPointF(608, 508));
    EXPECT_TRUE(m.drag(QPointF(600, 500)));
    EXPECT_TRUE(m.isDragging());
    const auto released = m.release();
    EXPECT_EQ(released.kind, Kind::Selected);
    EXPECT_EQ(released.rect, QRectF(600, 500, 8, 8));
    EXPECT_FALSE(m.isDragging());
}

TEST(SelectionModel, DragThinnerThanEightCountsAsAClick)
{
    SelectionModel m = model();
    m.hover(QPointF(150, 150));
    m.press(QPointF(150, 150));
    m.drag(QPointF(250, 157));
    EXPECT_EQ(m.release().rect, kFront) << "100 x 7 is a click on the highlighted window";

    m.hover(QPointF(600, 500));
    m.press(QPointF(600, 500));
    m.drag(QPointF(607, 590));
    EXPECT_EQ(m.release().kind, Kind::Cancelled) << "7 x 90 with nothing highlighted";
}

TEST(SelectionModel, HighlightStaysWhileTheButtonIsHeld)
{
    SelectionModel m = model();
    m.hover(QPointF(150, 150));
    m.press(QPointF(150, 150));
    EXPECT_FALSE(m.hover(QPointF(60, 60)));
    EXPECT_EQ(m.hoverRect(), kFront);
}

TEST(SelectionModel, ReleaseWithoutPressDoesNothing)
{
    SelectionModel m = model();
    m.hover(QPointF(150, 150));
    EXPECT_EQ(m.release().kind, Kind::Ignored);
    EXPECT_FALSE(m.drag(QPointF(300, 300)));
}

TEST(SelectionModel, NoTargetsLeaveOnlyTheDrag)
{
    SelectionModel m({}, QSizeF(800, 600));
    EXPECT_FALSE(m.hover(QPointF(10, 10)));
    m.press(QPointF(10, 10));
    EXPECT_EQ(m.release().kind, Kind::Cancelled);
    m.press(QPointF(10, 10));
    m.drag(QPointF(30, 40));
    EXPECT_EQ(m.release().rect, QRectF(10, 10, 20, 30));
}
