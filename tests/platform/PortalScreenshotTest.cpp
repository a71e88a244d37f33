// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/portal/PortalScreenshot.h"
#include "platform/portal/PortalRequest.h"

#include "core/RunToEnd.h"
#include "support/FakePortal.h"
#include "support/PrivateBus.h"

#include <QDir>
#include <QElapsedTimer>
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

TEST(PortalPictureFile, IsReadIntoMemoryEvenLargerThanQtDecodesByDefaultAndGoneFromDiskWhateverItHolds)
{
    // 11000 x 3100 at four bytes a pixel is 136 MB, past Qt's 128 MB default:
    // a 2x laptop beside two 1440p screens gives such a picture.
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("out.png"));
    {
        QImage image(11000, 3100, QImage::Format_RGB32);
        image.fill(QColor(10, 120, 230));
        ASSERT_TRUE(image.save(picture, "PNG", 100));
    }
    const std::optional<QImage> taken = takePictureFile(picture);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->size(), QSize(11000, 3100));
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

TEST_F(ScreenshotPortal, ARefusalOrFailureIsReportedAsMissingAccessUntilAccessIsAskedForAgain)
{
    tavolen::test::FakePortal portal(bus.connect());
    // 1: the user cancelled; 2: the portal reports a denial it remembers (or
    // any other failure) this way.
    for (const uint code : {1u, 2u}) {
        portal.screenshotCode = code;
        EXPECT_FALSE(takeStill());
        EXPECT_FALSE(screenAccess.isPermitted()) << code;
        screenAccess.request();
        EXPECT_TRUE(screenAccess.isPermitted()) << "the next capture asks again";
    }
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

TEST_F(ScreenshotPortal, ARequestLeftUnansweredIsClosedWhenItsTimeIsUp)
{
    tavolen::test::FakePortal portal(bus.connect());
    portal.screenshotUnanswered = true;
    QVariantList arguments;
    arguments << QString() << QVariantMap{{QStringLiteral("interactive"), false}};
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(tavolen::runToEnd(tavolen::platform::portal::requestFromPortal(
        app, QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"), arguments,
        std::chrono::milliseconds(300))));
    EXPECT_LT(timer.elapsed(), 5000);
    // So the portal drops its dialog and writes no picture for it later.
    ASSERT_TRUE(QTest::qWaitFor([&] { return portal.closedRequests.size() == 1; }, 3000));
    EXPECT_TRUE(portal.closedRequests.front().contains(QStringLiteral("/request/")));
}
