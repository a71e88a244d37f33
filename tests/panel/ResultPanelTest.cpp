// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/ResultPanel.h"
#include "panel/views/FullContent.h"
#include "panel/views/PillContent.h"
#include "panel/views/ReadingParts.h"
#include "panel/views/ResultContent.h"
#include "platform/NullPlatform.h"
#include "support/ScopedSettings.h"
#include "support/ServiceAnswers.h"

#include <QAbstractButton>
#include <QCursor>
#include <QEnterEvent>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::panel;
using namespace std::chrono_literals;
using Mode = ResultPanel::Mode;

namespace {

const ScreenLayout kScreens{{{QRectF(0, 0, 1600, 900), QRectF(0, 0, 1600, 870)}}, 0};
const QRectF kSelection(200, 150, 500, 300);
// A selection whose panel lies on the test platform's own screen, for real pointer events.
const QRectF kNear(20, 20, 300, 100);

// A panel on one known screen, without a compositor.
struct Rig {
    explicit Rig(ResultPanel::Timings timings = {}) : panel(windows, {}, timings)
    {
        panel.setScreenSource([] { return kScreens; });
    }
    views::FullContent *full() const { return dynamic_cast<views::FullContent *>(panel.content()); }
    views::PillContent *pill() const { return dynamic_cast<views::PillContent *>(panel.content()); }
    static void hover(QWidget *w, bool inside)
    {
        if (inside) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QCoreApplication::sendEvent(w, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(w, &leave);
        }
    }

    test::ScopedSettings settings;
    platform::NullFloatingWindows windows;
    ResultPanel panel;
};

// Timings short enough to wait for, distinct enough to tell apart.
const ResultPanel::Timings kFast{60ms, 70ms, 80ms, 90ms};

} // namespace

TEST(ResultPanel, ACardFourHundredWideBesideTheSelectionSizedToItsContent)
{
    Rig rig;
    rig.panel.show(PanelState::loading(), kSelection);
    ASSERT_EQ(rig.panel.mode(), Mode::Full);
    QWidget *window = rig.panel.window();
    EXPECT_TRUE(window->isVisible());
    const QRect g = window->geometry();
    EXPECT_EQ(g.width(), 400);
    EXPECT_EQ(g.height(), rig.full()->heightForWidth(400));
    EXPECT_EQ(g.top(), 150 + 300 + 12);
    EXPECT_FALSE(window->mask().isEmpty()) << "without a compositor the window cuts its own corners";

    // A result is taller; the same window grows and stays beside the selection.
    rig.panel.show(PanelState::result(test::sampleResult()), kSelection);
    EXPECT_GT(window->height(), g.height());
    EXPECT_EQ(window->y(), 462);
    // Without an anchor: centred in the usable area.
    rig.panel.show(PanelState::error(QString()), std::nullopt);
    EXPECT_EQ(window->geometry().center().x(), 800 - 1);
    EXPECT_GE(window->height(), 44);
}

TEST(ResultPanel, ARunsCardKeepsItsSideAndEdgeAsItGrowsAndScrollsWhereTheScreenEnds)
{
    Rig rig;
    // Room below for the first small card but not for a reading: the card
    // goes above at once, its bottom edge 12 above the selection.
    const QRectF low(200, 560, 500, 200);
    const int edge = 560 - 12;
    const auto expectHeld = [&](const char *when) {
        const QRect g = rig.panel.window()->geometry();
        EXPECT_EQ(g.bottom() + 1, edge) << when;
        EXPECT_EQ(g.left(), 200) << when;
        EXPECT_FALSE(QRectF(g).intersects(low)) << when;
    };
    rig.panel.show(PanelState::loading(), low);
    expectHeld("loading");
    rig.panel.show(PanelState::streaming(test::partial(QStringLiteral("First lines"))), low);
    expectHeld("streaming");
    protocol::AnalysisResult result = test::sampleResult();
    result.full_translation = QStringLiteral("The whole text, translated. ").repeated(6);
    rig.panel.show(PanelState::result(result), low);
    expectHeld("result");
    const int resultHeight = rig.panel.window()->height();
    static_cast<views::ResultContent *>(rig.full()->contentView())->toggleTranslation();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.panel.window()->height() > resultHeight; }, 2000));
    expectHeld("translation open");

    // A reading taller than the room above: the card takes the room, 12 below
    // the screen's top, and its reading scrolls.
    result.hidden_meaning = QStringLiteral("A reading that goes on and on. ").repeated(60);
    rig.panel.show(PanelState::result(result), low);
    expectHeld("long result");
    EXPECT_EQ(rig.panel.window()->y(), 12);
    auto *scroll = rig.full()->findChild<QScrollArea *>();
    ASSERT_TRUE(scroll);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
}

TEST(ResultPanel, OnlyAPanelComingIntoViewAnimatesIn)
{
    Rig rig;
    const auto animated = [&] { return rig.full()->entranceAnimated(); };
    rig.panel.show(PanelState::loading(), kSelection);
    EXPECT_TRUE(animated());
    rig.panel.show(PanelState::streaming({}), kSelection);
    EXPECT_FALSE(animated());
    rig.panel.show(PanelState::result(test::sampleResult()), kSelection);
    EXPECT_FALSE(animated());
    rig.panel.show(PanelState::error(QStringLiteral("again")), kSelection);
    EXPECT_TRUE(animated()) << "the last state was not in progress";
    rig.panel.hide();
    rig.panel.show(PanelState::result(test::sampleResult()), kSelection);
    EXPECT_TRUE(animated());
}

TEST(ResultPanel, AResultFoldsIntoAPillThatGoesAwayAMinuteLater)
{
    {
        Rig real;
        real.panel.show(PanelState::result(test::sampleResult()), kSelection);
        EXPECT_TRUE(real.panel.collapseTimer().isActive());
        EXPECT_EQ(real.panel.collapseTimer().interval(), 10'000);
    }
    Rig rig(kFast);
    QSignalSpy closed(&rig.panel, &ResultPanel::closed);
    rig.panel.show(PanelState::result(test::sampleResult()), kSelection);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.panel.mode() == Mode::Pill; }, 2000));
    EXPECT_EQ(rig.panel.dismissTimer().interval(), 90);
    EXPECT_EQ(rig.panel.window()->height(), 44) << "a pill is shorter than the window's floor";
    EXPECT_LE(rig.panel.window()->width(), 340);
    EXPECT_EQ(rig.panel.window()->x(), 200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.panel.mode() == Mode::Hidden; }, 2000));
    EXPECT_FALSE(rig.panel.window()) << "nothing of it is kept";
    EXPECT_EQ(closed.count(), 1);
}

TEST(ResultPanel, ThePointerOverAResultHoldsItAndLeavingFoldsItSixSecondsLater)
{
    Rig rig;
    rig.panel.show(PanelState::result(test::sampleResult()), kSelection);
    Rig::hover(rig.full(), true);
    EXPECT_FALSE(rig.panel.collapseTimer().isActive());
    Rig::hover(rig.full(), false);
    EXPECT_TRUE(rig.panel.collapseTimer().isActive());
    EXPECT_EQ(rig.panel.collapseTimer().interval(), 6'000);

    // No other state has timers, and hovering them starts none.
    for (const PanelState &state : {PanelState::loading(), PanelState::streaming({}), PanelState::error({}),
                                    PanelState::permission()}) {
        rig.panel.show(state, kSelection);
        Rig::hover(rig.full(), true);
        Rig::hover(rig.full(), false);
        EXPECT_FALSE(rig.panel.collapseTimer().isActive());
        EXPECT_FALSE(rig.panel.dismissTimer().isActive());
    }
}

TEST(ResultPanel, APillReopenedByThePointerStaysWhileItRestsThereAndFoldsWhenItLeaves)
{
    struct Keyboard final : platform::ActiveWindow {
        std::optional<Id> current() const override { return 7; }
        void activate(Id window) override { given = window; }
        std::optional<Id> given;
    } keyboard;
    Rig rig(ResultPanel::Timings{20ms, 70ms, 80ms, 60s});
    rig.panel.setFocusReturn(&keyboard);
    QCursor::setPos(790, 10); // parked away from the panel
    rig.panel.show(PanelState::result(test::sampleResult()), kNear);
    // Switch the reply, so that a fresh view shows in its starting state.
    static_cast<panel::views::ResultContent *>(rig.full()->contentView())->setVariant(reply::Variant::Short);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.panel.mode() == Mode::Pill; }, 2000));
    EXPECT_TRUE(rig.panel.dismissTimer().isActive());
    EXPECT_EQ(rig.panel.dismissTimer().interval(), 60'000);

    // The pointer comes in: a fresh full result opens under it, held while it rests there.
    QCursor::setPos(rig.pill()->mapToGlobal(rig.pill()->rect().center()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.panel.mode() == Mode::Full; }, 2000));
    EXPECT_TRUE(rig.full()->entranceAnimated());
    EXPECT_EQ(static_cast<panel::views::ResultContent *>(rig.full()->contentView())->variant(),
              reply::Variant::Best);
    EXPECT_EQ(rig.panel.window()->width(), 400);
    // A chip clicked, which gives the card the keyboard, and the pointer rests
    // there for many times the longest fold.
    rig.panel.window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.panel.window()));
    QTest::mouseClick(rig.full()->findChild<QAbstractButton *>(views::part::shortChip), Qt::LeftButton);
    QTest::qWait(500);
    EXPECT_EQ(rig.panel.mode(), Mode::Full);
    EXPECT_FALSE(rig.panel.collapseTimer().isActive());
    EXPECT_FALSE(rig.panel.dismissTimer().isActive());

    // Away: it folds, and the keyboard goes back to the window that had it.
    QCursor::setPos(790, 10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.panel.mode() == Mode::Pill; }, 2000));
    EXPECT_EQ(keyboard.given, 7);
}

TEST(ResultPanel, ADraggedPanelStaysWhereTheUserPutItAndItsBlurFollowsItsSize)
{
    struct Windows final : platform::FloatingWindows {
        bool compositing() const override { return true; }
        bool canBlurBehind() const override { return true; }
        void setBlurBehind(QWindow &, const QRegion &region) override { blurred = region.boundingRect(); }
        bool windowsPlaceThemselves() const override { return true; }
        void keepAsPanel(QWindow &) override {}
        QRect blurred;
    } windows;
    test::ScopedSettings settings;
    ResultPanel panel(windows, {});
    panel.setScreenSource([] { return kScreens; });
    QCursor::setPos(790, 10);
    protocol::AnalysisResult result = test::sampleResult();
    result.full_translation =
        QStringLiteral("The whole text, translated, long enough to need a line or two.");
    panel.show(PanelState::result(result), kNear);
    QWidget *window = panel.window();
    const QPoint card = window->geometry().topLeft() + QPoint(18, 18); // inside the shadow margin
    EXPECT_EQ(card, QPoint(20, 132));
    EXPECT_EQ(windows.blurred.height(), window->height() - 36);

    const QPoint grab(150, 24);
    QTest::mousePress(window, Qt::LeftButton, {}, grab);
    QTest::mouseMove(window, grab + QPoint(60, 40));
    QTest::mouseRelease(window, Qt::LeftButton, {}, grab + QPoint(60, 40));
    EXPECT_EQ(window->pos() + QPoint(18, 18), card + QPoint(60, 40));

    auto *full = dynamic_cast<panel::views::FullContent *>(panel.content());
    static_cast<panel::views::ResultContent *>(full->contentView())->toggleTranslation();
    QTest::qWait(1);
    EXPECT_EQ(window->pos() + QPoint(18, 18), card + QPoint(60, 40)) << "not back beside the selection";
    EXPECT_EQ(windows.blurred.height(), window->height() - 36) << "the blur grew with the card";
}

TEST(ResultPanel, CloseButtonEscapeAndANewCaptureAllHideAndForgetTheResult)
{
    Rig rig(kFast);
    QSignalSpy closed(&rig.panel, &ResultPanel::closed);
    rig.panel.show(PanelState::result(test::sampleResult()), kSelection);
    QTest::mouseClick(rig.full()->findChild<QAbstractButton *>(views::part::closeButton), Qt::LeftButton);
    EXPECT_EQ(rig.panel.mode(), Mode::Hidden);
    EXPECT_FALSE(rig.panel.collapseTimer().isActive());

    rig.panel.show(PanelState::result(test::sampleResult()), kSelection);
    QPointer<QWidget> window = rig.panel.window();
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_EQ(rig.panel.mode(), Mode::Hidden);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 1000)) << "the window goes with it";

    rig.panel.show(PanelState::result(test::sampleResult()), kSelection);
    rig.panel.show(PanelState::loading(), kSelection); // a new run: the result is forgotten
    QTest::qWait(150);
    EXPECT_EQ(rig.panel.mode(), Mode::Full) << "nothing left to fold";
    EXPECT_EQ(closed.count(), 2);
}

TEST(ResultPanel, AnOpenCardAndPillWordThemselvesAgainWhenTheLanguageChanges)
{
    {
        Rig rig;
        const auto shortChip = [&] {
            return rig.panel.content()->findChild<QAbstractButton *>(views::part::shortChip)->text();
        };
        rig.panel.show(PanelState::result(test::sampleResult()), kSelection);
        ASSERT_EQ(shortChip(), QStringLiteral("Shorter"));
        const QPoint where = rig.panel.window()->pos();

        rig.settings.setAppLang(QStringLiteral("zh"));
        // Qt posts the change to every window.
        ASSERT_TRUE(QTest::qWaitFor([&] { return shortChip() == QStringLiteral("更短"); }, 2000));
        EXPECT_EQ(rig.panel.mode(), Mode::Full);
        EXPECT_EQ(rig.panel.window()->pos(), where);
        EXPECT_FALSE(rig.full()->entranceAnimated()) << "the same card, in other words";
        EXPECT_TRUE(rig.panel.collapseTimer().isActive());
    }
    // A pill that folds at once and stays a minute.
    Rig folding({60ms, 70ms, 80ms, 60s});
    folding.panel.show(PanelState::result(test::sampleResult()), kSelection);
    ASSERT_TRUE(QTest::qWaitFor([&] { return folding.panel.mode() == Mode::Pill; }, 2000));
    QWidget *pill = folding.panel.content();
    folding.settings.setAppLang(QStringLiteral("zh"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return folding.panel.content() != pill; }, 2000));
    EXPECT_EQ(folding.panel.mode(), Mode::Pill);
    EXPECT_TRUE(folding.panel.dismissTimer().isActive());
}
