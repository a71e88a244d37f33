// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

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

TEST(SelectionModel, HighlightsTheFrontMostWindowUnderThePointerClippedToTheScreen)
{
    SelectionModel m = model();
    EXPECT_TRUE(m.hover(QPointF(150, 150)));
    EXPECT_EQ(m.hoverRect(), kFront);
    EXPECT_TRUE(m.hover(QPointF(60, 60)));
    EXPECT_EQ(m.hoverRect(), kBack);
    EXPECT_FALSE(m.hover(QPointF(70, 70))) << "same window: no redraw needed";
    EXPECT_TRUE(m.hover(QPointF(600, 500)));
    EXPECT_EQ(m.hoverRect(), std::nullopt);
    m.hover(QPointF(750, 10));
    EXPECT_EQ(m.hoverRect(), QRectF(700, 0, 100, 200));
    EXPECT_TRUE(m.hover(QPointF(-5, 10)));
    EXPECT_EQ(m.hoverRect(), std::nullopt) << "off the screen";

    m.hover(QPointF(150, 150));
    m.press(QPointF(150, 150));
    EXPECT_FALSE(m.hover(QPointF(60, 60)));
    EXPECT_FALSE(m.clearHover());
    EXPECT_EQ(m.hoverRect(), kFront) << "the highlight stays while the button is held";
}

TEST(SelectionModel, PixelsAreHalfOpenSoTheColumnPastAWindowIsNotIt)
{
    // Side by side: the left one's last column is 99, the right one's first 100.
    const QRectF left(0, 0, 100, 100);
    const QRectF right(100, 0, 100, 100);
    SelectionModel m({left, right}, QSizeF(800, 600));
    const struct {
        QPointF at;
        std::optional<QRectF> picked;
    } cases[] = {
        {{99, 50}, left}, {{100, 50}, right}, {{199.5, 99.5}, right}, {{200, 50}, {}}, {{50, 100}, {}},
    };
    for (const auto &c : cases) {
        m.hover(c.at);
        EXPECT_EQ(m.hoverRect(), c.picked) << c.at.x() << "," << c.at.y();
    }
    m.hover(QPointF(150, 50));
    EXPECT_TRUE(m.clearHover()) << "the pointer went to another screen";
    EXPECT_EQ(m.hoverRect(), std::nullopt);

    // A drag carried past the screen's edge ends at the edge.
    m.press(QPointF(700, 500));
    m.drag(QPointF(950, 720));
    EXPECT_EQ(m.release().rect, QRectF(700, 500, 100, 100));
}

TEST(SelectionModel, ClickPicksTheHighlightAndADragOfAtLeastEightByEightItsRectangle)
{
    const struct {
        QPointF hover, press;
        std::optional<QPointF> dragTo;
        Kind kind;
        std::optional<QRectF> rect;
    } gestures[] = {
        {{150, 150}, {150, 150}, std::nullopt, Kind::Selected, kFront},
        {{600, 500}, {600, 500}, std::nullopt, Kind::Cancelled, std::nullopt},
        {{150, 150}, {608, 508}, QPointF(600, 500), Kind::Selected, QRectF(600, 500, 8, 8)}, // any direction
        {{150, 150}, {150, 150}, QPointF(250, 157), Kind::Selected, kFront},        // 100 x 7 is a click
        {{600, 500}, {600, 500}, QPointF(607, 590), Kind::Cancelled, std::nullopt}, // 7 x 90 on nothing
    };
    for (const auto &g : gestures) {
        SelectionModel m = model();
        m.hover(g.hover);
        m.press(g.press);
        if (g.dragTo)
            m.drag(*g.dragTo);
        const auto released = m.release();
        EXPECT_EQ(released.kind, g.kind) << &g - gestures;
        if (g.rect) {
            EXPECT_EQ(released.rect, *g.rect) << &g - gestures;
        }
        EXPECT_FALSE(m.isDragging());
    }
}
