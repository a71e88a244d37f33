#pragma once

#include "capture/CaptureFlow.h"
#include "capture/ScreenCapture.h"
#include "capture/SelectionOverlay.h"
#include "platform/PlatformServices.h"
#include "support/FlowFakes.h"

#include <QImage>

#include <functional>
#include <optional>

namespace tavolen::e2e {

// A capture run as the app wires it (the real overlay, window list, grab and
// focus handling on X11), with the analysis service and the panel replaced
// by recorders, so a test sees exactly the JPEG that would be uploaded.
class FlowHarness {
public:
    FlowHarness();
    ~FlowHarness();

    // Starts a run and waits until every overlay window is on screen and the
    // first has the keyboard. False when that does not happen.
    bool begin();
    // Waits until the run has ended (selection cancelled or analysis done).
    bool waitForEnd(int timeoutMs = 10000);
    // A whole run: begin(), the gesture on the overlay, waitForEnd().
    bool select(const std::function<void()> &gesture);

    // The JPEG handed to the analysis service, decoded; nullopt when none was.
    std::optional<QImage> uploaded() const;
    // Where the panel was told to appear (global logical pixels).
    std::optional<QRectF> near() const;

    capture::SelectionOverlay &overlay() { return *m_overlay; }
    capture::CaptureFlow &flow() { return *m_flow; }
    test::FakeAnalysis analysis;
    test::RecordingPanel panel;

private:
    platform::PlatformServices m_platform;
    platform::MemorySettingsStore m_settings;
    test::FakePasteboard m_pasteboard;
    test::FakeSound m_sound;
    std::unique_ptr<capture::SelectionOverlay> m_overlay;
    std::unique_ptr<capture::ScreenCapture> m_capture;
    std::unique_ptr<capture::CaptureFlow> m_flow;
    bool m_ended = false;
};

} // namespace tavolen::e2e
