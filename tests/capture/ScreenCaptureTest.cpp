// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/ScreenCapture.h"
#include "core/RunToEnd.h"
#include "support/FlowFakes.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::capture;

namespace {

// The outcome of one capture of `rect` on `on` through `grabber`.
CaptureOutcome captured(platform::ScreenGrabber &grabber, QRectF rect, QScreen *on, QImage still = {})
{
    ScreenCapture capture(grabber);
    return runToEnd(capture.capture(Selection{rect, on, still}));
}

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
    test::FakeGrabber grabber;
    const CaptureOutcome outcome = captured(grabber, QRectF(10, 20, 120, 80), screen());
    EXPECT_EQ(grabber.requested,
              std::vector{QRect(screen()->geometry().topLeft() + QPoint(10, 20), QSize(120, 80))});
    EXPECT_TRUE(grabber.last.isDetached()) << "the grab's pixels must not outlive the capture";
    EXPECT_EQ(decoded(outcome).size(), QSize(120, 80));

    const QSize size = screen()->size();
    const CaptureOutcome cut =
        captured(grabber, QRectF(size.width() - 30, size.height() - 20, 100, 100), screen());
    EXPECT_EQ(decoded(cut).size(), QSize(30, 20)) << "cut to the screen";
}

TEST(ScreenCapture, ASelectionWithAStillIsCutFromItWithoutReadingTheScreen)
{
    test::FakeGrabber grabber;
    QImage still(screen()->size(), QImage::Format_RGB32);
    still.fill(Qt::black);
    const QRect window(40, 30, 100, 60);
    for (int y = window.top(); y <= window.bottom(); ++y)
        for (int x = window.left(); x <= window.right(); ++x)
            still.setPixelColor(x, y, x < window.center().x() ? QColor(20, 200, 60) : QColor(30, 60, 220));

    const QImage jpeg = decoded(captured(grabber, QRectF(window), screen(), still));
    EXPECT_TRUE(grabber.requested.empty()) << "no pixels read off the screen";
    ASSERT_EQ(jpeg.size(), window.size());
    EXPECT_TRUE(near(jpeg.pixelColor(10, 30), QColor(20, 200, 60)));
    EXPECT_TRUE(near(jpeg.pixelColor(90, 30), QColor(30, 60, 220)));

    // A still the grab could not make whole (the desktop ends before the screen).
    const QImage clipped =
        decoded(captured(grabber, QRectF(100, 50, 200, 100), screen(), still.copy(0, 0, 140, 90)));
    EXPECT_EQ(clipped.size(), QSize(40, 40)) << "cut to the still";
}

TEST(ScreenCapture, NoScreenNoPixelsOrARefusedGrabFail)
{
    test::FakeGrabber grabber;
    EXPECT_EQ(errorOf(captured(grabber, QRectF(0, 0, 50, 50), nullptr)), CaptureError::displayNotFound);
    EXPECT_EQ(errorOf(captured(grabber, QRectF(screen()->size().width() + 5, 0, 50, 50), screen())),
              CaptureError::captureFailed);
    EXPECT_TRUE(grabber.requested.empty()) << "nothing to grab";
    grabber.refuse = true;
    EXPECT_EQ(errorOf(captured(grabber, QRectF(0, 0, 50, 50), screen())), CaptureError::captureFailed);
}

TEST(ScreenCapture, GoesOnlyOnceItsWorkerHasLetGoOfTheGrabber)
{
    // A run that cannot start ends the process right after start-up, while
    // the warm-up may still be preparing the grabber.
    test::FakeGrabber::destroyedWhilePreparing = false;
    {
        test::FakeGrabber grabber;
        ScreenCapture capture(grabber);
        capture.warmUp();
        for (int i = 0; i < 100 && !grabber.preparing; ++i)
            QThread::msleep(2);
        ASSERT_TRUE(grabber.preparing) << "the warm-up is under way";
    }
    EXPECT_FALSE(test::FakeGrabber::destroyedWhilePreparing);
}
