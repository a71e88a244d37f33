#include "app/CaptureStack.h"

#include "core/Settings.h"

namespace tavolen::app {

CaptureStack::CaptureStack(panel::PanelPresenter &panel, api::AnalysisService *analysis)
    : m_platform(platform::loadPlatformServices()), m_overlay(std::make_unique<capture::SelectionOverlay>(
                                                        *m_platform.windowList, *m_platform.screenGrabber)),
      m_capture(std::make_unique<capture::ScreenCapture>(*m_platform.screenGrabber))
{
    m_flow = std::make_unique<capture::CaptureFlow>(capture::CaptureFlow::Collaborators{
        .overlay = *m_overlay,
        .capturer = *m_capture,
        .analysis = analysis ? *analysis : m_analysis,
        .panel = panel,
        .demo = nullptr,
        .screenAccess = *m_platform.screenAccess,
        .activeWindow = *m_platform.activeWindow,
        .pasteboard = *m_platform.pasteboard,
        .sound = *m_platform.sound,
        .settings = settings(),
    });
    // The first capture should be as quick as the later ones: load the JPEG
    // codec and set up the grabber now, long before the user selects.
    m_capture->warmUp();
}

// The flow and the overlay go first: they refer to the platform services.
CaptureStack::~CaptureStack()
{
    m_flow.reset();
    m_overlay.reset();
}

} // namespace tavolen::app
