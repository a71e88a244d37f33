// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

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
    //
    // Callers name the selection before awaiting, as every coroutine call
    // here names its arguments: g++ 12 destroys a temporary built inside a
    // co_await expression twice, so a selection built in the argument list
    // frees the screen's QPointer twice and corrupts the heap.
    virtual QCoro::Task<CaptureOutcome> capture(Selection selection) = 0;
};

} // namespace tavolen::capture
