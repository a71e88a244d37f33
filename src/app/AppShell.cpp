// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AppShell.h"

#include "app/LaunchDecision.h"
#include "app/UpdateDialog.h"
#include "core/Log.h"
#include "core/Settings.h"

#include <QCoreApplication>

namespace tavolen::app {

namespace {

// The context translators see this file's texts under.
struct ShellTexts {
    Q_DECLARE_TR_FUNCTIONS(ShellTexts)
};

} // namespace

AppShell::AppShell(SingleInstance &instance, SettingsStore &settings, InterfaceLanguage &language,
                   QObject *parent)
    : QObject(parent), m_settings(settings), m_language(language), m_stack(settings),
      m_tray(TrayIcon::Actions{
                 .capture = [this] { capture(); },
                 .checkForUpdates = [this] { checkForUpdatesInWindow(m_stack.network()); },
                 .settings = [this] { showSettings(SettingsWindow::Page::General); },
                 .languageChanged = [this] { languageChosen(); },
                 .quit = [] { QCoreApplication::quit(); },
             },
             settings, this),
      m_toast(*m_stack.platform().floatingWindows), m_onboarding(*m_stack.platform().screenAccess)
{
    connect(&instance, &SingleInstance::requested, this, [this](SingleInstance::Request request) {
        if (request == SingleInstance::Request::Capture)
            capture();
        else if (request == SingleInstance::Request::ShowSettings)
            showSettings(SettingsWindow::Page::Analysis);
        else
            showReady();
    });
    m_stack.setOpenModelSettings([this] { showSettings(SettingsWindow::Page::Analysis); });
}

void AppShell::launch()
{
    m_tray.show();
    platform::GlobalHotKey &hotKey = *m_stack.platform().hotKey;
    hotKey.setPurpose(ShellTexts::tr("Capture and read a message"));
    hotKey.start([this] { capture(); });
    switch (decideLaunch(m_settings, *m_stack.platform().screenAccess)) {
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

void AppShell::capture()
{
    if (!m_onboarding.takeCaptureRequest())
        m_stack.flow().begin();
}

// Every window words itself again on the LanguageChange that follows; the
// ready note then says in the new language that all is well.
void AppShell::languageChosen()
{
    m_language.apply();
    showReady();
}

void AppShell::showSettings(SettingsWindow::Page page)
{
    if (!m_settingsWindow) {
        m_settingsWindow = new SettingsWindow({.settings = m_settings,
                                               .network = m_stack.network(),
                                               .hotKey = m_stack.platform().hotKey.get(),
                                               .languageChanged = [this] { m_language.apply(); }});
        m_settingsWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_settingsWindow->showPage(page);
}

void AppShell::showReady()
{
    m_toast.show(m_tray.geometry());
}

} // namespace tavolen::app
