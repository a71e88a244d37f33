// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ReadyToast.h"
#include "app/ToastPlacement.h"
#include "app/ToastView.h"
#include "app/ToastWindow.h"
#include "platform/FloatingWindows.h"
#include "support/ScopedSettings.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace std::chrono_literals;
using app::ReadyToast;

namespace {

// One 1600 × 900 screen whose bottom 30 a panel takes, and a second one to its right.
const panel::ScreenLayout kScreens{{{QRectF(0, 0, 1600, 900), QRectF(0, 0, 1600, 870)},
                                    {QRectF(1600, 0, 1280, 1024), QRectF(1600, 28, 1280, 996)}},
                                   0};
const QSizeF kToast(240, 34);

struct Windows final : platform::FloatingWindows {
    bool compositing() const override { return composited; }
    bool canBlurBehind() const override { return false; }
    void setBlurBehind(QWindow &, const QRegion &) override {}
    bool windowsPlaceThemselves() const override { return true; }
    void keepAsPanel(QWindow &) override { ++panels; }
    bool composited = false;
    int panels = 0;
};

struct Rig {
    explicit Rig(ReadyToast::Timings timings = {}) : toast(windows, timings)
    {
        toast.setScreenSource([] { return kScreens; });
    }
    test::ScopedSettings settings;
    Windows windows;
    ReadyToast toast;
};

bool shown(const QPointer<app::ToastWindow> &window)
{
    return window && window->isVisible();
}

} // namespace

TEST(ToastPlacement, CentredOnTheTrayIconAndOnItsSideOfTheScreen)
{
    // Top left: centred below the icon, even past the screen's left edge.
    EXPECT_EQ(app::toastOrigin(kToast, QRectF(10, 2, 24, 24), kScreens), QPointF(22 - 120, 34));
    // Top right: kept 8 inside the usable area's right edge.
    EXPECT_EQ(app::toastOrigin(kToast, QRectF(1570, 2, 24, 24), kScreens), QPointF(1600 - 240 - 8, 34));
    // In a bottom panel: 8 above the icon.
    EXPECT_EQ(app::toastOrigin(kToast, QRectF(800, 873, 24, 24), kScreens), QPointF(812 - 120, 873 - 8 - 34));
    // On the second screen, against that screen's edge and halves.
    EXPECT_EQ(app::toastOrigin(kToast, QRectF(2860, 1000, 20, 20), kScreens), QPointF(2880 - 248, 958));
    // No icon: centred on the primary screen, 60 below the top of its usable area.
    EXPECT_EQ(app::toastOrigin(kToast, std::nullopt, kScreens), QPointF(800 - 120, 60));
    EXPECT_EQ(app::toastOrigin(kToast, std::nullopt, {}), QPointF(0, 0));
}

TEST(ReadyToast, AFocuslessCapsuleOnEveryWorkspaceSizedToItsTextAndPlacedByTheIcon)
{
    Rig rig;
    rig.toast.show(QRect(1570, 2, 24, 24));
    app::ToastWindow *window = rig.toast.window();
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(rig.windows.panels, 2) << "marked as a panel before and after showing";

    const QRectF capsule = window->surfaceGeometry();
    EXPECT_EQ(capsule.right(), 1600 - 8);
    EXPECT_EQ(capsule.top(), 2 + 24 + 8);
    EXPECT_LE(capsule.width(), 320);
    EXPECT_GT(capsule.width(), window->view()->sizeHint().width() - 1);
    // Without a compositor the window is opaque and cut to the capsule.
    EXPECT_FALSE(window->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_FALSE(window->mask().isEmpty());

    rig.windows.composited = true;
    rig.toast.show(std::nullopt);
    EXPECT_TRUE(rig.toast.window()->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(rig.toast.window()->mask().isEmpty());
    EXPECT_EQ(rig.toast.window()->surfaceGeometry().top(), 60);
}

// Qt's coarse timers may fire up to 5% before they are due.
constexpr double kEarly = 0.95;

TEST(ReadyToast, FadesInThenOutOnItsTimelineAndIsKeptOnceHidden)
{
    Rig rig({60ms, 300ms, 60ms});
    QElapsedTimer clock;
    clock.start();
    rig.toast.show(std::nullopt);
    QPointer<app::ToastWindow> window = rig.toast.window();
    EXPECT_EQ(window->windowOpacity(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->windowOpacity() == 1; }, 1000));
    EXPECT_LT(clock.elapsed(), 250);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown(window); }, 2000));
    EXPECT_GE(clock.elapsed(), kEarly * 300 + 60);
    EXPECT_EQ(rig.toast.window(), window.data());
}

TEST(ReadyToast, ASecondShowReplacesTheFirstAndTheFirstHideStepFadesTheNewOne)
{
    Rig rig({30ms, 500ms, 40ms});
    QElapsedTimer clock;
    clock.start();
    rig.toast.show(std::nullopt);
    QPointer<app::ToastWindow> first = rig.toast.window();
    QTest::qWait(250);
    rig.toast.show(std::nullopt);
    QPointer<app::ToastWindow> second = rig.toast.window();
    EXPECT_FALSE(shown(first)) << "the first toast goes at once";
    ASSERT_TRUE(shown(second));

    // The first show's step, due at 500, hides the second toast well before its own, due at 750.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown(second); }, 2000));
    EXPECT_GE(clock.elapsed(), kEarly * 500 + 40);
    EXPECT_LT(clock.elapsed(), 700);
    // Its own step later finds it hidden and leaves it so.
    QTest::qWait(350);
    EXPECT_FALSE(shown(second));
}

TEST(ReadyToast, AHideStepOutlivingTheToastObjectDoesNothing)
{
    auto rig = std::make_unique<Rig>(ReadyToast::Timings{10ms, 50ms, 10ms});
    rig->toast.show(std::nullopt);
    rig.reset();
    QTest::qWait(120);
    SUCCEED();
}

TEST(ReadyToast, SpeaksTheLanguageOfTheMomentItIsShown)
{
    Rig rig;
    rig.settings.setAppLang(QStringLiteral("zh"));
    rig.toast.show(std::nullopt);
    EXPECT_EQ(rig.toast.window()->view()->text(), QStringLiteral("Tavolen 已就绪 · 按 Alt+Shift+S 试试"));
    rig.settings.setAppLang(QStringLiteral("en"));
    rig.toast.show(std::nullopt);
    EXPECT_EQ(rig.toast.window()->view()->text(),
              QStringLiteral("Tavolen is ready \u2014 press Alt+Shift+S"));
}
