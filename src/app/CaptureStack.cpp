// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CaptureStack.h"

#include "capture/CopyToClipboard.h"

#include <QCoreApplication>
#include <QProcess>

namespace tavolen::app {

CaptureStack::CaptureStack(SettingsStore &settings, api::AnalysisService *analysis,
                           panel::PanelPresenter *observer)
    : m_settings(settings), m_platform(platform::loadPlatformServices())
{
    platform::Clipboard *clipboard = m_platform.clipboard.get();
    platform::ScreenAccess *access = m_platform.screenAccess.get();
    m_resultPanel = std::make_unique<panel::ResultPanel>(
        *m_platform.floatingWindows,
        panel::PanelActions{
            .copy = [clipboard](const QString &text) { capture::copyToClipboard(*clipboard, text); },
            .requestAccess = [access] { access->request(); },
            .setUpModel = [this] { openModelSettings(); },
        });
    m_resultPanel->setFocusReturn(m_platform.activeWindow.get());
    if (observer) {
        m_tee = std::make_unique<panel::TeePresenter>(*m_resultPanel, *observer);
        build(*m_tee, analysis);
    } else {
        build(*m_resultPanel, analysis);
    }
}

CaptureStack::CaptureStack(SettingsStore &settings, panel::PanelPresenter &panel,
                           api::AnalysisService *analysis)
    : m_settings(settings), m_platform(platform::loadPlatformServices())
{
    build(panel, analysis);
}

void CaptureStack::openModelSettings()
{
    if (m_openModelSettings) {
        m_openModelSettings();
        return;
    }
    // A capture run of its own: Settings is a program of its own too, which
    // hands over to a running Tavolen when there is one.
    QProcess::startDetached(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("settings"), QStringLiteral("--page"), QStringLiteral("analysis")});
}

void CaptureStack::build(panel::PanelPresenter &panel, api::AnalysisService *analysis)
{
    m_network.setCache(nullptr);
    m_overlay =
        std::make_unique<capture::SelectionOverlay>(*m_platform.windowList, *m_platform.screenGrabber);
    m_capture = std::make_unique<capture::ScreenCapture>(*m_platform.screenGrabber);
    m_flow = std::make_unique<flow::CaptureFlow>(flow::CaptureFlow::Collaborators{
        .overlay = *m_overlay,
        .capturer = *m_capture,
        .analysis = analysis ? *analysis : m_analysis,
        .panel = panel,
        .demo = &m_demo,
        .screenAccess = *m_platform.screenAccess,
        .activeWindow = *m_platform.activeWindow,
        .clipboard = *m_platform.clipboard,
        .sound = *m_platform.sound,
        .settings = m_settings,
    });
    // The first capture should be as quick as the later ones: load the JPEG
    // codec and set up the grabber now, long before the user selects.
    m_capture->warmUp();
}

// The flow, the overlay and the panel go first: they refer to the platform services.
CaptureStack::~CaptureStack()
{
    m_flow.reset();
    m_overlay.reset();
    m_tee.reset();
    m_resultPanel.reset();
}

} // namespace tavolen::app
