// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Spring.h"

#include <cmath>
#include <numbers>

namespace tavolen::ui {

SpringMotion stepSpring(SpringMotion m, double target, tokens::SpringTuning tuning, double seconds)
{
    const double omega = 2 * std::numbers::pi / tuning.response;
    const double stiffness = omega * omega;
    const double damping = 2 * tuning.damping * omega;
    constexpr double kMaxStep = 1.0 / 240;
    while (seconds > 0) {
        const double dt = std::min(seconds, kMaxStep);
        // Semi-implicit Euler: velocity first, then position with the new velocity.
        m.velocity += (-stiffness * (m.value - target) - damping * m.velocity) * dt;
        m.value += m.velocity * dt;
        seconds -= dt;
    }
    return m;
}

bool springSettled(SpringMotion m, double target)
{
    return std::abs(m.value - target) < 1e-3 && std::abs(m.velocity) < 1e-2;
}

SpringAnimation::SpringAnimation(tokens::SpringTuning tuning, double initial,
                                 std::function<void(double)> apply, QObject *parent)
    : QAbstractAnimation(parent), m_tuning(tuning), m_motion{initial, 0}, m_target(initial),
      m_apply(std::move(apply))
{}

void SpringAnimation::animateTo(double target)
{
    m_target = target;
    if (springSettled(m_motion, target)) {
        jumpTo(target);
        return;
    }
    if (state() != Running) {
        m_lastTime = 0;
        start();
    }
}

void SpringAnimation::jumpTo(double value)
{
    stop();
    m_target = value;
    m_motion = {value, 0};
    m_apply(value);
}

void SpringAnimation::updateCurrentTime(int currentTime)
{
    const double seconds = (currentTime - m_lastTime) / 1000.0;
    m_lastTime = currentTime;
    m_motion = stepSpring(m_motion, m_target, m_tuning, seconds);
    if (springSettled(m_motion, m_target)) {
        m_motion = {m_target, 0};
        // Stopped before the last value goes out, so `apply` can tell it is the last.
        stop();
        m_apply(m_target);
        return;
    }
    m_apply(m_motion.value);
}

} // namespace tavolen::ui
