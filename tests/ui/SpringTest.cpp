// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Spring.h"
#include "ui/Motion.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace tavolen::ui;

namespace {

// Steps a spring from 0 to 1 at 60 frames a second; its values frame by frame.
std::vector<double> run(tokens::SpringTuning tuning, double seconds)
{
    std::vector<double> values;
    SpringMotion m;
    for (int frame = 0; frame < seconds * 60; ++frame) {
        m = stepSpring(m, 1, tuning, 1.0 / 60);
        values.push_back(m.value);
    }
    return values;
}

} // namespace

TEST(Spring, SettlesAtItsTargetWithinAboutItsResponseAndOvershootsOnlyWhenUnderdamped)
{
    // Two of the app's springs, which bounce a little, and one damped just enough never to pass its target.
    const tokens::SpringTuning criticallyDamped{0.3, 1.0};
    for (const tokens::SpringTuning tuning :
         {tokens::motion::entrance, tokens::motion::badgePulse, criticallyDamped}) {
        const std::vector<double> values = run(tuning, 2);
        const double peak = *std::max_element(values.begin(), values.end());
        if (tuning.damping >= 1)
            EXPECT_LE(peak, 1.0 + 1e-9);
        else
            EXPECT_GT(peak, 1.0) << tuning.damping;
        // Within 2 % of the target after one and a half responses.
        EXPECT_NEAR(values.at(size_t(tuning.response * 1.5 * 60)), 1.0, 0.02) << tuning.response;
        EXPECT_NEAR(values.back(), 1.0, 1e-4);
    }
    // One long step is as stable as many short ones.
    EXPECT_NEAR(stepSpring({}, 1, tokens::motion::hoverLift, 5).value, 1.0, 1e-4);
}

TEST(Spring, AnimationReachesItsTargetOnTheFrameClockAndTurnsAroundMidway)
{
    QObject owner;
    std::vector<double> applied;
    SpringAnimation spring(
        tokens::motion::hoverLift, 0, [&](double v) { applied.push_back(v); }, &owner);
    spring.animateTo(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !applied.empty() && applied.back() > 0.3; }, 2000));
    spring.animateTo(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spring.state() == QAbstractAnimation::Stopped; }, 3000));
    EXPECT_EQ(applied.back(), 0.0);
    EXPECT_LT(*std::max_element(applied.begin(), applied.end()), 1.0) << "it turned before arriving";
}

TEST(Entrance, StartsTransparentAndSmallAndRemovesItselfOnceIn)
{
    QWidget card;
    card.resize(100, 60);
    EntranceEffect *effect = EntranceEffect::install(&card);
    EXPECT_EQ(effect->progress(), 0.0);
    card.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return card.graphicsEffect() == nullptr; }, 3000));
}
