#include "capture/JpegEncoder.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace tavolen::capture;

namespace {

QImage decode(const QByteArray &jpeg)
{
    return QImage::fromData(jpeg, "JPEG");
}

// The first entry of the first quantisation table (the luminance DC step),
// which the encoder derives from its quality setting.
int firstQuantStep(const QByteArray &jpeg)
{
    const qsizetype dqt = jpeg.indexOf("\xFF\xDB");
    if (dqt < 0 || dqt + 5 >= jpeg.size())
        return -1;
    return static_cast<unsigned char>(jpeg.at(dqt + 5));
}

QImage filled(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(125, 108, 237));
    return image;
}

TEST(JpegEncoder, LongEdgeIsBroughtDownTo1600WithSidesTruncated)
{
    const struct {
        QSize in, out;
    } cases[] = {
        {{3024, 1964}, {1600, 1039}}, {{5120, 2880}, {1600, 900}},  {{900, 3000}, {480, 1600}},
        {{1600, 1200}, {1600, 1200}}, {{2000, 2000}, {1600, 1600}}, {{1601, 1601}, {1600, 1600}},
    };
    for (const auto &c : cases) {
        const CaptureOutcome jpeg = jpegData(filled(c.in));
        ASSERT_TRUE(jpeg.ok());
        EXPECT_EQ(decode(jpeg.value()).size(), c.out) << c.in.width() << "x" << c.in.height();
    }
}

TEST(JpegEncoder, SideThatWouldTruncateToZeroLeavesTheImageUnscaled)
{
    const CaptureOutcome wide = jpegData(filled({1601, 1}));
    ASSERT_TRUE(wide.ok());
    EXPECT_EQ(decode(wide.value()).size(), QSize(1601, 1));
    const CaptureOutcome tall = jpegData(filled({1, 4000}));
    ASSERT_TRUE(tall.ok());
    EXPECT_EQ(decode(tall.value()).size(), QSize(1, 4000));
}

TEST(JpegEncoder, EncodesAtQuality85)
{
    // libjpeg scales its standard luminance table (DC step 16) by 200 - 2q
    // percent: quality 85 gives a step of 5, 75 (Qt's default) gives 8.
    const CaptureOutcome jpeg = jpegData(filled({64, 48}));
    ASSERT_TRUE(jpeg.ok());
    EXPECT_EQ(firstQuantStep(jpeg.value()), 5);
}

} // namespace
