// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Tokens.h"

#include <QAbstractAnimation>

#include <functional>

namespace tavolen::ui {

// A damped spring of unit mass, described as the design describes it: the
// response (the period of the undamped oscillation, in seconds) and the
// damping fraction (1 = critically damped, below 1 overshoots).
struct SpringMotion {
    double value = 0;
    double velocity = 0;
};

// Advances `m` towards `target` by `seconds`. Pure; stable for any step
// because it integrates in sub-steps of at most 1/240 s.
SpringMotion stepSpring(SpringMotion m, double target, tokens::SpringTuning tuning, double seconds);
// Close enough to `target`, and slow enough, to stop animating.
bool springSettled(SpringMotion m, double target);

// Drives one spring on Qt's animation clock (one tick a frame) and hands
// every new value to `apply` (the animation is stopped when the final,
// settled value goes out). Retargeting keeps the current velocity, so
// a hover that ends half-way turns around smoothly.
class SpringAnimation final : public QAbstractAnimation {
public:
    SpringAnimation(tokens::SpringTuning tuning, double initial, std::function<void(double)> apply,
                    QObject *parent);

    void animateTo(double target);
    // Sets the value at once, without motion.
    void jumpTo(double value);

    double value() const { return m_motion.value; }
    double target() const { return m_target; }
    int duration() const override { return -1; }

protected:
    void updateCurrentTime(int currentTime) override;

private:
    tokens::SpringTuning m_tuning;
    SpringMotion m_motion;
    double m_target;
    int m_lastTime = 0;
    std::function<void(double)> m_apply;
};

} // namespace tavolen::ui
