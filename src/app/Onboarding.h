// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Tokens.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

namespace tavolen::platform {
class ScreenAccess;
}

namespace tavolen::app {

class OnboardingView;

struct OnboardingTimings {
    // How often the permission is looked for.
    std::chrono::milliseconds poll{ui::tokens::shell::onboarding::pollMs};
    // How often the window's status line is refreshed.
    std::chrono::milliseconds refresh{ui::tokens::shell::onboarding::refreshMs};
};

// Starts a new instance of this program and quits this one 0.3 s later.
// A new instance that cannot be started is ignored: this one quits anyway.
void relaunchApplication();

// The first run without screen capture: the onboarding window, and a poll
// that relaunches the application as soon as the permission has arrived.
// The poll belongs to this object, not to the window, so closing the
// window does not stop it.
class Onboarding final : public QObject {
public:
    using Timings = OnboardingTimings;

    Onboarding(platform::ScreenAccess &access, std::function<void()> relaunch = relaunchApplication,
               Timings timings = {});
    ~Onboarding() override;

    // Opens the window in front, activated, and starts the poll.
    void show();
    // A capture asked for while the window is up and capture is still not
    // possible: the window, brought to the front, is the one place that asks
    // for it, rather than a second card with the same button. True when it
    // took the request.
    bool takeCaptureRequest();

    OnboardingView *window() const { return m_window.get(); }
    bool polling() const { return m_poll.isActive(); }

private:
    void centre();
    void poll();

    platform::ScreenAccess &m_access;
    std::function<void()> m_relaunch;
    Timings m_timings;
    QTimer m_poll;
    std::unique_ptr<OnboardingView> m_window;
};

} // namespace tavolen::app
