// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/ScreenCapture.h"

#include "capture/JpegEncoder.h"
#include "capture/ScreenGeometry.h"
#include "platform/ScreenGrabber.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>

namespace tavolen::capture {

namespace {

CaptureOutcome grabAndEncode(platform::ScreenGrabber *grabber, QRect native)
{
    std::optional<QImage> image = grabber->grab(native);
    if (!image || image->isNull())
        return CaptureFailure(CaptureError::captureFailed);
    CaptureOutcome jpeg = jpegData(*image);
    // The grab may hold display-server memory; give it back before returning.
    image.reset();
    return jpeg;
}

// `part`: in the still's own pixels.
CaptureOutcome cutAndEncode(QImage still, QRect part)
{
    const QRect inside = part.intersected(still.rect());
    if (inside.isEmpty())
        return CaptureFailure(CaptureError::captureFailed);
    return jpegData(still.copy(inside));
}

} // namespace

ScreenCapture::ScreenCapture(platform::ScreenGrabber &grabber) : m_grabber(grabber)
{
    m_worker.setMaxThreadCount(1);
    // Kept for the life of the app: its start is part of what warmUp() pays for.
    m_worker.setExpiryTimeout(-1);
}

ScreenCapture::~ScreenCapture()
{
    m_worker.waitForDone();
}

QCoro::Task<CaptureOutcome> ScreenCapture::capture(Selection selection)
{
    QScreen *screen = selection.screen.data();
    // A screen unplugged since the selection is no longer in the list.
    if (!screen || !QGuiApplication::screens().contains(screen))
        co_return CaptureFailure(CaptureError::displayNotFound);
    const ScreenMetrics metrics = metricsOf(*screen);
    const QRect native = nativeGrabRect(selection.rect, metrics);
    if (native.isEmpty())
        co_return CaptureFailure(CaptureError::captureFailed);
    // The job is a named local, not built inside the co_await expression:
    // g++ 12 destroys a capturing lambda made there twice, and QtConcurrent
    // wraps its arguments in one.
    QFuture<CaptureOutcome> job;
    if (!selection.still.isNull()) {
        // A still from the desktop's own picture may be denser than the screen.
        const QRect part =
            partOfStill(native.translated(-metrics.nativeRect().topLeft()),
                        selection.still.devicePixelRatio() / metrics.pixelRatio, selection.still.size());
        job = QtConcurrent::run(&m_worker, cutAndEncode, std::move(selection.still), part);
    } else {
        if (const std::optional<platform::PaletteDisplay> palette = m_grabber.unsupportedDisplay())
            co_return CaptureFailure(*palette);
        job = QtConcurrent::run(&m_worker, grabAndEncode, &m_grabber, native);
    }
    co_return co_await job;
}

void ScreenCapture::warmUp()
{
    m_worker.start([grabber = &m_grabber] {
        grabber->prepare();
        QImage tiny(16, 16, QImage::Format_RGB32);
        tiny.fill(Qt::gray);
        (void)jpegData(tiny);
    });
}

} // namespace tavolen::capture
