// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/CaptureError.h"

#include <QImage>
#include <QSize>

namespace tavolen::capture {

inline constexpr int kMaxLongEdge = 1600;
inline constexpr int kJpegQuality = 85;

// The size an image is scaled to before upload: the long edge brought down to
// maxLongEdge, each side truncated. A side that truncates to 0 (1601 x 1)
// means "do not scale", as no bitmap of that size can be made.
QSize scaledSize(QSize size, int maxLongEdge = kMaxLongEdge);

// Scales down as above, then encodes at `quality` (85 for uploads). Fails only when the image
// is empty or the encoder produces nothing.
CaptureOutcome jpegData(const QImage &image, int maxLongEdge = kMaxLongEdge, int quality = kJpegQuality);

} // namespace tavolen::capture
