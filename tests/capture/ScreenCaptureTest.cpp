#include "capture/ScreenCapture.h"
#include "platform/ScreenGrabber.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <atomic>

using namespace tavolen;
using namespace tavolen::capture;

namespace {

// Hands out an image that tells when its pixels are released.
class FakeGrabber final : public platform::ScreenGrabber {
public:
    std::optional<QImage> grab(QRect nativeRect) override
    {
        requested.push_back(nativeRect);
        if (refuse)
            return std::nullopt;
        auto *pixels = new uchar[size_t(nativeRect.width()) * size_t(nativeRect.height()) * 4];
        QImage image(pixels, nativeRect.width(), nativeRect.height(), nativeRect.width() * 4,
                     QImage::Format_RGB32, &FakeGrabber::release, new Handout{this, pixels});
        image.fill(QColor(200, 30, 40));
        return image;
    }
    bool translucencyShowsDesktop() const override { return true; }

    struct Handout {
        FakeGrabber *grabber;
        uchar *pixels;
    };
    static void release(void *info)
    {
        auto *handout = static_cast<Handout *>(info);
        delete[] handout->pixels;
        handout->grabber->released = true;
        delete handout;
    }

    std::vector<QRect> requested;
    bool refuse = false;
    std::atomic<bool> released{false};
};

QScreen *screen()
{
    return QGuiApplication::primaryScreen();
}

// waitFor needs a default-constructible result; the outcome is not one.
QCoro::Task<std::optional<CaptureOutcome>> captureTask(ScreenCapture &capture, QRectF rect, QScreen *on)
{
    co_return co_await capture.capture(rect, on);
}

CaptureOutcome captureNow(ScreenCapture &capture, QRectF rect, QScreen *on)
{
    return *QCoro::waitFor(captureTask(capture, rect, on));
}

} // namespace

TEST(ScreenCapture, EncodesTheSelectedNativePixelsAndReleasesTheGrab)
{
    FakeGrabber grabber;
    ScreenCapture capture(grabber);
    const QPoint origin = screen()->geometry().topLeft();
    const CaptureOutcome outcome = captureNow(capture, QRectF(10, 20, 120, 80), screen());
    ASSERT_TRUE(outcome.ok());
    ASSERT_EQ(grabber.requested.size(), 1u);
    EXPECT_EQ(grabber.requested.front(), QRect(origin + QPoint(10, 20), QSize(120, 80)));
    EXPECT_TRUE(grabber.released) << "the grab's pixels must not outlive the capture";

    const QImage jpeg = QImage::fromData(outcome.value(), "JPEG");
    ASSERT_FALSE(jpeg.isNull());
    EXPECT_EQ(jpeg.size(), QSize(120, 80));
    const QColor centre = jpeg.pixelColor(60, 40);
    EXPECT_NEAR(centre.red(), 200, 8);
    EXPECT_NEAR(centre.green(), 30, 8);
    EXPECT_NEAR(centre.blue(), 40, 8);
}

TEST(ScreenCapture, SelectionPartlyOffTheScreenIsCutToTheScreen)
{
    FakeGrabber grabber;
    ScreenCapture capture(grabber);
    const QSize size = screen()->size();
    const CaptureOutcome outcome =
        captureNow(capture, QRectF(size.width() - 30, size.height() - 20, 100, 100), screen());
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(QImage::fromData(outcome.value(), "JPEG").size(), QSize(30, 20));
}

TEST(ScreenCapture, MissingScreenIsDisplayNotFound)
{
    FakeGrabber grabber;
    ScreenCapture capture(grabber);
    const CaptureOutcome outcome = captureNow(capture, QRectF(0, 0, 50, 50), nullptr);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(std::get<CaptureError>(outcome.error()), CaptureError::displayNotFound);
    EXPECT_TRUE(grabber.requested.empty());
}

TEST(ScreenCapture, EmptyCropOrRefusedGrabIsCaptureFailed)
{
    FakeGrabber grabber;
    ScreenCapture capture(grabber);
    const QSize size = screen()->size();
    CaptureOutcome outside = captureNow(capture, QRectF(size.width() + 5, 0, 50, 50), screen());
    ASSERT_FALSE(outside.ok());
    EXPECT_EQ(std::get<CaptureError>(outside.error()), CaptureError::captureFailed);
    EXPECT_TRUE(grabber.requested.empty()) << "nothing to grab";

    grabber.refuse = true;
    CaptureOutcome refused = captureNow(capture, QRectF(0, 0, 50, 50), screen());
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(std::get<CaptureError>(refused.error()), CaptureError::captureFailed);
}
