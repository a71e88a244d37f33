// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/Capturer.h"

#include <QThreadPool>

namespace tavolen::platform {
class ScreenGrabber;
}

namespace tavolen::capture {

// The capture of a selection: its native pixels, cut from the overlay's still
// or read off the screen, encoded on a worker thread of its own so that the
// GUI thread stays free.
class ScreenCapture final : public Capturer {
public:
    // The grabber must outlive the capture.
    explicit ScreenCapture(platform::ScreenGrabber &grabber);
    // Waits for the worker: a job still running uses the grabber, which may
    // be destroyed right after.
    ~ScreenCapture() override;

    QCoro::Task<CaptureOutcome> capture(Selection selection) override;

    // Pays the one-off costs (the JPEG codec's loading, the grabber's set-up,
    // the worker thread's start) ahead of the first capture, on the worker.
    void warmUp();

private:
    platform::ScreenGrabber &m_grabber;
    QThreadPool m_worker;
};

} // namespace tavolen::capture
