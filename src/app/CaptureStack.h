#pragma once

#include "api/AnalysisService.h"
#include "capture/CaptureFlow.h"
#include "capture/ScreenCapture.h"
#include "capture/SelectionOverlay.h"
#include "platform/PlatformServices.h"

#include <memory>

namespace tavolen::app {

// Everything a capture run needs, built once for the life of the process:
// the platform's services, the overlay, the capture, the analysis client and
// the flow that drives them into `panel`.
class CaptureStack {
public:
    // `panel` (and `analysis`, when given) must outlive the stack. Without
    // `analysis` the stack talks to the real service. Needs the QApplication.
    explicit CaptureStack(panel::PanelPresenter &panel, api::AnalysisService *analysis = nullptr);
    ~CaptureStack();
    CaptureStack(const CaptureStack &) = delete;
    CaptureStack &operator=(const CaptureStack &) = delete;

    capture::CaptureFlow &flow() { return *m_flow; }
    capture::SelectionOverlay &overlay() { return *m_overlay; }

private:
    platform::PlatformServices m_platform;
    std::unique_ptr<capture::SelectionOverlay> m_overlay;
    std::unique_ptr<capture::ScreenCapture> m_capture;
    api::NetworkAnalysisService m_analysis;
    std::unique_ptr<capture::CaptureFlow> m_flow;
};

} // namespace tavolen::app
