#pragma once

#include "capture/CaptureError.h"

#include <QRectF>

#include <qcoro/qcorotask.h>

class QScreen;

namespace tavolen::capture {

// Turns a selection into upload-ready JPEG bytes.
class ScreenCapturer {
public:
    virtual ~ScreenCapturer() = default;
    // `rect` is in logical pixels local to `screen`. Yields the JPEG of that
    // region at the screen's native resolution (long edge at most 1600).
    virtual QCoro::Task<CaptureOutcome> capture(QRectF rect, QScreen *screen) = 0;
};

// The first-run demonstration image.
class DemoSampleSource {
public:
    virtual ~DemoSampleSource() = default;
    // The sample as JPEG bytes, or nullopt when it cannot be made.
    virtual std::optional<QByteArray> jpeg() = 0;
};

} // namespace tavolen::capture
