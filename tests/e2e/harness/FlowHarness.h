#pragma once

#include "capture/CaptureFlow.h"
#include "capture/OverlayWindow.h"
#include "capture/ScreenCapture.h"
#include "capture/SelectionOverlay.h"
#include "platform/PlatformServices.h"
#include "support/FlowFakes.h"

#include <QImage>
#include <QTest>
#include <QWindow>

#include <functional>
#include <optional>

namespace tavolen::e2e {

// A capture run as the app wires it (the real overlay, window list, grab and
// focus handling on X11), with the analysis service and the panel replaced
// by recorders, so a test sees exactly the JPEG that would be uploaded.
class FlowHarness {
public:
    FlowHarness()
    {
        QObject::connect(&m_flow, &capture::CaptureFlow::runFinished, [this] { m_ended = true; });
    }

    // Starts a run and waits until every overlay window is on screen and the
    // first has the keyboard. False when that does not happen.
    bool begin()
    {
        m_ended = false;
        m_flow.begin();
        const QList<capture::OverlayWindow *> windows = m_overlay.windows();
        if (windows.size() != QGuiApplication::screens().size())
            return false;
        for (capture::OverlayWindow *w : windows)
            if (!QTest::qWaitForWindowExposed(w, 5000))
                return false;
        return QTest::qWaitFor(
            [&] { return QGuiApplication::focusWindow() == windows.front()->windowHandle(); }, 5000);
    }
    // Waits until the run has ended (selection cancelled or analysis done).
    bool waitForEnd()
    {
        return QTest::qWaitFor([&] { return m_ended; }, 10000);
    }
    // A whole run: begin(), the gesture on the overlay, waitForEnd().
    bool select(const std::function<void()> &gesture)
    {
        if (!begin())
            return false;
        gesture();
        return waitForEnd();
    }

    // The JPEG handed to the analysis service, decoded; nullopt when none was.
    std::optional<QImage> uploaded() const
    {
        if (analysis.streamJpegs.empty())
            return std::nullopt;
        return QImage::fromData(analysis.streamJpegs.front(), "JPEG");
    }
    // Where the panel was first told to appear (global logical pixels).
    std::optional<QRectF> near() const
    {
        for (const auto &shown : panel.shown)
            if (shown.near)
                return shown.near;
        return std::nullopt;
    }

    capture::SelectionOverlay &overlay() { return m_overlay; }
    capture::CaptureFlow &flow() { return m_flow; }
    test::FakeAnalysis analysis;
    test::RecordingPanel panel;

private:
    // Destroyed last: lets the overlay's deferred deletions run before the next test starts.
    struct Settle {
        ~Settle() { QTest::qWait(1); }
    } m_settle;
    platform::PlatformServices m_platform = platform::loadPlatformServices();
    platform::MemorySettingsStore m_settings;
    test::FakePasteboard m_pasteboard;
    test::FakeSound m_sound;
    capture::SelectionOverlay m_overlay{*m_platform.windowList, *m_platform.screenGrabber};
    capture::ScreenCapture m_capture{*m_platform.screenGrabber};
    capture::CaptureFlow m_flow{{m_overlay, m_capture, analysis, panel, nullptr, *m_platform.screenAccess,
                                 *m_platform.activeWindow, m_pasteboard, m_sound, m_settings}};
    bool m_ended = false;
};

} // namespace tavolen::e2e
