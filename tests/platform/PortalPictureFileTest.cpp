#include "platform/portal/PortalScreenshot.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using tavolen::platform::portal::takePictureFile;

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(PortalPictureFile, IsReadIntoMemoryAndGoneFromDiskWhateverItHolds)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("out.png"));
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(10, 120, 230));
    ASSERT_TRUE(image.save(picture, "PNG"));

    const std::optional<QImage> taken = takePictureFile(picture);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->size(), QSize(64, 48));
    EXPECT_EQ(taken->pixelColor(5, 5), QColor(10, 120, 230));
    EXPECT_FALSE(QFile::exists(picture));

    // Bytes that are no picture are removed just the same.
    write(picture, "not a picture");
    EXPECT_FALSE(takePictureFile(picture));
    EXPECT_FALSE(QFile::exists(picture));
    EXPECT_FALSE(takePictureFile(dir.filePath(QStringLiteral("missing.png"))));
}

TEST(PortalPictureFile, ALinkIsNeitherFollowedNorItsTargetDeleted)
{
    QTemporaryDir dir;
    const QString precious = dir.filePath(QStringLiteral("notes.png"));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(precious, "PNG"));
    const QString link = dir.filePath(QStringLiteral("out.png"));
    ASSERT_TRUE(QFile::link(precious, link));

    EXPECT_FALSE(takePictureFile(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFile::exists(precious));
}
