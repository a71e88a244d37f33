#include "e2e/harness/FlowHarness.h"

#include "capture/OverlayWindow.h"

#include <QGuiApplication>
#include <QTest>
#include <QWindow>

namespace tavolen::e2e {

FlowHarness::FlowHarness() : m_platform(platform::loadPlatformServices())
{
    m_overlay =
        std::make_unique<capture::SelectionOverlay>(*m_platform.windowList, *m_platform.screenGrabber);
    m_capture = std::make_unique<capture::ScreenCapture>(*m_platform.screenGrabber);
    m_flow = std::make_unique<capture::CaptureFlow>(capture::CaptureFlow::Services{
        *m_overlay, *m_capture, analysis, panel, nullptr, *m_platform.screenAccess, *m_platform.activeWindow,
        m_pasteboard, m_sound, m_settings});
    QObject::connect(m_flow.get(), &capture::CaptureFlow::runFinished, [this] { m_ended = true; });
}

FlowHarness::~FlowHarness()
{
    m_flow.reset();
    m_overlay.reset();
    // Let the overlay's deferred deletions run before the next test starts.
    QTest::qWait(1);
}

bool FlowHarness::begin()
{
    m_ended = false;
    m_flow->begin();
    const QList<capture::OverlayWindow *> windows = m_overlay->windows();
    if (windows.size() != QGuiApplication::screens().size())
        return false;
    for (capture::OverlayWindow *w : windows) {
        if (!QTest::qWaitForWindowExposed(w, 5000))
            return false;
    }
    return QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == windows.front()->windowHandle(); },
                           5000);
}

bool FlowHarness::waitForEnd(int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_ended; }, timeoutMs);
}

bool FlowHarness::select(const std::function<void()> &gesture)
{
    if (!begin())
        return false;
    gesture();
    return waitForEnd();
}

std::optional<QImage> FlowHarness::uploaded() const
{
    if (analysis.streamJpegs.empty())
        return std::nullopt;
    return QImage::fromData(analysis.streamJpegs.front(), "JPEG");
}

std::optional<QRectF> FlowHarness::near() const
{
    for (const auto &shown : panel.shown) {
        if (shown.near)
            return shown.near;
    }
    return std::nullopt;
}

} // namespace tavolen::e2e
