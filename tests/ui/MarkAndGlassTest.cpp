// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Glass.h"
#include "ui/Mark.h"
#include "ui/Theme.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace tavolen::ui;

namespace {

QImage transparent(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QPalette paletteWithWindow(QColor window)
{
    QPalette p;
    p.setColor(QPalette::Window, window);
    return p;
}

} // namespace

TEST(Mark, FrameBandAndDotsArePaintedAndTheOpeningIsTransparent)
{
    // At 634 pixels one design unit is one pixel.
    QImage image = transparent(QSize(634, 634));
    QPainter painter(&image);
    paintMark(painter, QRectF(0, 0, 634, 634), Qt::black);
    painter.end();
    const auto alpha = [&](int x, int y) { return qAlpha(image.pixel(x, y)); };
    EXPECT_EQ(alpha(244, 313), 255) << "left dot centre";
    EXPECT_EQ(alpha(393, 313), 255) << "right dot centre";
    EXPECT_EQ(alpha(244, 340), 0) << "below the left dot, inside the opening";
    EXPECT_EQ(alpha(320, 300), 0) << "between the dots, inside the opening";
    EXPECT_EQ(alpha(120, 322), 255) << "the frame's left band";
    EXPECT_EQ(alpha(320, 190), 255) << "the frame's top band";
    EXPECT_EQ(alpha(548, 322), 0) << "the frame is open on its right";
    EXPECT_EQ(alpha(256, 440), 0) << "the opening's tail reaches down into the band";
    EXPECT_EQ(alpha(256, 465), 255) << "the band below the tail";
    EXPECT_EQ(alpha(40, 322), 0) << "outside the frame";
}

TEST(Mark, DrawsInTheLargestCentredSquare)
{
    QImage image = transparent(QSize(300, 120));
    QPainter painter(&image);
    paintMark(painter, QRectF(0, 0, 300, 120), Qt::black);
    painter.end();
    QRect painted;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128)
                painted |= QRect(x, y, 1, 1);
    // The 120-pixel square sits at x 90; the frame spans 80..551 and 162..483 design units.
    const double k = 120.0 / 634;
    EXPECT_NEAR(painted.left(), 90 + 80 * k, 1.5);
    EXPECT_NEAR(painted.right() + 1, 90 + 551 * k, 1.5);
    EXPECT_NEAR(painted.top(), 162 * k, 1.5);
    EXPECT_NEAR(painted.bottom() + 1, 483 * k, 1.5);
}

TEST(Theme, EachColourHasALighterFormOnADarkPaletteResolvedAtEveryCall)
{
    const QPalette light = paletteWithWindow(QColor(0xEE, 0xEE, 0xEE));
    const QPalette dark = paletteWithWindow(QColor(0x20, 0x20, 0x20));
    for (const auto colour : {&Theme::accent, &Theme::caution, &Theme::danger}) {
        EXPECT_GT(colour(dark).lightness(), colour(light).lightness()) << "readable on a dark card";
        EXPECT_EQ(colour(light), colour(paletteWithWindow(QColor(0xFA, 0xFA, 0xFA)))) << "any light palette";
    }
}

TEST(Glass, CardFillsItsShapeAndItsBorderFadesFromTopToBottom)
{
    for (const QColor window : {QColor(0xEE, 0xEE, 0xEE), QColor(0x20, 0x20, 0x20)}) {
        const QPalette palette = paletteWithWindow(window);
        QImage image(QSize(200, 120), QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(0x40, 0x40, 0x40));
        QPainter painter(&image);
        paintGlass(painter, QRectF(0, 0, 200, 120), 22, palette, Backdrop::Opaque);
        painter.end();
        const QColor fill = Theme::resolve(tokens::color::glassFill, palette);
        const QColor centre = image.pixelColor(100, 60);
        EXPECT_NEAR(centre.red(), fill.red(), 1) << window.name().toStdString();
        EXPECT_EQ(image.pixelColor(1, 1), QColor(0x40, 0x40, 0x40)) << "outside the rounded corner";
        // The white inner border: strong at the top edge, faint at the bottom.
        const int top = image.pixelColor(100, 0).lightness() - centre.lightness();
        const int bottom = image.pixelColor(100, 119).lightness() - centre.lightness();
        EXPECT_GT(top, bottom + (Theme::isDark(palette) ? 40 : 0));
    }
}
