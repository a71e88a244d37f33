// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/CaptureStack.h"
#include "app/Onboarding.h"
#include "app/ReadyToast.h"
#include "app/SettingsWindow.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "core/InterfaceLanguage.h"

#include <QObject>
#include <QPointer>

namespace tavolen::app {

// The resident application: the tray icon and its menu, the hot key, the
// requests of later launches, and what each launch shows first.
class AppShell final : public QObject {
public:
    // `instance` must have been claimed; it, `settings` and `language` must
    // outlive the shell.
    AppShell(SingleInstance &instance, SettingsStore &settings, InterfaceLanguage &language,
             QObject *parent = nullptr);

    // The launch: tray icon, hot key, then the ready toast, the first-run
    // demonstration or the onboarding.
    void launch();
    // Settings, at `page`; one window, brought forward when already open.
    void showSettings(SettingsWindow::Page page);

private:
    // A capture from the tray, the hot key or another instance.
    void capture();
    void showReady();
    void languageChosen();

    SettingsStore &m_settings;
    InterfaceLanguage &m_language;

    CaptureStack m_stack;
    TrayIcon m_tray;
    ReadyToast m_toast;
    Onboarding m_onboarding;
    QPointer<SettingsWindow> m_settingsWindow;
};

} // namespace tavolen::app
