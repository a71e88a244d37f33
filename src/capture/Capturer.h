#pragma once

#include "capture/CaptureError.h"
#include "capture/Selection.h"

#include <qcoro/qcorotask.h>

namespace tavolen::capture {

// Turns a selection into upload-ready JPEG bytes.
class Capturer {
public:
    virtual ~Capturer() = default;
    // Yields the JPEG of the selected region at its screen's native
    // resolution (long edge at most 1600): cut from the selection's still
    // when it has one, read off the screen otherwise.
    virtual QCoro::Task<CaptureOutcome> capture(Selection selection) = 0;
};

} // namespace tavolen::capture
