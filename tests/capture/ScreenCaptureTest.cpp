#include "capture/ScreenCapture.h"
#include "platform/ScreenGrabber.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::capture;

namespace {

class FakeGrabber final : public platform::ScreenGrabber {
public:
    std::optional<QImage> grab(QRect nativeRect) override
    {
        requested.push_back(nativeRect);
        if (refuse)
            return std::nullopt;
        last = QImage(nativeRect.size(), QImage::Format_RGB32);
        last.fill(QColor(200, 30, 40));
        return last;
    }
    bool translucencyShowsDesktop() const override { return true; }

    // The outcome, from a coroutine that waitFor can hold (it needs a
    // default-constructible result).
    CaptureOutcome capture(QRectF rect, QScreen *on)
    {
        ScreenCapture capture(*this);
        auto task = [&]() -> QCoro::Task<std::optional<CaptureOutcome>> {
            co_return co_await capture.capture(rect, on);
        };
        return *QCoro::waitFor(task());
    }

    std::vector<QRect> requested;
    bool refuse = false;
    QImage last; // shares its pixels with the grab handed out until that is released
};

QScreen *screen()
{
    return QGuiApplication::primaryScreen();
}

std::optional<CaptureError> errorOf(const CaptureOutcome &outcome)
{
    return outcome.ok() ? std::nullopt : std::optional(std::get<CaptureError>(outcome.error()));
}

} // namespace

TEST(ScreenCapture, GrabsTheSelectedNativeRectCutToTheScreenAndReleasesIt)
{
    FakeGrabber grabber;
    const CaptureOutcome outcome = grabber.capture(QRectF(10, 20, 120, 80), screen());
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(grabber.requested,
              std::vector{QRect(screen()->geometry().topLeft() + QPoint(10, 20), QSize(120, 80))});
    EXPECT_TRUE(grabber.last.isDetached()) << "the grab's pixels must not outlive the capture";
    EXPECT_EQ(QImage::fromData(outcome.value(), "JPEG").size(), QSize(120, 80)); // pixels: see the e2e tests

    const QSize size = screen()->size();
    const CaptureOutcome cut =
        grabber.capture(QRectF(size.width() - 30, size.height() - 20, 100, 100), screen());
    ASSERT_TRUE(cut.ok());
    EXPECT_EQ(QImage::fromData(cut.value(), "JPEG").size(), QSize(30, 20)) << "cut to the screen";
}

TEST(ScreenCapture, NoScreenNoPixelsOrARefusedGrabFail)
{
    FakeGrabber grabber;
    EXPECT_EQ(errorOf(grabber.capture(QRectF(0, 0, 50, 50), nullptr)), CaptureError::displayNotFound);
    EXPECT_EQ(errorOf(grabber.capture(QRectF(screen()->size().width() + 5, 0, 50, 50), screen())),
              CaptureError::captureFailed);
    EXPECT_TRUE(grabber.requested.empty()) << "nothing to grab";
    grabber.refuse = true;
    EXPECT_EQ(errorOf(grabber.capture(QRectF(0, 0, 50, 50), screen())), CaptureError::captureFailed);
}
