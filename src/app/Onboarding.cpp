// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Onboarding.h"

#include "app/OnboardingView.h"
#include "platform/ScreenAccess.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

namespace tavolen::app {

void relaunchApplication()
{
    // The single-instance check must let the new instance wait for this one
    // to go, rather than turn it away.
    // The new instance waits for this one to leave rather than hand over to it.
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {QStringLiteral("--relaunched")});
    QTimer::singleShot(ui::tokens::shell::onboarding::quitAfterRelaunchMs, qApp, &QCoreApplication::quit);
}

Onboarding::Onboarding(platform::ScreenAccess &access, std::function<void()> relaunch, Timings timings)
    : m_access(access), m_relaunch(std::move(relaunch)), m_timings(timings)
{
    m_poll.setInterval(m_timings.poll);
    connect(&m_poll, &QTimer::timeout, this, &Onboarding::poll);
}

Onboarding::~Onboarding() = default;

void Onboarding::show()
{
    if (!m_window) {
        platform::ScreenAccess *access = &m_access;
        m_window = std::make_unique<OnboardingView>(
            [access] { access->request(); }, [access] { return access->isPermitted(); }, m_timings.refresh);
        centre();
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    if (!m_poll.isActive())
        m_poll.start();
}

bool Onboarding::takeCaptureRequest()
{
    if (!m_window || !m_window->isVisible() || m_access.isPermitted())
        return false;
    show();
    return true;
}

void Onboarding::centre()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = m_window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    m_window->move(frame.topLeft());
}

void Onboarding::poll()
{
    if (!m_access.isPermitted())
        return;
    m_poll.stop();
    if (m_relaunch)
        m_relaunch();
}

} // namespace tavolen::app
