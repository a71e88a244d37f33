// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/JpegEncoder.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace tavolen::capture;

namespace {

QByteArray encoded(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(125, 108, 237));
    const CaptureOutcome jpeg = jpegData(image);
    return jpeg.ok() ? jpeg.value() : QByteArray();
}

TEST(JpegEncoder, LongEdgeIsBroughtDownTo1600WithSidesTruncatedUnlessOneWouldBeZero)
{
    const struct {
        QSize in, out;
    } cases[] = {
        {{3024, 1964}, {1600, 1039}}, {{5120, 2880}, {1600, 900}},  {{900, 3000}, {480, 1600}},
        {{1600, 1200}, {1600, 1200}}, {{2000, 2000}, {1600, 1600}}, {{1601, 1601}, {1600, 1600}},
        {{1601, 1}, {1601, 1}},       {{1, 4000}, {1, 4000}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QImage::fromData(encoded(c.in), "JPEG").size(), c.out)
            << c.in.width() << "x" << c.in.height();
}

TEST(JpegEncoder, EncodesAtQuality85)
{
    // libjpeg scales its standard luminance table (DC step 16) by 200 - 2q
    // percent: quality 85 gives a step of 5, 75 (Qt's default) gives 8. The
    // step is the first entry of the first quantisation table.
    const QByteArray jpeg = encoded({64, 48});
    const qsizetype dqt = jpeg.indexOf("\xFF\xDB");
    ASSERT_TRUE(dqt >= 0 && dqt + 5 < jpeg.size());
    EXPECT_EQ(static_cast<unsigned char>(jpeg.at(dqt + 5)), 5);
}

} // namespace
