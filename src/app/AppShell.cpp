// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AppShell.h"

#include "app/LaunchDecision.h"
#include "app/UpdateDialog.h"
#include "core/L.h"
#include "core/Log.h"
#include "core/Settings.h"

#include <QCoreApplication>

namespace tavolen::app {

AppShell::AppShell(SingleInstance &instance, QObject *parent)
    : QObject(parent), m_tray(TrayIcon::Actions{
                                  .capture = [this] { m_stack.flow().begin(); },
                                  .checkForUpdates = [this] { checkForUpdatesInWindow(m_stack.network()); },
                                  .languageChanged = [this] { showReady(); },
                                  .quit = [] { QCoreApplication::quit(); },
                              },
                              this),
      m_toast(*m_stack.platform().floatingWindows), m_onboarding(*m_stack.platform().screenAccess)
{
    connect(&instance, &SingleInstance::requested, this, [this](SingleInstance::Request request) {
        if (request == SingleInstance::Request::Capture)
            m_stack.flow().begin();
        else
            showReady();
    });
}

void AppShell::launch()
{
    m_tray.show();
    platform::GlobalHotKey &hotKey = *m_stack.platform().hotKey;
    hotKey.setPurpose(
        L::text(QStringLiteral("Capture and read a message"), QStringLiteral("截取并阅读一条消息")));
    hotKey.start([this] { m_stack.flow().begin(); });
    switch (decideLaunch(settings(), *m_stack.platform().screenAccess)) {
    case LaunchStep::ReadyToast:
        qCInfo(lcApp) << "launch: ready note";
        showReady();
        break;
    case LaunchStep::Demonstration:
        qCInfo(lcApp) << "launch: first run, reading the sample post";
        m_stack.flow().demo();
        break;
    case LaunchStep::Onboarding:
        qCInfo(lcApp) << "launch: screen capture not permitted, introduction shown";
        m_onboarding.show();
        break;
    }
}

void AppShell::showReady()
{
    m_toast.show(m_tray.geometry());
}

} // namespace tavolen::app
