#include "capture/SelectionOverlay.h"
#include "capture/OverlayWindow.h"
#include "capture/SelectionView.h"
#include "platform/WindowList.h"
#include "support/FlowFakes.h"
#include "support/ScopedSettings.h"

#include <QTest>

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
