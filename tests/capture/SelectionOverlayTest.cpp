// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/SelectionOverlay.h"
#include "capture/OverlayWindow.h"
#include "capture/ScreenCapture.h"
#include "capture/SelectionView.h"
#include "core/RunToEnd.h"
#include "platform/WindowList.h"
#include "support/FlowFakes.h"
#include "support/ScopedSettings.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <qcoro/qcorotimer.h>

#include <gtest/gtest.h>

using namespace tavolen;

namespace {

// One window at (100, 100), or a session that does not say where windows are.
struct OneWindow : platform::WindowList {
    QList<QRect> frontToBack() const override
    {
        ++asked;
        return {QRect(100, 100, 300, 200)};
    }
    bool canList() const override { return listable; }
    bool listable = true;
    mutable int asked = 0;
};

// What a click on the window's middle ends in: a rectangle, or nullopt.
using Outcome = std::optional<std::optional<QRectF>>; // none yet; a rectangle or a cancel

Outcome clickOnTheWindow(capture::SelectionOverlay &overlay)
{
    Outcome outcome;
    overlay.begin([&](std::optional<capture::Selection> s) {
        outcome.emplace(s ? std::optional(s->rect) : std::nullopt);
    });
    capture::SelectionView *view = overlay.windows().front()->view();
    QTest::mouseMove(view, QPoint(250, 200));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(250, 200));
    return outcome;
}

} // namespace

TEST(SelectionOverlay, WhereWindowsCannotBeListedItOffersRegionsOnlyAndAClickCancels)
{
    test::ScopedSettings settings;
    test::FakeGrabber grabber;
    OneWindow windows;
    {
        capture::SelectionOverlay overlay(windows, grabber);
        overlay.begin([](std::optional<capture::Selection>) {});
        EXPECT_EQ(overlay.windows().front()->view()->hint(),
                  "Click to snap a window · drag for a region · Esc to cancel");
    }
    {
        capture::SelectionOverlay overlay(windows, grabber);
        EXPECT_EQ(clickOnTheWindow(overlay), Outcome(QRectF(100, 100, 300, 200)));
    }

    windows.listable = false;
    windows.asked = 0;
    capture::SelectionOverlay overlay(windows, grabber);
    const auto outcome = clickOnTheWindow(overlay);
    EXPECT_EQ(outcome, Outcome(std::optional<QRectF>())) << "the click cancels";
    EXPECT_EQ(windows.asked, 0) << "a list the session cannot give is not asked for";
    overlay.begin([](std::optional<capture::Selection>) {});
    EXPECT_EQ(overlay.windows().front()->view()->hint(), "Drag to select a region · Esc to cancel");
}

namespace {

// A desktop that hands over a picture of itself later, at twice the screen's
// density (a Wayland portal on a scaled output), or refuses.
struct PortalLikeGrabber final : platform::ScreenGrabber {
    std::optional<QImage> grab(QRect) override
    {
        ++liveGrabs;
        return std::nullopt;
    }
    bool translucencyShowsDesktop() const override { return true; }
    bool readsStillsOnly() const override { return true; }
    QCoro::Task<std::optional<QImage>> desktopStill() override
    {
        ++pictures;
        co_await QCoro::sleepFor(std::chrono::milliseconds(20));
        if (refuse)
            co_return std::nullopt;
        const QSize size = QGuiApplication::primaryScreen()->geometry().size() * 2;
        QImage picture(size, QImage::Format_RGB32);
        // Left half blue, right half orange, so a cut shows where it came from.
        picture.fill(QColor(20, 60, 200));
        QPainter(&picture).fillRect(QRect(size.width() / 2, 0, size.width() / 2, size.height()),
                                    QColor(240, 140, 20));
        co_return picture;
    }
    bool refuse = false;
    int pictures = 0;
    int liveGrabs = 0;
};

} // namespace

TEST(SelectionOverlay, ADesktopPictureIsShownOnceItArrivesAndADragIsCutFromItAtItsOwnDensity)
{
    test::ScopedSettings settings;
    PortalLikeGrabber grabber;
    OneWindow windows;
    windows.listable = false;
    capture::SelectionOverlay overlay(windows, grabber);
    std::optional<capture::Selection> selected;
    overlay.begin([&](std::optional<capture::Selection> s) { selected = std::move(s); });
    overlay.begin([](std::optional<capture::Selection>) { ADD_FAILURE() << "a second begin is ignored"; });
    EXPECT_TRUE(overlay.isSelecting());
    EXPECT_TRUE(overlay.windows().isEmpty()) << "nothing shows before the picture";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !overlay.windows().isEmpty(); }, 2000));
    EXPECT_EQ(grabber.pictures, 1);
    EXPECT_EQ(grabber.liveGrabs, 0);

    capture::SelectionView *view = overlay.windows().front()->view();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(view->still().size(), screen * 2);
    // A drag across the middle: 100 logical pixels each side of it.
    const int middle = screen.width() / 2;
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(middle - 100, 50));
    QTest::mouseMove(view, QPoint(middle, 100));
    QTest::mouseMove(view, QPoint(middle + 100, 150));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(middle + 100, 150));
    ASSERT_TRUE(selected);

    capture::ScreenCapture capture(grabber);
    const capture::CaptureOutcome outcome = runToEnd(capture.capture(*selected));
    ASSERT_TRUE(outcome.ok());
    const QImage jpeg = QImage::fromData(outcome.value(), "JPEG");
    EXPECT_EQ(jpeg.size(), QSize(400, 200)) << "native pixels of the picture, not the screen's";
    EXPECT_LT(std::abs(jpeg.pixelColor(20, 100).blue() - 200), 30);
    EXPECT_LT(std::abs(jpeg.pixelColor(380, 100).red() - 240), 30);
    EXPECT_EQ(grabber.liveGrabs, 0);
}

TEST(SelectionOverlay, ARefusedDesktopPictureEndsTheSelectionUnmadeWithoutAWindow)
{
    test::ScopedSettings settings;
    PortalLikeGrabber grabber;
    grabber.refuse = true;
    OneWindow windows;
    capture::SelectionOverlay overlay(windows, grabber);
    std::optional<std::optional<capture::Selection>> outcome;
    overlay.begin([&](std::optional<capture::Selection> s) { outcome.emplace(std::move(s)); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 2000));
    EXPECT_FALSE(*outcome);
    EXPECT_FALSE(overlay.isSelecting());
    EXPECT_EQ(overlay.keptWindowCount(), 0) << "no window was made";
}

TEST(SelectionOverlay, AnOverlayGoneWhileThePictureIsAwaitedNeitherCrashesNorAnswers)
{
    test::ScopedSettings settings;
    PortalLikeGrabber grabber;
    OneWindow windows;
    bool answered = false;
    {
        capture::SelectionOverlay overlay(windows, grabber);
        overlay.begin([&](std::optional<capture::Selection>) { answered = true; });
    }
    QTest::qWait(200);
    EXPECT_FALSE(answered);
}
