// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/JpegEncoder.h"

#include <QBuffer>
#include <QImageWriter>

namespace tavolen::capture {

QSize scaledSize(QSize size, int maxLongEdge)
{
    const int longEdge = std::max(size.width(), size.height());
    if (longEdge <= maxLongEdge)
        return size;
    const double factor = double(maxLongEdge) / double(longEdge);
    const QSize scaled(int(factor * size.width()), int(factor * size.height()));
    if (scaled.isEmpty())
        return size;
    return scaled;
}

CaptureOutcome jpegData(const QImage &image, int maxLongEdge, int quality)
{
    if (image.isNull())
        return CaptureFailure(CaptureError::captureFailed);
    const QSize target = scaledSize(image.size(), maxLongEdge);
    const QImage scaled = target == image.size()
                              ? image
                              : image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // JPEG has no alpha; a transparent crop is flattened onto black, as it
    // would be on screen.
    const QImage rgb = scaled.hasAlphaChannel() ? scaled.convertToFormat(QImage::Format_RGB32) : scaled;

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(rgb) || bytes.isEmpty())
        return CaptureFailure(CaptureError::captureFailed);
    return bytes;
}

} // namespace tavolen::capture
