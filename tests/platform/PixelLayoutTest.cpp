// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/x11/PixelLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tavolen::platform::x11;

namespace {

// Two pixels, orange (255, 128, 0) and a blue-grey (40, 80, 160), stored in
// `layout`, read back through the path the grabber takes.
QColor readBack(const PixelLayout &layout, const std::vector<uchar> &row, int x)
{
    const QImage::Format format = directFormat(layout);
    const QImage image = format != QImage::Format_Invalid
                             ? QImage(row.data(), 2, 1, layout.bytesPerLine(2), format)
                             : convertToRgb32(row.data(), QSize(2, 1), layout);
    return image.pixelColor(x, 0);
}

void expectNear(QColor got, QColor want, int tolerance, const char *what)
{
    EXPECT_LE(std::abs(got.red() - want.red()), tolerance) << what;
    EXPECT_LE(std::abs(got.green() - want.green()), tolerance) << what;
    EXPECT_LE(std::abs(got.blue() - want.blue()), tolerance) << what;
}

} // namespace

TEST(PixelLayout, EveryTrueColorDepthReadsAsItsColours)
{
    const QColor orange(255, 128, 0);
    const QColor grey(40, 80, 160);
    const struct {
        const char *what;
        PixelLayout layout;
        std::vector<uchar> row; // two pixels, then padding to 32 bits
        int tolerance;
        bool inPlace;
    } cases[] = {
        {"24 in 32",
         {32, 32, 0xff0000, 0xff00, 0xff, true},
         {0x00, 0x80, 0xff, 0, 0xa0, 0x50, 0x28, 0},
         0,
         true},
        // 565: orange = 11111 100000 00000, grey = 00101 010100 10100
        {"16 (565)", {16, 32, 0xf800, 0x7e0, 0x1f, true}, {0x00, 0xfc, 0x94, 0x2a}, 8, true},
        // 10 bits a colour: orange = 1023, 514, 0; grey = 160, 321, 642
        {"30 in 32",
         {32, 32, 0x3ff00000, 0xffc00, 0x3ff, true},
         {0x00, 0x08, 0xf8, 0x3f, 0x82, 0x06, 0x05, 0x0a},
         2,
         true},
        {"24 packed",
         {24, 32, 0xff0000, 0xff00, 0xff, true},
         {0x00, 0x80, 0xff, 0xa0, 0x50, 0x28, 0, 0},
         0,
         false},
        {"16, most significant byte first",
         {16, 32, 0xf800, 0x7e0, 0x1f, false},
         {0xfc, 0x00, 0x2a, 0x94},
         8,
         false},
        {"15 (555)", {16, 32, 0x7c00, 0x3e0, 0x1f, true}, {0x00, 0x7e, 0x54, 0x15}, 8, true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(directFormat(c.layout) != QImage::Format_Invalid, c.inPlace) << c.what;
        expectNear(readBack(c.layout, c.row, 0), orange, c.tolerance, c.what);
        expectNear(readBack(c.layout, c.row, 1), grey, c.tolerance, c.what);
    }
}

TEST(PixelLayout, RowsArePaddedToTheScanlinePad)
{
    // 3 packed pixels a row, 9 bytes padded to 12: the second row starts at 12.
    std::vector<uchar> rows(24, 0);
    rows[12] = 0xff; // row 1, pixel 0: blue
    const QImage image = convertToRgb32(rows.data(), QSize(3, 2), PixelLayout{24, 32});
    EXPECT_EQ(image.pixelColor(0, 1), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 0));

    EXPECT_EQ((PixelLayout{24, 32}.bytesPerLine(3)), 12); // 9 bytes, padded
    EXPECT_EQ((PixelLayout{16, 32}.bytesPerLine(3)), 8);
    EXPECT_EQ((PixelLayout{8, 8}.bytesPerLine(3)), 3);
    EXPECT_TRUE(convertToRgb32(nullptr, QSize(1, 1), PixelLayout{4, 32}).isNull())
        << "no whole bytes a pixel";
}
