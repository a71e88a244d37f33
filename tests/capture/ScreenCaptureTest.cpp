#include "capture/ScreenCapture.h"
#include "platform/ScreenGrabber.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

using namespace tavolen;
using namespace tavolen::capture;

namespace {

const QColor kLive(200, 30, 40);

class FakeGrabber final : public platform::ScreenGrabber {
public:
    ~FakeGrabber() override { destroyedWhilePreparing = preparing.load(); }

    std::optional<QImage> grab(QRect nativeRect) override
    {
        requested.push_back(nativeRect);
        if (refuse)
            return std::nullopt;
        last = QImage(nativeRect.size(), QImage::Format_RGB32);
        last.fill(kLive);
        return last;
    }
    void prepare() override
    {
        preparing = true;
        QThread::msleep(300);
        preparing = false;
    }
    bool translucencyShowsDesktop() const override { return true; }

    // The outcome, from a coroutine that waitFor can hold (it needs a
    // default-constructible result).
    CaptureOutcome capture(QRectF rect, QScreen *on, QImage still = {})
    {
        ScreenCapture capture(*this);
        auto task = [&]() -> QCoro::Task<std::optional<CaptureOutcome>> {
            Selection selection{rect, on, still};
            co_return co_await capture.capture(std::move(selection));
        };
        return *QCoro::waitFor(task());
    }

    std::vector<QRect> requested;
    bool refuse = false;
    QImage last; // shares its pixels with the grab handed out until that is released
    std::atomic<bool> preparing = false;
    inline static bool destroyedWhilePreparing = false;
};

QScreen *screen()
{
    return QGuiApplication::primaryScreen();
}

std::optional<CaptureError> errorOf(const CaptureOutcome &outcome)
{
    return outcome.ok() ? std::nullopt : std::optional(std::get<CaptureError>(outcome.error()));
}

QImage decoded(const CaptureOutcome &outcome)
{
    return outcome.ok() ? QImage::fromData(outcome.value(), "JPEG") : QImage();
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 24;
}

} // namespace

TEST(ScreenCapture, GrabsTheSelectedNativeRectCutToTheScreenAndReleasesIt)
{
    FakeGrabber grabber;
    const CaptureOutcome outcome = grabber.capture(QRectF(10, 20, 120, 80), screen());
    EXPECT_EQ(grabber.requested,
              std::vector{QRect(screen()->geometry().topLeft() + QPoint(10, 20), QSize(120, 80))});
    EXPECT_TRUE(grabber.last.isDetached()) << "the grab's pixels must not outlive the capture";
    EXPECT_EQ(decoded(outcome).size(), QSize(120, 80));

    const QSize size = screen()->size();
    const CaptureOutcome cut =
        grabber.capture(QRectF(size.width() - 30, size.height() - 20, 100, 100), screen());
    EXPECT_EQ(decoded(cut).size(), QSize(30, 20)) << "cut to the screen";
}

TEST(ScreenCapture, ASelectionWithAStillIsCutFromItWithoutReadingTheScreen)
{
    FakeGrabber grabber;
    QImage still(screen()->size(), QImage::Format_RGB32);
    still.fill(Qt::black);
    const QRect window(40, 30, 100, 60);
    for (int y = window.top(); y <= window.bottom(); ++y)
        for (int x = window.left(); x <= window.right(); ++x)
            still.setPixelColor(x, y, x < window.center().x() ? QColor(20, 200, 60) : QColor(30, 60, 220));

    const QImage jpeg = decoded(grabber.capture(QRectF(window), screen(), still));
    EXPECT_TRUE(grabber.requested.empty()) << "no pixels read off the screen";
    ASSERT_EQ(jpeg.size(), window.size());
    EXPECT_TRUE(near(jpeg.pixelColor(10, 30), QColor(20, 200, 60)));
    EXPECT_TRUE(near(jpeg.pixelColor(90, 30), QColor(30, 60, 220)));

    // A still the grab could not make whole (the desktop ends before the screen).
    const QImage clipped =
        decoded(grabber.capture(QRectF(100, 50, 200, 100), screen(), still.copy(0, 0, 140, 90)));
    EXPECT_EQ(clipped.size(), QSize(40, 40)) << "cut to the still";
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

TEST(ScreenCapture, GoesOnlyOnceItsWorkerHasLetGoOfTheGrabber)
{
    // A run that cannot start ends the process right after start-up, while
    // the warm-up may still be preparing the grabber.
    FakeGrabber::destroyedWhilePreparing = false;
    {
        FakeGrabber grabber;
        ScreenCapture capture(grabber);
        capture.warmUp();
        for (int i = 0; i < 100 && !grabber.preparing; ++i)
            QThread::msleep(2);
        ASSERT_TRUE(grabber.preparing) << "the warm-up is under way";
    }
    EXPECT_FALSE(FakeGrabber::destroyedWhilePreparing);
}
