#pragma once

#include "capture/ScreenCapturer.h"

namespace tavolen::platform {
class ScreenGrabber;
}

namespace tavolen::capture {

// The capture of a selection: the selected native pixels of its screen, read
// and encoded on a worker thread so that the GUI thread stays free.
class ScreenCapture final : public ScreenCapturer {
public:
    // The grabber must outlive every capture in progress.
    explicit ScreenCapture(platform::ScreenGrabber &grabber);

    QCoro::Task<CaptureOutcome> capture(QRectF rect, QScreen *screen) override;

    // Pays the one-off costs (the JPEG codec's loading, the grabber's set-up,
    // the worker thread's start) ahead of the first capture, on the worker.
    void warmUp();

private:
    platform::ScreenGrabber &m_grabber;
};

} // namespace tavolen::capture
