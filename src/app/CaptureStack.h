// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/AnalysisService.h"
#include "app/DemoSample.h"
#include "capture/ScreenCapture.h"
#include "capture/SelectionOverlay.h"
#include "core/SettingsStore.h"
#include "flow/CaptureFlow.h"
#include "panel/ResultPanel.h"
#include "panel/TeePresenter.h"
#include "platform/PlatformServices.h"

#include <QNetworkAccessManager>

#include <functional>
#include <memory>

namespace tavolen::app {

// Everything a capture run needs, built once for the life of the process:
// the platform's services, the overlay, the capture, the HTTP client and the
// analysis client over it, the result panel and the flow that drives them.
class CaptureStack {
public:
    // With the real result panel; `observer`, when given, also sees every
    // state. Without `analysis` the stack talks to the real service. They
    // and `settings` must outlive the stack. Needs the QApplication.
    explicit CaptureStack(SettingsStore &settings, api::AnalysisService *analysis = nullptr,
                          panel::PanelPresenter *observer = nullptr);
    // With `panel` in place of the result panel.
    CaptureStack(SettingsStore &settings, panel::PanelPresenter &panel,
                 api::AnalysisService *analysis = nullptr);
    ~CaptureStack();
    CaptureStack(const CaptureStack &) = delete;
    CaptureStack &operator=(const CaptureStack &) = delete;

    flow::CaptureFlow &flow() { return *m_flow; }
    capture::SelectionOverlay &overlay() { return *m_overlay; }
    // Null when another panel was given.
    panel::ResultPanel *resultPanel() { return m_resultPanel.get(); }
    platform::PlatformServices &platform() { return m_platform; }
    // The process's HTTP client, for the update check too: no cache, nothing
    // written to disk.
    QNetworkAccessManager &network() { return m_network; }
    // What the panel's "Set up…" link does; by default it starts
    // `tavolen settings` at its model page.
    void setOpenModelSettings(std::function<void()> open) { m_openModelSettings = std::move(open); }

private:
    void build(panel::PanelPresenter &panel, api::AnalysisService *analysis);
    void openModelSettings();

    SettingsStore &m_settings;
    platform::PlatformServices m_platform;
    std::unique_ptr<panel::ResultPanel> m_resultPanel;
    std::unique_ptr<panel::TeePresenter> m_tee;
    std::unique_ptr<capture::SelectionOverlay> m_overlay;
    std::unique_ptr<capture::ScreenCapture> m_capture;
    QNetworkAccessManager m_network;
    api::NetworkAnalysisService m_analysis{m_network, m_settings};
    DemoSample m_demo;
    std::unique_ptr<flow::CaptureFlow> m_flow;
    std::function<void()> m_openModelSettings;
};

} // namespace tavolen::app
