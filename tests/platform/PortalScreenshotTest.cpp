#include "platform/portal/PortalScreenshot.h"

#include "core/RunToEnd.h"
#include "support/FakePortal.h"
#include "support/PrivateBus.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

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

namespace {

using tavolen::platform::portal::PortalScreenAccess;
using tavolen::platform::portal::PortalScreenGrabber;
using tavolen::platform::portal::ScreenshotAccess;

// The app and the portal as two programs on a private bus.
class ScreenshotPortal : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start"; }

    std::optional<QImage> takeStill() { return tavolen::runToEnd(grabber.desktopStill()); }

    tavolen::test::PrivateBus bus;
    QDBusConnection app = bus.connect();
    std::shared_ptr<ScreenshotAccess> access = std::make_shared<ScreenshotAccess>();
    PortalScreenGrabber grabber{app, access};
    PortalScreenAccess screenAccess{app, access};
};

} // namespace

TEST_F(ScreenshotPortal, TheDesktopsPictureIsAskedForWithoutADialogAndItsFileIsGoneOnceRead)
{
    tavolen::test::FakePortal portal(bus.connect());
    QTemporaryDir dir;
    portal.screenshotFile = dir.filePath(QStringLiteral("out.png"));
    QImage desktop(320, 200, QImage::Format_RGB32);
    desktop.fill(QColor(200, 40, 90));
    ASSERT_TRUE(desktop.save(portal.screenshotFile, "PNG"));

    const std::optional<QImage> still = takeStill();
    ASSERT_TRUE(still);
    EXPECT_EQ(still->size(), QSize(320, 200));
    EXPECT_EQ(portal.screenshotOptions.value(QStringLiteral("interactive")), QVariant(false));
    EXPECT_FALSE(QFile::exists(portal.screenshotFile));
    EXPECT_TRUE(screenAccess.isPermitted());
}

TEST_F(ScreenshotPortal, ARefusalIsReportedAsMissingAccessUntilAccessIsAskedForAgain)
{
    tavolen::test::FakePortal portal(bus.connect());
    portal.screenshotCode = 2; // failed: nothing to blame the user for
    EXPECT_FALSE(takeStill());
    EXPECT_TRUE(screenAccess.isPermitted());

    portal.screenshotCode = 1; // the user said no
    EXPECT_FALSE(takeStill());
    EXPECT_FALSE(screenAccess.isPermitted());
    screenAccess.request();
    EXPECT_TRUE(screenAccess.isPermitted()) << "the next capture asks again";
}

TEST_F(ScreenshotPortal, WithoutAScreenshotPortalAccessIsMissingAndNothingHangs)
{
    // No portal on the bus at all: the check made at start says so.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !screenAccess.isPermitted(); }, 5000));
    screenAccess.request();
    EXPECT_FALSE(takeStill());
    EXPECT_FALSE(screenAccess.isPermitted());

    // A portal without the interface.
    tavolen::test::FakePortal portal(bus.connect());
    portal.screenshotVersion.reset();
    screenAccess.request();
    EXPECT_FALSE(takeStill());
    EXPECT_FALSE(screenAccess.isPermitted());
}
