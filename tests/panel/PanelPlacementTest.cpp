// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/PanelPlacement.h"

#include <gtest/gtest.h>

using namespace tavolen::panel;

namespace {

// One 1920 x 1080 screen with a 30-pixel panel at the top.
const ScreenArea kMain{QRectF(0, 0, 1920, 1080), QRectF(0, 30, 1920, 1050)};
// A second screen to the left of it, lower down, with nothing reserved.
const ScreenArea kLeft{QRectF(-1280, 200, 1280, 1024), QRectF(-1280, 200, 1280, 1024)};
const QSizeF kSize(400, 300);

QPointF place(std::optional<QRectF> anchor, ScreenLayout layout = {{kMain, kLeft}, 0})
{
    return panelOrigin(kSize, anchor, layout);
}

} // namespace

TEST(PanelPlacement, BelowTheSelectionLeftAligned)
{
    EXPECT_EQ(place(QRectF(100, 100, 500, 200)), QPointF(100, 312));
}

TEST(PanelPlacement, AboveWhenBelowWouldLeaveTheUsableArea)
{
    // 12 + 300 below 800 would pass 1080; above: 600 - 12 - 300.
    EXPECT_EQ(place(QRectF(100, 600, 500, 200)), QPointF(100, 288));
    // The bottom edge exactly fits: stays below.
    EXPECT_EQ(place(QRectF(100, 500, 500, 268)), QPointF(100, 780));
}

TEST(PanelPlacement, TwelveBelowTheTopWhenNeitherFits)
{
    EXPECT_EQ(place(QRectF(100, 40, 500, 900)), QPointF(100, 42));
}

TEST(PanelPlacement, KeptTwelveInsideTheLeftAndRightEdgesTheRightWinning)
{
    EXPECT_EQ(place(QRectF(1700, 100, 200, 100)).x(), 1920 - 400 - 12);
    EXPECT_EQ(place(QRectF(5, 100, 200, 100)).x(), 12);
    // A usable area narrower than the panel: the right-hand clamp wins.
    const ScreenArea narrow{QRectF(0, 0, 300, 800), QRectF(0, 0, 300, 800)};
    EXPECT_EQ(panelOrigin(kSize, QRectF(50, 50, 100, 100), {{narrow}, 0}).x(), 300 - 400 - 12);
}

TEST(PanelPlacement, OnTheFirstScreenTheSelectionMeetsIncludingOneAtNegativeCoordinates)
{
    EXPECT_EQ(place(QRectF(-1000, 1000, 300, 200)), QPointF(-1000, 1000 - 12 - 300));
    EXPECT_EQ(place(QRectF(-1275, 300, 100, 100)), QPointF(-1268, 412));
    // Spanning both: the first in the platform's order.
    EXPECT_EQ(place(QRectF(-100, 300, 400, 100)).x(), 12);
    EXPECT_EQ(panelOrigin(kSize, QRectF(-100, 300, 400, 100), {{kLeft, kMain}, 1}).x(), -412);
}

TEST(PanelPlacement, AgainstThePrimaryScreenWhenTheSelectionMeetsNone)
{
    // Same rules, so the panel may lie far from both: nothing clamps the bottom.
    EXPECT_EQ(place(QRectF(5000, 5000, 100, 100)), QPointF(1920 - 400 - 12, 5000 - 12 - 300));
    EXPECT_EQ(panelOrigin(kSize, QRectF(5000, 5000, 100, 100), {{kMain, kLeft}, 1}), QPointF(-412, 4688));
}

TEST(PanelPlacement, CentredWithoutAnAnchorOrWithoutScreens)
{
    EXPECT_EQ(place(std::nullopt), QPointF(960 - 200, 555 - 150));
    EXPECT_EQ(panelOrigin(kSize, QRectF(10, 10, 10, 10), {}), QPointF(-200, -150));
    EXPECT_EQ(panelOrigin(kSize, std::nullopt, {}), QPointF(-200, -150));
}

TEST(PanelPlacement, ARunsCardSideNeverCoversTheSelection)
{
    const ScreenLayout layout{{kMain, kLeft}, 0};
    // The rule's side when the planned card fits: below, then above.
    const auto below = cardAnchor(kSize, QRectF(100, 100, 500, 200), layout, 44);
    ASSERT_TRUE(below);
    EXPECT_EQ(below->side, CardAnchor::Side::Below);
    EXPECT_EQ(cardAt(*below, QSizeF(400, 50)), QRectF(100, 312, 400, 50));
    EXPECT_EQ(cardAt(*below, QSizeF(400, 2000)).bottom(), 1080 - 12) << "cut where the screen ends";
    const auto above = cardAnchor(kSize, QRectF(100, 600, 500, 200), layout, 44);
    ASSERT_TRUE(above);
    EXPECT_EQ(cardAt(*above, QSizeF(400, 50)), QRectF(100, 538, 400, 50));
    EXPECT_EQ(cardAt(*above, QSizeF(400, 2000)).top(), 30 + 12);
    // Fitting neither: the side with more room, rather than over the selection.
    const auto tall = cardAnchor(kSize, QRectF(100, 220, 500, 700), layout, 44);
    ASSERT_TRUE(tall);
    EXPECT_EQ(tall->side, CardAnchor::Side::Above);
    EXPECT_EQ(tall->room, 220 - 12 - 30 - 12);
    // No room for even a pill on either side.
    EXPECT_FALSE(cardAnchor(kSize, QRectF(100, 60, 500, 990), layout, 44));
}
