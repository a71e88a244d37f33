// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/PlatformError.h"
#include "core/Result.h"
#include "platform/ScreenGrabber.h"

#include <QByteArray>
#include <QString>

#include <variant>

namespace tavolen::capture {

// Why a capture produced no JPEG. Both cases read the same; they differ only
// as values.
enum class CaptureError {
    displayNotFound, // the screen is gone or cannot be captured
    captureFailed,   // empty crop, failed grab or failed encoding
};

// "Capture failed — try again" / "截屏失败，请重试", chosen now.
QString describe(CaptureError error);

using CaptureFailure = std::variant<CaptureError, platform::PaletteDisplay, PlatformError>;
using CaptureOutcome = Result<QByteArray, CaptureFailure>;

QString describe(const CaptureFailure &failure);

} // namespace tavolen::capture
